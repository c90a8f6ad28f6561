#include "core/addressmap.h"
#include "core/effecttables.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

namespace {

// DT1 layout: F0 41 dev 6A 12, four address bytes, data, checksum, F7.
constexpr int AddressStart = 5;
constexpr int DataStart = 9;
constexpr int TrailerSize = 2;
constexpr int EffectBytes = 13; // the type byte and its twelve parameters

struct RealPatch
{
    QString name;
    QByteArray effect; // type byte first
};

// The effect bytes of every common block in the real dumps.
QList<RealPatch> realPatches()
{
    QList<RealPatch> patches;
    const QDir dir(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx"));
    for (const QString &file : dir.entryList({QStringLiteral("*.syx")})) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stream = f.readAll();
        for (qsizetype start = stream.indexOf('\xF0'); start >= 0;
             start = stream.indexOf('\xF0', start + 1)) {
            const qsizetype end = stream.indexOf('\xF7', start);
            if (end < 0)
                break;
            const QByteArray msg = stream.mid(start, end - start + 1);
            const QByteArray data = msg.mid(DataStart, msg.size() - DataStart - TrailerSize);
            if (msg.size() <= DataStart || msg[AddressStart + 2] != addr::BlockCommon ||
                msg[AddressStart + 3] != 0 || data.size() < addr::common::EffectType + EffectBytes)
                continue;
            patches.append(
                {file + QLatin1Char(' ') + QString::fromLatin1(data.left(addr::PatchNameSize)),
                 data.mid(addr::common::EffectType, EffectBytes)});
        }
    }
    return patches;
}

int visibleCount(const EffectTables::Type &type)
{
    return int(std::count_if(type.sliders.begin(), type.sliders.end(),
                             [](const EffectTables::Slot &s) { return s.visible(); }));
}

} // namespace

class TestEffectTables : public QObject
{
    Q_OBJECT

