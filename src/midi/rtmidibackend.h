#pragma once
// The operating system's MIDI through RtMidi. The API is chosen explicitly
// (Linux: ALSA, then JACK; Windows: WinMM; macOS: CoreMIDI); when none can
// be started the backend offers no devices and says why. It never throws
// from its constructor and never writes to the console.

#include "midibackend.h"

#include <QString>
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

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
