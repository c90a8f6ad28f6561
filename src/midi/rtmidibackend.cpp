#include "rtmidibackend.h"

#include "midi/jackmonitor.h"
#include "midi/rtjackclient.h"

#include <rtmidi/RtMidi.h>

#include <cmath>
#include <iostream>
#include <mutex>
#include <type_traits>
#include <vector>

namespace {
constexpr std::uint8_t SysexStart = 0xF0;
constexpr std::uint8_t ChannelTwoByteFirst = 0xC0; // program change, channel pressure
constexpr std::uint8_t ChannelTwoByteLast = 0xDF;
constexpr std::uint8_t SystemFirst = 0xF0;
constexpr std::uint8_t TimeCodeQuarter = 0xF1;
constexpr std::uint8_t SongPosition = 0xF2;
constexpr std::uint8_t SongSelect = 0xF3;
constexpr std::uint8_t ActiveSensing = 0xFE;
constexpr unsigned BitsPerByte = 8; // bytes pack into the short-message word low first
constexpr std::size_t ShortMessageMax = 3;
constexpr double MillisecondsPerSecond = 1000.0;

// Port names; each RtMidi object is a client of its own, named clientName.
constexpr char InputPortName[] = "in";
constexpr char KeyboardPortName[] = "keyboard";
constexpr char OutputPortName[] = "out";
// The device lists come from clients of their own, which hold no port. They
// must not take the program's name before the ports do: JACK gives each
// further client of a name a number ("Tessiva-01").
constexpr char ListingSuffix[] = " devices";
// The throw-away client that takes libjack's clean-up after a lost server.
constexpr char ResetSuffix[] = " reset";

const QString ServerStopped = QStringLiteral("The JACK server has stopped");
const QString ServerNotRunning = QStringLiteral("The JACK server is not running");

// How many bytes a short message with this status has.
std::size_t shortLength(std::uint8_t status)
{
    if (status < ChannelTwoByteFirst)
        return 3;
    if (status <= ChannelTwoByteLast)
        return 2;
    if (status < SystemFirst)
        return 3;
    if (status == SongPosition)
        return 3;
    if (status == TimeCodeQuarter || status == SongSelect)
        return 2;
    return 1;
}

// Active sensing is the sender's keep-alive: many synthesizers send it every
// 300 ms whether anything else happens or not. It tells the editor nothing,
// and each one would take a place in the input ring and a notification,
// flash the hub's In lamp, replace the last real message on its display and,
// with "Midi-true", go back to the synthesizer. It is dropped here, where
// the system's MIDI comes in; timing clock and time code pass on.
bool droppedOnArrival(const std::vector<unsigned char> &message)
{
    return message.size() == 1 && message.front() == ActiveSensing;
}

// The APIs worth trying, best first, among those this RtMidi was built with.
std::vector<RtMidi::Api> candidateApis(bool virtualOnly)
{
    const RtMidi::Api preferred[] = {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK, RtMidi::MACOSX_CORE,
                                     RtMidi::WINDOWS_MM};
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    std::vector<RtMidi::Api> result;
    for (RtMidi::Api api : preferred) {
        if (virtualOnly && api == RtMidi::WINDOWS_MM)
            continue;
        for (RtMidi::Api have : compiled)
            if (have == api)
                result.push_back(api);
    }
    return result;
}

QString apiName(RtMidi::Api api)
{
    return QString::fromStdString(RtMidi::getApiDisplayName(api));
}

// RtMidi reports through std::cerr until an error callback is installed,
// which can only happen once its object exists.
class QuietCerr
{
public:
    QuietCerr() : m_saved(std::cerr.rdbuf(nullptr)) {}
    ~QuietCerr() { std::cerr.rdbuf(m_saved); }
    QuietCerr(const QuietCerr &) = delete;
    QuietCerr &operator=(const QuietCerr &) = delete;

private:
    std::streambuf *m_saved;
};

// Collects what RtMidi reports instead of letting it print or throw. With
// a callback installed RtMidi returns from a failed call, so every call is
// followed by a look here.
class ErrorSink
{
public:
    void attach(RtMidi &midi) { midi.setErrorCallback(&ErrorSink::report, this); }

