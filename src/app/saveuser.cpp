#include "app/saveuser.h"

#include "app/windowplacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}
} // namespace

TSaveUser::TSaveUser(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SaveUser"));
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QStringLiteral(" Save Patch To JV ~ XP"));

    Label2 = named(new QLabel(QStringLiteral("This action will overwrite the existing patch in "
                                             "the JV. Press CANCEL when you are not sure!"),
                              this),
                   "Label2");
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);

    auto *group = named(new QGroupBox(QStringLiteral(" USER or CARD "), this), "GroupBox1");
    Label1 = named(new QLabel(QStringLiteral("Enter Patch Number :"), group), "Label1");
    sp = named(new QSpinBox(group), "sp");
    sp->setRange(FirstPatch, LastPatch);
    sp->findChild<QLineEdit *>()->setMaxLength(NumberDigits);
    RB_USER = named(new QRadioButton(QStringLiteral("Save To USER bank"), group), "RB_USER");
    RB_CARD = named(new QRadioButton(QStringLiteral("Save To CARD bank (not for JV1010)"), group),
                    "RB_CARD");
    Ltype = named(new QLabel(group), "Ltype");

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(Label1);
    numberRow->addWidget(sp);
    numberRow->addWidget(Ltype);
    numberRow->addStretch(1);
    auto *groupColumn = new QVBoxLayout(group);
    groupColumn->addLayout(numberRow);
    groupColumn->addWidget(RB_USER);
    groupColumn->addWidget(RB_CARD);

    B_OK = named(new QPushButton(QStringLiteral("OK   Write  It !"), this), "B_OK");
    B_CANCEL = named(new QPushButton(QStringLiteral("NO !  CANCEL"), this), "B_CANCEL");
    B_OK->setAutoDefault(false);
    B_CANCEL->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_OK);
    buttons->addWidget(B_CANCEL);

    auto *column = new QVBoxLayout(this);
    column->addWidget(Label2);
    column->addWidget(group);
    column->addLayout(buttons);

    connect(RB_USER, &QRadioButton::toggled, this, &TSaveUser::RB_USERClick);
    connect(sp, &QSpinBox::valueChanged, this, &TSaveUser::spChange);
    connect(B_OK, &QPushButton::clicked, this, &TSaveUser::B_OKClick);
    connect(B_CANCEL, &QPushButton::clicked, this, &TSaveUser::B_CANCELClick);

    // The spin box cannot show 0; showing 1 stores 1, as a change would.
    sp->setValue(std::max(SavePatchNumber, FirstPatch));
    SavePatchNumber = sp->value();
    (SaveToCard ? RB_CARD : RB_USER)->setChecked(true);
    RB_USERClick();
    B_CANCEL->setFocus();
}

void TSaveUser::RB_USERClick()
{
    Ltype->setText(RB_USER->isChecked() ? QStringLiteral("USER") : QStringLiteral("CARD"));
}

void TSaveUser::spChange(int value)
{
    SavePatchNumber = value;
}

void TSaveUser::B_OKClick()
{
    SavePatchNumber = sp->value();
    SaveToCard = RB_CARD->isChecked();
    accept();
}

void TSaveUser::B_CANCELClick()
{
    SavePatchNumber = 0;
    SaveToCard = RB_CARD->isChecked();
    reject();
}
