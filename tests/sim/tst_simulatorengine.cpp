// The simulator on its own thread: delivery, wire timing and busy mode.

#include "answerrecorder.h"
#include "sim/simulatorengine.h"
#include "simtesthelpers.h"

#include "midi/sysexmessage.h"

#include <QTest>

namespace {

const QByteArray RequestCommon = hex("F0 41 10 6A 11 03 00 00 00 00 00 00 48 35 F7");
const QByteArray RequestName = hex("F0 41 10 6A 11 03 00 00 00 00 00 00 0C 71 F7");

QByteArray requestTone(int tone)
{
    return sysex::requestMessage(0x10, {0x03, 0x00, addr::toneBlock(tone), 0x00},
                                 addr::RequestToneSize);
}

void send(SimulatorEngine &e, const QByteArray &m)
{
    e.receive(reinterpret_cast<const std::uint8_t *>(m.constData()), std::size_t(m.size()));
}

// What the unit holds for a whole temporary-patch block, as its answer.
QByteArray expectedAnswer(const SynthMemory &m, int k)
{
    const PatchMemory &p = m.patch(SynthMemory::Bank::Temporary, 0);
    return sysex::dataSetMessage(
        0x10, {0x03, 0x00, addr::patchBlock(k), 0x00},
        QByteArray(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k)));
}

} // namespace

class TestSimulatorEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answersComeFromTheSimulatorThread();
    void wireSpeedQueuesAnswersOnTheCable();
    void busyModeDropsExactlyTheOverlappingRequest();
    void recordsWhatArrivesInOrder();
    void removedListenerHearsNothing();
};

void TestSimulatorEngine::answersComeFromTheSimulatorThread()
{
    SimulatorEngine engine;
    AnswerRecorder rec;
    engine.addListener(&rec);
    std::thread other([&] { send(engine, RequestName); });
    other.join();
    send(engine, RequestCommon);
    QVERIFY(engine.waitIdle());
    const QList<AnswerRecorder::Answer> a = rec.answers();
    QCOMPARE(a.size(), 2);
    QVERIFY(a[0].thread != std::this_thread::get_id());
    QCOMPARE(a[1].thread, a[0].thread);
    QCOMPARE(a[1].bytes, expectedAnswer(engine.memory(), 0));
    QCOMPARE(a[1].bytes.size(), 83);
}

// Five requests sent at once: the answers follow each other on the cable, so
// the last cannot be complete before the first request's 15 bytes and all
// 643 answer bytes have passed at 320 us each.
void TestSimulatorEngine::wireSpeedQueuesAnswersOnTheCable()
{
    SimulatorEngine engine;
    engine.setWireSpeed(true);
    AnswerRecorder rec;
    engine.addListener(&rec);
    const auto start = std::chrono::steady_clock::now();
    send(engine, RequestCommon);
    for (int t = 1; t <= addr::ToneCount; ++t)
        send(engine, requestTone(t));
    QVERIFY(engine.waitIdle());
    const QList<AnswerRecorder::Answer> a = rec.answers();
    QCOMPARE(a.size(), 5);
    for (int k = 0; k < 5; ++k)
        QCOMPARE(a[k].bytes, expectedAnswer(engine.memory(), k));
    using std::chrono::microseconds;
    QVERIFY(a[0].at - start >= microseconds((15 + 83) * 320));
    QVERIFY(a[4].at - start >= microseconds((15 + 643) * 320));
    QCOMPARE(engine.stats().requestsDropped, 0);
}

void TestSimulatorEngine::busyModeDropsExactlyTheOverlappingRequest()
{
    SimulatorEngine engine;
    engine.setWireSpeed(true);
    engine.setBusyMode(true);
    AnswerRecorder rec;
    engine.addListener(&rec);
    // The name request is in after 2 x 15 bytes, while the 83-byte answer to
    // the first is still going out: dropped. The data set behind it is not a
    // request and is stored all the same.
    send(engine, RequestCommon);
    send(engine, RequestName);
    send(engine, hex("F0 41 10 6A 12 03 00 00 0C 05 6C F7"));
    QVERIFY(engine.waitIdle());
    // Asked again once the answer is complete, the unit answers.
    send(engine, requestTone(2));
    QVERIFY(engine.waitIdle());
    const QList<QByteArray> a = rec.bytes();
    QCOMPARE(a.size(), 2);
    QCOMPARE(a[0].size(), 83);
    QCOMPARE(a[1], expectedAnswer(engine.memory(), 2));
    QCOMPARE(engine.stats().requestsDropped, 1);
    QCOMPARE(engine.stats().dataSets, 1);
    QCOMPARE(engine.memory().patch(SynthMemory::Bank::Temporary, 0).common[0x0C], 5);
}

void TestSimulatorEngine::recordsWhatArrivesInOrder()
{
    SimulatorEngine engine;
    engine.setRecording(true);
    engine.receiveShort(0x90, 0x3C, 0x64);
    send(engine, RequestName);
    engine.receiveShort(0xC0, 0x05, 0x00);
    engine.receiveShort(0xFE, 0x00, 0x00);
    QVERIFY(engine.waitIdle());
    QCOMPARE(engine.received(),
             (QList<QByteArray>{hex("90 3C 64"), RequestName, hex("C0 05"), hex("FE")}));
    QCOMPARE(engine.stats().ignored, 3);
}

void TestSimulatorEngine::removedListenerHearsNothing()
{
    SimulatorEngine engine;
    AnswerRecorder kept, removed;
    engine.addListener(&kept);
    engine.addListener(&removed);
    send(engine, RequestName);
    QVERIFY(engine.waitIdle());
    engine.removeListener(&removed);
    send(engine, RequestName);
    QVERIFY(engine.waitIdle());
    QCOMPARE(kept.answers().size(), 2);
    QCOMPARE(removed.answers().size(), 1);
}

QTEST_GUILESS_MAIN(TestSimulatorEngine)
#include "tst_simulatorengine.moc"
