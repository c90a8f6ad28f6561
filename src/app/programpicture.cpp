#include "app/programpicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Drawn on a 100 x 100 grid and scaled to the size asked for.
constexpr double Grid = 100.0;

constexpr QRectF Body{4, 4, 92, 92};
constexpr double BodyRadius = 14;
constexpr QRectF Display{12, 15, 76, 38};
constexpr double DisplayRadius = 5;
constexpr QRectF Keys{12, 60, 76, 27};
constexpr int WhiteKeys = 7;
// Black keys sit after these white keys of the octave (C D F G A).
constexpr std::array<int, 5> BlackAfter{0, 1, 3, 4, 5};
constexpr double BlackWidthShare = 0.6;
constexpr double BlackHeightShare = 0.58;
constexpr QPointF Lamp{83, 9.5};
constexpr double LampRadius = 2.2;

// A decaying oscillation, as a struck sound looks on a scope.
constexpr double WaveCycles = 2.5;
constexpr double WaveDecay = 1.7;
constexpr double WaveMargin = 4;
constexpr int WaveSteps = 120;

void drawBody(QPainter &p)
{
    QLinearGradient shade(Body.topLeft(), Body.bottomLeft());
    shade.setColorAt(0, QColor(0x4a, 0x50, 0x5a));
    shade.setColorAt(1, QColor(0x1b, 0x1e, 0x24));
    p.setPen(QPen(QColor(0x0c, 0x0d, 0x10), 1.2));
    p.setBrush(shade);
    p.drawRoundedRect(Body, BodyRadius, BodyRadius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0xe0, 0x40));
    p.drawEllipse(Lamp, LampRadius, LampRadius);
}

void drawDisplay(QPainter &p)
{
    QLinearGradient glass(Display.topLeft(), Display.bottomLeft());
    glass.setColorAt(0, QColor(0x12, 0x33, 0x2a));
    glass.setColorAt(1, QColor(0x06, 0x14, 0x0f));
    p.setPen(QPen(QColor(0x6a, 0x78, 0x72), 1.0));
    p.setBrush(glass);
    p.drawRoundedRect(Display, DisplayRadius, DisplayRadius);

    const double left = Display.left() + WaveMargin;
    const double width = Display.width() - 2 * WaveMargin;
    const double mid = Display.center().y();
    const double amplitude = Display.height() / 2 - WaveMargin;
    QPainterPath wave;
    for (int i = 0; i <= WaveSteps; ++i) {
        const double t = double(i) / WaveSteps;
        const double y = mid - amplitude * std::exp(-WaveDecay * t) *
                                   std::sin(2 * std::numbers::pi * WaveCycles * t);
        if (i == 0)
            wave.moveTo(left, y);
        else
            wave.lineTo(left + width * t, y);
    }
    p.setBrush(Qt::NoBrush);
    // A wide faint stroke under the line makes it glow like a lit segment.
    p.setPen(QPen(QColor(0xff, 0xb0, 0x30, 0x60), 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);
    p.setPen(QPen(QColor(0xff, 0xc4, 0x50), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);
}

void drawKeys(QPainter &p)
{
    const double keyWidth = Keys.width() / WhiteKeys;
    p.setPen(QPen(QColor(0x8a, 0x86, 0x7c), 0.8));
    p.setBrush(QColor(0xf4, 0xf1, 0xea));
    for (int i = 0; i < WhiteKeys; ++i)
        p.drawRect(QRectF(Keys.left() + i * keyWidth, Keys.top(), keyWidth, Keys.height()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x16, 0x1a));
    const double blackWidth = keyWidth * BlackWidthShare;
    for (int after : BlackAfter) {
        const double x = Keys.left() + (after + 1) * keyWidth - blackWidth / 2;
        p.drawRect(QRectF(x, Keys.top(), blackWidth, Keys.height() * BlackHeightShare));
    }
}

} // namespace

QImage ProgramPicture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Grid, size / Grid);
    drawBody(p);
    drawDisplay(p);
    drawKeys(p);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(ProgramPicture(size)));
    return icon;
}
