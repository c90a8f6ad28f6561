#pragma once
// Small drawing and focus helpers shared by the custom controls. Every
// control paints into an off-screen pixmap at the device pixel ratio and copies
// it in one piece, and draws its thin lines as filled one-unit rectangles so
// they land on whole pixels at any scale.

#include <QColor>
#include <QPixmap>
#include <QRect>

class QPainter;
class QWidget;

namespace ctl {

// A transparent-free buffer of the widget's logical size at its pixel ratio.
QPixmap makeBuffer(const QWidget *w, QSize logical);

void hLine(QPainter &p, int x1, int x2, int y, const QColor &c);
void vLine(QPainter &p, int x, int y1, int y2, const QColor &c);
// Fills the rectangle (left, top) to (right, bottom), both corners included.
void fillSpan(QPainter &p, int left, int top, int right, int bottom, const QColor &c);
// Bevel on the corners (left, top)..(right, bottom), both included, growing
// inward by width; top and left take topLeft, bottom and right bottomRight.
void frame3D(QPainter &p, QRect corners, const QColor &topLeft, const QColor &bottomRight,
             int width = 1);

// (a * b) / c rounded half away from zero; 0 when c is 0 instead of dividing.
int mulDiv(int a, int b, int c);

// A press gives the focus to the partner control when that one can take it,
// else to the pressed control itself when it is reachable by Tab.
void takeFocusOnPress(QWidget *self, QWidget *partner);

// System colours of the widget's palette.
QColor faceColor(const QWidget *w);
QColor shadowColor(const QWidget *w);
QColor highlightColor(const QWidget *w);

} // namespace ctl
