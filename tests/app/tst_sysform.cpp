// The system control dialog from the main window: its lists, the request
// when it is made, and the data sets of the user's choices.

#include "app/sysform.h"
#include "transferrig.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}
QList<QByteArray> sysexOnly(const QList<QByteArray> &received)
{
    QList<QByteArray> out;
    for (const QByteArray &m : received)
        if (!m.isEmpty() && quint8(m[0]) == 0xF0)
            out << m;
    return out;
}
QComboBox *list(QDialog &d, int n)
{
    return d.findChild<QComboBox *>(QStringLiteral("CbSC%1").arg(n));
}
const QByteArray Request = hex("F0 41 10 6A 11 00 00 00 12 00 00 00 02 6C F7");
} // namespace

class TestSysForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void rows_data();
    void rows();
    void showsTheUnitsSourcesAndSendsChoices_data();
    void showsTheUnitsSourcesAndSendsChoices();
    void unansweredRequestKeepsTheLockForAWhile();
    void okEndsTheDialogCloseKeepsIt();

private:
    std::unique_ptr<TransferRig> rig;
};

void TestSysForm::init()
{
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    rig->info.messages.clear();
    SynthMemory m = rig->engine().memory();
    m.systemCommon()[addr::system::ControlSource1] = 5;
    m.systemCommon()[addr::system::ControlSource2] = 70;
    rig->engine().setMemory(m);
}

void TestSysForm::cleanup()
{
    rig.reset();
}

void TestSysForm::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    const std::pair<int, const char *> rows[] = {
        {0, "Bank Select"}, {4, "Foot-Type"}, {12, "CC-12"},  {13, "13"},        {16, "General-1"},
        {20, "CC-20"},      {21, "21"},       {63, "63"},     {64, "Hold-1"},    {67, "Soft Pedal"},
        {70, "CC-70"},      {71, "71"},       {79, "79"},     {80, "General-5"}, {84, "CC-84"},
        {85, "85"},         {90, "90"},       {91, "Reverb"}, {95, "Phaser"},    {96, "Bender"},
        {97, "Aftertouch"}};
    for (const auto &[row, text] : rows)
        QTest::addRow("%d", row) << row << QString::fromLatin1(text);
}

void TestSysForm::rows()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    const QStringList names = TSysForm::controlSourceNames();
    QCOMPARE(names.size(), 98);
    QCOMPARE(names[row], text);
}

void TestSysForm::showsTheUnitsSourcesAndSendsChoices_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("aftertouch as source 2")
        << 2 << int(Qt::Key_End) << 97 << hex("F0 41 10 6A 12 00 00 00 13 61 0C F7");
    QTest::newRow("next row as source 1")
        << 1 << int(Qt::Key_Down) << 6 << hex("F0 41 10 6A 12 00 00 00 12 06 68 F7");
    QTest::newRow("first row as source 1")
        << 1 << int(Qt::Key_Home) << 0 << hex("F0 41 10 6A 12 00 00 00 12 00 6E F7");
}

void TestSysForm::showsTheUnitsSourcesAndSendsChoices()
{
    QFETCH(int, which);
    QFETCH(int, key);
    QFETCH(int, stored);
    QFETCH(QByteArray, sent);
    int shown1 = -1, shown2 = -1;
    rig->driveDialogs([&](QDialog &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("  Set System Control"));
        shown1 = list(d, 1)->currentIndex();
        shown2 = list(d, 2)->currentIndex();
        QTest::keyClick(list(d, which), Qt::Key(key));
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QCOMPARE(shown1, 5);
    QCOMPARE(shown2, 70);
    QVERIFY(rig->engine().waitIdle());
    QCOMPARE(sysexOnly(rig->engine().received()), (QList<QByteArray>{Request, sent}));
    const std::uint8_t offset =
        which == 1 ? addr::system::ControlSource1 : addr::system::ControlSource2;
    QCOMPARE(int(rig->state.SystemCommon[offset]), stored);
    QCOMPARE(int(rig->engine().memory().systemCommon()[offset]), stored);
}

// No answer: the lists show what the editor held, and while the request
// keeps SendLock set a choice is only remembered; the lock goes after the
// time-out.
void TestSysForm::unansweredRequestKeepsTheLockForAWhile()
{
    rig->state.UnitId = 18;
    rig->transfer->engine().setTimeoutMs(200);
    rig->state.SystemCommon[addr::system::ControlSource2] = 3;
    int shown2 = -1;
    rig->driveDialogs([&](QDialog &d) {
        shown2 = list(d, 2)->currentIndex();
        QTest::keyClick(list(d, 2), Qt::Key_Down);
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QCOMPARE(shown2, 3);
    QVERIFY(rig->state.SendLock);
    QCOMPARE(int(rig->state.SystemCommon[addr::system::ControlSource2]), 4);
    QVERIFY(rig->engine().waitIdle());
    QCOMPARE(rig->engine().stats().dataSets, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!rig->state.SendLock, 2000);
}

void TestSysForm::okEndsTheDialogCloseKeepsIt()
{
    QPointer<QDialog> first;
    rig->driveDialogs([&](QDialog &d) { first = &d; }); // closed without "Ok"
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    rig->driveDialogs([&](QDialog &d) {
        QCOMPARE(&d, first.data());
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BOK")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
    QVERIFY(!rig->transfer->sysForm());

    QDialog *second = nullptr;
    rig->driveDialogs([&](QDialog &d) { second = &d; });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QVERIFY(second);
    QVERIFY(rig->engine().waitIdle());
    // Made twice, asked twice.
    QCOMPARE(sysexOnly(rig->engine().received()), (QList<QByteArray>{Request, Request}));
}

QTEST_MAIN(TestSysForm)
#include "tst_sysform.moc"