    // Throws the failure reported since the last check, if any.
    void check()
    {
        std::lock_guard lock(m_mutex);
        if (m_failure.empty())
            return;
        const QString text = QString::fromStdString(m_failure);
        m_failure.clear();
        throw MidiBackendError(text);
    }
    QString lastWarning()
    {
        std::lock_guard lock(m_mutex);
        return QString::fromStdString(m_warning);
    }

private:
    static void report(RtMidiError::Type type, const std::string &text, void *self)
    {
        auto *sink = static_cast<ErrorSink *>(self);
        std::lock_guard lock(sink->m_mutex);
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
            sink->m_warning = text;
        else
            sink->m_failure = text;
    }

    std::mutex m_mutex;
    std::string m_failure;
    std::string m_warning;
};

// RtMidi objects that must never be closed (see GuardedPort): kept, and
// reachable to the end of the process, on purpose.
template <typename Port> void abandon(std::unique_ptr<Port> port)
{
    static std::mutex mutex;
    static auto *kept = new std::vector<RtMidi *>;
    std::lock_guard lock(mutex);
    kept->push_back(port.release());
}

// An RtMidi object with the JACK generation it was made in (see
// JackMonitor). Once libjack has freed the client under it, or the server
// under it is gone, the object is never used or closed again but abandoned:
// closing it would crash in jack_client_close. One whose server runs has
// its callbacks stopped before RtMidi closes it (see RtJackClient).
template <typename Port> class GuardedPort
{
public:
    GuardedPort() = default;
    GuardedPort(std::unique_ptr<Port> port, RtMidi::Api api, std::string clientName)
        : m_port(std::move(port)), m_jack(api == RtMidi::UNIX_JACK),
          m_generation(JackMonitor::generation()), m_losses(JackMonitor::losses()),
          m_clientName(std::move(clientName))
    {
    }
    GuardedPort(GuardedPort &&other) noexcept { *this = std::move(other); }
    GuardedPort &operator=(GuardedPort &&other) noexcept
    {
        reset();
        m_port = std::move(other.m_port);
        m_jack = other.m_jack;
        m_generation = other.m_generation;
        m_losses = other.m_losses;
        m_clientName = std::move(other.m_clientName);
        return *this;
    }
    ~GuardedPort() { reset(); }

    // Whether the server under a JACK client has gone, or libjack freed it.
    bool serverGone() const
    {
        return m_jack &&
               (m_generation != JackMonitor::generation() || m_losses != JackMonitor::losses());
    }
    // Whether a JACK port found no server when it was made (see
    // RtJackClient::missing).
    bool clientMissing() const { return m_jack && m_port && RtJackClient::missing(*m_port); }
    Port *get() const { return m_port.get(); }
    Port *operator->() const { return m_port.get(); }
    explicit operator bool() const { return m_port != nullptr; }

    void reset()
    {
        if (!m_port)
            return;
        if (serverGone())
            abandon(std::move(m_port));
        else if (m_jack)
            RtJackClient::quiesce(*m_port, m_clientName, std::is_same_v<Port, RtMidiOut>);
        m_port.reset();
    }

private:
    std::unique_ptr<Port> m_port;
    bool m_jack = false;
    int m_generation = 0;
    int m_losses = 0;
    std::string m_clientName;
};

class RtInputConnection : public MidiInputConnection
{
public:
    RtInputConnection(GuardedPort<RtMidiIn> in, std::unique_ptr<ErrorSink> errors,
                      MidiReceiver &receiver, std::shared_ptr<int> openInputs)
        : m_errors(std::move(errors)), m_in(std::move(in)), m_receiver(receiver),
          m_openInputs(std::move(openInputs))
    {
        // Every short message goes to the ring, system real time and time
        // code included; see droppedOnArrival for the one exception.
        m_in->ignoreTypes(false, false, false);
        m_in->setCallback(&RtInputConnection::received, this);
        m_errors->check();
        ++*m_openInputs;
    }
    // Destroying the RtMidi object stops its thread (or JACK client), so
    // the receiver is not called once this has returned. One left alone
    // after a lost server has no running thread, and forgets its callback.
    ~RtInputConnection() override
    {
        --*m_openInputs;
        if (m_in.serverGone())
            m_in->cancelCallback();
        m_in.reset();
    }

private:
    static void received(double deltaSeconds, std::vector<unsigned char> *message, void *self)
    {
        static_cast<RtInputConnection *>(self)->received(deltaSeconds, *message);
    }

