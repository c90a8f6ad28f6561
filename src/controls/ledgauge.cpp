#include "controls/ledgauge.h"

#include "controls/controlpaint.h"

#include <QPainter>

namespace {
const QColor Olive(128, 128, 0);
const QColor ZoneRed(255, 0, 0);
const QColor ZoneGreen(0, 255, 0);
const QColor ZoneYellow(255, 255, 0);
} // namespace

TLEDGauge::TLEDGauge(QWidget *parent) : QWidget(parent), m_color(255, 0, 0), m_offColor(0, 128, 0)
{
    setFocusPolicy(Qt::NoFocus);
    resize(DefaultWidth, DefaultHeight);
    m_timer.setInterval(m_miliSc);
    connect(&m_timer, &QTimer::timeout, this, &TLEDGauge::fallBack);
    recalcThresholds();
    recalcLit();
    recalcLayout();
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
    recalcLayout();
    update();
}

void TLEDGauge::setCount(int n)
{
    // A gauge without LEDs has nothing to lay out or divide by.
    m_count = std::max(1, n);
    m_value = 0;
    recalcThresholds();
    recalcLit();
    recalcLayout();
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

void TLEDGauge::recalcLayout()
{
    const int w = width();
    const int h = height();
    const int n = m_count;
    const bool round = m_shape == ShapeRound;
    m_ledOrigin.resize(n);
    if (w >= h) {
        const int cw = std::max(1, (2 * w) / std::max(1, 3 * n - 1));
        const int ch = round ? cw : h;
        m_cell = QSize(cw, ch);
        const int bottom = h - (h - ch) / 2;
        for (int i = 1; i <= n; ++i)
            m_ledOrigin[i - 1] = QPoint(n > 1 ? ctl::mulDiv(i - 1, w - cw, n - 1) : 0, bottom);
    } else {
        const int ch = (2 * h) / std::max(1, 2 * n - 1) + 1;
        const int cw = round ? ch : w;
        m_cell = QSize(cw, ch);
        const int x = (w - cw) / 2;
        for (int i = 1; i <= n; ++i)
            m_ledOrigin[i - 1] = QPoint(x, h - (n > 1 ? ctl::mulDiv(i - 1, h - ch, n - 1) : 0));
    }
}

QRect TLEDGauge::ledRect(int i) const
{
    if (i < 1 || i > m_ledOrigin.size())
        return {};
    const QPoint o = m_ledOrigin[i - 1];
    return QRect(o.x(), o.y() - m_cell.height(), m_cell.width(), m_cell.height());
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

void TLEDGauge::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    recalcLayout();
}

void TLEDGauge::paintEvent(QPaintEvent *)
{
    QPixmap pm = ctl::makeBuffer(this, size());
    pm.fill(ctl::faceColor(this));
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, m_shape != ShapeRect);
        p.setPen(QPen(Olive, 1));
        for (int i = 1; i <= m_count; ++i) {
            const int slot = m_mirror ? m_count - i + 1 : i;
            // Outline drawn on the cell's inner edge so neighbouring cells
            // never paint over each other.
            const QRectF cell = QRectF(ledRect(slot)).adjusted(0.5, 0.5, -0.5, -0.5);
            p.setBrush(ledColor(i));
            switch (m_shape) {
            case ShapeRound:
                p.drawEllipse(cell);
                break;
            case ShapeRoundRect:
                p.drawRoundedRect(cell, m_cell.width() / 4, m_cell.height() / 4);
                break;
            default:
                p.drawRect(cell);
                break;
            }
        }
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
