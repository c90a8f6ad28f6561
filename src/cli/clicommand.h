#pragma once
// The command table of tessiva-cli. Each command group lives in its own file
// and exposes a function returning its commands; commandtable.cpp lists the
// groups. A command writes to out only once it knows it will succeed, so a
// failing call leaves stdout empty.

#include <QList>
#include <QStringList>
#include <QTextStream>

namespace cli {

// Exit statuses the scripts rely on.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1; // the command ran but what it checked failed
constexpr int ExitUsage = 2;   // bad arguments or unreadable input

struct Command
{
    const char *name;
    const char *synopsis; // arguments after the name, for the usage text
    const char *summary;  // one line
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

// Every command, in the order the usage text lists them.
QList<Command> allCommands();

// Command groups.
QList<Command> messageCommands();  // dt1, rq1
QList<Command> parseCommands();    // parse
QList<Command> simCommands();      // ports, sim
QList<Command> transferCommands(); // info, get, send, write
QList<Command> syxCommands();      // syx2pat, pat2syx, syxinfo
QList<Command> sheetCommands();    // sheet, diff
QList<Command> bankCommands();     // bank get, bank send

} // namespace cli
