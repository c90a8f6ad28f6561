// Building the controller screen: three controller panels side by side, the
// switch panels, the system control labels and the two set-up buttons.

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "editors/ctrlform.h"

#include "core/parameterlists.h"
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int BigTonePixels = 36;
constexpr int PanelSpacing = 6;
constexpr int ListRows = 19;

QFrame *makePanel(QWidget *parent, const QString &name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

TFocusComboBox *makeList(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *c = new TFocusComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setMaxVisibleItems(ListRows);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QCheckBox *makeBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QCheckBox(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

void TCtrlForm::buildControls()
{
    auto *panels = new QHBoxLayout;
    panels->setSpacing(PanelSpacing);
    for (int k = 0; k < Controllers; ++k)
        panels->addWidget(buildControllerPanel(k));

    auto *lower = new QHBoxLayout;
    lower->setSpacing(PanelSpacing);
    lower->addWidget(buildSwitchPanels());
    lower->addWidget(buildSystemPanel(), 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(topBar());
    outer->addLayout(panels);
    outer->addLayout(lower);
    outer->addStretch(1);
}

QWidget *TCtrlForm::buildControllerPanel(int controller)
{
    const int number = controller + 1;
    QFrame *panel = makePanel(this, QStringLiteral("PCtrl%1").arg(number));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading(QStringLiteral("CTRL %1").arg(number), panel), 0, 0, 1, 2);

    if (controller == 0) {
        grid->addWidget(new QLabel(QStringLiteral("Modulation Wheel "), panel), 1, 0);
        grid->addWidget(new QLabel(QStringLiteral("(fixed)"), panel), 1, 1);
    } else {
        TFocusComboBox *source = makeList(panel, QStringLiteral("CbSource%1").arg(number),
                                          ParameterLists::patchControlSources());
        (controller == 1 ? CbSource2 : CbSource3) = source;
        grid->addWidget(new QLabel(QStringLiteral("Source:"), panel), 1, 0);
        grid->addWidget(source, 1, 1);
    }
    grid->addWidget(new QLabel(controller == 0
                                   ? QStringLiteral("MOD DESTINATION          depth")
                                   : QStringLiteral("DESTINATION                  depth"),
                               panel),
                    2, 0, 1, 2);
    for (int j = 0; j < Destinations; ++j) {
        const QString suffix = QStringLiteral("%1%2").arg(number).arg(j + 1);
        TFocusComboBox *list = makeList(panel, QStringLiteral("CbCtr") + suffix,
                                        ParameterLists::controllerDestinations());
        auto *spin = new TSpincw0R(panel);
        spin->setObjectName(QStringLiteral("SpCtr") + suffix);
        spin->setMinValue(-MaxDepth);
        spin->setMaxValue(MaxDepth);
        spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        dest_[std::size_t(controller)][std::size_t(j)] = list;
        depth_[std::size_t(controller)][std::size_t(j)] = spin;
        grid->addWidget(list, 3 + j, 0);
        grid->addWidget(spin, 3 + j, 1, Qt::AlignRight);
    }
    grid->setColumnStretch(0, 1);
    return panel;
}

QWidget *TCtrlForm::buildSwitchPanels()
{
    auto *box = new QWidget(this);
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(PanelSpacing);

    QFrame *receive = makePanel(box, QStringLiteral("PReceive"));
    auto *rg = new QGridLayout(receive);
    rg->setContentsMargins(6, 4, 6, 4);
    CxVolume = makeBox(receive, "CxVolume", QStringLiteral("Volume"));
    CxBender = makeBox(receive, "CxBender", QStringLiteral("Bender"));
    CbPan = makeList(receive, QStringLiteral("CbPan"),
                     {QStringLiteral("OFF"), QStringLiteral("Cont"), QStringLiteral("Key-On")});
    rg->addWidget(heading(QStringLiteral("Receive Switch"), receive), 0, 0, 1, 2);
    rg->addWidget(CxVolume, 1, 0, 1, 2);
    rg->addWidget(CxBender, 2, 0, 1, 2);
    rg->addWidget(new QLabel(QStringLiteral("Pan :"), receive), 3, 0);
    rg->addWidget(CbPan, 3, 1);

    QFrame *damper = makePanel(box, QStringLiteral("PDamper"));
    auto *dv = new QVBoxLayout(damper);
    dv->setContentsMargins(6, 4, 6, 4);
    CxHold = makeBox(damper, "CxHold", QStringLiteral("Hold-1 Switch"));
    CxRedamper = makeBox(damper, "CxRedamper", QStringLiteral("Redamper  On / Off"));
    dv->addWidget(heading(QStringLiteral("Damper"), damper));
    dv->addWidget(CxHold);
    dv->addWidget(CxRedamper);
    dv->addStretch(1);

    h->addWidget(receive);
    h->addWidget(damper);
    return box;
}

QWidget *TCtrlForm::buildSystemPanel()
{
    QFrame *panel = makePanel(this, QStringLiteral("PSystem"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);

    LSysC1 = new QLabel(panel);
    LSysC1->setObjectName(QStringLiteral("LSysC1"));
    LSysC2 = new QLabel(panel);
    LSysC2->setObjectName(QStringLiteral("LSysC2"));
    LToneKeus = new QLabel(panel);
    LToneKeus->setObjectName(QStringLiteral("LToneKeus"));
    QFont big = LToneKeus->font();
    big.setPixelSize(BigTonePixels);
    big.setBold(true);
    LToneKeus->setFont(big);
    LToneKeus->setAlignment(Qt::AlignCenter);

    Balloff = new QPushButton(QStringLiteral("All Controllers Off"), panel);
    Balloff->setObjectName(QStringLiteral("Balloff"));
    BStBrth = new QPushButton(QStringLiteral("Breath on Ctrl-3"), panel);
    BStBrth->setObjectName(QStringLiteral("BStBrth"));
    SpBGetsysCtrl = new QPushButton(QStringLiteral("Get Sys Ctrl"), panel);
    SpBGetsysCtrl->setObjectName(QStringLiteral("SpBGetsysCtrl"));
    SpBGetsysCtrl->hide();

    grid->addWidget(new QLabel(QStringLiteral("System CTRL1 = "), panel), 0, 0);
    grid->addWidget(LSysC1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("System CTRL2 = "), panel), 1, 0);
    grid->addWidget(LSysC2, 1, 1);
    grid->addWidget(LToneKeus, 0, 2, 2, 1);
    grid->addWidget(Balloff, 2, 0, 1, 2);
    grid->addWidget(BStBrth, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return panel;
}
