#pragma once
// The pitch (TVP) screen of one tone: coarse and fine tune, random pitch
// depth, pitch keyfollow, the pitch envelope with its graph, its velocity and
// key sensitivities, and the depths of the two LFOs on pitch.

#include "core/ptvpparameter.h"
#include "editors/envelopegeometry.h"
#include "editors/toneeditorform.h"

#include <QColor>
#include <map>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class TPaintBox;
class TSpincw0R;

class TPTVPForm : public ToneEditorForm
{
    Q_OBJECT

public:
    static constexpr int FirstOffset = 0x3D;
    static constexpr int LastOffset = 0x4F;
    static constexpr QSize ClientSize{611, 353};
    // A spin left with a value below zero shows this background.
    static inline const QColor NegativeColour{192, 220, 192};

    TPTVPForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
              QWidget *parent = nullptr);

    // Every control from slot tone, then the graph.
    void UpdateTVP(int tone);
    // Tone buttons and controls for CurrentTone.
    void SpBUpdateClick();
    // Redraw request for the envelope graph.
    void TekenP();

    // The envelope as the graph reads it from the controls.
    EnvelopeValues pitchValues() const;

protected:
    void loadTone(int tone) override;

private:
    // Building (ptvpformlayout.cpp).
    void buildControls();
    QWidget *buildEnvelopePanel();
    QWidget *buildSensitivityPanel();
    QWidget *buildTunePanel();
    QWidget *buildRandomPanel();
    QWidget *buildLfoPanel();
    QFrame *panel(const char *name);
    void createParameterControl(const PtvpParameter &row);
    void connectParameter(const PtvpParameter &row);

    // Handlers.
    void parameterChanged(const PtvpParameter &row);
    void listEdited(const PtvpParameter &row);
    void spinExit(TSpincw0R *spin);
    int shownValue(const PtvpParameter &row) const;
    void setShownValue(const PtvpParameter &row, int value);
    void showRandomDepthText();

    template <typename T> T *control(const char *name) const
    {
        return qobject_cast<T *>(controls_.at(name));
    }

    std::map<std::string, QWidget *> controls_;
    TPaintBox *GrTVP = nullptr;
    QLabel *LToneBig = nullptr;
};
