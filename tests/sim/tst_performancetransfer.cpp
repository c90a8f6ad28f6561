// Fetch, send and store of the temporary performance and of part 10's rhythm
// set against the virtual synthesizer, byte for byte, and the fetch's checks
// for blocks that never come. The patch image stays out of all of it.

#include "editorrig.h"
#include "simtesthelpers.h"

#include "midi/performancetransfer.h"
#include "sim/simulatorbackend.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

using Bank = SynthMemory::Bank;
using Content = PerformanceTransfer::Content;
using Outcome = PerformanceTransfer::Outcome;

// Random bytes after a readable name: every byte a 7-bit value.
template <typename Image> Image randomImage(quint32 seed, const char *name)
{
    QRandomGenerator rng(seed);
    Image image;
    for (int i = 0; i < Image::Size; ++i)
        image.data()[i] = std::uint8_t(rng.bounded(128));
    const QByteArray n = QByteArray(name).leftJustified(addr::PatchNameSize, ' ', true);
    std::copy(n.begin(), n.end(), image.data());
    return image;
}

template <typename Image> QByteArray bytesOf(const Image &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), Image::Size);
}

} // namespace

class TestPerformanceTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void temporaryPerformanceRoundTrip();
    void rhythmSetRoundTrip();
    void storedPlaces_data();
    void storedPlaces();
    void missingBlockIsAskedAgainThenEndsTheFetch();
    void unansweredFetchReleasesSendLock();

private:
    SimulatorEngine &engine() { return backend_->engine(); }
    // Runs a fetch to its end; the outcome.
    Outcome fetch(Content content);
    std::shared_ptr<SimulatorBackend> backend_;
    std::unique_ptr<EditorRig> rig_;
    std::unique_ptr<PerformanceTransfer> transfer_;
};

void TestPerformanceTransfer::init()
{
    backend_ = std::make_shared<SimulatorBackend>();
    rig_ = std::make_unique<EditorRig>();
    rig_->devices.insertBackend(backend_);
    QString why;
    QVERIFY2(rig_->open(SimulatorBackend::DeviceName, SimulatorBackend::DeviceName, &why),
             qPrintable(why));
    transfer_ = std::make_unique<PerformanceTransfer>(rig_->state, rig_->protocol);
    // A loaded machine may stall the unit's thread well past a real unit's
    // answer time; the cases about time-outs set their own.
    transfer_->setTimeoutMs(10000);
}

void TestPerformanceTransfer::cleanup()
{
    transfer_.reset();
    rig_.reset();
    backend_.reset();
}

Outcome TestPerformanceTransfer::fetch(Content content)
{
    QSignalSpy finished(transfer_.get(), &PerformanceTransfer::fetchFinished);
    if (content == Content::Performance)
        transfer_->GetPerformance();
    else
        transfer_->GetRhythm();
    if (!finished.wait(60000))
        return Outcome::NoAnswer;
    return outcomeOf<Outcome>(finished);
}

// The unit's temporary performance comes over as 17 requests, one block
// each, in address order; the buffer then holds exactly its bytes. Sent
// back after edits, the unit holds the buffer's bytes, and neither the
// patch image nor the unit's patches took any of it.
void TestPerformanceTransfer::temporaryPerformanceRoundTrip()
{
    SynthMemory m = engine().memory();
    m.performance() = randomImage<PerformanceImage>(0x1080, "Split Pad");
    engine().setMemory(m);
    engine().setRecording(true);
    const PatchImage patch = rig_->state.patchImage;

    QCOMPARE(fetch(Content::Performance), Outcome::Complete);
    QCOMPARE(bytesOf(rig_->state.performance), bytesOf(m.performance()));
    QVERIFY(engine().waitIdle());
    const QList<QByteArray> asked = engine().received();
    QCOMPARE(asked.size(), 17);
    QCOMPARE(asked.first(), hex("F0 41 10 6A 11 01 00 00 00 00 00 00 40 3F F7"));
    QCOMPARE(asked.at(1), hex("F0 41 10 6A 11 01 00 10 00 00 00 00 13 5C F7"));
    QCOMPARE(asked.last(), hex("F0 41 10 6A 11 01 00 1F 00 00 00 00 13 4D F7"));
    QCOMPARE(rig_->sysex.size(), 17);
    QCOMPARE(rig_->sysex.at(1), sysex::dataSetMessage(0x10, addr::performancePartAddress(1, 0),
                                                      bytesOf(m.performance()).mid(64, 19)));

    const PerformanceImage edited = randomImage<PerformanceImage>(0x2080, "Edited Split");
    std::copy_n(edited.data(), PerformanceImage::Size, rig_->state.performance.data());
    transfer_->SendPerformance();
    QVERIFY(engine().waitIdle());
    const SynthMemory after = engine().memory();
    QCOMPARE(bytesOf(after.performance()), bytesOf(edited));
    QVERIFY(after.patch(Bank::Temporary, 0) == m.patch(Bank::Temporary, 0));
    QVERIFY(after.rhythm() == m.rhythm());
    QVERIFY(rig_->state.patchImage == patch);
}

