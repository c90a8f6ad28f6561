#include "core/displaytables.h"

#include <QSet>
#include <QTest>

class TestDisplayTables : public QObject
{
    Q_OBJECT

private:
    template <std::size_t N>
    static void checkTable(const std::array<QString, N> &table, int maxLength)
    {
        QSet<QString> seen;
        for (const QString &text : table) {
            QVERIFY2(!text.isEmpty() && text.size() <= maxLength, qPrintable(text));
            seen.insert(text);
        }
        QCOMPARE(seen.size(), int(N));
    }

private Q_SLOTS:
    void edgeEntries_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const DisplayTables &t = DisplayTables::instance();
        const std::tuple<const char *, QString, const char *> rows[] = {
            {"note 0", t.NoteNames[0], "C-1"},
            {"note 1", t.NoteNames[1], "C#-1"},
            {"note 11", t.NoteNames[11], "B-1"},
            {"note 12", t.NoteNames[12], "C0"},
            {"middle C", t.NoteNames[60], "-C4-"},
            {"note 61", t.NoteNames[61], "C#4"},
            {"note 127", t.NoteNames[127], "G9"},
            {"ctrl 0", t.ControllerNames[0], "Bank-Select"},
            {"ctrl 3", t.ControllerNames[3], "3"},
            {"ctrl 67", t.ControllerNames[67], "Soft-ped."},
            {"ctrl 68", t.ControllerNames[68], "68"},
            {"ctrl 96", t.ControllerNames[96], "Bender"},
            {"ctrl 97", t.ControllerNames[97], "Aftertouch"},
            {"pan 0", t.PanTexts[0], "L64"},
            {"pan 63", t.PanTexts[63], "L1"},
            {"pan 64", t.PanTexts[64], "Cent"},
            {"pan 65", t.PanTexts[65], "1R"},
            {"pan 127", t.PanTexts[127], "63R"},
            {"damp 0", t.HfDampTexts[0], "  200 Hz"},
            {"damp 6", t.HfDampTexts[6], "  800 Hz"},
            {"damp 7", t.HfDampTexts[7], " 1000 Hz"},
            {"damp 17", t.HfDampTexts[17], " BYPASS "},
            {"depth 0", t.PitchDepthTexts[0], "0"},
            {"depth 10", t.PitchDepthTexts[10], "10"},
            {"depth 19", t.PitchDepthTexts[19], "100"},
            {"depth 20", t.PitchDepthTexts[20], "200"},
            {"depth 30", t.PitchDepthTexts[30], "1200"}};
        for (const auto &[name, actual, expected] : rows)
            QTest::newRow(name) << actual << QString(expected);
    }
    void edgeEntries()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void wholeTables()
    {
        const DisplayTables &t = DisplayTables::instance();
        checkTable(t.NoteNames, 4);
        checkTable(t.ControllerNames, 16);
        checkTable(t.PanTexts, 12);
        checkTable(t.HfDampTexts, 12);
        checkTable(t.PitchDepthTexts, 4);
        for (const QString &text : t.HfDampTexts)
            QCOMPARE(text.size(), 8);
        int named = 0;
        for (int n = 0; n < DisplayTables::ControllerCount; ++n)
            named += t.ControllerNames[n] != QString::number(n);
        QCOMPARE(named, 22);
        const auto &depths = t.PitchDepthTexts;
        for (std::size_t i = 1; i < depths.size(); ++i)
            QVERIFY2(depths[i].toInt() > depths[i - 1].toInt(), qPrintable(depths[i]));
    }
};

QTEST_APPLESS_MAIN(TestDisplayTables)
#include "tst_displaytables.moc"
