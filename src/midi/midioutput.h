#pragma once
// A MIDI output port on one device of the registry. Used from the thread
// that owns it (the UI thread). Onmidioutput follows each System Exclusive
// send, queued, once the bytes have left.
//
// DeviceID -1 means "the default output": the first output device of the
// registry at the time the port opens.
//
// The port remembers the channels it sent note-ons on and, when it closes,
// first sends All Notes Off on each of them: a note whose note-off never
// comes (a test note, a key held while the port closes) must not sound on.

#include "midierrors.h"
#include "midisender.h"
#include "mymidievent.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class MidiDevices;
class MidiOutputConnection;

class TMidiOutput : public QObject, public MidiSender
{
    Q_OBJECT
public:
    static constexpr int DefaultDevice = -1;

    explicit TMidiOutput(MidiDevices &devices, QObject *parent = nullptr);
    ~TMidiOutput() override;

    QString ProductName() const { return m_productName; }
    void setProductName(const QString &name);
    int DeviceID() const { return m_deviceId; }
    void setDeviceID(int id);
    std::uint16_t Error() const { return m_error; }

    bool isOpen() const { return m_connection != nullptr; }
    int deviceCount() const;

    void OpenPort();
    // Sends All Notes Off first on each channel that had a note-on; closes
    // even when that can no longer go out.
    void ClosePort();
    void SendShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    // Nothing is sent for a length of 0 or less.
    void SendLongMsg(const std::uint8_t *buffer, int length) override;
    void SendEvent(const TMyMidiEvent &event);

Q_SIGNALS:
    void Onmidioutput(TMidiOutput *sender);

private:
    void requireOpen() const;
    void silencePlayedChannels();

    MidiDevices &m_devices;
    QString m_productName;
    int m_deviceId = 0;
    std::uint16_t m_error = 0;
    std::uint16_t m_playedChannels = 0; // bit n: a note-on went out on channel n
    std::unique_ptr<MidiOutputConnection> m_connection;
};
