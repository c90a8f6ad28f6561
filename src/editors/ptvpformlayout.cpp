// Building the pitch screen: the envelope panel with its graph, the
// sensitivity, tune, random depth and LFO depth panels, and the parameter
// controls made from the table.

#include "controls/focuscombobox.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "editors/paintbox.h"
#include "editors/pitchenvelope.h"
#include "editors/ptvpform.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int BigTonePixels = 28;
constexpr int ListRows = 16;
constexpr int PanelSpacing = 4;
constexpr int EnvelopeDepthTicks = 11;
constexpr int RandomDepthTicks = 7;
constexpr int WrappedLabelWidth = 120;
constexpr int NarrowLabelWidth = 60;
constexpr int ReleaseWidth = 44;

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// Long captions wrap at their blanks, as the narrow panels need.
QLabel *wrapped(const QString &text, int width, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setFixedWidth(width);
    return l;
}

QGridLayout *panelGrid(QWidget *panel)
{
    auto *g = new QGridLayout(panel);
    g->setContentsMargins(6, 4, 6, 4);
    g->setVerticalSpacing(3);
    return g;
}
} // namespace

QFrame *TPTVPForm::panel(const char *name)
{
    auto *f = new QFrame(this);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

void TPTVPForm::createParameterControl(const PtvpParameter &row)
{
    QWidget *w = nullptr;
    switch (row.kind) {
    case PtvpParameter::Kind::Spin: {
        auto *s = new TSpincw0R(this);
        s->setMinValue(row.min);
        s->setMaxValue(row.max);
        w = s;
        break;
    }
    case PtvpParameter::Kind::Slider: {
        auto *s = new TSlidNaVf(this);
        s->setMinValue(row.min);
        s->setMaxValue(row.max);
        s->setTicks(EnvelopeDepthTicks);
        w = s;
        break;
    }
    case PtvpParameter::Kind::TextSlider: {
        auto *s = new TSliddt(this);
        s->setMinValue(row.min);
        s->setMaxValue(row.max);
        s->setTicks(RandomDepthTicks);
        w = s;
        break;
    }
    case PtvpParameter::Kind::List: {
        // The user may type a value; a text is never added as a new item.
        auto *c = new TFocusComboBox(this);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(ListRows);
        c->addItems(row.items);
        c->setMinimumContentsLength(int(row.items.first().size()) + 1);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        w = c;
        break;
    }
    }
    w->setObjectName(QLatin1String(row.name));
    controls_[row.name] = w;
}

void TPTVPForm::buildControls()
{
    for (const PtvpParameter &row : PtvpParameter::table())
        createParameterControl(row);
    control<QComboBox>("CbVT1Sens")->setEditText(QStringLiteral(" +100"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(topBar());

    // Envelope over tune, sensitivities over the LFO depths, and the random
    // depth slider in a column of its own.
    auto *columns = new QHBoxLayout;
    columns->setSpacing(PanelSpacing);
    auto *left = new QVBoxLayout;
    left->setSpacing(PanelSpacing);
    left->addWidget(buildEnvelopePanel());
    left->addWidget(buildTunePanel());
    left->addStretch(1);
    auto *middle = new QVBoxLayout;
    middle->setSpacing(PanelSpacing);
    middle->addWidget(buildSensitivityPanel());
    middle->addWidget(buildLfoPanel());
    middle->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addWidget(buildRandomPanel(), 0, Qt::AlignTop);
    columns->addStretch(1);
    outer->addLayout(columns);
    outer->addStretch(1);
}

QWidget *TPTVPForm::buildEnvelopePanel()
{
    QFrame *p = panel("PanelTVP");
    auto *g = new QGridLayout(p);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(1);
    g->addWidget(heading(QStringLiteral("Time Variant Pitch Envelope"), p), 0, 0, 1, 5);
    g->setRowStretch(6, 1);
    GrTVP = new TPaintBox(PitchEnvelope::Size, p);
    GrTVP->setObjectName(QStringLiteral("GrTVP"));
    g->addWidget(GrTVP, 1, 0, 1, 5, Qt::AlignLeft | Qt::AlignTop);

    // The depth slider at the right over the panel's height; the envelope
    // spins below the graph, Release and the tone number beside them.
    QLabel *depthCaption = wrapped(QStringLiteral("Envelope     Depth  "), NarrowLabelWidth, p);
    depthCaption->setAlignment(Qt::AlignHCenter);
    auto *depth = new QVBoxLayout;
    depth->setSpacing(1);
    depth->addWidget(depthCaption, 0, Qt::AlignHCenter);
    depth->addWidget(controls_.at("SlEnvDF"), 0, Qt::AlignHCenter);
    depth->addStretch(1);
    g->addLayout(depth, 0, 5, 7, 1);

    g->addWidget(new QLabel(QStringLiteral("Time 1    Time 2"), p), 2, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Time 3    Time 4"), p), 2, 2, 1, 2);
    static constexpr const char *Times[] = {"SpTimeP1", "SpTimeP2", "SpTimeP3", "SpTimeP4"};
    static constexpr const char *Levels[] = {"SpLevP1", "SpLevP2", "SpLevP3", "SpLevP4"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(controls_.at(Times[i]), 3, i);
        g->addWidget(new QLabel(QStringLiteral("Lev.%1").arg(i + 1), p), 4, i);
        g->addWidget(controls_.at(Levels[i]), 5, i);
    }
    QAbstractButton *release =
        makeReleaseButton(QStringLiteral("BtRelease"), QStringLiteral("Rel."), p);
    release->setFixedWidth(ReleaseWidth);
    g->addWidget(release, 3, 4, Qt::AlignHCenter);
    LToneBig = new QLabel(p);
    LToneBig->setObjectName(QStringLiteral("LToneBig"));
    QFont big = LToneBig->font();
    big.setPixelSize(BigTonePixels);
    big.setBold(true);
    LToneBig->setFont(big);
    LToneBig->setAlignment(Qt::AlignCenter);
    g->addWidget(LToneBig, 4, 4, 2, 1);
    return p;
}

QWidget *TPTVPForm::buildSensitivityPanel()
{
    QFrame *p = panel("Panel1");
    QGridLayout *g = panelGrid(p);
    g->addWidget(heading(QStringLiteral("TVP Sensitivity"), p), 0, 0, 1, 2);
    g->addWidget(
        wrapped(QStringLiteral("Pitch  Envelope     Velocity Sensitivity:"), WrappedLabelWidth, p),
        1, 0);
    g->addWidget(controls_.at("SpEVelS"), 1, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch Vel T1 Sens:"), p), 2, 0);
    g->addWidget(controls_.at("CbVT1Sens"), 2, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch Vel T4 Sens:"), p), 3, 0);
    g->addWidget(controls_.at("CbVT4Sens"), 3, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch Time Keyfollow"), p), 4, 0);
    g->addWidget(controls_.at("CbTKF"), 4, 1, Qt::AlignLeft);
    return p;
}

QWidget *TPTVPForm::buildTunePanel()
{
    QFrame *p = panel("Panel2");
    QGridLayout *g = panelGrid(p);
    g->addWidget(new QLabel(QStringLiteral("Pitch Coarse Tune :"), p), 0, 0);
    g->addWidget(controls_.at("SpCoarseT"), 0, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch Fine Tune :"), p), 1, 0);
    g->addWidget(controls_.at("SpFineT"), 1, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch Key Follow  :"), p), 2, 0);
    g->addWidget(controls_.at("CbPiKeyFl"), 2, 1, Qt::AlignLeft);
    g->setColumnStretch(2, 1);
    return p;
}

QWidget *TPTVPForm::buildRandomPanel()
{
    QFrame *p = panel("Panel3");
    auto *v = new QVBoxLayout(p);
    v->setContentsMargins(6, 4, 6, 4);
    QLabel *caption = wrapped(QStringLiteral("Random  Pitch  Depth :"), NarrowLabelWidth, p);
    caption->setAlignment(Qt::AlignHCenter);
    v->addWidget(caption, 0, Qt::AlignHCenter);
    v->addWidget(controls_.at("SltRND"), 0, Qt::AlignHCenter);
    return p;
}

QWidget *TPTVPForm::buildLfoPanel()
{
    QFrame *p = panel("Panel4");
    QGridLayout *g = panelGrid(p);
    g->addWidget(new QLabel(QStringLiteral("Pitch LFO-1 Depth :"), p), 0, 0);
    g->addWidget(controls_.at("SpLFO1D"), 1, 0, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Pitch LFO-2 Depth :"), p), 2, 0);
    g->addWidget(controls_.at("SpLFO2D"), 3, 0, Qt::AlignLeft);
    return p;
}
