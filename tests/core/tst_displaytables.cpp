#include "core/displaytables.h"

#include <QSet>
#include <QTest>

class TestDisplayTables : public QObject
{
    Q_OBJECT

private:
    template <std::size_t N>
    static void checkTable(const std::array<QString, N> &table, int maxLength, bool unique)
    {
        QSet<QString> seen;
        for (std::size_t i = 0; i < N; ++i) {
            const QString &text = table[i];
            QVERIFY2(!text.isEmpty(), qPrintable(QString::number(i)));
            QVERIFY2(text.size() <= maxLength, qPrintable(text));
            seen.insert(text);
        }
        if (unique)
            QCOMPARE(seen.size(), int(N));
    }

private Q_SLOTS:
    void edgeEntries_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const DisplayTables &t = DisplayTables::instance();
        QTest::newRow("note 0") << t.NoteNames[0] << "C-1";
        QTest::newRow("note 1") << t.NoteNames[1] << "C#-1";
        QTest::newRow("note 11") << t.NoteNames[11] << "B-1";
        QTest::newRow("note 12") << t.NoteNames[12] << "C0";
        QTest::newRow("note 59") << t.NoteNames[59] << "B3";
        QTest::newRow("middle C") << t.NoteNames[60] << "-C4-";
        QTest::newRow("note 61") << t.NoteNames[61] << "C#4";
        QTest::newRow("note 119") << t.NoteNames[119] << "B8";
        QTest::newRow("note 127") << t.NoteNames[127] << "G9";
        QTest::newRow("ctrl 0") << t.ControllerNames[0] << "Bank-Select";
        QTest::newRow("ctrl 3") << t.ControllerNames[3] << "3";
        QTest::newRow("ctrl 9") << t.ControllerNames[9] << "9";
        QTest::newRow("ctrl 12") << t.ControllerNames[12] << "12";
        QTest::newRow("ctrl 67") << t.ControllerNames[67] << "Soft-ped.";
        QTest::newRow("ctrl 68") << t.ControllerNames[68] << "68";
        QTest::newRow("ctrl 90") << t.ControllerNames[90] << "90";
        QTest::newRow("ctrl 96") << t.ControllerNames[96] << "Bender";
        QTest::newRow("ctrl 97") << t.ControllerNames[97] << "Aftertouch";
        QTest::newRow("pan 0") << t.PanTexts[0] << "L64";
        QTest::newRow("pan 63") << t.PanTexts[63] << "L1";
        QTest::newRow("pan 64") << t.PanTexts[64] << "Cent";
        QTest::newRow("pan 65") << t.PanTexts[65] << "1R";
        QTest::newRow("pan 127") << t.PanTexts[127] << "63R";
        QTest::newRow("damp 0") << t.HfDampTexts[0] << "  200 Hz";
        QTest::newRow("damp 6") << t.HfDampTexts[6] << "  800 Hz";
        QTest::newRow("damp 7") << t.HfDampTexts[7] << " 1000 Hz";
        QTest::newRow("damp 17") << t.HfDampTexts[17] << " BYPASS ";
        QTest::newRow("depth 0") << t.PitchDepthTexts[0] << "0";
        QTest::newRow("depth 9") << t.PitchDepthTexts[9] << "9";
        QTest::newRow("depth 10") << t.PitchDepthTexts[10] << "10";
        QTest::newRow("depth 19") << t.PitchDepthTexts[19] << "100";
        QTest::newRow("depth 20") << t.PitchDepthTexts[20] << "200";
        QTest::newRow("depth 30") << t.PitchDepthTexts[30] << "1200";
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
        checkTable(t.NoteNames, 4, true);
        checkTable(t.ControllerNames, 16, true);
        checkTable(t.PanTexts, 12, true);
        checkTable(t.HfDampTexts, 12, true);
        checkTable(t.PitchDepthTexts, 4, true);
        for (const QString &text : t.HfDampTexts)
            QCOMPARE(text.size(), 8);
        int named = 0;
        for (int n = 0; n < DisplayTables::ControllerCount; ++n)
            named += t.ControllerNames[n] != QString::number(n);
        QCOMPARE(named, 22);
    }

    void pitchDepthsRise()
    {
        const auto &depths = DisplayTables::instance().PitchDepthTexts;
        for (std::size_t i = 1; i < depths.size(); ++i)
            QVERIFY2(depths[i].toInt() > depths[i - 1].toInt(), qPrintable(depths[i]));
    }

    void rebuildingGivesSameContents()
    {
        const DisplayTables fresh;
        const DisplayTables &shared = DisplayTables::instance();
        QCOMPARE(&shared, &DisplayTables::instance());
        QVERIFY(fresh.NoteNames == shared.NoteNames);
        QVERIFY(fresh.ControllerNames == shared.ControllerNames);
        QVERIFY(fresh.PanTexts == shared.PanTexts);
    }
};

QTEST_APPLESS_MAIN(TestDisplayTables)
#include "tst_displaytables.moc"
