#include "controls/sliderbase.h"

#include "controls/controlpaint.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
constexpr int MaxPanelWidth = 2;
constexpr int PageStep = 10;
constexpr int MinTicks = 2;
// Rows between the track top and the lowest thumb centre, counted from the
// bottom: the thumb centre runs from TrackTop to height - ThumbTravelGap + TrackTop.
constexpr int ThumbTravelGap = 27;
// Thumb rows the mouse can grab, around the centre row.
constexpr int GrabAbove = 2;
constexpr int GrabBelow = 3;

int floorHalf(int v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}
} // namespace

TSliderBase::TSliderBase(QSize defaultSize, QWidget *parent)
    : QWidget(parent), m_defaultSize(defaultSize)
{
    resize(defaultSize);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_index = m_max + m_min - m_position;
}

bool TSliderBase::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TSliderBase::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void TSliderBase::setPanelwidth(int w)
{
    m_panelWidth = std::clamp(w, 0, MaxPanelWidth);
    update();
}

void TSliderBase::setShowTicks(bool on)
{
    m_showTicks = on;
    update();
}

void TSliderBase::setTicks(int n)
{
    m_ticks = std::max(MinTicks, n);
    update();
}

QColor TSliderBase::BKColor() const
{
    return m_bkColor.isValid() ? m_bkColor : palette().color(QPalette::Base);
}

void TSliderBase::setBKColor(const QColor &c)
{
    m_bkColor = c;
    update();
}

QColor TSliderBase::ThumbColor() const
{
    return m_thumbColor.isValid() ? m_thumbColor : ctl::faceColor(this);
}

void TSliderBase::setThumbColor(const QColor &c)
{
    m_thumbColor = c;
    update();
}

void TSliderBase::setPosition(int v)
{
    if (v < m_min || v > m_max)
        return;
    m_index = m_max + m_min - v;
    m_position = v;
    m_lastDonePosition = v;
    Q_EMIT OnChange(this);
    update();
}

// Bounds changes keep the shown position (clamped into the new range) and
// move the thumb accordingly, so a value inside both ranges stays put.
void TSliderBase::setMaxValue(int v)
{
    m_max = v;
    m_position = std::clamp(m_position, std::min(m_min, m_max), m_max);
    m_index = m_max + m_min - m_position;
    if (announcesMaxChange())
        Q_EMIT OnChange(this);
    update();
}

void TSliderBase::setMinValue(int v)
{
    m_min = v;
    m_position = std::clamp(m_position, m_min, std::max(m_min, m_max));
    m_index = m_max + m_min - m_position;
    update();
}

int TSliderBase::span() const
{
    return m_max - m_min;
}

int TSliderBase::heightForLayout() const
{
    return std::max(height(), int(MinHeight));
}

int TSliderBase::thumbRow() const
{
    const int h = heightForLayout();
    if (span() < 1)
        return h - 4;
    return TrackTop + (h - ThumbTravelGap) * (m_index - m_min) / span();
}

// The inverse of thumbRow(), rounded, so a dragged thumb stays under the
// pointer instead of jumping when the drag starts.
int TSliderBase::indexForRow(int row) const
{
    const int travel = heightForLayout() - ThumbTravelGap;
    if (span() < 1 || travel < 1)
        return m_min;
    const int offset = row - TrackTop;
    const int idx = m_min + (2 * span() * offset + (offset < 0 ? -travel : travel)) / (2 * travel);
    return std::clamp(idx, m_min, m_max);
}

bool TSliderBase::inThumbZone(QPoint p) const
{
    const int t = thumbRow();
    return p.x() >= 4 && p.x() <= width() - 4 && p.y() >= t - GrabAbove && p.y() <= t + GrabBelow;
}

void TSliderBase::applyIndex(int index)
{
    m_index = std::clamp(index, m_min, std::max(m_min, m_max));
    m_position = m_max + m_min - m_index;
}

QSize TSliderBase::minimumSizeHint() const
{
    return {MinWidth, MinHeight};
}

QColor TSliderBase::headerTextColor() const
{
    return palette().color(m_focused ? QPalette::HighlightedText : QPalette::Text);
}

void TSliderBase::keyPressEvent(QKeyEvent *e)
{
    Q_EMIT OnKeyDown(this, e->key(), e->modifiers());
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    int idx = m_index;
    switch (e->key()) {
    case Qt::Key_PageUp:
        idx -= PageStep;
        break;
    case Qt::Key_PageDown:
        idx += PageStep;
        break;
    case Qt::Key_End:
        idx = m_min;
        break;
    case Qt::Key_Home:
        idx = m_max;
        break;
    case Qt::Key_Up:
        --idx;
        break;
    case Qt::Key_Down:
        ++idx;
        break;
    case Qt::Key_Plus:
        if (keypad)
            --idx;
        break;
    case Qt::Key_Minus:
        if (keypad)
            ++idx;
        break;
    case Qt::Key_Insert:
        // Rounded down, so a range like -64..63 centres on position 0.
        idx = floorHalf(m_max + m_min);
        break;
    default:
        break;
    }
    if (!e->text().isEmpty())
        Q_EMIT OnKeyPress(this, e->text().at(0));
    const int old = m_index;
    idx = std::clamp(idx, m_min, std::max(m_min, m_max));
    if (idx == old)
        return QWidget::keyPressEvent(e);
    e->accept();
    applyIndex(idx);
    m_lastDonePosition = m_position;
    Q_EMIT OnChange(this);
    update();
}

