#include "cli/cliargs.h"

#include "core/editstate.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

namespace cli {

namespace {
constexpr int QuadDigits = 8;
constexpr std::uint8_t SevenBitMax = 0x7F;
const QString UnitOption = QStringLiteral("--unit");

// One or two hex digits, optionally after 0x.
bool hexToken(QString token, int &value)
{
    static const QRegularExpression hex2(QStringLiteral("^(0[xX])?[0-9A-Fa-f]{1,2}$"));
    if (!hex2.match(token).hasMatch())
        return false;
    if (token.size() > 2 && (token[1] == QLatin1Char('x') || token[1] == QLatin1Char('X')))
        token.remove(0, 2);
    value = token.toInt(nullptr, 16);
    return true;
}

// Anything a person types; a .syx file starts with F0 and fails this at once.
bool isTextChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x20 && u < 0x7F) || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

bool takeUnit(QStringList &args, int &unit, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        QString value;
        int taken = 0;
        if (args[i] == UnitOption) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("--unit needs a value");
                return false;
            }
            value = args[i + 1];
            taken = 2;
        } else if (args[i].startsWith(UnitOption + QLatin1Char('='))) {
            value = args[i].mid(UnitOption.size() + 1);
            taken = 1;
        } else {
            continue;
        }
        bool ok = false;
        const int v = value.toInt(&ok, 10);
        if (!ok || v < EditState::MinUnitId || v > EditState::MaxUnitId) {
            error = QStringLiteral("unit ID must be %1 to %2, not '%3'")
                        .arg(EditState::MinUnitId)
                        .arg(EditState::MaxUnitId)
                        .arg(value);
            return false;
        }
        unit = v;
        args.remove(i, taken);
        --i;
    }
    return true;
}

bool takeFlag(QStringList &args, const QString &flag)
{
    return args.removeAll(flag) > 0;
}

bool takeOptionValue(QStringList &args, const QString &option, QString &value, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == option) {
            if (i + 1 >= args.size()) {
                error = option + QStringLiteral(" needs a value");
                return false;
            }
            value = args[i + 1];
            args.remove(i, 2);
            return true;
        }
        if (args[i].startsWith(option + QLatin1Char('='))) {
            value = args[i].mid(option.size() + 1);
            args.remove(i);
            return true;
        }
    }
    return true;
}

bool noOptionsLeft(const QStringList &args, QString &error)
{
    for (const QString &a : args) {
        if (a.startsWith(QLatin1String("--")) || (a.startsWith(QLatin1Char('-')) && a != "-")) {
            error = QStringLiteral("unknown option '%1'").arg(a);
            return false;
        }
    }
    return true;
}

bool parseQuad(const QString &text, const char *what, std::array<std::uint8_t, 4> &out,
               QString &error)
{
    static const QRegularExpression hex8(QStringLiteral("^[0-9A-Fa-f]{8}$"));
    if (!hex8.match(text).hasMatch()) {
        error = QStringLiteral("%1 must be %2 hex digits, not '%3'")
                    .arg(QLatin1String(what))
                    .arg(QuadDigits)
                    .arg(text);
        return false;
    }
    for (int i = 0; i < int(out.size()); ++i) {
        const int b = text.mid(i * 2, 2).toInt(nullptr, 16);
        if (b > SevenBitMax) {
            error = QStringLiteral("%1 byte %2 is above 7F in '%3'")
                        .arg(QLatin1String(what))
                        .arg(i + 1)
                        .arg(text);
            return false;
        }
        out[std::size_t(i)] = std::uint8_t(b);
    }
    return true;
}

bool parseDataByte(const QString &text, std::uint8_t &out, QString &error)
{
    int b = 0;
    if (!hexToken(text, b)) {
        error = QStringLiteral("'%1' is not a hex byte").arg(text);
        return false;
    }
    if (b > SevenBitMax) {
        error = QStringLiteral("data byte %1 is above 7F").arg(text);
        return false;
    }
    out = std::uint8_t(b);
    return true;
}

bool parseHexText(const QByteArray &text, QByteArray &out, QString &error)
{
    static const QRegularExpression sep(QStringLiteral("[\\s,]+"));
    const QStringList tokens = QString::fromLatin1(text).split(sep, Qt::SkipEmptyParts);
    out.clear();
    for (const QString &t : tokens) {
        int b = 0;
        if (!hexToken(t, b)) {
            error = QStringLiteral("'%1' is not a hex byte").arg(t);
            return false;
        }
        out.append(char(b));
    }
    return true;
}

bool readSysexFile(const QString &path, QByteArray &out, QString &error)
{
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read '%1': %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray raw = file.readAll();
    const bool text = !raw.isEmpty() && std::all_of(raw.begin(), raw.end(), isTextChar);
    if (!text) {
        out = raw;
        return true;
    }
    if (!parseHexText(raw, out, error)) {
        error = QStringLiteral("%1: %2").arg(path, error);
        return false;
    }
    return true;
}

} // namespace cli
