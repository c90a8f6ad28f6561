#include "app/noteoutform.h"

#include "app/mainwindowlink.h"
#include "app/windowplacement.h"
#include "controls/ledgauge.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "core/appsettings.h"
#include "core/displaytables.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/mididevices.h"
#include "midi/midierrors.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t ControlChange = 0xB0;
constexpr std::uint8_t ChannelPressure = 0xD0;
constexpr std::uint8_t FirstSystemStatus = 0xF0;
constexpr std::uint8_t KindMask = 0xF0;
constexpr std::uint8_t ChannelMask = 0x0F;
constexpr std::uint8_t DataMask = 0x7F;
constexpr int AllSoundOffController = 120;
constexpr int BreathController = 2;
constexpr int ModulationController = 1;
constexpr int MinChannel = 1;
constexpr int MaxChannel = 16;

const QColor LampLit(0, 255, 0);
const QColor LampKeyboard(255, 255, 0);

const QString MidiClosedText = QStringLiteral("Midi Closed");
const QString MidiOpenText = QStringLiteral("Midi Open");
// The status bar's own captions, shown again while no port is open.
const QString NoInputText = QStringLiteral("Midi-In");
const QString NoOutputText = QStringLiteral("Midi-Out");
enum StatusPanel
{
    StatePanel,
    InputPanel,
    OutputPanel
};

QString errorText(const std::exception &e)
{
    if (auto *port = dynamic_cast<const MidiPortError *>(&e))
        return port->message();
    if (auto *backend = dynamic_cast<const MidiBackendError *>(&e))
        return deviceFailureText(backend->reason());
    return QString::fromUtf8(e.what());
}

// Runs one port operation; a failure comes back as its message instead of
// an exception, because nothing may leave a Qt slot by throwing.
template <typename Op> QString attempt(Op op)
{
    try {
        op();
    } catch (const std::exception &e) {
        return errorText(e);
    }
    return {};
}

} // namespace

// Hands the protocol's (and the hub's own) sends to the output port. A port
// that fails while open (a device unplugged) closes the devices instead of
// throwing through the caller's event handler.
class TNoteOutForm::PortGuard : public MidiSender
{
public:
    explicit PortGuard(TNoteOutForm &hub) : hub_(hub) {}
    void SendShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        report(attempt([&] { hub_.MidiOutput1->SendShortMsg(status, data1, data2); }));
    }
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        report(attempt([&] { hub_.MidiOutput1->SendLongMsg(buffer, length); }));
    }

private:
    void report(const QString &error)
    {
        if (!error.isEmpty())
            hub_.portFailed(error);
    }
    TNoteOutForm &hub_;
};

TNoteOutForm::TNoteOutForm(EditState &state, InfoSink &info, SysexProtocol &protocol,
                           MidiDevices &devices, MainWindowLink *main, QWidget *parent)
    : QWidget(parent, Qt::Window), state_(state), info_(info), protocol_(protocol),
      devices_(devices), main_(main)
{
    (void)DisplayTables::instance();
    MidiInput1 = new TMidiInput(devices_, this);
    MidiInput1->setSysexBufferSize(TMidiInput::DefaultSysexBufferSize);
    MidiOutput1 = new TMidiOutput(devices_, this);
    guard_ = std::make_unique<PortGuard>(*this);
    protocol_.setSender(guard_.get());

    buildControls();
    SbNoteH->setPosition(StartNote);
    SbNoteH->setText(DisplayTables::instance().NoteNames[StartNote]);
    SbNoteV->setPosition(StartVelocity);
    SbNoteB->setPosition(StartBreath);

    // Bound only now: the start positions are not edits and must neither
    // send nor disturb LastSentValue.
    auto bind = [this](TSliderBase *slider, void (TNoteOutForm::*handler)(TSliderBase *)) {
        connect(slider, &TSliderBase::OnChange, this, handler);
        connect(slider, &TSliderBase::OnChanging, this, handler);
    };
    bind(SbNoteH, &TNoteOutForm::SbNoteHChange);
    bind(SbNoteV, &TNoteOutForm::SbNoteVChange);
    bind(SbNoteB, &TNoteOutForm::SbNoteBChange);
    bind(SbNoteM, &TNoteOutForm::SbNoteMChange);
    bind(SbNoteA, &TNoteOutForm::SbNoteAChange);
    connect(SpeedBt_AllOff, &QToolButton::clicked, this, &TNoteOutForm::AllSoundOff);
    connect(SpBH, &QToolButton::clicked, this, &TNoteOutForm::SpBHClick);
    connect(CbMiditrue, &QCheckBox::toggled, this, [this](bool on) { midiTrueOn_ = on; });
    connect(Timer1, &QTimer::timeout, this, &TNoteOutForm::lampsOff);
    connect(MidiInput1, &TMidiInput::OnMidiInput, this, &TNoteOutForm::MidiInput1MidiInput);
    Timer1->start();
    // A hub the user moved stays where it was put.
    WindowPlacement::install(*this, WindowPlacement::Mode::CentreOnce);
}

