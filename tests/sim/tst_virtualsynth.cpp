// The virtual unit's message handling and memory, without threads.

#include "sim/virtualsynth.h"
#include "simtesthelpers.h"

#include "midi/sysexmessage.h"

#include <QTemporaryDir>
#include <QTest>

using Outcome = VirtualSynth::Outcome;
using Bank = SynthMemory::Bank;

class TestVirtualSynth : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ignoresWhatTheUnitIgnores_data();
    void ignoresWhatTheUnitIgnores();
    void storesWhatFits_data();
    void storesWhatFits();
    void answersExactlyTheRequestedRange_data();
    void answersExactlyTheRequestedRange();
    void answersRealDumpsByteForByte();
    void answersPerformancesAndRhythmSetsBlockByBlock_data();
    void answersPerformancesAndRhythmSetsBlockByBlock();
    void user128AndBanksSurviveSaveAndLoad();
    void badBankFilesChangeNothing_data();
    void badBankFilesChangeNothing();
};

void TestVirtualSynth::ignoresWhatTheUnitIgnores_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("stored");
    // Name byte 0C of the temporary patch set to 05.
    QTest::newRow("good") << hex("F0 41 10 6A 12 03 00 00 0C 05 6C F7") << true;
    QTest::newRow("broadcast device") << hex("F0 41 7F 6A 12 03 00 00 0C 05 6C F7") << true;
    QTest::newRow("bad checksum") << hex("F0 41 10 6A 12 03 00 00 0C 05 6D F7") << false;
    QTest::newRow("other model") << hex("F0 41 10 6B 12 03 00 00 0C 05 6C F7") << false;
    QTest::newRow("other device") << hex("F0 41 11 6A 12 03 00 00 0C 05 6C F7") << false;
    QTest::newRow("other command") << hex("F0 41 10 6A 13 03 00 00 0C 05 6C F7") << false;
    QTest::newRow("note on") << hex("90 3C 64") << false;
}

void TestVirtualSynth::ignoresWhatTheUnitIgnores()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, stored);
    VirtualSynth synth;
    const SynthMemory before = synth.memory();
    const VirtualSynth::Result r = synth.receive(message);
    QCOMPARE(r.outcome == Outcome::Stored, stored);
    QCOMPARE(r.reason.isEmpty(), stored);
    QVERIFY(r.answers.isEmpty());
    QCOMPARE(synth.memory().patch(Bank::Temporary, 0).common[0x0C], stored ? 5 : 0);
    if (!stored)
        QVERIFY(synth.memory() == before);
}

// Probe: an address and the byte expected there afterwards, -1 for none.
void TestVirtualSynth::storesWhatFits_data()
{
    QTest::addColumn<QByteArray>("adrs");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("probe");
    QTest::addColumn<int>("value");
    QByteArray tone(129, 0);
    for (int i = 0; i < tone.size(); ++i)
        tone[i] = char((i * 7 + 1) % 128);
    // Byte 80 of a tone sits at the next block address.
    QTest::newRow("part 4 tone 2 whole")
        << hex("02031200") << tone << 129 << hex("02031300") << int(tone[128]);
    QTest::newRow("odd tone byte alone")
        << hex("03001500") << hex("55") << 1 << hex("03001500") << 0x55;
    // Common 47h is the last byte; 48h and 49h hold nothing on a JV-1080.
    QTest::newRow("past the common")
        << hex("03000047") << hex("03 7F 7F") << 1 << hex("03000047") << 3;
    QTest::newRow("past tone 4") << hex("03001701") << hex("01") << 0 << hex("03001701") << -1;
    QTest::newRow("part 17") << hex("02100000") << hex("01") << 0 << hex("02100000") << -1;
    // Part 10 plays the rhythm set: a patch common sent there fills the
    // 12-byte rhythm name only, and it has no tone blocks.
    QTest::newRow("part 10 holds no patch")
        << hex("02090000") << QByteArray(72, 0x41) << 12 << hex("0209000C") << -1;
    QTest::newRow("no tone in part 10")
        << hex("02091000") << hex("01") << 0 << hex("02091000") << -1;
    QTest::newRow("rhythm key 98 last byte")
        << hex("02096239") << hex("05 06") << 1 << hex("02096239") << 5;
    QTest::newRow("performance part 16 last byte")
        << hex("01001F12") << hex("07 08") << 1 << hex("01001F12") << 7;
    QTest::newRow("USER rhythm set 2, key 35")
        << hex("10412300") << hex("09") << 1 << hex("10412300") << 9;
    QTest::newRow("CARD performance 32, part 16")
        << hex("201F1F00") << hex("0A") << 1 << hex("201F1F00") << 10;
    QTest::newRow("no USER performance 33")
        << hex("10200000") << hex("01") << 0 << hex("10200000") << -1;
}

