#include "app/editgestures.h"

#include "midi/edithistory.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

EditGestures::EditGestures(EditHistory &history, QObject *parent)
    : QObject(parent), history_(history)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

EditGestures::~EditGestures()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool EditGestures::eventFilter(QObject *watched, QEvent *event)
{
    // An event reaches the application's filter again for every parent it
    // is passed on to, so only states count here, never events.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        begin();
        mouseHeld_ = true;
        break;
    case QEvent::MouseButtonRelease:
        mouseHeld_ = static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton;
        QTimer::singleShot(0, this, &EditGestures::end);
        break;
    case QEvent::KeyPress:
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            begin();
            keysHeld_.insert(static_cast<QKeyEvent *>(event)->key());
        }
        break;
    case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            keysHeld_.remove(static_cast<QKeyEvent *>(event)->key());
            QTimer::singleShot(0, this, &EditGestures::end);
        }
        break;
    case QEvent::WindowDeactivate:
        // A release that goes to another program never comes back here.
        mouseHeld_ = false;
        keysHeld_.clear();
        QTimer::singleShot(0, this, &EditGestures::end);
        break;
    default:
        break;
    }
    return false;
}

void EditGestures::begin()
{
    if (inGesture_) {
        // Still held: the press belongs to the gesture under way (a second
        // button, a modifier). Nothing held: the last gesture is over and
        // only its queued end has not come yet.
        if (mouseHeld_ || !keysHeld_.isEmpty())
            return;
        history_.endGesture();
    }
    inGesture_ = true;
    history_.beginGesture();
}

void EditGestures::end()
{
    if (!inGesture_ || mouseHeld_ || !keysHeld_.isEmpty())
        return;
    inGesture_ = false;
    history_.endGesture();
}
