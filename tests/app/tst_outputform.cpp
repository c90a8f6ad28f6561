// The message log window: each memo starts afresh after a bounded number of lines.

#include "app/outputform.h"

#include <QtTest>

class TestOutputForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void memoStartsAfresh_data();
    void memoStartsAfresh();
    void countersOutliveTheWindow();
};

void TestOutputForm::memoStartsAfresh_data()
{
    QTest::addColumn<bool>("incoming");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<int>("counter");
    QTest::newRow("full memo out") << false << 111 << 113 << "Sysex Out:" << 111;
    QTest::newRow("112th empties out") << false << 112 << 1 << "line 112" << 1;
    QTest::newRow("third round in") << true << 223 << 1 << "line 223" << 1;
}

void TestOutputForm::memoStartsAfresh()
{
    QFETCH(bool, incoming);
    QFETCH(int, added);
    QFETCH(int, lineCount);
    QFETCH(QString, firstLine);
    QFETCH(int, counter);
    LogLineCounters counters;
    TOutputForm form(counters);
    for (int i = 1; i <= added; ++i) {
        const QString line = QStringLiteral("line %1").arg(i);
        incoming ? form.AddInLog(line) : form.AddOutLog(line);
    }
    const QStringList lines = incoming ? form.inLines() : form.outLines();
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(lines.first(), firstLine);
    QCOMPARE(lines.last(), QStringLiteral("line %1").arg(added));
    QCOMPARE(incoming ? counters.in : counters.out, counter);
    // The other memo is untouched.
    QCOMPARE((incoming ? form.outLines() : form.inLines()).size(), 2);
}

void TestOutputForm::countersOutliveTheWindow()
{
    LogLineCounters counters;
    {
        TOutputForm first(counters);
        for (int i = 0; i < 110; ++i)
            first.AddOutLog(QStringLiteral("x"));
    }
    TOutputForm second(counters);
    second.AddOutLog(QStringLiteral("111th"));
    QCOMPARE(second.outLines(), (QStringList{"Sysex Out:", "", "111th"}));
    second.AddOutLog(QStringLiteral("112th"));
    QCOMPARE(second.outLines(), QStringList{"112th"});
}

QTEST_MAIN(TestOutputForm)
#include "tst_outputform.moc"
