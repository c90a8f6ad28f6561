#include "editors/ctrlform.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/displaytables.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/editorhost.h"
#include "midi/sysexprotocol.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {
constexpr char Caption[] = "Controllers";
constexpr char SourcesNote[] = "All Control Sources are patchcommon.\r"
                               "You cannot set them individual for each tone.";
constexpr addr::Address SysControlAddress{addr::AreaSystem, 0x00, addr::BlockCommon,
                                          addr::system::ControlSource1};
constexpr int DestinationStride = 2;
constexpr int ControllerStride = 8;
constexpr int SetupBytes = 24; // the twelve destination/depth pairs
constexpr int DestOff = 0;
constexpr int SourceBreath = 4;
constexpr int DestLevel = 4;
constexpr int LevelAllOff = 100;
constexpr int LevelBreath = 5;

ToneEditorForm::Setup ctrlSetup()
{
    ToneEditorForm::Setup s;
    // The whole section this screen edits, the redamper switch at 10h too.
    s.copyFirst = TCtrlForm::RedamperOffset;
    s.copyLast = TCtrlForm::LastDepth;
    s.copyName = QStringLiteral("SpCopy");
    s.pasteName = QStringLiteral("SpPaste");
    s.bufferLabelName = QStringLiteral("Lbuff");
    s.bufferPrefix = QStringLiteral("Buff = ");
    s.switches = ToneEditorForm::SwitchSource::PatchImage;
    s.refreshSetsSwitches = true;
    return s;
}
} // namespace

