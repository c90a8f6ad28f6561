#pragma once
// Key tables and pixel probes shared by the control tests.

#include <QColor>
#include <QImage>
#include <QTest>
#include <QWidget>

// One key press on a ranged control: from start, inside min..max, to
// expected. OnChange follows exactly when the value moves.
struct KeyCase
{
    const char *name;
    int key, min, max, start, expected;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
};
Q_DECLARE_METATYPE(KeyCase)

namespace probe {

inline QImage image(QWidget &w)
{
    return w.grab().toImage();
}

inline QColor pixel(QWidget &w, int x, int y)
{
    return image(w).pixelColor(x, y);
}

// Leftmost column in rows top..bottom whose colour differs from the colour
// at (x0, top): where drawn text begins. -1 when nothing is drawn.
inline int firstInkColumn(const QImage &img, int x0, int x1, int top, int bottom)
{
    const QColor bg = img.pixelColor(x0, top);
    for (int x = x0; x <= x1; ++x)
        for (int y = top; y <= bottom; ++y)
            if (img.pixelColor(x, y) != bg)
                return x;
    return -1;
}

// Rightmost such column, scanning from x1 down to x0.
inline int lastInkColumn(const QImage &img, int x0, int x1, int top, int bottom)
{
    const QColor bg = img.pixelColor(x1, top);
    for (int x = x1; x >= x0; --x)
        for (int y = top; y <= bottom; ++y)
            if (img.pixelColor(x, y) != bg)
                return x;
    return -1;
}

} // namespace probe