void TestVirtualSynth::storesWhatFits()
{
    QFETCH(QByteArray, adrs);
    QFETCH(QByteArray, data);
    QFETCH(int, stored);
    QFETCH(QByteArray, probe);
    QFETCH(int, value);
    const auto address = [](const QByteArray &a) {
        return addr::Address{std::uint8_t(a[0]), std::uint8_t(a[1]), std::uint8_t(a[2]),
                             std::uint8_t(a[3])};
    };
    VirtualSynth synth;
    QCOMPARE(synth.receive(sysex::dataSetMessage(0x10, address(adrs), data)).stored, stored);
    const std::optional<std::uint8_t> got = synth.memory().byteAt(address(probe));
    QCOMPARE(got ? int(*got) : -1, value);
}

void TestVirtualSynth::answersExactlyTheRequestedRange_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answers"); // concatenated
    QTest::newRow("name of the temporary patch")
        << hex("F0 41 10 6A 11 03 00 00 00 00 00 00 0C 71 F7")
        << hex("F0 41 10 6A 12 03 00 00 00 49 6E 69 74 50 61 74 63 68 20 20 20 19 F7");
    // Unit 18: device byte 11.
    QTest::newRow("other unit stays silent")
        << hex("F0 41 11 6A 11 03 00 00 00 00 00 00 0C 71 F7") << QByteArray();
    QTest::newRow("odd tone byte alone") << hex("F0 41 10 6A 11 03 00 11 00 00 00 00 01 6B F7")
                                         << hex("F0 41 10 6A 12 03 00 11 00 00 6C F7");
    // Common 46..47 (structure, booster), a gap, then tone 1 bytes 00..01:
    // one message per block.
    QTest::newRow("across a gap")
        << hex("F0 41 10 6A 11 03 00 00 46 00 00 0F 3C 6C F7")
        << hex("F0 41 10 6A 12 03 00 00 46 00 00 37 F7 F0 41 10 6A 12 03 00 10 00 01 00 6C F7");
    QTest::newRow("system control sources") << hex("F0 41 10 6A 11 00 00 00 12 00 00 00 02 6C F7")
                                            << hex("F0 41 10 6A 12 00 00 00 12 01 02 6B F7");
    QTest::newRow("nothing there")
        << hex("F0 41 10 6A 11 04 00 00 00 00 00 00 10 6C F7") << QByteArray();
}

void TestVirtualSynth::answersExactlyTheRequestedRange()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answers);
    VirtualSynth synth;
    const VirtualSynth::Result r = synth.receive(request);
    QCOMPARE(r.answers.join(), answers);
}

// Loading a real JV-1080 dump into USER memory and asking for it again must
// give back the unit's own messages, byte for byte: a 72-byte common and
// 129-byte tones, one message each.
void TestVirtualSynth::answersRealDumpsByteForByte()
{
    const QList<QByteArray> dump = syxMessages("JV1080_SuperJVPad_user108.syx");
    QCOMPARE(dump.size(), 5);
    VirtualSynth synth;
    for (const QByteArray &m : dump)
        QCOMPARE(synth.receive(m).outcome, Outcome::Stored);
    QCOMPARE(synth.memory().patch(Bank::User, 0x6B).name(), QByteArray("Super JV Pad"));

    // Whole patch at once (size 00 00 18 00): five messages.
    const VirtualSynth::Result whole = synth.receive(
        sysex::requestMessage(0x10, {0x11, 0x6B, 0x00, 0x00}, {0x00, 0x00, 0x18, 0x00}));
    QCOMPARE(whole.answers, dump);
    // The span that ends with tone 4's 129th byte (00 00 17 01) gives the same.
    QCOMPARE(synth
                 .receive(sysex::requestMessage(0x10, {0x11, 0x6B, 0x00, 0x00},
                                                {0x00, 0x00, 0x17, 0x01}))
                 .answers,
             dump);
    // Block by block, with the sizes the editor uses.
    for (int k = 0; k <= addr::ToneCount; ++k) {
        const addr::Address a{0x11, 0x6B, addr::patchBlock(k), 0x00};
        const VirtualSynth::Result r = synth.receive(sysex::requestMessage(
            0x10, a, k == 0 ? addr::RequestCommonSize : addr::RequestToneSize));
        QCOMPARE(r.answers.size(), 1);
        QCOMPARE(r.answers.front(), dump[k]);
        QCOMPARE(r.answers.front().size(), k == 0 ? 83 : 140);
    }
}

void TestVirtualSynth::answersPerformancesAndRhythmSetsBlockByBlock_data()
{
    QTest::addColumn<QByteArray>("adrs");
    QTest::addColumn<QByteArray>("span");
    QTest::addColumn<QList<int>>("sizes"); // first, second and last answer
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("temporary performance")
        << hex("01000000") << hex("00001F13") << QList<int>{64, 19, 19} << 17
        << QByteArray("Init Perform");
    QTest::newRow("rhythm set of part 10")
        << hex("02090000") << hex("0000623A") << QList<int>{12, 58, 58} << 65
        << QByteArray("Init Rhythm ");
    QTest::newRow("USER performance 32")
        << hex("101F0000") << hex("00001F13") << QList<int>{64, 19, 19} << 17
        << QByteArray("Perform U:32");
    QTest::newRow("both USER rhythm sets")
        << hex("10400000") << hex("00020000") << QList<int>{12, 58, 58} << 130
        << QByteArray("Rhythm U:1  ");
    QTest::newRow("CARD rhythm set 2")
        << hex("20410000") << hex("0000623A") << QList<int>{12, 58, 58} << 65
        << QByteArray("Rhythm C:2  ");
}

