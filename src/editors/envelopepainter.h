#pragma once
// Draws the filter and amplifier envelope graphs from their computed points
// (EnvelopeGeometry) onto any painter, in logical pixels.

#include "editors/envelopegeometry.h"

#include <QColor>
#include <QSize>
#include <array>

class QPainter;

class EnvelopePainter
{
public:
    // The graph's background: the system colour of text fields.
    explicit EnvelopePainter(QColor window) : window_(window) {}

    void paintFilter(QPainter &p, QSize size, const EnvelopePoints &e) const;
    // Picked points are drawn yellow, the others blue.
    void paintAmplifier(QPainter &p, QSize size, const EnvelopePoints &e,
                        const std::array<bool, 4> &picked) const;

private:
    static void paintCurve(QPainter &p, const EnvelopePoints &e, const QColor &ink);
    QColor window_;
};
