#include "editors/parameterscreen.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

ParameterScreen::ParameterScreen(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
}

QFrame *ParameterScreen::panel(QWidget *parent, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel *ParameterScreen::heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QPushButton *ParameterScreen::button(const char *text, const char *name, const char *hint,
                                     QWidget *parent)
{
    auto *b = new QPushButton(QLatin1String(text), parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(QLatin1String(hint));
    return b;
}

QFrame *ParameterScreen::captionedPanel(const char *name, const char *title,
                                        const QList<std::pair<QString, QWidget *>> &controls,
                                        int columns)
{
    QFrame *box = panel(this, name);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(1);
    grid->addWidget(heading(QLatin1String(title), box), 0, 0, 1, columns);
    int lastRow = 0;
    for (int i = 0; i < controls.size(); ++i) {
        const auto &[caption, w] = controls.at(i);
        if (!w)
            continue;
        w->setParent(box);
        const int r = 1 + 2 * (i / columns);
        const int c = i % columns;
        lastRow = r + 1;
        if (auto *check = qobject_cast<QCheckBox *>(w))
            check->setText(caption);
        else
            grid->addWidget(new QLabel(caption, box), r, c);
        grid->addWidget(w, r + 1, c, Qt::AlignLeft);
    }
    grid->setColumnStretch(columns, 1);
    grid->setRowStretch(lastRow + 1, 1);
    return box;
}

void ParameterScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

void ParameterScreen::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    const bool active = isActiveWindow();
    if (!active && wasActive_)
        deactivated();
    // Queued, so a choice still on its way from a closing list popup is sent
    // before the controls reload.
    if (active && !wasActive_)
        QMetaObject::invokeMethod(
            this, [this] { refresh(); }, Qt::QueuedConnection);
    wasActive_ = active;
}
