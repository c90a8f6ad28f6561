#include "app/comparetoggle.h"

#include "app/editorscreens.h"
#include "app/mainform.h"
#include "core/editstate.h"
#include "midi/sysexprotocol.h"
#include "midi/unrecordedsends.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

namespace {
constexpr int ClosedMessageMs = 5000;
} // namespace

const QString CompareToggle::TitleMark = QStringLiteral(" - Compare");
const QString CompareToggle::ClosedText =
    QStringLiteral("Compare needs MIDI open: there is no synthesizer to play the saved patch.");
const QString CompareToggle::StatusText =
    QStringLiteral("Compare: the synthesizer plays the patch as last opened, fetched or saved. "
                   "Press Compare (F8) to go back to your edit.");
const QString CompareToggle::PerformanceStatusText =
    QStringLiteral("Compare: the synthesizer plays the performance as last fetched or written. "
                   "Press Compare (F8) to go back to your edit.");
const QString CompareToggle::RhythmStatusText =
    QStringLiteral("Compare: the synthesizer plays the rhythm set as last fetched or written. "
                   "Press Compare (F8) to go back to your edit.");
const QString CompareToggle::NoPerformanceText =
    QStringLiteral("Compare needs the whole performance from the synthesizer: get it first.");
const QString CompareToggle::NoRhythmText =
    QStringLiteral("Compare needs the whole rhythm set from the synthesizer: get it first.");

CompareToggle::CompareToggle(TMidiMainForm &form, EditState &state, SysexProtocol &protocol,
                             EditorScreens *screens)
    : QObject(&form), form_(form), state_(state), protocol_(protocol), screens_(screens),
      transfer_(state, protocol), sets_(state, protocol)
{
    setObjectName(QStringLiteral("CompareToggle"));
    action_ = new QAction(QStringLiteral("Compare"), &form);
    action_->setObjectName(QStringLiteral("MCompare"));
    action_->setCheckable(true);
    action_->setShortcut(QKeySequence(Qt::Key_F8));
    // The editing screens are windows of their own; F8 works from them too.
    action_->setShortcutContext(Qt::ApplicationShortcut);
    action_->setToolTip(QStringLiteral("Hear the patch as last opened, fetched or saved (F8)"));
    form.addAction(action_);
    connect(action_, &QAction::triggered, this, [this] { toggle(); });

    button_ = new QToolButton(&form);
    button_->setObjectName(QStringLiteral("BCompare"));
    button_->setDefaultAction(action_);
    // Beside the menus rather than among the controls, which go off while
    // comparing.
    form.menuBar()->setCornerWidget(button_, Qt::TopRightCorner);

    connect(&form, &TMidiMainForm::commandRequested, this, [this] { stop(); });
    connect(&form, &TMidiMainForm::fileDropped, this, [this] { stop(); });
    connect(&form, &TMidiMainForm::transferRequested, this, [this] { stop(); });
    connect(&form, &TMidiMainForm::editModeChanged, this, [this] { stop(); });
}

bool CompareToggle::comparing() const
{
    return state_.Comparing;
}

void CompareToggle::toggle()
{
    if (comparing())
        stop();
    else
        start();
}

void CompareToggle::start()
{
    // A fetch or a screen load is under way: what it brings must land in
    // the edited patch, not in the one being compared.
    if (comparing() || state_.SendLock) {
        action_->setChecked(comparing());
        return;
    }
    // Nothing would sound: the synthesizer keeps the edited patch.
    if (state_.MidiClosed) {
        action_->setChecked(false);
        form_.statusBar()->showMessage(ClosedText, ClosedMessageMs);
        return;
    }
    // A performance or rhythm set only partly known would send the
    // editor's placeholders for the rest, and bring them back at the end.
    const EditMode mode = state_.editMode();
    const bool whole = mode == EditMode::Patch ||
                       (mode == EditMode::Perform
                            ? state_.savedPerformance.allKnown() && state_.performance.allKnown()
                            : state_.savedRhythm.allKnown() && state_.rhythm.allKnown());
    if (!whole) {
        action_->setChecked(false);
        form_.statusBar()->showMessage(mode == EditMode::Perform ? NoPerformanceText : NoRhythmText,
                                       ClosedMessageMs);
        return;
    }
    mode_ = mode;
    modified_ = state_.PatchModified;
    showComparing(true);
    switch (mode_) {
    case EditMode::Patch:
        edited_ = state_.patchImage;
        sendImage(state_.savedImage);
        state_.patchImage = edited_;
        break;
    case EditMode::Perform:
        editedPerformance_ = state_.performance;
        sendPerformance(state_.savedPerformance);
        state_.performance = editedPerformance_;
        break;
    case EditMode::Rhythm:
        editedRhythm_ = state_.rhythm;
        sendRhythm(state_.savedRhythm);
        state_.rhythm = editedRhythm_;
        break;
    }
    state_.PatchModified = modified_;
    state_.Comparing = true;
    Q_EMIT comparingChanged(true);
}

void CompareToggle::stop()
{
    if (!comparing())
        return;
    state_.Comparing = false;
    // Whatever arrived from the synthesizer meanwhile belonged to the
    // compared version.
    switch (mode_) {
    case EditMode::Patch:
        state_.patchImage = edited_;
        sendImage(edited_);
        break;
    case EditMode::Perform:
        sendPerformance(editedPerformance_);
        state_.performance = editedPerformance_;
        break;
    case EditMode::Rhythm:
        sendRhythm(editedRhythm_);
        state_.rhythm = editedRhythm_;
        break;
    }
    state_.PatchModified = modified_;
    showComparing(false);
    form_.B_UpdateAllClick();
    Q_EMIT comparingChanged(false);
}

void CompareToggle::sendImage(const PatchImage &image)
{
    play(state_.patchImage, image, [this] { transfer_.SendPatch(); });
}

void CompareToggle::sendPerformance(const PerformanceImage &performance)
{
    play(state_.performance, performance, [this] { sets_.SendPerformance(); });
}

void CompareToggle::sendRhythm(const RhythmImage &rhythm)
{
    play(state_.rhythm, rhythm, [this] { sets_.SendRhythm(); });
}

template <typename Buffer, typename Send>
void CompareToggle::play(Buffer &buffer, const Buffer &version, Send send)
{
    if (state_.MidiClosed)
        return;
    const UnrecordedSends quiet(protocol_);
    buffer = version;
    send();
}

void CompareToggle::showComparing(bool on)
{
    action_->setChecked(on);
    form_.centralWidget()->setEnabled(!on);
    if (screens_)
        screens_->setScreensEnabled(!on);
    if (on) {
        form_.setWindowTitle(form_.windowTitle() + TitleMark);
        form_.statusBar()->showMessage(mode_ == EditMode::Patch     ? StatusText
                                       : mode_ == EditMode::Perform ? PerformanceStatusText
                                                                    : RhythmStatusText);
    } else {
        form_.UpdateCaption();
        form_.statusBar()->clearMessage();
    }
}
