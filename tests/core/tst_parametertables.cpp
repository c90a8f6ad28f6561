// The performance and rhythm parameter tables against the unit's memory map:
// every byte of each block belongs to exactly one row, the rows' ranges and
// the disputed values follow the map's choices, value texts and the packing
// of nibble pairs and groups.

#include "core/performanceparams.h"
#include "core/rhythmparams.h"

#include <QSet>
#include <QTest>

namespace {
ParameterTable tableNamed(const QString &name)
{
    if (name == QLatin1String("performance common"))
        return PerformanceParams::common();
    if (name == QLatin1String("performance part"))
        return PerformanceParams::part();
    if (name == QLatin1String("rhythm common"))
        return RhythmParams::common();
    return RhythmParams::note();
}
} // namespace

class TestParameterTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tablesCoverTheirBlocks_data();
    void tablesCoverTheirBlocks();
    void rangesFollowTheMap_data();
    void rangesFollowTheMap();
    void valueTexts_data();
    void valueTexts();
    void packing_data();
    void packing();
};

void TestParameterTables::tablesCoverTheirBlocks_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("size");
    QTest::newRow("performance common") << "performance common" << 0x40;
    QTest::newRow("performance part") << "performance part" << 0x13;
    QTest::newRow("rhythm common") << "rhythm common" << 12;
    QTest::newRow("rhythm note") << "rhythm note" << 0x3A;
}

// Rows in offset order, each starting where the one before ended, so a
// mistyped offset or width shows as a gap or an overlap.
void TestParameterTables::tablesCoverTheirBlocks()
{
    QFETCH(QString, table);
    QFETCH(int, size);
    int next = 0;
    QSet<QByteArray> names;
    for (const ParameterDef &p : tableNamed(table)) {
        QVERIFY2(p.offset == next, p.name);
        QVERIFY2(p.min <= p.max, p.name);
        QVERIFY2(!names.contains(p.name), p.name);
        names.insert(p.name);
        if (p.kind == ParameterDef::Kind::List)
            QVERIFY2(ParameterTexts::texts(p.texts).size() > p.max, p.name);
        next += p.size();
    }
    QCOMPARE(next, size);
}

void TestParameterTables::rangesFollowTheMap_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("shownMin");
    QTest::addColumn<int>("shownMax");
    const auto row = [](const char *tag, const char *table, const char *name, int offset, int min,
                        int max, int shownMin, int shownMax) {
        QTest::newRow(tag) << QString::fromLatin1(table) << QString::fromLatin1(name) << offset
                           << min << max << shownMin << shownMax;
    };
    // The first effect parameter takes the whole byte, not the name's range.
    row("effect parameter 1", "performance common", "SpEfxParam1", 0x0E, 0, 127, 0, 127);
    row("effect depth", "performance common", "SpEfxDepth2", 0x21, 0, 126, -63, 63);
    row("tempo", "performance common", "SpPerfTempo", 0x2D, 20, 250, 20, 250);
    row("voice reserve 16", "performance common", "SpReserve16", 0x3F, 0, 64, 0, 64);
    row("receive channel", "performance part", "SpChan", 0x01, 0, 15, 1, 16);
    // 001..255 on the JV-1080, whatever later models accept.
    row("patch number", "performance part", "SpPatch", 0x04, 0, 254, 1, 255);
    row("coarse tune", "performance part", "SpCoarse", 0x08, 0, 96, -48, 48);
    row("fine tune", "performance part", "SpFine", 0x09, 0, 100, -50, 50);
    row("part output", "performance part", "CbOutput", 0x0A, 0, 4, 0, 4);
    row("key upper", "performance part", "CbKeyHi", 0x12, 0, 127, 0, 127);
    // OFF and 1..31, not 32.
    row("mute group", "rhythm note", "CbMuteGroup", 0x07, 0, 31, 0, 31);
    row("pitch env depth", "rhythm note", "SpPEnvDepth", 0x0F, 0, 24, -12, 12);
    row("velocity sens", "rhythm note", "CbPEnvVelo", 0x10, 0, 125, 0, 125);
    row("filter env level", "rhythm note", "SpFEnvL4", 0x28, 0, 127, 0, 127);
    row("alternate pan", "rhythm note", "SpAltPan", 0x35, 1, 127, -63, 63);
    row("reverb send", "rhythm note", "SpRevSend", 0x39, 0, 127, 0, 127);
}