// The rhythm set: 65 requests under 02 09, the common block and keys 35
// to 98, and back again.
void TestPerformanceTransfer::rhythmSetRoundTrip()
{
    SynthMemory m = engine().memory();
    m.rhythm() = randomImage<RhythmImage>(35, "Brush Kit");
    engine().setMemory(m);
    engine().setRecording(true);
    const PatchImage patch = rig_->state.patchImage;

    QCOMPARE(fetch(Content::Rhythm), Outcome::Complete);
    QCOMPARE(bytesOf(rig_->state.rhythm), bytesOf(m.rhythm()));
    QVERIFY(engine().waitIdle());
    const QList<QByteArray> asked = engine().received();
    QCOMPARE(asked.size(), 65);
    QCOMPARE(asked.at(0), hex("F0 41 10 6A 11 02 09 00 00 00 00 00 0C 69 F7"));
    QCOMPARE(asked.at(1), hex("F0 41 10 6A 11 02 09 23 00 00 00 00 3A 18 F7"));
    QCOMPARE(asked.at(64), hex("F0 41 10 6A 11 02 09 62 00 00 00 00 3A 59 F7"));

    const RhythmImage edited = randomImage<RhythmImage>(98, "Edited Kit");
    std::copy_n(edited.data(), RhythmImage::Size, rig_->state.rhythm.data());
    transfer_->SendRhythm();
    QVERIFY(engine().waitIdle());
    const SynthMemory after = engine().memory();
    QCOMPARE(bytesOf(after.rhythm()), bytesOf(edited));
    QVERIFY(after.performance() == m.performance());
    QVERIFY(after.patch(Bank::Part, 8) == m.patch(Bank::Part, 8));
    QVERIFY(after.patch(Bank::Part, 10) == m.patch(Bank::Part, 10));
    QVERIFY(rig_->state.patchImage == patch);
}

void TestPerformanceTransfer::storedPlaces_data()
{
    QTest::addColumn<int>("content");
    QTest::addColumn<bool>("card");
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("first"); // address of the first message
    QTest::addColumn<QByteArray>("last");

    const int perf = int(Content::Performance);
    const int rhythm = int(Content::Rhythm);
    QTest::newRow("USER performance 1") << perf << false << 1 << hex("10000000") << hex("10001F00");
    QTest::newRow("USER performance 32")
        << perf << false << 32 << hex("101F0000") << hex("101F1F00");
    QTest::newRow("CARD performance 5") << perf << true << 5 << hex("20040000") << hex("20041F00");
    QTest::newRow("USER rhythm set 2")
        << rhythm << false << 2 << hex("10410000") << hex("10416200");
    QTest::newRow("CARD rhythm set 1") << rhythm << true << 1 << hex("20400000") << hex("20406200");
}