// As a real unit answers a bulk request: one data set per block, in
// ascending address order, each block whole.
void TestVirtualSynth::answersPerformancesAndRhythmSetsBlockByBlock()
{
    QFETCH(QByteArray, adrs);
    QFETCH(QByteArray, span);
    QFETCH(QList<int>, sizes);
    QFETCH(int, count);
    QFETCH(QByteArray, name);

    const auto four = [](const QByteArray &b) {
        return addr::Address{std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]),
                             std::uint8_t(b[3])};
    };
    VirtualSynth synth;
    const VirtualSynth::Result r =
        synth.receive(sysex::requestMessage(0x10, four(adrs), four(span)));
    QCOMPARE(r.answers.size(), count);
    const auto dataSize = [](const QByteArray &m) { return int(m.size()) - sysex::Overhead; };
    QCOMPARE(dataSize(r.answers.at(0)), sizes[0]);
    QCOMPARE(dataSize(r.answers.at(1)), sizes[1]);
    QCOMPARE(dataSize(r.answers.last()), sizes[2]);
    QCOMPARE(r.answers.at(0).mid(sysex::AddressPos, 4), adrs);
    QCOMPARE(r.answers.at(0).mid(sysex::DataPos, addr::PatchNameSize), name);
    for (qsizetype i = 1; i < r.answers.size(); ++i)
        QVERIFY(r.answers.at(i - 1).mid(sysex::AddressPos, 4) <
                r.answers.at(i).mid(sysex::AddressPos, 4));
    for (const QByteArray &m : r.answers)
        QVERIFY(sysex::verify(reinterpret_cast<const std::uint8_t *>(m.constData()), int(m.size()),
                              0x10, sysex::CommandDataSet)
                    .isEmpty());
}

void TestVirtualSynth::user128AndBanksSurviveSaveAndLoad()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("banks.mem"));
    VirtualSynth a;
    // USER 128 is 11 7F, the last of the bank.
    const QByteArray name("Slot 128 New");
    a.receive(sysex::dataSetMessage(0x10, {0x11, 0x7F, 0x00, 0x00}, name));
    QCOMPARE(a.memory().patch(Bank::User, 127).name(), name);
    QCOMPARE(a.receive(hex("F0 41 10 6A 11 11 7F 00 00 00 00 00 0C 64 F7")).answers,
             QList<QByteArray>{sysex::dataSetMessage(0x10, {0x11, 0x7F, 0x00, 0x00}, name)});
    a.receive(sysex::dataSetMessage(0x10, {0x21, 0x7F, 0x17, 0x00}, hex("33")));
    a.receive(sysex::dataSetMessage(0x10, {0x03, 0x00, 0x00, 0x00}, QByteArray("Temporary   ")));
    QString error;
    QVERIFY2(a.memory().saveBanks(path, &error), qPrintable(error));

    VirtualSynth b;
    QVERIFY2(b.memory().loadBanks(path, &error), qPrintable(error));
    QCOMPARE(b.memory().patch(Bank::User, 127).name(), name);
    QCOMPARE(b.memory().patch(Bank::Card, 127).tones[3][0x80], 0x33);
    // Only USER and CARD memory travel.
    QCOMPARE(b.memory().patch(Bank::Temporary, 0).name(), QByteArray("InitPatch   "));
    QCOMPARE(b.memory().banksImage(), a.memory().banksImage());
}

void TestVirtualSynth::badBankFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("why");
    const QByteArray good = SynthMemory().banksImage();
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a simulator memory file");
    QTest::newRow("short") << good.left(good.size() - 1) << QStringLiteral("wrong size");
    QByteArray high = good;
    high[high.size() - 1] = char(0x80);
    QTest::newRow("byte above 7F") << high << QStringLiteral("above 7Fh");
}

void TestVirtualSynth::badBankFilesChangeNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.mem"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    VirtualSynth synth;
    synth.receive(
        sysex::dataSetMessage(0x10, {0x11, 0x00, 0x00, 0x00}, QByteArray("Before Load ")));
    const SynthMemory before = synth.memory();
    QString error;
    QVERIFY(!synth.memory().loadBanks(path, &error));
    QVERIFY2(error.contains(why), qPrintable(error));
    QVERIFY(synth.memory() == before);
    QVERIFY(!synth.memory().loadBanks(dir.filePath(QStringLiteral("missing.mem")), &error));
    QVERIFY(synth.memory() == before);
}

QTEST_GUILESS_MAIN(TestVirtualSynth)
#include "tst_virtualsynth.moc"
