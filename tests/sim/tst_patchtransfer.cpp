// Whole-patch transfers against the virtual synthesizer through the built-in
// device: fetch, send and save, and the fetch's checks for blocks that never
// come.

#include "editorrig.h"
#include "simtesthelpers.h"

#include "midi/midisender.h"
#include "midi/patchtransfer.h"
#include "midi/sysexmessage.h"
#include "sim/simulatorbackend.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

using Bank = SynthMemory::Bank;
using Outcome = PatchTransfer::Outcome;

QByteArray slotBytes(const PatchImage &image, int k)
{
    return QByteArray(reinterpret_cast<const char *>(image.slotData(k)), addr::blockSize(k));
}

QByteArray memoryBlock(const PatchMemory &p, int k)
{
    return QByteArray(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k));
}

PatchMemory randomPatch(quint32 seed)
{
    QRandomGenerator rng(seed);
    PatchMemory p = PatchMemory::initial("Random Patch");
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = addr::PatchNameSize; i < addr::blockSize(k); ++i)
            p.block(k)[i] = std::uint8_t(rng.bounded(128));
    return p;
}

void fillImage(PatchImage &image, const PatchMemory &p)
{
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = 0; i < addr::blockSize(k); ++i)
            image.set(k, i, p.block(k)[i]);
}

// Records what would go out, for fetches whose answers the test plays.
class RecordingSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        sent.append(QByteArray(reinterpret_cast<const char *>(buffer), length));
    }
    QList<QByteArray> sent;
};

Outcome outcomeOf(const QSignalSpy &spy)
{
    return spy.first().first().value<Outcome>();
}

} // namespace

class TestPatchTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void getPatchLoadsTheEditedPatch_data();
    void getPatchLoadsTheEditedPatch();
    void getPatchSendsFiveExactRequests();
    void droppedBlocksAreAskedForAloneAndGiveUp();
    void unansweredFetchReleasesSendLock();
    void sendPatchMakesTheUnitEqualTheImage();
    void saveToSynthWritesTheBankPlace_data();
    void saveToSynthWritesTheBankPlace();

private:
    SimulatorEngine &engine() { return backend_->engine(); }
    std::shared_ptr<SimulatorBackend> backend_;
    std::unique_ptr<EditorRig> rig_;
    std::unique_ptr<PatchTransfer> transfer_;
};

void TestPatchTransfer::init()
{
    backend_ = std::make_shared<SimulatorBackend>();
    rig_ = std::make_unique<EditorRig>();
    rig_->devices.insertBackend(backend_);
    QString why;
    QVERIFY2(rig_->open(SimulatorBackend::DeviceName, SimulatorBackend::DeviceName, &why),
             qPrintable(why));
    transfer_ = std::make_unique<PatchTransfer>(rig_->state, rig_->protocol);
}

void TestPatchTransfer::cleanup()
{
    transfer_.reset();
    rig_.reset();
    backend_.reset();
}

void TestPatchTransfer::getPatchLoadsTheEditedPatch_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("part");
    QTest::addColumn<bool>("busy");
    QTest::newRow("patch mode") << int(addr::AreaTempPatch) << 0 << false;
    QTest::newRow("part 4 of a performance") << int(addr::AreaPerformancePart) << 3 << false;
    // A busy unit drops the requests that arrive while it still answers.
    QTest::newRow("busy unit") << int(addr::AreaTempPatch) << 0 << true;
}

void TestPatchTransfer::getPatchLoadsTheEditedPatch()
{
    QFETCH(int, area);
    QFETCH(int, part);
    QFETCH(bool, busy);
    SynthMemory m = engine().memory();
    const PatchMemory wanted = randomPatch(0x2080);
    m.patch(area == addr::AreaTempPatch ? Bank::Temporary : Bank::Part, part) = wanted;
    engine().setMemory(m);
    engine().setBusyMode(busy);
    rig_->state.EditPrefix = {std::uint8_t(area), std::uint8_t(part)};
    rig_->state.CurrentTone = 0;

    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    transfer_->GetPatch();
    QVERIFY(rig_->state.SendLock);
    QVERIFY(finished.wait(5000));
    QCOMPARE(outcomeOf(finished), Outcome::Complete);
    QVERIFY(transfer_->missingBlocks().isEmpty());
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(slotBytes(rig_->state.patchImage, k), memoryBlock(wanted, k));
    QCOMPARE(rig_->state.CurrentTone, 1);
    if (busy) {
        QVERIFY(engine().stats().requestsDropped > 0);
        QCOMPARE(transfer_->requestsSent(), 5 + engine().stats().requestsDropped);
    } else {
        QCOMPARE(transfer_->requestsSent(), 5);
    }
}

void TestPatchTransfer::getPatchSendsFiveExactRequests()
{
    engine().setRecording(true);
    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    transfer_->GetPatch();
    QVERIFY(finished.wait(5000));
    QVERIFY(engine().waitIdle());
    const QList<QByteArray> got = engine().received();
    QCOMPARE(got.size(), 5);
    QCOMPARE(got[0], hex("F0 41 10 6A 11 03 00 00 00 00 00 00 48 35 F7"));
    QCOMPARE(got[1], hex("F0 41 10 6A 11 03 00 10 00 00 00 01 01 6B F7"));
    QCOMPARE(got[2], hex("F0 41 10 6A 11 03 00 12 00 00 00 01 01 69 F7"));
    QCOMPARE(got[3], hex("F0 41 10 6A 11 03 00 14 00 00 00 01 01 67 F7"));
    QCOMPARE(got[4], hex("F0 41 10 6A 11 03 00 16 00 00 00 01 01 65 F7"));
}

