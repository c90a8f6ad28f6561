#include "midiinput.h"

#include "inputsink.h"
#include "mididevices.h"

namespace {
const QString invalidDeviceText = QStringLiteral("Invalid device ID");
}

TMidiInput::TMidiInput(MidiDevices &devices, QObject *parent) : QObject(parent), m_devices(devices)
{
    // A machine without input devices still gets a port; it refuses to open.
    if (deviceCount() > 0)
        selectDevice(0);
    m_state = State::Closed;
}

TMidiInput::~TMidiInput()
{
    // Stops the callbacks before the ring they write into goes away.
    m_connection.reset();
    m_sink.reset();
}

int TMidiInput::deviceCount() const
{
    return m_devices.inputCount();
}

void TMidiInput::selectDevice(int id)
{
    const QStringList names = m_devices.inputNames();
    if (id < 0 || id >= names.size())
        throw EMidiInputError(invalidDeviceText);
    m_deviceId = std::uint16_t(id);
    m_productName = names.at(id);
}

void TMidiInput::setDeviceID(int id)
{
    if (isOpen())
        throw EMidiInputError(QStringLiteral("Change to DeviceID while device was open"));
    selectDevice(id);
}

void TMidiInput::setProductName(const QString &name)
{
    if (isOpen())
        throw EMidiInputError(QStringLiteral("Change to ProductName while device was open"));
    const int index = int(m_devices.inputNames().indexOf(name));
    if (index < 0)
        throw EMidiInputError(QStringLiteral("MIDI Input Device ") + name +
                              QStringLiteral(" not installed "));
    selectDevice(index);
}

void TMidiInput::setCapacity(int capacity)
{
    if (capacity < 1 || capacity > MaxCapacity)
        throw EMidiInputError(QStringLiteral("Invalid Capacity"));
    m_capacity = std::uint16_t(capacity);
}

void TMidiInput::setSysexBufferSize(std::uint16_t size)
{
    if (isOpen())
        throw EMidiInputError(QStringLiteral("Change to SysexBufferSize while device was open"));
    m_sysexBufferSize = size;
}

void TMidiInput::setSysexBufferCount(std::uint16_t count)
{
    if (isOpen())
        throw EMidiInputError(QStringLiteral("Change to SysexBuffercount while device was open"));
    m_sysexBufferCount = count;
}

void TMidiInput::setSysexOnly(bool sysexOnly)
{
    m_sysexOnly = sysexOnly;
    if (m_sink)
        m_sink->setSysexOnly(sysexOnly);
}

void TMidiInput::OpenPort()
{
    if (isOpen())
        return;
    if (m_deviceId >= deviceCount())
        throw EMidiInputError(invalidDeviceText);
    // Without both a count and a size there are no System Exclusive buffers
    // and every System Exclusive message is dropped.
    const bool withSysex = m_sysexBufferCount != 0 && m_sysexBufferSize != 0;
    auto sink = std::make_unique<InputSink>(*this, m_capacity, withSysex ? m_sysexBufferCount : 0,
                                            withSysex ? m_sysexBufferSize : 0, m_sysexOnly);
    try {
        m_connection = m_devices.openInput(m_deviceId, *sink);
    } catch (const MidiBackendError &e) {
        m_error = 1;
        throw EMidiInputError(deviceFailureText(e.reason()));
    }
    m_sink = std::move(sink);
    m_error = 0;
    m_state = State::Open;
}

void TMidiInput::StartInput()
{
    if (isOpen())
        m_sink->start();
}

void TMidiInput::ClosePort()
{
    if (!isOpen())
        return;
    m_state = State::Closed;
    m_connection.reset();
    m_sink.reset();
}

std::unique_ptr<TMyMidiEvent> TMidiInput::ReadEvent()
{
    MidiRingItem item;
    if (!isOpen() || !m_sink->ring().pop(item))
        return nullptr;
    if (item.sysexSlot == MidiRingItem::NoSysex)
        return std::make_unique<TMyMidiEvent>(TMyMidiEvent::shortMessage(item.packed, item.time));
    SysexPool &pool = m_sink->sysex();
    auto event = std::make_unique<TMyMidiEvent>(
        TMyMidiEvent::sysex(pool.data(item.sysexSlot), pool.length(item.sysexSlot), item.time));
    pool.release(item.sysexSlot);
    return event;
}

std::uint16_t TMidiInput::EventCount() const
{
    return isOpen() ? std::uint16_t(m_sink->ring().count()) : 0;
}

std::uint32_t TMidiInput::droppedCount() const
{
    return m_sink ? m_sink->dropped() : 0;
}

void TMidiInput::postDataNotification()
{
    QMetaObject::invokeMethod(this, &TMidiInput::deliverData, Qt::QueuedConnection);
}

void TMidiInput::postOverflowNotification()
{
    QMetaObject::invokeMethod(this, &TMidiInput::deliverOverflow, Qt::QueuedConnection);
}

void TMidiInput::deliverData()
{
    if (!isOpen())
        return;
    m_sink->clearDataPending();
    if (EventCount() > 0)
        Q_EMIT OnMidiInput(this);
}

void TMidiInput::deliverOverflow()
{
    if (!isOpen())
        return;
    m_sink->clearOverflowPending();
    Q_EMIT OnOverflow(this);
}
