#include "rtmidibackend.h"

#include <rtmidi/RtMidi.h>

#include <cmath>
#include <iostream>
#include <mutex>
#include <vector>

namespace {
constexpr std::uint8_t SysexStart = 0xF0;
constexpr std::uint8_t ChannelTwoByteFirst = 0xC0; // program change, channel pressure
constexpr std::uint8_t ChannelTwoByteLast = 0xDF;
constexpr std::uint8_t SystemFirst = 0xF0;
constexpr std::uint8_t TimeCodeQuarter = 0xF1;
constexpr std::uint8_t SongPosition = 0xF2;
constexpr std::uint8_t SongSelect = 0xF3;
constexpr unsigned BitsPerByte = 8; // bytes pack into the short-message word low first
constexpr std::size_t ShortMessageMax = 3;
constexpr double MillisecondsPerSecond = 1000.0;

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

class RtInputConnection : public MidiInputConnection
{
public:
    RtInputConnection(std::unique_ptr<RtMidiIn> in, std::unique_ptr<ErrorSink> errors,
                      MidiReceiver &receiver)
        : m_errors(std::move(errors)), m_in(std::move(in)), m_receiver(receiver)
    {
        m_in->ignoreTypes(false, true, true);
        m_in->setCallback(&RtInputConnection::received, this);
        m_errors->check();
    }
    // Destroying the RtMidi object stops its thread (or JACK client), so
    // the receiver is not called once this has returned.
    ~RtInputConnection() override { m_in.reset(); }

private:
    static void received(double deltaSeconds, std::vector<unsigned char> *message, void *self)
    {
        static_cast<RtInputConnection *>(self)->received(deltaSeconds, *message);
    }

    void received(double deltaSeconds, const std::vector<unsigned char> &message)
    {
        m_seconds += deltaSeconds;
        const auto time = std::uint32_t(std::llround(m_seconds * MillisecondsPerSecond));
        if (message.empty())
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
    std::unique_ptr<RtMidiIn> m_in;
    MidiReceiver &m_receiver;
    // Touched by the callback thread only.
    double m_seconds = 0;
};

class RtOutputConnection : public MidiOutputConnection
{
public:
    RtOutputConnection(std::unique_ptr<RtMidiOut> out, std::unique_ptr<ErrorSink> errors)
        : m_errors(std::move(errors)), m_out(std::move(out))
    {
    }

    void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        const std::uint8_t bytes[ShortMessageMax] = {status, data1, data2};
        m_out->sendMessage(bytes, shortLength(status));
        m_errors->check();
    }
    void sendLong(const std::uint8_t *bytes, std::size_t length) override
    {
        m_out->sendMessage(bytes, length);
        m_errors->check();
    }

private:
    std::unique_ptr<ErrorSink> m_errors;
    std::unique_ptr<RtMidiOut> m_out;
};

template <typename Port>
std::unique_ptr<Port> makePort(RtMidi::Api api, const QString &client, ErrorSink &errors)
{
    QuietCerr quiet;
    auto port = std::make_unique<Port>(api, client.toStdString());
    errors.attach(*port);
    return port;
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
    std::unique_ptr<RtMidiIn> probeIn;
    std::unique_ptr<RtMidiOut> probeOut;

    template <typename Probe> QStringList names(Probe *probe)
    {
        QStringList result;
        if (!probe)
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
};

RtMidiBackend::RtMidiBackend(const QString &clientName) : d(std::make_unique<Impl>())
{
    d->clientName = clientName;
    QStringList failures;
    for (RtMidi::Api api : candidateApis(false)) {
        try {
            d->probeIn = makePort<RtMidiIn>(api, clientName, d->errors);
            d->probeOut = makePort<RtMidiOut>(api, clientName, d->errors);
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
    return d->names(d->probeIn.get());
}

QStringList RtMidiBackend::outputDevices()
{
    return d->names(d->probeOut.get());
}

QString RtMidiBackend::unavailableReason() const
{
    if (!d->reason.isEmpty())
        return d->reason;
    // A working API may still have nothing to talk to, such as JACK
    // without a server; RtMidi says so only as a warning.
    if (d->probeIn->getPortCount() == 0 && d->probeOut->getPortCount() == 0) {
        const QString warning = d->errors.lastWarning();
        return warning.isEmpty() ? QStringLiteral("No MIDI devices found") : warning;
    }
    return {};
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::openInput(int index, MidiReceiver &receiver)
{
    if (d->api == RtMidi::UNSPECIFIED)
        throw MidiBackendError(d->reason);
    const std::string portName = d->clientName.toStdString() + " in";
    return openWithFirstApi<RtMidiIn>(
        {d->api}, d->clientName, [&](std::unique_ptr<RtMidiIn> in, auto errors) {
            in->openPort(unsigned(index), portName);
            errors->check();
            return std::unique_ptr<MidiInputConnection>(
                new RtInputConnection(std::move(in), std::move(errors), receiver));
        });
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openOutput(int index)
{
    if (d->api == RtMidi::UNSPECIFIED)
        throw MidiBackendError(d->reason);
    const std::string portName = d->clientName.toStdString() + " out";
    return openWithFirstApi<RtMidiOut>(
        {d->api}, d->clientName, [&](std::unique_ptr<RtMidiOut> out, auto errors) {
            out->openPort(unsigned(index), portName);
            errors->check();
            return std::unique_ptr<MidiOutputConnection>(
                new RtOutputConnection(std::move(out), std::move(errors)));
        });
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::openVirtualInput(const QString &portName,
                                                                     MidiReceiver &receiver)
{
    return openWithFirstApi<RtMidiIn>(
        candidateApis(true), d->clientName, [&](std::unique_ptr<RtMidiIn> in, auto errors) {
            in->openVirtualPort(portName.toStdString());
            errors->check();
            return std::unique_ptr<MidiInputConnection>(
                new RtInputConnection(std::move(in), std::move(errors), receiver));
        });
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openVirtualOutput(const QString &portName)
{
    return openWithFirstApi<RtMidiOut>(
        candidateApis(true), d->clientName, [&](std::unique_ptr<RtMidiOut> out, auto errors) {
            out->openVirtualPort(portName.toStdString());
            errors->check();
            return std::unique_ptr<MidiOutputConnection>(
                new RtOutputConnection(std::move(out), std::move(errors)));
        });
}
