#include "midi/synthlink.h"

#include "midi/mididevices.h"

SynthLink::SynthLink(MidiDevices &devices, InfoSink &info, int unitId)
    : protocol(state, info, hub), input(devices), output(devices), devices_(devices)
{
    state.UnitId = unitId;
    QObject::connect(&input, &TMidiInput::OnMidiInput, &input, [this] { readEvents(); });
}

namespace {
// The device of that exact name, else the one whose port part ("client:port")
// is that name: system MIDI names each side of a port by its own client.
QString resolve(const QStringList &names, const QString &device)
{
    if (names.contains(device))
        return device;
    QStringList byPort;
    for (const QString &n : names)
        if (n.endsWith(QLatin1Char(':') + device))
            byPort.append(n);
    return byPort.size() == 1 ? byPort.first() : QString();
}
} // namespace

bool SynthLink::open(const QString &device, QString &error)
{
    const QString in = resolve(devices_.inputNames(), device);
    const QString out = resolve(devices_.outputNames(), device);
    if (in.isEmpty() || out.isEmpty()) {
        error = QStringLiteral("no MIDI input and output named '%1'").arg(device);
        return false;
    }
    try {
        input.setProductName(in);
        input.OpenPort();
        input.StartInput();
        output.setProductName(out);
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
