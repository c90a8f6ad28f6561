#include "editors/ptvaform.h"

#include "controls/lpanh.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/editorhost.h"
#include "editors/envelopepainter.h"
#include "editors/paintbox.h"
#include "editors/parameterpictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QToolButton>

namespace {
constexpr char Caption[] = "TVF and TVA Parameters";
constexpr char WaveCaptionPrefix[] = "TVF/TVA - ";
constexpr char HalfCaption[] = "Half";
constexpr char FullCaption[] = "Full";

ToneEditorForm::Setup ptvaSetup()
{
    ToneEditorForm::Setup s;
    s.copyFirst = TPTVAForm::FirstOffset;
    s.copyLast = TPTVAForm::LastCopyOffset;
    s.copyName = QStringLiteral("SpBCopy");
    s.pasteName = QStringLiteral("SpBPaste");
    s.bufferLabelName = QStringLiteral("Lbuff");
    s.bufferPrefix = QStringLiteral("Buffer = ");
    return s;
}

ParameterPictures::Palette picturePalette(const QWidget *w)
{
    return {w->palette().color(QPalette::Base), w->palette().color(QPalette::Dark),
            w->palette().color(QPalette::Light)};
}
} // namespace

TPTVAForm::TPTVAForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : ToneEditorForm(ptvaSetup(), state, protocol, host, parent)
{
    setObjectName(QStringLiteral("PTVAForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    for (const PtvaParameter &row : PtvaParameter::table())
        connectParameter(row);

    GrTVF->setPaintFunction([this](QPainter &p, QSize size) {
        EnvelopePainter(palette().color(QPalette::Base))
            .paintFilter(p, size, EnvelopeGeometry::filter(filterValues(), zoomed()));
    });
    GrTVA->setPaintFunction([this](QPainter &p, QSize size) {
        EnvelopePainter(palette().color(QPalette::Base))
            .paintAmplifier(p, size, EnvelopeGeometry::amplifier(ampValues(), zoomed()),
                            pointPicked_);
    });
    GFilter->setPaintFunction([this](QPainter &p, QSize size) {
        ParameterPictures::paintFilterType(p, size, control<QComboBox>("CbFtype")->currentIndex(),
                                           picturePalette(this));
    });
    PBias->setPaintFunction([this](QPainter &p, QSize size) {
        ParameterPictures::paintBias(p, size, control<QComboBox>("CbBiasDir")->currentIndex(),
                                     control<QComboBox>("CbBiasPnt")->currentIndex(),
                                     control<QComboBox>("CbBiasLev")->currentIndex(),
                                     picturePalette(this));
    });
    PBFVC->setPaintFunction([this](QPainter &p, QSize size) {
        ParameterPictures::paintVelocityCurve(p, size, spin("SpVCF")->Value(),
                                              picturePalette(this));
    });
    PBAVC->setPaintFunction([this](QPainter &p, QSize size) {
        ParameterPictures::paintVelocityCurve(p, size, spin("SpVCA")->Value(),
                                              picturePalette(this));
    });

    connect(GrTVA, &TPaintBox::mouseDown, this, &TPTVAForm::ampMouseDown);
    connect(GrTVA, &TPaintBox::mouseMove, this, &TPTVAForm::ampMouseMove);
    connect(GrTVA, &TPaintBox::mouseUp, this, &TPTVAForm::ampMouseUp);
    // Either box sets the other, so both graphs always share one zoom.
    connect(ChZoomF, &QCheckBox::toggled, this, &TPTVAForm::zoomClicked);
    connect(ChZoom, &QCheckBox::toggled, this, &TPTVAForm::zoomClicked);
    connect(SpSize, &QToolButton::clicked, this, &TPTVAForm::SpSizeClick);

    resize(FullSize.expandedTo(sizeHint()));
    UpdateTones(currentTone());
    UpdateTVA(currentTone());
}

TSpincw0R *TPTVAForm::spin(const char *name) const
{
    return control<TSpincw0R>(name);
}

void TPTVAForm::connectParameter(const PtvaParameter &row)
{
    QWidget *w = controls_.at(row.name);
    const auto handler = [this, &row] { parameterChanged(row); };
    switch (row.kind) {
    case PtvaParameter::Kind::Spin: {
        auto *s = static_cast<TSpincw0R *>(w);
        connect(s, &TSpincw0R::OnChange, this, handler);
        if (row.live)
            connect(s, &TSpincw0R::OnChanging, this, handler);
        break;
    }
    case PtvaParameter::Kind::Slider: {
        auto *s = static_cast<TSliderBase *>(w);
        connect(s, &TSliderBase::OnChange, this, handler);
        if (row.live)
            connect(s, &TSliderBase::OnChanging, this, handler);
        break;
    }
    case PtvaParameter::Kind::List:
        connect(static_cast<QComboBox *>(w), &QComboBox::activated, this, handler);
        break;
    }
}

int TPTVAForm::shownValue(const PtvaParameter &row) const
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case PtvaParameter::Kind::Spin:
        return static_cast<TSpincw0R *>(w)->Value();
    case PtvaParameter::Kind::Slider:
        return static_cast<TSliderBase *>(w)->Position();
    case PtvaParameter::Kind::List:
        return static_cast<QComboBox *>(w)->currentIndex();
    }
    return 0;
}

