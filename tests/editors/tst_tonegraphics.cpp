// Where the envelope graphs and the parameter pictures put their points, and
// how a pointer position on the amplifier graph maps back to values.

#include "editors/envelopegeometry.h"
#include "editors/envelopepainter.h"
#include "editors/paintbox.h"
#include "editors/parameterpictures.h"
#include "editors/picturecolours.h"

#include <QPainter>
#include <QtTest>

using Points = QList<QPoint>;

class TestToneGraphics : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filterGraph_data();
    void filterGraph();
    void ampGraph_data();
    void ampGraph();
    void sustainLabel_data();
    void sustainLabel();
    void pick_data();
    void pick();
    void zoomedPressAndDragAgree();
    void drawnSharpAtDoubleRatio();
    void filterPicture();
    void biasPicture_data();
    void biasPicture();
    void velocityCurves_data();
    void velocityCurves();
};

static EnvelopeValues values(std::array<int, 4> t, std::array<int, 4> l, int depth = 0)
{
    EnvelopeValues v;
    v.times = t;
    v.levels = l;
    v.depth = depth;
    return v;
}

static Points pointsOf(const EnvelopePoints &e)
{
    return {e.point[0], e.point[1], e.point[2], e.point[3]};
}

void TestToneGraphics::filterGraph_data()
{
    QTest::addColumn<EnvelopeValues>("v");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<Points>("expected");
    const std::array<int, 4> full{127, 127, 127, 127};
    QTest::newRow("times 0") << values({0, 0, 0, 0}, full, 0) << false
                             << Points{{5, 66}, {5, 66}, {5, 66}, {37, 66}};
    // Halves round to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    QTest::newRow("T1 1") << values({1, 0, 0, 0}, full) << false
                          << Points{{5, 66}, {5, 66}, {5, 66}, {37, 66}};
    QTest::newRow("T1 3") << values({3, 0, 0, 0}, full) << false
                          << Points{{7, 66}, {7, 66}, {7, 66}, {39, 66}};
    QTest::newRow("T1 5") << values({5, 0, 0, 0}, full) << false
                          << Points{{7, 66}, {7, 66}, {7, 66}, {39, 66}};
    QTest::newRow("zoom T1 127") << values({127, 0, 0, 0}, full) << true
                                 << Points{{195, 66}, {195, 66}, {195, 66}, {227, 66}};
    QTest::newRow("zoom T1 1") << values({1, 0, 0, 0}, full) << true
                               << Points{{7, 66}, {7, 66}, {7, 66}, {39, 66}};
    QTest::newRow("depth 63") << values({0, 2, 2, 2}, {127, 0, 64, 127}, 63) << false
                              << Points{{5, 3}, {6, 66}, {7, 35}, {40, 3}};
    QTest::newRow("depth -63") << values({0, 0, 0, 0}, {127, 1, 126, 127}, -63) << false
                               << Points{{5, 129}, {5, 66}, {5, 128}, {37, 129}};
}

void TestToneGraphics::filterGraph()
{
    QFETCH(EnvelopeValues, v);
    QFETCH(bool, zoom);
    QFETCH(Points, expected);
    const EnvelopePoints e = EnvelopeGeometry::filter(v, zoom);
    QCOMPARE(pointsOf(e), expected);
    QCOMPARE(e.start, QPoint(5, 66));
    QCOMPARE(e.sustainEnd, QPoint(e.point[2].x() + 32, e.point[2].y()));
}

void TestToneGraphics::ampGraph_data()
{
    QTest::addColumn<EnvelopeValues>("v");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<Points>("expected");
    QTest::newRow("levels 127, 0") << values({0, 0, 0, 0}, {127, 0, 127, 99}) << false
                                   << Points{{3, 3}, {3, 130}, {3, 3}, {35, 130}};
    QTest::newRow("release 20") << values({0, 0, 0, 20}, {0, 0, 0, 0}) << false
                                << Points{{3, 130}, {3, 130}, {3, 130}, {45, 130}};
    QTest::newRow("zoomed") << values({10, 20, 30, 40}, {1, 2, 3, 0}) << true
                            << Points{{18, 129}, {48, 128}, {93, 127}, {185, 130}};
}

void TestToneGraphics::ampGraph()
{
    QFETCH(EnvelopeValues, v);
    QFETCH(bool, zoom);
    QFETCH(Points, expected);
    const EnvelopePoints e = EnvelopeGeometry::amplifier(v, zoom);
    QCOMPARE(pointsOf(e), expected);
    QCOMPARE(e.start, QPoint(3, 130));
}

