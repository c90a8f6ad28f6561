#include "editors/picturecolours.h"

#include <QGuiApplication>

namespace pictures {

namespace {
// Backgrounds below this lightness (0..255) count as dark.
constexpr int DarkBelow = 128;
} // namespace

QColor ink(const QColor &background)
{
    return background.lightness() < DarkBelow ? White : Black;
}

QFont smallFont(int pixels)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(pixels);
    return f;
}

} // namespace pictures
