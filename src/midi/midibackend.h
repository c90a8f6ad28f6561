#pragma once
// What a source of MIDI devices offers the ports: lists of input and output
// devices, and connections to them. The system MIDI (RtMidi), the in-process
// loopback pair used by tests and the virtual synthesizer all plug in here.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

// Raised by a backend when a device cannot be opened or used; carries the
// system's reason.
class MidiBackendError : public std::runtime_error
{
public:
    explicit MidiBackendError(const QString &reason)
        : std::runtime_error(reason.toStdString())
    {
    }
    QString reason() const { return QString::fromStdString(what()); }
};

// Receives what an open input device delivers. Called on the backend's own
// thread (the MIDI callback thread), one call at a time per connection: the
// receiver must not allocate, lock or touch anything but its ring.
class MidiReceiver
{
public:
    virtual ~MidiReceiver() = default;
    // status | data1 << 8 | data2 << 16
    virtual void receiveShort(std::uint32_t packed, std::uint32_t timeMs) noexcept = 0;
    // One complete System Exclusive message, F0 to F7.
    virtual void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                              std::uint32_t timeMs) noexcept = 0;
};

// An open input device; closing is destroying it. After the destructor has
// returned, the receiver is never called again.
class MidiInputConnection
{
public:
    virtual ~MidiInputConnection() = default;
};

// An open output device; closing is destroying it. Sends throw
// MidiBackendError when the device fails.
class MidiOutputConnection
{
public:
    virtual ~MidiOutputConnection() = default;
    virtual void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // The bytes are copied before the call returns.
    virtual void sendLong(const std::uint8_t *bytes, std::size_t length) = 0;
};

class MidiBackend
{
public:
    virtual ~MidiBackend() = default;
    virtual QString name() const = 0;
    virtual QStringList inputDevices() = 0;
    virtual QStringList outputDevices() = 0;
    // Why this backend offers no devices (no MIDI system on this machine),
    // or empty when it works.
    virtual QString unavailableReason() const { return {}; }
    virtual std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) = 0;
    virtual std::unique_ptr<MidiOutputConnection> openOutput(int index) = 0;
};
