#pragma once
// The controller screen of one tone: the three controllers' destinations and
// depths, the tone's receive switches and pan control mode, the patch-wide
// sources of CTRL 2 and CTRL 3, what the unit's two system controls are set
// to, and two fixed set-ups (all controllers off, breath on CTRL 3).

#include "editors/toneeditorform.h"

#include <QColor>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class TFocusComboBox;
class TSpincw0R;

class TCtrlForm : public ToneEditorForm
{
    Q_OBJECT

public:
    static constexpr int Controllers = 3;
    static constexpr int Destinations = 4;

    // Tone block offsets. Destination j (0..3) of controller k (0..2) sits at
    // FirstDestination + 8k + 2j, its depth one byte later.
    static constexpr int RedamperOffset = 0x10;
    static constexpr int VolumeOffset = 0x11;
    static constexpr int HoldOffset = 0x12;
    static constexpr int BenderOffset = 0x13;
    static constexpr int PanModeOffset = 0x14;
    static constexpr int FirstDestination = 0x15;
    static constexpr int LastDepth = 0x2C;
    static constexpr int ToneLevelOffset = 0x65;
    // Common block offsets of the CTRL 2 and CTRL 3 sources.
    static constexpr int Source2Offset = 0x3A;
    static constexpr int Source3Offset = 0x3B;

    static constexpr int DepthCentre = 63;
    static constexpr int MaxDepth = 63;
    static inline const QColor NegativeColour{192, 220, 192};

    TCtrlForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
              QWidget *parent = nullptr);

    static int destinationOffset(int controller, int slot);
    static int depthOffset(int controller, int slot)
    {
        return destinationOffset(controller, slot) + 1;
    }

    // The main window's BCtrl<tone> while the screen is open: that tone
    // becomes the screen's tone, to which every activation returns.
    void openForTone(int tone);
    int controllerTone() const { return controllerTone_; }

    // The unit's system control assignments, asked for again.
    void SpBGetsysCtrlClick();
    void ShowSysControls();
    void BalloffClick();
    void BStBrthClick();

    TSpincw0R *depthSpin(int controller, int slot) const
    {
        return depth_[std::size_t(controller)][std::size_t(slot)];
    }

protected:
    void loadTone(int tone) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Building (ctrlformlayout.cpp).
    void buildControls();
    QWidget *buildControllerPanel(int controller);
    QWidget *buildSwitchPanels();
    QWidget *buildSystemPanel();

    void connectControls();
    void requestSysControls();
    void sourceChanged(TFocusComboBox *list, int offset);
    bool sendCommon(int offset, int value);
    void colourDepth(TSpincw0R *spin);
    void colourDepths();

    bool ownsPopup(const QObject *popup) const;

    int controllerTone_ = 1;
    bool left_ = false; // the window was left since the last activation
    std::array<std::array<TFocusComboBox *, Destinations>, Controllers> dest_{};
    std::array<std::array<TSpincw0R *, Destinations>, Controllers> depth_{};
    TFocusComboBox *CbSource2 = nullptr;
    TFocusComboBox *CbSource3 = nullptr;
    TFocusComboBox *CbPan = nullptr;
    QCheckBox *CxRedamper = nullptr;
    QCheckBox *CxVolume = nullptr;
    QCheckBox *CxHold = nullptr;
    QCheckBox *CxBender = nullptr;
    QLabel *LSysC1 = nullptr;
    QLabel *LSysC2 = nullptr;
    QLabel *LToneKeus = nullptr;
    QPushButton *Balloff = nullptr;
    QPushButton *BStBrth = nullptr;
    QPushButton *SpBGetsysCtrl = nullptr;
};
