#include "editors/pitchenvelope.h"

#include "controls/controlpaint.h"
#include "editors/picturecolours.h"

#include <QPainter>
#include <QPolygon>

namespace {
// 0.4 pixel per time step, truncated.
constexpr int PixelsPerTen = 4;
constexpr int TimeScale = 10;
// Full depth (12) times full level (63) reaches 42 pixels off the centre.
constexpr int DepthScale = 18;
constexpr int AxisX = 3;
constexpr int AxisInset = 4;

int span(int time)
{
    return time * PixelsPerTen / TimeScale;
}
} // namespace

PitchEnvelope::Points PitchEnvelope::points(const EnvelopeValues &v)
{
    std::array<int, 4> y{};
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] = Centre - v.levels[i] * v.depth / DepthScale; // C++ division truncates
    Points e;
    e.start = QPoint(StartX, Centre);
    int x = StartX;
    for (std::size_t i = 0; i < y.size(); ++i) {
        x += span(v.times[i]);
        e.point[i] = QPoint(x, y[i]);
    }
    return e;
}

void PitchEnvelope::paint(QPainter &p, QSize size, const EnvelopeValues &v)
{
    const int w = size.width();
    const int h = size.height();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, w, h), pictures::White);
    ctl::vLine(p, 0, 0, h - 1, pictures::Grey);
    ctl::hLine(p, 0, w - 1, 0, pictures::Grey);
    ctl::hLine(p, 2, w - 2, h - 2, pictures::Silver);
    ctl::vLine(p, w - 2, 1, h - 2, pictures::Silver);
    ctl::vLine(p, AxisX, AxisInset, h - AxisInset, pictures::Silver);
    ctl::hLine(p, AxisInset, w - AxisInset, Centre, pictures::Silver);

    const Points e = points(v);
    p.setPen(QPen(pictures::Black, 1));
    p.drawPolyline(QPolygon{e.start, e.point[0], e.point[1], e.point[2], e.point[3]});
    // Three-pixel squares: a navy outline round one aqua pixel.
    p.setPen(QPen(pictures::Navy, 1));
    p.setBrush(pictures::Aqua);
    for (const QPoint &pt : e.point)
        p.drawRect(QRect(pt.x() - 1, pt.y() - 1, 2, 2));
}
