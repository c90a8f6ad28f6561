#pragma once
// The editor's side of an end-to-end test: editing state, protocol and a pair
// of ports on named devices, with the input handler the hub would run. Lives
// on the test's thread; answers are parsed when the event loop runs.

#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "midi/silenthublink.h"
#include "midi/sysexprotocol.h"
#include "sim/simulatorbackend.h"

#include <QByteArray>
#include <QList>
#include <memory>

class EditorRig
{
public:
    EditorRig();

    // Opens the ports on the devices of these names; false with a reason.
    bool open(const QString &inputName, const QString &outputName, QString *why);
    // Puts the virtual synthesizer first among the devices and opens it.
    bool openSimulator(const std::shared_ptr<SimulatorBackend> &backend, QString *why);

    // Runs the event loop until count System Exclusive messages have arrived
    // in all, or the time is up; returns whether they did.
    bool waitForMessages(int count, int timeoutMs = 5000);

    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    SysexProtocol protocol{state, info, hub};
    MidiDevices devices;
    TMidiInput input{devices};
    TMidiOutput output{devices};

    QList<QByteArray> sysex;  // every System Exclusive message, as received
    QList<QByteArray> shorts; // every short message, its bytes as received

private:
    void readEvents();
};
