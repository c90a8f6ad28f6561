// Whole-bank fetches and writes against the virtual synthesizer through the
// built-in device: busy units, cable timing, lost answers, cancel, silence,
// and what the editor's own state makes of it all (nothing).

#include "editorrig.h"
#include "simtesthelpers.h"

#include "core/patchbank.h"
#include "midi/banktransfer.h"
#include "sim/simulatorbackend.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using Bank = SynthMemory::Bank;
using Outcome = BankTransfer::Outcome;

constexpr int LongWaitMs = 240000; // a whole bank at cable speed on a loaded machine
constexpr int WaitMs = 60000;

// The first place (1..128) in first..last where bank and unit differ, or
// that the bank lacks; 0 when all agree byte for byte.
int firstDifference(const PatchBank &bank, const SynthMemory &unit, Bank which, int first, int last)
{
    for (int p = first; p <= last; ++p) {
        const PatchImage *image = bank.patch(p);
        if (!image)
            return p;
        for (int k = 0; k < addr::SlotCount; ++k)
            if (blockBytes(image->slotData(k), k) !=
                blockBytes(unit.patch(which, p - 1).block(k), k))
                return p;
    }
    return 0;
}

PatchImage imageOf(const PatchMemory &m)
{
    PatchImage image;
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = 0; i < addr::blockSize(k); ++i)
            image.set(k, i, m.block(k)[i]);
    return image;
}

// The data requests the unit received, in order.
QList<QByteArray> requests(const QList<QByteArray> &received)
{
    QList<QByteArray> r;
    for (const QByteArray &m : received)
        if (m.size() == sysex::RequestLength && m[sysex::CommandPos] == sysex::CommandRequest)
            r.append(m);
    return r;
}

} // namespace

class TestBankTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void wholeBankFromABusyUnitAtCableSpeed();
    void lostAnswersAreAskedForAgain();
    void cancelKeepsWhatArrivedAndAsksNothingMore();
    void cardRangeAsksOnlyForItsPlaces();
    void silentUnitEndsIncompleteAndLeavesTheEditAlone();
    void writeLandsByteForByte();
    void cancelledWriteFinishesThePlaceItBegan();
    void refusalsEndWithFailedAndSendNothing_data();
    void refusalsEndWithFailedAndSendNothing();

private:
    SimulatorEngine &engine() { return backend_->engine(); }
    void run(const std::function<void()> &start, int timeoutMs = WaitMs);

    std::shared_ptr<SimulatorBackend> backend_;
    std::unique_ptr<EditorRig> rig_;
    std::unique_ptr<BankTransfer> transfer_;
    std::unique_ptr<QSignalSpy> finished_;
    PatchBank bank_;
};

void TestBankTransfer::init()
{
    backend_ = std::make_shared<SimulatorBackend>();
    rig_ = std::make_unique<EditorRig>();
    QString why;
    QVERIFY2(rig_->openSimulator(backend_, &why), qPrintable(why));
    // USER: the 46 real patches first, distinct random ones after them;
    // CARD all random.
    SynthMemory m = engine().memory();
    for (int p = 0; p < addr::PatchCount; ++p) {
        m.patch(Bank::User, p) = randomPatch(0x1100 + p, "User " + QByteArray::number(p + 1));
        m.patch(Bank::Card, p) = randomPatch(0x2100 + p, "Card " + QByteArray::number(p + 1));
    }
    engine().setMemory(m);
    const QList<QByteArray> real = syxMessages("JV1080_AGSOUND1_user01-46.syx");
    QCOMPARE(real.size(), 46 * addr::SlotCount);
    for (const QByteArray &msg : real)
        engine().receive(reinterpret_cast<const std::uint8_t *>(msg.constData()),
                         std::size_t(msg.size()));
    QVERIFY(engine().waitIdle());
    engine().setRecording(true);
    transfer_ = std::make_unique<BankTransfer>(rig_->state, rig_->protocol);
    // Generous: a unit thread stalled on a loaded machine costs a retry, not
    // a failed test; the cases about lost answers set their own.
    transfer_->setPacing({20, 5000, 3});
    finished_ = std::make_unique<QSignalSpy>(transfer_.get(), &BankTransfer::finished);
    bank_.clearAll();
}

