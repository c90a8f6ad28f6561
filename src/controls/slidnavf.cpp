#include "controls/slidnavf.h"

#include "controls/controlpaint.h"

#include <QPainter>

namespace {
constexpr qreal HeaderPointSize = 8.0;
constexpr int TextRow = 1;
} // namespace

TSlidNaVf::TSlidNaVf(QWidget *parent) : TSliderBase(QSize(DefaultWidth, DefaultHeight), parent)
{
    QFont f = font();
    f.setPointSizeF(HeaderPointSize);
    setFont(f);
}

QSize TSlidNaVf::sizeHint() const
{
    return {DefaultWidth, DefaultHeight};
}

int TSlidNaVf::textColumn(int position)
{
    if (position >= 100)
        return 3;
    if (position >= 10)
        return 6;
    if (position >= 0)
        return 9;
    if (position >= -9)
        return 7;
    if (position >= -99)
        return 5;
    return 2;
}

void TSlidNaVf::paintTicks(QPainter &p, int row) const
{
    const QColor shadow = ctl::shadowColor(this);
    const QColor light = ctl::highlightColor(this);
    for (const auto &[x1, x2] : {std::pair{2, 7}, std::pair{18, 23}}) {
        ctl::hLine(p, x1, x2, row, shadow);
        ctl::hLine(p, x1, x2, row + 1, light);
    }
}

QRect TSlidNaVf::trackRect() const
{
    return QRect(QPoint(11, TrackTop), QPoint(15, TrackTop));
}

QRect TSlidNaVf::thumbRect(int row) const
{
    return QRect(QPoint(3, row - 4), QPoint(23, row + 6));
}

void TSlidNaVf::paintHeaderText(QPainter &p) const
{
    p.setFont(font());
    p.setPen(headerTextColor());
    const QString text = QString::number(Position());
    p.drawText(QRect(textColumn(Position()), TextRow, width(), HeaderBottom),
               Qt::AlignLeft | Qt::AlignTop, text);
}

bool TSlidNaVf::dragEndAnnounces(bool stepped) const
{
    return stepped || Position() != m_lastDonePosition;
}
