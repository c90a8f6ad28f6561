#include "controls/lpanh.h"

#include "controls/controlpaint.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr int MinHeight = 15;
constexpr int MaxPanelWidth = 2;
// Columns kept free at the two ends of the scale.
constexpr int ScaleMargin = 6;
} // namespace

TLPanH::TLPanH(QWidget *parent) : QWidget(parent), m_color(Qt::red)
{
    resize(DefaultWidth, DefaultHeight);
    setFocusPolicy(Qt::NoFocus);
}

void TLPanH::setPanelState(TPanelState s)
{
    m_panelState = s;
    update();
}

void TLPanH::setPanelwidth(int w)
{
    m_panelWidth = std::clamp(w, 0, MaxPanelWidth);
    update();
}

void TLPanH::setColor(const QColor &c)
{
    m_color = c;
    update();
}

void TLPanH::setMaxValue(int v)
{
    m_max = v;
    update();
}

void TLPanH::setMinValue(int v)
{
    m_min = v;
    update();
}

void TLPanH::setValue(int v)
{
    m_value = std::clamp(v, std::min(m_min, m_max), std::max(m_min, m_max));
    update();
}

QSize TLPanH::sizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

QSize TLPanH::minimumSizeHint() const
{
    return {MinWidth, MinHeight};
}

// Values per column. Worked out from the current width and bounds rather than
// once at construction, so a strip laid out wider still reaches its right end.
double TLPanH::scale() const
{
    const int w = std::max(width(), MinWidth);
    const double s = double(m_max - m_min) / double(w - ScaleMargin);
    return s == 0.0 ? 1.0 : s;
}

int TLPanH::markerColumn() const
{
    const int w = std::max(width(), MinWidth);
    const int divisor = std::max(1L, std::lround((scale() + 0.003) * 100.0));
    const int x = int((long(m_value - m_min) * 100) / divisor) + 3;
    return std::clamp(x, 3, w - 4);
}

void TLPanH::paintEvent(QPaintEvent *)
{
    const int w = std::max(width(), MinWidth);
    const int h = height() <= 10 ? MinHeight : height();
    QPixmap pm = ctl::makeBuffer(this, QSize(w, h));
    {
        QPainter p(&pm);
        const QColor shadow = ctl::shadowColor(this);
        const QColor light = ctl::highlightColor(this);
        p.fillRect(QRect(0, 0, w, h), ctl::faceColor(this));
        const QRect outer(QPoint(0, 0), QPoint(w - 1, h - 1));
        if (m_panelState == TPanelState::Lowered)
            ctl::frame3D(p, outer, shadow, light, m_panelWidth);
        else if (m_panelState == TPanelState::Raised)
            ctl::frame3D(p, outer, light, shadow, m_panelWidth);

        ctl::hLine(p, 3, w - 3, 6, shadow);
        const int q = (w - ScaleMargin) / 4;
        for (int i = 0; i < 4; ++i)
            ctl::vLine(p, i * q + 2, 3, h / 2 + 2, shadow);
        ctl::vLine(p, w - 4, 3, h / 2 + 2, shadow);
        ctl::vLine(p, 2 * q + 2, 2, h - 2, shadow);

        const int x = markerColumn();
        ctl::fillSpan(p, x - 1, 2, x + 1, h - 2, Qt::black);
        ctl::vLine(p, x, 3, h - 3, m_color);
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
