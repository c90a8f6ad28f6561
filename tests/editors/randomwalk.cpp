#include "randomwalk.h"

#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "editors/paintbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

namespace {
constexpr int NotchAngle = 120;
constexpr int MaxRollRows = 6;
constexpr int MaxDragMoves = 16;

const QList<Qt::Key> ValueKeys = {Qt::Key_Up,   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                  Qt::Key_Home, Qt::Key_End,  Qt::Key_Insert};
const QList<Qt::Key> ListKeys = {Qt::Key_Up,  Qt::Key_Down,   Qt::Key_Home,
                                 Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};

void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

RandomWalk::RandomWalk(QWidget &screen, quint32 seed) : screen_(screen), rng_(seed) {}

QList<QWidget *> RandomWalk::candidates() const
{
    QList<QWidget *> out;
    for (QWidget *w : screen_.findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || skipped_.contains(w->objectName()) || !w->isVisible() ||
            !w->isEnabled())
            continue;
        if (qobject_cast<TSpincw0R *>(w) || qobject_cast<TSliderBase *>(w) ||
            qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w) ||
            qobject_cast<TPaintBox *>(w))
            out << w;
    }
    return out;
}

QStringList RandomWalk::targets() const
{
    QStringList names;
    for (QWidget *w : candidates())
        names << w->objectName();
    return names;
}

QStringList RandomWalk::run(int steps)
{
    QStringList log;
    for (int i = 0; i < steps; ++i) {
        const QList<QWidget *> all = candidates();
        if (all.isEmpty())
            break;
        QWidget *w = all.at(int(rng_.bounded(quint32(all.size()))));
        log << w->objectName() + QLatin1Char(' ') + step(w);
    }
    return log;
}

QString RandomWalk::step(QWidget *w)
{
    const int kind = int(rng_.bounded(3u));
    if (auto *spin = qobject_cast<TSpincw0R *>(w)) {
        if (kind == 0)
            return pressKey(w, ValueKeys);
        if (kind == 1)
            return wheel(w);
        const int y = spin->height() / 2;
        const int rows = 1 + int(rng_.bounded(quint32(MaxRollRows)));
        const int dir = rng_.bounded(2u) ? 1 : -1;
        return drag(w, QPoint(TSpincw0R::RollZoneLeft + 4, y),
                    QPoint(TSpincw0R::RollZoneLeft + 4, y + dir * rows));
    }
    if (auto *slider = qobject_cast<TSliderBase *>(w)) {
        if (kind == 0)
            return pressKey(w, ValueKeys);
        if (kind == 1)
            return wheel(w);
        const int row = slider->thumbRow();
        const int to = int(rng_.bounded(quint32(std::max(1, slider->height()))));
        return drag(w, QPoint(slider->width() / 2, row), QPoint(slider->width() / 2, to));
    }
    if (qobject_cast<QComboBox *>(w))
        return kind == 0 ? wheel(w) : pressKey(w, ListKeys);
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QTest::mouseClick(button, Qt::LeftButton);
        return QStringLiteral("click");
    }
    const auto point = [&] {
        return QPoint(int(rng_.bounded(quint32(w->width()))),
                      int(rng_.bounded(quint32(w->height()))));
    };
    return drag(w, point(), point());
}

QString RandomWalk::pressKey(QWidget *w, const QList<Qt::Key> &keys)
{
    const Qt::Key key = keys.at(int(rng_.bounded(quint32(keys.size()))));
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w, key);
    return QStringLiteral("key %1").arg(int(key), 0, 16);
}

QString RandomWalk::wheel(QWidget *w)
{
    w->setFocus(Qt::TabFocusReason);
    const int delta = rng_.bounded(2u) ? NotchAngle : -NotchAngle;
    const QPoint pos = w->rect().center();
    QWheelEvent e(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    return QStringLiteral("wheel %1").arg(delta);
}

// Press, move to the target in short steps (a row at a time over short
// distances, as rolling a spin needs), release.
QString RandomWalk::drag(QWidget *w, QPoint from, QPoint to)
{
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    const QPoint d = to - from;
    const int moves = std::min(MaxDragMoves, std::max(std::abs(d.x()), std::abs(d.y())));
    for (int i = 1; i <= moves; ++i)
        sendMouse(w, QEvent::MouseMove, from + d * i / moves, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
    return QStringLiteral("drag %1,%2 to %3,%4")
        .arg(from.x())
        .arg(from.y())
        .arg(to.x())
        .arg(to.y());
}
