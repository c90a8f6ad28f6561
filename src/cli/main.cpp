// tessiva-cli: the editor's model and protocol without a window, for scripts
// and for checking a synthesizer set-up by hand.

#include "cli/clicommand.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

void printUsage(QTextStream &s)
{
    s << "usage: tessiva-cli COMMAND [ARGS...]\n"
         "ADDR and SIZE are 8 hex digits (0300000C), DATA hex bytes (05),\n"
         "N the unit ID 17..32 (default 17).\n\ncommands:\n";
    for (const cli::Command &c : cli::allCommands())
        s << "  " << c.name << ' ' << c.synopsis << "\n      " << c.summary << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(err);
        return cli::ExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help") ||
        name == QLatin1String("-h")) {
        printUsage(out);
        return cli::ExitOk;
    }
    for (const cli::Command &c : cli::allCommands()) {
        if (name == QLatin1String(c.name))
            return c.run(args, out, err);
    }
    err << "tessiva-cli: unknown command '" << name << "'\n";
    printUsage(err);
    return cli::ExitUsage;
}