void TestToneGraphics::sustainLabel_data()
{
    QTest::addColumn<bool>("filter");
    QTest::addColumn<int>("level3");
    QTest::addColumn<int>("pointY");
    QTest::addColumn<int>("textY");
    QTest::newRow("amp y 14: below") << false << 116 << 14 << 15;
    QTest::newRow("amp y 15: above") << false << 115 << 15 << 5;
    QTest::newRow("filter y 14: below") << true << 105 << 14 << 15;
    QTest::newRow("filter y 15: above") << true << 103 << 15 << 5;
}

void TestToneGraphics::sustainLabel()
{
    QFETCH(bool, filter);
    QFETCH(int, level3);
    QFETCH(int, pointY);
    QFETCH(int, textY);
    const EnvelopeValues v = values({4, 4, 4, 0}, {0, 0, level3, 0}, 63);
    const EnvelopePoints e =
        filter ? EnvelopeGeometry::filter(v, false) : EnvelopeGeometry::amplifier(v, false);
    QCOMPARE(e.point[2].y(), pointY);
    QCOMPARE(e.sustainText, QPoint(e.point[2].x() + 2, textY));
}

using Picks = std::array<bool, 4>;
Q_DECLARE_METATYPE(Picks)

void TestToneGraphics::pick_data()
{
    QTest::addColumn<EnvelopeValues>("v");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<Picks>("picked");
    const EnvelopeValues p1 = values({100, 10, 10, 10}, {100, 50, 50, 0});
    QTest::newRow("P1 at its place")
        << p1 << false << QPoint(53, 30) << Picks{true, false, false, false};
    QTest::newRow("P1 level 5 off") << p1 << false << QPoint(53, 25) << Picks{};
    QTest::newRow("P1 time 6 off") << p1 << false << QPoint(56, 30) << Picks{};
    const EnvelopeValues same = values({40, 0, 30, 10}, {80, 80, 20, 0});
    QTest::newRow("P1 and P2 together")
        << same << false << QPoint(23, 50) << Picks{true, true, false, false};
    const EnvelopeValues release = values({0, 0, 0, 20}, {90, 90, 90, 0});
    for (int x : {43, 44, 47, 50, 51})
        for (int y : {125, 126, 130, 131}) {
            const bool hit = x >= 44 && x <= 50 && y >= 126 && y <= 130;
            QTest::addRow("P4 at %d,%d", x, y)
                << release << false << QPoint(x, y) << Picks{false, false, false, hit};
        }
}

void TestToneGraphics::pick()
{
    QFETCH(EnvelopeValues, v);
    QFETCH(bool, zoom);
    QFETCH(QPoint, press);
    QFETCH(Picks, picked);
    QCOMPARE(EnvelopeGeometry::pick(press, zoom, v), picked);
}

// Pressing exactly on a drawn point and dragging without moving must leave
// its time as it is, zoomed or not.
void TestToneGraphics::zoomedPressAndDragAgree()
{
    for (bool zoom : {false, true}) {
        for (int t = 0; t <= 127; ++t) {
            const EnvelopeValues v = values({t, 0, 0, 0}, {64, 64, 64, 0});
            const QPoint p1 = EnvelopeGeometry::amplifier(v, zoom).point[0];
            QVERIFY(EnvelopeGeometry::pick(p1, zoom, v)[0]);
            if (zoom || t % 2 == 0) // unzoomed, two time steps share a pixel
                QCOMPARE(EnvelopeGeometry::timeAt(p1.x(), zoom), t);
        }
    }
    QCOMPARE(EnvelopeGeometry::timeAt(63, false), 120);
    QCOMPARE(EnvelopeGeometry::releaseTimeAt(60, false), 44);
}

// Off-screen drawing at twice the pixel ratio: the point squares land on
// whole device pixels in their own colours, nothing smeared between.
void TestToneGraphics::drawnSharpAtDoubleRatio()
{
    const EnvelopePoints e =
        EnvelopeGeometry::amplifier(values({40, 40, 40, 40}, {100, 60, 30, 0}), false);
    const QSize size(EnvelopeGeometry::Width, EnvelopeGeometry::Height);
    const QImage img = TPaintBox::render(size, 2.0, [&](QPainter &p, QSize s) {
        EnvelopePainter(Qt::white).paintAmplifier(p, s, e, {true, false, false, false});
    });
    QCOMPARE(img.size(), size * 2);
    const QPoint p1 = e.point[0] * 2;
    const QPoint p2 = e.point[1] * 2;
    QCOMPARE(img.pixelColor(p1 + QPoint(2, 2)), pictures::Yellow);
    QCOMPARE(img.pixelColor(p2 + QPoint(2, 2)), pictures::Blue);
    // The square's border is the navy pen, two device pixels wide, with the
    // white background straight outside it.
    QCOMPARE(img.pixelColor(p2 + QPoint(-4, 2)), pictures::Navy);
    QCOMPARE(img.pixelColor(p2 + QPoint(-3, 2)), pictures::Navy);
    QCOMPARE(img.pixelColor(p2 + QPoint(-5, 2)), QColor(Qt::white));
}

