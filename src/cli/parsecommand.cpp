// parse: apply a file of System Exclusive to a fresh patch image the way the
// hub applies what the synthesizer sends.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

namespace cli {

namespace {

QString describe(const ParseResult &r)
{
    if (!r.stored())
        return QStringLiteral("ignored: ") + r.reason;
    QString where;
    switch (r.target) {
    case ParseResult::Target::System:
        where = QStringLiteral("system");
        break;
    case ParseResult::Target::Performance:
        where = QStringLiteral("performance");
        break;
    case ParseResult::Target::PerformancePart:
        where = QStringLiteral("performance part=%1").arg(r.block);
        break;
    case ParseResult::Target::RhythmCommon:
        where = QStringLiteral("rhythm");
        break;
    case ParseResult::Target::RhythmNote:
        where = QStringLiteral("rhythm key=%1").arg(r.block);
        break;
    case ParseResult::Target::Slot:
    case ParseResult::Target::None:
        where = QStringLiteral("slot=%1").arg(r.slot);
        break;
    }
    return QStringLiteral("stored %1 offset=0x%2 count=%3")
        .arg(where, sysex::hexByte(r.offset))
        .arg(r.count);
}

int runParse(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    QStringList args = argsIn;
    int unit = EditState::DefaultUnitId;
    QString error;
    const bool dump = takeFlag(args, QStringLiteral("--dump"));
    bool ok = takeUnit(args, unit, error) && noOptionsLeft(args, error);
    if (ok && args.size() != 1) {
        error = QStringLiteral("parse needs one file");
        ok = false;
    }
    QByteArray stream;
    ok = ok && readSysexFile(args[0], stream, error);
    if (!ok) {
        err << "tessiva-cli parse: " << error << '\n';
        return ExitUsage;
    }

    EditState state;
    state.UnitId = unit;
    RecordingInfoSink info;
    SilentHubLink hub;
    SysexProtocol protocol(state, info, hub);
    // Incoming data is applied with sending locked, as the hub does.
    state.SendLock = true;
    for (const QByteArray &msg : sysex::splitMessages(stream)) {
        const ParseResult r = protocol.parseIncoming(
            reinterpret_cast<const std::uint8_t *>(msg.constData()), int(msg.size()));
        out << describe(r) << '\n';
    }
    if (dump) {
        for (int s = 0; s < addr::SlotCount; ++s)
            out << sysex::hexLine(state.patchImage.slotData(s), addr::SlotSize) << '\n';
    }
    return ExitOk;
}

} // namespace

QList<Command> parseCommands()
{
    return {
        {"parse", "[--unit N] [--dump] FILE",
         "apply the System Exclusive in FILE (.syx or hex text, - for stdin) to a fresh patch",
         runParse},
    };
}

} // namespace cli
