#include "editorrig.h"

#include <QElapsedTimer>
#include <QTest>

EditorRig::EditorRig()
{
    QObject::connect(&input, &TMidiInput::OnMidiInput, &input, [this] { readEvents(); });
    protocol.setSender(&output);
}

bool EditorRig::open(const QString &inputName, const QString &outputName, QString *why)
{
    try {
        input.setProductName(inputName);
        output.setProductName(outputName);
        input.OpenPort();
        input.StartInput();
        output.OpenPort();
    } catch (const std::exception &e) {
        if (why)
            *why = QString::fromUtf8(e.what());
        return false;
    }
    state.MidiClosed = false;
    return true;
}

bool EditorRig::openSimulator(const std::shared_ptr<SimulatorBackend> &backend, QString *why)
{
    devices.insertBackend(backend);
    return open(SimulatorBackend::DeviceName, SimulatorBackend::DeviceName, why);
}

bool EditorRig::waitForMessages(int count, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (sysex.size() < count && t.elapsed() < timeoutMs)
        QTest::qWait(1);
    return sysex.size() >= count;
}

// What the hub does with its input: parse each message in arrival order,
// then the refresh that ends the request clears SendLock.
void EditorRig::readEvents()
{
    while (input.EventCount() > 0) {
        const std::unique_ptr<TMyMidiEvent> e = input.ReadEvent();
        if (!e->isSysex()) {
            const char bytes[] = {char(e->Status), char(e->Data1), char(e->Data2)};
            shorts.append(QByteArray(bytes, sizeof bytes));
            continue;
        }
        sysex.append(QByteArray(reinterpret_cast<const char *>(e->SysexData.data()),
                                qsizetype(e->SysexData.size())));
        protocol.parseIncoming(e->SysexData.data(), int(e->SysexData.size()));
    }
    state.SendLock = false;
}
