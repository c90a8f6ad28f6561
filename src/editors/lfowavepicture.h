#pragma once
// The small waveform picture of an LFO: a sunken box with the shape of one of
// the eight waveforms, or a cross when no waveform is chosen. The random
// waveforms (S&H, RND, CHS) draw new random levels every time. Geometry and
// painting are separate, so the shapes can be checked without a window.

#include "editors/parameterpictures.h"

#include <QPolygon>
#include <QSize>
#include <functional>

class QPainter;

class LfoWavePicture
{
public:
    static constexpr QSize Size{53, 35};
    // The waveform numbers: the list's item index + 1, 0 for none chosen.
    enum Wave
    {
        None,
        Tri,
        Sin,
        Saw,
        Sqr,
        Trp,
        SampleHold,
        Rnd,
        Chs,
    };

    // A uniformly drawn integer from 0 to bound - 1.
    using Random = std::function<int(int bound)>;

    struct Shape
    {
        QPolygon line; // one polyline
        QPolygon dots; // single pixels (the sine)
    };

    // Waveform w (0..8; anything else draws as 0) in a box of size.
    static Shape shape(int w, QSize size, const Random &random);
    static void paint(QPainter &p, QSize size, int w, const Random &random,
                      const ParameterPictures::Palette &pal);
};