// Tones 3 and 4 never come: each is asked for twice more, on its own, and
// the fetch ends as incomplete with SendLock released.
void TestPatchTransfer::droppedBlocksAreAskedForAloneAndGiveUp()
{
    RecordingSender sender;
    rig_->protocol.setSender(&sender);
    transfer_->setQuietMs(20);
    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    transfer_->GetPatch();
    QCOMPARE(sender.sent.size(), 5);
    const PatchMemory p = randomPatch(7);
    for (int k = 0; k < 3; ++k) {
        const QByteArray dt1 = sysex::dataSetMessage(
            0x10, {addr::AreaTempPatch, 0, addr::patchBlock(k), 0}, memoryBlock(p, k));
        rig_->protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(dt1.constData()),
                                     int(dt1.size()));
    }
    rig_->state.SendLock = false; // as the update after the parse does
    QVERIFY(finished.wait(2000));
    QCOMPARE(outcomeOf(finished), Outcome::Incomplete);
    QCOMPARE(transfer_->missingBlocks(), (QList<int>{3, 4}));
    QCOMPARE(sender.sent.mid(5), (QList<QByteArray>{
                                     hex("F0 41 10 6A 11 03 00 14 00 00 00 01 01 67 F7"),
                                     hex("F0 41 10 6A 11 03 00 14 00 00 00 01 01 67 F7"),
                                     hex("F0 41 10 6A 11 03 00 16 00 00 00 01 01 65 F7"),
                                     hex("F0 41 10 6A 11 03 00 16 00 00 00 01 01 65 F7"),
                                 }));
    QVERIFY(!rig_->state.SendLock);
    const QString text = PatchTransfer::failureText(Outcome::Incomplete, {3, 4});
    QVERIFY2(text.contains(QLatin1String("tone 3, tone 4")), qPrintable(text));
}

// The unit answers to unit ID 17 only; as 18 the editor hears nothing.
void TestPatchTransfer::unansweredFetchReleasesSendLock()
{
    rig_->state.UnitId = 18;
    const PatchImage before = rig_->state.patchImage;
    transfer_->setQuietMs(20);
    transfer_->setTimeoutMs(300);
    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    transfer_->GetPatch();
    QVERIFY(finished.wait(3000));
    QCOMPARE(outcomeOf(finished), Outcome::NoAnswer);
    QVERIFY(!rig_->state.SendLock);
    QCOMPARE(transfer_->requestsSent(), 5); // nobody there: no point asking again
    QVERIFY(rig_->state.patchImage == before);
    QVERIFY(PatchTransfer::failureText(Outcome::NoAnswer, {}).contains(
        QLatin1String("did not answer")));

    // A late answer is still stored, and ends nothing twice.
    const QByteArray late = sysex::dataSetMessage(0x11, {addr::AreaTempPatch, 0, 0, 0x2E},
                                                  QByteArray(1, char(0x55)));
    rig_->protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(late.constData()),
                                 int(late.size()));
    QCOMPARE(rig_->state.patchImage.common(addr::common::PatchLevel), 0x55);
    QCOMPARE(finished.size(), 1);
}

void TestPatchTransfer::sendPatchMakesTheUnitEqualTheImage()
{
    engine().setRecording(true);
    const PatchMemory p = randomPatch(0x1080);
    fillImage(rig_->state.patchImage, p);
    transfer_->SendPatch();
    QVERIFY(engine().waitIdle());
    const PatchMemory &temp = engine().memory().patch(Bank::Temporary, 0);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(memoryBlock(temp, k), memoryBlock(p, k));
    const QList<QByteArray> got = engine().received();
    QCOMPARE(got.size(), 5);
    QCOMPARE(got[0].size(), 72 + 11);
    QCOMPARE(got[0].left(9), hex("F0 41 10 6A 12 03 00 00 00"));
    QCOMPARE(got[4].size(), 129 + 11);
    QCOMPARE(got[4].left(9), hex("F0 41 10 6A 12 03 00 16 00"));
    QVERIFY(rig_->state.PatchModified);
}

void TestPatchTransfer::saveToSynthWritesTheBankPlace_data()
{
    QTest::addColumn<bool>("card");
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("last");
    QTest::newRow("USER 128") << false << 128 << hex("F0 41 10 6A 12 11 7F 00 00")
                              << hex("F0 41 10 6A 12 11 7F 16 00");
    QTest::newRow("CARD 1") << true << 1 << hex("F0 41 10 6A 12 21 00 00 00")
                            << hex("F0 41 10 6A 12 21 00 16 00");
}

void TestPatchTransfer::saveToSynthWritesTheBankPlace()
{
    QFETCH(bool, card);
    QFETCH(int, number);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, last);
    engine().setRecording(true);
    const PatchMemory p = randomPatch(number);
    fillImage(rig_->state.patchImage, p);
    const PatchImage image = rig_->state.patchImage;
    transfer_->SaveToSynth(card, number);
    QVERIFY(engine().waitIdle());

    const QList<QByteArray> got = engine().received();
    QCOMPARE(got.size(), 5);
    QCOMPARE(got.first().left(9), first);
    QCOMPARE(got.last().left(9), last);
    for (int k = 1; k < 4; ++k)
        QCOMPARE(got[k].mid(5, 4), first.mid(5, 2) + char(addr::patchBlock(k)) + char(0));
    const SynthMemory m = engine().memory();
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(memoryBlock(m.patch(card ? Bank::Card : Bank::User, number - 1), k),
                 memoryBlock(p, k));
    QVERIFY(m.patch(Bank::Temporary, 0) == SynthMemory().patch(Bank::Temporary, 0));
    QVERIFY(rig_->state.patchImage == image);
}

QTEST_GUILESS_MAIN(TestPatchTransfer)
#include "tst_patchtransfer.moc"
