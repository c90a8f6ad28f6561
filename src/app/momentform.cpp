#include "app/momentform.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int Margin = 18;
}

Tmomentform::Tmomentform(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("momentform"));
    setWindowTitle(QLatin1String(Text));
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setLineWidth(2);
    auto *label = new QLabel(QLatin1String(Text), frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(Margin, Margin, Margin, Margin);
    inner->addWidget(label);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    adjustSize();
}

void Tmomentform::showCentred(const QWidget *over)
{
    adjustSize();
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
    show();
    raise();
    update();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
