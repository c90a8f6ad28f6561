#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controltestutil.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>

class TestSliders : public QObject
{
    Q_OBJECT

private:
    QWidget m_host;
    TSlidNaVf *m_nav = nullptr;
    TSliddt *m_dt = nullptr;

    static void reset(TSliderBase *s, int min, int max, int pos)
    {
        s->setMinValue(-1000);
        s->setMaxValue(1000);
        s->setPosition(pos);
        s->setMinValue(min);
        s->setMaxValue(max);
    }

    TSliderBase *slider(bool textual) const
    {
        return textual ? static_cast<TSliderBase *>(m_dt) : m_nav;
    }

    static void addKindRows(const char *name, std::function<void(QTestData &)> rest)
    {
        for (bool textual : {false, true}) {
            QTestData &row =
                QTest::newRow(qPrintable(QString(name) + (textual ? " (text)" : " (number)")))
                << textual;
            rest(row);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_nav = new TSlidNaVf(&m_host);
        m_dt = new TSliddt(&m_host);
        m_dt->move(40, 0);
        m_host.resize(100, 160);
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        m_host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_host));
    }

    void positionToThumb_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("row");
        // min, max, position, index, row
        const std::array<int, 5> rows[] = {{0, 127, 127, 0, 20},
                                           {0, 127, 0, 127, 141},
                                           {-64, 63, 63, -64, 20},
                                           {-64, 63, -64, 63, 141},
                                           {-64, 63, 0, -1, 80},
                                           {-12, 12, 6, -6, 20 + 121 * 6 / 24},
                                           {10, 20, 12, 18, 20 + 121 * 8 / 10},
                                           {5, 5, 5, 5, 144}};
        for (const auto &[min, max, pos, index, row] : rows)
            QTest::addRow("%d..%d at %d", min, max, pos) << min << max << pos << index << row;
    }

    void positionToThumb()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, pos);
        QFETCH(int, index);
        QFETCH(int, row);
        reset(m_nav, min, max, pos);
        QCOMPARE(m_nav->Position(), pos);
        QCOMPARE(m_nav->thumbIndex(), index);
        QCOMPARE(m_nav->thumbRow(), row);
    }

    void keys_data()
    {
        QTest::addColumn<bool>("textual");
        QTest::addColumn<KeyCase>("c");
        const KeyCase rows[] = {
            {"page up", Qt::Key_PageUp, 0, 127, 50, 60},
            {"page down", Qt::Key_PageDown, 0, 127, 50, 40},
            {"end", Qt::Key_End, -64, 63, 0, 63},
            {"home", Qt::Key_Home, -64, 63, 0, -64},
            {"up", Qt::Key_Up, 0, 127, 50, 51},
            {"down", Qt::Key_Down, 0, 127, 50, 49},
            {"pad plus", Qt::Key_Plus, 0, 127, 50, 51, Qt::KeypadModifier},
            {"pad minus", Qt::Key_Minus, 0, 127, 50, 49, Qt::KeypadModifier},
            {"pan insert", Qt::Key_Insert, -64, 63, 40, 0},
            {"insert", Qt::Key_Insert, 0, 127, 0, 64},
            {"page up near top", Qt::Key_PageUp, 0, 127, 122, 127},
            {"page up at top", Qt::Key_PageUp, 0, 127, 127, 127},
            {"down at bottom", Qt::Key_Down, -12, 12, -12, -12},
            {"letter", Qt::Key_Q, 0, 127, 50, 50},
        };
        for (const KeyCase &r : rows)
            addKindRows(r.name, [&](QTestData &d) { d << r; });
    }

    // Every key reaches OnKeyDown, moving or not.
    void keys()
    {
        QFETCH(bool, textual);
        QFETCH(KeyCase, c);
        TSliderBase *s = slider(textual);
        reset(s, c.min, c.max, c.start);
        QSignalSpy change(s, &TSliderBase::OnChange);
        QSignalSpy keyDown(s, &TSliderBase::OnKeyDown);
        QTest::keyClick(s, Qt::Key(c.key), c.mods);
        QCOMPARE(s->Position(), c.expected);
        QCOMPARE(s->thumbIndex(), c.max + c.min - c.expected);
        QCOMPARE(change.count(), c.expected != c.start ? 1 : 0);
        QCOMPARE(keyDown.count(), 1);
    }

    void wheelSteps_data()
    {
        QTest::addColumn<bool>("textual");
        QTest::addColumn<WheelCase>("c");
        for (const WheelCase &r : WheelRows)
            addKindRows(r.name, [&](QTestData &d) { d << r; });
    }

    // A notch is a completed change, as a key is; the wheel is taken also at
    // a bound so the window behind does not scroll.
    void wheelSteps()
    {
        QFETCH(bool, textual);
        QFETCH(WheelCase, c);
        TSliderBase *s = slider(textual);
        reset(s, c.min, c.max, c.start);
        QSignalSpy change(s, &TSliderBase::OnChange);
        QSignalSpy changing(s, &TSliderBase::OnChanging);
        QVERIFY(wheel(s, c.delta, c.mods));
        QCOMPARE(s->Position(), c.expected);
        QCOMPARE(s->thumbIndex(), c.max + c.min - c.expected);
        QCOMPARE(change.count(), c.expected != c.start ? 1 : 0);
        QCOMPARE(changing.count(), 0);
        if (c.delta % 120 != 0) {
            QVERIFY(wheel(s, c.delta, c.mods)); // the second half completes a notch
            QCOMPARE(s->Position(), c.start + (c.delta > 0 ? 1 : -1));
        }
    }

    // Out-of-range positions from code are ignored without a word; a lower
    // maximum pulls the position in, which only the text slider announces.
    void settersFromCode()
    {
        for (TSliderBase *s : {slider(false), slider(true)}) {
            reset(s, -64, 63, 20);
            QSignalSpy change(s, &TSliderBase::OnChange);
            s->setPosition(64);
            s->setPosition(-65);
            QCOMPARE(s->Position(), 20);
            QCOMPARE(change.count(), 0);
            s->setPosition(-64);
            QCOMPARE(s->Position(), -64);
            QCOMPARE(change.count(), 1);

            reset(s, 0, 127, 100);
            change.clear();
            s->setMaxValue(90);
            QCOMPARE(s->Position(), 90);
            QCOMPARE(change.count(), s == m_dt ? 1 : 0);
            s->setMaxValue(127); // a position inside the new range stays
            QCOMPARE(s->Position(), 90);
            QCOMPARE(s->thumbIndex(), 37);
        }
    }

    void clicks_data()
    {
        QTest::addColumn<bool>("textual");
        QTest::addColumn<int>("rowOffset");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("drags");
        for (auto [name, off, exp, drag] :
             {std::tuple{"below", 30, 59, false}, std::tuple{"just above grab", -3, 61, false},
              std::tuple{"on the thumb row", 0, 60, true},
              std::tuple{"lowest grab row", 3, 60, true}, std::tuple{"top grab row", -2, 60, true}})
            addKindRows(name, [&](QTestData &d) { d << off << exp << drag; });
    }

    void clicks()
    {
        QFETCH(bool, textual);
        QFETCH(int, rowOffset);
        QFETCH(int, expected);
        QFETCH(bool, drags);
        TSliderBase *s = slider(textual);
        reset(s, 0, 127, 60);
        QSignalSpy change(s, &TSliderBase::OnChange);
        QSignalSpy up(m_dt, &TSliddt::OnMouseUp);
        const QPoint at(s->width() / 2, s->thumbRow() + rowOffset);
        QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(s->isDragging(), drags);
        QCOMPARE(s->Position(), expected);
        QCOMPARE(change.count(), drags ? 0 : 1);
        if (textual)
            QCOMPARE(m_dt->MuisDown(), drags);
        QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(change.count(), drags ? 0 : 1);
        QVERIFY(!m_dt->MuisDown());
        QCOMPARE(up.count(), textual ? 1 : 0);
    }

    void drag_data()
    {
        QTest::addColumn<bool>("textual");
        addKindRows("drag", [](QTestData &) {});
    }

    void drag()
    {
        QFETCH(bool, textual);
        TSliderBase *s = slider(textual);
        reset(s, 0, 127, 64);
        QSignalSpy change(s, &TSliderBase::OnChange);
        QSignalSpy changing(s, &TSliderBase::OnChanging);
        const int x = s->width() / 2;
        const int grab = s->thumbRow() + 2;
        QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, grab));
        QTest::mouseMove(s, QPoint(x, grab + 30));
        // The thumb follows the pointer at the point where it was grabbed.
        QVERIFY(std::abs(s->thumbRow() - (grab + 28)) <= 1);
        QVERIFY(s->Position() < 64);
        QTest::mouseMove(s, QPoint(x, -50));
        QCOMPARE(s->Position(), 127);
        QTest::mouseMove(s, QPoint(x, 500));
        QCOMPARE(s->Position(), 0);
        QCOMPARE(change.count(), 0);
        QCOMPARE(changing.count(), 3);
        if (textual) {
            QVERIFY(m_dt->MuisDown());
            m_dt->setMuisDown(false);
            QVERIFY(m_dt->MuisDown());
        }
        QSignalSpy up(m_dt, &TSliddt::OnMouseUp);
        QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, 500));
        QCOMPARE(change.count(), 1);
        QCOMPARE(up.count(), textual ? 1 : 0);
        QVERIFY(!s->isDragging());

        // A drag that ends where it began, and one whose moves never leave
        // the thumb's index: every move is a drag step, which the number
        // slider reports on release; the text slider only reports a new
        // position.
        const int t = s->thumbRow();
        QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, t));
        QTest::mouseMove(s, QPoint(x, t - 20));
        QTest::mouseMove(s, QPoint(x, t));
        QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, t));
        QCOMPARE(s->Position(), 0);
        QCOMPARE(change.count(), textual ? 1 : 2);
        // 40 sits where several indices share the thumb's row.
        reset(s, 0, 127, 40);
        change.clear();
        changing.clear();
        const int t40 = s->thumbRow();
        QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, t40));
        QTest::mouseMove(s, QPoint(x + 1, t40));
        QTest::mouseMove(s, QPoint(x - 1, t40));
        QCOMPARE(s->Position(), 40);
        QCOMPARE(changing.count(), 2);
        QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, QPoint(x - 1, t40));
        QCOMPARE(change.count(), textual ? 0 : 1);
    }

    // Text past 12 characters is cut, and what is left starts at the left
    // edge of the header rather than being centred out of sight.
    void textAndTicks()
    {
        m_dt->clearFocus();
        m_dt->setText("0123456789ABCDEF");
        QCOMPARE(m_dt->Text(), QString("0123456789AB"));
        const int first = probe::firstInkColumn(probe::image(*m_dt), 2, 30, 2, 13);
        QVERIFY2(first >= 2 && first <= 4, qPrintable(QString::number(first)));
        TSliddt d;
        for (int n : {1, -3}) {
            d.setTicks(n);
            QCOMPARE(d.Ticks(), 2);
        }
        d.setTicks(9);
        QCOMPARE(d.Ticks(), 9);
    }

    void headerColumns_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("column");
        const std::pair<int, int> rows[] = {{100, 3}, {99, 6}, {10, 6},  {9, 9},   {0, 9},
                                            {-1, 7},  {-9, 7}, {-10, 5}, {-99, 5}, {-100, 2}};
        for (const auto &[position, column] : rows)
            QTest::addRow("%d", position) << position << column;
    }

    void headerColumns()
    {
        QFETCH(int, position);
        QFETCH(int, column);
        QCOMPARE(TSlidNaVf::textColumn(position), column);
        reset(m_nav, -128, 127, position);
        m_nav->clearFocus();
        const int ink = probe::firstInkColumn(probe::image(*m_nav), 2, 22, 2, 13);
        QVERIFY2(ink >= column && ink <= column + 2, qPrintable(QString::number(ink)));
    }

    void textHeaderCentred_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *t : {"L64", " BYPASS ", "1"})
            QTest::newRow(t) << QString(t);
    }

    // Header texts sit in the middle of the box and are never cut off.
    void textHeaderCentred()
    {
        QFETCH(QString, text);
        m_dt->clearFocus();
        m_dt->setText(text);
        const QImage img = probe::image(*m_dt);
        const int right = m_dt->width() - 3;
        const int first = probe::firstInkColumn(img, 2, right, 2, 13);
        const int last = probe::lastInkColumn(img, 2, right, 2, 13);
        QVERIFY(first > 2);
        QVERIFY(last < right);
        const int leftGap = first - 2;
        const int rightGap = right - last;
        QVERIFY2(std::abs(leftGap - rightGap) <= 4,
                 qPrintable(QString("%1 | %2").arg(leftGap).arg(rightGap)));
    }

    void focusHeader()
    {
        reset(m_nav, 0, 127, 50);
        m_nav->setBKColor(QColor(200, 10, 10));
        m_nav->clearFocus();
        QCOMPARE(probe::pixel(*m_nav, 2, 12), QColor(200, 10, 10));
        m_nav->setFocus();
        QCOMPARE(probe::pixel(*m_nav, 2, 12), m_nav->palette().color(QPalette::Highlight));
        m_nav->clearFocus();
        QCOMPARE(probe::pixel(*m_nav, 2, 12), QColor(200, 10, 10));
    }
};

QTEST_MAIN(TestSliders)
#include "tst_sliders.moc"