void TPTVAForm::setShownValue(const PtvaParameter &row, int value)
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case PtvaParameter::Kind::Spin:
        static_cast<TSpincw0R *>(w)->setValue(value);
        break;
    case PtvaParameter::Kind::Slider:
        static_cast<TSliderBase *>(w)->setPosition(value);
        break;
    case PtvaParameter::Kind::List:
        static_cast<QComboBox *>(w)->setCurrentIndex(value);
        break;
    }
}

void TPTVAForm::parameterChanged(const PtvaParameter &row)
{
    const int shown = shownValue(row);
    if (row.kind == PtvaParameter::Kind::List && shown < 0)
        return;
    const int before = row.shown(state_.patchImage.tone(currentTone(), row.offset));
    const int stored = row.stored(shown, before);

    switch (row.effect) {
    case PtvaParameter::Effect::FilterPicture:
        DrawFilterType(control<QComboBox>("CbFtype")->currentIndex());
        break;
    case PtvaParameter::Effect::BiasPicture:
        DrawBias(control<QComboBox>("CbBiasDir")->currentIndex());
        break;
    case PtvaParameter::Effect::PanIndicator:
        LPan->setValue(stored);
        break;
    default:
        break;
    }

    sendTone(row.offset, stored);

    // A sensitivity spin shows only values that can be stored, so what it
    // shows is always what was sent.
    if (row.conversion == PtvaParameter::Conversion::Sensitivity && shown != row.shown(stored))
        setShownValue(row, row.shown(stored));

    switch (row.effect) {
    case PtvaParameter::Effect::FilterGraph:
        TekenF();
        break;
    case PtvaParameter::Effect::AmpGraph:
        TekenA();
        break;
    case PtvaParameter::Effect::FilterCurve:
        DrawVelocityCurve(spin("SpVCF"), stored + 1);
        break;
    case PtvaParameter::Effect::AmpCurve:
        DrawVelocityCurve(spin("SpVCA"), stored + 1);
        break;
    default:
        break;
    }
}

void TPTVAForm::loadTone(int tone)
{
    UpdateTVA(tone);
}

void TPTVAForm::UpdateTVA(int tone)
{
    {
        const LoadScope scope(state_);
        for (const PtvaParameter &row : PtvaParameter::table())
            setShownValue(row, row.shown(state_.patchImage.tone(tone, row.offset)));
        LPan->setValue(state_.patchImage.tone(tone, PtvaParameter::find("SlTPan")->offset));
        LToneBig->setText(QString::number(currentTone()));
        if (waveCaption_)
            showWaveCaption();
    }
    TekenF();
    TekenA();
    DrawFilterType(control<QComboBox>("CbFtype")->currentIndex());
    DrawBias(control<QComboBox>("CbBiasDir")->currentIndex());
}

void TPTVAForm::toneSelected(int)
{
    waveCaption_ = true;
    showWaveCaption();
}

// Once a tone button has named the wave, the caption follows every tone the
// screen shows, so it never names another tone's wave.
void TPTVAForm::showWaveCaption()
{
    setWindowTitle(QLatin1String(WaveCaptionPrefix) + host_.waveName(currentTone()));
}