void TestBankTransfer::cleanup()
{
    finished_.reset();
    transfer_.reset();
    rig_.reset();
    backend_.reset();
}

// Starts a transfer and waits for its one end, which never comes before the
// call has returned.
void TestBankTransfer::run(const std::function<void()> &start, int timeoutMs)
{
    start();
    QCOMPARE(finished_->size(), 0);
    QVERIFY(transfer_->busy());
    QTRY_VERIFY_WITH_TIMEOUT(finished_->size() == 1, timeoutMs);
    QVERIFY(!transfer_->busy());
}

void TestBankTransfer::wholeBankFromABusyUnitAtCableSpeed()
{
    engine().setWireSpeed(true);
    engine().setBusyMode(true);
    const PatchImage image = rig_->state.patchImage;
    QSignalSpy progress(transfer_.get(), &BankTransfer::progress);
    run([&] { transfer_->fetch(false, 1, 128, &bank_); }, LongWaitMs);
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Complete);
    QCOMPARE(firstDifference(bank_, engine().memory(), Bank::User, 1, 128), 0);
    QCOMPARE(bank_.name(1), QByteArray("RedPowerBass"));
    QCOMPARE(bank_.name(46), QByteArray("Rave Organ 3"));
    QVERIFY(!bank_.changed(46));
    // One request at a time: the busy unit never had one to drop.
    QCOMPARE(engine().stats().requestsDropped, 0);
    const QList<QByteArray> asked = requests(engine().received());
    QCOMPARE(asked.size(), 128 + transfer_->retriesUsed());
    QCOMPARE(asked.first(), hex("F0 41 10 6A 11 11 00 00 00 00 00 17 01 57 F7"));
    QCOMPARE(asked.last(), hex("F0 41 10 6A 11 11 7F 00 00 00 00 17 01 58 F7"));
    QCOMPARE(progress.size(), 128);
    QCOMPARE(progress.at(45), (QVariantList{46, 128, 46, QStringLiteral("Rave Organ 3")}));
    // Nothing of it is an edit of the patch.
    QVERIFY(rig_->state.patchImage == image);
    QVERIFY(!rig_->state.PatchModified);
}

// Every tenth answer is lost: the missing blocks are asked for again, the
// place alone, and the bank still comes out whole.
void TestBankTransfer::lostAnswersAreAskedForAgain()
{
    engine().setDropEveryNthAnswer(10);
    transfer_->setPacing({0, 400, 5});
    run([&] { transfer_->fetch(false, 1, 128, &bank_); }, LongWaitMs);
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Complete);
    QVERIFY(engine().stats().answersDropped > 0);
    QVERIFY(transfer_->retriesUsed() > 0);
    QCOMPARE(firstDifference(bank_, engine().memory(), Bank::User, 1, 128), 0);
    // A repeated request names the place of the one before it; lost blocks
    // are asked for without the ones that came.
    const QList<QByteArray> asked = requests(engine().received());
    QCOMPARE(asked.size(), 128 + transfer_->retriesUsed());
    const QByteArray wholePlace = hex("00 00 00 00 17 01");
    int repeats = 0;
    int partial = 0;
    for (qsizetype i = 1; i < asked.size(); ++i) {
        if (asked[i][6] != asked[i - 1][6])
            continue;
        ++repeats;
        partial += asked[i].mid(7, 6) != wholePlace ? 1 : 0;
    }
    QCOMPARE(repeats, transfer_->retriesUsed());
    QVERIFY(partial > 0);
}