    void received(double deltaSeconds, const std::vector<unsigned char> &message)
    {
        m_seconds += deltaSeconds;
        const auto time = std::uint32_t(std::llround(m_seconds * MillisecondsPerSecond));
        if (message.empty() || droppedOnArrival(message))
            return;
        if (message.front() == SysexStart) {
            m_receiver.receiveSysex(message.data(), message.size(), time);
            return;
        }
        if (message.size() > ShortMessageMax)
            return;
        std::uint32_t packed = 0;
        for (std::size_t i = 0; i < message.size(); ++i)
            packed |= std::uint32_t(message[i]) << (i * BitsPerByte);
        m_receiver.receiveShort(packed, time);
    }

    std::unique_ptr<ErrorSink> m_errors;
    GuardedPort<RtMidiIn> m_in;
    MidiReceiver &m_receiver;
    std::shared_ptr<int> m_openInputs;
    // Touched by the callback thread only.
    double m_seconds = 0;
};

class RtOutputConnection : public MidiOutputConnection
{
public:
    RtOutputConnection(GuardedPort<RtMidiOut> out, std::unique_ptr<ErrorSink> errors)
        : m_errors(std::move(errors)), m_out(std::move(out))
    {
    }

    void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        const std::uint8_t bytes[ShortMessageMax] = {status, data1, data2};
        send(bytes, shortLength(status));
    }
    void sendLong(const std::uint8_t *bytes, std::size_t length) override { send(bytes, length); }

private:
    // RtMidi hands JACK messages to a buffer that the server's cycle
    // empties; with the server gone they would vanish without a word.
    void send(const std::uint8_t *bytes, std::size_t length)
    {
        if (m_out.serverGone())
            throw MidiBackendError(ServerStopped);
        m_out->sendMessage(bytes, length);
        m_errors->check();
    }

    std::unique_ptr<ErrorSink> m_errors;
    GuardedPort<RtMidiOut> m_out;
};

// After a lost server libjack frees every older client once a new one is
// opened. A throw-away client takes that first, so that it cannot take a
// port opened a moment before the next one (the hub opens three). It is
// named after the port's client: libjack's socket for a client opening is
// named after the client alone, whatever the server, so one fixed name
// would be shared by every program and server on the machine.
void settleJack(const QString &client)
{
    if (!JackMonitor::cleanUpPending())
        return;
    {
        QuietCerr quiet;
        ErrorSink ignored;
        const std::string name = (client + QLatin1String(ResetSuffix)).toStdString();
        auto probe = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, name);
        ignored.attach(*probe);
        GuardedPort<RtMidiOut> closed(std::move(probe), RtMidi::UNIX_JACK, name);
    }
    JackMonitor::settle();
}

template <typename Port>
GuardedPort<Port> makePort(RtMidi::Api api, const QString &client, ErrorSink &errors)
{
    if (api == RtMidi::UNIX_JACK) {
        JackMonitor::install();
        settleJack(client);
    }
    QuietCerr quiet;
    const std::string name = client.toStdString();
    auto port = std::make_unique<Port>(api, name);
    errors.attach(*port);
    // Stamped once made: opening its client is what may have freed older ones.
    return GuardedPort<Port>(std::move(port), api, name);
}

