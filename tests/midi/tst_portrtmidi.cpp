// The system MIDI backend on a machine without a sound card must come up
// quietly with a reason instead of devices. Its traffic over a live JACK
// server is exercised by the simulator's JACK test.
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/rtmidibackend.h"
#include "testbackends.h"

#include <QTest>
#include <iostream>
#include <sstream>

class TestPortRtMidi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutServerGivesReasonAndStaysQuiet();
};

void TestPortRtMidi::withoutServerGivesReasonAndStaysQuiet()
{
    qputenv("JACK_DEFAULT_SERVER",
            "tessiva-absent-" + QByteArray::number(QCoreApplication::applicationPid()));
    // RtMidi reports to std::cerr by default; nothing may reach it.
    std::ostringstream cerrText;
    std::streambuf *const savedCerr = std::cerr.rdbuf(cerrText.rdbuf());
    auto backend = std::make_shared<RtMidiBackend>();
    // Listed again and again, as the hub does, without a server to find.
    for (int i = 0; i < 3; ++i) {
        QVERIFY(backend->inputDevices().isEmpty());
        QVERIFY(backend->outputDevices().isEmpty());
    }
    QVERIFY(!backend->unavailableReason().isEmpty());
    NullReceiver receiver;
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend->openInput(0, receiver));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend->openOutput(0));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError,
                             backend->openVirtualOutput(QStringLiteral("Tessiva test")));
    // Without a sound card JACK is the one API left; it says what is wrong.
    if (backend->name().contains(QLatin1String("JACK"), Qt::CaseInsensitive)) {
        const QString notRunning = QStringLiteral("The JACK server is not running");
        QCOMPARE(backend->unavailableReason(), notRunning);
        try {
            backend->openOutput(0);
        } catch (const MidiBackendError &e) {
            QCOMPARE(e.reason(), notRunning);
        }
    }

    MidiDevices devices;
    devices.addBackend(backend);
    QCOMPARE(devices.unavailableReasons(),
             QStringList{backend->name() + QStringLiteral(": ") + backend->unavailableReason()});
    TMidiInput input(devices);
    QVERIFY_THROWS_EXCEPTION(EMidiInputError, input.OpenPort());
    std::cerr.rdbuf(savedCerr);
    QCOMPARE(QString::fromStdString(cerrText.str()), QString());
    qunsetenv("JACK_DEFAULT_SERVER");
}

QTEST_GUILESS_MAIN(TestPortRtMidi)
#include "tst_portrtmidi.moc"
