#include "app/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// The frame the window system puts around the window. Until the window has
// been framed once, a title bar and borders of the style's size stand in,
// so a first showing does not push the title bar off the top.
QMargins frameMargins(const QWidget &window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!known.isNull() || window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return known;
    const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QMargins(border, title + border, border, border);
}

} // namespace

WindowPlacement::WindowPlacement(QWidget &window, Mode mode, QWidget *anchor)
    : QObject(&window), window_(window), mode_(mode), anchor_(anchor)
{
    setObjectName(QStringLiteral("WindowPlacement"));
    window.installEventFilter(this);
}

WindowPlacement *WindowPlacement::install(QWidget &window, Mode mode, QWidget *anchor)
{
    if (WindowPlacement *existing = of(window)) {
        existing->mode_ = mode;
        existing->anchor_ = anchor;
        return existing;
    }
    return new WindowPlacement(window, mode, anchor);
}

WindowPlacement *WindowPlacement::of(const QWidget &window)
{
    return window.findChild<WindowPlacement *>(QString(), Qt::FindDirectChildrenOnly);
}

QWidget *WindowPlacement::anchor() const
{
    if (anchor_)
        return anchor_->window();
    QWidget *parent = window_.parentWidget();
    return parent ? parent->window() : nullptr;
}

QRect WindowPlacement::fitted(const QRect &frame, const QRect &available)
{
    QRect r(frame.topLeft(), frame.size().boundedTo(available.size()));
    if (r.right() > available.right())
        r.moveRight(available.right());
    if (r.bottom() > available.bottom())
        r.moveBottom(available.bottom());
    if (r.left() < available.left())
        r.moveLeft(available.left());
    if (r.top() < available.top())
        r.moveTop(available.top());
    return r;
}

QRect WindowPlacement::centred(const QSize &frame, const QPoint &centre, const QRect &available)
{
    QRect r(QPoint(0, 0), frame);
    r.moveCenter(centre);
    return fitted(r, available);
}

void WindowPlacement::place()
{
    QWidget *over = anchor();
    const bool onAnchor = over && over != &window_ && over->isVisible() && !over->isMinimized();
    QScreen *screen = onAnchor ? over->screen() : window_.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins margins = frameMargins(window_);

    // A window taller or wider than the screen is cut to it, as far as its
    // minimum size allows; what still does not fit keeps its top left corner
    // on the screen, so the title bar stays within reach.
    const QSize room = available.size().shrunkBy(margins);
    if (window_.width() > room.width() || window_.height() > room.height())
        window_.resize(window_.size().boundedTo(room));
    const QSize frame = window_.size().grownBy(margins);

    const bool centre = mode_ == Mode::Centre || (mode_ == Mode::CentreOnce && !placedOnce_);
    placedOnce_ = true;
    QRect target;
    if (centre)
        target = centred(frame, onAnchor ? over->frameGeometry().center() : available.center(),
                         available);
    else
        target = fitted(QRect(window_.frameGeometry().topLeft(), frame), available);
    window_.move(target.topLeft());
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    // A window coming back from the task bar is where the user left it.
    if (watched == &window_ && event->type() == QEvent::Show && !event->spontaneous())
        place();
    return QObject::eventFilter(watched, event);
}
