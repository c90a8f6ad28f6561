// The drop-down list that ignores a passing wheel and refuses greyed rows.

#include "controls/focuscombobox.h"
#include "controltestutil.h"

#include <QSignalSpy>
#include <QTest>

class TestFocusComboBox : public QObject
{
    Q_OBJECT

private:
    QWidget m_host;
    TFocusComboBox *m_list = nullptr;
    QWidget *m_other = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        m_list = new TFocusComboBox(&m_host);
        m_list->addItems({"A", "B", "gap 1", "gap 2", "C"});
        m_list->setRowSelectable(2, false);
        m_list->setRowSelectable(3, false);
        m_other = new QWidget(&m_host);
        m_other->setFocusPolicy(Qt::StrongFocus);
        m_other->move(0, 40);
        m_host.resize(200, 80);
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        m_host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_host));
    }

    void choices_data()
    {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("delta"); // wheel angle, or 0 for the Down key
        QTest::addColumn<int>("expected");

        QTest::newRow("wheel passing by") << false << 1 << -120 << 1;
        QTest::newRow("wheel when focused") << true << 0 << -120 << 1;
        QTest::newRow("wheel skips greyed rows down") << true << 1 << -120 << 4;
        QTest::newRow("wheel skips greyed rows up") << true << 4 << 120 << 1;
        QTest::newRow("key skips greyed rows") << true << 1 << 0 << 4;
    }

    void choices()
    {
        QFETCH(bool, focused);
        QFETCH(int, start);
        QFETCH(int, delta);
        QFETCH(int, expected);

        m_list->setCurrentIndex(start);
        (focused ? static_cast<QWidget *>(m_list) : m_other)->setFocus();
        QTRY_COMPARE(m_list->hasFocus(), focused);
        QSignalSpy chosen(m_list, &QComboBox::activated);
        if (delta != 0)
            QCOMPARE(wheel(m_list, delta), focused);
        else
            QTest::keyClick(m_list, Qt::Key_Down);
        QCOMPARE(m_list->currentIndex(), expected);
        QCOMPARE(chosen.count(), expected != start ? 1 : 0);
        QVERIFY(!m_list->hasFocus() || focused); // the wheel never takes the focus
    }

    void greyedRowsStayReachableFromCode()
    {
        QVERIFY(!m_list->isRowSelectable(2));
        QVERIFY(m_list->isRowSelectable(4));
        QVERIFY(!m_list->isRowSelectable(9));
        m_list->setCurrentIndex(3);
        QCOMPARE(m_list->currentIndex(), 3);
        m_list->setRowSelectable(3, true);
        QVERIFY(m_list->isRowSelectable(3));
        m_list->setRowSelectable(3, false);
    }
};

QTEST_MAIN(TestFocusComboBox)
#include "tst_focuscombobox.moc"
