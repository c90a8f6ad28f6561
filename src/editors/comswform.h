#pragma once
// The patch's play-mode settings and every tone's key and velocity zones on
// one page: bender range, poly/solo with legato, portamento, the hold/peak
// modes of the controllers, the velocity range switch, and per tone the
// velocity range with its cross-fade and the key range as a pair of bars.

#include <QWidget>
#include <array>

class EditState;
class QCheckBox;
class QLabel;
class QRadioButton;
class QScrollBar;
class SysexProtocol;
class TFocusComboBox;
class TSpincw0R;

class TComSwForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Tones = 4;
    // Common block offsets.
    static constexpr int BendUpOffset = 0x31;
    static constexpr int BendDownOffset = 0x32;
    static constexpr int KeyAssignOffset = 0x33;
    static constexpr int LegatoOffset = 0x34;
    static constexpr int PortaSwitchOffset = 0x35;
    static constexpr int PortaModeOffset = 0x36;
    static constexpr int PortaTypeOffset = 0x37;
    static constexpr int PortaStartOffset = 0x38;
    static constexpr int PortaTimeOffset = 0x39;
    static constexpr int HoldPeakEfxOffset = 0x3C; // then controls 1, 2, 3
    static constexpr int VeloRangeOffset = 0x40;
    // Tone block offsets.
    static constexpr int CrossFadeOffset = 0x0B;
    static constexpr int VeloLowerOffset = 0x0C;
    static constexpr int VeloUpperOffset = 0x0D;
    static constexpr int KeyLowerOffset = 0x0E;
    static constexpr int KeyUpperOffset = 0x0F;

    TComSwForm(EditState &state, SysexProtocol &protocol, QWidget *parent = nullptr);

    // Every control from the image, sending nothing.
    void RefreshAll();

    // Key range of tone (1..4) after one of its bars moved.
    void keyRangeChanged(int tone, bool upper);
    // Any of RBPoly, RBSolo, ChSoloL clicked.
    void keyAssignClick(QObject *sender);

    QScrollBar *keyBar(int tone, bool upper) const;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct ToneRow
    {
        TSpincw0R *crossFade = nullptr;
        TSpincw0R *veloLower = nullptr;
        TSpincw0R *veloUpper = nullptr;
        QScrollBar *keyLower = nullptr;
        QScrollBar *keyUpper = nullptr;
        QLabel *keyLowerLabel = nullptr;
        QLabel *keyUpperLabel = nullptr;
    };

    // Building (comswformlayout.cpp).
    void buildControls();
    QWidget *buildKeyPanel();
    QWidget *buildVelocityPanel();
    QWidget *buildAssignPanel();
    QWidget *buildPortaPanel();
    QWidget *buildBendPanel();
    QWidget *buildControlPanel();

    void connectControls();
    bool sendCommon(int offset, int value);
    bool sendTone(int tone, int offset, int value);
    void showKey(QLabel *label, int key);

    EditState &state_;
    SysexProtocol &protocol_;
    std::array<ToneRow, Tones> tones_{};
    std::array<TFocusComboBox *, 4> holdPeak_{}; // CbCtrlEFX, CbCtrl1..3
    TSpincw0R *SpBendUp = nullptr;
    TSpincw0R *SpBendDown = nullptr;
    QRadioButton *RBPoly = nullptr;
    QRadioButton *RBSolo = nullptr;
    QCheckBox *ChSoloL = nullptr;
    QCheckBox *ChPortaOn = nullptr;
    TFocusComboBox *CbPortaMode = nullptr;
    TFocusComboBox *CbPortaType = nullptr;
    TFocusComboBox *CbPortaStart = nullptr;
    TSpincw0R *SpPortTime = nullptr;
    QCheckBox *ChVeloR = nullptr;
    bool wasActive_ = false;
};
