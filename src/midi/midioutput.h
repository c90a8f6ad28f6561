#pragma once
// A MIDI output port on one device of the registry. Used from the thread
// that owns it (the UI thread). Onmidioutput follows each System Exclusive
// send, queued, once the bytes have left.
//
// DeviceID -1 means "the default output": the first output device of the
// registry at the time the port opens.

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
    void ClosePort();
    void SendShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    // Nothing is sent for a length of 0 or less.
    void SendLongMsg(const std::uint8_t *buffer, int length) override;
    void SendEvent(const TMyMidiEvent &event);

Q_SIGNALS:
    void Onmidioutput(TMidiOutput *sender);

private:
    void requireOpen() const;

    MidiDevices &m_devices;
    QString m_productName;
    int m_deviceId = 0;
    std::uint16_t m_error = 0;
    std::unique_ptr<MidiOutputConnection> m_connection;
};
