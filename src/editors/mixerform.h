#pragma once
// The edited patch as a mixing desk: per tone its wave, level, pan, chorus
// and reverb sends, output and switch with mute and solo; the returns of the
// multi-effect, chorus and reverb with the chorus and reverb settings; the
// synthesizer's three effect switches; and patch level and pan, which go
// through the main window. It edits the same patch as every other screen.

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class EditState;
class EditorHost;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;
class SysexProtocol;
class TLPanH;
class TMButt;
class TSliddt;
class TSliderBase;
class TSlidNaVf;

class TMixerForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ToneCount = 4;
    static constexpr int NoteOn = 0x90;
    // The synthesizer's effect switches in its system common block.
    static constexpr std::uint8_t EffectSwitch = 0x08;
    static constexpr std::uint8_t ChorusSwitch = 0x09;
    static constexpr std::uint8_t ReverbSwitch = 0x0A;
    // Common offsets of the returns and settings.
    static constexpr int EfxOutput = 0x19;
    static constexpr int EfxLevel = 0x1A;
    static constexpr int EfxChorusSend = 0x1B;
    static constexpr int EfxReverbSend = 0x1C;
    static constexpr int ChorusRate = 0x22;
    static constexpr int ChorusDepth = 0x23;
    static constexpr int ChorusPreDelay = 0x24;
    static constexpr int ChorusFeedback = 0x25;
    static constexpr int ChorusOutput = 0x26;
    static constexpr int ReverbType = 0x27;
    static constexpr int ReverbTime = 0x29;
    static constexpr int ReverbHfDamp = 0x2A;
    static constexpr int DelayFeedback = 0x2B;
    static constexpr int TonePan = 0x77;
    // Chorus output row that routes the chorus into the reverb.
    static constexpr int ChorusToReverb = 1;

    TMixerForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
               QWidget *parent = nullptr);

    // Loads every control from the image (the main window's wave names too).
    void refresh();

    // Handlers, as the controls call them.
    void toneSwitchClick(int tone);
    void MButtClick(int tone);
    void SButtClick(int tone);
    void CbOutCChange(int index);
    // Ends the test note on the channel it was played on.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Strip
    {
        QLabel *LL = nullptr;
        QToolButton *SpBTOn = nullptr;
        TSlidNaVf *SlLev = nullptr;
        TSliddt *SlP = nullptr;
        TLPanH *PH = nullptr;
        TSlidNaVf *SlCS = nullptr;
        TSlidNaVf *SlRS = nullptr;
        QComboBox *CbOut = nullptr;
        TMButt *MButt = nullptr;
        TMButt *SButt = nullptr;
    };

    // Building (mixerformlayout.cpp).
    void buildControls();
    QWidget *buildTopBar();
    QWidget *buildStrip(int tone);
    QWidget *buildReturns();
    QWidget *buildMaster();
    QWidget *buildChorusSettings();
    QWidget *buildReverbSettings();
    TSlidNaVf *levelSlider(const QString &name, QWidget *parent, int height = 0);
    TSliddt *textSlider(const QString &name, int maximum, QWidget *parent);
    void connectHandlers();
    void connectStrip(int tone);

    void setToneSwitch(int tone, bool on);
    void showChorusRoute(int output);
    void showIndicators();
    void sendTone(int tone, int offset, int value);
    void sendCommon(int offset, int value);
    void showPan(TSliddt *slider);
    // The patch-wide sliders mirrored on the main window.
    void chorusLevelChange(TSliderBase *slider);
    void reverbLevelChange();
    void SlMasterChange();
    void SlPanMChange();
    void switchClick(QCheckBox *box, std::uint8_t offset);

    EditState &state_;
    SysexProtocol &protocol_;
    EditorHost &host_;

    std::array<Strip, ToneCount> strips_{};
    TMButt *MuteOn = nullptr;
    TMButt *SoloOn = nullptr;
    QAbstractButton *BEFX = nullptr;
    QAbstractButton *BitBtn1 = nullptr;
    QAbstractButton *SpBUpdate = nullptr;

    QComboBox *CbOutE = nullptr;
    TSlidNaVf *SlLevE = nullptr;
    TSlidNaVf *SLCSE = nullptr;
    TSlidNaVf *SlRSE = nullptr;
    QCheckBox *ChEon = nullptr;

    QComboBox *CbOutC = nullptr;
    TSlidNaVf *SlLevC = nullptr;
    TSlidNaVf *SlRSC = nullptr;
    QWidget *chorusLevelBox_ = nullptr;
    QWidget *chorusToReverbBox_ = nullptr;
    QCheckBox *ChCon = nullptr;
    TSlidNaVf *SLCRate = nullptr;
    TSlidNaVf *SlCdepth = nullptr;
    TSlidNaVf *SlCpredly = nullptr;
    TSlidNaVf *SlCfeedbck = nullptr;

    TSlidNaVf *SlLevR = nullptr;
    QCheckBox *ChRon = nullptr;
    QComboBox *CbRevType = nullptr;
    TSlidNaVf *SlRTime = nullptr;
    TSliddt *SlRHFdamp = nullptr;
    TSlidNaVf *SlRfeedbck = nullptr;

    TSlidNaVf *SlMaster = nullptr;
    TSliddt *SlPanM = nullptr;
};
