#pragma once
// The pitch envelope graph of the pitch screen: where its points lie and how
// it is drawn. Pure arithmetic plus a paint call on any painter, so it can be
// checked and rendered without a window.

#include "editors/envelopegeometry.h"

#include <QPoint>
#include <QSize>
#include <array>

class QPainter;

class PitchEnvelope
{
public:
    static constexpr QSize Size{211, 93};
    static constexpr int Centre = 45; // the zero line
    static constexpr int StartX = 5;

    struct Points
    {
        QPoint start;
        std::array<QPoint, 4> point; // P1..P4
    };

    // v holds times T1..T4 (0..127), levels L1..L4 (-63..63) and the
    // envelope depth (-12..12).
    static Points points(const EnvelopeValues &v);
    static void paint(QPainter &p, QSize size, const EnvelopeValues &v);
};
