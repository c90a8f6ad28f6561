#include "editors/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QSize size, QWidget *parent) : QWidget(parent), size_(size)
{
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::setPaintFunction(PaintFunction paint)
{
    paint_ = std::move(paint);
    update();
}

QImage TPaintBox::render(QSize size, qreal ratio, const PaintFunction &paint)
{
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    if (paint) {
        QPainter p(&image);
        paint(p, size);
    }
    return image;
}

void TPaintBox::paintEvent(QPaintEvent *)
{
    const QImage image = render(size_, devicePixelRatioF(), paint_);
    QPainter(this).drawImage(0, 0, image);
}

void TPaintBox::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->position().toPoint());
}

void TPaintBox::mouseMoveEvent(QMouseEvent *e)
{
    Q_EMIT mouseMove(e->position().toPoint());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent *e)
{
    Q_EMIT mouseUp(e->position().toPoint());
}