void TestBankTransfer::cancelKeepsWhatArrivedAndAsksNothingMore()
{
    engine().setWireSpeed(true);
    connect(transfer_.get(), &BankTransfer::progress, transfer_.get(), [this](int done) {
        if (done == 5)
            transfer_->cancel();
    });
    transfer_->fetch(false, 1, 128, &bank_);
    QTRY_VERIFY_WITH_TIMEOUT(finished_->size() == 1, WaitMs);
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Cancelled);
    QVERIFY(!transfer_->busy());
    QCOMPARE(firstDifference(bank_, engine().memory(), Bank::User, 1, 5), 0);
    QCOMPARE(bank_.filledCount(), 5);
    QList<int> rest;
    for (int p = 6; p <= 128; ++p)
        rest.append(p);
    QCOMPARE(transfer_->missingPlaces(), rest);

    // Another transfer's whole request and answer take longer than the
    // pause after which place 6 was due: had it gone out, it came first.
    BankTransfer probe(rig_->state, rig_->protocol);
    QSignalSpy probeDone(&probe, &BankTransfer::finished);
    PatchBank other;
    probe.fetch(false, 100, 100, &other);
    QTRY_VERIFY_WITH_TIMEOUT(probeDone.size() == 1, WaitMs);
    QVERIFY(engine().waitIdle());
    const QList<QByteArray> asked = requests(engine().received());
    QCOMPARE(asked.size(), 5 + transfer_->retriesUsed() + 1);
    QCOMPARE(asked.last()[6], char(99));
    QCOMPARE(finished_->size(), 1);
}

void TestBankTransfer::cardRangeAsksOnlyForItsPlaces()
{
    bank_.setPatch(1, PatchImage(), true);
    run([&] { transfer_->fetch(true, 120, 128, &bank_); });
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Complete);
    QCOMPARE(firstDifference(bank_, engine().memory(), Bank::Card, 120, 128), 0);
    QCOMPARE(bank_.filledCount(), 10); // place 1 was there before and stays
    QVERIFY(bank_.changed(1));
    QCOMPARE(bank_.name(120), QByteArray("Card 120    "));
    const QList<QByteArray> asked = requests(engine().received());
    QCOMPARE(asked.size(), 9);
    QCOMPARE(asked.first(), hex("F0 41 10 6A 11 21 77 00 00 00 00 17 01 50 F7"));
}

// Unit 18 is not there. Each place is asked for once more, the fetch ends
// with the places named, and the editor's state is as it was: a request
// that set SendLock would leave it set with nobody to clear it.
void TestBankTransfer::silentUnitEndsIncompleteAndLeavesTheEditAlone()
{
    rig_->state.UnitId = 18;
    transfer_->setPacing({0, 100, 1});
    const PatchImage image = rig_->state.patchImage;
    run([&] { transfer_->fetch(false, 1, 3, &bank_); });
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Incomplete);
    QCOMPARE(transfer_->missingPlaces(), (QList<int>{1, 2, 3}));
    QCOMPARE(transfer_->retriesUsed(), 3);
    const QString message = finished_->first().at(1).toString();
    QVERIFY2(message.contains(QLatin1String("USER 1-3")), qPrintable(message));
    QCOMPARE(bank_.filledCount(), 0);
    QVERIFY(!rig_->state.SendLock);
    QVERIFY(!rig_->state.PatchModified);
    QVERIFY(rig_->state.patchImage == image);
    QVERIFY(engine().waitIdle());
    QCOMPARE(requests(engine().received()).size(), 6);
}

void TestBankTransfer::writeLandsByteForByte()
{
    const SynthMemory before = engine().memory();
    // Distinct contents: the unit's CARD patches, which USER does not hold.
    for (int p : {3, 4, 5, 9})
        bank_.setPatch(p, imageOf(before.patch(Bank::Card, p - 1)), true);
    const PatchImage image = rig_->state.patchImage;
    QSignalSpy progress(transfer_.get(), &BankTransfer::progress);
    run([&] { transfer_->send(false, {3, 4, 5, 9}, bank_); });
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Complete);
    QVERIFY(engine().waitIdle());
    const SynthMemory after = engine().memory();
    for (int p = 1; p <= 128; ++p) {
        const bool written = bank_.has(p);
        QCOMPARE(after.patch(Bank::User, p - 1),
                 written ? before.patch(Bank::Card, p - 1) : before.patch(Bank::User, p - 1));
    }
    const QList<QByteArray> got = engine().received();
    QCOMPARE(got.size(), 4 * addr::SlotCount);
    QCOMPARE(got[0].left(9), hex("F0 41 10 6A 12 11 02 00 00"));
    QCOMPARE(got[4].left(9), hex("F0 41 10 6A 12 11 02 16 00"));
    QCOMPARE(got[19].left(9), hex("F0 41 10 6A 12 11 08 16 00"));
    QCOMPARE(progress.size(), 4);
    QCOMPARE(progress.last().mid(0, 3), (QVariantList{4, 4, 9}));
    QVERIFY(!rig_->state.PatchModified);
    QVERIFY(rig_->state.patchImage == image);
}

