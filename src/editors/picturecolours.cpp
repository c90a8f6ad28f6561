#include "editors/picturecolours.h"

#include <QGuiApplication>

namespace pictures {

QFont smallFont(int pixels)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(pixels);
    return f;
}

} // namespace pictures
