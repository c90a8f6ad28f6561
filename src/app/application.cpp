#include "app/application.h"

#include "app/comparetoggle.h"
#include "app/editgestures.h"
#include "app/editorscreens.h"
#include "app/entryform.h"
#include "app/mainform.h"
#include "app/mainformedits.h"
#include "app/mainformfiles.h"
#include "app/mainformsysex.h"
#include "app/mainformtransfer.h"
#include "app/mididevselect.h"
#include "app/momentform.h"
#include "app/noteoutform.h"
#include "app/performancecommands.h"
#include "app/programpicture.h"
#include "app/recoverykeeper.h"
#include "app/windowplacement.h"
#include "core/appsettings.h"
#include "core/infosink.h"
#include "midi/mididevices.h"
#include "midi/rtmidibackend.h"
#include "sim/simulatorbackend.h"

#include <QApplication>
#include <QEvent>

Application::Application(InfoSink &info, AppSettings &settings, MidiDevices &devices,
                         QObject *parent)
    : QObject(parent), info_(info), settings_(settings), devices_(devices),
      runDialog_([](QDialog &dialog) { dialog.exec(); }), protocol_(state_, info_, hubLink_),
      history_(state_, protocol_)
{
}

Application::~Application()
{
    gestures_.reset();
    screens_.reset();
    // The hub goes first: its ports may still report while they close, and
    // nothing may reach it through the protocol or the main window after.
    entry_.reset();
    moment_.reset();
    if (main_)
        main_->setHub(nullptr);
    hubLink_.setTarget(nullptr);
    hub_.reset();
    protocol_.setSender(nullptr);
    main_.reset();
}

void Application::addStandardBackends(MidiDevices &devices)
{
    devices.addBackend(std::make_shared<SimulatorBackend>());
    devices.addBackend(std::make_shared<RtMidiBackend>());
}

void Application::createWindows()
{
    // The program's title is not made the application's display name: Qt
    // would append it to every window's caption. Message boxes carry it
    // instead (MessageBoxSink).
    QGuiApplication::setWindowIcon(ProgramIcon());
    createMainForm();
    createHub();
    screens_ = std::make_unique<EditorScreens>(*main_, state_, protocol_);
    moment_ = std::make_unique<Tmomentform>();
    main_->setWaitNote(moment_.get());
    gestures_ = std::make_unique<EditGestures>(history_);
    // Before the other command handlers: a command ends a comparison first.
    compare_ = new CompareToggle(*main_, state_, protocol_, screens_.get());
    // The whole-patch commands come with the Save-to-synth and copy-tone
    // dialogs; both belong to the main window.
    transfer_ = new MainFormTransfer(*main_, state_, info_, protocol_);
    files_ = new MainFormFiles(*main_, state_, info_, *transfer_);
    sysex_ = new MainFormSysex(*main_, state_, info_, protocol_, *files_, *transfer_);
    edits_ = new MainFormEdits(*main_, state_, info_, history_, *compare_);
    recovery_ = new RecoveryKeeper(state_, info_, *main_, *transfer_, protocol_);
    recovery_->setEnabled(settings_.AutoSave);
    new PerformanceCommands(*main_, state_, info_, protocol_, *transfer_);
    applyBankPacing();
    entry_ = std::make_unique<TEntryForm>(main_.get());
}

void Application::createMainForm()
{
    // The wave-group lists are filled while the window is built, so the
    // expansion definitions must be known before.
    settings_.ReadSettings(state_);
    const bool playNote = state_.PlayNoteOn;
    main_ = std::make_unique<TMidiMainForm>(state_, info_, protocol_);
    main_->setProgramDir(settings_.programDir);
    main_->setPlayNoteChecked(playNote);
    state_.PlayNoteOn = main_->playNoteChecked();
    main_->LastPatchFile = settings_.LastPatchFile;
    // Whatever was stored, a session starts with the screens following the
    // synthesizer.
    main_->setUpdateFromJv(true);
    main_->installEventFilter(this);
    WindowPlacement::install(*main_, WindowPlacement::Mode::CentreOnce);
    connectCommands();
}

void Application::createHub()
{
    hub_ = std::make_unique<TNoteOutForm>(state_, info_, protocol_, devices_, main_.get());
    hubLink_.setTarget(hub_.get());
    hub_->setSettings(&settings_);
    hub_->setWindowAnchor(main_.get());
    main_->setHub(hub_.get());
    hub_->startUp();
    // Selecting Patch mode is a data set, but to the system, not the patch:
    // nothing has been edited yet.
    state_.PatchModified = false;
}

void Application::connectCommands()
{
    connect(main_.get(), &TMidiMainForm::commandRequested, this,
            [this](TMidiMainForm::Command command) {
                switch (command) {
                case TMidiMainForm::Command::MidiSettings:
                    MSetMidiDevsClick();
                    break;
                case TMidiMainForm::Command::ReadSettings:
                    ReadSettings();
                    break;
                case TMidiMainForm::Command::Exit:
                    exiting_ = true;
                    WriteSettings();
                    // Exit asks nothing; a changed patch waits in the
                    // recovery file for the next start.
                    if (recovery_)
                        recovery_->flush();
                    break;
                default:
                    break;
                }
            });
}

void Application::showSplash()
{
    if (!entry_)
        entry_ = std::make_unique<TEntryForm>(main_.get());
    runDialog_(*entry_);
    entry_.reset();
}

void Application::start()
{
    createWindows();
    showSplash();
    recovery_->offer();
}

void Application::MSetMidiDevsClick()
{
    TMidiDevSelect dialog(state_, info_, settings_, devices_, main_.get());
    dialog.connectHub(*hub_);
    connect(&dialog, &TMidiDevSelect::settingsApplied, this, &Application::expansionsChanged);
    runDialog_(dialog);
}

void Application::ReadSettings()
{
    settings_.ReadSettings(state_);
    main_->setPlayNoteChecked(state_.PlayNoteOn);
    state_.PlayNoteOn = main_->playNoteChecked();
    main_->setUpdateFromJv(settings_.UpdateFromJv);
    main_->LastPatchFile = settings_.LastPatchFile;
    if (recovery_)
        recovery_->setEnabled(settings_.AutoSave);
    applyBankPacing();
    expansionsChanged();
}

void Application::applyBankPacing()
{
    if (sysex_)
        sysex_->setPacing({settings_.BankPauseMs, settings_.BankTimeoutMs, settings_.BankRetries});
}

void Application::expansionsChanged()
{
    main_->FillWaveGroupLists();
    // Refilled lists start at their first group; the tone rows must show
    // the groups of the patch again.
    if (main_->mainShown()) {
        state_.SendLock = true;
        main_->B_UpdateAllClick();
    }
}

bool Application::eventFilter(QObject *watched, QEvent *event)
{
    // Quitting offers every window a close; once the exit command runs, the
    // main window's close must not ask a second time.
    if (exiting_ && watched == main_.get() && event->type() == QEvent::Close) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Application::WriteSettings()
{
    settings_.UpdateFromJv = main_->updateFromJv();
    settings_.LastPatchFile = main_->LastPatchFile;
    const QString error = settings_.WriteSettings(state_);
    if (!error.isEmpty())
        info_.ShowInfo(error);
}
