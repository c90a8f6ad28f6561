// Building the filter and amplifier screen: its two halves, their panels and
// the parameter controls made from the table.

#include "controls/focuscombobox.h"
#include "controls/lpanh.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "editors/paintbox.h"
#include "editors/parameterpictures.h"
#include "editors/ptvaform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int BigTonePixels = 28;
constexpr int ListRows = 16;
constexpr int PanelSpacing = 4;
constexpr int SpinColumnGap = 6;

// Drop-down lists change only with the focus on them, so a wheel turned
// over the window changes nothing by accident.
QComboBox *makeList(QWidget *parent)
{
    auto *c = new TFocusComboBox(parent);
    c->setMaxVisibleItems(ListRows);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

QFrame *TPTVAForm::panel(const char *name)
{
    auto *f = new QFrame(this);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

void TPTVAForm::createParameterControl(const PtvaParameter &row)
{
    QWidget *w = nullptr;
    switch (row.kind) {
    case PtvaParameter::Kind::Spin: {
        auto *s = new TSpincw0R(this);
        s->setMinValue(row.min);
        s->setMaxValue(row.max);
        s->setFixedSize(s->sizeHint());
        w = s;
        break;
    }
    case PtvaParameter::Kind::Slider: {
        auto *s = new TSlidNaVf(this);
        s->setMinValue(row.min);
        s->setMaxValue(row.max);
        s->setFixedSize(s->sizeHint());
        w = s;
        break;
    }
    case PtvaParameter::Kind::List: {
        QComboBox *c = makeList(this);
        c->addItems(row.items);
        w = c;
        break;
    }
    }
    w->setObjectName(QLatin1String(row.name));
    controls_[row.name] = w;
}

// A caption with its control below it.
QWidget *TPTVAForm::labelled(const QString &caption, QWidget *control, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    v->addWidget(new QLabel(caption, box), 0, Qt::AlignHCenter);
    control->setParent(box);
    v->addWidget(control, 0, Qt::AlignHCenter);
    return box;
}

void TPTVAForm::buildControls()
{
    for (const PtvaParameter &row : PtvaParameter::table())
        createParameterControl(row);

    SpSize = new QToolButton(topBar());
    SpSize->setObjectName(QStringLiteral("SpSize"));
    SpSize->setText(QStringLiteral("Half"));
    topBarLayout()->addWidget(SpSize);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(topBar());
    outer->addWidget(buildFilterHalf());
    ampHalf_ = buildAmpHalf();
    outer->addWidget(ampHalf_);
    outer->addStretch(1);
}

QWidget *TPTVAForm::buildFilterHalf()
{
    auto *half = new QWidget(this);
    auto *v = new QVBoxLayout(half);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    v->addWidget(heading(QStringLiteral("TVF - Time Variant Filter "), half));
    auto *row = new QHBoxLayout;
    row->setSpacing(PanelSpacing);
    v->addLayout(row);

    // The graph with its envelope spins.
    QFrame *tvf = panel("PanelTVF");
    auto *g = new QGridLayout(tvf);
    g->setContentsMargins(4, 4, 4, 4);
    g->setHorizontalSpacing(SpinColumnGap);
    g->setVerticalSpacing(2);
    GrTVF = new TPaintBox(QSize(EnvelopeGeometry::Width, EnvelopeGeometry::Height), tvf);
    GrTVF->setObjectName(QStringLiteral("GrTVF"));
    GrTVF->setCursor(Qt::ForbiddenCursor);
    g->addWidget(GrTVF, 0, 0, 1, 8);
    static constexpr const char *TimeF[] = {"SpTimeF1", "SpTimeF2", "SpTimeF3", "SpTimeF4"};
    static constexpr const char *LevF[] = {"SpLevF1", "SpLevF2", "SpLevF3", "SpLevF4"};
    static constexpr const char *LevCaptions[] = {"Lev. 1", "Lev.2", "Lev.3", "Lev.4"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(labelled(QStringLiteral("T-%1").arg(i + 1), controls_.at(TimeF[i]), tvf), 1,
                     i);
        g->addWidget(labelled(QLatin1String(LevCaptions[i]), controls_.at(LevF[i]), tvf), 1, 4 + i);
    }
    auto *below = new QHBoxLayout;
    below->addWidget(new QLabel(QStringLiteral("Velocity Sens:"), tvf));
    below->addWidget(controls_.at("SpEVelS"));
    below->addSpacing(12);
    ChZoomF = new QCheckBox(QStringLiteral("Zoom"), tvf);
    ChZoomF->setObjectName(QStringLiteral("ChZoomF"));
    below->addWidget(ChZoomF);
    below->addStretch(1);
    LToneBig = new QLabel(tvf);
    LToneBig->setObjectName(QStringLiteral("LToneBig"));
    QFont big = LToneBig->font();
    big.setPixelSize(BigTonePixels);
    big.setBold(true);
    LToneBig->setFont(big);
    below->addWidget(LToneBig);
    g->addLayout(below, 2, 0, 1, 8);
    row->addWidget(tvf, 0, Qt::AlignTop);

    // Cutoff, resonance and depth sliders, the filter's LFO depths below.
    auto *middle = new QVBoxLayout;
    middle->setSpacing(PanelSpacing);
    QFrame *sliders = panel("Panel1");
    auto *sh = new QHBoxLayout(sliders);
    sh->setContentsMargins(4, 4, 4, 4);
    sh->setSpacing(2);
    sh->addWidget(labelled(QStringLiteral("CutOff"), controls_.at("SlCutOffF"), sliders));
    sh->addWidget(labelled(QStringLiteral("Resonance"), controls_.at("SlResF"), sliders));
    sh->addWidget(labelled(QStringLiteral("Env.Dpth"), controls_.at("SlEnvDF"), sliders));
    middle->addWidget(sliders);
    QFrame *lfo = panel("Panel6");
    auto *lg = new QGridLayout(lfo);
    lg->setContentsMargins(4, 4, 4, 4);
    lg->setVerticalSpacing(2);
    lg->addWidget(new QLabel(QStringLiteral("LFO-1 Dpth:"), lfo), 0, 0);
    lg->addWidget(controls_.at("SpLFO1D"), 0, 1);
    lg->addWidget(new QLabel(QStringLiteral("LFO-2 Dpth:"), lfo), 1, 0);
    lg->addWidget(controls_.at("SpLFO2D"), 1, 1);
    middle->addWidget(lfo);
    middle->addStretch(1);
    row->addLayout(middle);

    // Type, keyfollows and velocity settings with their pictures.
    QFrame *p2 = panel("Panel2");
    auto *pg = new QGridLayout(p2);
    pg->setContentsMargins(4, 4, 4, 4);
    pg->setVerticalSpacing(2);
    pg->addWidget(new QLabel(QStringLiteral("Filter Type:"), p2), 0, 0);
    pg->addWidget(controls_.at("CbFtype"), 0, 1);
    GFilter = new TPaintBox(ParameterPictures::FilterSize, p2);
    GFilter->setObjectName(QStringLiteral("GFilter"));
    pg->addWidget(GFilter, 1, 0, 1, 2, Qt::AlignHCenter);
    pg->addWidget(new QLabel(QStringLiteral("Time Keyfoll:"), p2), 2, 0);
    pg->addWidget(controls_.at("CbTKF"), 2, 1);
    pg->addWidget(new QLabel(QStringLiteral("Cut. Keyfoll:"), p2), 3, 0);
    pg->addWidget(controls_.at("CbCutKf"), 3, 1);
    auto *curve = new QHBoxLayout;
    curve->addWidget(controls_.at("SpVCF"));
    PBFVC = new TPaintBox(ParameterPictures::CurveSize, p2);
    PBFVC->setObjectName(QStringLiteral("PBFVC"));
    curve->addWidget(PBFVC);
    curve->addWidget(new QLabel(QStringLiteral("Velocity Curve"), p2));
    curve->addStretch(1);
    pg->addLayout(curve, 4, 0, 1, 2);
    pg->addWidget(new QLabel(QStringLiteral("Vel T1 Sens:"), p2), 5, 0);
    pg->addWidget(controls_.at("CbVT1Sens"), 5, 1);
    pg->addWidget(new QLabel(QStringLiteral("Vel T4 Sens:"), p2), 6, 0);
    pg->addWidget(controls_.at("CbVT4Sens"), 6, 1);
    pg->addWidget(new QLabel(QStringLiteral("Vel.Res.Sns:"), p2), 7, 0);
    pg->addWidget(controls_.at("SpResVS"), 7, 1, Qt::AlignLeft);
    row->addWidget(p2, 0, Qt::AlignTop);
    row->addStretch(1);
    return half;
}

QWidget *TPTVAForm::buildAmpHalf()
{
    auto *half = new QWidget(this);
    auto *v = new QVBoxLayout(half);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    v->addWidget(heading(QStringLiteral("TVA - Time Variant Amplifier"), half));
    auto *row = new QHBoxLayout;
    row->setSpacing(PanelSpacing);
    v->addLayout(row);

    QFrame *tva = panel("PanelTVA");
    auto *g = new QGridLayout(tva);
    g->setContentsMargins(4, 4, 4, 4);
    g->setHorizontalSpacing(SpinColumnGap);
    g->setVerticalSpacing(2);
    GrTVA = new TPaintBox(QSize(EnvelopeGeometry::Width, EnvelopeGeometry::Height), tva);
    GrTVA->setObjectName(QStringLiteral("GrTVA"));
    GrTVA->setCursor(Qt::CrossCursor);
    g->addWidget(GrTVA, 0, 0, 1, 8);
    static constexpr const char *TimeA[] = {"SpTimeA1", "SpTimeA2", "SpTimeA3", "SpTimeA4"};
    static constexpr const char *LevA[] = {"SpLevA1", "SpLevA2", "SpLevA3"};
    static constexpr const char *LevCaptions[] = {"Lev. 1", "Lev.2", "Lev.3"};
    for (int i = 0; i < 4; ++i)
        g->addWidget(labelled(QStringLiteral("T-%1").arg(i + 1), controls_.at(TimeA[i]), tva), 1,
                     i);
    for (int i = 0; i < 3; ++i)
        g->addWidget(labelled(QLatin1String(LevCaptions[i]), controls_.at(LevA[i]), tva), 1, 4 + i);
    g->addWidget(makeReleaseButton(QStringLiteral("BitBtn1"), QStringLiteral("Release"), tva), 1, 7,
                 Qt::AlignBottom);
    auto *below = new QHBoxLayout;
    below->addWidget(new QLabel(QStringLiteral("Velocity Sens:"), tva));
    below->addWidget(controls_.at("SpEVSA"));
    below->addSpacing(12);
    ChZoom = new QCheckBox(QStringLiteral("Zoom"), tva);
    ChZoom->setObjectName(QStringLiteral("ChZoom"));
    below->addWidget(ChZoom);
    below->addStretch(1);
    g->addLayout(below, 2, 0, 1, 8);
    row->addWidget(tva, 0, Qt::AlignTop);

    // Level and pan.
    QFrame *p5 = panel("Panel5");
    auto *p5g = new QGridLayout(p5);
    p5g->setContentsMargins(4, 4, 4, 4);
    p5g->setVerticalSpacing(2);
    auto *sl = new QHBoxLayout;
    sl->addWidget(labelled(QStringLiteral("Level"), controls_.at("SlTLevel"), p5));
    sl->addWidget(labelled(QStringLiteral("Pan"), controls_.at("SlTPan"), p5));
    p5g->addLayout(sl, 0, 0, 1, 2);
    LPan = new TLPanH(p5);
    LPan->setObjectName(QStringLiteral("LPan"));
    p5g->addWidget(LPan, 1, 0, 1, 2, Qt::AlignHCenter);
    p5g->addWidget(new QLabel(QStringLiteral("Rnd Pan D.:"), p5), 2, 0);
    p5g->addWidget(controls_.at("SpRndPan"), 2, 1);
    p5g->addWidget(new QLabel(QStringLiteral("Pan Keyfoll:"), p5), 3, 0);
    p5g->addWidget(controls_.at("CbPanKFA"), 3, 1);
    p5g->addWidget(new QLabel(QStringLiteral("Altern. Pan:"), p5), 4, 0);
    p5g->addWidget(controls_.at("SpAltPan"), 4, 1);
    row->addWidget(p5, 0, Qt::AlignTop);

    // Velocity curve, bias and the envelope's velocity and key settings,
    // the amplifier's LFO depths below.
    auto *right = new QVBoxLayout;
    right->setSpacing(PanelSpacing);
    QFrame *p3 = panel("Panel3");
    auto *pg = new QGridLayout(p3);
    pg->setContentsMargins(4, 4, 4, 4);
    pg->setVerticalSpacing(2);
    auto *curve = new QHBoxLayout;
    curve->addWidget(controls_.at("SpVCA"));
    PBAVC = new TPaintBox(ParameterPictures::CurveSize, p3);
    PBAVC->setObjectName(QStringLiteral("PBAVC"));
    curve->addWidget(PBAVC);
    curve->addWidget(new QLabel(QStringLiteral("Velocity Curve"), p3));
    curve->addStretch(1);
    pg->addLayout(curve, 0, 0, 1, 2);
    pg->addWidget(new QLabel(QStringLiteral("Bias Direction"), p3), 1, 0);
    pg->addWidget(controls_.at("CbBiasDir"), 1, 1);
    PBias = new TPaintBox(ParameterPictures::BiasSize, p3);
    PBias->setObjectName(QStringLiteral("PBias"));
    pg->addWidget(PBias, 2, 0, 1, 2, Qt::AlignHCenter);
    pg->addWidget(new QLabel(QStringLiteral("Bias Level:"), p3), 3, 0);
    pg->addWidget(controls_.at("CbBiasLev"), 3, 1);
    pg->addWidget(new QLabel(QStringLiteral("Bias Point:"), p3), 4, 0);
    pg->addWidget(controls_.at("CbBiasPnt"), 4, 1);
    pg->addWidget(new QLabel(QStringLiteral("Vel T1 Sens:"), p3), 5, 0);
    pg->addWidget(controls_.at("CbVT1A"), 5, 1);
    pg->addWidget(new QLabel(QStringLiteral("Vel T4 Sens:"), p3), 6, 0);
    pg->addWidget(controls_.at("CbVT4A"), 6, 1);
    pg->addWidget(new QLabel(QStringLiteral("Time Keyfoll:"), p3), 7, 0);
    pg->addWidget(controls_.at("CbTKFA"), 7, 1);
    right->addWidget(p3);
    QFrame *p4 = panel("Panel4");
    auto *lg = new QGridLayout(p4);
    lg->setContentsMargins(4, 4, 4, 4);
    lg->setVerticalSpacing(2);
    lg->addWidget(new QLabel(QStringLiteral("LFO-1 Dpth:"), p4), 0, 0);
    lg->addWidget(controls_.at("SpLFO1A"), 0, 1);
    lg->addWidget(new QLabel(QStringLiteral("LFO-2 Dpth:"), p4), 1, 0);
    lg->addWidget(controls_.at("SpLFO2A"), 1, 1);
    right->addWidget(p4);
    right->addStretch(1);
    row->addLayout(right);
    row->addStretch(1);
    return half;
}
