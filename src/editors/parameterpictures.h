#pragma once
// The small pictures beside the filter and amplifier controls: the filter
// type, the bias curve and the velocity curves. Geometry and drawing are
// separate, so the numbers can be checked without painting.

#include <QColor>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <utility>

class QPainter;

class ParameterPictures
{
public:
    static constexpr QSize FilterSize{90, 48};
    static constexpr QSize BiasSize{90, 48};
    static constexpr QSize CurveSize{36, 32};
    static constexpr int BiasLevelCount = 15;
    static constexpr int CurveCount = 7;

    // An elliptic arc drawn counter-clockwise from the radial through start
    // to the radial through end, on the ellipse inscribed in box.
    struct Arc
    {
        QRect box;
        QPoint start;
        QPoint end;
    };

    struct FilterShape
    {
        int cx = 0, cy = 0, qx = 0, qy = 0, ex = 0;
        QList<QLine> lines;
        QList<Arc> arcs;
        QString text;
        QPoint textPos;
    };

    struct BiasShape
    {
        int markerX = 0; // the dotted line at the bias point
        QPolygon curve;  // empty for an unknown direction
    };

    // What each picture shows for the given control values; a list without
    // selection passes -1.
    static FilterShape filterShape(int type, QSize size = FilterSize);
    static BiasShape biasShape(int direction, int point, int level, QSize size = BiasSize);
    // Curve n (1..7) as one or more polylines; none for other n.
    static QList<QPolygon> velocityCurve(int n, QSize size = CurveSize);

    // The colours the pictures take from the system.
    struct Palette
    {
        QColor window;    // background of text fields
        QColor shadow;    // button shadow
        QColor highlight; // button highlight
    };

    static void paintFilterType(QPainter &p, QSize size, int type, const Palette &pal);
    static void paintBias(QPainter &p, QSize size, int direction, int point, int level,
                          const Palette &pal);
    static void paintVelocityCurve(QPainter &p, QSize size, int n, const Palette &pal);

    // Qt's start and span angles (1/16 degree) for an Arc.
    static std::pair<int, int> arcAngles(const Arc &arc);

private:
    static void paintPictureFrame(QPainter &p, QSize size, int markerX, const Palette &pal);
};
