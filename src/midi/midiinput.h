#pragma once
// A MIDI input port. It opens one device of the registry and delivers every
// received short message and System Exclusive message as a TMyMidiEvent.
//
// Threads: the backend's callback thread only writes into the port's ring
// (no allocation, no lock); everything else, including OnMidiInput and
// OnOverflow, happens on the thread that owns the port (the UI thread). The
// signals come from a queued notification and fire only while the port is
// open; OnMidiInput only when EventCount() > 0. Notifications are coalesced:
// one signal may find several events waiting, so handlers loop until
// EventCount() is 0.

#include "midierrors.h"
#include "mymidievent.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class MidiDevices;
class MidiInputConnection;
class InputSink;

class TMidiInput : public QObject
{
    Q_OBJECT
public:
    enum class State
    {
        Creating,
        Closed,
        Open
    };

    static constexpr std::uint16_t DefaultCapacity = 1024;
    // The largest ring the port accepts (12-byte items in a 64 KB block).
    static constexpr std::uint16_t MaxCapacity = 5461;
    static constexpr std::uint16_t DefaultSysexBufferSize = 4096;
    static constexpr std::uint16_t DefaultSysexBufferCount = 16;

    // With no input device at all the port is still built: DeviceID 0,
    // ProductName empty, and OpenPort raises "Invalid device ID".
    explicit TMidiInput(MidiDevices &devices, QObject *parent = nullptr);
    ~TMidiInput() override;

    QString ProductName() const { return m_productName; }
    // Selects the first device of that exact name.
    void setProductName(const QString &name);
    std::uint16_t DeviceID() const { return m_deviceId; }
    void setDeviceID(int id);
    // Takes effect at the next OpenPort; 1 to MaxCapacity.
    std::uint16_t Capacity() const { return m_capacity; }
    void setCapacity(int capacity);
    // 0, or 1 after a device reported a failure.
    std::uint16_t Error() const { return m_error; }
    std::uint16_t SysexBufferSize() const { return m_sysexBufferSize; }
    void setSysexBufferSize(std::uint16_t size);
    std::uint16_t SysexBufferCount() const { return m_sysexBufferCount; }
    void setSysexBufferCount(std::uint16_t count);
    bool SysexOnly() const { return m_sysexOnly; }
    void setSysexOnly(bool sysexOnly);

    State state() const { return m_state; }
    bool isOpen() const { return m_state == State::Open; }
    int deviceCount() const;

    void OpenPort();
    // Reception begins here; ClosePort ends it.
    void StartInput();
    void ClosePort();
    // The oldest waiting event, or null when closed or nothing waits.
    std::unique_ptr<TMyMidiEvent> ReadEvent();
    std::uint16_t EventCount() const;
    // Messages dropped since OpenPort because the ring or every System
    // Exclusive buffer was full, or a System Exclusive message was longer
    // than SysexBufferSize.
    std::uint32_t droppedCount() const;

Q_SIGNALS:
    void OnMidiInput(TMidiInput *sender);
    void OnOverflow(TMidiInput *sender);

private:
    friend class InputSink;
    void postDataNotification();
    void postOverflowNotification();
    void deliverData();
    void deliverOverflow();
    void selectDevice(int id);

    MidiDevices &m_devices;
    State m_state = State::Creating;
    QString m_productName;
    std::uint16_t m_deviceId = 0;
    std::uint16_t m_capacity = DefaultCapacity;
    std::uint16_t m_error = 0;
    std::uint16_t m_sysexBufferSize = DefaultSysexBufferSize;
    std::uint16_t m_sysexBufferCount = DefaultSysexBufferCount;
    bool m_sysexOnly = false;
    std::unique_ptr<InputSink> m_sink;
    std::unique_ptr<MidiInputConnection> m_connection;
};
