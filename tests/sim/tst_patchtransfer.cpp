// The editor's protocol, ports and whole-patch fetch against the virtual
// synthesizer through the built-in device, as the app uses them, and the
// fetch's checks for blocks that never come.

#include "editorrig.h"
#include "simtesthelpers.h"

#include "midi/patchtransfer.h"
#include "sim/simulatorbackend.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

using Bank = SynthMemory::Bank;
using Outcome = PatchTransfer::Outcome;

} // namespace

class TestPatchTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void randomEditsKeepImageAndUnitEqual();
    void getPatchAsksForTheEditedPart();
    void droppedBlocksAreAskedForAloneAndGiveUp();
    void unansweredFetchReleasesSendLock();

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
    QString why;
    QVERIFY2(rig_->openSimulator(backend_, &why), qPrintable(why));
    transfer_ = std::make_unique<PatchTransfer>(rig_->state, rig_->protocol);
    // On a loaded machine the unit's thread may stall past the usual quiet
    // time and time-out, and a block asked for twice would answer twice;
    // the cases about those times set their own.
    transfer_->setQuietMs(2000);
    transfer_->setTimeoutMs(10000);
}

void TestPatchTransfer::cleanup()
{
    transfer_.reset();
    rig_.reset();
    backend_.reset();
}

// Thousands of edits of random parameters, single bytes and runs, some
// crossing into a tone's odd block byte: afterwards the editor's image and
// the unit's temporary patch agree byte for byte, and asking the unit for
// each block returns exactly the image's bytes.
void TestPatchTransfer::randomEditsKeepImageAndUnitEqual()
{
    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    const auto imageEqualsUnit = [&] {
        const PatchMemory unit = engine().memory().patch(Bank::Temporary, 0);
        for (int k = 0; k < addr::SlotCount; ++k)
            QCOMPARE(blockBytes(rig_->state.patchImage.slotData(k), k),
                     blockBytes(unit.block(k), k));
    };
    transfer_->GetPatch();
    QVERIFY(finished.wait(5000));
    imageEqualsUnit();

    QRandomGenerator rng(0x1080);
    constexpr int Edits = 4000;
    constexpr int LongestRun = 24;
    for (int i = 0; i < Edits; ++i) {
        const int k = rng.bounded(addr::SlotCount);
        const int offset = rng.bounded(addr::blockSize(k));
        const int run = rng.bounded(4) == 0
                            ? 1 + rng.bounded(std::min(LongestRun, addr::blockSize(k) - offset))
                            : 1;
        std::uint8_t data[LongestRun];
        for (int j = 0; j < run; ++j)
            data[j] = std::uint8_t(rng.bounded(128));
        const addr::Address a{addr::AreaTempPatch, 0x00,
                              std::uint8_t(addr::patchBlock(k) + offset / 128),
                              std::uint8_t(offset % 128)};
        rig_->protocol.SendDataSet(a, data, run);
    }
    QVERIFY(engine().waitIdle());
    QCOMPARE(engine().stats().dataSets, Edits);
    imageEqualsUnit();

    transfer_->GetPatch();
    QVERIFY(finished.wait(5000));
    QCOMPARE(outcomeOf<Outcome>(finished), Outcome::Complete);
    const QList<QByteArray> answers = rig_->sysex.mid(rig_->sysex.size() - addr::SlotCount);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(answers[k],
                 sysex::dataSetMessage(0x10, {addr::AreaTempPatch, 0x00, addr::patchBlock(k), 0x00},
                                       blockBytes(rig_->state.patchImage.slotData(k), k)));
}

// Part 4 of a performance: five requests, one per block, under the part's
// prefix, and the answers land in the image.
void TestPatchTransfer::getPatchAsksForTheEditedPart()
{
    SynthMemory m = engine().memory();
    const PatchMemory wanted = randomPatch(0x2080);
    m.patch(Bank::Part, 3) = wanted;
    engine().setMemory(m);
    engine().setRecording(true);
    rig_->state.EditPrefix = {addr::AreaPerformancePart, 3};
    rig_->state.CurrentTone = 0;

    QSignalSpy finished(transfer_.get(), &PatchTransfer::fetchFinished);
    transfer_->GetPatch();
    QVERIFY(rig_->state.SendLock);
    QVERIFY(finished.wait(5000));
    QCOMPARE(outcomeOf<Outcome>(finished), Outcome::Complete);
    QVERIFY(engine().waitIdle());
    QCOMPARE(engine().received(),
             (QList<QByteArray>{hex("F0 41 10 6A 11 02 03 00 00 00 00 00 48 33 F7"),
                                hex("F0 41 10 6A 11 02 03 10 00 00 00 01 01 69 F7"),
                                hex("F0 41 10 6A 11 02 03 12 00 00 00 01 01 67 F7"),
                                hex("F0 41 10 6A 11 02 03 14 00 00 00 01 01 65 F7"),
                                hex("F0 41 10 6A 11 02 03 16 00 00 00 01 01 63 F7")}));
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(blockBytes(rig_->state.patchImage.slotData(k), k), blockBytes(wanted.block(k), k));
    QCOMPARE(rig_->state.CurrentTone, 1);
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
            0x10, {addr::AreaTempPatch, 0, addr::patchBlock(k), 0}, blockBytes(p.block(k), k));
        rig_->protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(dt1.constData()),
                                     int(dt1.size()));
    }
    rig_->state.SendLock = false; // as the update after the parse does
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomeOf<Outcome>(finished), Outcome::Incomplete);
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
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomeOf<Outcome>(finished), Outcome::NoAnswer);
    QVERIFY(!rig_->state.SendLock);
    QCOMPARE(transfer_->requestsSent(), 5); // nobody there: no point asking again
    QVERIFY(rig_->state.patchImage == before);
    QVERIFY(PatchTransfer::failureText(Outcome::NoAnswer, {})
                .contains(QLatin1String("did not answer")));

    // A late answer is still stored, and ends nothing twice.
    const QByteArray late =
        sysex::dataSetMessage(0x11, {addr::AreaTempPatch, 0, 0, 0x2E}, QByteArray(1, char(0x55)));
    rig_->protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(late.constData()),
                                 int(late.size()));
    QCOMPARE(rig_->state.patchImage.common(addr::common::PatchLevel), 0x55);
    QCOMPARE(finished.size(), 1);
}

QTEST_GUILESS_MAIN(TestPatchTransfer)
#include "tst_patchtransfer.moc"
