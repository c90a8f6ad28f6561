#include "editors/lfowavepicture.h"

#include "controls/controlpaint.h"
#include "editors/picturecolours.h"

#include <QPainter>
#include <cmath>
#include <numbers>

namespace {
constexpr int Left = 5;   // x0
constexpr int Top = 7;    // yT
constexpr int Bottom = 8; // yB = H - 8
constexpr int Right = 6;  // x1 = W - 6
// The sine is plotted in thirds of a pixel, at half the box's half height,
// with its phase shifted so it starts just below the centre line.
constexpr int SineSubsteps = 3;
constexpr double SineAmplitude = 0.5;
constexpr int RandomSteps = 5;
} // namespace

LfoWavePicture::Shape LfoWavePicture::shape(int w, QSize size, const Random &random)
{
    const int W = size.width();
    const int H = size.height();
    const int cx = W / 2;
    const int cy = H / 2;
    const int x0 = Left;
    const int x1 = W - Right;
    const int yT = Top;
    const int yB = H - Bottom;
    const int s3 = (W - 2 * x0) / 3;
    const int s4 = (W - 2 * x0) / 4;
    const int s5 = (W - 2 * x0) / 5;
    const int s6 = (W - 2 * x0) / 6;
    const auto level = [&] { return yT + random(yB - yT); };

    Shape s;
    QPolygon &l = s.line;
    switch (w) {
    case Tri:
        l << QPoint(x0, yB) << QPoint(x0 + s5, yT) << QPoint(x0 + 2 * s5, yB)
          << QPoint(x0 + 3 * s5, yT) << QPoint(x0 + 4 * s5, yB) << QPoint(x0 + 5 * s5 - 3, cy);
        break;
    case Sin: {
        const double phase = x0 + s6 - 1;
        for (int i = SineSubsteps * x0; i <= SineSubsteps * x1; ++i) {
            const double angle = i * 2 * std::numbers::pi / W - phase;
            s.dots << QPoint(i / SineSubsteps,
                             cy + int(std::trunc(SineAmplitude * cy * std::sin(angle))));
        }
        break;
    }
    case Saw:
        l << QPoint(x0, cy) << QPoint(x0, yB) << QPoint(x0 + s3, yT) << QPoint(x0 + s3, yB)
          << QPoint(x0 + 2 * s3, yT) << QPoint(x0 + 2 * s3, yB) << QPoint(x0 + 3 * s3 - s6, cy);
        break;
    case Sqr:
        l << QPoint(x0, yB) << QPoint(x0 + 2, yB) << QPoint(x0 + 2, yT) << QPoint(cx - s6, yT)
          << QPoint(cx - s6, yB) << QPoint(cx + s6 - 1, yB) << QPoint(cx + s6 - 1, yT)
          << QPoint(x1 - 2, yT) << QPoint(x1 - 2, yB) << QPoint(x1 + 1, yB);
        break;
    case Trp:
        l << QPoint(x0, yB) << QPoint(x0 + 2, yB) << QPoint(cx - s4 - 3, yT)
          << QPoint(cx - s4 + 3, yT) << QPoint(cx - 3, yB) << QPoint(cx + 3, yB)
          << QPoint(cx + s4 - 3, yT) << QPoint(x1 - s4 + 3, yT) << QPoint(x1 - 2, yB)
          << QPoint(x1 + 1, yB);
        break;
    case SampleHold:
    case Rnd: {
        // Sample and hold holds each level longer than random does.
        const bool hold = w == SampleHold;
        l << QPoint(x0, cy) << QPoint(x0 + (hold ? 4 : 3), cy);
        int y = cy;
        for (int k = 1; k <= RandomSteps; ++k) {
            y = level();
            l << QPoint(x0 + s6 * k - (hold ? 3 : 1), y) << QPoint(x0 + s6 * k + (hold ? 4 : 2), y);
        }
        l << QPoint(x1 - (hold ? 4 : 3), y) << QPoint(x1, y);
        break;
    }
    case Chs: {
        l << QPoint(x0, cy) << QPoint(x0 + 2, cy);
        int y = cy;
        for (int k = 2; k <= cx - x0 - 2; ++k) {
            y = level();
            l << QPoint(x0 + 2 * k - 1, y) << QPoint(x0 + 2 * k + 1, y);
        }
        l << QPoint(x1 - 2, y) << QPoint(x1, y);
        break;
    }
    default:
        l << QPoint(x0, cy) << QPoint(x1, cy) << QPoint(cx, yT) << QPoint(cx, yB);
        break;
    }
    return s;
}

void LfoWavePicture::paint(QPainter &p, QSize size, int w, const Random &random,
                           const ParameterPictures::Palette &pal)
{
    const int W = size.width();
    const int H = size.height();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, W, H), pal.window);
    ctl::frame3D(p, QRect(QPoint(0, 0), QPoint(W - 1, H - 1)), pal.shadow, pal.highlight);
    ctl::frame3D(p, QRect(QPoint(1, 1), QPoint(W - 2, H - 2)), pictures::Black, pictures::Silver);
    const Shape s = shape(w, size, random);
    const QColor ink = pictures::ink(pal.window);
    p.setPen(QPen(ink, 1));
    if (!s.line.isEmpty())
        p.drawPolyline(s.line);
    for (const QPoint &dot : s.dots)
        ctl::fillSpan(p, dot.x(), dot.y(), dot.x(), dot.y(), ink);
}
