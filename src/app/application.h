#pragma once
// The window program's composition root: the one editing state, the
// protocol, and the windows created in their fixed order (main window, hub,
// wait window, Save-to-synth and copy-tone dialogs, splash). It answers the main window's commands
// that need the settings: the device dialog, reading the settings again, and the writing of the
// settings on exit. Tests run the same start-up with a settings file of their own and an InfoSink
// that records.

#include "core/editstate.h"
#include "midi/edithistory.h"
#include "midi/hublink.h"
#include "midi/hublinkrelay.h"
#include "midi/sysexprotocol.h"

#include <QObject>
#include <functional>
#include <memory>

class AppSettings;
class CompareToggle;
class EditGestures;
class EditorScreens;
class InfoSink;
class MainFormEdits;
class MainFormFiles;
class MainFormSysex;
class MainFormTransfer;
class MidiDevices;
class QDialog;
class RecoveryKeeper;
class TEntryForm;
class TMidiMainForm;
class TNoteOutForm;
class Tmomentform;

class Application : public QObject
{
    Q_OBJECT
public:
    static constexpr char Title[] = "TessivaW99d";

    // Runs a modal dialog to its end; the default is QDialog::exec.
    using DialogRunner = std::function<void(QDialog &)>;

    Application(InfoSink &info, AppSettings &settings, MidiDevices &devices,
                QObject *parent = nullptr);
    ~Application() override;
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // The built-in synthesizer first, so a first run finds a device that
    // answers, then the system's MIDI.
    static void addStandardBackends(MidiDevices &devices);

    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // Reads the settings and creates the windows in their order; the hub
    // opens the device dialog on a first run, opens MIDI and selects Patch
    // mode. Every window stays hidden.
    void createWindows();
    // The splash, modally; the main window appears as it goes.
    void showSplash();
    // Windows, splash, then the offer of a patch a crash or an exit with
    // changes left in the recovery file.
    void start();

    // The device settings dialog (menu "Midi Devices" and the first run).
    void MSetMidiDevsClick();
    // The hidden "Read ini" button.
    void ReadSettings();
    // The exit command's part before MIDI is closed; a failure is shown,
    // the program still ends.
    void WriteSettings();

    EditState &state() { return state_; }
    SysexProtocol &protocol() { return protocol_; }
    EditHistory &history() { return history_; }
    TMidiMainForm *mainForm() const { return main_.get(); }
    TNoteOutForm *hub() const { return hub_.get(); }
    Tmomentform *momentForm() const { return moment_.get(); }
    TEntryForm *entryForm() const { return entry_.get(); }
    // The main window's transfer and file commands (owned by the window).
    MainFormTransfer *transfer() const { return transfer_; }
    MainFormFiles *files() const { return files_; }
    MainFormSysex *sysex() const { return sysex_; }
    // The editing screens the main window opens.
    EditorScreens *screens() const { return screens_.get(); }
    // Undo, Redo, Compare and the patch sheet; the recovery file.
    MainFormEdits *edits() const { return edits_; }
    CompareToggle *compare() const { return compare_; }
    RecoveryKeeper *recovery() const { return recovery_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMainForm();
    void createHub();
    void connectCommands();
    void expansionsChanged();
    void applyBankPacing();

    InfoSink &info_;
    AppSettings &settings_;
    MidiDevices &devices_;
    DialogRunner runDialog_;
    bool exiting_ = false;

    EditState state_;
    HubLinkRelay hubLink_;
    SysexProtocol protocol_;
    EditHistory history_;
    std::unique_ptr<TMidiMainForm> main_;
    std::unique_ptr<TNoteOutForm> hub_;
    std::unique_ptr<Tmomentform> moment_;
    MainFormTransfer *transfer_ = nullptr;
    MainFormFiles *files_ = nullptr;
    MainFormSysex *sysex_ = nullptr;
    CompareToggle *compare_ = nullptr;
    MainFormEdits *edits_ = nullptr;
    RecoveryKeeper *recovery_ = nullptr;
    std::unique_ptr<EditGestures> gestures_;
    std::unique_ptr<TEntryForm> entry_;
    std::unique_ptr<EditorScreens> screens_;
};
