#include "editors/comswform.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/displaytables.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>

namespace {
constexpr char Caption[] = "Common Ranges and Switches";

Qt::CheckState checkOf(std::uint8_t byte)
{
    return byte > 0 ? Qt::Checked : Qt::Unchecked;
}
} // namespace

TComSwForm::TComSwForm(EditState &state, SysexProtocol &protocol, QWidget *parent)
    : QWidget(parent), state_(state), protocol_(protocol)
{
    setObjectName(QStringLiteral("ComSwForm"));
    setWindowTitle(QLatin1String(Caption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    connectControls();
    RefreshAll();
}

QScrollBar *TComSwForm::keyBar(int tone, bool upper) const
{
    const ToneRow &r = tones_.at(std::size_t(tone - 1));
    return upper ? r.keyUpper : r.keyLower;
}

bool TComSwForm::sendCommon(int offset, int value)
{
    return protocol_.SendParameter(state_.commonAddress(offset), std::uint8_t(value));
}

bool TComSwForm::sendTone(int tone, int offset, int value)
{
    return protocol_.SendParameter(state_.toneAddress(tone, offset), std::uint8_t(value));
}

void TComSwForm::connectControls()
{
    connect(SpBendUp, &TSpincw0R::OnChange, this,
            [this] { sendCommon(BendUpOffset, SpBendUp->Value()); });
    connect(SpBendDown, &TSpincw0R::OnChange, this,
            [this] { sendCommon(BendDownOffset, -SpBendDown->Value()); });
    connect(SpPortTime, &TSpincw0R::OnChange, this,
            [this] { sendCommon(PortaTimeOffset, SpPortTime->Value()); });
    connect(ChVeloR, &QCheckBox::clicked, this,
            [this](bool on) { sendCommon(VeloRangeOffset, on ? 1 : 0); });
    connect(ChPortaOn, &QCheckBox::clicked, this,
            [this](bool on) { sendCommon(PortaSwitchOffset, on ? 1 : 0); });

    const std::pair<TFocusComboBox *, int> lists[] = {
        {CbPortaMode, PortaModeOffset},        {CbPortaType, PortaTypeOffset},
        {CbPortaStart, PortaStartOffset},      {holdPeak_[0], HoldPeakEfxOffset},
        {holdPeak_[1], HoldPeakEfxOffset + 1}, {holdPeak_[2], HoldPeakEfxOffset + 2},
        {holdPeak_[3], HoldPeakEfxOffset + 3}};
    for (const auto &[list, offset] : lists)
        connect(list, &QComboBox::activated, this,
                [this, offset](int index) { sendCommon(offset, index); });

    for (QAbstractButton *b :
         {static_cast<QAbstractButton *>(RBPoly), static_cast<QAbstractButton *>(RBSolo),
          static_cast<QAbstractButton *>(ChSoloL)})
        connect(b, &QAbstractButton::clicked, this, [this, b] { keyAssignClick(b); });

    for (int t = 1; t <= Tones; ++t) {
        const ToneRow &r = tones_[std::size_t(t - 1)];
        const std::pair<TSpincw0R *, int> spins[] = {{r.crossFade, CrossFadeOffset},
                                                     {r.veloLower, VeloLowerOffset},
                                                     {r.veloUpper, VeloUpperOffset}};
        for (const auto &[spin, offset] : spins) {
            const auto changed = [this, t, spin, offset] { sendTone(t, offset, spin->Value()); };
            connect(spin, &TSpincw0R::OnChange, this, changed);
            connect(spin, &TSpincw0R::OnChanging, this, changed);
        }
        connect(r.keyLower, &QScrollBar::valueChanged, this,
                [this, t] { keyRangeChanged(t, false); });
        connect(r.keyUpper, &QScrollBar::valueChanged, this,
                [this, t] { keyRangeChanged(t, true); });
    }
}

void TComSwForm::showKey(QLabel *label, int key)
{
    label->setText(DisplayTables::instance().NoteNames.at(std::size_t(key)));
}

// A user's move only: the upper key never falls below the lower one, and a
// bar pushed past the other springs back to it.
void TComSwForm::keyRangeChanged(int tone, bool upper)
{
    const ToneRow &r = tones_.at(std::size_t(tone - 1));
    QScrollBar *moved = upper ? r.keyUpper : r.keyLower;
    const QScrollBar *other = upper ? r.keyLower : r.keyUpper;
    int key = moved->value();
    if (upper ? key < other->value() : key > other->value()) {
        key = other->value();
        const QSignalBlocker quiet(moved);
        moved->setValue(key);
    }
    showKey(upper ? r.keyUpperLabel : r.keyLowerLabel, key);
    sendTone(tone, upper ? KeyUpperOffset : KeyLowerOffset, key);
}

void TComSwForm::keyAssignClick(QObject *sender)
{
    if (sender == ChSoloL) {
        // A grey box counts as not checked.
        sendCommon(LegatoOffset, ChSoloL->checkState() == Qt::Checked ? 1 : 0);
        return;
    }
    if (RBPoly->isChecked()) {
        // Legato means nothing in Poly: the box goes grey, which counts as
        // the legato box's own click when it was not grey already.
        ChSoloL->setTristate(true);
        if (ChSoloL->checkState() != Qt::PartiallyChecked) {
            ChSoloL->setCheckState(Qt::PartiallyChecked);
            keyAssignClick(ChSoloL);
        }
        sendCommon(KeyAssignOffset, 0);
        return;
    }
    ChSoloL->setTristate(false);
    if (ChSoloL->checkState() == Qt::PartiallyChecked)
        ChSoloL->setCheckState(checkOf(state_.patchImage.common(LegatoOffset)));
    sendCommon(KeyAssignOffset, 1);
}

void TComSwForm::RefreshAll()
{
    const LoadScope scope(state_);
    const PatchImage &img = state_.patchImage;
    SpBendUp->setValue(img.common(BendUpOffset));
    SpBendDown->setValue(-img.common(BendDownOffset));
    const bool solo = img.common(KeyAssignOffset) > 0;
    RBSolo->setChecked(solo);
    RBPoly->setChecked(!solo);
    ChSoloL->setTristate(!solo);
    ChSoloL->setCheckState(checkOf(img.common(LegatoOffset)));
    ChPortaOn->setChecked(img.common(PortaSwitchOffset) > 0);
    CbPortaMode->setCurrentIndex(img.common(PortaModeOffset));
    CbPortaType->setCurrentIndex(img.common(PortaTypeOffset));
    CbPortaStart->setCurrentIndex(img.common(PortaStartOffset));
    SpPortTime->setValue(img.common(PortaTimeOffset));
    ChVeloR->setChecked(img.common(VeloRangeOffset) > 0);
    for (std::size_t i = 0; i < holdPeak_.size(); ++i)
        holdPeak_[i]->setCurrentIndex(img.common(HoldPeakEfxOffset + int(i)));

    for (int t = 1; t <= Tones; ++t) {
        const ToneRow &r = tones_[std::size_t(t - 1)];
        r.veloUpper->setValue(img.tone(t, VeloUpperOffset));
        r.veloLower->setValue(img.tone(t, VeloLowerOffset));
        r.crossFade->setValue(img.tone(t, CrossFadeOffset));
        // As stored, without the rule for the user's moves: a range held
        // upside down in the image is shown as it is, and nothing is sent.
        const QSignalBlocker quietUpper(r.keyUpper);
        const QSignalBlocker quietLower(r.keyLower);
        r.keyUpper->setValue(img.tone(t, KeyUpperOffset));
        showKey(r.keyUpperLabel, r.keyUpper->value());
        r.keyLower->setValue(img.tone(t, KeyLowerOffset));
        showKey(r.keyLowerLabel, r.keyLower->value());
    }
}

void TComSwForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RefreshAll();
}

void TComSwForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    const bool active = isActiveWindow();
    // Queued, so a choice still on its way from a closing list popup is sent
    // before the controls reload, not overwritten by the stored value.
    if (active && !wasActive_)
        QMetaObject::invokeMethod(this, &TComSwForm::RefreshAll, Qt::QueuedConnection);
    wasActive_ = active;
}