// Writing into memory sends every block to the place and nothing to the
// temporary performance or rhythm set; the buffers keep their bytes.
void TestPerformanceTransfer::storedPlaces()
{
    QFETCH(int, content);
    QFETCH(bool, card);
    QFETCH(int, number);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, last);

    const bool performance = Content(content) == Content::Performance;
    const PerformanceImage perf = randomImage<PerformanceImage>(quint32(number), "Stored Perf");
    const RhythmImage kit = randomImage<RhythmImage>(quint32(number), "Stored Kit");
    std::copy_n(perf.data(), PerformanceImage::Size, rig_->state.performance.data());
    std::copy_n(kit.data(), RhythmImage::Size, rig_->state.rhythm.data());
    const SynthMemory before = engine().memory();
    engine().setRecording(true);

    if (performance)
        transfer_->SavePerformance(card, number);
    else
        transfer_->SaveRhythm(card, number);
    QVERIFY(engine().waitIdle());
    const QList<QByteArray> sent = engine().received();
    QCOMPARE(sent.size(), performance ? 17 : 65);
    QCOMPARE(sent.first().mid(sysex::AddressPos, 4), first);
    QCOMPARE(sent.last().mid(sysex::AddressPos, 4), last);

    const SynthMemory after = engine().memory();
    const Bank bank = card ? Bank::Card : Bank::User;
    if (performance)
        QCOMPARE(bytesOf(after.performance(bank, number)), bytesOf(perf));
    else
        QCOMPARE(bytesOf(after.rhythm(bank, number)), bytesOf(kit));
    QVERIFY(after.performance() == before.performance());
    QVERIFY(after.rhythm() == before.rhythm());
    QCOMPARE(bytesOf(rig_->state.performance), bytesOf(perf));
    QCOMPARE(bytesOf(rig_->state.rhythm), bytesOf(kit));
}

// Key 36 never comes: it is asked for twice more, alone, and then the
// fetch ends as incomplete without asking for the keys above, SendLock
// released.
void TestPerformanceTransfer::missingBlockIsAskedAgainThenEndsTheFetch()
{
    RecordingSender sender;
    rig_->protocol.setSender(&sender);
    transfer_->setTimeoutMs(50);
    QSignalSpy finished(transfer_.get(), &PerformanceTransfer::fetchFinished);
    transfer_->GetRhythm();
    QCOMPARE(sender.sent.size(), 1);

    const RhythmImage kit = randomImage<RhythmImage>(1, "Dropped Kit");
    const auto answer = [&](int block) {
        const int size = RhythmImage::blockSize(block);
        const QByteArray dt1 =
            sysex::dataSetMessage(0x10, addr::rhythmNoteAddress(block, 0),
                                  bytesOf(kit).mid(*RhythmImage::blockPosition(block, 0), size));
        rig_->protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(dt1.constData()),
                                     int(dt1.size()));
    };
    answer(addr::BlockCommon);
    QTRY_COMPARE_WITH_TIMEOUT(sender.sent.size(), 2, 10000);
    answer(addr::FirstRhythmKey);
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomeOf<Outcome>(finished), Outcome::Incomplete);
    const QByteArray key36 = hex("F0 41 10 6A 11 02 09 24 00 00 00 00 3A 17 F7");
    QCOMPARE(sender.sent.mid(2), (QList<QByteArray>{key36, key36, key36}));
    const QList<int> missing = transfer_->missingBlocks();
    QCOMPARE(missing.size(), 63);
    QCOMPARE(missing.first(), 36);
    QVERIFY(!rig_->state.SendLock);
    QCOMPARE(rig_->state.rhythm.name(), QByteArray("Dropped Kit "));
    const QString text =
        PerformanceTransfer::failureText(Content::Rhythm, Outcome::Incomplete, missing);
    QVERIFY2(text.contains(QLatin1String("key 36, key 37, key 38, key 39, 59 more")),
             qPrintable(text));
}

// The unit answers to unit ID 17 only; as 18 the editor hears nothing.
void TestPerformanceTransfer::unansweredFetchReleasesSendLock()
{
    rig_->state.UnitId = 18;
    transfer_->setTimeoutMs(100);
    const PerformanceImage before = rig_->state.performance;
    QCOMPARE(fetch(Content::Performance), Outcome::NoAnswer);
    QVERIFY(!rig_->state.SendLock);
    QCOMPARE(transfer_->requestsSent(), 1 + PerformanceTransfer::ExtraTries);
    QVERIFY(rig_->state.performance == before);
    QVERIFY(PerformanceTransfer::failureText(Content::Performance, Outcome::NoAnswer, {})
                .contains(QLatin1String("did not answer the performance request")));
}

QTEST_GUILESS_MAIN(TestPerformanceTransfer)
#include "tst_performancetransfer.moc"
