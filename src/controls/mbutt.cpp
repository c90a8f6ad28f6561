#include "controls/mbutt.h"

#include "controls/controlpaint.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
const QColor Silver(192, 192, 192);
const QColor Lime(0, 255, 0);
constexpr int MaxPanelWidth = 2;
} // namespace

TMButt::TMButt(QWidget *parent) : QWidget(parent), m_downColor(Lime), m_upColor(Silver)
{
    resize(DefaultSize, DefaultSize);
    setFocusPolicy(Qt::NoFocus);
}

void TMButt::setDown(bool on)
{
    m_down = on;
    update();
}

void TMButt::setDownColor(const QColor &c)
{
    m_downColor = c;
    update();
}

void TMButt::setUpColor(const QColor &c)
{
    m_upColor = c;
    update();
}

void TMButt::setPanelState(TPanelState s)
{
    m_panelState = s;
    update();
}

void TMButt::setPanelwidth(int w)
{
    m_panelWidth = std::clamp(w, 0, MaxPanelWidth);
    update();
}

bool TMButt::Tabstop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TMButt::setTabstop(bool on)
{
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

QSize TMButt::sizeHint() const
{
    return {DefaultSize, DefaultSize};
}

void TMButt::mousePressEvent(QMouseEvent *e)
{
    m_down = !m_down;
    Q_EMIT OnClick(this);
    update();
    e->accept();
}

void TMButt::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPixmap pm = ctl::makeBuffer(this, size());
    {
        QPainter p(&pm);
        const QColor shadow = ctl::shadowColor(this);
        const QColor light = ctl::highlightColor(this);
        p.fillRect(QRect(0, 0, w, h), ctl::faceColor(this));
        ctl::frame3D(p, QRect(QPoint(0, 0), QPoint(w - 1, h - 1)), shadow, light);
        ctl::frame3D(p, QRect(QPoint(1, 1), QPoint(w - 2, h - 2)), Qt::black, Silver);
        const QRect inner(QPoint(2, 2), QPoint(w - 3, h - 3));
        if (m_down)
            ctl::frame3D(p, inner, shadow, light);
        else
            ctl::frame3D(p, inner, light, shadow);
        ctl::fillSpan(p, 3, 3, w - 4, h - 4, m_down ? m_downColor : m_upColor);
    }
    QPainter(this).drawPixmap(0, 0, pm);
}
