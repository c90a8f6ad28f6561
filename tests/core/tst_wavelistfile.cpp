#include "core/expansionchoices.h"
#include "core/wavelistfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString ShippedDir = QStringLiteral(TESSIVA_SOURCE_DIR "/data/exp.txt/");
const QString ReferenceDir = QStringLiteral(TESSIVA_TEST_DATA_DIR "/waves/");

struct Shipped
{
    const char *file;
    const char *cbName;
    int group;
    int groupId;
    int maxWaves;
    const char *reference; // wave list the names come from; empty for templates
};

// clang-format off
const Shipped ShippedFiles[] = {
    {"NoWave.txt",   "None",         0, 0,  1,   ""},
    {"P-piano.txt",  "Piano Select", 1, 1,  10,  "SO-PCM1-01_PianoSelections.txt"},
    {"P-gitbrs.txt", "Gtr&Brass",    1, 2,  38,  "SO-PCM1-02_GuitarBrass.txt"},
    {"P-rockdr.txt", "Rock Drums",   1, 3,  90,  "SO-PCM1-03_RockDrums.txt"},
    {"P-gr-pi.txt",  "Grand Piano",  1, 4,  17,  "SO-PCM1-04_GrandPiano.txt"},
    {"P-accord.txt", "Accordion",    1, 5,  255, ""},
    {"P-baroq.txt",  "Baroque",      1, 6,  24,  "SO-PCM1-06_Baroque.txt"},
    {"P-orchfx.txt", "Orch FX",      1, 7,  255, ""},
    {"P-countr.txt", "Country/Folk", 1, 8,  79,  "SO-PCM1-08_CountryFolk.txt"},
    {"P-09.txt",     "09",           1, 9,  255, ""},
    {"P-10.txt",     "10",           1, 10, 255, ""},
    {"P-cust01.txt", "Custom1",      1, 0,  255, ""},
    {"P-cust02.txt", "Custom2",      1, 0,  255, ""},
    {"P-exp01.txt",  "Experience",   2, 99, 19,  "SR-JV80-99_Experience.txt"},
    {"P-exp02.txt",  "Experience2",  2, 98, 27,  "SR-JV80-98_ExperienceII.txt"},
    {"ExpPop.txt",   "Pop",          2, 1,  224, "SR-JV80-01_Pop.txt"},
    {"ExpOrch.txt",  "Orchestral",   2, 2,  174, "SR-JV80-02_Orchestral.txt"},
    {"ExpPiano.txt", "Piano",        2, 3,  73,  "SR-JV80-03_Piano.txt"},
    {"ExpVinta.txt", "VintageSynth", 2, 4,  255, "SR-JV80-04_VintageSynth.txt"},
    {"ExpWorld.txt", "World",        2, 5,  255, "SR-JV80-05_World.txt"},
    {"ExpDance.txt", "Dance",        2, 6,  255, "SR-JV80-06_Dance.txt"},
    {"ExpSpSnd.txt", "SuperSound",   2, 7,  255, "SR-JV80-07_SuperSoundSet.txt"},
    {"ExpKb670.txt", "Keys 60s-70s", 2, 8,  255, "SR-JV80-08_Keys60s70s.txt"},
    {"ExpSessi.txt", "Session",      2, 9,  206, "SR-JV80-09_Session.txt"},
    {"ExpBsDrm.txt", "Bass&Drum",    2, 10, 241, "SR-JV80-10_BassDrum.txt"},
    {"ExpTech.txt",  "Techno",       2, 11, 255, "SR-JV80-11_Techno.txt"},
    {"ExpHipHp.txt", "Hip-Hop",      2, 12, 255, "SR-JV80-12_HipHop.txt"},
    {"ExpVocal.txt", "Vocal",        2, 13, 82,  "SR-JV80-13_Vocal.txt"},
    {"ExpCus01.txt", "Custom1",      2, 0,  255, ""},
    {"ExpCus02.txt", "Custom2",      2, 0,  255, ""},
    {"ExpOrch2.txt", "Experience",   2, 99, 19,  "SR-JV80-99_Experience.txt"},
    {"ExpCus03.txt", "Experience2",  2, 98, 27,  "SR-JV80-98_ExperienceII.txt"},
    {"ExpCus04.txt", "Custom4",      2, 0,  255, ""},
    {"ExpExp01.txt", "Experience",   2, 99, 19,  "SR-JV80-99_Experience.txt"},
    {"ExpExp02.txt", "Experience2",  2, 98, 27,  "SR-JV80-98_ExperienceII.txt"},
    {"ExpAsia.txt",  "Asia",         2, 14, 175, "SR-JV80-14_Asia.txt"},
    {"ExpSpcFX.txt", "Special FX",   2, 15, 248, "SR-JV80-15_SpecialFX.txt"},
    {"ExpOrcII.txt", "Orchestral2",  2, 16, 153, "SR-JV80-16_OrchestralII.txt"},
    {"ExpCntry.txt", "Country",      2, 17, 247, "SR-JV80-17_Country.txt"},
    {"ExpLatin.txt", "Latin",        2, 18, 255, "SR-JV80-18_Latin.txt"},
    {"ExpHouse.txt", "House",        2, 19, 255, "SR-JV80-19_House.txt"},
    {"IntA.txt",     nullptr,        0, 1,  255, "IntA.txt"},
    {"IntB.txt",     nullptr,        0, 2,  193, "IntB.txt"},
};
// clang-format on