void TNoteOutForm::setWindowAnchor(QWidget *anchor)
{
    windowAnchor_ = anchor;
    WindowPlacement::install(*this, WindowPlacement::Mode::CentreOnce, anchor);
}

TNoteOutForm::~TNoteOutForm()
{
    protocol_.setSender(nullptr);
    closeAllQuietly();
    delete outputForm_.data();
}

void TNoteOutForm::startUp()
{
    if (settings_ && settings_->FirstRun && main_)
        main_->MSetMidiDevsClick();
    if (state_.MidiClosed)
        OpenMidi();
    CbMiditrue->setChecked(false);
    midiTrueOn_ = false;
    if (main_)
        main_->selectPatchMode();
}

// --- ports --------------------------------------------------------------

void TNoteOutForm::OpenMidi()
{
    if (!settings_ || settings_->FirstRun || settings_->SynthIn.index == AppSettings::NoDevice)
        return;
    const QStringList inputs = devices_.inputNames();
    const int in = AppSettings::ResolveDevice(settings_->SynthIn, inputs);
    const int out = AppSettings::ResolveDevice(settings_->SynthOut, devices_.outputNames());
    // Another device standing in for a keyboard would play whatever it
    // sends into the synthesizer.
    const bool keyboardMissing =
        settings_->SepKB && AppSettings::IsMissing(settings_->KeyboardIn, inputs);
    const int kb = settings_->SepKB && !keyboardMissing
                       ? AppSettings::ResolveDevice(settings_->KeyboardIn, inputs)
                       : AppSettings::NoDevice;
    if (in != AppSettings::NoDevice)
        openPorts(in, out, kb);
    else
        showClosed();
    reportMissingDevices(in);
}

// A remembered device that is gone is replaced by the first of its list; the
// user must know that the synthesizer now answering may be another one.
void TNoteOutForm::reportMissingDevices(int input)
{
    const QStringList inputs = devices_.inputNames();
    const QStringList outputs = devices_.outputNames();
    auto remembered = [](const DeviceChoice &choice) {
        return choice.name.isEmpty() ? QStringLiteral("number %1").arg(choice.index)
                                     : QLatin1Char('"') + choice.name + QLatin1Char('"');
    };
    QStringList lines;
    auto check = [&](const char *port, const DeviceChoice &choice, const QStringList &devices,
                     bool used, const QString &usedName, StatusPanel panel, const char *prefix) {
        if (!AppSettings::IsMissing(choice, devices))
            return;
        const QString what = remembered(choice);
        lines << QStringLiteral("%1 %2 is not present; ").arg(QLatin1String(port), what) +
                     (used ? QStringLiteral("\"%1\" is used instead.").arg(usedName)
                           : QStringLiteral("none is opened."));
        if (main_ && panel != StatePanel)
            main_->setStatusPanel(panel,
                                  QLatin1String(prefix) +
                                      (used ? QStringLiteral("%1 (%2 missing)").arg(usedName, what)
                                            : QStringLiteral("%1 missing").arg(what)));
    };
    const bool open = !state_.MidiClosed;
    check("MIDI input", settings_->SynthIn, inputs, open && input != AppSettings::NoDevice,
          MidiInput1->ProductName(), InputPanel, "In: ");
    if (input != AppSettings::NoDevice)
        check("MIDI output", settings_->SynthOut, outputs, open, MidiOutput1->ProductName(),
              OutputPanel, "Out: ");
    // A missing keyboard is never replaced (see OpenMidi).
    if (settings_->SepKB)
        check("Keyboard input", settings_->KeyboardIn, inputs, false, QString(), StatePanel, "");
    if (!lines.isEmpty())
        info_.ShowInfo(lines.join(QLatin1Char('\r')));
}

