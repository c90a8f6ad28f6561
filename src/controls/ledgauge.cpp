#include "controls/ledgauge.h"

#include "controls/controlpaint.h"

#include <QPainter>
#include <algorithm>

namespace {
const QColor Olive(128, 128, 0);
const QColor ZoneRed(255, 0, 0);
const QColor ZoneGreen(0, 255, 0);
const QColor ZoneYellow(255, 255, 0);
// Narrower cells are filled without their outline.
constexpr int MinOutlinedCell = 4;
} // namespace

TLEDGauge::TLEDGauge(QWidget *parent) : QWidget(parent), m_color(255, 0, 0), m_offColor(0, 128, 0)
{
    setFocusPolicy(Qt::NoFocus);
    resize(DefaultWidth, DefaultHeight);
    m_timer.setInterval(m_miliSc);
    connect(&m_timer, &QTimer::timeout, this, &TLEDGauge::fallBack);
    recalcThresholds();
    recalcLit();
}

void TLEDGauge::setStyle(int s)
{
    m_style = s;
    update();
}

void TLEDGauge::setMode(int m)
{
    m_mode = m;
    update();
}

void TLEDGauge::setShape(int s)
{
    m_shape = s;
    update();
}

void TLEDGauge::setCount(int n)
{
    // A gauge without LEDs has nothing to lay out or divide by.
    m_count = std::max(1, n);
    m_value = 0;
    recalcThresholds();
    recalcLit();
    update();
}

void TLEDGauge::setColor(const QColor &c)
{
    m_color = c;
    update();
}

void TLEDGauge::setMirror(bool on)
{
    m_mirror = on;
    update();
}

void TLEDGauge::setOffColor(const QColor &c)
{
    m_offColor = c;
    update();
}

void TLEDGauge::setMaximum(int m)
{
    m_maximum = m;
    recalcLit();
    update();
}

void TLEDGauge::setYellowPercent(int p)
{
    m_yellowPercent = p;
    recalcThresholds();
    update();
}

void TLEDGauge::setRedPercent(int p)
{
    m_redPercent = p;
    recalcThresholds();
    update();
}

void TLEDGauge::setValue(int v)
{
    m_value = std::max(1, v);
    recalcLit();
    update();
}

void TLEDGauge::setMiliSc(int ms)
{
    m_miliSc = std::max(1, ms);
    m_timer.setInterval(m_miliSc);
}

void TLEDGauge::setDelay(int d)
{
    m_delay = d;
    if (d != 0)
        m_timer.start();
    else
        m_timer.stop();
}

void TLEDGauge::fallBack()
{
    setValue(m_value - 2);
}

void TLEDGauge::recalcThresholds()
{
    m_yellowAt = ctl::mulDiv(m_count, m_yellowPercent, 100);
    m_redAt = ctl::mulDiv(m_count, m_redPercent, 100);
}

void TLEDGauge::recalcLit()
{
    m_lit = ctl::mulDiv(m_value, m_count, m_maximum);
}

QSize TLEDGauge::cellSize() const
{
    const int w = width();
    const int h = height();
    const int n = m_count;
    const bool round = m_shape == ShapeRound;
    if (w >= h) {
        const int cw = std::max(1, (2 * w) / std::max(1, 3 * n - 1));
        return {cw, round ? cw : h};
    }
    const int ch = (2 * h) / std::max(1, 2 * n - 1) + 1;
    return {round ? ch : w, ch};
}

QRect TLEDGauge::ledRect(int i) const
{
    if (i < 1 || i > m_count)
        return {};
    const int w = width();
    const int h = height();
    const int n = m_count;
    const QSize cell = cellSize();
    int left = 0;
    int bottom = 0;
    if (w >= h) {
        left = n > 1 ? ctl::mulDiv(i - 1, w - cell.width(), n - 1) : 0;
        bottom = h - (h - cell.height()) / 2;
    } else {
        left = (w - cell.width()) / 2;
        bottom = h - (n > 1 ? ctl::mulDiv(i - 1, h - cell.height(), n - 1) : 0);
    }
    return QRect(left, bottom - cell.height(), cell.width(), cell.height());
}

QColor TLEDGauge::ledColor(int i) const
{
    const bool off = (m_mode == ModeBar && i > m_lit) || (m_mode == ModeDot && i != m_lit);
    if (off)
        return m_offColor;
    if (m_style != StyleZones)
        return m_color;
    if (i >= m_redAt)
        return ZoneRed;
    if (i < m_yellowAt)
        return ZoneGreen;
    return ZoneYellow;
}

QSize TLEDGauge::sizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

void TLEDGauge::paintEvent(QPaintEvent *)
{
    QPixmap pm = ctl::makeBuffer(this, size());
    pm.fill(ctl::faceColor(this));
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, m_shape != ShapeRect);
        p.setPen(QPen(Olive, 1));
        const QSize cellSz = cellSize();
        const bool thin = std::min(cellSz.width(), cellSz.height()) < MinOutlinedCell;
        for (int i = 1; i <= m_count; ++i) {
            const int slot = m_mirror ? m_count - i + 1 : i;
            // Outline drawn on the cell's inner edge so neighbouring cells
            // never paint over each other.
            const QRectF cell = QRectF(ledRect(slot)).adjusted(0.5, 0.5, -0.5, -0.5);
            p.setBrush(ledColor(i));
            // Cells only a few pixels across would show nothing but outline.
            p.setPen(thin ? Qt::NoPen : QPen(Olive, 1));
            switch (m_shape) {
            case ShapeRound:
                p.drawEllipse(cell);
                break;
            case ShapeRoundRect:
                p.drawRoundedRect(cell, cellSz.width() / 4, cellSz.height() / 4);
                break;
            default:
                p.drawRect(cell);
                break;
            }
        }
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
