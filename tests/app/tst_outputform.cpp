// The message log window: its memo rule and its two half-height panels.

#include "app/outputform.h"

#include <QLabel>
#include <QtTest>

class TestOutputForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithHeadings();
    void memoStartsAfresh_data();
    void memoStartsAfresh();
    void countersOutliveTheWindow();
    void panelsShareTheHeight_data();
    void panelsShareTheHeight();
};

void TestOutputForm::startsWithHeadings()
{
    LogLineCounters counters;
    TOutputForm form(counters);
    QCOMPARE(form.windowTitle(), QStringLiteral("View Messages In-Out"));
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("LLastMidiIn"))->text(),
             QStringLiteral("Last Sysex In Message:"));
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Last Sysex Out"));
    QCOMPARE(form.inLines(), (QStringList{"Sysex In:", ""}));
    QCOMPARE(form.outLines(), (QStringList{"Sysex Out:", ""}));
}

void TestOutputForm::memoStartsAfresh_data()
{
    QTest::addColumn<bool>("incoming");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<int>("counter");
    QTest::newRow("one line out") << false << 1 << 3 << "Sysex Out:" << 1;
    QTest::newRow("full memo out") << false << 111 << 113 << "Sysex Out:" << 111;
    QTest::newRow("112th empties out") << false << 112 << 1 << "line 112" << 1;
    QTest::newRow("second round full in") << true << 222 << 111 << "line 112" << 111;
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

void TestOutputForm::panelsShareTheHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("even") << 400;
    QTest::newRow("odd") << 301;
}

void TestOutputForm::panelsShareTheHeight()
{
    QFETCH(int, height);
    LogLineCounters counters;
    TOutputForm form(counters);
    form.resize(500, height);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.height(), height);
    const QWidget *top = form.findChild<QWidget *>(QStringLiteral("Ptop"));
    const QWidget *bottom = form.findChild<QWidget *>(QStringLiteral("Pbott"));
    QCOMPARE(top->geometry(), QRect(0, 0, 500, height / 2));
    QCOMPARE(bottom->y(), height / 2 + 1);
    QCOMPARE(bottom->geometry().bottom(), height - 1);
}

QTEST_MAIN(TestOutputForm)
#include "tst_outputform.moc"
