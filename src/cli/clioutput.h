#pragma once
// What the commands print: patch names made safe for a terminal, and the
// one-line reasons on stderr that go with the exit statuses.

#include <QByteArray>
#include <QString>
#include <QTextStream>

namespace cli {

// A patch name as text for a terminal: a byte that does not print, such as
// ESC, is shown as \x1B so that a name cannot send control codes.
QString shownName(const QByteArray &name);

// "tessiva-cli COMMAND: error" on err; return ExitUsage or ExitFailure.
int usage(QTextStream &err, const char *command, const QString &error);
int failure(QTextStream &err, const char *command, const QString &error);

} // namespace cli