bool TNoteOutForm::openPorts(int inputIndex, int outputIndex, int keyboardIndex)
{
    reopenAs_.reset();
    // A device cannot be chosen while its port is open.
    closeAllQuietly();
    const QString error = attempt([&] {
        TMidiInput *kb = keyboardIndex >= 0 ? &createKeyboardInput() : nullptr;
        if (kb)
            kb->setDeviceID(keyboardIndex);
        MidiInput1->setDeviceID(inputIndex);
        MidiOutput1->setDeviceID(outputIndex < 0 ? TMidiOutput::DefaultDevice : outputIndex);
        MidiInput1->OpenPort();
        MidiInput1->StartInput();
        MidiOutput1->OpenPort();
        if (kb) {
            kb->OpenPort();
            kb->StartInput();
            Lkb->setText(QStringLiteral("KB open"));
            keyboardOpen_ = true;
        }
    });
    if (!error.isEmpty()) {
        portFailed(error);
        return false;
    }
    showOpen(QStringLiteral("In: "), QStringLiteral("Out: "));
    return true;
}

void TNoteOutForm::showOpen(const QString &inPrefix, const QString &outPrefix)
{
    state_.MidiClosed = false;
    if (!main_)
        return;
    main_->setStatusPanel(StatePanel, MidiOpenText);
    main_->setStatusPanel(InputPanel, inPrefix + MidiInput1->ProductName());
    main_->setStatusPanel(OutputPanel, outPrefix + MidiOutput1->ProductName());
    main_->setDevStat(MidiOpenText);
    main_->setMidiOpenChecked(true);
}

// Every way the ports close ends here, so the main window never shows open
// ports that are not.
void TNoteOutForm::showClosed()
{
    state_.MidiClosed = true;
    if (!main_)
        return;
    main_->setStatusPanel(StatePanel, MidiClosedText);
    main_->setStatusPanel(InputPanel, NoInputText);
    main_->setStatusPanel(OutputPanel, NoOutputText);
    main_->setDevStat(MidiClosedText);
    main_->setMidiOpenChecked(false);
}

void TNoteOutForm::reopenMidi()
{
    TMidiInput *kb = settings_ && settings_->SepKB ? keyboardIn_.get() : nullptr;
    const QString error = attempt([&] {
        if (!MidiInput1->isOpen()) {
            MidiInput1->OpenPort();
            MidiInput1->StartInput();
        }
        if (kb && !kb->isOpen()) {
            kb->OpenPort();
            kb->StartInput();
            keyboardOpen_ = true;
        }
        if (!MidiOutput1->isOpen())
            MidiOutput1->OpenPort();
    });
    if (!error.isEmpty()) {
        portFailed(error);
        return;
    }
    showOpen(QStringLiteral("In = "), QStringLiteral("Out = "));
}

void TNoteOutForm::closeMidi()
{
    QString error = attempt([&] { MidiInput1->ClosePort(); });
    const QString outError = attempt([&] { MidiOutput1->ClosePort(); });
    const QString kbError = keyboardIn_ ? attempt([&] { keyboardIn_->ClosePort(); }) : QString();
    keyboardOpen_ = false;
    showClosed();
    for (const QString &e : {error, outError, kbError}) {
        if (!e.isEmpty()) {
            info_.ShowInfo(e);
            break;
        }
    }
}

TMidiInput &TNoteOutForm::createKeyboardInput()
{
    if (!keyboardIn_) {
        keyboardIn_ = std::make_unique<TMidiInput>(devices_);
        connect(keyboardIn_.get(), &TMidiInput::OnMidiInput, this, &TNoteOutForm::KbThru);
    }
    return *keyboardIn_;
}

void TNoteOutForm::freeKeyboardInput()
{
    if (!keyboardIn_)
        return;
    (void)attempt([&] { keyboardIn_->ClosePort(); });
    keyboardIn_.reset();
    keyboardOpen_ = false;
    Lkb->setText(QStringLiteral("KB freed"));
}

void TNoteOutForm::closePorts()
{
    reopenAs_.reset();
    if (!state_.MidiClosed && MidiInput1->isOpen() && MidiOutput1->isOpen())
        reopenAs_ = OpenDevices{MidiInput1->DeviceID(), MidiOutput1->DeviceID(),
                                keyboardOpen_ && keyboardIn_ ? int(keyboardIn_->DeviceID())
                                                             : AppSettings::NoDevice};
    (void)attempt([&] { MidiInput1->ClosePort(); });
    (void)attempt([&] { MidiOutput1->ClosePort(); });
    freeKeyboardInput();
    showClosed();
}

