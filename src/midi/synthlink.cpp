#include "midi/synthlink.h"

#include "midi/mididevices.h"

SynthLink::SynthLink(MidiDevices &devices, InfoSink &info, int unitId)
    : protocol(state, info, hub), input(devices), output(devices), devices_(devices)
{
    state.UnitId = unitId;
    QObject::connect(&input, &TMidiInput::OnMidiInput, &input, [this] { readEvents(); });
}

bool SynthLink::open(const QString &device, QString &error)
{
    if (!devices_.inputNames().contains(device) || !devices_.outputNames().contains(device)) {
        error = QStringLiteral("no MIDI input and output named '%1'").arg(device);
        return false;
    }
    try {
        input.setProductName(device);
        input.OpenPort();
        input.StartInput();
        output.setProductName(device);
        output.OpenPort();
    } catch (const std::exception &e) {
        error = QStringLiteral("cannot open '%1': %2").arg(device, QString::fromUtf8(e.what()));
        return false;
    }
    protocol.setSender(&output);
    state.MidiClosed = false;
    return true;
}

void SynthLink::readEvents()
{
    state.SendLock = true;
    while (input.EventCount() > 0) {
        const std::unique_ptr<TMyMidiEvent> e = input.ReadEvent();
        if (!e)
            break;
        if (e->isSysex() && !e->SysexData.empty())
            protocol.parseIncoming(e->SysexData.data(), int(e->SysexData.size()));
    }
    state.SendLock = false;
}
