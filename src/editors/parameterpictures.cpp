#include "editors/parameterpictures.h"

#include "controls/controlpaint.h"
#include "editors/picturecolours.h"

#include <QPainter>
#include <cmath>
#include <numbers>

namespace {
// Filter types as the list holds them.
enum FilterType
{
    FilterOff = 0,
    LowPass = 1,
    BandPass = 2,
    HighPass = 3,
    Peaking = 4
};
// Bias directions as the list holds them.
enum BiasDirection
{
    Lower = 0,
    Upper = 1,
    LowerAndUpper = 2,
    All = 3
};
constexpr int Inset = 4;
constexpr int FrameTop = 1;
constexpr int TextDrop = 4;
constexpr int OffTextShift = 2;
constexpr int MarkerReach = 3;
constexpr int BiasScaleWidth = 64;
constexpr int BiasPointOffset = 13;
constexpr int BiasSwing = 14;
constexpr int CurveX0 = 5;
constexpr int CurveRightGap = 6;
constexpr int CurveTop = 7;
constexpr int CurveBottomGap = 8;
constexpr int CurveSteps = 6;
constexpr int DegreesPerTurn = 360;
constexpr int AngleUnits = 16; // Qt counts arcs in sixteenths of a degree

// An arc's bounding box given by its corners, the right and bottom ones
// just outside it.
QRect arcBox(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

ParameterPictures::FilterShape ParameterPictures::filterShape(int type, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    FilterShape s;
    s.cx = w / 2;
    s.cy = h / 2;
    s.qx = s.cx / 2;
    s.qy = s.cy / 2;
    s.ex = s.qx / 2;
    const int cx = s.cx, cy = s.cy, qy = s.qy, ex = s.ex;
    s.textPos = QPoint(s.qx, cy + TextDrop);
    switch (type) {
    case FilterOff:
        s.text = QStringLiteral("FILTER OFF");
        s.textPos.rx() -= OffTextShift;
        break;
    case LowPass:
        s.lines = {QLine(5, qy - 1, cx, qy - 1)};
        s.arcs = {{arcBox(cx - ex, qy - 1, cx + ex, h), QPoint(cx + ex, cy), QPoint(cx, 0)}};
        s.text = QStringLiteral("Low Pass");
        break;
    case BandPass:
        s.lines = {QLine(5, cy + 2, cx - ex, cy + 2), QLine(cx + ex, cy + 2, w - Inset, cy + 2)};
        s.arcs = {
            {arcBox(cx - ex, qy, cx + ex, h), QPoint(cx + ex, cy + 1), QPoint(cx - ex, cy + 2)}};
        s.text = QStringLiteral("Band Pass");
        break;
    case HighPass:
        s.lines = {QLine(cx, qy - 1, w - Inset, qy - 1)};
        s.arcs = {{arcBox(cx - ex, qy, cx + ex, h), QPoint(cx, qy), QPoint(cx - ex, cy)}};
        s.text = QStringLiteral("High Pass");
        break;
    case Peaking:
        s.lines = {QLine(5, cy - 2, cx - 3, cy - 2), QLine(cx + 5, cy - 2, w - Inset, cy - 2)};
        s.arcs = {
            {arcBox(cx - 4, 6, cx + 5, h - 3), QPoint(cx + 5, cy - 2), QPoint(cx - 4, cy - 2)}};
        s.text = QStringLiteral(" Peaking");
        break;
    default:
        break;
    }
    return s;
}

ParameterPictures::BiasShape ParameterPictures::biasShape(int direction, int point, int level,
                                                          QSize size)
{
    const int w = size.width();
    const int cy = size.height() / 2;
    const int v = level;
    const int yS = cy + BiasSwing - 2 * v;
    const int yH = cy - BiasSwing + 2 * v;
    const int xl = (w - BiasScaleWidth) / 2;
    const int xr = w - xl;
    BiasShape s;
    s.markerX = point / 2 + BiasPointOffset;
    const int bx = s.markerX;
    switch (direction) {
    case Lower:
        s.curve = QPolygon({QPoint(xl, yS), QPoint(bx, cy), QPoint(xr, cy)});
        break;
    case Upper:
        s.curve = QPolygon({QPoint(xl, cy), QPoint(bx, cy), QPoint(xr, yS)});
        break;
    case LowerAndUpper:
        s.curve = QPolygon({QPoint(xl, yS), QPoint(bx, cy), QPoint(xr, yS)});
        break;
    case All:
        s.curve = QPolygon({QPoint(xl, yH), QPoint(xr, yS)});
        break;
    default:
        break;
    }
    return s;
}

QList<QPolygon> ParameterPictures::velocityCurve(int n, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    const int x0 = CurveX0;
    const int x1 = w - CurveRightGap;
    const int yT = CurveTop;
    const int yB = h - CurveBottomGap;
    const int cx = w / 2;
    const int cy = h / 2;
    const int s = (w - 11) / CurveSteps;
    switch (n) {
    case 1:
        return {QPolygon({{x0, yB}, {x0 + 3, yB}, {x1 - 4, yT}, {x1, yT}})};
    case 2:
        return {QPolygon({{x0, yB}, {cx - 4, yB}}),
                QPolygon({{cx - 4, yB - 1}, {cx - 1, yB - 2}, {cx, yB - 3}, {x1, yT}})};
    case 3:
        return {QPolygon({{x0, yB}, {cx - 3, yB}, {x1 - 1, cy - 4}, {x1 - 1, yT}})};
    case 4:
        return {QPolygon({{x0, yB}, {cx - 2, cy - 3}, {cx + 1, cy - 4}, {x1, yT + 2}})};
    case 5:
        return {QPolygon({{x0, yB}, {x0, yB - 4}, {cx + 1, yT}, {x1, yT}})};
    case 6:
        return {QPolygon({{x0, yB}, {x0 + s - 1, yB}, {x1 - s, yT}, {x1, yT}})};
    case 7:
        return {QPolygon({{x0, yB},
                          {x0, yB - 3},
                          {cx - s - 3, cy + 1},
                          {cx + s + 2, cy},
                          {x1, yT + 4},
                          {x1, yT}})};
    default:
        return {};
    }
}

std::pair<int, int> ParameterPictures::arcAngles(const Arc &arc)
{
    // Qt measures an ellipse's angles on the circle it was stretched from, so
    // each radial is mapped back onto that circle first.
    const QRectF box(arc.box);
    const QPointF c = box.center();
    const double a = box.width() / 2.0;
    const double b = box.height() / 2.0;
    const auto angle = [&](QPoint pt) {
        const double deg =
            std::atan2(-(pt.y() - c.y()) / b, (pt.x() - c.x()) / a) * 180.0 / std::numbers::pi;
        return deg < 0 ? deg + DegreesPerTurn : deg;
    };
    const double start = angle(arc.start);
    double span = angle(arc.end) - start;
    if (span <= 0)
        span += DegreesPerTurn;
    return {int(std::lround(start * AngleUnits)), int(std::lround(span * AngleUnits))};
}

void ParameterPictures::paintPictureFrame(QPainter &p, QSize size, int markerX, const Palette &pal)
{
    const int w = size.width();
    const int h = size.height();
    const int cy = h / 2;
    p.fillRect(QRect(0, 0, w, h), pal.window);
    ctl::vLine(p, 0, 0, h - 1, pictures::Grey);
    ctl::hLine(p, 0, w - 1, 0, pictures::Grey);
    ctl::vLine(p, 1, FrameTop, h - 2, pictures::Black);
    ctl::hLine(p, 1, w - 2, FrameTop, pictures::Black);
    ctl::hLine(p, 3, w - 2, h - 2, pictures::Silver);
    ctl::vLine(p, w - 2, 1, h - 2, pictures::Silver);
    ctl::hLine(p, Inset, w - Inset, cy, pictures::Silver);
    ctl::vLine(p, Inset, Inset, h - Inset, pictures::Silver);
    for (int y = Inset; y <= cy + MarkerReach; y += 2)
        ctl::fillSpan(p, markerX, y, markerX, y, pictures::Silver);
}

void ParameterPictures::paintFilterType(QPainter &p, QSize size, int type, const Palette &pal)
{
    const FilterShape s = filterShape(type, size);
    paintPictureFrame(p, size, s.cx, pal);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(pictures::ink(pal.window), 1));
    p.setBrush(Qt::NoBrush);
    for (const QLine &l : s.lines)
        p.drawLine(l);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Arc &arc : s.arcs) {
        const auto [start, span] = arcAngles(arc);
        p.drawArc(arc.box, start, span);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!s.text.isEmpty()) {
        p.setFont(pictures::smallFont(pictures::PictureFontPixels));
        p.drawText(QRect(s.textPos, size), Qt::AlignLeft | Qt::AlignTop, s.text);
    }
}

void ParameterPictures::paintBias(QPainter &p, QSize size, int direction, int point, int level,
                                  const Palette &pal)
{
    const BiasShape s = biasShape(direction, point, level, size);
    paintPictureFrame(p, size, s.markerX, pal);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(pictures::ink(pal.window), 1));
    if (!s.curve.isEmpty())
        p.drawPolyline(s.curve);
}

void ParameterPictures::paintVelocityCurve(QPainter &p, QSize size, int n, const Palette &pal)
{
    const int w = size.width();
    const int h = size.height();
    p.fillRect(QRect(0, 0, w, h), pal.window);
    ctl::frame3D(p, QRect(QPoint(0, 0), QPoint(w - 1, h - 1)), pal.shadow, pal.highlight);
    ctl::frame3D(p, QRect(QPoint(1, 1), QPoint(w - 2, h - 2)), pictures::Black, pictures::Silver);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(pictures::ink(pal.window), 1));
    for (const QPolygon &line : velocityCurve(n, size))
        p.drawPolyline(line);
}
