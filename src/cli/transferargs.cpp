#include "cli/transferargs.h"

#include "cli/cliargs.h"

namespace cli {

bool takeTransferArgs(const QStringList &argsIn, TransferArgs &t, QString &error)
{
    t.args = argsIn;
    if (!takeOptionValue(t.args, QStringLiteral("--port"), t.port, error) ||
        !takeUnit(t.args, t.unit, error))
        return false;
    if (t.port.isEmpty()) {
        error = QStringLiteral("--port DEV is needed (see tessiva-cli ports)");
        return false;
    }
    return true;
}

} // namespace cli
