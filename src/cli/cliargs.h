#pragma once
// Argument parsing shared by the commands: options, hex addresses and bytes.
// Every parser returns false with a message in error when the text is wrong.

#include "core/addressmap.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace cli {

// Removes "--unit N" (or "--unit=N") from args; unit keeps its value when the
// option is absent.
bool takeUnit(QStringList &args, int &unit, QString &error);

// Removes a flag such as "--dump" from args and says whether it was there.
bool takeFlag(QStringList &args, const QString &flag);

// Removes "--name VALUE" (or "--name=VALUE") from args; value keeps what it
// held when the option is absent.
bool takeOptionValue(QStringList &args, const QString &option, QString &value, QString &error);

// Refuses any remaining argument that looks like an option.
bool noOptionsLeft(const QStringList &args, QString &error);

// Eight hex digits, four 7-bit bytes ("0300000C").
bool parseQuad(const QString &text, const char *what, std::array<std::uint8_t, 4> &out,
               QString &error);

// One 7-bit byte as one or two hex digits ("05").
bool parseDataByte(const QString &text, std::uint8_t &out, QString &error);

// Hex bytes of a text file: tokens of one or two hex digits (an optional 0x)
// separated by blanks, commas or line ends.
bool parseHexText(const QByteArray &text, QByteArray &out, QString &error);

// Reads a file ("-" for standard input) as binary System Exclusive, or as hex
// text when it holds nothing but printable characters.
bool readSysexFile(const QString &path, QByteArray &out, QString &error);

} // namespace cli
