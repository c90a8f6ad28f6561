#pragma once
// The LFO screen of one tone: waveform, key trigger, rate, level offset,
// delay, fade and external sync of both LFOs, each waveform shown as a small
// picture, and the depth of each LFO on pitch, filter, amplifier and pan.

#include "core/lfoparameter.h"
#include "editors/lfowavepicture.h"
#include "editors/toneeditorform.h"

#include <QRandomGenerator>
#include <map>
#include <string>

class QFrame;
class QLabel;
class TPaintBox;

class TLFOForm : public ToneEditorForm
{
    Q_OBJECT

public:
    static constexpr int FirstOffset = 0x2D;
    static constexpr int LastOffset = 0x3C;
    static constexpr QSize ClientSize{620, 343};

    TLFOForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
             QWidget *parent = nullptr);

    // Every control from slot tone; Ltonekeus shows the tone.
    void UpdateLFO(int tone);
    // Redraw request for the picture of LFO n (1 or 2) with waveform w
    // (the list's item index + 1).
    void TekenLFO(int n, int w);

protected:
    void loadTone(int tone) override;

private:
    // Building (lfoformlayout.cpp).
    void buildControls();
    QWidget *buildLfoPanel(int lfo);
    QWidget *buildDepthPanel(const char *name, const QString &title, const char *lfo1,
                             const char *lfo2);
    QFrame *panel(const char *name);
    void createParameterControl(const LfoParameter &row);
    void connectParameter(const LfoParameter &row);

    // Handlers.
    void parameterChanged(const LfoParameter &row);
    int shownValue(const LfoParameter &row) const;
    void setShownValue(const LfoParameter &row, int value);
    int waveOf(int lfo) const;
    TPaintBox *picture(int lfo) const { return lfo == 1 ? PBLFO1 : PBLFO2; }

    template <typename T> T *control(const char *name) const
    {
        return qobject_cast<T *>(controls_.at(name));
    }

    std::map<std::string, QWidget *> controls_;
    TPaintBox *PBLFO1 = nullptr;
    TPaintBox *PBLFO2 = nullptr;
    QLabel *Ltonekeus = nullptr;
    // The random waveforms' levels.
    QRandomGenerator random_;
};