// Gives a fresh port of each API in turn to open() until one succeeds. The
// failure names the API only when there was a choice.
template <typename Port, typename Open>
auto openWithFirstApi(const std::vector<RtMidi::Api> &apis, const QString &client, Open open)
{
    QStringList failures;
    for (RtMidi::Api api : apis) {
        auto errors = std::make_unique<ErrorSink>();
        QString failure;
        try {
            auto port = makePort<Port>(api, client, *errors);
            if (port.clientMissing())
                throw MidiBackendError(ServerNotRunning);
            return open(std::move(port), std::move(errors));
        } catch (const RtMidiError &e) {
            failure = QString::fromStdString(e.getMessage());
        } catch (const MidiBackendError &e) {
            failure = e.reason();
        }
        failures << (apis.size() == 1 ? failure : apiName(api) + QStringLiteral(": ") + failure);
    }
    if (failures.isEmpty())
        throw MidiBackendError(QStringLiteral("No MIDI system here offers virtual ports"));
    if (failures.size() == 1)
        throw MidiBackendError(failures.first());
    throw MidiBackendError(QStringLiteral("No MIDI port could be opened (") +
                           failures.join(QStringLiteral("; ")) + QLatin1Char(')'));
}
} // namespace

struct RtMidiBackend::Impl
{
    QString clientName;
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    QString reason;
    ErrorSink errors;
    GuardedPort<RtMidiIn> probeIn;
    GuardedPort<RtMidiOut> probeOut;
    // Inputs open through this backend; the first is the synthesizer's.
    std::shared_ptr<int> openInputs = std::make_shared<int>(0);
    int lossesAtStart = JackMonitor::losses();

    QString listingName() const { return clientName + QLatin1String(ListingSuffix); }

    // Probes on a lost JACK server, or made while none ran, are replaced by
    // fresh ones, which find the server once it is (back) up.
    void renewProbes()
    {
        try {
            if (probeIn.serverGone() || probeIn.clientMissing())
                probeIn = makePort<RtMidiIn>(api, listingName(), errors);
            if (probeOut.serverGone() || probeOut.clientMissing())
                probeOut = makePort<RtMidiOut>(api, listingName(), errors);
        } catch (const RtMidiError &) {
            // The old probe stays, and lists nothing.
        }
    }

    template <typename Probe> QStringList names(GuardedPort<Probe> &probe)
    {
        QStringList result;
        if (!probe)
            return result;
        renewProbes();
        if (probe.serverGone() || probe.clientMissing())
            return result;
        const unsigned count = probe->getPortCount();
        for (unsigned i = 0; i < count; ++i)
            result << QString::fromStdString(probe->getPortName(i));
        // Enumeration problems mean no devices, not a failure of the caller.
        try {
            errors.check();
        } catch (const MidiBackendError &) {
            result.clear();
        }
        return result;
    }

    // The port name for the next input: the hub opens the synthesizer's
    // input first and a separate keyboard's second.
    std::string inputPortName() const
    {
        return *openInputs == 0 ? InputPortName : KeyboardPortName;
    }
};

RtMidiBackend::RtMidiBackend(const QString &clientName) : d(std::make_unique<Impl>())
{
    d->clientName = clientName;
    QStringList failures;
    for (RtMidi::Api api : candidateApis(false)) {
        try {
            d->probeIn = makePort<RtMidiIn>(api, d->listingName(), d->errors);
            d->probeOut = makePort<RtMidiOut>(api, d->listingName(), d->errors);
            d->api = api;
            break;
        } catch (const RtMidiError &e) {
            d->probeIn.reset();
            d->probeOut.reset();
            failures << apiName(api) + QStringLiteral(": ") +
                            QString::fromStdString(e.getMessage());
        }
    }
    if (d->api == RtMidi::UNSPECIFIED)
        d->reason = failures.isEmpty() ? QStringLiteral("No MIDI system was compiled in")
                                       : QStringLiteral("No MIDI system could be started (") +
                                             failures.join(QStringLiteral("; ")) + QLatin1Char(')');
}

