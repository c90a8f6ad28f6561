#pragma once
// Key tables and pixel probes shared by the control tests.

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
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

// One wheel event over a ranged control; delta in angle units, 120 a notch.
struct WheelCase
{
    const char *name;
    int delta, min, max, start, expected;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
};
Q_DECLARE_METATYPE(WheelCase)

// The rows every stepping control must pass: a notch is one arrow key,
// Shift alone five and Ctrl alone ten steps, part notches add up.
inline const WheelCase WheelRows[] = {
    {"notch up", 120, 0, 127, 50, 51},
    {"notch down", -120, 0, 127, 50, 49},
    {"two notches at once", 240, 0, 127, 50, 52},
    {"half a notch", 60, 0, 127, 50, 50},
    {"shift notch", 120, 0, 127, 50, 55, Qt::ShiftModifier},
    {"ctrl notch down", -120, 0, 127, 50, 40, Qt::ControlModifier},
    {"shift and ctrl", 120, 0, 127, 50, 51, Qt::ShiftModifier | Qt::ControlModifier},
    {"ctrl stops at the top", 120, -64, 63, 60, 63, Qt::ControlModifier},
    {"down at the bottom", -120, -12, 12, -12, -12},
};

// Sends a vertical wheel event to the middle of w; true when w took it.
inline bool wheel(QWidget *w, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

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