void TSliderBase::keyReleaseEvent(QKeyEvent *e)
{
    Q_EMIT OnKeyUp(this, e->key(), e->modifiers());
    QWidget::keyReleaseEvent(e);
}

void TSliderBase::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    ctl::takeFocusOnPress(this, m_focusControl);
    const QPoint pos = e->position().toPoint();
    if (inThumbZone(pos)) {
        m_dragging = true;
        m_dragStepped = false;
        m_grabOffset = pos.y() - thumbRow();
        m_grabRow = pos.y();
        m_grabIndex = m_index;
        dragStarted();
        update();
        return;
    }
    const int t = thumbRow();
    if (pos.y() == t)
        return;
    applyIndex(m_index + (pos.y() < t ? -1 : 1));
    Q_EMIT OnChange(this);
    update();
    m_lastDonePosition = m_position;
}

void TSliderBase::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (!m_dragging) {
        setCursor(inThumbZone(pos) ? Qt::SizeVerCursor : Qt::ArrowCursor);
        return;
    }
    // Every move of a held thumb is a drag step, also one that stays on the
    // same index: the screens see the drag going on, and its release
    // completes the change.
    // Several indices share a row (or rows an index), so mapping the grab row
    // back could land one off: on the row where the thumb was taken it stays
    // where it was.
    applyIndex(pos.y() == m_grabRow ? m_grabIndex : indexForRow(pos.y() - m_grabOffset));
    m_dragStepped = true;
    Q_EMIT OnChanging(this);
    Q_EMIT OnMouseMove(this, e->buttons(), pos);
    update();
}

void TSliderBase::mouseReleaseEvent(QMouseEvent *e)
{
    // Every release is a completed action: after a click step the position
    // equals the remembered one, so only a drag can announce here.
    m_dragging = false;
    const bool stepped = m_dragStepped;
    m_dragStepped = false;
    if (dragEndAnnounces(stepped))
        Q_EMIT OnChange(this);
    m_lastDonePosition = m_position;
    mouseReleased(e);
    update();
}

void TSliderBase::wheelEvent(QWheelEvent *e)
{
    if (e->angleDelta().y() == 0)
        return QWidget::wheelEvent(e);
    // A notch upward raises the position like the Up arrow, and completes
    // the change at once. Accepted also at a bound, so the page behind does
    // not start scrolling instead.
    e->accept();
    const int steps = m_wheel.take(e);
    if (steps == 0 || m_dragging)
        return;
    const int old = m_index;
    applyIndex(m_index - steps);
    if (m_index == old)
        return;
    m_lastDonePosition = m_position;
    Q_EMIT OnChange(this);
    update();
}

void TSliderBase::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    m_focused = true;
    Q_EMIT OnEnter(this);
    update();
}

void TSliderBase::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    m_focused = false;
    Q_EMIT OnExit(this);
    update();
}

void TSliderBase::paintEvent(QPaintEvent *)
{
    const int w = std::max(width(), int(MinWidth));
    const int h = heightForLayout();
    QPixmap pm = ctl::makeBuffer(this, QSize(w, h));
    {
        QPainter p(&pm);
        const QColor shadow = ctl::shadowColor(this);
        const QColor light = ctl::highlightColor(this);
        p.fillRect(QRect(0, 0, w, h), ctl::faceColor(this));
        if (m_showTicks) {
            const int step = (h - 26) / (m_ticks - 1);
            for (int i = 0; i < m_ticks; ++i)
                paintTicks(p, step * i + tickRowOffset());
        }
        const QRect track = trackRect();
        ctl::frame3D(p, QRect(track.left(), TrackTop, track.width(), h - 3 - TrackTop + 1), shadow,
                     light);

        const int t = thumbRow();
        const QRect thumb = thumbRect(t);
        ctl::fillSpan(p, thumb.left(), thumb.top(), thumb.right(), thumb.bottom(), Qt::black);
        ctl::frame3D(p, thumb.adjusted(1, 1, -1, -1), light, shadow);
        ctl::fillSpan(p, thumb.left() + 2, t - 2, thumb.right() - 2, t + 4, ThumbColor());
        ctl::hLine(p, thumb.left() + 2, thumb.right() - 2, t, Qt::black);
        ctl::hLine(p, thumb.left() + 2, thumb.right() - 2, t + 1, light);

        ctl::frame3D(p, QRect(0, 0, w, h), shadow, light, m_panelWidth);

        const QColor header = m_focused ? palette().color(QPalette::Highlight) : BKColor();
        ctl::fillSpan(p, 2, 2, w - 3, HeaderBottom - 2, header);
        ctl::hLine(p, 1, w - 2, HeaderBottom, light);
        ctl::frame3D(p, QRect(QPoint(1, 1), QPoint(w - 2, HeaderBottom - 1)), Qt::black, shadow);
        p.setClipRect(QRect(QPoint(2, 1), QPoint(w - 3, HeaderBottom - 2)));
        paintHeaderText(p);
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
