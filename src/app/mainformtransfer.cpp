#include "app/mainformtransfer.h"

#include "app/copytoneform.h"
#include "app/mainform.h"
#include "app/saveuser.h"
#include "app/sysform.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/editrecorder.h"
#include "midi/undogroup.h"

#include <QTimer>

namespace {
constexpr char GetButton[] = "BGetPatch";
constexpr char GetPatchStep[] = "Get Patch";
constexpr char CopyToneStep[] = "Copy Tone";
constexpr char SendButton[] = "BSendPatch";
const QString NoPatchText = QStringLiteral("Part 10 plays a rhythm set, which is no patch.\r"
                                           "Choose Patch or Perform mode for patch commands.");
} // namespace

const QString MainFormTransfer::MidiClosedText = QStringLiteral("Midi Closed\rSelect Midi Devices");

MainFormTransfer::MainFormTransfer(TMidiMainForm &form, EditState &state, InfoSink &info,
                                   SysexProtocol &protocol)
    : QObject(&form), form_(form), state_(state), info_(info), protocol_(protocol),
      engine_(state, protocol), runDialog_([](QDialog &dialog) { dialog.exec(); }),
      saveUser_(new TSaveUser(&form)), copyTone_(new TCopytoneform(state, &form))
{
    setObjectName(QStringLiteral("MainFormTransfer"));
    connect(&form, &TMidiMainForm::commandRequested, this, [this](TMidiMainForm::Command c) {
        switch (c) {
        case TMidiMainForm::Command::GetPatch:
            BGetPatchClick();
            break;
        case TMidiMainForm::Command::SendPatch:
            BSendPatchClick();
            break;
        case TMidiMainForm::Command::SaveToJv:
            MSavetoJVClick();
            break;
        case TMidiMainForm::Command::CopyTone:
            SpCopyClick();
            break;
        case TMidiMainForm::Command::SystemControl:
            BSysCtrlClick();
            break;
        default:
            break;
        }
    });
    connect(&engine_, &PatchTransfer::fetchFinished, this, &MainFormTransfer::fetchFinished);
    connect(copyTone_, &TCopytoneform::toneCopied, this, [this] {
        form_.B_UpdateAllClick();
        BSendPatchClick();
    });
}

TSysForm *MainFormTransfer::sysForm() const
{
    return sysForm_;
}

bool MainFormTransfer::refuseWhenClosed()
{
    // A patch sent to 02 09 would land in the rhythm set.
    if (state_.editMode() == EditMode::Rhythm) {
        info_.ShowInfo(NoPatchText);
        return true;
    }
    if (!state_.MidiClosed)
        return false;
    info_.ShowInfo(MidiClosedText);
    return true;
}

void MainFormTransfer::BGetPatchClick()
{
    if (refuseWhenClosed())
        return;
    waitCursor(GetButton);
    if (!engine_.fetching() && !fetchStepOpen_ && protocol_.recorder()) {
        protocol_.recorder()->beginGroup(QLatin1String(GetPatchStep), EditRecorder::Region{});
        fetchStepOpen_ = true;
    }
    state_.SendLock = true;
    form_.setUpdateFromJv(true);
    engine_.GetPatch();
}

void MainFormTransfer::endFetchStep()
{
    if (!fetchStepOpen_)
        return;
    fetchStepOpen_ = false;
    if (protocol_.recorder())
        protocol_.recorder()->endGroup();
}

// A complete fetch ends with the update that follows its parse, which
// restores the cursors; one that gave up must say so.
void MainFormTransfer::fetchFinished(PatchTransfer::Outcome outcome)
{
    defaultCursors(GetButton);
    endFetchStep();
    // What the synthesizer holds now is what Compare plays.
    if (outcome == PatchTransfer::Outcome::Complete)
        state_.savedImage = state_.patchImage;
    if (outcome != PatchTransfer::Outcome::Complete)
        info_.ShowInfo(PatchTransfer::failureText(outcome, engine_.missingBlocks()));
}

void MainFormTransfer::BSendPatchClick()
{
    if (refuseWhenClosed())
        return;
    waitCursor(SendButton);
    engine_.SendPatch();
    defaultCursors(SendButton);
}

void MainFormTransfer::MSavetoJVClick()
{
    if (refuseWhenClosed())
        return;
    runDialog_(*saveUser_);
    if (saveUser_->result() != QDialog::Accepted)
        return;
    waitCursor(SendButton);
    engine_.SaveToSynth(saveUser_->SaveToCard, saveUser_->SavePatchNumber);
    defaultCursors(SendButton);
}

void MainFormTransfer::SpCopyClick()
{
    const UndoGroup group(protocol_, QLatin1String(CopyToneStep));
    runDialog_(*copyTone_);
}

void MainFormTransfer::BSysCtrlClick()
{
    if (!sysForm_) {
        sysForm_ = new TSysForm(state_, protocol_, &form_);
        sysForm_->FormCreate();
        // An answer that never comes must not keep SendLock for good. Only a
        // fetch holds it that long on purpose, and it has its own time-out.
        if (state_.SendLock)
            QTimer::singleShot(engine_.timeoutMs(), this, [this] {
                if (!engine_.fetching())
                    state_.SendLock = false;
            });
    }
    runDialog_(*sysForm_);
    if (sysForm_->result() == QDialog::Accepted) {
        // "Ok" has ended the dialog's life; the next use asks anew.
        sysForm_ = nullptr;
        form_.show();
    }
}

void MainFormTransfer::waitCursor(const char *button)
{
    form_.setCursor(Qt::WaitCursor);
    if (auto *b = form_.findChild<QWidget *>(QLatin1String(button)))
        b->setCursor(Qt::WaitCursor);
}

void MainFormTransfer::defaultCursors(const char *button)
{
    form_.unsetCursor();
    if (auto *b = form_.findChild<QWidget *>(QLatin1String(button)))
        b->unsetCursor();
}
