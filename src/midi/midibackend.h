#pragma once
// What a source of MIDI devices offers the ports: lists of input and output
// devices, and connections to them. The system MIDI (RtMidi), the in-process
// loopback pair used by tests and the virtual synthesizer all plug in here.

#include "midi/midibackenderror.h"
#include "midi/midiinputconnection.h"
#include "midi/midioutputconnection.h"
#include "midi/midireceiver.h"

#include <QString>
#include <QStringList>
#include <memory>

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
