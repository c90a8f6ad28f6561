#pragma once
// Pictures from files, sharp on high-resolution screens. Beside a picture
// "name.ext" may lie "name@2x.png", the same drawing at twice the size; at
// a pixel ratio above 1 that one is used, resampled down to the exact ratio,
// so a picture is never stretched up from its small form.

#include <QPixmap>
#include <QString>

namespace ctl {

// The picture for a widget of pixel ratio dpr; a null pixmap when neither
// file can be read.
QPixmap loadSharpPicture(const QString &path, qreal dpr);

} // namespace ctl