RtMidiBackend::~RtMidiBackend() = default;

QString RtMidiBackend::name() const
{
    if (d->api == RtMidi::UNSPECIFIED)
        return QStringLiteral("System MIDI");
    return QStringLiteral("System MIDI (") + apiName(d->api) + QLatin1Char(')');
}

QStringList RtMidiBackend::inputDevices()
{
    return d->names(d->probeIn);
}

QStringList RtMidiBackend::outputDevices()
{
    return d->names(d->probeOut);
}

QString RtMidiBackend::unavailableReason() const
{
    if (!d->reason.isEmpty())
        return d->reason;
    d->renewProbes();
    if (d->probeIn.serverGone() || d->probeOut.serverGone())
        return ServerStopped;
    if (d->probeIn.clientMissing() || d->probeOut.clientMissing())
        return ServerNotRunning;
    // A working API may still have nothing to talk to, such as JACK
    // without a server; RtMidi says so only as a warning.
    if (d->probeIn->getPortCount() == 0 && d->probeOut->getPortCount() == 0) {
        const QString warning = d->errors.lastWarning();
        return warning.isEmpty() ? QStringLiteral("No MIDI devices found") : warning;
    }
    return {};
}

bool RtMidiBackend::serverLost() const
{
    return d->api == RtMidi::UNIX_JACK && JackMonitor::losses() != d->lossesAtStart;
}

void RtMidiBackend::setServerLostHandler(std::function<void()> handler)
{
    JackMonitor::setLossHandler(std::move(handler));
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::openInput(int index, MidiReceiver &receiver)
{
    if (d->api == RtMidi::UNSPECIFIED)
        throw MidiBackendError(d->reason);
    const std::string portName = d->inputPortName();
    return openWithFirstApi<RtMidiIn>(
        {d->api}, d->clientName, [&](GuardedPort<RtMidiIn> in, auto errors) {
            in->openPort(unsigned(index), portName);
            errors->check();
            return std::unique_ptr<MidiInputConnection>(
                new RtInputConnection(std::move(in), std::move(errors), receiver, d->openInputs));
        });
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openOutput(int index)
{
    if (d->api == RtMidi::UNSPECIFIED)
        throw MidiBackendError(d->reason);
    return openWithFirstApi<RtMidiOut>(
        {d->api}, d->clientName, [&](GuardedPort<RtMidiOut> out, auto errors) {
            out->openPort(unsigned(index), OutputPortName);
            errors->check();
            return std::unique_ptr<MidiOutputConnection>(
                new RtOutputConnection(std::move(out), std::move(errors)));
        });
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::openVirtualInput(const QString &portName,
                                                                     MidiReceiver &receiver)
{
    return openWithFirstApi<RtMidiIn>(
        candidateApis(true), d->clientName, [&](GuardedPort<RtMidiIn> in, auto errors) {
            in->openVirtualPort(portName.toStdString());
            errors->check();
            return std::unique_ptr<MidiInputConnection>(
                new RtInputConnection(std::move(in), std::move(errors), receiver, d->openInputs));
        });
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openVirtualOutput(const QString &portName)
{
    return openWithFirstApi<RtMidiOut>(
        candidateApis(true), d->clientName, [&](GuardedPort<RtMidiOut> out, auto errors) {
            out->openVirtualPort(portName.toStdString());
            errors->check();
            return std::unique_ptr<MidiOutputConnection>(
                new RtOutputConnection(std::move(out), std::move(errors)));
        });
}
