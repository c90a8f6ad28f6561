#include "cli/clicommand.h"

namespace cli {

QList<Command> allCommands()
{
    QList<Command> all;
    all += messageCommands();
    all += parseCommands();
    all += simCommands();
    all += transferCommands();
    all += syxCommands();
    all += sheetCommands();
    all += bankCommands();
    return all;
}

} // namespace cli
