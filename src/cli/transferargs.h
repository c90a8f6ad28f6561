#pragma once
// Options every transfer command takes: --port DEV and --unit N.

#include "core/editstate.h"

#include <QString>
#include <QStringList>

namespace cli {

struct TransferArgs
{
    QStringList args; // what is left once the shared options are taken
    QString port;
    int unit = EditState::DefaultUnitId;
};

bool takeTransferArgs(const QStringList &argsIn, TransferArgs &t, QString &error);

} // namespace cli