TCtrlForm::TCtrlForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : ToneEditorForm(ctrlSetup(), state, protocol, host, parent), controllerTone_(currentTone())
{
    setObjectName(QStringLiteral("CtrlForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    connectControls();
    requestSysControls();
    ShowSysControls();
}

int TCtrlForm::destinationOffset(int controller, int slot)
{
    return FirstDestination + ControllerStride * controller + DestinationStride * slot;
}

void TCtrlForm::connectControls()
{
    for (int k = 0; k < Controllers; ++k) {
        for (int j = 0; j < Destinations; ++j) {
            TFocusComboBox *list = dest_[std::size_t(k)][std::size_t(j)];
            TSpincw0R *spin = depth_[std::size_t(k)][std::size_t(j)];
            const int destOffset = destinationOffset(k, j);
            const int depthOff = depthOffset(k, j);
            connect(list, &QComboBox::activated, this,
                    [this, destOffset](int index) { sendTone(destOffset, index); });
            const auto depthChanged = [this, spin, depthOff] {
                sendTone(depthOff, spin->Value() + DepthCentre);
            };
            connect(spin, &TSpincw0R::OnChange, this, depthChanged);
            connect(spin, &TSpincw0R::OnChanging, this, depthChanged);
            connect(spin, &TSpincw0R::OnExit, this, &TCtrlForm::colourDepth);
        }
    }
    connect(depth_[0][0], &TSpincw0R::OnEnter, this, &TCtrlForm::colourDepth);

    const std::pair<QCheckBox *, int> switches[] = {{CxRedamper, RedamperOffset},
                                                    {CxVolume, VolumeOffset},
                                                    {CxHold, HoldOffset},
                                                    {CxBender, BenderOffset}};
    for (const auto &[box, offset] : switches)
        connect(box, &QCheckBox::clicked, this,
                [this, offset](bool on) { sendTone(offset, on ? 1 : 0); });
    connect(CbPan, &QComboBox::activated, this,
            [this](int index) { sendTone(PanModeOffset, index); });
    connect(CbSource2, &QComboBox::activated, this,
            [this] { sourceChanged(CbSource2, Source2Offset); });
    connect(CbSource3, &QComboBox::activated, this,
            [this] { sourceChanged(CbSource3, Source3Offset); });
    connect(Balloff, &QPushButton::clicked, this, &TCtrlForm::BalloffClick);
    connect(BStBrth, &QPushButton::clicked, this, &TCtrlForm::BStBrthClick);
    connect(SpBGetsysCtrl, &QPushButton::clicked, this, &TCtrlForm::SpBGetsysCtrlClick);
}

bool TCtrlForm::sendCommon(int offset, int value)
{
    return protocol_.SendParameter(state_.commonAddress(offset), std::uint8_t(value));
}

void TCtrlForm::sourceChanged(TFocusComboBox *list, int offset)
{
    if (list->currentIndex() < 0)
        return;
    sendCommon(offset, list->currentIndex());
    // Told every time, also when the source did not change.
    host_.showInfo(QLatin1String(SourcesNote));
}

// The request sets SendLock for the answer's sake; the answer's own handling
// locks while it parses. Left set, a unit that never answers would drop
// every later edit without a word.
void TCtrlForm::requestSysControls()
{
    const bool locked = state_.SendLock;
    protocol_.RequestData(SysControlAddress, addr::RequestControlSourcesSize);
    state_.SendLock = locked;
}

void TCtrlForm::SpBGetsysCtrlClick()
{
    requestSysControls();
    refreshTone(currentTone());
}

void TCtrlForm::ShowSysControls()
{
    const auto &names = DisplayTables::instance().ControllerNames;
    const auto text = [&names](std::uint8_t source) {
        // A unit may report a source past the named ones: show its number.
        return source < names.size() ? names[source] : QString::number(source);
    };
    LSysC1->setText(text(state_.SystemCommon[addr::system::ControlSource1]));
    LSysC2->setText(text(state_.SystemCommon[addr::system::ControlSource2]));
}

void TCtrlForm::loadTone(int tone)
{
    const LoadScope scope(state_);
    const PatchImage &img = state_.patchImage;
    LToneKeus->setText(QString::number(tone));
    CbSource2->setCurrentIndex(img.common(Source2Offset));
    CbSource3->setCurrentIndex(img.common(Source3Offset));
    for (int k = 0; k < Controllers; ++k) {
        for (int j = 0; j < Destinations; ++j) {
            dest_[std::size_t(k)][std::size_t(j)]->setCurrentIndex(
                img.tone(tone, destinationOffset(k, j)));
            depth_[std::size_t(k)][std::size_t(j)]->setValue(img.tone(tone, depthOffset(k, j)) -
                                                             DepthCentre);
        }
    }
    colourDepths();
    CxRedamper->setChecked(img.tone(tone, RedamperOffset) > 0);
    CxVolume->setChecked(img.tone(tone, VolumeOffset) > 0);
    CxHold->setChecked(img.tone(tone, HoldOffset) > 0);
    CxBender->setChecked(img.tone(tone, BenderOffset) > 0);
    CbPan->setCurrentIndex(img.tone(tone, PanModeOffset));
    ShowSysControls();
}

void TCtrlForm::colourDepth(TSpincw0R *spin)
{
    // An invalid colour gives the spin back its window colour.
    spin->setBKColor(spin->Value() < 0 ? NegativeColour : QColor());
}

void TCtrlForm::colourDepths()
{
    for (const auto &row : depth_)
        for (TSpincw0R *spin : row)
            colourDepth(spin);
}

void TCtrlForm::BalloffClick()
{
    const int tone = currentTone();
    std::uint8_t bytes[SetupBytes];
    for (int i = 0; i < SetupBytes; i += DestinationStride) {
        bytes[i + DestOff] = 0;
        bytes[i + DestOff + 1] = DepthCentre;
    }
    // The data sets put the bytes into the image; the controls follow it.
    protocol_.SendDataSet(state_.toneAddress(tone, FirstDestination), bytes, SetupBytes);
    protocol_.SendDataSet(state_.toneAddress(tone, ToneLevelOffset), std::uint8_t(LevelAllOff));
    refreshTone(tone);
}

// Through the controls, so each value is one the synthesizer accepts (the
// depth spin stops at +63, stored 126); the note about patch-wide sources
// comes after every data set, so nothing that arrives while it is open can
// hold the rest back.
void TCtrlForm::BStBrthClick()
{
    const int tone = currentTone();
    CbSource3->setCurrentIndex(SourceBreath);
    sendCommon(Source3Offset, SourceBreath);
    dest_[2][0]->setCurrentIndex(DestLevel);
    sendTone(destinationOffset(2, 0), DestLevel);
    depth_[2][0]->setValue(MaxDepth); // its change handler sends
    colourDepths();
    protocol_.SendDataSet(state_.toneAddress(tone, ToneLevelOffset), std::uint8_t(LevelBreath));
    host_.showInfo(QLatin1String(SourcesNote));
}

void TCtrlForm::openForTone(int tone)
{
    controllerTone_ = tone;
    state_.CurrentTone = tone;
    reload();
}

void TCtrlForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        state_.CurrentTone = controllerTone_;
    ToneEditorForm::showEvent(event);
}

void TCtrlForm::changeEvent(QEvent *event)
{
    // A tone picked here is for this visit only: coming back returns to the
    // tone the main window opened the screen for. A list's popup takes the
    // activation for a moment; closing it is no return.
    if (event->type() == QEvent::ActivationChange) {
        if (!isActiveWindow()) {
            left_ = !ownsPopup(QApplication::activePopupWidget());
        } else if (left_) {
            left_ = false;
            state_.CurrentTone = controllerTone_;
        }
    }
    ToneEditorForm::changeEvent(event);
}

bool TCtrlForm::ownsPopup(const QObject *popup) const
{
    for (const QObject *o = popup; o; o = o->parent())
        if (o == this)
            return true;
    return false;
}
