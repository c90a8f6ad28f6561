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

    void keys_data()
    {
        QTest::addColumn<KeyCase>("c");
        const KeyCase rows[] = {
            {"page up", Qt::Key_PageUp, 0, 127, 50, 60},
            {"page down", Qt::Key_PageDown, 0, 127, 50, 40},
            {"end", Qt::Key_End, 0, 127, 50, 127},
            {"home", Qt::Key_Home, -12, 12, 3, -12},
            {"up", Qt::Key_Up, 0, 127, 50, 51},
            {"down", Qt::Key_Down, 0, 127, 50, 49},
            {"pad plus", Qt::Key_Plus, 0, 127, 50, 51, Qt::KeypadModifier},
            {"pad minus", Qt::Key_Minus, 0, 127, 50, 49, Qt::KeypadModifier},
            {"main-row plus ignored", Qt::Key_Plus, 0, 127, 50, 50},
            {"insert middle", Qt::Key_Insert, 0, 127, 5, 63},
            {"insert toward zero", Qt::Key_Insert, -63, 0, -5, -31},
            {"insert pan", Qt::Key_Insert, -64, 63, 20, 0},
            {"page up stops at max", Qt::Key_PageUp, 0, 127, 120, 127},
            {"page down stops at min", Qt::Key_PageDown, -12, 12, -8, -12},
            {"page up at max is silent", Qt::Key_PageUp, 0, 127, 127, 127},
            {"down at min is silent", Qt::Key_Down, 0, 127, 0, 0},
        };
        for (const KeyCase &r : rows)
            QTest::newRow(r.name) << r;
    }

    void keys()
    {
        QFETCH(KeyCase, c);
        reset(c.min, c.max, c.start);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        QTest::keyClick(m_spin, Qt::Key(c.key), c.mods);
        QCOMPARE(m_spin->Value(), c.expected);
        QCOMPARE(change.count(), c.expected != c.start ? 1 : 0);
        QCOMPARE(changing.count(), 0);
    }

    void wheelSteps_data()
    {
        QTest::addColumn<WheelCase>("c");
        for (const WheelCase &r : WheelRows)
            QTest::newRow(r.name) << r;
    }

    // A notch is a completed change, as a key is; the wheel is taken also at
    // a bound so the window behind does not scroll.
    void wheelSteps()
    {
        QFETCH(WheelCase, c);
        reset(c.min, c.max, c.start);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        QVERIFY(wheel(m_spin, c.delta, c.mods));
        QCOMPARE(m_spin->Value(), c.expected);
        QCOMPARE(change.count(), c.expected != c.start ? 1 : 0);
        QCOMPARE(changing.count(), 0);
        if (c.delta % 120 != 0) {
            QVERIFY(wheel(m_spin, c.delta, c.mods)); // the second half completes a notch
            QCOMPARE(m_spin->Value(), c.start + (c.delta > 0 ? 1 : -1));
        }
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
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("expected");
        const int left = Qt::LeftButton;
        const int shift = Qt::ShiftModifier;
        const int ctrl = Qt::ControlModifier;
        using Rows = QList<int>;
        QTest::newRow("down one") << left << 0 << 50 << Rows{12} << 49;
        QTest::newRow("up two") << left << 0 << 50 << Rows{8, 6} << 52;
        QTest::newRow("far move is one step") << left << 0 << 50 << Rows{30} << 49;
        QTest::newRow("pointer held in place keeps stepping")
            << left << 0 << 50 << Rows{11, 11, 11} << 47;
        QTest::newRow("back one row is no step") << left << 0 << 50 << Rows{11, 10} << 49;
        QTest::newRow("sideways only") << left << 0 << 50 << Rows{10} << 50;
        QTest::newRow("shift") << left << shift << 50 << Rows{8} << 55;
        QTest::newRow("ctrl") << left << ctrl << 50 << Rows{12, 13} << 30;
        QTest::newRow("shift ctrl is plain") << left << (shift | ctrl) << 50 << Rows{8} << 51;
        QTest::newRow("right shift is plain")
            << int(Qt::RightButton) << shift << 50 << Rows{8} << 51;
        QTest::newRow("clamped at max") << left << ctrl << 50 << Rows{8, 7, 6, 5, 4, 3} << 100;
        QTest::newRow("against the bound") << left << 0 << 100 << Rows{5} << 100;
    }

    // Steps show while rolling; the one OnChange comes on release, and only
    // when a step was taken.
    void rollSteps()
    {
        QFETCH(int, button);
        QFETCH(int, mods);
        QFETCH(int, start);
        QFETCH(QList<int>, rows);
        QFETCH(int, expected);
        reset(0, 100, start);
        QSignalSpy change(m_spin, &TSpincw0R::OnChange);
        QSignalSpy changing(m_spin, &TSpincw0R::OnChanging);
        const auto m = Qt::KeyboardModifiers(mods);
        QTest::mousePress(m_spin, Qt::MouseButton(button), m, QPoint(35, 10));
        QVERIFY(m_spin->isRolling());
        for (int row : rows)
            QTest::mouseMove(m_spin, QPoint(40, row));
        QCOMPARE(change.count(), 0);
        QCOMPARE(m_spin->Value(), expected);
        QTest::mouseRelease(m_spin, Qt::MouseButton(button), m, QPoint(40, rows.last()));
        QCOMPARE(m_spin->Value(), expected);
        QCOMPARE(change.count(), expected != start ? 1 : 0);
        QCOMPARE(changing.isEmpty(), expected == start);
    }

    // The LED shows a roll in progress; the body shows where the keys go.
    void colours()
    {
        reset(0, 127, 50);
        m_spin->setLedOnCol(QColor(255, 0, 0));
        m_spin->setLedOffCol(QColor(0, 0, 255));
        m_spin->setBKColor(QColor(10, 200, 10));
        m_spin->clearFocus();
        const auto led = [this] { return probe::pixel(*m_spin, m_spin->width() - 8, 11); };
        const auto body = [this] { return probe::pixel(*m_spin, 3, 3); };
        QCOMPARE(led(), QColor(0, 0, 255));
        QCOMPARE(body(), QColor(10, 200, 10));
        QTest::mousePress(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QCOMPARE(led(), QColor(255, 0, 0));
        QCOMPARE(body(), m_spin->palette().color(QPalette::Highlight));
        QTest::mouseRelease(m_spin, Qt::LeftButton, Qt::NoModifier, QPoint(35, 10));
        QCOMPARE(led(), QColor(0, 0, 255));
        m_spin->clearFocus();
        QCOMPARE(body(), QColor(10, 200, 10));
    }

    void textColumnByValue_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
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
