// dt1 and rq1: print the message the editor would send.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "core/editstate.h"
#include "midi/sysexmessage.h"

namespace cli {

namespace {

std::uint8_t deviceOf(int unit)
{
    return std::uint8_t(unit - 1);
}

int runDataSet(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    QStringList args = argsIn;
    int unit = EditState::DefaultUnitId;
    QString error;
    addr::Address adrs{};
    QByteArray data;
    bool ok = takeUnit(args, unit, error) && noOptionsLeft(args, error);
    if (ok && args.isEmpty()) {
        error = QStringLiteral("dt1 needs an address");
        ok = false;
    }
    ok = ok && parseQuad(args.value(0), "address", adrs, error);
    for (int i = 1; ok && i < args.size(); ++i) {
        std::uint8_t b = 0;
        ok = parseDataByte(args[i], b, error);
        data.append(char(b));
    }
    if (ok && data.size() > sysex::MaxDataCount) {
        error = QStringLiteral("at most %1 data bytes fit one message").arg(sysex::MaxDataCount);
        ok = false;
    }
    if (!ok) {
        err << "tessiva-cli dt1: " << error << '\n';
        return ExitUsage;
    }
    const QByteArray msg = sysex::dataSetMessage(deviceOf(unit), adrs, data);
    out << sysex::hexLine(reinterpret_cast<const std::uint8_t *>(msg.constData()), int(msg.size()))
        << '\n';
    return ExitOk;
}

int runRequest(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    QStringList args = argsIn;
    int unit = EditState::DefaultUnitId;
    QString error;
    addr::Address adrs{};
    addr::Size size{};
    bool ok = takeUnit(args, unit, error) && noOptionsLeft(args, error);
    if (ok && args.size() != 2) {
        error = QStringLiteral("rq1 needs an address and a size");
        ok = false;
    }
    ok =
        ok && parseQuad(args[0], "address", adrs, error) && parseQuad(args[1], "size", size, error);
    if (!ok) {
        err << "tessiva-cli rq1: " << error << '\n';
        return ExitUsage;
    }
    const sysex::Request msg = sysex::buildRequest(deviceOf(unit), adrs, size);
    out << sysex::hexLine(msg.data(), sysex::RequestLength) << '\n';
    return ExitOk;
}

} // namespace

QList<Command> messageCommands()
{
    return {
        {"dt1", "[--unit N] ADDR [DATA...]", "print the data set for ADDR carrying DATA",
         runDataSet},
        {"rq1", "[--unit N] ADDR SIZE", "print the data request for SIZE bytes at ADDR",
         runRequest},
    };
}

} // namespace cli