// The reference lists hold one name per line after their "[Waves]" line.
QStringList referenceNames(const QString &file)
{
    QFile f(ReferenceDir + file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(lines.indexOf(QStringLiteral("[Waves]")) + 1);
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}
} // namespace

class TestWaveListFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The table below covers the shipped folder, and every choice offered in
    // the options window has a file; only the empty slot reads as "None".
    void everyShippedFileIsListed()
    {
        QStringList listed;
        for (const Shipped &s : ShippedFiles)
            listed << QLatin1String(s.file);
        QStringList shipped = QDir(ShippedDir).entryList({QStringLiteral("*.txt")}, QDir::Files);
        shipped.removeAll(QStringLiteral("README.txt"));
        listed.sort();
        shipped.sort();
        QCOMPARE(shipped, listed);
        for (const auto &list : {ExpansionChoices::pcmCards(), ExpansionChoices::boards()}) {
            for (const ExpansionChoice &c : list) {
                const auto s = std::find_if(
                    std::begin(ShippedFiles), std::end(ShippedFiles),
                    [&](const Shipped &f) { return qstrcmp(f.file, c.fileName) == 0; });
                QVERIFY2(s != std::end(ShippedFiles), c.fileName);
                QCOMPARE(qstrcmp(s->cbName, "None") == 0, qstrcmp(c.entry, "None") == 0);
            }
        }
    }

    void shippedFiles_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(ShippedFiles)); ++i)
            QTest::newRow(ShippedFiles[i].file) << i;
    }
    void shippedFiles()
    {
        QFETCH(int, row);
        const Shipped &s = ShippedFiles[row];
        const QString path = ShippedDir + QLatin1String(s.file);
        QVERIFY2(QLatin1String(s.file).size() <= 12, s.file);
        if (s.cbName) {
            ExpansionSlot slot;
            WaveListFile file(path);
            QVERIFY2(file.readSlot(slot), qPrintable(file.errorString()));
            QCOMPARE(slot.cbName, QLatin1String(s.cbName));
            QCOMPARE(slot.group, s.group);
            QCOMPARE(slot.groupId, s.groupId);
            QCOMPARE(slot.maxWaves, s.maxWaves);
        }
        WaveListFile::NameTable table;
        table.fill(QStringLiteral("stale"));
        WaveListFile file(path);
        QVERIFY2(file.readNames(table), qPrintable(file.errorString()));
        QVERIFY(table[0].isEmpty());
        const QStringList expected = referenceNames(QLatin1String(s.reference));
        QCOMPARE(file.nameCount(), *s.reference ? s.maxWaves : 0);
        QCOMPARE(expected.size(), file.nameCount());
        for (int k = 1; k <= file.nameCount(); ++k)
            QCOMPARE(table[k], expected[k - 1].left(WaveListFile::MaxNameLength));
        for (int k = file.nameCount() + 1; k < int(table.size()); ++k)
            QVERIFY(table[k].isEmpty());
    }

    // After "[Waves]" every line is a name, whatever it looks like; keys the
    // file leaves out take the empty slot's values.
    void namesAreReadAsPlainLines()
    {
        QTemporaryDir dir;
        QByteArray bytes = "; comment\r\n[ExpType]\r\nCbName=\"Odd, name; here\"\r\n"
                           "GroupID=7\r\n[Waves]\r\n"
                           "A;b\r\n#hash\r\n\"Quoted\"\r\nx=y\r\n[odd\r\n\r\nTwo  spaces/+&\r\n"
                           "Seventeen chars!!\r\n";
        for (int i = 9; i <= 300; ++i)
            bytes += "W" + QByteArray::number(i) + "\n";
        WaveListFile file(writeFile(dir, "odd.txt", bytes));
        WaveListFile::NameTable table;
        QVERIFY(file.readNames(table));
        const QStringList first = {"A;b",  "#hash", "\"Quoted\"",     "x=y",
                                   "[odd", "",      "Two  spaces/+&", "Seventeen chars!"};
        for (int k = 1; k <= first.size(); ++k)
            QCOMPARE(table[k], first[k - 1]);
        QCOMPARE(table[255], QStringLiteral("W255"));
        QCOMPARE(file.nameCount(), 255);

        ExpansionSlot slot;
        slot.fileName = QStringLiteral("odd.txt");
        QVERIFY2(file.readSlot(slot), qPrintable(file.errorString()));
        QCOMPARE(slot.cbName, QStringLiteral("Odd, name; h"));
        QCOMPARE(slot.group, WaveListFile::defaultSlot().group);
        QCOMPARE(slot.groupId, 7);
        QCOMPARE(slot.maxWaves, 1);
        QCOMPARE(slot.fileName, QStringLiteral("odd.txt"));
        QVERIFY(WaveListFile(writeFile(dir, "bare.txt", "[Waves]\n")).readSlot(slot));
        QCOMPARE(slot.cbName, QStringLiteral("None"));
    }

    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const std::pair<const char *, const char *> rows[] = {
            {nullptr, "bad.txt: file not found"},
            {"[ExpType]\nGroup=1\nA\nB\n", "no \"[Waves]\" line"},
            {"[ExpType]\nGroup=two\n[Waves]\n", "bad.txt: Group must be a number from 0 to 2"},
            {"[ExpType]\nGroup=3\n[Waves]\n", "bad.txt: Group must be a number from 0 to 2"},
            {"[ExpType]\nGroupID=128\n[Waves]\n",
             "bad.txt: GroupID must be a number from 0 to 127"},
            {"[ExpType]\nMaxwaves=0\n[Waves]\n",
             "bad.txt: Maxwaves must be a number from 1 to 255"},
            {"[ExpType]\nMaxwaves=256\n[Waves]\n",
             "bad.txt: Maxwaves must be a number from 1 to 255"}};
        for (const auto &[bytes, message] : rows)
            QTest::newRow(bytes ? bytes : "missing") << QByteArray(bytes) << QString(message);
    }
    void badFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        WaveListFile file(bytes.isNull() ? dir.filePath("bad.txt")
                                         : writeFile(dir, "bad.txt", bytes));
        WaveListFile::NameTable table;
        table[1] = QStringLiteral("kept");
        // Names are only refused for want of the "[Waves]" line; the numbers
        // are the definition's business.
        const bool namesOk = bytes.contains("[Waves]");
        QCOMPARE(file.readNames(table), namesOk);
        if (!namesOk) {
            QCOMPARE(table[1], QStringLiteral("kept"));
            QVERIFY2(file.errorString().contains(message), qPrintable(file.errorString()));
        }
        // A file without its name list still holds a usable definition.
        ExpansionSlot slot{QStringLiteral("f"), QStringLiteral("Before"), 1, 5, 40};
        if (file.readSlot(slot)) {
            QVERIFY(!bytes.isNull() && !namesOk);
            return;
        }
        QVERIFY2(file.errorString().startsWith(message), qPrintable(file.errorString()));
        QCOMPARE(slot.cbName, QStringLiteral("Before"));
        QCOMPARE(slot.group, 1);
        QCOMPARE(slot.groupId, 5);
        QCOMPARE(slot.maxWaves, 40);
    }
};

QTEST_APPLESS_MAIN(TestWaveListFile)
#include "tst_wavelistfile.moc"
