// Building the LFO screen: the two LFO panels with their pictures, the four
// depth panels along the bottom, and the parameter controls made from the
// table.

#include "controls/focuscombobox.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "editors/lfoform.h"
#include "editors/paintbox.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int PanelSpacing = 4;
constexpr int ToneLabelWidth = 24;
constexpr int SliderColumnWidth = 40;

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

const char *name(const char *lfo1, const char *lfo2, int lfo)
{
    return lfo == 1 ? lfo1 : lfo2;
}
} // namespace

QFrame *TLFOForm::panel(const char *objectName)
{
    auto *f = new QFrame(this);
    f->setObjectName(QLatin1String(objectName));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

void TLFOForm::createParameterControl(const LfoParameter &row)
{
    QWidget *w = nullptr;
    switch (row.kind) {
    case LfoParameter::Kind::Wave:
    case LfoParameter::Kind::List: {
        auto *c = new TFocusComboBox(this);
        c->addItems(row.items);
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        w = c;
        break;
    }
    case LfoParameter::Kind::Check:
        w = new QCheckBox(QStringLiteral("Key trigger"), this);
        break;
    case LfoParameter::Kind::Slider:
        w = new TSlidNaVf(this);
        break;
    case LfoParameter::Kind::Depth: {
        auto *s = new TSpincw0R(this);
        s->setMinValue(-63);
        s->setMaxValue(63);
        w = s;
        break;
    }
    }
    w->setObjectName(QLatin1String(row.name));
    controls_[row.name] = w;
}

void TLFOForm::buildControls()
{
    for (const LfoParameter &row : LfoParameter::table())
        createParameterControl(row);

    Ltonekeus = new QLabel(topBar());
    Ltonekeus->setObjectName(QStringLiteral("Ltonekeus"));
    Ltonekeus->setFrameShape(QFrame::Panel);
    Ltonekeus->setFrameShadow(QFrame::Sunken);
    Ltonekeus->setAlignment(Qt::AlignCenter);
    Ltonekeus->setFixedWidth(ToneLabelWidth);
    topBarLayout()->addWidget(Ltonekeus);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(topBar());
    auto *lfos = new QHBoxLayout;
    lfos->setSpacing(PanelSpacing);
    lfos->addWidget(buildLfoPanel(1));
    lfos->addWidget(buildLfoPanel(2));
    lfos->addStretch(1);
    outer->addLayout(lfos);
    auto *depths = new QHBoxLayout;
    depths->setSpacing(PanelSpacing);
    depths->addWidget(
        buildDepthPanel("PP", QStringLiteral("TVPitch Depth"), "SpLFO1PD", "SpLFO2PD"));
    depths->addWidget(
        buildDepthPanel("PF", QStringLiteral("TVFilter Depth"), "SpLFO1FD", "SpLFO2FD"));
    depths->addWidget(
        buildDepthPanel("PA", QStringLiteral("TVAmplifier Depth"), "SpLFO1AD", "SpLFO2AD"));
    depths->addWidget(
        buildDepthPanel("Ppan", QStringLiteral("PAN Depth"), "SpLFO1PaD", "SpLFO2PaD"));
    depths->addStretch(1);
    outer->addLayout(depths);
    outer->addStretch(1);
}

QWidget *TLFOForm::buildLfoPanel(int lfo)
{
    QFrame *p = panel(lfo == 1 ? "Panel1" : "Panel2");
    auto *h = new QHBoxLayout(p);
    h->setContentsMargins(6, 4, 6, 4);

    auto *g = new QGridLayout;
    g->setVerticalSpacing(3);
    g->addWidget(heading(QStringLiteral("LFO %1").arg(lfo), p), 0, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Waveform :"), p), 1, 0);
    g->addWidget(controls_.at(name("CbWave1", "CbWave2", lfo)), 1, 1);
    auto *picture = new TPaintBox(LfoWavePicture::Size, p);
    picture->setObjectName(lfo == 1 ? QStringLiteral("PBLFO1") : QStringLiteral("PBLFO2"));
    (lfo == 1 ? PBLFO1 : PBLFO2) = picture;
    g->addWidget(picture, 2, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("Level Offset :"), p), 3, 0);
    g->addWidget(controls_.at(name("CbLoffset1", "CbLoffset2", lfo)), 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Fade Mode :"), p), 4, 0);
    g->addWidget(controls_.at(name("CbFMode1", "CbFMode2", lfo)), 4, 1);
    g->addWidget(new QLabel(QStringLiteral("Ext. Sync."), p), 5, 0);
    g->addWidget(controls_.at(name("CbExtSync1", "CbExtSync2", lfo)), 5, 1);
    g->addWidget(controls_.at(name("ChKeytrig1", "ChKeyTrig2", lfo)), 6, 0, 1, 2);
    g->setRowStretch(7, 1);
    h->addLayout(g);

    const std::pair<const char *, const char *> sliders[] = {
        {"Rate", name("SlRate1", "SlRate2", lfo)},
        {"Delay time", name("SlDlyT1", "SlDlyT2", lfo)},
        {"Fade time", name("SlFadeT1", "SlFadeT2", lfo)},
    };
    for (const auto &[caption, slider] : sliders) {
        auto *v = new QVBoxLayout;
        v->setSpacing(1);
        // Two-word captions wrap, keeping the slider columns narrow.
        auto *label = new QLabel(QLatin1String(caption), p);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setFixedWidth(SliderColumnWidth);
        v->addWidget(label, 0, Qt::AlignHCenter);
        v->addWidget(controls_.at(slider), 0, Qt::AlignHCenter);
        v->addStretch(1);
        h->addLayout(v);
    }
    return p;
}

QWidget *TLFOForm::buildDepthPanel(const char *objectName, const QString &title, const char *lfo1,
                                   const char *lfo2)
{
    QFrame *p = panel(objectName);
    auto *g = new QGridLayout(p);
    g->setContentsMargins(6, 4, 6, 4);
    g->setVerticalSpacing(3);
    g->addWidget(heading(title, p), 0, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("LFO 1 :"), p), 1, 0);
    g->addWidget(controls_.at(lfo1), 1, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("LFO 2 :"), p), 2, 0);
    g->addWidget(controls_.at(lfo2), 2, 1, Qt::AlignLeft);
    return p;
}
