// .syx files of performances and rhythm sets: what the writer gives reads
// back byte for byte, and a file with a block missing, damaged or not ours
// yields nothing half-made.

#include "core/performancesyx.h"
#include "core/sysexmessage.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

template <typename Image> Image randomImage(quint32 seed)
{
    QRandomGenerator rng(seed);
    Image image;
    for (int i = 0; i < Image::Size; ++i)
        image.data()[i] = std::uint8_t(rng.bounded(128));
    return image;
}

template <typename Image> QByteArray bytesOf(const Image &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), Image::Size);
}

enum Place
{
    Temporary,
    User,
    Card,
};

} // namespace

class TestPerformanceSyx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrips_data()
    {
        QTest::addColumn<bool>("rhythm");
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("header"); // first message up to its address

        QTest::newRow("temporary performance") << false << int(Temporary) << 1 << 17 << 555
                                               << QByteArray::fromHex("F041106A1201000000");
        QTest::newRow("USER performance 32, unit 32")
            << false << int(User) << 32 << 32 << 555 << QByteArray::fromHex("F0411F6A12101F0000");
        QTest::newRow("part 10's rhythm set") << true << int(Temporary) << 1 << 17 << 4439
                                              << QByteArray::fromHex("F041106A1202090000");
        QTest::newRow("CARD rhythm set 2")
            << true << int(Card) << 2 << 17 << 4439 << QByteArray::fromHex("F041106A1220410000");
    }

    void roundTrips()
    {
        QFETCH(bool, rhythm);
        QFETCH(int, place);
        QFETCH(int, number);
        QFETCH(int, unit);
        QFETCH(int, size);
        QFETCH(QByteArray, header);

        const PerformanceImage perf = randomImage<PerformanceImage>(quint32(number));
        const RhythmImage kit = randomImage<RhythmImage>(quint32(number));
        QByteArray file;
        if (!rhythm)
            file = place == Temporary
                       ? PerformanceSyx::temporaryPerformance(perf, unit)
                       : PerformanceSyx::storedPerformance(perf, place == Card, number, unit);
        else
            file = place == Temporary
                       ? PerformanceSyx::temporaryRhythm(kit, unit)
                       : PerformanceSyx::storedRhythm(kit, place == Card, number, unit);
        QCOMPARE(file.size(), size);
        QCOMPARE(file.left(header.size()), header);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.syx"));
        QVERIFY(PerformanceSyx::write(path, file));
        const PerformanceSyxReport r = PerformanceSyx::read(path);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.skipped, 0);
        QCOMPARE(r.messages, rhythm ? 65 : 17);
        QCOMPARE(bool(r.performance), !rhythm);
        QCOMPARE(bool(r.rhythm), rhythm);
        if (rhythm)
            QCOMPARE(bytesOf(*r.rhythm), bytesOf(kit));
        else
            QCOMPARE(bytesOf(*r.performance), bytesOf(perf));
        // Read back, it is not yet the unit's.
        QVERIFY(rhythm ? !r.rhythm->known(0) : !r.performance->known(0));
    }

    void damagedFilesYieldNothingHalfMade_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("found"); // something addressed to a performance place

        const QByteArray kit = PerformanceSyx::temporaryRhythm(RhythmImage(), 17);
        const QList<QByteArray> notes = sysex::splitMessages(kit);
        QByteArray noKey40 = kit;
        noKey40.remove(kit.indexOf(notes.at(40 - 35 + 1)), notes.at(1).size());
        QTest::newRow("a note missing")
            << noKey40 << false << 0 << "temporary rhythm set: key 40 missing" << true;

        QByteArray badSum = kit;
        const qsizetype at = kit.indexOf(notes.at(2)) + notes.at(2).size() - 2;
        badSum[at] = char(badSum.at(at) ^ 1);
        QTest::newRow("a checksum wrong") << badSum << false << 1 << "message 3: " << true;

        // The name run on past the 12 bytes of the common block.
        const QByteArray runOn =
            sysex::dataSetMessage(0x10, addr::rhythmCommonAddress(0), QByteArray(13, 'A'));
        QTest::newRow("a block run past its end")
            << runOn + kit.mid(notes.at(0).size()) << false << 1 << "runs past the end" << true;

        const QByteArray perf = PerformanceSyx::temporaryPerformance(PerformanceImage(), 17);
        const QByteArray otherName =
            sysex::dataSetMessage(0x10, addr::performanceCommonAddress(0), "Other Name  ");
        QTest::newRow("two copies differ")
            << perf + otherName << false << 0 << "temporary performance: two copies" << true;
        // A patch file is not a performance; a whole performance beside it
        // still reads.
        const QByteArray patch =
            sysex::dataSetMessage(0x10, {0x03, 0x00, 0x00, 0x00}, QByteArray(72, 0x20));
        QTest::newRow("a patch beside a performance")
            << patch + perf << true << 1 << "03 00 00 00 holds no performance" << true;
        QTest::newRow("stray bytes")
            << QByteArray("\x01\x02\x03", 3) << false << 1 << "message 1" << false;
        QTest::newRow("only a patch") << patch << false << 1 << "holds no performance" << false;
    }

    void damagedFilesYieldNothingHalfMade()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, ok);
        QFETCH(int, skipped);
        QFETCH(QString, problem);
        QFETCH(bool, found);

        const PerformanceSyxReport r = PerformanceSyx::parse(file);
        QCOMPARE(r.ok, ok);
        QCOMPARE(r.found, found);
        QCOMPARE(r.skipped, skipped);
        QCOMPARE(bool(r.rhythm), false);
        QVERIFY2(!r.problems.filter(problem).isEmpty(), qPrintable(r.problems.join('\n')));
    }

    // The first whole one of each kind is taken, the others counted.
    void severalInOneFileAreCounted()
    {
        const PerformanceImage first = randomImage<PerformanceImage>(1);
        const RhythmImage kit = randomImage<RhythmImage>(3);
        const QByteArray file =
            PerformanceSyx::storedPerformance(first, false, 4, 17) +
            PerformanceSyx::storedRhythm(kit, true, 2, 17) +
            PerformanceSyx::storedPerformance(randomImage<PerformanceImage>(2), false, 5, 17) +
            PerformanceSyx::temporaryPerformance(first, 17);
        const PerformanceSyxReport r = PerformanceSyx::parse(file);
        QVERIFY(r.ok);
        QCOMPARE(r.performances, 3);
        QCOMPARE(r.rhythms, 1);
        QCOMPARE(bytesOf(*r.performance), bytesOf(first));
        QCOMPARE(bytesOf(*r.rhythm), bytesOf(kit));
    }

    void filesThatAreNoDumpsAreRefused()
    {
        QTemporaryDir dir;
        const PerformanceSyxReport folder = PerformanceSyx::read(dir.path());
        QVERIFY(!folder.ok);
        QVERIFY2(folder.error.contains(QLatin1String("is a folder")), qPrintable(folder.error));

        const QString big = dir.filePath(QStringLiteral("big.syx"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(PerformanceSyx::MaxFileSize + 1));
        f.close();
        const PerformanceSyxReport large = PerformanceSyx::read(big);
        QVERIFY2(large.error.contains(QLatin1String("too large")), qPrintable(large.error));

        const PerformanceSyxReport device = PerformanceSyx::read(QStringLiteral("/dev/zero"));
        QVERIFY2(device.error.contains(QLatin1String("not a regular file")),
                 qPrintable(device.error));
    }
};

QTEST_GUILESS_MAIN(TestPerformanceSyx)
#include "tst_performancesyx.moc"
