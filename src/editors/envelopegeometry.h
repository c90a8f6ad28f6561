#pragma once
// Where the points of the envelope graphs lie, and the way back from a pointer
// position on the amplifier graph to the times and levels it stands for. Pure
// arithmetic on the control values, so the numbers can be checked without a
// window.

#include <QPoint>
#include <array>

struct EnvelopeValues
{
    std::array<int, 4> times{};  // 0..127
    std::array<int, 4> levels{}; // filter 0..127 (scaled by depth); amplifier uses 1..3
    int depth = 0;               // filter envelope depth -63..63
};

struct EnvelopePoints
{
    QPoint start;                // where the line begins
    std::array<QPoint, 4> point; // P1..P4
    QPoint sustainEnd;           // end of the fixed sustain segment after P3
    QPoint sustainText;          // top left of the "Sustain" label
};

class EnvelopeGeometry
{
public:
    // Both graph boxes are this size.
    static constexpr int Width = 440;
    static constexpr int Height = 134;
    static constexpr int FilterCentre = 66; // filter graph's zero line
    static constexpr int AmpBase = 130;     // amplifier graph's level 0
    static constexpr int SustainWidth = 32;
    static constexpr int PointCount = 4;

    // Pixels per time step: 1.5 zoomed, 0.5 otherwise.
    static double zoomFactor(bool zoom) { return zoom ? 1.5 : 0.5; }
    // Nearest integer, halves to the even neighbour.
    static int roundHalfEven(double v);

    static EnvelopePoints filter(const EnvelopeValues &v, bool zoom);
    static EnvelopePoints amplifier(const EnvelopeValues &v, bool zoom);

    // Amplifier graph mouse editing. The time under the pointer for P1..P3,
    // and the release time for P4 (the sustain segment taken off).
    static int timeAt(int x, bool zoom);
    static int releaseTimeAt(int x, bool zoom);
    // The level under the pointer.
    static int levelAt(int y) { return AmpBase - y; }
    // Which points a press at pos picks; v holds T1..T4 and L1..L3.
    static std::array<bool, 4> pick(QPoint pos, bool zoom, const EnvelopeValues &v);

private:
    static EnvelopePoints place(const EnvelopeValues &v, bool zoom, int startX,
                                const std::array<int, 4> &y, int startY);
};
