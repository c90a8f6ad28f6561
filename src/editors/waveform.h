#pragma once
// The wave screen of one tone: a grid of the current wave group's names to
// pick the tone's wave from (by click or by typed number), with the wave gain,
// frequency cross modulation and tone delay beside it. Group and number stay
// the main window's: this screen drives the tone's group list and wave spin
// there, whose own handling stores and sends them.

#include "editors/toneeditorform.h"

#include <QSize>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TFocusComboBox;
class TSpincw0R;

class TWaveForm : public ToneEditorForm
{
    Q_OBJECT

public:
    static constexpr int GridColumns = 10;
    static constexpr int GridRows = 26;
    static constexpr int NoGroup = -1;

    // Tone block offsets edited here.
    static constexpr int WaveGainOffset = 0x05;
    static constexpr int FxmSwitchOffset = 0x06;
    static constexpr int FxmColorOffset = 0x07;
    static constexpr int FxmDepthOffset = 0x08;
    static constexpr int DelayModeOffset = 0x09;
    static constexpr int DelayTimeOffset = 0x0A;

    struct Layout
    {
        QSize form;
        const char *caption;
        int rowHeight;
        int columnWidth;
        bool large;
    };
    static constexpr int GridBelowTop = 144; // the grid is this much lower than the form
    static constexpr Layout SmallLayout{{771, 488}, "Large Font", 12, 75, false};
    static constexpr Layout LargeLayout{{1021, 641}, "Small Font", 18, 100, true};

    TWaveForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
              QWidget *parent = nullptr);

    // Controls, group, wave and names for the tone, sending nothing.
    void RefreshTone(int tone);
    // The wave-name file of a group row ("" for none) and loading it into
    // the name table and the grid.
    QString waveFileName(int row) const;
    void LoadWaveNames(int row);
    // Grid cell of a wave number (column, row).
    static QPoint cellOfWave(int wave);
    void placeSelection(int wave);

    // The user's ways of choosing a wave.
    void chooseCell(int column, int row);
    void EdWaveNoExit();
    void WaveChange();

    void BlargeClick();
    bool largeLayout() const { return large_; }

protected:
    void loadTone(int tone) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building (waveformlayout.cpp).
    void buildControls();
    QWidget *buildParameterPanel();
    QWidget *buildWavePanel();
    void applyLayout(const Layout &shape);

    void fillGroupList();
    bool groupFitted(int row) const;
    void loadParameters(int tone);
    void chooseWave(int wave);
    void sendSpin(TSpincw0R *spin, int offset, int shift);
    int groupCount(int row) const;

    QLabel *LToneBig = nullptr;
    QLabel *LwaveF = nullptr;
    TFocusComboBox *CbWaveGroup = nullptr;
    QSpinBox *SpWave = nullptr;
    QLineEdit *EdWaveNo = nullptr;
    QTableWidget *WaveGrid = nullptr;
    QPushButton *Blarge = nullptr;
    TFocusComboBox *CbWaveGain = nullptr;
    QCheckBox *ChBFXM = nullptr;
    TSpincw0R *SpFXMColor = nullptr;
    TSpincw0R *SpFXMDepth = nullptr;
    TFocusComboBox *CbToneDMode = nullptr;
    TSpincw0R *SpToneDTime = nullptr;

    bool large_ = false;
    bool placing_ = false;
};
