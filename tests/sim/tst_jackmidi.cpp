// The editor's protocol and the system MIDI backend against the simulator
// through a real JACK server: the test starts its own server with the dummy
// driver, offers the simulator on virtual ports, opens them from the
// editor's side and stops the server it started.

#include "editorrig.h"
#include "jackserver.h"
#include "midi/rtmidibackend.h"
#include "sim/outputforwarder.h"
#include "sim/simulatorengine.h"
#include "simtesthelpers.h"

#include <QElapsedTimer>
#include <QRegularExpression>
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
    void everyShortMessageButActiveSensingArrives();
    void portsCarryTheProgramsName();

private:
    void offerSimulator();
    // The editor's ports on the simulator's, with both directions live.
    void openEditor();

    std::unique_ptr<JackServer> jack_;
    std::unique_ptr<SimulatorEngine> engine_;
    std::unique_ptr<RtMidiBackend> simSide_;
    std::unique_ptr<MidiInputConnection> simIn_;
    std::unique_ptr<MidiOutputConnection> simOut_;
    std::unique_ptr<OutputForwarder> forwarder_;
    std::unique_ptr<EditorRig> rig_;
};

void TestJackMidi::initTestCase()
{
    const QString missing = JackServer::missingTools();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing + QStringLiteral(": JACK MIDI tests skipped")));
    jack_ = std::make_unique<JackServer>(
        QStringLiteral("tessiva-test-%1").arg(QCoreApplication::applicationPid()));
    const QString why = jack_->start();
    QVERIFY2(why.isEmpty(), qPrintable(why));
}

void TestJackMidi::cleanupTestCase()
{
    jack_.reset();
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

void TestJackMidi::offerSimulator()
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
}

void TestJackMidi::openEditor()
{
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
    // A ping sent just before the first answer came may still be on its
    // way. JACK keeps the order, so once the answer to a last, shorter
    // request is back, nothing of the pings is left to arrive later.
    constexpr int LastLength = addr::PatchNameSize - 1;
    constexpr addr::Size LastSize{0x00, 0x00, 0x00, LastLength};
    const addr::Address name{0x03, 0x00, 0x00, 0x00};
    const sysex::Request last = sysex::buildRequest(0x10, name, LastSize);
    rig_->output.SendLongMsg(last.data(), int(last.size()));
    const qsizetype answerSize =
        sysex::dataSetMessage(0x10, name, QByteArray(LastLength, 0)).size();
    const auto lastAnswered = [&] {
        return std::any_of(rig_->sysex.cbegin(), rig_->sysex.cend(),
                           [&](const QByteArray &m) { return m.size() == answerSize; });
    };
    QTRY_VERIFY_WITH_TIMEOUT(lastAnswered(), 10000);
    rig_->sysex.clear();
    rig_->shorts.clear();
}

void TestJackMidi::dataSetAndNoteArriveIntactInOrder()
{
    offerSimulator();
    openEditor();
    if (QTest::currentTestFailed())
        return;

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

// Timing clock, time code and the other system messages reach the input
// ring like any short message; only active sensing is dropped on arrival.
void TestJackMidi::everyShortMessageButActiveSensingArrives()
{
    offerSimulator();
    openEditor();
    if (QTest::currentTestFailed())
        return;
    const QList<QByteArray> sent = {hex("F8"),    hex("FE"), hex("F1 23"),   hex("F2 01 02"),
                                    hex("F3 05"), hex("FA"), hex("FE"),      hex("FB"),
                                    hex("FC"),    hex("FF"), hex("90 3C 64")};
    for (const QByteArray &m : sent)
        simOut_->sendShort(std::uint8_t(m[0]), std::uint8_t(m.size() > 1 ? m[1] : 0),
                           std::uint8_t(m.size() > 2 ? m[2] : 0));
    // A data set behind them tells when everything has arrived.
    const QByteArray marker = sysex::dataSetMessage(0x10, {0x03, 0x00, 0x00, 0x0C}, hex("05"));
    simOut_->sendLong(reinterpret_cast<const std::uint8_t *>(marker.constData()),
                      std::size_t(marker.size()));
    QVERIFY(rig_->waitForMessages(1));
    const QList<QByteArray> expected = {hex("F8 00 00"), hex("F1 23 00"), hex("F2 01 02"),
                                        hex("F3 05 00"), hex("FA 00 00"), hex("FB 00 00"),
                                        hex("FC 00 00"), hex("FF 00 00"), hex("90 3C 64")};
    QCOMPARE(rig_->shorts, expected);
}

// In a patchbay the program's ports read "Tessiva:in" and so on: RtMidi
// makes a JACK client per port, which JACK numbers after the first.
void TestJackMidi::portsCarryTheProgramsName()
{
    offerSimulator();
    RtMidiBackend editor;
    const auto indexOf = [](const QStringList &names, const QString &port) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].endsWith(QLatin1Char(':') + port))
                return i;
        return -1;
    };
    const int in = indexOf(editor.inputDevices(), SimOutPort);
    const int out = indexOf(editor.outputDevices(), SimInPort);
    QVERIFY(in >= 0 && out >= 0);
    NullReceiver receiver;
    std::unique_ptr<MidiInputConnection> synthIn, keyboardIn;
    std::unique_ptr<MidiOutputConnection> synthOut;
    try {
        synthIn = editor.openInput(in, receiver);
        synthOut = editor.openOutput(out);
        keyboardIn = editor.openInput(in, receiver);
    } catch (const MidiBackendError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    const QStringList ours =
        jack_->ports().filter(QRegularExpression(QStringLiteral("^Tessiva[-:]")));
    QCOMPARE(ours, (QStringList{"Tessiva:in", "Tessiva-01:out", "Tessiva-02:keyboard"}));

    // Closed and opened again, the input is the synthesizer's once more.
    keyboardIn.reset();
    synthIn.reset();
    synthOut.reset();
    try {
        synthIn = editor.openInput(in, receiver);
    } catch (const MidiBackendError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    QCOMPARE(jack_->ports().filter(QRegularExpression(QStringLiteral("^Tessiva[-:]"))),
             QStringList{"Tessiva:in"});
}

QTEST_GUILESS_MAIN(TestJackMidi)
#include "tst_jackmidi.moc"
