#include "cli/clicommand.h"

namespace cli {

QList<Command> allCommands()
{
    QList<Command> all;
    all += messageCommands();
    all += parseCommands();
    all += simCommands();
    return all;
}

} // namespace cli