void TestParameterTables::rangesFollowTheMap()
{
    QFETCH(QString, table);
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, shownMin);
    QFETCH(int, shownMax);
    const ParameterDef *p = findParameter(tableNamed(table), name.toLatin1().constData());
    QVERIFY(p);
    QCOMPARE(int(p->offset), offset);
    QCOMPARE(p->min, min);
    QCOMPARE(p->max, max);
    QCOMPARE(p->shownMin(), shownMin);
    QCOMPARE(p->shownMax(), shownMax);
}

void TestParameterTables::valueTexts_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    using L = ParameterTexts::List;
    const auto row = [](const char *tag, L list, int value, const char *text) {
        QTest::newRow(tag) << int(list) << value << QString::fromLatin1(text);
    };
    row("velocity sens bottom", L::VelocitySens, 0, "-100");
    row("velocity sens zero", L::VelocitySens, 50, "0");
    row("velocity sens top", L::VelocitySens, 125, "+150");
    row("time sens centre", L::VelocityTimeSens, 7, "0");
    row("time sens top", L::VelocityTimeSens, 14, "+100");
    row("own effect", L::EfxSource, 0, "PERFORM");
    row("effect of part 9", L::EfxSource, 9, "PART 9");
    // Part 10 plays rhythm and can lend no effect.
    row("effect of part 11", L::EfxSource, 10, "PART 11");
    row("effect of part 16", L::EfxSource, 15, "PART 16");
    row("mute group off", L::MuteGroup, 0, "OFF");
    row("mute group 31", L::MuteGroup, 31, "31");
    row("random pitch top", L::PitchDepth, 30, "1200");
    row("damping bypass", L::HfDamp, 17, "BYPASS");
    row("part output patch", L::PartOutput, 4, "PATCH");
    row("past the list", L::WaveGain, 4, "4");
}

void TestParameterTables::valueTexts()
{
    QFETCH(int, list);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(ParameterTexts::text(ParameterTexts::List(list), value), text);
}

void TestParameterTables::packing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("tempo 120") << "SpPerfTempo" << 120 << QByteArray("\x07\x08", 2) << true;
    QTest::newRow("tempo below range") << "SpPerfTempo" << 19 << QByteArray("\x01\x03", 2) << false;
    QTest::newRow("patch 255") << "SpPatch" << 254 << QByteArray("\x0F\x0E", 2) << true;
    QTest::newRow("board 98") << "CbGroup" << (2 << 7 | 98) << QByteArray("\x02\x62", 2) << true;
    QTest::newRow("channel 16") << "SpChan" << 15 << QByteArray("\x0F", 1) << true;
    QTest::newRow("wave 255 of a note") << "SpWaveNo" << 254 << QByteArray("\x0F\x0E", 2) << true;
    QTest::newRow("mute group 32") << "CbMuteGroup" << 32 << QByteArray("\x20", 1) << false;
}

// Encoding a value and reading it back from a block gives the value, and
// the block's bytes are judged by the row's range.
void TestParameterTables::packing()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const QByteArray n = name.toLatin1();
    const ParameterDef *p = findParameter(PerformanceParams::common(), n.constData());
    if (!p)
        p = findParameter(PerformanceParams::part(), n.constData());
    if (!p)
        p = findParameter(RhythmParams::note(), n.constData());
    QVERIFY(p);
    std::uint8_t block[0x40] = {};
    p->encode(value, block + p->offset);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(block + p->offset), p->size()), bytes);
    QCOMPARE(p->value(block), value);
    QCOMPARE(p->holdsValid(block), valid);
}

QTEST_MAIN(TestParameterTables)
#include "tst_parametertables.moc"
