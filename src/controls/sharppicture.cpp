#include "controls/sharppicture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace ctl {

namespace {
constexpr char SharpSuffix[] = "@2x.png";
constexpr qreal SharpRatio = 2.0;
} // namespace

QPixmap loadSharpPicture(const QString &path, qreal dpr)
{
    if (dpr > 1.0) {
        const QFileInfo info(path);
        QImage sharp;
        if (sharp.load(info.dir().filePath(info.completeBaseName() + QLatin1String(SharpSuffix)))) {
            sharp.setDevicePixelRatio(SharpRatio);
            // Above twice the size the large drawing is the best there is.
            if (dpr < SharpRatio) {
                const QSize logical = sharp.deviceIndependentSize().toSize();
                sharp = sharp.scaled((QSizeF(logical) * dpr).toSize(), Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
                sharp.setDevicePixelRatio(dpr);
            }
            return QPixmap::fromImage(sharp);
        }
    }
    QPixmap plain;
    plain.load(path);
    return plain;
}

} // namespace ctl
