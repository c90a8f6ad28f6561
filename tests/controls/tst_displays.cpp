#include "controls/ledgauge.h"
#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controltestutil.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
int litLeds(const TLEDGauge &g)
{
    int n = 0;
    for (int i = 1; i <= g.Count(); ++i)
        n += g.ledColor(i) != g.OffColor();
    return n;
}
} // namespace

class TestDisplays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panMarker_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("column");
        QTest::newRow("right end") << 70 << 127 << 66;
        QTest::newRow("centre") << 70 << 64 << 35;
        QTest::newRow("left end") << 70 << 0 << 3;
        QTest::newRow("clamped above") << 70 << 400 << 66;
        QTest::newRow("clamped below") << 70 << -9 << 3;
        // A strip laid out wider still uses its whole width.
        QTest::newRow("wide strip right end") << 134 << 127 << 130;
    }

    void panMarker()
    {
        QFETCH(int, width);
        QFETCH(int, value);
        QFETCH(int, column);
        TLPanH pan;
        QCOMPARE(pan.size(), QSize(70, 15));
        pan.resize(width, 15);
        pan.setValue(value);
        QCOMPARE(pan.markerColumn(), column);
        const QImage img = probe::image(pan);
        QCOMPARE(img.pixelColor(column, 7), QColor(Qt::red));
        QCOMPARE(img.pixelColor(column - 1, 7), QColor(Qt::black));
        QCOMPARE(img.pixelColor(column + 1, 7), QColor(Qt::black));
    }

    void gaugeValues_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("storedValue");
        QTest::addColumn<int>("lit");
        // mode (0 bar, 1 dot), value, value kept, LEDs lit
        const std::array<int, 4> rows[] = {{0, 0, 1, 1},       {0, -20, 1, 1}, {0, 64, 64, 64},
                                           {0, 127, 127, 127}, {1, 64, 64, 1}, {1, 0, 1, 1}};
        for (const auto &[mode, value, stored, lit] : rows)
            QTest::addRow("%s %d", mode ? "dot" : "bar", value) << mode << value << stored << lit;
    }

    void gaugeValues()
    {
        QFETCH(int, mode);
        QFETCH(int, value);
        QFETCH(int, storedValue);
        QFETCH(int, lit);
        TLEDGauge g;
        g.setMode(mode);
        g.setValue(value);
        QCOMPARE(g.Value(), storedValue);
        QCOMPARE(litLeds(g), lit);
        // The lit LED's cell really shows its colour.
        const int top = g.litCount();
        const QRect cell = g.ledRect(top);
        QCOMPARE(probe::pixel(g, cell.center().x(), cell.center().y()), g.ledColor(top));
    }

    void gaugeZones()
    {
        TLEDGauge g;
        g.setStyle(TLEDGauge::StyleZones);
        g.setCount(10);
        QCOMPARE(g.Value(), 0);
        QCOMPARE(litLeds(g), 0);
        g.setValue(127);
        QCOMPARE(g.yellowThreshold(), 5);
        QCOMPARE(g.redThreshold(), 9);
        QCOMPARE(g.ledColor(4), QColor(0, 255, 0));
        QCOMPARE(g.ledColor(5), QColor(255, 255, 0));
        QCOMPARE(g.ledColor(8), QColor(255, 255, 0));
        QCOMPARE(g.ledColor(9), QColor(255, 0, 0));
        // The hub's meter: thresholds and lit counts round to the nearest LED,
        // so the lowest velocity still lights one.
        g.setCount(64);
        g.setYellowPercent(51);
        g.setRedPercent(80);
        QCOMPARE(g.yellowThreshold(), 33);
        QCOMPARE(g.redThreshold(), 51);
        g.setValue(1);
        QCOMPARE(g.litCount(), 1);
        g.setValue(127);
        QCOMPARE(g.litCount(), 64);
        g.setStyle(0);
        g.setColor(Qt::yellow);
        QCOMPARE(g.ledColor(2), QColor(Qt::yellow));
        g.setCount(0); // treated as one LED, not a division by zero
        g.setValue(5);
        QCOMPARE(g.ledRect(1).bottom(), g.height() - 1);
    }

    void gaugeLayout()
    {
        TLEDGauge g;
        // Vertical: LED 1 at the bottom edge, the last at the top edge.
        QCOMPARE(g.ledRect(1).bottom(), 381);
        QCOMPARE(g.ledRect(127).top(), 0);
        QCOMPARE(g.ledRect(1).width(), 16);
        g.setCount(64);
        g.resize(382, 16); // horizontal: LED 1 at the left
        QCOMPARE(g.ledRect(1).left(), 0);
        QCOMPARE(g.ledRect(64).right(), 381);

        g.resize(16, 382);
        g.setCount(4);
        g.setValue(127 / 4);
        const QImage img = probe::image(g);
        const QPoint first = g.ledRect(1).center();
        const QPoint last = g.ledRect(4).center();
        QCOMPARE(img.pixelColor(first), g.Color());
        QCOMPARE(img.pixelColor(last), g.OffColor());
        g.setMirror(true); // LED 1 now drawn in the last slot
        const QImage mirrored = probe::image(g);
        QCOMPARE(mirrored.pixelColor(last), g.Color());
        QCOMPARE(mirrored.pixelColor(first), g.OffColor());
    }

    void gaugeFallBack()
    {
        TLEDGauge g;
        auto *timer = g.findChild<QTimer *>();
        QVERIFY(timer);
        QSignalSpy ticks(timer, &QTimer::timeout);
        g.setMiliSc(5);
        g.setValue(100);
        QVERIFY(!timer->isActive()); // nothing falls until Delay is set
        g.setDelay(1);
        QTRY_VERIFY(g.Value() <= 90);
        g.setDelay(0);
        QVERIFY(!timer->isActive());
        g.setValue(3);
        g.setDelay(1);
        QTRY_COMPARE(g.Value(), 1);
        // It rests on the first LED however many ticks follow.
        const qsizetype resting = ticks.count();
        QTRY_VERIFY(ticks.count() >= resting + 3);
        QCOMPARE(g.Value(), 1);
    }

    void muteButtonPress_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
    }

    void muteButtonPress()
    {
        QFETCH(int, button);
        TMButt b;
        QCOMPARE(b.size(), QSize(16, 16));
        QSignalSpy click(&b, &TMButt::OnClick);
        QVERIFY(!b.Down());
        // The handler sees the new state already.
        bool seen = false;
        connect(&b, &TMButt::OnClick, &b, [&](TMButt *s) { seen = s->Down(); });
        QTest::mousePress(&b, Qt::MouseButton(button), Qt::NoModifier, QPoint(8, 8));
        QVERIFY(b.Down());
        QVERIFY(seen);
        QCOMPARE(click.count(), 1);
        QCOMPARE(probe::pixel(b, 8, 8), QColor(0, 255, 0));
        QTest::mouseRelease(&b, Qt::MouseButton(button), Qt::NoModifier, QPoint(8, 8));
        QCOMPARE(click.count(), 1);
        QTest::mousePress(&b, Qt::MouseButton(button), Qt::NoModifier, QPoint(8, 8));
        QVERIFY(!b.Down());
        QCOMPARE(click.count(), 2);
        QCOMPARE(probe::pixel(b, 8, 8), QColor(192, 192, 192));

        // Set from code it shows the state without telling anyone; disabled
        // (indicator use) it ignores the mouse.
        b.setDown(true);
        QCOMPARE(probe::pixel(b, 8, 8), QColor(0, 255, 0));
        b.setDown(false);
        b.setEnabled(false);
        QTest::mousePress(&b, Qt::MouseButton(button), Qt::NoModifier, QPoint(8, 8));
        QVERIFY(!b.Down());
        QCOMPARE(click.count(), 2);
    }
};

QTEST_MAIN(TestDisplays)
#include "tst_displays.moc"
