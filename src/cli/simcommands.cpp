// tessiva-cli ports and sim: the MIDI devices this machine offers, and the
// virtual synthesizer on standard input and output or on a system MIDI port.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "midi/mididevices.h"
#include "midi/rtmidibackend.h"
#include "sim/outputforwarder.h"
#include "sim/simulatorbackend.h"
#include "sim/sysexstream.h"

#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace cli {

namespace {

constexpr int ReadChunk = 4096;
constexpr int IdlePollMs = 1000;
// The client the virtual unit's ports belong to in a patchbay.
const QString SimClientName = QStringLiteral("Tessiva sim");
// Raised in the main thread when the MIDI server goes away.
constexpr int ServerLostSignal = SIGUSR1;

bool writeAll(int fd, const char *bytes, qsizetype length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, bytes, std::size_t(length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        length -= n;
    }
    return true;
}

// The simulator's answers on standard output, each written whole at once.
class StdoutWriter : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                      std::uint32_t) noexcept override
    {
        writeAll(STDOUT_FILENO, reinterpret_cast<const char *>(bytes), qsizetype(length));
    }
};

void runStdio(SimulatorEngine &engine)
{
    StdoutWriter writer;
    engine.addListener(&writer);
    SysexStream stream;
    char buf[ReadChunk];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (const QByteArray &m : stream.feed(buf, n))
            engine.receive(reinterpret_cast<const std::uint8_t *>(m.constData()),
                           std::size_t(m.size()));
    }
    while (!engine.waitIdle(IdlePollMs)) {
    }
    engine.removeListener(&writer);
}

int runPort(SimulatorEngine &engine, const QString &port, const sigset_t &stopSignals,
            QTextStream &err)
{
    RtMidiBackend system(SimClientName);
    std::unique_ptr<MidiInputConnection> in;
    std::unique_ptr<MidiOutputConnection> out;
    try {
        in = system.openVirtualInput(port, engine.midiIn());
        out = system.openVirtualOutput(port);
    } catch (const MidiBackendError &e) {
        err << "sim: cannot offer port '" << port << "': " << e.reason() << '\n';
        return ExitFailure;
    }
    // The loss is told on a thread of the MIDI system; the main thread
    // waits for it like for a stop signal.
    const pthread_t waiting = pthread_self();
    RtMidiBackend::setServerLostHandler([waiting] { pthread_kill(waiting, ServerLostSignal); });
    OutputForwarder writer(*out);
    engine.addListener(&writer);
    err << "sim: " << SimulatorBackend::DeviceName << " on port '" << port << "', unit "
        << engine.unitId() << "; stop with Ctrl+C\n";
    err.flush();
    int signal = 0;
    if (!system.serverLost())
        sigwait(&stopSignals, &signal);
    RtMidiBackend::setServerLostHandler({});
    const bool lost = system.serverLost();
    in.reset();
    engine.waitIdle();
    engine.removeListener(&writer);
    if (lost) {
        err << "sim: the MIDI server has gone away, and port '" << port << "' with it\n";
        return ExitFailure;
    }
    return ExitOk;
}

int sim(const QStringList &argsIn, QTextStream &, QTextStream &err)
{
    QStringList args = argsIn;
    int unit = VirtualSynth::DefaultUnitId;
    QString memoryPath, port, dropEvery, error;
    const bool wire = takeFlag(args, QStringLiteral("--wire"));
    const bool busy = takeFlag(args, QStringLiteral("--busy"));
    const bool stdio = takeFlag(args, QStringLiteral("--stdio"));
    if (!takeUnit(args, unit, error) ||
        !takeOptionValue(args, QStringLiteral("--memory"), memoryPath, error) ||
        !takeOptionValue(args, QStringLiteral("--port"), port, error) ||
        !takeOptionValue(args, QStringLiteral("--drop-every"), dropEvery, error) ||
        !noOptionsLeft(args, error)) {
        err << "sim: " << error << '\n';
        return ExitUsage;
    }
    bool dropOk = true;
    const int drop = dropEvery.isEmpty() ? 0 : dropEvery.toInt(&dropOk, 10);
    if (!dropOk || drop < 0) {
        err << "sim: --drop-every takes a whole number of answers (0 drops none), not '"
            << dropEvery << "'\n";
        return ExitUsage;
    }
    if (!args.isEmpty() || stdio == !port.isEmpty()) {
        err << "sim: give either --stdio or --port NAME\n";
        return ExitUsage;
    }

    // The engine thread must inherit the blocked stop signals, so that only
    // sigwait below ever sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, ServerLostSignal);
    if (!stdio)
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatorEngine engine(unit);
    engine.setWireSpeed(wire);
    engine.setBusyMode(busy);
    engine.setDropEveryNthAnswer(drop);
    if (!memoryPath.isEmpty()) {
        SynthMemory m;
        const bool ok = QFileInfo::exists(memoryPath) ? m.loadBanks(memoryPath, &error)
                                                      : m.saveBanks(memoryPath, &error);
        if (!ok) {
            err << "sim: " << error << '\n';
            return ExitUsage;
        }
        engine.setMemory(m);
    }

    int status = ExitOk;
    if (stdio)
        runStdio(engine);
    else
        status = runPort(engine, port, stopSignals, err);

    if (!memoryPath.isEmpty() && !engine.memory().saveBanks(memoryPath, &error)) {
        err << "sim: " << error << '\n';
        return ExitFailure;
    }
    return status;
}

int ports(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (!args.isEmpty()) {
        err << "ports: takes no arguments\n";
        return ExitUsage;
    }
    MidiDevices devices;
    devices.addBackend(std::make_shared<SimulatorBackend>());
    devices.addBackend(std::make_shared<RtMidiBackend>());
    const QStringList ins = devices.inputNames();
    const QStringList outs = devices.outputNames();
    for (int i = 0; i < ins.size(); ++i)
        out << "in " << i << ' ' << ins[i] << '\n';
    for (int i = 0; i < outs.size(); ++i)
        out << "out " << i << ' ' << outs[i] << '\n';
    for (const QString &reason : devices.unavailableReasons())
        err << "ports: " << reason << '\n';
    return ExitOk;
}

} // namespace

QList<Command> simCommands()
{
    return {
        {"ports", "", "list the MIDI input and output devices, the virtual synthesizer first",
         ports},
        {"sim",
         "[--unit N] [--memory FILE] [--wire] [--busy] [--drop-every N] (--stdio | --port NAME)",
         "run the virtual JV-1080 on stdin/stdout or on a system MIDI port; --drop-every N "
         "loses every Nth answer",
         sim},
    };
}

} // namespace cli
