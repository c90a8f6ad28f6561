#include "controls/spincw0r.h"
#include "controltestutil.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestSpin : public QObject
{
    Q_OBJECT

private:
    QWidget m_host;
    TSpincw0R *m_spin = nullptr;

    void reset(int min, int max, int value)
    {
        m_spin->setMinValue(-1000);
        m_spin->setMaxValue(1000);
        m_spin->setValue(value);
        m_spin->setMinValue(min);
        m_spin->setMaxValue(max);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_spin = new TSpincw0R(&m_host);
        m_host.resize(120, 60);
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        m_host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_host));
    }

    void constructorDefaults()
    {
        TSpincw0R s;
        QCOMPARE(s.size(), QSize(44, 22));
        QCOMPARE(s.Value(), 0);
        QCOMPARE(s.MinValue(), 0);
        QCOMPARE(s.MaxValue(), 127);
        QCOMPARE(s.LedOnCol(), QColor(255, 0, 0));
        QCOMPARE(s.LedOffCol(), QColor(128, 128, 128));
        QCOMPARE(s.CMinColor(), QColor(128, 128, 0));
        s.setPanelwidth(7);
        QCOMPARE(s.Panelwidth(), 2);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("fires");
        const int none = Qt::NoModifier;
        const int pad = Qt::KeypadModifier;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << none << 0 << 127 << 50 << 60 << true;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << none << 0 << 127 << 50 << 40 << true;
        QTest::newRow("end") << int(Qt::Key_End) << none << 0 << 127 << 50 << 127 << true;
        QTest::newRow("home") << int(Qt::Key_Home) << none << -12 << 12 << 3 << -12 << true;
        QTest::newRow("up") << int(Qt::Key_Up) << none << 0 << 127 << 50 << 51 << true;
        QTest::newRow("down") << int(Qt::Key_Down) << none << 0 << 127 << 50 << 49 << true;
        QTest::newRow("pad plus") << int(Qt::Key_Plus) << pad << 0 << 127 << 50 << 51 << true;
        QTest::newRow("pad minus") << int(Qt::Key_Minus) << pad << 0 << 127 << 50 << 49 << true;
        QTest::newRow("main-row plus ignored")
            << int(Qt::Key_Plus) << none << 0 << 127 << 50 << 50 << false;
        QTest::newRow("insert middle")
            << int(Qt::Key_Insert) << none << 0 << 127 << 5 << 63 << true;
        QTest::newRow("insert toward zero")
            << int(Qt::Key_Insert) << none << -63 << 0 << -5 << -31 << true;
        QTest::newRow("insert pan") << int(Qt::Key_Insert) << none << -64 << 63 << 20 << 0 << true;
        QTest::newRow("page up stops at max")
            << int(Qt::Key_PageUp) << none << 0 << 127 << 120 << 127 << true;
        QTest::newRow("page down stops at min")
            << int(Qt::Key_PageDown) << none << -12 << 12 << -8 << -12 << true;
        QTest::newRow("page up at max is silent")
            << int(Qt::Key_PageUp) << none << 0 << 127 << 127 << 127 << false;
        QTest::newRow("down at min is silent")
            << int(Qt::Key_Down) << none << 0 << 127 << 0 << 0 << false;
        QTest::newRow("end at max is silent")
            << int(Qt::Key_End) << none << 0 << 127 << 127 << 127 << false;
        QTest::newRow("letter") << int(Qt::Key_A) << none << 0 << 127 << 50 << 50 << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, start);
        QFETCH(int, expected);
        QFETCH(bool, fires);
        reset(min, max, start);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        QTest::keyClick(m_spin, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(m_spin->Value(), expected);
        QCOMPARE(change.count(), fires ? 1 : 0);
        QCOMPARE(changing.count(), 0);
    }

    void settersFromCode()
    {
        reset(0, 127, 10);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        m_spin->setValue(10); // same value still announces: screens rely on it
        m_spin->setValue(500);
        QCOMPARE(m_spin->Value(), 127);
        m_spin->setValue(-3);
        QCOMPARE(m_spin->Value(), 0);
        QCOMPARE(change.count(), 3);
        QCOMPARE(change.first().first().value<TSpincw0R *>(), m_spin);

        change.clear();
        m_spin->setValue(100);
        m_spin->setMaxValue(90);
        QCOMPARE(m_spin->Value(), 90);
        m_spin->setMinValue(95);
        QCOMPARE(m_spin->Value(), 95);
        QCOMPARE(change.count(), 1);
    }

    void pressOutsideRollZone_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("rolls");
        QTest::newRow("left of zone") << QPoint(26, 10) << false;
        QTest::newRow("first zone column") << QPoint(27, 10) << true;
        QTest::newRow("top row") << QPoint(35, 0) << false;
        QTest::newRow("on the led") << QPoint(38, 10) << true;
    }

    void pressOutsideRollZone()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, rolls);
        reset(0, 127, 50);
        m_spin->clearFocus();
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QTest::mousePress(m_spin, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(m_spin->hasFocus());
        QCOMPARE(m_spin->isRolling(), rolls);
        QTest::mouseMove(m_spin, at + QPoint(0, 5));
        QTest::mouseRelease(m_spin, Qt::LeftButton, Qt::NoModifier, at + QPoint(0, 5));
        QCOMPARE(m_spin->Value(), rolls ? 49 : 50);
        QCOMPARE(change.count(), rolls ? 1 : 0);
        QVERIFY(!m_spin->isRolling());
    }

    void pressMovesFocusToPartner()
    {
        QLineEdit partner(&m_host);
        partner.move(60, 30);
        partner.show();
        m_spin->setFocusControl(&partner);
        QTest::mouseClick(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QVERIFY(partner.hasFocus());
        m_spin->setFocusControl(nullptr);
    }

    void rollSteps_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("expected");
        const int left = Qt::LeftButton;
        QTest::newRow("down one") << left << 0 << QList<int>{12} << 49;
        QTest::newRow("up two") << left << 0 << QList<int>{8, 6} << 52;
        QTest::newRow("far move is one step") << left << 0 << QList<int>{30} << 49;
        QTest::newRow("pointer held in place keeps stepping")
            << left << 0 << QList<int>{11, 11, 11} << 47;
        QTest::newRow("back one row is no step") << left << 0 << QList<int>{11, 10} << 49;
        QTest::newRow("shift") << left << int(Qt::ShiftModifier) << QList<int>{8} << 55;
        QTest::newRow("ctrl") << left << int(Qt::ControlModifier) << QList<int>{12, 13} << 30;
        QTest::newRow("shift ctrl is plain")
            << left << int(Qt::ShiftModifier | Qt::ControlModifier) << QList<int>{8} << 51;
        QTest::newRow("right shift is plain")
            << int(Qt::RightButton) << int(Qt::ShiftModifier) << QList<int>{8} << 51;
        QTest::newRow("clamped at max")
            << left << int(Qt::ControlModifier) << QList<int>{8, 7, 6, 5, 4, 3} << 100;
    }

    void rollSteps()
    {
        QFETCH(int, button);
        QFETCH(int, mods);
        QFETCH(QList<int>, rows);
        QFETCH(int, expected);
        reset(0, 100, 50);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        const auto m = Qt::KeyboardModifiers(mods);
        QTest::mousePress(m_spin, Qt::MouseButton(button), m, QPoint(35, 10));
        QVERIFY(m_spin->isRolling());
        for (int row : rows)
            QTest::mouseMove(m_spin, QPoint(35, row));
        QCOMPARE(change.count(), 0);
        QCOMPARE(m_spin->Value(), expected);
        QTest::mouseRelease(m_spin, Qt::MouseButton(button), m, QPoint(35, rows.last()));
        QCOMPARE(m_spin->Value(), expected);
        QCOMPARE(change.count(), 1);
        QVERIFY(changing.count() >= 1);
    }

    void releaseWithoutStepIsSilent()
    {
        reset(0, 127, 50);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        QTest::mousePress(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QTest::mouseMove(m_spin, QPoint(40, 10)); // sideways only
        QTest::mouseRelease(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
        QCOMPARE(change.count(), 0);
        QCOMPARE(changing.count(), 0);

        // Rolling against the bound changes nothing either.
        reset(0, 127, 127);
        change.clear();
        QTest::mousePress(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QTest::mouseMove(m_spin, QPoint(35, 5));
        QTest::mouseRelease(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 5));
        QCOMPARE(change.count(), 0);
    }

    void ledColourWhileRolling()
    {
        reset(0, 127, 50);
        m_spin->setLedOnCol(QColor(255, 0, 0));
        m_spin->setLedOffCol(QColor(0, 0, 255));
        const QPoint led(m_spin->width() - 8, m_spin->height() / 2);
        QCOMPARE(probe::pixel(*m_spin, led.x(), led.y()), QColor(0, 0, 255));
        QTest::mousePress(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QCOMPARE(probe::pixel(*m_spin, led.x(), led.y()), QColor(255, 0, 0));
        QTest::mouseRelease(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QCOMPARE(probe::pixel(*m_spin, led.x(), led.y()), QColor(0, 0, 255));
    }

    void focusColours()
    {
        m_spin->setBKColor(QColor(10, 200, 10));
        m_spin->clearFocus();
        QCOMPARE(probe::pixel(*m_spin, 3, 3), QColor(10, 200, 10));
        m_spin->setFocus();
        QCOMPARE(probe::pixel(*m_spin, 3, 3), m_spin->palette().color(QPalette::Highlight));
        m_spin->clearFocus();
        QCOMPARE(probe::pixel(*m_spin, 3, 3), QColor(10, 200, 10));
    }

    void textColumnByValue_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("one digit right of three digits") << 100 << 5;
        QTest::newRow("two digits right of three") << 100 << 42;
        QTest::newRow("negative right of one digit") << 5 << -5;
    }

    void textColumnByValue()
    {
        QFETCH(int, left);
        QFETCH(int, right);
        reset(-200, 200, left);
        m_spin->clearFocus();
        const int h = m_spin->height();
        const int a = probe::firstInkColumn(probe::image(*m_spin), 2, 28, 3, h - 4);
        m_spin->setValue(right);
        const int b = probe::firstInkColumn(probe::image(*m_spin), 2, 28, 3, h - 4);
        QVERIFY(a > 0);
        QVERIFY2(b > a, qPrintable(QString("%1 then %2").arg(a).arg(b)));
    }
};

QTEST_MAIN(TestSpin)
#include "tst_spincw0r.moc"
