#include "editors/envelopegeometry.h"

#include <cmath>

namespace {
constexpr int FilterStartX = 5;
constexpr int AmpStartX = 3;
constexpr int DepthScale = 127;
// "Sustain" goes below P3 when P3 is this near the top, above it otherwise.
constexpr int SustainTextFlip = 15;
constexpr int SustainTextBelow = 1;
constexpr int SustainTextAbove = -10;
constexpr int SustainTextIndent = 2;
// How far from a point a press still picks it (time and level units). The
// release point gives more room to the left, where the pointer lands short of
// it because its time counts from the end of the sustain segment.
constexpr int PickReach = 4;
constexpr int ReleasePickReachLeft = 8;
constexpr double ZoomedStepsPerPixel = 0.667;
constexpr int ZoomedTimeShift = 2;
constexpr int UnzoomedStepsPerPixel = 2;
constexpr int UnzoomedPixelShift = 3;
// The release time counts from the end of the sustain segment, which the
// pointer arithmetic takes as this many pixels from the left edge.
constexpr int ReleaseOrigin = 35;
} // namespace

int EnvelopeGeometry::roundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double diff = v - lower;
    const auto low = static_cast<long long>(lower);
    if (diff > 0.5)
        return int(low + 1);
    if (diff < 0.5)
        return int(low);
    return int(low % 2 == 0 ? low : low + 1);
}

EnvelopePoints EnvelopeGeometry::place(const EnvelopeValues &v, bool zoom, int startX,
                                       const std::array<int, 4> &y, int startY)
{
    const double f = zoomFactor(zoom);
    const int x1 = roundHalfEven(f * v.times[0]) + startX;
    const int d2 = roundHalfEven(f * v.times[1]);
    const int d3 = roundHalfEven(f * v.times[2]);
    const int d4 = roundHalfEven(f * v.times[3]);
    EnvelopePoints e;
    e.start = QPoint(startX, startY);
    e.point[0] = QPoint(x1, y[0]);
    e.point[1] = QPoint(x1 + d2, y[1]);
    e.point[2] = QPoint(x1 + d2 + d3, y[2]);
    e.sustainEnd = QPoint(e.point[2].x() + SustainWidth, y[2]);
    e.point[3] = QPoint(e.sustainEnd.x() + d4, y[3]);
    const int textY = y[2] < SustainTextFlip ? y[2] + SustainTextBelow : y[2] + SustainTextAbove;
    e.sustainText = QPoint(e.point[2].x() + SustainTextIndent, textY);
    return e;
}

EnvelopePoints EnvelopeGeometry::filter(const EnvelopeValues &v, bool zoom)
{
    std::array<int, 4> y{};
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] = FilterCentre - v.levels[i] * v.depth / DepthScale; // C++ division truncates
    return place(v, zoom, FilterStartX, y, FilterCentre);
}

EnvelopePoints EnvelopeGeometry::amplifier(const EnvelopeValues &v, bool zoom)
{
    const std::array<int, 4> y{AmpBase - v.levels[0], AmpBase - v.levels[1], AmpBase - v.levels[2],
                               AmpBase};
    return place(v, zoom, AmpStartX, y, AmpBase);
}

// One formula serves the press and the drag, so a picked point does not move
// when the pointer has not.
int EnvelopeGeometry::timeAt(int x, bool zoom)
{
    if (zoom)
        return roundHalfEven(ZoomedStepsPerPixel * x) - ZoomedTimeShift;
    return UnzoomedStepsPerPixel * (x - UnzoomedPixelShift);
}

int EnvelopeGeometry::releaseTimeAt(int x, bool zoom)
{
    return timeAt(x - ReleaseOrigin, zoom);
}

std::array<bool, 4> EnvelopeGeometry::pick(QPoint pos, bool zoom, const EnvelopeValues &v)
{
    const int t = timeAt(pos.x(), zoom);
    const int tr = releaseTimeAt(pos.x(), zoom);
    const int level = levelAt(pos.y());
    const auto near = [](int value, int target, int left, int right) {
        return value >= target - left && value <= target + right;
    };
    const auto &T = v.times;
    const auto &L = v.levels;
    return {
        near(t, T[0], PickReach, PickReach) && near(level, L[0], PickReach, PickReach),
        near(t - T[0], T[1], PickReach, PickReach) && near(level, L[1], PickReach, PickReach),
        near(t - T[0] - T[1], T[2], PickReach, PickReach) &&
            near(level, L[2], PickReach, PickReach),
        near(tr - T[0] - T[1] - T[2], T[3], ReleasePickReachLeft, PickReach) &&
            near(level, 0, 0, PickReach),
    };
}