// A cancel while a place is half written finishes that place and stops: no
// place on the unit is left part old, part new.
void TestBankTransfer::cancelledWriteFinishesThePlaceItBegan()
{
    engine().setWireSpeed(true);
    const SynthMemory before = engine().memory();
    QList<int> places;
    for (int p = 1; p <= 20; ++p) {
        bank_.setPatch(p, imageOf(randomPatch(p, "Written")), false);
        places.append(p);
    }
    const int earlier = engine().stats().dataSets; // the real patches of init
    transfer_->send(false, places, bank_);
    QTRY_VERIFY_WITH_TIMEOUT(engine().stats().dataSets >= earlier + 7, WaitMs);
    transfer_->cancel();
    QTRY_VERIFY_WITH_TIMEOUT(finished_->size() == 1, WaitMs);
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Cancelled);
    QVERIFY(engine().waitIdle());
    const int sets = engine().stats().dataSets - earlier;
    QCOMPARE(sets % addr::SlotCount, 0);
    QVERIFY(sets < 20 * addr::SlotCount);
    const int written = sets / addr::SlotCount;
    QCOMPARE(transfer_->missingPlaces(), places.mid(written));
    const SynthMemory after = engine().memory();
    QCOMPARE(after.patch(Bank::User, written - 1), randomPatch(written, "Written"));
    QCOMPARE(after.patch(Bank::User, written), before.patch(Bank::User, written));
}

void TestBankTransfer::refusalsEndWithFailedAndSendNothing_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("message");
    const QString closed = QStringLiteral("Midi Closed\rSelect Midi Devices");
    QTest::newRow("fetch, MIDI closed") << false << true << 1 << 5 << closed;
    QTest::newRow("send, MIDI closed") << true << true << 1 << 1 << closed;
    QTest::newRow("fetch 0 to 5") << false << false << 0 << 5
                                  << "Places 0 to 5 are no range of 1 to 128.";
    QTest::newRow("fetch 9 to 8") << false << false << 9 << 8
                                  << "Places 9 to 8 are no range of 1 to 128.";
    QTest::newRow("send an empty place")
        << true << false << 1 << 3 << "Nothing was written: CARD 2-3 holds no patch.";
}

// Only place 1 holds a patch; a send goes to CARD places first..last.
void TestBankTransfer::refusalsEndWithFailedAndSendNothing()
{
    QFETCH(bool, send);
    QFETCH(bool, closed);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, message);
    bank_.setPatch(1, PatchImage(), false);
    rig_->state.MidiClosed = closed;
    QList<int> places;
    for (int p = first; p <= last; ++p)
        places.append(p);
    if (send)
        run([&] { transfer_->send(true, places, bank_); });
    else
        run([&] { transfer_->fetch(false, first, last, &bank_); });
    QCOMPARE(finished_->first().first().value<Outcome>(), Outcome::Failed);
    QCOMPARE(finished_->first().at(1).toString(), message);
    QVERIFY(engine().waitIdle());
    QVERIFY(engine().received().isEmpty());
    QVERIFY(rig_->info.messages.isEmpty());
    QCOMPARE(bank_.filledCount(), 1);
}

QTEST_GUILESS_MAIN(TestBankTransfer)
#include "tst_banktransfer.moc"
