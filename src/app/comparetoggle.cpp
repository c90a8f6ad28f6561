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

CompareToggle::CompareToggle(TMidiMainForm &form, EditState &state, SysexProtocol &protocol,
                             EditorScreens *screens)
    : QObject(&form), form_(form), state_(state), protocol_(protocol), screens_(screens),
      transfer_(state, protocol)
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
    edited_ = state_.patchImage;
    modified_ = state_.PatchModified;
    showComparing(true);
    sendImage(state_.savedImage);
    state_.patchImage = edited_;
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
    // compared patch.
    state_.patchImage = edited_;
    sendImage(edited_);
    state_.PatchModified = modified_;
    showComparing(false);
    form_.B_UpdateAllClick();
    Q_EMIT comparingChanged(false);
}

void CompareToggle::sendImage(const PatchImage &image)
{
    if (state_.MidiClosed)
        return;
    const UnrecordedSends quiet(protocol_);
    state_.patchImage = image;
    transfer_.SendPatch();
}

void CompareToggle::showComparing(bool on)
{
    action_->setChecked(on);
    form_.centralWidget()->setEnabled(!on);
    if (screens_)
        screens_->setScreensEnabled(!on);
    if (on) {
        form_.setWindowTitle(form_.windowTitle() + TitleMark);
        form_.statusBar()->showMessage(StatusText);
    } else {
        form_.UpdateCaption();
        form_.statusBar()->clearMessage();
    }
}
