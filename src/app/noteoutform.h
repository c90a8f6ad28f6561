#pragma once
// The communication hub: owns the synthesizer's MIDI ports (and a separate
// keyboard input when one is used), handles everything that arrives, plays
// test notes and controller values, lights the traffic lamps, and feeds the
// message log window.

#include "app/hubcontrol.h"
#include "app/outputform.h"
#include "midi/hublink.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

class AppSettings;
class EditState;
class InfoSink;
class MainWindowLink;
class MidiDevices;
class SysexProtocol;
class TLEDGauge;
class TMidiInput;
class TMidiOutput;
class TSliddt;
class TSliderBase;
class TSlidNaVf;
class QCheckBox;
class QGroupBox;
class QLabel;
class QTimer;
class QToolButton;

class TNoteOutForm : public QWidget, public HubControl, public HubLink
{
    Q_OBJECT
public:
    static constexpr int FullWidth = 256;
    static constexpr int FullHeight = 303;
    static constexpr int HalfWidth = 125;
    static constexpr int HalfHeight = 319;
    static constexpr int DoubleClickHeight = 300;
    static constexpr int LampInterval = 150; // ms
    static constexpr int StartNote = StartTestNote;
    static constexpr int StartVelocity = 64;
    static constexpr int StartBreath = 64;

    // The protocol sends through this hub's output port from now on.
    TNoteOutForm(EditState &state, InfoSink &info, SysexProtocol &protocol, MidiDevices &devices,
                 MainWindowLink *main = nullptr, QWidget *parent = nullptr);
    ~TNoteOutForm() override;

    void setMainWindow(MainWindowLink *main) { main_ = main; }
    // Device indices, separate keyboard and first-run flag. Without settings
    // OpenMidi opens nothing.
    void setSettings(AppSettings *settings) { settings_ = settings; }
    // The start-up steps that need the main window and the settings: the
    // device dialog on the first run, opening the devices, Patch mode.
    void startUp();
    // The window the hub and the message log open over (the main window).
    void setWindowAnchor(QWidget *anchor);

    // HubControl
    void OpenMidi() override;
    void reopenMidi() override;
    void closeMidi() override;
    void showHub() override;
    void showMessageLog() override;
    void AllSoundOff() override;
    void SendShort(int status, int data1, int data2) override;

    // HubLink
    void AddOutLog(const QString &line) override;
    void AddInLog(const QString &line) override;
    void LedOut() override;
    void LedIn() override;
    void PlayEditNote() override;

    // Shows a short message on the display and its third byte on the gauge.
    void ShowShort(int status, int data1, int data2);
    // Keeps handling events for ms milliseconds.
    void WaitProcessing(int ms);

    // Test note and echo state, for the screens' release buttons and tests.
    int testNote() const override;
    bool MidiTrueOn() const { return midiTrueOn_; }
    TOutputForm *outputForm() const { return outputForm_; }

    // The ports, for the device settings dialog.
    TMidiInput &midiInput1() { return *MidiInput1; }
    TMidiOutput &midiOutput1() { return *MidiOutput1; }
    TMidiInput *keyboardInput() const { return keyboardIn_.get(); }
    TMidiInput &createKeyboardInput();
    // Closes and discards the keyboard input; Lkb shows "KB freed".
    void freeKeyboardInput();
    // Closes every port, discards the keyboard input and sets MidiClosed.
    // The ports that were open are remembered for restorePorts.
    void closePorts();
    // Opens again, on the same devices, what the last closePorts closed
    // (the device dialog was cancelled).
    void restorePorts();
    // Opens the synthesizer ports on these devices (and the keyboard input
    // when keyboardIndex is not negative) and reports it on the main
    // window. A port error is shown, every port is closed again and false
    // returned, with MidiClosed set.
    bool openPorts(int inputIndex, int outputIndex, int keyboardIndex);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    class PortGuard;
    static constexpr int Unsent = -1;
    static const QColor LampIdle;

    // The devices of the open ports; keyboard NoDevice when none was open.
    struct OpenDevices
    {
        int input;
        int output;
        int keyboard;
    };
    // What each slider last sent; Unsent before its first send.
    struct SliderSends
    {
        int note = Unsent;
        int velocity = Unsent;
        int breath = Unsent;
        int modulation = Unsent;
        int aftertouch = Unsent;
    };

    void buildControls();
    void MidiInput1MidiInput(TMidiInput *sender);
    void KbThru(TMidiInput *sender);
    void continueLater(TMidiInput *input, void (TNoteOutForm::*handler)(TMidiInput *));
    void refreshFromSynth();
    void sendShortLit(int status, int data1, int data2, const QColor &lamp);
    void portFailed(const QString &message);
    void closeAllQuietly();
    void showOpen(const QString &inPrefix, const QString &outPrefix);
    void showClosed();
    void reportMissingDevices(int input);
    void setLamp(QLabel *lamp, const QColor &colour);
    void lampsOff();
    int channelByte() const;

    void SbNoteHChange(TSliderBase *);
    void SbNoteVChange(TSliderBase *);
    void SbNoteBChange(TSliderBase *);
    void SbNoteMChange(TSliderBase *);
    void SbNoteAChange(TSliderBase *);
    void sendController(int position, int &lastSent, std::uint8_t status, int controller);
    void sliderSent(int &lastSent, int position);
    void SpBHClick();

    EditState &state_;
    InfoSink &info_;
    SysexProtocol &protocol_;
    MidiDevices &devices_;
    MainWindowLink *main_;
    AppSettings *settings_ = nullptr;

    QToolButton *SpeedBt_AllOff;
    QLabel *LMidiIn;
    QLabel *LmidiS;
    QLabel *LedIn_;
    QLabel *LedOut_;
    QLabel *LmidiOut;
    QLabel *Lkb;
    QLabel *LMididata;
    QToolButton *SpBH;
    QGroupBox *GrBStuurNote;
    QLabel *LSnote;
    TLEDGauge *LGIn;
    TSlidNaVf *SbNoteV;
    TSliddt *SbNoteH;
    QGroupBox *GrBSendCtrl;
    QLabel *Lctrl;
    TSlidNaVf *SbNoteB;
    TSlidNaVf *SbNoteM;
    TSlidNaVf *SbNoteA;
    QCheckBox *CbMiditrue;
    QTimer *Timer1;

    TMidiInput *MidiInput1;
    TMidiOutput *MidiOutput1;
    std::unique_ptr<TMidiInput> keyboardIn_;
    std::unique_ptr<PortGuard> guard_;
    bool keyboardOpen_ = false;
    bool midiTrueOn_ = false;
    bool handlingFailure_ = false;
    std::optional<OpenDevices> reopenAs_;
    SliderSends sent_;
    QPointer<QWidget> windowAnchor_;

    LogLineCounters logCounters_;
    QPointer<TOutputForm> outputForm_;
};