void TestToneGraphics::filterPicture()
{
    const auto low = ParameterPictures::filterShape(1);
    QCOMPARE((QList<int>{low.cx, low.cy, low.qx, low.qy, low.ex}),
             (QList<int>{45, 24, 22, 12, 11}));
    QCOMPARE(low.text, QStringLiteral("Low Pass"));
    QCOMPARE(low.textPos, QPoint(22, 28));
    QCOMPARE(low.lines, (QList<QLine>{QLine(5, 11, 45, 11)}));
    // The low-pass arc runs counter-clockwise from its right end up to the top.
    const auto [start, span] = ParameterPictures::arcAngles(low.arcs.first());
    QVERIFY(start > 0 && start < 90 * 16);
    QVERIFY(start + span > 89 * 16 && start + span < 91 * 16);

    const auto off = ParameterPictures::filterShape(0);
    QCOMPARE(off.text, QStringLiteral("FILTER OFF"));
    QCOMPARE(off.textPos, QPoint(20, 28));
    QVERIFY(off.lines.isEmpty() && off.arcs.isEmpty());
    const auto none = ParameterPictures::filterShape(-1);
    QVERIFY(none.text.isEmpty() && none.lines.isEmpty() && none.arcs.isEmpty());
    QCOMPARE(ParameterPictures::filterShape(4).text, QStringLiteral(" Peaking"));
}

void TestToneGraphics::biasPicture_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("markerX");
    QTest::addColumn<QPolygon>("curve");
    QTest::newRow("point 60") << 0 << 60 << 7 << 43 << QPolygon({{13, 24}, {43, 24}, {77, 24}});
    QTest::newRow("point 127") << 1 << 127 << 7 << 76 << QPolygon({{13, 24}, {76, 24}, {77, 24}});
    QTest::newRow("all, level 0") << 3 << 0 << 7 << 13 << QPolygon({{13, 24}, {77, 24}});
    QTest::newRow("all, level 100") << 3 << 0 << 14 << 13 << QPolygon({{13, 38}, {77, 10}});
    QTest::newRow("lower, -100") << 0 << 20 << 0 << 23 << QPolygon({{13, 38}, {23, 24}, {77, 24}});
    QTest::newRow("low & upp") << 2 << 40 << 10 << 33 << QPolygon({{13, 18}, {33, 24}, {77, 18}});
    QTest::newRow("no direction") << -1 << 40 << 10 << 33 << QPolygon();
}

void TestToneGraphics::biasPicture()
{
    QFETCH(int, direction);
    QFETCH(int, point);
    QFETCH(int, level);
    QFETCH(int, markerX);
    QFETCH(QPolygon, curve);
    const auto s = ParameterPictures::biasShape(direction, point, level);
    QCOMPARE(s.markerX, markerX);
    QCOMPARE(s.curve, curve);
}

void TestToneGraphics::velocityCurves_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<QPolygon>>("lines");
    QTest::newRow("1") << 1 << QList<QPolygon>{QPolygon({{5, 24}, {8, 24}, {26, 7}, {30, 7}})};
    QTest::newRow("2") << 2
                       << QList<QPolygon>{QPolygon({{5, 24}, {14, 24}}),
                                          QPolygon({{14, 23}, {17, 22}, {18, 21}, {30, 7}})};
    QTest::newRow("6") << 6 << QList<QPolygon>{QPolygon({{5, 24}, {8, 24}, {26, 7}, {30, 7}})};
    QTest::newRow("7") << 7
                       << QList<QPolygon>{
                              QPolygon({{5, 24}, {5, 21}, {11, 17}, {24, 16}, {30, 11}, {30, 7}})};
    QTest::newRow("0: frame only") << 0 << QList<QPolygon>{};
    QTest::newRow("8: frame only") << 8 << QList<QPolygon>{};
}

void TestToneGraphics::velocityCurves()
{
    QFETCH(int, n);
    QFETCH(QList<QPolygon>, lines);
    QCOMPARE(ParameterPictures::velocityCurve(n), lines);
}

QTEST_MAIN(TestToneGraphics)
#include "tst_tonegraphics.moc"
