#include "controls/controlpaint.h"

#include <QPainter>
#include <QWidget>
#include <cstdlib>

namespace ctl {

QPixmap makeBuffer(const QWidget *w, QSize logical)
{
    const qreal dpr = w->devicePixelRatioF();
    QPixmap pm(logical * dpr);
    pm.setDevicePixelRatio(dpr);
    return pm;
}

void hLine(QPainter &p, int x1, int x2, int y, const QColor &c)
{
    if (x2 < x1)
        std::swap(x1, x2);
    p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c);
}

void vLine(QPainter &p, int x, int y1, int y2, const QColor &c)
{
    if (y2 < y1)
        std::swap(y1, y2);
    p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
}

void fillSpan(QPainter &p, int left, int top, int right, int bottom, const QColor &c)
{
    if (right < left || bottom < top)
        return;
    p.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), c);
}

void frame3D(QPainter &p, QRect corners, const QColor &topLeft, const QColor &bottomRight,
             int width)
{
    QRect r = corners;
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        hLine(p, r.left(), r.right() - 1, r.top(), topLeft);
        vLine(p, r.left(), r.top(), r.bottom() - 1, topLeft);
        hLine(p, r.left(), r.right(), r.bottom(), bottomRight);
        vLine(p, r.right(), r.top(), r.bottom(), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long num = static_cast<long long>(a) * b;
    const long long den = c;
    const long long half = std::llabs(den) / 2;
    const bool negative = (num < 0) != (den < 0);
    const long long q = (std::llabs(num) + half) / std::llabs(den);
    return static_cast<int>(negative ? -q : q);
}

void takeFocusOnPress(QWidget *self, QWidget *partner)
{
    if (partner && partner->isEnabled() && partner->isVisible() &&
        partner->focusPolicy() != Qt::NoFocus) {
        if (!partner->hasFocus())
            partner->setFocus(Qt::MouseFocusReason);
        return;
    }
    if ((self->focusPolicy() & Qt::TabFocus) && self->isEnabled() && !self->hasFocus())
        self->setFocus(Qt::MouseFocusReason);
}

QColor faceColor(const QWidget *w)
{
    return w->palette().color(QPalette::Button);
}
QColor shadowColor(const QWidget *w)
{
    return w->palette().color(QPalette::Dark);
}
QColor highlightColor(const QWidget *w)
{
    return w->palette().color(QPalette::Light);
}

} // namespace ctl
