#include "controls/spincw0r.h"

#include "controls/controlpaint.h"

#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {
constexpr int MaxPanelWidth = 2;
constexpr int PageStep = 10;
constexpr int ShiftStep = 5;
constexpr int CtrlStep = 10;
constexpr int TextRow = 4;
// Rows the pointer may travel from the press point before it is put back.
constexpr int WarpDistance = 12;
// Right edge of the number field, counted from the control's right side.
constexpr int FieldRightGap = 16;

// Platforms that cannot move the pointer: rolling then relies on the grab
// and the relative motion alone.
bool canWarpPointer()
{
    const QString p = QGuiApplication::platformName();
    return !(p.startsWith(QLatin1String("wayland")) || p == QLatin1String("offscreen") ||
             p == QLatin1String("minimal") || p == QLatin1String("vnc"));
}
} // namespace

TSpincw0R::TSpincw0R(QWidget *parent)
    : QWidget(parent), m_cMinColor(128, 128, 0), m_ledOnCol(255, 0, 0), m_ledOffCol(128, 128, 128),
      m_warpPointer(canWarpPointer())
{
    resize(DefaultWidth, DefaultHeight);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSpincw0R::setFocusControl(QWidget *w)
{
    m_focusControl = w;
}

void TSpincw0R::setPanelwidth(int w)
{
    m_panelWidth = std::clamp(w, 0, MaxPanelWidth);
    update();
}

QColor TSpincw0R::BKColor() const
{
    return m_bkColor.isValid() ? m_bkColor : palette().color(QPalette::Base);
}

void TSpincw0R::setBKColor(const QColor &c)
{
    m_bkColor = c;
    update();
}

void TSpincw0R::setCMinColor(const QColor &c)
{
    m_cMinColor = c;
    update();
}

void TSpincw0R::setLedOnCol(const QColor &c)
{
    m_ledOnCol = c;
    update();
}

void TSpincw0R::setLedOffCol(const QColor &c)
{
    m_ledOffCol = c;
    update();
}

void TSpincw0R::setValue(int v)
{
    m_value = std::clamp(v, m_min, std::max(m_min, m_max));
    Q_EMIT OnChange(this);
    update();
}

void TSpincw0R::setMaxValue(int v)
{
    m_max = v;
    if (m_value > m_max)
        m_value = m_max;
    update();
}

void TSpincw0R::setMinValue(int v)
{
    m_min = v;
    if (m_value < m_min)
        m_value = m_min;
    update();
}

int TSpincw0R::rollStep() const
{
    if (m_ctrlStep)
        return CtrlStep;
    if (m_shiftStep)
        return ShiftStep;
    return 1;
}

QSize TSpincw0R::sizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

QSize TSpincw0R::minimumSizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

bool TSpincw0R::inRollZone(QPoint p) const
{
    return p.x() >= RollZoneLeft && p.x() <= width() - 1 && p.y() >= 1 && p.y() <= height() - 1;
}

void TSpincw0R::keyPressEvent(QKeyEvent *e)
{
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    const int old = m_value;
    int v = old;
    switch (e->key()) {
    case Qt::Key_PageUp:
        v += PageStep;
        break;
    case Qt::Key_PageDown:
        v -= PageStep;
        break;
    case Qt::Key_End:
        v = m_max;
        break;
    case Qt::Key_Home:
        v = m_min;
        break;
    case Qt::Key_Up:
        ++v;
        break;
    case Qt::Key_Down:
        --v;
        break;
    case Qt::Key_Plus:
        if (!keypad)
            return QWidget::keyPressEvent(e);
        ++v;
        break;
    case Qt::Key_Minus:
        if (!keypad)
            return QWidget::keyPressEvent(e);
        --v;
        break;
    case Qt::Key_Insert:
        v = (m_max + m_min) / 2;
        break;
    default:
        return QWidget::keyPressEvent(e);
    }
    e->accept();
    // Compared after clamping: a key pressed at the bound changes nothing and
    // so must not announce a change either.
    v = std::clamp(v, m_min, std::max(m_min, m_max));
    if (v == old)
        return;
    m_value = v;
    Q_EMIT OnChange(this);
    update();
}

void TSpincw0R::mousePressEvent(QMouseEvent *e)
{
    const Qt::MouseButton b = e->button();
    if (b != Qt::LeftButton && b != Qt::RightButton)
        return QWidget::mousePressEvent(e);
    ctl::takeFocusOnPress(this, m_focusControl);
    const QPoint pos = e->position().toPoint();
    if (!inRollZone(pos))
        return;
    m_rolling = true;
    m_rollChanged = false;
    m_lastRow = pos.y();
    m_anchor = pos;
    m_warpPending = false;
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool leftOnly = b == Qt::LeftButton && e->buttons() == Qt::LeftButton;
    m_shiftStep = leftOnly && mods == Qt::ShiftModifier;
    m_ctrlStep = leftOnly && mods == Qt::ControlModifier;
    // The press itself keeps motion coming to this control while the button
    // is held, also when the pointer leaves the box.
    setCursor(Qt::SplitVCursor);
    update();
}

void TSpincw0R::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (!m_rolling) {
        setCursor(inRollZone(pos) ? Qt::SplitVCursor : Qt::ArrowCursor);
        return;
    }
    const int row = pos.y();
    if (m_warpPending && e->globalPosition().toPoint() == m_warpTarget) {
        // The pointer arrived where it was put back: no motion of the user's.
        m_warpPending = false;
        m_lastRow = row;
        return;
    }
    if (row == m_lastRow)
        return;
    const bool down = row > m_lastRow;
    // Pretend the pointer stayed one row short of where it went, so every
    // further move in the same direction makes another step.
    m_lastRow = down ? row - 1 : row + 1;
    // Where the platform allows it, the pointer is put back near the press
    // point now and then, so it never runs into the screen edge. Doing it
    // only after some travel keeps late motion events from before the jump
    // from being read as steps the other way.
    if (m_warpPointer && std::abs(row - m_anchor.y()) > WarpDistance) {
        m_warpTarget = mapToGlobal(m_anchor);
        m_warpPending = true;
        QCursor::setPos(m_warpTarget);
    }
    rollBy(down ? -rollStep() : rollStep());
}

