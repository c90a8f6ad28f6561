#include "editors/lfoform.h"

#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/paintbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>

namespace {
constexpr char Caption[] = "Low Frequency Oscillator ";

ToneEditorForm::Setup lfoSetup()
{
    ToneEditorForm::Setup s;
    s.copyFirst = TLFOForm::FirstOffset;
    s.copyLast = TLFOForm::LastOffset;
    s.bufferLabelName = QStringLiteral("LBuff");
    s.bufferPrefix = QStringLiteral("Buff = ");
    // The switch bytes of the image, refreshed with the controls whenever new
    // data arrives, so a click never acts on a stale button.
    s.switches = ToneEditorForm::SwitchSource::PatchImage;
    s.refreshSetsSwitches = true;
    return s;
}
} // namespace

TLFOForm::TLFOForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : ToneEditorForm(lfoSetup(), state, protocol, host, parent),
      random_(QRandomGenerator::global()->generate())
{
    setObjectName(QStringLiteral("LFOForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    for (const LfoParameter &row : LfoParameter::table())
        connectParameter(row);

    const auto draw = [this](int lfo) {
        return [this, lfo](QPainter &p, QSize size) {
            const ParameterPictures::Palette pal{palette().color(QPalette::Base),
                                                 palette().color(QPalette::Dark),
                                                 palette().color(QPalette::Light)};
            LfoWavePicture::paint(
                p, size, waveOf(lfo), [this](int bound) { return int(random_.bounded(bound)); },
                pal);
        };
    };
    PBLFO1->setPaintFunction(draw(1));
    PBLFO2->setPaintFunction(draw(2));

    resize(ClientSize.expandedTo(sizeHint()));
    reload();
}

void TLFOForm::connectParameter(const LfoParameter &row)
{
    QWidget *w = controls_.at(row.name);
    const auto handler = [this, &row] { parameterChanged(row); };
    switch (row.kind) {
    case LfoParameter::Kind::Wave:
    case LfoParameter::Kind::List:
        connect(static_cast<QComboBox *>(w), &QComboBox::activated, this, handler);
        break;
    case LfoParameter::Kind::Check:
        connect(static_cast<QCheckBox *>(w), &QCheckBox::clicked, this, handler);
        break;
    case LfoParameter::Kind::Slider: {
        auto *s = static_cast<TSliderBase *>(w);
        connect(s, &TSliderBase::OnChange, this, handler);
        connect(s, &TSliderBase::OnChanging, this, handler);
        break;
    }
    case LfoParameter::Kind::Depth: {
        auto *s = static_cast<TSpincw0R *>(w);
        connect(s, &TSpincw0R::OnChange, this, handler);
        connect(s, &TSpincw0R::OnChanging, this, handler);
        break;
    }
    }
}

int TLFOForm::shownValue(const LfoParameter &row) const
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case LfoParameter::Kind::Wave:
    case LfoParameter::Kind::List:
        return static_cast<QComboBox *>(w)->currentIndex();
    case LfoParameter::Kind::Check:
        return static_cast<QCheckBox *>(w)->isChecked() ? 1 : 0;
    case LfoParameter::Kind::Slider:
        return static_cast<TSliderBase *>(w)->Position();
    case LfoParameter::Kind::Depth:
        return static_cast<TSpincw0R *>(w)->Value();
    }
    return 0;
}

void TLFOForm::setShownValue(const LfoParameter &row, int value)
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case LfoParameter::Kind::Wave:
    case LfoParameter::Kind::List:
        static_cast<QComboBox *>(w)->setCurrentIndex(value);
        break;
    case LfoParameter::Kind::Check:
        static_cast<QCheckBox *>(w)->setChecked(value != 0);
        break;
    case LfoParameter::Kind::Slider:
        static_cast<TSliderBase *>(w)->setPosition(value);
        break;
    case LfoParameter::Kind::Depth:
        static_cast<TSpincw0R *>(w)->setValue(value);
        break;
    }
}

void TLFOForm::parameterChanged(const LfoParameter &row)
{
    const int shown = shownValue(row);
    if (shown < 0 && row.kind != LfoParameter::Kind::Depth)
        return;
    if (row.kind == LfoParameter::Kind::Wave)
        TekenLFO(row.lfo, shown + 1);
    sendTone(row.offset, row.stored(shown));
}

int TLFOForm::waveOf(int lfo) const
{
    return control<QComboBox>(lfo == 1 ? "CbWave1" : "CbWave2")->currentIndex() + 1;
}

void TLFOForm::loadTone(int tone)
{
    UpdateLFO(tone);
}

void TLFOForm::UpdateLFO(int tone)
{
    const LoadScope scope(state_);
    for (const LfoParameter &row : LfoParameter::table())
        setShownValue(row, row.shown(state_.patchImage.tone(tone, row.offset)));
    TekenLFO(1, waveOf(1));
    TekenLFO(2, waveOf(2));
    Ltonekeus->setText(QString::number(tone));
}

// The pictures paint from the lists' current items; a request only
// schedules that.
void TLFOForm::TekenLFO(int n, int)
{
    picture(n)->update();
}