// The graphs and pictures paint from the controls' current values; a redraw
// request only schedules that, and requests during a load merge into one.
void TPTVAForm::TekenF()
{
    GrTVF->update();
}

void TPTVAForm::TekenA()
{
    GrTVA->update();
}

void TPTVAForm::DrawFilterType(int)
{
    GFilter->update();
}

void TPTVAForm::DrawBias(int)
{
    PBias->update();
}

void TPTVAForm::DrawVelocityCurve(TSpincw0R *control, int)
{
    (control == spin("SpVCF") ? PBFVC : PBAVC)->update();
}

EnvelopeValues TPTVAForm::filterValues() const
{
    EnvelopeValues v;
    static constexpr const char *Times[] = {"SpTimeF1", "SpTimeF2", "SpTimeF3", "SpTimeF4"};
    static constexpr const char *Levels[] = {"SpLevF1", "SpLevF2", "SpLevF3", "SpLevF4"};
    for (std::size_t i = 0; i < v.times.size(); ++i) {
        v.times[i] = spin(Times[i])->Value();
        v.levels[i] = spin(Levels[i])->Value();
    }
    v.depth = control<TSliderBase>("SlEnvDF")->Position();
    return v;
}

EnvelopeValues TPTVAForm::ampValues() const
{
    EnvelopeValues v;
    static constexpr const char *Times[] = {"SpTimeA1", "SpTimeA2", "SpTimeA3", "SpTimeA4"};
    static constexpr const char *Levels[] = {"SpLevA1", "SpLevA2", "SpLevA3"};
    for (std::size_t i = 0; i < v.times.size(); ++i)
        v.times[i] = spin(Times[i])->Value();
    for (std::size_t i = 0; i < std::size(Levels); ++i)
        v.levels[i] = spin(Levels[i])->Value();
    return v;
}

bool TPTVAForm::zoomed() const
{
    return ChZoom->isChecked();
}

void TPTVAForm::zoomClicked(bool on)
{
    ChZoomF->setChecked(on);
    ChZoom->setChecked(on);
    TekenF();
    TekenA();
}

void TPTVAForm::ampMouseDown(QPoint pos)
{
    const std::array<bool, 4> hit = EnvelopeGeometry::pick(pos, zoomed(), ampValues());
    for (std::size_t i = 0; i < hit.size(); ++i)
        pointPicked_[i] = pointPicked_[i] || hit[i];
    TekenA();
}

void TPTVAForm::ampMouseMove(QPoint pos)
{
    const bool zoom = zoomed();
    const int t = EnvelopeGeometry::timeAt(pos.x(), zoom);
    const int t4 = EnvelopeGeometry::releaseTimeAt(pos.x(), zoom);
    const int level = EnvelopeGeometry::levelAt(pos.y());
    TSpincw0R *time1 = spin("SpTimeA1");
    TSpincw0R *time2 = spin("SpTimeA2");
    TSpincw0R *time3 = spin("SpTimeA3");
    if (pointPicked_[0]) {
        spin("SpLevA1")->setValue(level);
        time1->setValue(t);
    }
    if (pointPicked_[1]) {
        spin("SpLevA2")->setValue(level);
        time2->setValue(t - time1->Value());
    }
    if (pointPicked_[2]) {
        spin("SpLevA3")->setValue(level);
        time3->setValue(t - time1->Value() - time2->Value());
        TekenA();
    }
    if (pointPicked_[3])
        spin("SpTimeA4")->setValue(t4 - time1->Value() - time2->Value() - time3->Value());
}

void TPTVAForm::ampMouseUp()
{
    pointPicked_.fill(false);
    TekenA();
}

void TPTVAForm::SpSizeClick()
{
    if (SpSize->text() == QLatin1String(HalfCaption)) {
        ampHalf_->hide();
        SpSize->setText(QLatin1String(FullCaption));
        layout()->activate();
        resize(HalfSize.expandedTo(minimumSizeHint()));
    } else {
        ampHalf_->show();
        SpSize->setText(QLatin1String(HalfCaption));
        layout()->activate();
        resize(FullSize.expandedTo(minimumSizeHint()));
    }
}