void TNoteOutForm::restorePorts()
{
    if (!reopenAs_)
        return;
    const OpenDevices devices = *reopenAs_;
    openPorts(devices.input, devices.output, devices.keyboard);
}

void TNoteOutForm::closeAllQuietly()
{
    (void)attempt([&] { MidiInput1->ClosePort(); });
    (void)attempt([&] { MidiOutput1->ClosePort(); });
    if (keyboardIn_)
        (void)attempt([&] { keyboardIn_->ClosePort(); });
    keyboardOpen_ = false;
}

// A port error leaves the editor running with its patch; the devices are
// closed as by the close command, so the user can reopen or choose others.
void TNoteOutForm::portFailed(const QString &message)
{
    if (handlingFailure_)
        return;
    handlingFailure_ = true;
    closeAllQuietly();
    showClosed();
    info_.ShowInfo(message);
    handlingFailure_ = false;
}

// --- incoming -----------------------------------------------------------

void TNoteOutForm::MidiInput1MidiInput(TMidiInput *sender)
{
    setLamp(LedIn_, LampLit);
    state_.SendLock = true;
    while (sender->EventCount() > 0) {
        const std::unique_ptr<TMyMidiEvent> event = sender->ReadEvent();
        if (!event)
            break;
        if (!event->isSysex()) {
            ShowShort(event->Status, event->Data1, event->Data2);
            if (midiTrueOn_)
                SendShort(event->Status, event->Data1, event->Data2);
            state_.SendLock = false;
            continueLater(sender, &TNoteOutForm::MidiInput1MidiInput);
            return;
        }
        if (event->SysexData.empty())
            continue;
        const ParseResult result =
            protocol_.parseIncoming(event->SysexData.data(), int(event->SysexData.size()));
        if (result.stopNotification && sender->EventCount() > 0) {
            continueLater(sender, &TNoteOutForm::MidiInput1MidiInput);
            return;
        }
    }
    refreshFromSynth();
}

void TNoteOutForm::KbThru(TMidiInput *sender)
{
    setLamp(LedIn_, LampKeyboard);
    while (sender->EventCount() > 0) {
        const std::unique_ptr<TMyMidiEvent> event = sender->ReadEvent();
        if (!event)
            break;
        if (event->isSysex())
            continue;
        int status = event->Status;
        // A keyboard on any channel plays the current part; system
        // messages have no channel and pass as they are.
        if (status < FirstSystemStatus)
            status = (status & KindMask) | channelByte();
        ShowShort(status, event->Data1, event->Data2);
        sendShortLit(status, event->Data1, event->Data2, LampKeyboard);
        state_.SendLock = false;
        continueLater(sender, &TNoteOutForm::KbThru);
        return;
    }
}

// The port signals once for a burst; what was left waiting for a later round
// gets its own round, so nothing stays in the queue until the next message.
void TNoteOutForm::continueLater(TMidiInput *input, void (TNoteOutForm::*handler)(TMidiInput *))
{
    if (input->EventCount() == 0)
        return;
    QPointer<TMidiInput> guarded(input);
    QMetaObject::invokeMethod(
        this,
        [this, guarded, handler] {
            if (guarded && guarded->isOpen() && guarded->EventCount() > 0)
                (this->*handler)(guarded.data());
        },
        Qt::QueuedConnection);
}

// Received data is in the image now. Without a refresh to release the send
// lock, edits would be dropped silently, so it is released here instead.
void TNoteOutForm::refreshFromSynth()
{
    if (main_ && main_->updateFromJv())
        main_->B_UpdateAllClick();
    else
        state_.SendLock = false;
}

// --- outgoing -----------------------------------------------------------

void TNoteOutForm::SendShort(int status, int data1, int data2)
{
    sendShortLit(status, data1, data2, LampLit);
}

void TNoteOutForm::sendShortLit(int status, int data1, int data2, const QColor &lamp)
{
    if (state_.MidiClosed)
        return;
    setLamp(LedOut_, lamp);
    ShowShort(status, data1, data2);
    guard_->SendShortMsg(std::uint8_t(status), std::uint8_t(data1 & DataMask),
                         std::uint8_t(data2 & DataMask));
}

void TNoteOutForm::ShowShort(int status, int data1, int data2)
{
    LGIn->setValue(data2);
    auto hex = [](int v) {
        return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QChar(' ')).toUpper();
    };
    LmidiOut->setText(hex(status) + QLatin1Char(' ') + hex(data1) + QLatin1Char(' ') + hex(data2));
}

