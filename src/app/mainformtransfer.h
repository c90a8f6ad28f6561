#pragma once
// The main window's whole-patch commands: Get Patch, Send Patch, Save to
// synth with its dialog, Copy Tone and the system control dialog. The
// start-up makes one right after the main window, as a child of it:
//     auto *transfer = new MainFormTransfer(form, state, info, protocol);
//     new MainFormFiles(form, state, info, *transfer);
// It answers the window's commandRequested signal, and makes the program's
// one TSaveUser and TCopytoneform.

#include "midi/patchtransfer.h"

#include <QObject>
#include <QPointer>
#include <functional>

class EditState;
class InfoSink;
class SysexProtocol;
class TCopytoneform;
class TMidiMainForm;
class TSaveUser;
class TSysForm;
class QDialog;

class MainFormTransfer : public QObject
{
    Q_OBJECT
public:
    // Runs a modal dialog to its end; the default is QDialog::exec. Tests
    // drive the dialog instead and leave its result set.
    using DialogRunner = std::function<void(QDialog &)>;

    static const QString MidiClosedText;

    MainFormTransfer(TMidiMainForm &form, EditState &state, InfoSink &info,
                     SysexProtocol &protocol);

    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // Every dialog of the main window's commands runs through here.
    void runDialog(QDialog &dialog) { runDialog_(dialog); }

    PatchTransfer &engine() { return engine_; }
    SysexProtocol &protocol() const { return protocol_; }
    TSaveUser &saveUser() const { return *saveUser_; }
    TCopytoneform &copyToneForm() const { return *copyTone_; }
    // The system control dialog while it exists.
    TSysForm *sysForm() const;

    void BGetPatchClick();
    void BSendPatchClick();
    void MSavetoJVClick();
    void SpCopyClick();
    void BSysCtrlClick();

private:
    bool refuseWhenClosed();
    void fetchFinished(PatchTransfer::Outcome outcome);
    void waitCursor(const char *button);
    void defaultCursors(const char *button);
    void endFetchStep();

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    SysexProtocol &protocol_;
    PatchTransfer engine_;
    DialogRunner runDialog_;
    TSaveUser *saveUser_;
    TCopytoneform *copyTone_;
    QPointer<TSysForm> sysForm_;
    // The fetch is one undo step from its first request to its last answer.
    bool fetchStepOpen_ = false;
};
