// The editor's protocol and the system MIDI backend against the simulator
// through a real JACK server: the test starts its own server with the dummy
// driver, offers the simulator on virtual ports, opens them from the
// editor's side and stops the server it started.

#include "editorrig.h"
#include "midi/rtmidibackend.h"
#include "sim/outputforwarder.h"
#include "sim/simulatorengine.h"
#include "simtesthelpers.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString SimInPort = QStringLiteral("jv1080-in");
const QString SimOutPort = QStringLiteral("jv1080-out");

} // namespace

class TestJackMidi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void dataSetAndNoteArriveIntactInOrder();

private:
    QProcess jackd_;
    std::unique_ptr<SimulatorEngine> engine_;
    std::unique_ptr<RtMidiBackend> simSide_;
    std::unique_ptr<MidiInputConnection> simIn_;
    std::unique_ptr<MidiOutputConnection> simOut_;
    std::unique_ptr<OutputForwarder> forwarder_;
    std::unique_ptr<EditorRig> rig_;
};

void TestJackMidi::initTestCase()
{
    const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
    const QString jackWait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
    if (jackd.isEmpty() || jackWait.isEmpty())
        QSKIP("jackd or jack_wait is not installed (package jackd2): JACK MIDI tests skipped");
    const QString server =
        QStringLiteral("tessiva-test-%1").arg(QCoreApplication::applicationPid());
    qputenv("JACK_DEFAULT_SERVER", server.toUtf8());
    qputenv("JACK_NO_AUDIO_RESERVATION", "1");
    jackd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    jackd_.start(jackd, QStringList{"-n", server, "--no-realtime", "--sync", "--port-max", "128",
                                    "-d", "dummy", "-r", "48000", "-p", "256"});
    QVERIFY2(jackd_.waitForStarted(), qPrintable(jackd_.errorString()));
    QProcess wait;
    wait.start(jackWait, {"-w", "-t", "10"});
    QVERIFY(wait.waitForFinished(15000));
    QVERIFY2(wait.exitCode() == 0, "the JACK server did not come up");
}

void TestJackMidi::cleanupTestCase()
{
    if (jackd_.state() == QProcess::NotRunning)
        return;
    jackd_.terminate();
    if (!jackd_.waitForFinished(5000)) {
        jackd_.kill();
        jackd_.waitForFinished(5000);
    }
}

void TestJackMidi::cleanup()
{
    rig_.reset();
    if (engine_ && forwarder_)
        engine_->removeListener(forwarder_.get());
    simIn_.reset();
    forwarder_.reset();
    simOut_.reset();
    simSide_.reset();
    engine_.reset();
}

void TestJackMidi::dataSetAndNoteArriveIntactInOrder()
{
    engine_ = std::make_unique<SimulatorEngine>();
    simSide_ = std::make_unique<RtMidiBackend>(QStringLiteral("TessivaSim"));
    try {
        simIn_ = simSide_->openVirtualInput(SimInPort, engine_->midiIn());
        simOut_ = simSide_->openVirtualOutput(SimOutPort);
    } catch (const MidiBackendError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    forwarder_ = std::make_unique<OutputForwarder>(*simOut_);
    engine_->addListener(forwarder_.get());

    rig_ = std::make_unique<EditorRig>();
    rig_->devices.addBackend(std::make_shared<RtMidiBackend>(QStringLiteral("TessivaEditor")));
    const auto findDevice = [](const QStringList &names, const QString &port) {
        const QStringList found = names.filter(port);
        return found.isEmpty() ? QString() : found.first();
    };
    const QString in = findDevice(rig_->devices.inputNames(), SimOutPort);
    const QString out = findDevice(rig_->devices.outputNames(), SimInPort);
    QVERIFY2(!in.isEmpty() && !out.isEmpty(), qPrintable(rig_->devices.inputNames().join(", ")));
    QString why;
    QVERIFY2(rig_->open(in, out, &why), qPrintable(why));

    // JACK makes a new connection live at a later cycle; what is sent before
    // is lost. Ask for the patch name until an answer comes back, so both
    // directions carry data before the test proper starts.
    const sysex::Request ping =
        sysex::buildRequest(0x10, {0x03, 0x00, 0x00, 0x00}, addr::RequestNameSize);
    QElapsedTimer t;
    t.start();
    while (rig_->sysex.isEmpty() && t.elapsed() < 10000) {
        rig_->output.SendLongMsg(ping.data(), int(ping.size()));
        rig_->waitForMessages(1, 200);
    }
    QVERIFY2(!rig_->sysex.isEmpty(), "no answer through JACK within 10 s");
    QVERIFY(engine_->waitIdle());
    QVERIFY(rig_->waitForMessages(engine_->stats().answersSent));
    rig_->sysex.clear();

    engine_->setRecording(true);
    QByteArray tone(addr::ToneSize, 0);
    for (int i = 0; i < tone.size(); ++i)
        tone[i] = char((i * 7) % 128);
    const addr::Address a{0x03, 0x00, 0x12, 0x00};
    rig_->protocol.SendDataSet(a, reinterpret_cast<const std::uint8_t *>(tone.constData()),
                               int(tone.size()));
    rig_->output.SendShortMsg(0x90, 0x3C, 0x64);

    QTRY_COMPARE_WITH_TIMEOUT(engine_->received().size(), 2, 5000);
    const QList<QByteArray> got = engine_->received();
    QCOMPARE(got[0].size(), 140);
    QCOMPARE(got[0], sysex::dataSetMessage(0x10, a, tone));
    QCOMPARE(got[1], hex("90 3C 64"));
    QVERIFY(engine_->waitIdle());
    QCOMPARE(blockBytes(engine_->memory().patch(SynthMemory::Bank::Temporary, 0).block(2), 2),
             tone);
}

QTEST_GUILESS_MAIN(TestJackMidi)
#include "tst_jackmidi.moc"