void TNoteOutForm::AllSoundOff()
{
    if (!main_ || !main_->mainShown())
        return;
    setLamp(LedOut_, LampLit);
    SendShort(ControlChange + (state_.currentPart() & ChannelMask), AllSoundOffController, 0);
}

void TNoteOutForm::PlayEditNote()
{
    if (!state_.PlayNoteOn)
        return;
    AllSoundOff();
    SendShort(NoteOn + channelByte(), SbNoteH->Position(), SbNoteV->Position());
}

int TNoteOutForm::channelByte() const
{
    const int part = main_ ? std::clamp(main_->partChannel(), MinChannel, MaxChannel) : MinChannel;
    return part - MinChannel;
}

int TNoteOutForm::testNote() const
{
    return SbNoteH->Position();
}

void TNoteOutForm::SbNoteHChange(TSliderBase *)
{
    const int pos = SbNoteH->Position();
    SbNoteH->setText(DisplayTables::instance().NoteNames[std::size_t(pos)]);
    if (pos == sent_.note)
        return;
    AllSoundOff();
    SendShort(NoteOn + channelByte(), pos, SbNoteV->Position());
    sliderSent(sent_.note, pos);
}

void TNoteOutForm::SbNoteVChange(TSliderBase *)
{
    const int pos = SbNoteV->Position();
    if (pos == sent_.velocity)
        return;
    AllSoundOff();
    SendShort(NoteOn + channelByte(), SbNoteH->Position(), pos);
    sliderSent(sent_.velocity, pos);
}

// Each slider is compared with what it sent itself: the byte some other
// control sent last says nothing about this one, and skipping on it would
// leave the slider showing a value the synthesizer never got.
void TNoteOutForm::sliderSent(int &lastSent, int position)
{
    // With the ports closed nothing left; the value is still to be sent.
    lastSent = state_.MidiClosed ? Unsent : position;
    state_.LastSentValue = std::uint8_t(position);
}

void TNoteOutForm::sendController(int position, int &lastSent, std::uint8_t status, int controller)
{
    if (position == lastSent)
        return;
    if (status == ChannelPressure)
        SendShort(status + channelByte(), position, 0);
    else
        SendShort(status + channelByte(), controller, position);
    sliderSent(lastSent, position);
}

void TNoteOutForm::SbNoteBChange(TSliderBase *)
{
    sendController(SbNoteB->Position(), sent_.breath, ControlChange, BreathController);
}

void TNoteOutForm::SbNoteMChange(TSliderBase *)
{
    sendController(SbNoteM->Position(), sent_.modulation, ControlChange, ModulationController);
}

void TNoteOutForm::SbNoteAChange(TSliderBase *)
{
    sendController(SbNoteA->Position(), sent_.aftertouch, ChannelPressure, 0);
}

// --- log and lamps ------------------------------------------------------

void TNoteOutForm::AddOutLog(const QString &line)
{
    if (outputForm_)
        outputForm_->AddOutLog(line);
}

void TNoteOutForm::AddInLog(const QString &line)
{
    if (outputForm_)
        outputForm_->AddInLog(line);
}

void TNoteOutForm::LedOut()
{
    setLamp(LedOut_, LampLit);
}

void TNoteOutForm::LedIn()
{
    setLamp(LedIn_, LampLit);
}

void TNoteOutForm::setLamp(QLabel *lamp, const QColor &colour)
{
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, colour);
    lamp->setPalette(p);
}

const QColor TNoteOutForm::LampIdle(0, 128, 0);

void TNoteOutForm::lampsOff()
{
    setLamp(LedIn_, LampIdle);
    setLamp(LedOut_, LampIdle);
}

void TNoteOutForm::showMessageLog()
{
    if (!state_.LogMessages || !outputForm_) {
        delete outputForm_.data();
        outputForm_ = new TOutputForm(logCounters_);
        outputForm_->setAttribute(Qt::WA_DeleteOnClose);
        WindowPlacement::install(*outputForm_, WindowPlacement::Mode::Centre, windowAnchor_);
        connect(outputForm_.data(), &TOutputForm::closed, this,
                [this] { state_.LogMessages = false; });
    }
    state_.LogMessages = true;
    outputForm_->showNormal();
}

void TNoteOutForm::showHub()
{
    show();
    raise();
    activateWindow();
}

void TNoteOutForm::WaitProcessing(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
