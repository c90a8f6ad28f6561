#include "controls/sliddt.h"

#include "controls/controlpaint.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int TextRow = 1;
constexpr int MinTextPixels = 7;
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

// The header layout assumes narrow characters; with the theme's font the text
// is centred by its real width instead, and shrunk when it would not fit.
void TSliddt::paintHeaderText(QPainter &p) const
{
    const int room = std::max(width(), int(MinWidth)) - 4;
    QFont f = font();
    int advance = QFontMetrics(f).horizontalAdvance(m_text);
    while (advance > room && f.pixelSize() != MinTextPixels) {
        const int px = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
        f.setPixelSize(std::max(MinTextPixels, px - 1));
        advance = QFontMetrics(f).horizontalAdvance(m_text);
    }
    p.setFont(f);
    p.setPen(headerTextColor());
    const int x = std::max(2, (room + 4) / 2 - advance / 2);
    p.drawText(QRect(x, TextRow, width(), HeaderBottom), Qt::AlignLeft | Qt::AlignTop, m_text);
}

bool TSliddt::dragEndAnnounces(bool) const
{
    return Position() != m_lastDonePosition;
}

void TSliddt::mouseReleased(QMouseEvent *e)
{
    m_muisDown = false;
    Q_EMIT OnMouseUp(this, e->button(), e->modifiers(), e->position().toPoint());
}
