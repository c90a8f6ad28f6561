#include "controls/sliddt.h"

#include "controls/controlpaint.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int TextRow = 1;
// Width the header layout assumes for one character.
constexpr int NominalCharWidth = 5;
} // namespace

TSliddt::TSliddt(QWidget *parent) : TSliderBase(QSize(DefaultWidth, DefaultHeight), parent) {}

QSize TSliddt::sizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

void TSliddt::setText(const QString &t)
{
    m_text = t.left(MaxTextLength);
    update();
}

int TSliddt::textColumn(int length) const
{
    return (width() - 4) / 2 - (length * NominalCharWidth) / 2;
}

void TSliddt::paintTicks(QPainter &p, int row) const
{
    const QColor shadow = ctl::shadowColor(this);
    const QColor light = ctl::highlightColor(this);
    const int w = std::max(width(), int(MinWidth));
    const int c = w / 2;
    const int innerLeft = c - 6;
    const int innerRight = w - 1 - innerLeft;
    for (const auto &[x1, x2] : {std::pair{3, innerLeft}, std::pair{innerRight, w - 4}}) {
        ctl::hLine(p, x1, x2, row, shadow);
        ctl::hLine(p, x1, x2, row + 1, light);
    }
}

QRect TSliddt::trackRect() const
{
    const int c = std::max(width(), int(MinWidth)) / 2;
    return QRect(QPoint(c - 2, TrackTop), QPoint(c + 2, TrackTop));
}

QRect TSliddt::thumbRect(int row) const
{
    const int c = std::max(width(), int(MinWidth)) / 2;
    return QRect(QPoint(c - 10, row - 4), QPoint(c + 10, row + 6));
}

void TSliddt::paintHeaderText(QPainter &p) const
{
    p.setFont(font());
    p.setPen(headerTextColor());
    p.drawText(QRect(textColumn(int(m_text.size())), TextRow, width(), HeaderBottom),
               Qt::AlignLeft | Qt::AlignTop, m_text);
}

bool TSliddt::dragEndAnnounces(bool) const
{
    return Position() != m_lastDonePosition;
}

void TSliddt::dragEnded(QMouseEvent *e)
{
    m_muisDown = false;
    Q_EMIT OnMouseUp(this, e->button(), e->modifiers(), e->position().toPoint());
}