    const EffectTables &t = EffectTables::instance();

private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        // The required edges, plus each stepped list's change of step.
        const std::tuple<int, int, const char *> rows[] = {
            {7, 0, "L 64"},        {7, 64, "Centr"},      {7, 127, "63 R"},
            {8, 54, "980 Hz."},    {8, 55, "1000 Hz."},   {9, 0, "    0.05"},
            {9, 99, "    5.00"},   {9, 100, "    5.10"},  {9, 119, "    7.00"},
            {9, 125, "   10.00"},  {16, 50, "    5.00"},  {16, 51, "    5.50"},
            {16, 61, "   11.00"},  {16, 101, "   52.00"}, {16, 125, "  100.00"},
            {19, 0, "D100:0E"},    {19, 50, "D50:50E"},   {20, 90, "180°"},
            {22, 0, "-98 %"},      {23, 80, "    4.10"},  {23, 115, "    9.60"},
            {23, 116, "1/16"},     {23, 125, "1/2"},      {24, 91, "   50.00"},
            {24, 117, "  320.00"}, {24, 126, "  500.00"}, {27, 17, "ByPass"},
            {28, 69, "545ms"},     {28, 70, "550ms"},     {28, 115, "1000ms"},
            {28, 116, "1/16"},     {31, 0, "-100"},       {33, 100, "A0:100B"},
        };
        for (const auto &[list, index, expected] : rows)
            QTest::addRow("V%d[%d]", list, index) << list << index << QString::fromUtf8(expected);
    }
    void entries()
    {
        QFETCH(int, list);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(t.text(list, index), expected);
    }

    void listLengths()
    {
        const int lengths[EffectTables::ListCount] = {
            2,  2, 31, 17,  5,   128, 4, 128, 126, 126, 5,  2,   16, 2,   4, 4, 126, 21, 41, 101,
            91, 3, 99, 126, 127, 2,   2, 18,  126, 116, 37, 101, 5,  101, 6, 4, 100, 1,  2,
        };
        const QSet<int> decimalLists = {9, 16, 23, 24};
        for (int v = 0; v < EffectTables::ListCount; ++v) {
            const QStringList &list = t.list(v);
            QCOMPARE(list.size(), lengths[v]);
            QCOMPARE(t.listSize(v), lengths[v]);
            if (v != EffectTables::HiddenList)
                QVERIFY2(QSet<QString>(list.begin(), list.end()).size() == list.size(),
                         qPrintable(QStringLiteral("V%1 repeats a text").arg(v)));
            for (const QString &text : list) {
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QStringLiteral("V%1").arg(v)));
                if (decimalLists.contains(v) && !text.contains(QLatin1Char('/'))) // not a note
                    QCOMPARE(text.size(), 8);
            }
        }
    }

    void visibleSlots_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("hiddenSlot"); // 1..12, 0: none
        QTest::newRow("Stereo-EQ") << 0 << 11 << 11;
        QTest::newRow("Overdrive") << 1 << 6 << 3;
        QTest::newRow("Modulation-Delay") << 17 << 12 << 0;
    }
    void visibleSlots()
    {
        QFETCH(int, type);
        QFETCH(int, count);
        QFETCH(int, hiddenSlot);
        QCOMPARE(visibleCount(t.type(type)), count);
        if (hiddenSlot) {
            const EffectTables::Slot &s = t.slot(type, hiddenSlot - 1);
            QVERIFY(!s.visible());
            QCOMPARE(s.label, QStringLiteral(" "));
        }
    }

    // Slots whose byte, list or spelling was once wrong.
    void mendedSlots_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("offset");
        QTest::newRow("Rotary Separation") << 7 << 6 << "Separation" << 5 << 10;
        QTest::newRow("Hexa-Chorus Rate") << 10 << 2 << "Rate" << 9 << 2;
        QTest::newRow("Hexa-Chorus Depth") << 10 << 3 << "Depth" << 5 << 3;
        QTest::newRow("Limiter Threshold") << 9 << 1 << "Threshold" << 5 << 1;
    }
    void mendedSlots()
    {
        QFETCH(int, type);
        QFETCH(int, slot);
        QFETCH(QString, label);
        QFETCH(int, list);
        QFETCH(int, offset);
        const EffectTables::Slot &s = t.slot(type, slot - 1);
        QCOMPARE(s.label, label);
        QCOMPARE(s.list, list);
        QCOMPARE(s.offset, offset);
    }

    // Every type names itself by number, and each parameter byte is edited
    // by exactly one slider whose list the byte can hold.
    void layoutIsConsistent()
    {
        QCOMPARE(t.typeNames().size(), EffectTables::TypeCount);
        for (int type = 0; type < EffectTables::TypeCount; ++type) {
            const EffectTables::Type &layout = t.type(type);
            QVERIFY2(layout.name.startsWith(
                         QStringLiteral("%1: ").arg(type + 1, 2, 10, QLatin1Char('0'))),
                     qPrintable(layout.name));
            QCOMPARE(t.typeName(type), layout.name);
            QVERIFY(!layout.control1Label.isEmpty() && !layout.control2Label.isEmpty());
            QSet<int> offsets;
            for (const EffectTables::Slot &s : layout.sliders) {
                if (!s.visible())
                    continue;
                const QString where = layout.name + QLatin1Char(' ') + s.label;
                QVERIFY2(s.offset >= 1 && s.offset <= EffectTables::SlotCount, qPrintable(where));
                QVERIFY2(!offsets.contains(s.offset),
                         qPrintable(where + QStringLiteral(" shares its byte")));
                offsets.insert(s.offset);
                QVERIFY2(t.listSize(s.list) >= 2 && t.listSize(s.list) <= 128, qPrintable(where));
            }
        }
    }

    // No lookup ever reads outside a table.
    void lookupsOutsideTables()
    {
        for (int typeByte : {40, 127, -1}) {
            QVERIFY(!EffectTables::isKnownType(typeByte));
            QCOMPARE(visibleCount(t.type(typeByte)), 0);
            QCOMPARE(t.typeName(typeByte), QString::number(typeByte));
            for (int s = -1; s <= EffectTables::SlotCount; ++s)
                QCOMPARE(t.slot(typeByte, s).offset, 0);
        }
        QVERIFY(t.text(EffectTables::ListCount, 0).isEmpty());
        QVERIFY(t.text(-1, 0).isEmpty());
        QVERIFY(t.text(9, 126).isEmpty());
        QVERIFY(t.text(9, -1).isEmpty());
        QCOMPARE(t.listSize(EffectTables::ListCount), 0);
        QVERIFY(!t.slot(0, EffectTables::SlotCount).visible());
        // A stale byte past a short list reads as a plain number.
        QCOMPARE(t.valueText(0, 6, 1), QStringLiteral(" 400 Hz"));
        QCOMPARE(t.valueText(0, 6, 5), QStringLiteral(" 5"));
        QCOMPARE(t.valueText(0, 6, 200), QString());
    }

    void realPatchesFitTheirLists()
    {
        const QList<RealPatch> patches = realPatches();
        QVERIFY2(patches.size() >= 46, qPrintable(QString::number(patches.size())));
        QSet<int> typesSeen;
        for (const RealPatch &p : patches) {
            const int type = p.effect[0];
            QVERIFY2(EffectTables::isKnownType(type), qPrintable(p.name));
            typesSeen.insert(type);
            for (const EffectTables::Slot &s : t.type(type).sliders) {
                if (!s.visible())
                    continue;
                const int value = p.effect[s.offset];
                QVERIFY2(value < t.listSize(s.list),
                         qPrintable(QStringLiteral("%1: %2 %3 = %4")
                                        .arg(p.name, t.typeName(type), s.label)
                                        .arg(value)));
            }
        }
        QVERIFY(typesSeen.size() > 10);
    }
};

QTEST_GUILESS_MAIN(TestEffectTables)
#include "tst_effecttables.moc"
