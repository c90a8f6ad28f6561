#include "midioutput.h"

#include "mididevices.h"

namespace {
const QString invalidDeviceText = QStringLiteral("Invalid device ID");

constexpr std::uint8_t KindMask = 0xF0;
constexpr std::uint8_t ChannelMask = 0x0F;
constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t ControlChange = 0xB0;
constexpr std::uint8_t AllNotesOff = 123;
constexpr int ChannelCount = 16;
} // namespace

TMidiOutput::TMidiOutput(MidiDevices &devices, QObject *parent)
    : QObject(parent), m_devices(devices)
{
}

TMidiOutput::~TMidiOutput()
{
    ClosePort();
}

int TMidiOutput::deviceCount() const
{
    return m_devices.outputCount();
}

void TMidiOutput::setDeviceID(int id)
{
    if (isOpen())
        throw EmidioutputError(QStringLiteral("Change to DeviceID while device was open"));
    const QStringList names = m_devices.outputNames();
    if (id < DefaultDevice || id >= names.size())
        throw EmidioutputError(invalidDeviceText);
    m_deviceId = id;
    if (id == DefaultDevice)
        m_productName = names.isEmpty() ? QString() : names.first();
    else
        m_productName = names.at(id);
}

void TMidiOutput::setProductName(const QString &name)
{
    if (isOpen())
        throw EmidioutputError(QStringLiteral("Change to ProductName while device was open"));
    const int index = int(m_devices.outputNames().indexOf(name));
    if (index < 0)
        throw EmidioutputError(QStringLiteral("MIDI output Device ") + name +
                               QStringLiteral(" not installed"));
    setDeviceID(index);
}

void TMidiOutput::OpenPort()
{
    if (isOpen())
        return;
    const int index = m_deviceId == DefaultDevice ? 0 : m_deviceId;
    if (index >= deviceCount())
        throw EmidioutputError(invalidDeviceText);
    try {
        m_connection = m_devices.openOutput(index);
    } catch (const MidiBackendError &e) {
        m_error = 1;
        throw EmidioutputError(deviceFailureText(e.reason()));
    }
    m_error = 0;
}

void TMidiOutput::ClosePort()
{
    if (!isOpen())
        return;
    silencePlayedChannels();
    m_connection.reset();
}

void TMidiOutput::silencePlayedChannels()
{
    for (int channel = 0; channel < ChannelCount && m_playedChannels != 0; ++channel) {
        const std::uint16_t bit = std::uint16_t(1u << channel);
        if (!(m_playedChannels & bit))
            continue;
        m_playedChannels &= std::uint16_t(~bit);
        try {
            m_connection->sendShort(std::uint8_t(ControlChange | channel), AllNotesOff, 0);
        } catch (const MidiBackendError &) {
            // The device is gone; nothing it plays can be stopped from here.
            m_playedChannels = 0;
        }
    }
}

void TMidiOutput::requireOpen() const
{
    if (!isOpen())
        throw EmidioutputError(QStringLiteral("MIDI Output device not open"));
}

void TMidiOutput::SendShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    requireOpen();
    try {
        m_connection->sendShort(status, data1, data2);
    } catch (const MidiBackendError &e) {
        m_error = 1;
        throw EmidioutputError(deviceFailureText(e.reason()));
    }
    if ((status & KindMask) == NoteOn)
        m_playedChannels |= std::uint16_t(1u << (status & ChannelMask));
}

void TMidiOutput::SendLongMsg(const std::uint8_t *buffer, int length)
{
    requireOpen();
    if (length <= 0 || buffer == nullptr)
        return;
    try {
        m_connection->sendLong(buffer, std::size_t(length));
    } catch (const MidiBackendError &e) {
        m_error = 1;
        throw EmidioutputError(deviceFailureText(e.reason()));
    }
    // The backends send synchronously; the completion still comes later,
    // from the event loop, as callers of a buffered send expect.
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT Onmidioutput(this); }, Qt::QueuedConnection);
}

void TMidiOutput::SendEvent(const TMyMidiEvent &event)
{
    requireOpen();
    if (!event.SysexData.empty())
        SendLongMsg(event.SysexData.data(), int(event.SysexData.size()));
    else
        SendShortMsg(event.Status, event.Data1, event.Data2);
}
