#pragma once
// The filter (TVF) and amplifier (TVA) screen of one tone: filter type,
// cutoff, resonance and the filter envelope, tone level, bias and pan, with
// both envelopes drawn (the amplifier's editable with the mouse) and small
// pictures of the filter type, the bias and the velocity curves.

#include "core/ptvaparameter.h"
#include "editors/envelopegeometry.h"
#include "editors/toneeditorform.h"

#include <array>
#include <map>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QToolButton;
class TLPanH;
class TPaintBox;
class TSliderBase;
class TSpincw0R;

class TPTVAForm : public ToneEditorForm
{
    Q_OBJECT

public:
    static constexpr int FirstOffset = 0x50;
    static constexpr int LastCopyOffset = 0x7C;
    static constexpr QSize FullSize{755, 598};
    static constexpr QSize HalfSize{775, 325};

    TPTVAForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
              QWidget *parent = nullptr);

    // Every control of the table from slot tone; the pictures follow.
    void UpdateTVA(int tone);

    // Redraw requests for the graphs and pictures.
    void TekenF();
    void TekenA();
    void DrawFilterType(int type);
    void DrawBias(int direction);
    void DrawVelocityCurve(TSpincw0R *control, int curve);

    // Current envelope values as the graphs read them from the controls.
    EnvelopeValues filterValues() const;
    EnvelopeValues ampValues() const;
    bool zoomed() const;
    const std::array<bool, 4> &pointPicked() const { return pointPicked_; }

    // The size toggle ("Half" / "Full").
    void SpSizeClick();

protected:
    void loadTone(int tone) override;
    void toneSelected(int tone) override;

private:
    // Building (ptvaformlayout.cpp).
    void buildControls();
    QWidget *buildFilterHalf();
    QWidget *buildAmpHalf();
    QFrame *panel(const char *name);
    QWidget *labelled(const QString &caption, QWidget *control, QWidget *parent);
    void createParameterControl(const PtvaParameter &row);
    void connectParameter(const PtvaParameter &row);

    // Handlers.
    void parameterChanged(const PtvaParameter &row);
    int shownValue(const PtvaParameter &row) const;
    void setShownValue(const PtvaParameter &row, int value);
    void showWaveCaption();
    void zoomClicked(bool on);
    void ampMouseDown(QPoint pos);
    void ampMouseMove(QPoint pos);
    void ampMouseUp();

    template <typename T> T *control(const char *name) const
    {
        return qobject_cast<T *>(controls_.at(name));
    }
    TSpincw0R *spin(const char *name) const;

    std::map<std::string, QWidget *> controls_;
    TPaintBox *GrTVF = nullptr;
    TPaintBox *GrTVA = nullptr;
    TPaintBox *GFilter = nullptr;
    TPaintBox *PBias = nullptr;
    TPaintBox *PBFVC = nullptr;
    TPaintBox *PBAVC = nullptr;
    TLPanH *LPan = nullptr;
    QCheckBox *ChZoomF = nullptr;
    QCheckBox *ChZoom = nullptr;
    QLabel *LToneBig = nullptr;
    QToolButton *SpSize = nullptr;
    QWidget *ampHalf_ = nullptr;
    bool waveCaption_ = false;
    std::array<bool, 4> pointPicked_{};
};
