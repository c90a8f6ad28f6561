#include "editors/envelopepainter.h"

#include "controls/controlpaint.h"
#include "editors/picturecolours.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace {
// Point squares: an outline two pixels around the point, filled inside.
constexpr int PointReach = 2;

void pointSquare(QPainter &p, QPoint pt, const QColor &pen, const QColor &brush)
{
    ctl::fillSpan(p, pt.x() - PointReach, pt.y() - PointReach, pt.x() + PointReach,
                  pt.y() + PointReach, pen);
    ctl::fillSpan(p, pt.x() - PointReach + 1, pt.y() - PointReach + 1, pt.x() + PointReach - 1,
                  pt.y() + PointReach - 1, brush);
}
constexpr int AxisInset = 4;
constexpr int AxisX = 3;
} // namespace

void EnvelopePainter::paintCurve(QPainter &p, const EnvelopePoints &e, const QColor &ink)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ink, 1));
    const QPolygon line{e.start, e.point[0], e.point[1], e.point[2], e.sustainEnd, e.point[3]};
    p.drawPolyline(line);
    p.setFont(pictures::smallFont(pictures::GraphFontPixels));
    p.drawText(QRect(e.sustainText, QSize(EnvelopeGeometry::Width, EnvelopeGeometry::Height)),
               Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Sustain"));
}

void EnvelopePainter::paintFilter(QPainter &p, QSize size, const EnvelopePoints &e) const
{
    const int w = size.width();
    const int h = size.height();
    p.fillRect(QRect(0, 0, w, h), window_);
    ctl::vLine(p, 0, 0, h - 1, pictures::Grey);
    ctl::hLine(p, 0, w - 1, 0, pictures::Grey);
    ctl::hLine(p, 2, w - 2, h - 2, pictures::Silver);
    ctl::vLine(p, w - 2, 1, h - 2, pictures::Silver);
    ctl::vLine(p, AxisX, AxisInset, h - AxisInset, pictures::Silver);
    ctl::hLine(p, AxisInset, w - AxisInset, EnvelopeGeometry::FilterCentre, pictures::Silver);
    paintCurve(p, e, pictures::ink(window_));
    for (const QPoint &pt : e.point)
        pointSquare(p, pt, pictures::Maroon, pictures::Olive);
}

void EnvelopePainter::paintAmplifier(QPainter &p, QSize size, const EnvelopePoints &e,
                                     const std::array<bool, 4> &picked) const
{
    const int w = size.width();
    const int h = size.height();
    p.fillRect(QRect(0, 0, w, h), window_);
    ctl::vLine(p, 0, 0, h - 2, pictures::Grey);
    ctl::hLine(p, 0, w - 1, 0, pictures::Grey);
    ctl::hLine(p, 0, w - 2, h - 2, pictures::Silver);
    ctl::vLine(p, w - 2, 1, h - 2, pictures::Silver);
    paintCurve(p, e, pictures::ink(window_));
    for (std::size_t i = 0; i < e.point.size(); ++i)
        pointSquare(p, e.point[i], pictures::Navy, picked[i] ? pictures::Yellow : pictures::Blue);
}
