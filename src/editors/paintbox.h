#pragma once
// A fixed-size drawing surface, as graphs and parameter pictures need: the
// owner supplies a paint function in logical pixels, the box draws it into an
// off-screen image at the screen's pixel ratio and copies that in one step, so
// pictures stay sharp on high-density screens. Mouse presses, moves and
// releases are passed on in logical pixels.

#include <QImage>
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    using PaintFunction = std::function<void(QPainter &, QSize)>;

    TPaintBox(QSize size, QWidget *parent = nullptr);

    void setPaintFunction(PaintFunction paint);

    // The same drawing without a window: an image of size × ratio pixels.
    static QImage render(QSize size, qreal ratio, const PaintFunction &paint);

    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }

Q_SIGNALS:
    void mouseDown(QPoint pos);
    void mouseMove(QPoint pos);
    void mouseUp(QPoint pos);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QSize size_;
    PaintFunction paint_;
};
