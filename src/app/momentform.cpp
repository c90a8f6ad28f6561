#include "app/momentform.h"

#include "app/windowplacement.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int Margin = 18;
}

Tmomentform::Tmomentform(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("momentform"));
    // The main window puts the note over itself; near a screen edge it must
    // still be seen whole.
    WindowPlacement::install(*this, WindowPlacement::Mode::KeepInside);
    // The window being opened is what gets the focus, not the note.
    setAttribute(Qt::WA_ShowWithoutActivating);
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
