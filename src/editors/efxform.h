#pragma once
// The multi-effect (EFX) of the edited patch, or of the temporary
// performance while the synthesizer is in Perform mode: the type, its twelve
// type-dependent parameters on sliders that re-label and re-range with the
// type, the output assignment, level and sends, and the two control sources
// with their depths. Which block it edits always follows the main window's
// Patch/Perform mode; the screen's mode button switches that mode.

#include "core/addressmap.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class EditState;
class EditorHost;
class QAbstractButton;
class QComboBox;
class QLabel;
class QWidget;
class SysexProtocol;
class TSliddt;
class TSliderBase;
class TSlidNaVf;
class TSpincw0R;

class TEfxForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int SlotCount = 12;
    // Parameter k (0 = type .. 20 = control depth 2) lies at base + k.
    static constexpr int PatchBase = addr::common::EffectType; // 03 00 00 0C
    static constexpr int PerformanceBase = 0x0D;               // 01 00 00 0D
    static constexpr int ParameterCount = 21;
    static constexpr int OutputAssignK = 13;
    static constexpr int LevelK = 14;
    static constexpr int ChorusK = 15;
    static constexpr int ReverbK = 16;
    static constexpr int Source1K = 17;
    static constexpr int Depth1K = 18;
    static constexpr int Source2K = 19;
    static constexpr int Depth2K = 20;
    static constexpr int DepthCentre = 63;
    // Slider geometry by the highest index of its list.
    static constexpr int TallSliderHeight = 147;
    static constexpr int TypeChangeWaitMs = 15;
    // A unit answers an effect request within milliseconds; one that has
    // not after this long is taken as gone.
    static constexpr int DefaultAnswerTimeoutMs = 1000;

    TEfxForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
             QWidget *parent = nullptr);

    // Loads every control from the block the current mode edits.
    void refresh();

    // Handlers (public for the tests' sake, as the controls would call them).
    void CbEFXTypeChange(int index);
    void SpModeClick();

    // The target and the texts it gives.
    bool performanceMode() const { return performance_; }
    QString EfxMode() const;
    int EfxType() const { return efxType_; }
    // The four-byte address of parameter k of the current target.
    addr::Address efxAddress(int k) const;
    // The current byte of parameter k, or -1 while the performance's byte is
    // unknown.
    int efxByte(int k) const;

    // How long a type change or mode switch waits for the unit's answer
    // before edits go out again. A late answer would overwrite newer edits
    // in the image, so a test machine under load waits far longer.
    void setAnswerTimeoutMs(int ms) { answerTimeoutMs_ = ms; }

    static int sliderHeight(int maximum);
    static int sliderTicks(int maximum);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Building (efxformlayout.cpp).
    void buildControls();
    QWidget *buildTypeBar();
    QWidget *buildSliderPanel();
    QWidget *buildOutputPanel();
    QWidget *buildControlPanel(int source);
    void connectHandlers();

    void layoutSliders();
    void showTitle();
    void showSliderText(int slot);
    void sliderChanged(int slot);
    void sendK(int k, int value);
    // Asks for the 21 effect bytes of the current target and waits a little
    // for them; the answer refreshes the open screens.
    void requestEffect();
    void waitProcessing(int ms);

    EditState &state_;
    SysexProtocol &protocol_;
    EditorHost &host_;
    bool performance_ = false;
    int efxType_ = 0;
    int answerTimeoutMs_ = DefaultAnswerTimeoutMs;

    QLabel *STop1 = nullptr;
    QAbstractButton *SpMode = nullptr;
    QAbstractButton *SpMain = nullptr;
    QComboBox *CbEFXType = nullptr;
    QLabel *LUnknownType = nullptr;
    QWidget *parameterArea_ = nullptr;
    std::array<TSliddt *, SlotCount> sliders_{};
    std::array<QLabel *, SlotCount> labels_{};
    QComboBox *CbEFXOutAss = nullptr;
    TSlidNaVf *SlLevel = nullptr;
    TSlidNaVf *SlChorus = nullptr;
    TSlidNaVf *SlReverb = nullptr;
    std::array<QComboBox *, 2> sources_{};
    std::array<TSpincw0R *, 2> depths_{};
    std::array<QLabel *, 2> controlLabels_{};
};
