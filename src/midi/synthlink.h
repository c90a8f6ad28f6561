#pragma once
// The editor's end of one synthesizer connection without any window: the
// editing state and the protocol on a pair of ports of one device name, and
// the input handling the hub does in the window (parse everything queued,
// then release SendLock). For tessiva-cli and the benchmarks.

#include "core/editstate.h"
#include "midi/hublink.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "midi/silenthublink.h"
#include "midi/sysexprotocol.h"

#include <QString>

class InfoSink;
class MidiDevices;

class SynthLink
{
public:
    SynthLink(MidiDevices &devices, InfoSink &info, int unitId = EditState::DefaultUnitId);

    // Opens the input and the output of that name, or of that port name when
    // each side's full name is "client:port"; false with the reason.
    bool open(const QString &device, QString &error);

    EditState state;
    SilentHubLink hub;
    SysexProtocol protocol;
    TMidiInput input;
    TMidiOutput output;

private:
    void readEvents();

    MidiDevices &devices_;
};
