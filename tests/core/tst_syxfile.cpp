#include "core/syxfile.h"
#include "savefailure.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Destination = SyxPatch::Destination;

namespace {
const QString SyxDir = QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/");
const QString BankFile = SyxDir + "JV1080_AGSOUND1_user01-46.syx";
const QString Pad23File = SyxDir + "JV1080_SuperJVPad_user023.syx";
const QString Pad108File = SyxDir + "JV1080_SuperJVPad_user108.syx";
const QString PartialFile = SyxDir + "XP60_partial_replies.syx";
constexpr int UnitId = 17;
constexpr std::uint8_t Device = 0x10;

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray dt1(const addr::Address &a, const QByteArray &data, std::uint8_t device = Device)
{
    return sysex::dataSetMessage(device, a, data);
}

// Data bytes of the five messages of a one-patch file.
QByteArray blockData(const QByteArray &file, int k)
{
    int at = 0;
    for (int i = 0; i < k; ++i)
        at += addr::blockSize(i) + sysex::Overhead;
    return file.mid(at + sysex::DataPos, addr::blockSize(k));
}

// Offset of message m (0-based) of a file of whole patches.
int messageStart(int m)
{
    const int patch = m / addr::SlotCount;
    int at = patch * SyxFile::PatchDumpSize;
    for (int k = 0; k < m % addr::SlotCount; ++k)
        at += addr::blockSize(k) + sysex::Overhead;
    return at;
}
} // namespace

class TestSyxFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realBankListsItsNamesInOrder()
    {
        const char *const names[] = {
            "RedPowerBass", "Sinus QSB   ", "Super W Bass", "202 Ring    ", "Flat Bass   ",
            "Empty Synth ", "Ultra Bass  ", "Deep Fingers", "Dirty Bass 2", "Sawnic Line ",
            "Downslide Bs", "Echo Strings", "Acid Choir  ", "Hallbrass   ", "Ancient Beep",
            "Wind & Rain ", "Energyzer   ", "No Way Back ", "2.2 VibLead ", "Dial! ANALOG",
            "Big Fat Lead", "Scream Lead ", "Permonete   ", "Just Danger ", "JUmpiNg pAD ",
            "Fbk Mettalll", "Crunch Split", "Last Raper  ", "Funkin' Echo", "Analog Seq 2",
            "Digital Seq ", "SF RAVE     ", "Dominator   ", "Music Shock ", "Rave Piano 1",
            "Rave Piano 2", "Pop Grand   ", "Klavier     ", "Giant Piano ", "Piano + Bass",
            "C.C. E-Piano", "Hammer Piano", "StereoPnoStr", "Rave Organ 1", "Rave Organ 2",
            "Rave Organ 3"};
        const SyxReadReport r = SyxFile::read(BankFile);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.messages, 230);
        QCOMPARE(r.summary(), QStringLiteral("46 patches read"));
        QCOMPARE(r.problems, QStringList());
        QCOMPARE(r.patches.size(), 46);
        for (int i = 0; i < 46; ++i) {
            QCOMPARE(r.patches[i].destination, Destination::User);
            QCOMPARE(r.patches[i].index, i + 1);
            QCOMPARE(r.patches[i].image.name(), QByteArray(names[i]));
            QCOMPARE(r.patches[i].placeText(),
                     QStringLiteral("USER %1").arg(i + 1, 3, 10, QChar('0')));
        }
        // Tone 1 of "RedPowerBass" plays Int-A wave 146 (stored 145).
        QCOMPARE(r.patches[0].image.waveNumber(1), 145);
    }

    void superJvPadIsOnePatchAtTwoPlaces()
    {
        const SyxReadReport at23 = SyxFile::read(Pad23File);
        const SyxReadReport at108 = SyxFile::read(Pad108File);
        QCOMPARE(at23.patches.size(), 1);
        QCOMPARE(at108.patches.size(), 1);
        QCOMPARE(at23.patches[0].index, 23);
        QCOMPARE(at108.patches[0].index, 108);
        QCOMPARE(at108.patches[0].image.name(), QByteArray("Super JV Pad"));
        QVERIFY(at23.patches[0].image == at108.patches[0].image);
    }

    // Every real dump comes out of the writer byte for byte.
    void writerReproducesRealDumps_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("46 patches") << BankFile;
        QTest::newRow("USER 23") << Pad23File;
        QTest::newRow("USER 108") << Pad108File;
    }

    void writerReproducesRealDumps()
    {
        QFETCH(QString, file);
        const QByteArray original = contents(file);
        const SyxReadReport r = SyxFile::parse(original);
        int dropped = -1;
        const PatchBank bank = SyxFile::toBank(r, &dropped);
        QCOMPARE(dropped, 0);
        QCOMPARE(SyxFile::bank(bank, UnitId), original);
        QByteArray one;
        for (const SyxPatch &p : r.patches)
            one += SyxFile::placePatch(p.image, false, p.index, UnitId);
        QCOMPARE(one, original);

        // The same patch to the temporary patch: 643 bytes that read back
        // as the same image.
        const QByteArray temporary = SyxFile::temporaryPatch(r.patches[0].image, UnitId);
        QCOMPARE(temporary.size(), 643);
        QCOMPARE(temporary.left(9), QByteArray::fromHex("f041106a1203000000"));
        QCOMPARE(temporary.mid(83, 9), QByteArray::fromHex("f041106a1203001000"));
        const SyxReadReport back = SyxFile::parse(temporary);
        QCOMPARE(back.patches.size(), 1);
        QCOMPARE(back.patches[0].destination, Destination::Temporary);
        QVERIFY(back.patches[0].image == r.patches[0].image);
    }

    void writersAddressPlacesAndUnits()
    {
        const PatchImage image = SyxFile::read(Pad23File).patches.value(0).image;
        const QByteArray card = SyxFile::placePatch(image, true, 128, 32);
        QCOMPARE(card.size(), 643);
        QCOMPARE(card.left(9), QByteArray::fromHex("f0411f6a12217f0000"));
        QCOMPARE(card.mid(643 - 140, 9), QByteArray::fromHex("f0411f6a12217f1600"));
        const SyxReadReport r = SyxFile::parse(card);
        QCOMPARE(r.patches.value(0).destination, Destination::Card);
        QCOMPARE(r.patches.value(0).index, 128);

        // Nothing is written rather than something wrong.
        QCOMPARE(SyxFile::placePatch(image, false, 0, UnitId), QByteArray());
        QCOMPARE(SyxFile::placePatch(image, false, 129, UnitId), QByteArray());
        PatchImage high = image;
        high.set(3, 0x40, 0x80);
        QCOMPARE(SyxFile::temporaryPatch(high, UnitId), QByteArray());
        PatchBank bank;
        bank.setPatch(1, image, false);
        bank.setPatch(2, high, false);
        QCOMPARE(SyxFile::bank(bank, UnitId), QByteArray());
    }

    // The units send a tone in one message or as 128 + 1; files cut up
    // otherwise still make the same patch, and the device byte of a file
    // is never a reason to refuse it.
    void anyChunkingMakesThePatch_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray file = contents(Pad23File);
        const auto at = [](std::uint8_t block, std::uint8_t offset) {
            return addr::Address{addr::AreaUser, 0x16, block, offset};
        };
        QByteArray split;
        split += dt1(at(0x00, 0x00), blockData(file, 0));
        for (int t = 1; t <= 4; ++t) {
            const QByteArray tone = blockData(file, t);
            split += dt1(at(addr::toneBlock(t), 0x00), tone.left(128), std::uint8_t(t));
            split += dt1(at(std::uint8_t(addr::toneBlock(t) + 1), 0x00), tone.mid(128));
        }
        QTest::newRow("128 + 1, other device bytes") << split;

        // Odd pieces in another order, one crossing into the odd block.
        QByteArray odd;
        odd += dt1(at(0x12, 0x00), blockData(file, 2));
        odd += dt1(at(0x10, 0x7E), blockData(file, 1).mid(0x7E));
        odd += dt1(at(0x10, 0x00), blockData(file, 1).left(0x7E));
        odd += dt1(at(0x00, 0x05), blockData(file, 0).mid(5));
        odd += dt1(at(0x00, 0x00), blockData(file, 0).left(5));
        for (int t = 3; t <= 4; ++t)
            odd += dt1(at(addr::toneBlock(t), 0x00), blockData(file, t));
        QTest::newRow("odd pieces") << odd;

        // An identical second copy is no conflict.
        QTest::newRow("the file twice") << file + file;

        // A JV-2080 sends a common block of 74 bytes; the two past the
        // JV-1080's are not part of the patch.
        QByteArray longer = file;
        longer.replace(0, addr::CommonSize + sysex::Overhead,
                       dt1(at(0x00, 0x00), blockData(file, 0) + "\x11\x22"));
        QTest::newRow("longer common") << longer;
    }

    void anyChunkingMakesThePatch()
    {
        QFETCH(QByteArray, bytes);
        const SyxReadReport want = SyxFile::read(Pad23File);
        const SyxReadReport r = SyxFile::parse(bytes);
        QCOMPARE(r.summary(), QStringLiteral("1 patch read"));
        QCOMPARE(r.problems, QStringList());
        QVERIFY(r.patches[0].image == want.patches[0].image);
        QCOMPARE(r.patches[0].index, 23);
    }

    void oneBadChecksumCostsOnePatch()
    {
        QByteArray bytes = contents(BankFile);
        // Tone 3 of USER 12 is message 59: its checksum byte is two before
        // the next message.
        bytes[messageStart(59) - 2] = char(bytes[messageStart(59) - 2] ^ 0x01);
        const SyxReadReport r = SyxFile::parse(bytes);
        QCOMPARE(r.summary(), QStringLiteral("45 patches read; skipped: 1 bad checksum"));
        QCOMPARE(r.problems,
                 QStringList{"USER 012: checksum wrong in tone 3 (message 59); patch not loaded"});
        QCOMPARE(r.patches.size(), 45);
        QCOMPARE(r.patches[10].index, 11);
        QCOMPARE(r.patches[11].index, 13);
        QCOMPARE(r.patches[11].image.name(), QByteArray("Acid Choir  "));
    }

    // Everything skipped is counted by its reason and told on a line of its
    // own; a patch is used whole or not at all.
    void badInputIsReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("patches");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("problem"); // one of the lines
        const QByteArray pad = contents(Pad23File);
        const QByteArray user1 = contents(BankFile).left(SyxFile::PatchDumpSize);
        const int tone4 = messageStart(4);

        QTest::newRow("truncated")
            << pad.left(600) << 0 << "0 patches read; skipped: 1 malformed message"
            << "USER 023: tone 4 cut short by the end of the file "
               "(message 5); patch not loaded";
        QByteArray noF7 = pad;
        noF7.remove(messageStart(1) - 1, 1);
        QTest::newRow("no F7") << noF7 + user1 << 1 << "1 patch read; skipped: 1 malformed message"
                               << "USER 023: common has no F7 before the next message "
                                  "(message 1); patch not loaded";
        QByteArray tone2 = blockData(pad, 2);
        tone2[20] = char(tone2[20] ^ 0x01);
        QByteArray other = pad;
        other.replace(messageStart(2), messageStart(3) - messageStart(2),
                      dt1({addr::AreaUser, 0x16, addr::toneBlock(2), 0x00}, tone2));
        QTest::newRow("conflicting copy")
            << pad + other << 0 << "0 patches read; skipped: 1 conflicting patch"
            << "USER 023: two copies of tone 2 differ (messages 3 "
               "and 8); patch not loaded";
        QTest::newRow("missing tone")
            << pad.left(tone4) << 0 << "0 patches read; skipped: 1 incomplete patch"
            << "USER 023: incomplete, tone 4 missing";
        const QByteArray common = blockData(pad, 0);
        QTest::newRow("place above 128")
            << dt1({0x12, 0x00, 0x00, 0x00}, common) + user1 << 1
            << "1 patch read; skipped: 1 message holding no patch"
            << "message 1 at 12 00 00 00: an address that names no patch place";
        QTest::newRow("past the odd block")
            << dt1({addr::AreaUser, 0x00, 0x17, 0x7F}, "\x01") + user1 << 1
            << "1 patch read; skipped: 1 message holding no patch"
            << "message 1 at 11 00 17 7F: an address that names no patch place";
        QTest::newRow("tone of 130 bytes")
            << pad.left(messageStart(2)) +
                   dt1({addr::AreaUser, 0x16, addr::toneBlock(2), 0x00},
                       blockData(pad, 2) + "\x01") +
                   pad.mid(messageStart(3))
            << 0 << "0 patches read; skipped: 1 message holding no patch"
            << "USER 023: tone 2 runs past the end of its block (message 3); patch not loaded";
        QTest::newRow("run past a block")
            << user1 + dt1({addr::AreaUser, 0x00, 0x00, 0x40}, QByteArray(0x41, 0x01)) << 1
            << "1 patch read; skipped: 1 message holding no patch"
            << "USER 001: common runs past the end of its block (message 6)";
        QByteArray high = pad;
        high[messageStart(2) + 30] = char(0x9A);
        QTest::newRow("8-bit byte") << high << 0 << "0 patches read; skipped: 1 malformed message"
                                    << "USER 023: tone 2 holds the 8-bit byte 9A at byte 253 "
                                       "(message 3); patch not loaded";
        QTest::newRow("stray bytes")
            << "garbage" + pad << 1 << "1 patch read; skipped: 1 malformed message"
            << "7 bytes outside any message at byte 0";
        QTest::newRow("other maker") << QByteArray::fromHex("f07e7f0601f7") + pad << 1
                                     << "1 patch read; skipped: 1 message for another model"
                                     << "message 1: not a Roland message (maker 7E)";
        QByteArray model = pad.left(messageStart(1));
        model[sysex::ModelPos] = 0x6B;
        QTest::newRow("other model")
            << model << 0 << "0 patches read; skipped: 1 message for another model"
            << "message 1: Roland model 6B, not a JV/XP (6A)";
        QTest::newRow("system and rhythm")
            << dt1({0x00, 0x00, 0x00, 0x00}, "\x01") + dt1({0x02, 0x09, 0x00, 0x00}, "\x01") << 0
            << "0 patches read; skipped: 2 messages holding no patch"
            << "message 2 at 02 09 00 00: the rhythm set of part 10, not a patch";
        QTest::newRow("a request")
            << sysex::requestMessage(Device, {0x11, 0, 0, 0}, addr::RequestCommonSize) << 0
            << "0 patches read; skipped: 1 message holding no patch"
            << "message 1: command 11 is no data set";
        // Real answers of an XP-60: two different names for the temporary
        // patch, a USER name alone and a piece of the system block.
        QTest::newRow("XP-60 answers")
            << contents(PartialFile) << 0
            << "0 patches read; skipped: 1 incomplete patch, 1 conflicting patch, 1 message "
               "holding no patch"
            << "USER 001: incomplete, common cut short (12 of 72 bytes), tone 1 missing, tone 2 "
               "missing, tone 3 missing, tone 4 missing";
    }

    void badInputIsReported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, patches);
        QFETCH(QString, summary);
        QFETCH(QString, problem);
        const SyxReadReport r = SyxFile::parse(bytes);
        QCOMPARE(r.summary(), summary);
        QVERIFY2(r.problems.contains(problem), qPrintable(r.problems.join('\n')));
        QCOMPARE(r.patches.size(), patches);
        QCOMPARE(r.ok, patches > 0);
        QCOMPARE(r.error.isEmpty(), patches > 0);
        const SyxReadReport clean = SyxFile::read(Pad23File);
        for (const SyxPatch &p : r.patches)
            QVERIFY(p.image == clean.patches[0].image ||
                    p.image.name() == QByteArray("RedPowerBass"));
    }

    // Random bytes give a report of bounded length, not a hang or a crash.
    void randomBytesGiveAReport()
    {
        QRandomGenerator random(15);
        QByteArray noise(50 * 1024 * 1024, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        const SyxReadReport r = SyxFile::parse(noise);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("No complete patch found."));
        QVERIFY(r.malformed > 10000);
        QCOMPARE(r.problems.size(), 201);
        QVERIFY2(r.problems.last().endsWith(QLatin1String("more problems not listed")),
                 qPrintable(r.problems.last()));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "sub"
                                << "is a folder, not a .syx file.";
        QTest::newRow("device") << "/dev/zero"
                                << "is not a regular file.";
        QTest::newRow("pipe") << "pipe"
                              << "is not a regular file.";
        QTest::newRow("missing") << "none.syx"
                                 << "could not be opened: ";
        QTest::newRow("too large") << "large.syx"
                                   << "is too large for a patch dump: 4194305 bytes, at most "
                                      "4194304.";
        QTest::newRow("empty") << "empty.syx"
                               << "holds no System Exclusive message.";
        QTest::newRow("no patch") << "partial.syx"
                                  << "holds no complete patch.";
    }

    void refusedFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        QFile large(dir.filePath("large.syx"));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(SyxFile::MaxFileSize + 1));
        large.close();
        QFile empty(dir.filePath("empty.syx"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QVERIFY(QFile::copy(PartialFile, dir.filePath("partial.syx")));

        const QString path = QDir(dir.path()).filePath(name);
        const SyxReadReport r = SyxFile::read(path);
        QVERIFY(!r.ok);
        QVERIFY(r.patches.isEmpty());
        const QString prefix = QLatin1Char('"') + QDir::toNativeSeparators(path) + "\" " + reason;
        QVERIFY2(r.error.startsWith(prefix), qPrintable(r.error));
    }

    void writeIsAtomic()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bank.syx");
        const QByteArray bank = contents(BankFile);
        const FileResult w = SyxFile::write(path, bank);
        QVERIFY2(w.ok, qPrintable(w.error));
        QCOMPARE(w.bytes, bank.size());
        QCOMPARE(SyxFile::read(path).patches.size(), 46);

        // An image that made no messages writes nothing.
        QVERIFY(!SyxFile::write(path, QByteArray()).ok);
        {
            const NoFileGrowth limit;
            const FileResult r = SyxFile::write(path, contents(Pad23File));
            QVERIFY(!r.ok);
            QVERIFY2(r.error.contains("could not be written"), qPrintable(r.error));
        }
        QCOMPARE(contents(path), bank);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"bank.syx"});
    }

    // USER and CARD patches keep their places; the others, and a CARD
    // patch whose place a USER one took, go to the next free places.
    void bankFromAReport()
    {
        const PatchImage pad = SyxFile::read(Pad23File).patches.value(0).image;
        PatchImage other = pad;
        other.set(0, 0, 'X');
        SyxReadReport r;
        r.patches = {{Destination::Temporary, 0, other},
                     {Destination::Card, 2, pad},
                     {Destination::User, 2, other},
                     {Destination::User, 1, pad}};
        int dropped = -1;
        PatchBank bank = SyxFile::toBank(r, &dropped);
        QCOMPARE(dropped, 0);
        QCOMPARE(bank.filledCount(), 4);
        QVERIFY(*bank.patch(1) == pad);
        QVERIFY(*bank.patch(2) == pad);
        QVERIFY(*bank.patch(3) == other);
        QVERIFY(*bank.patch(4) == other);
        QVERIFY(!bank.changed(1));

        for (int i = 0; i < 126; ++i)
            r.patches.append({Destination::Part, 1, pad});
        bank = SyxFile::toBank(r, &dropped);
        QCOMPARE(bank.filledCount(), 128);
        QCOMPARE(dropped, 2);
    }

    void syxSuffix()
    {
        QVERIFY(SyxFile::hasSyxSuffix("/a/B.SYX"));
        QVERIFY(!SyxFile::hasSyxSuffix("/a.syx/b.pat"));
    }
};

QTEST_GUILESS_MAIN(TestSyxFile)
#include "tst_syxfile.moc"
