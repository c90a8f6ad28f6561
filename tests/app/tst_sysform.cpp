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
    void showsTheUnitsSourcesAndSendsChoices_data();
    void showsTheUnitsSourcesAndSendsChoices();
    void unansweredRequestKeepsTheLockForAWhile();

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

void TestSysForm::showsTheUnitsSourcesAndSendsChoices_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("aftertouch as source 2") << 2 << int(Qt::Key_End) << 97 << "Aftertouch"
                                            << hex("F0 41 10 6A 12 00 00 00 13 61 0C F7");
    QTest::newRow("first row as source 1") << 1 << int(Qt::Key_Home) << 0 << "Bank Select"
                                           << hex("F0 41 10 6A 12 00 00 00 12 00 6E F7");
}

void TestSysForm::showsTheUnitsSourcesAndSendsChoices()
{
    QFETCH(int, which);
    QFETCH(int, key);
    QFETCH(int, stored);
    QFETCH(QString, text);
    QFETCH(QByteArray, sent);
    int shown1 = -1, shown2 = -1;
    QString last;
    rig->driveDialogs([&](QDialog &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("  Set System Control"));
        shown1 = list(d, 1)->currentIndex();
        shown2 = list(d, 2)->currentIndex();
        QTest::keyClick(list(d, which), Qt::Key(key));
        last = list(d, which)->currentText();
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QCOMPARE(shown1, 5);
    QCOMPARE(shown2, 70);
    QCOMPARE(last, text);
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

QTEST_MAIN(TestSysForm)
#include "tst_sysform.moc"
