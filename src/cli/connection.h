#pragma once
// The devices a transfer command may use, with the synthesizer link on the
// one it names: the virtual unit always, the system's MIDI only when another
// port is asked for, because probing it is slow and its libraries talk on
// stderr when there is no MIDI system.

#include "cli/streaminfosink.h"
#include "midi/mididevices.h"
#include "midi/synthlink.h"

#include <QString>
#include <QTextStream>

namespace cli {

struct Connection
{
    Connection(const QString &port, int unit, QTextStream &err, const char *command);
    // False with the reason, which points to tessiva-cli ports.
    bool open(const QString &port, QString &error);

    StreamInfoSink info;
    MidiDevices devices;
    SynthLink link;
};

} // namespace cli
