// The simulator on its own thread: delivery, listeners and busy mode.

#include "answerrecorder.h"
#include "sim/simulatorengine.h"
#include "simtesthelpers.h"

#include <QTest>

namespace {

const QByteArray RequestCommon = hex("F0 41 10 6A 11 03 00 00 00 00 00 00 48 35 F7");
const QByteArray RequestName = hex("F0 41 10 6A 11 03 00 00 00 00 00 00 0C 71 F7");

void send(SimulatorEngine &e, const QByteArray &m)
{
    e.receive(reinterpret_cast<const std::uint8_t *>(m.constData()), std::size_t(m.size()));
}

// What the unit holds for a whole temporary-patch block, as its answer.
QByteArray expectedAnswer(const SynthMemory &m, int k)
{
    return sysex::dataSetMessage(0x10, {0x03, 0x00, addr::patchBlock(k), 0x00},
                                 blockBytes(m.patch(SynthMemory::Bank::Temporary, 0).block(k), k));
}

} // namespace

class TestSimulatorEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answersComeFromTheSimulatorThread();
    void busyModeDropsExactlyTheOverlappingRequest();
    void recordsWhatArrivesInOrder();
};

void TestSimulatorEngine::answersComeFromTheSimulatorThread()
{
    SimulatorEngine engine;
    AnswerRecorder rec, removed;
    engine.addListener(&rec);
    engine.addListener(&removed);
    std::thread other([&] { send(engine, RequestName); });
    other.join();
    QVERIFY(engine.waitIdle());
    engine.removeListener(&removed);
    send(engine, RequestCommon);
    QVERIFY(engine.waitIdle());
    const QList<std::thread::id> threads = rec.threads();
    QCOMPARE(threads.size(), 2);
    QVERIFY(threads[0] != std::this_thread::get_id());
    QCOMPARE(threads[1], threads[0]);
    QCOMPARE(rec.answers()[1], expectedAnswer(engine.memory(), 0));
    QCOMPARE(removed.answers().size(), 1);
}

void TestSimulatorEngine::busyModeDropsExactlyTheOverlappingRequest()
{
    SimulatorEngine engine;
    engine.setWireSpeed(true);
    engine.setBusyMode(true);
    AnswerRecorder rec;
    engine.addListener(&rec);
    const QByteArray commonBefore = expectedAnswer(engine.memory(), 0);
    // The name request is in after 2 x 15 bytes, while the 83-byte answer to
    // the first is still going out: dropped. The data set behind it is not a
    // request and is stored all the same.
    send(engine, RequestCommon);
    send(engine, RequestName);
    send(engine, hex("F0 41 10 6A 12 03 00 00 0C 05 6C F7"));
    QVERIFY(engine.waitIdle());
    // Asked again once the answer is complete, the unit answers.
    send(engine, sysex::requestMessage(0x10, {0x03, 0x00, 0x12, 0x00}, addr::RequestToneSize));
    QVERIFY(engine.waitIdle());
    const QList<QByteArray> a = rec.answers();
    QCOMPARE(a.size(), 2);
    QCOMPARE(a[0], commonBefore);
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

QTEST_GUILESS_MAIN(TestSimulatorEngine)
#include "tst_simulatorengine.moc"
