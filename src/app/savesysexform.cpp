#include "app/savesysexform.h"

#include "app/windowplacement.h"
#include "core/patchbank.h"

#include <QHBoxLayout>
#include <QLabel>
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

TSaveSysexForm::TSaveSysexForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SaveSysexForm"));
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QStringLiteral("Save Sysex"));

    auto *label = new QLabel(QStringLiteral("Address the patch in the file to:"), this);
    RBTemporary =
        named(new QRadioButton(QStringLiteral("The &temporary patch"), this), "RBTemporary");
    RBUserPlace = named(new QRadioButton(QStringLiteral("&USER place"), this), "RBUserPlace");
    SpPlace = named(new QSpinBox(this), "SpPlace");
    SpPlace->setRange(1, PatchBank::PlaceCount);
    RBTemporary->setChecked(true);
    SpPlace->setEnabled(false);
    BOK = named(new QPushButton(QStringLiteral("OK"), this), "BOK");
    BCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "BCancel");
    BOK->setDefault(true);

    auto *placeRow = new QHBoxLayout;
    placeRow->addWidget(RBUserPlace);
    placeRow->addWidget(SpPlace);
    placeRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    auto *column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addWidget(RBTemporary);
    column->addLayout(placeRow);
    column->addLayout(buttons);

    connect(RBUserPlace, &QRadioButton::toggled, this, &TSaveSysexForm::RBUserPlaceToggle);
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TSaveSysexForm::toUserPlace() const
{
    return RBUserPlace->isChecked();
}

int TSaveSysexForm::userPlace() const
{
    return SpPlace->value();
}

void TSaveSysexForm::RBUserPlaceToggle(bool checked)
{
    SpPlace->setEnabled(checked);
    if (checked)
        SpPlace->setFocus();
}
