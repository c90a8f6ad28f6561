#pragma once
// The operating system's MIDI through RtMidi. The API is chosen explicitly
// (Linux: ALSA, then JACK; Windows: WinMM; macOS: CoreMIDI); when none can
// be started the backend offers no devices and says why. It never throws
// from its constructor and never writes to the console.
//
// Names in patchbays: every port is a client of its own named clientName
// (RtMidi makes one client per port), with the port named "in" (the first
// input open), "keyboard" (a second input open beside it) and "out"; virtual
// ports take the name given. ALSA shows "Tessiva:in", "Tessiva:out"; JACK
// numbers the further clients of one name: "Tessiva:in", "Tessiva-01:out",
// "Tessiva-02:keyboard" in the order the hub opens them. The device lists
// come from two clients without ports, named clientName + " devices".
//
// A JACK server that goes away is survived: sends then fail with a reason,
// and RtMidi objects whose clients libjack freed are left alone (see
// JackMonitor).

#include "midibackend.h"

#include <QString>
#include <functional>
#include <memory>

class RtMidiBackend : public MidiBackend
{
public:
    explicit RtMidiBackend(const QString &clientName = QStringLiteral("Tessiva"));
    ~RtMidiBackend() override;

    QString name() const override;
    QStringList inputDevices() override;
    QStringList outputDevices() override;
    QString unavailableReason() const override;
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) override;
    std::unique_ptr<MidiOutputConnection> openOutput(int index) override;

    // Ports other programs connect to (JACK or ALSA only). Throw
    // MidiBackendError when no API here can create one.
    std::unique_ptr<MidiInputConnection> openVirtualInput(const QString &portName,
                                                          MidiReceiver &receiver);
    std::unique_ptr<MidiOutputConnection> openVirtualOutput(const QString &portName);

    // Whether a JACK server went away under this backend since it was made.
    bool serverLost() const;
    // Called once per loss, from a JACK thread: only flag or wake up there.
    // One handler for the whole process.
    static void setServerLostHandler(std::function<void()> handler);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
