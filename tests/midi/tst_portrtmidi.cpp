// The system MIDI backend on a machine without a sound card: it must come up
// quietly with a reason instead of devices. When jackd is installed, a
// private JACK server gives it real ports to talk through.
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "midi/rtmidibackend.h"
#include "testbackends.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <iostream>
#include <sstream>

namespace {
// Catches what would reach std::cerr, where RtMidi reports by default.
class CerrCapture
{
public:
    CerrCapture() : m_saved(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(m_saved); }
    QString text() const { return QString::fromStdString(m_text.str()); }

private:
    std::ostringstream m_text;
    std::streambuf *m_saved;
};
} // namespace

class TestPortRtMidi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutServerGivesReasonAndStaysQuiet();
    void talksThroughJack();
    void cleanupTestCase();

private:
    void exchangeThroughJack();
    QProcess m_jack;
};

void TestPortRtMidi::withoutServerGivesReasonAndStaysQuiet()
{
    const QByteArray server =
        "tessiva-absent-" + QByteArray::number(QCoreApplication::applicationPid());
    qputenv("JACK_DEFAULT_SERVER", server);
    CerrCapture cerr;
    auto backend = std::make_shared<RtMidiBackend>();
    QVERIFY(backend->inputDevices().isEmpty());
    QVERIFY(backend->outputDevices().isEmpty());
    QVERIFY(!backend->unavailableReason().isEmpty());
    NullReceiver receiver;
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend->openInput(0, receiver));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend->openOutput(0));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError,
                             backend->openVirtualOutput(QStringLiteral("Tessiva test")));

    MidiDevices devices;
    devices.addBackend(backend);
    QCOMPARE(devices.unavailableReasons().size(), 1);
    TMidiInput input(devices);
    QVERIFY_THROWS_EXCEPTION(EMidiInputError, input.OpenPort());
    QCOMPARE(cerr.text(), QString());
    qunsetenv("JACK_DEFAULT_SERVER");
}

void TestPortRtMidi::talksThroughJack()
{
    const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
    const QString jackWait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
    if (jackd.isEmpty() || jackWait.isEmpty())
        QSKIP("jackd is not installed");
    const QString server =
        QStringLiteral("tessiva-ports-%1").arg(QCoreApplication::applicationPid());
    m_jack.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_jack.setStandardOutputFile(QProcess::nullDevice());
    m_jack.start(jackd, {"-n", server, "--no-realtime", "--sync", "--port-max", "128", "-d",
                         "dummy", "-r", "48000", "-p", "256"});
    QVERIFY(m_jack.waitForStarted());
    qputenv("JACK_DEFAULT_SERVER", server.toUtf8());
    QProcess wait;
    wait.start(jackWait, {"-w", "-t", "10"});
    QVERIFY(wait.waitForFinished(15000));
    if (wait.exitCode() != 0)
        QSKIP("the JACK server did not start here");
    // An escaping exception would abort the test and leave the server running.
    try {
        exchangeThroughJack();
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }
    qunsetenv("JACK_DEFAULT_SERVER");
}

void TestPortRtMidi::exchangeThroughJack()
{
    // One backend plays the synthesizer on a virtual port; the ports of a
    // second one find it by name, as the editor would.
    RtMidiBackend synth(QStringLiteral("synth"));
    struct Collector : MidiReceiver
    {
        void receiveShort(std::uint32_t packed, std::uint32_t) noexcept override
        {
            shorts.fetchAndAddOrdered(1);
            last.storeRelease(int(packed));
        }
        void receiveSysex(const std::uint8_t *, std::size_t length, std::uint32_t) noexcept override
        {
            sysexBytes.fetchAndAddOrdered(int(length));
        }
        QAtomicInt shorts, sysexBytes, last;
    } atSynth;
    auto synthIn = synth.openVirtualInput(QStringLiteral("in"), atSynth);
    auto synthOut = synth.openVirtualOutput(QStringLiteral("out"));

    auto backend = std::make_shared<RtMidiBackend>(QStringLiteral("editor"));
    QCOMPARE(backend->unavailableReason(), QString());
    MidiDevices devices;
    devices.addBackend(backend);
    TMidiInput input(devices);
    TMidiOutput output(devices);
    // JACK numbers clients that share a name, so the ports are found by shape.
    auto named = [](const QStringList &names, const QString &port) {
        for (const QString &name : names)
            if (name.startsWith(QStringLiteral("synth")) && name.endsWith(port))
                return name;
        return QString();
    };
    input.setProductName(named(devices.inputNames(), QStringLiteral(":out")));
    output.setProductName(named(devices.outputNames(), QStringLiteral(":in")));
    input.OpenPort();
    input.StartInput();
    output.OpenPort();

    output.SendShortMsg(0xC0, 0x07, 0x00);
    const QByteArray request = QByteArray::fromHex("f041106a110300000000000000017cf7");
    output.SendLongMsg(reinterpret_cast<const std::uint8_t *>(request.constData()),
                       int(request.size()));
    QTRY_COMPARE(atSynth.shorts.loadAcquire(), 1);
    QCOMPARE(atSynth.last.loadAcquire(), 0x07C0);
    QTRY_COMPARE(atSynth.sysexBytes.loadAcquire(), int(request.size()));

    const QByteArray answer = QByteArray::fromHex("f041106a120300000041f7");
    synthOut->sendLong(reinterpret_cast<const std::uint8_t *>(answer.constData()),
                       std::size_t(answer.size()));
    synthOut->sendShort(0x90, 0x3C, 0x7F);
    QTRY_COMPARE(input.EventCount(), std::uint16_t(2));
    const auto sysex = input.ReadEvent();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(sysex->SysexData.data()), sysex->SysexLen),
             answer);
    const auto note = input.ReadEvent();
    QCOMPARE(note->Status, std::uint8_t(0x90));
    QCOMPARE(note->Data1, std::uint8_t(0x3C));
    QCOMPARE(note->Data2, std::uint8_t(0x7F));
}

void TestPortRtMidi::cleanupTestCase()
{
    if (m_jack.state() != QProcess::NotRunning) {
        m_jack.terminate();
        if (!m_jack.waitForFinished(5000))
            m_jack.kill();
        m_jack.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(TestPortRtMidi)
#include "tst_portrtmidi.moc"