void TSpincw0R::rollBy(int delta)
{
    const int v = delta < 0 ? std::max(m_value + delta, m_min) : std::min(m_value + delta, m_max);
    if (v == m_value)
        return;
    m_value = v;
    m_rollChanged = true;
    Q_EMIT OnChanging(this);
    update();
}

void TSpincw0R::mouseReleaseEvent(QMouseEvent *e)
{
    if (!m_rolling)
        return QWidget::mouseReleaseEvent(e);
    endRoll();
}

void TSpincw0R::endRoll()
{
    const bool changed = m_rollChanged;
    m_rolling = false;
    m_rollChanged = false;
    m_shiftStep = false;
    m_ctrlStep = false;
    if (changed)
        Q_EMIT OnChange(this);
    update();
}

void TSpincw0R::wheelEvent(QWheelEvent *e)
{
    if (e->angleDelta().y() == 0)
        return QWidget::wheelEvent(e);
    // A notch is a key press: the change is complete at once. Accepted also
    // at a bound, so the page behind does not start scrolling instead.
    e->accept();
    const int steps = m_wheel.take(e);
    if (steps == 0 || m_rolling)
        return;
    const int v = std::clamp(m_value + steps, m_min, std::max(m_min, m_max));
    if (v == m_value)
        return;
    m_value = v;
    Q_EMIT OnChange(this);
    update();
}

void TSpincw0R::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    Q_EMIT OnEnter(this);
    update();
}

void TSpincw0R::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    Q_EMIT OnExit(this);
    update();
}

int TSpincw0R::textColumn(const QString &text) const
{
    int x = 11;
    if (m_value >= 100)
        x = 5;
    else if (m_value >= 10)
        x = 8;
    else if (m_value < 0)
        x = 14;
    // Wide numbers in a wide font would run into the LED; pull them left
    // just enough to stay inside the field.
    const int fieldRight = std::max(width(), int(DefaultWidth)) - FieldRightGap;
    const int overflow = x + fontMetrics().horizontalAdvance(text) - fieldRight;
    if (overflow > 0)
        x = std::max(3, x - overflow);
    return x;
}

void TSpincw0R::paintEvent(QPaintEvent *)
{
    const int w = std::max(width(), int(DefaultWidth));
    const int h = std::max(height(), int(DefaultHeight));
    QPixmap pm = ctl::makeBuffer(this, QSize(w, h));
    {
        QPainter p(&pm);
        const QColor shadow = ctl::shadowColor(this);
        const QColor light = ctl::highlightColor(this);
        const bool focused = hasFocus();
        p.fillRect(QRect(0, 0, w, h), ctl::faceColor(this));
        ctl::frame3D(p, QRect(QPoint(0, 0), QPoint(w - 1, h - 1)), shadow, light);
        const QColor field = focused ? palette().color(QPalette::Highlight) : BKColor();
        ctl::fillSpan(p, 2, 2, w - 16, h - 3, field);

        const QString text = QString::number(m_value);
        p.setFont(font());
        p.setPen(palette().color(focused ? QPalette::HighlightedText : QPalette::Text));
        p.setClipRect(QRect(QPoint(2, 2), QPoint(w - 16, h - 3)));
        p.drawText(QRect(textColumn(text), TextRow, w, h), Qt::AlignLeft | Qt::AlignTop, text);
        p.setClipping(false);

        ctl::frame3D(p, QRect(QPoint(w - 14, 1), QPoint(w - 2, h - 2)), light, shadow);
        ctl::fillSpan(p, w - 12, 3, w - 5, h - 4, m_rolling ? m_ledOnCol : m_ledOffCol);
        ctl::frame3D(p, QRect(QPoint(1, 1), QPoint(w - 15, h - 2)), Qt::black, shadow);
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
