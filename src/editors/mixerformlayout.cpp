// Building the mixer: the top bar with the tone switches and indicators, four
// tone strips, the effect/chorus/reverb returns, the master strip and the
// chorus and reverb settings.

#include "controls/focuscombobox.h"
#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "core/addressmap.h"
#include "core/displaytables.h"
#include "core/parameterlists.h"
#include "editors/editorhost.h"
#include "editors/mixerform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int MaxByte = 127;
constexpr int SendSliderHeight = 96;
constexpr int PanSliderWidth = 44;
constexpr int StripWidth = 118;
constexpr int ToneButtonWidth = 22;
constexpr int PanStripWidth = 70;

template <typename T> T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QFrame *panel(const QString &name, QWidget *parent)
{
    auto *f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QComboBox *makeList(const QString &name, std::initializer_list<const char *> items, QWidget *parent)
{
    auto *c = named(new TFocusComboBox(parent), name);
    for (const char *item : items)
        c->addItem(QLatin1String(item));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

// A caption over its control, both centred.
QWidget *captioned(const QString &caption, QWidget *control, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    v->addWidget(new QLabel(caption, box), 0, Qt::AlignHCenter);
    control->setParent(box);
    v->addWidget(control, 0, Qt::AlignHCenter);
    v->addStretch(1);
    return box;
}

TMButt *lamp(const QString &name, const QColor &down, QWidget *parent)
{
    auto *b = named(new TMButt(parent), name);
    b->setDownColor(down);
    return b;
}
} // namespace

TSlidNaVf *TMixerForm::levelSlider(const QString &name, QWidget *parent, int height)
{
    auto *s = named(new TSlidNaVf(parent), name);
    s->setMinValue(0);
    s->setMaxValue(MaxByte);
    // Fixed heights: a squeezed fader is a coarse one.
    s->setFixedHeight(height > 0 ? height : TSlidNaVf::DefaultHeight);
    return s;
}

TSliddt *TMixerForm::textSlider(const QString &name, int maximum, QWidget *parent)
{
    auto *s = named(new TSliddt(parent), name);
    s->setMinValue(0);
    s->setMaxValue(maximum);
    s->setFixedSize(PanSliderWidth, TSliddt::DefaultHeight);
    return s;
}

void TMixerForm::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(buildTopBar());

    auto *desk = new QHBoxLayout;
    desk->setSpacing(4);
    for (int t = 1; t <= ToneCount; ++t)
        desk->addWidget(buildStrip(t));
    desk->addWidget(buildReturns());
    desk->addWidget(buildMaster());
    outer->addLayout(desk);

    auto *settings = new QHBoxLayout;
    settings->addWidget(buildChorusSettings());
    settings->addWidget(buildReverbSettings());
    settings->addStretch(1);
    outer->addLayout(settings);
    outer->addStretch(1);
}

QWidget *TMixerForm::buildTopBar()
{
    QFrame *bar = panel(QStringLiteral("PTopBar"), this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(3);
    row->addWidget(new QLabel(QStringLiteral("Tone Switch:"), bar));
    for (int t = 1; t <= ToneCount; ++t) {
        auto *b = named(new QToolButton(bar), QStringLiteral("SpBTOn%1").arg(t));
        b->setText(QString::number(t));
        b->setCheckable(true);
        b->setFixedWidth(ToneButtonWidth);
        b->setToolTip(QStringLiteral("Tone On/Off"));
        row->addWidget(b);
        strips_[std::size_t(t - 1)].SpBTOn = b;
    }
    row->addSpacing(16);
    MuteOn = lamp(QStringLiteral("MuteOn"), Qt::red, bar);
    SoloOn = lamp(QStringLiteral("SoloOn"), Qt::yellow, bar);
    // Indicators only: a click must not flip them.
    for (TMButt *indicator : {MuteOn, SoloOn}) {
        indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
        indicator->setEnabled(false);
    }
    row->addWidget(MuteOn);
    row->addWidget(new QLabel(QStringLiteral("Mute On"), bar));
    row->addSpacing(8);
    row->addWidget(SoloOn);
    row->addWidget(new QLabel(QStringLiteral("Solo On"), bar));
    row->addStretch(1);

    BEFX = named(new QPushButton(QStringLiteral("EFX"), bar), QStringLiteral("BEFX"));
    BitBtn1 =
        named(new QPushButton(QStringLiteral("Release Note"), bar), QStringLiteral("BitBtn1"));
    SpBUpdate = named(new QPushButton(QStringLiteral("Update"), bar), QStringLiteral("SpBUpdate"));
    SpBUpdate->hide();
    row->addWidget(BEFX);
    row->addWidget(BitBtn1);
    row->addWidget(SpBUpdate);
    return bar;
}

QWidget *TMixerForm::buildStrip(int tone)
{
    Strip &s = strips_[std::size_t(tone - 1)];
    const QString n = QString::number(tone);
    QFrame *box = panel(QStringLiteral("PTone") + n, this);
    box->setFixedWidth(StripWidth);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(3);

    v->addWidget(heading(QStringLiteral("Tone ") + n, box), 0, Qt::AlignHCenter);
    s.LL = named(new QLabel(box), QStringLiteral("LL") + n);
    s.LL->setAlignment(Qt::AlignCenter);
    s.LL->setFrameShape(QFrame::Panel);
    s.LL->setFrameShadow(QFrame::Sunken);
    v->addWidget(s.LL);

    s.CbOut = makeList(QStringLiteral("CbOut") + n, {"MIX", "EFX", "O-1", "O-2"}, box);
    v->addWidget(s.CbOut, 0, Qt::AlignHCenter);

    auto *sends = new QHBoxLayout;
    s.SlCS = levelSlider(QStringLiteral("SlCS") + n, box, SendSliderHeight);
    s.SlCS->setToolTip(QStringLiteral("Chorus send ") + n);
    s.SlRS = levelSlider(QStringLiteral("SlRS") + n, box, SendSliderHeight);
    s.SlRS->setToolTip(QStringLiteral("Reverb send ") + n);
    sends->addWidget(captioned(QStringLiteral("Cho"), s.SlCS, box));
    sends->addWidget(captioned(QStringLiteral("Rev"), s.SlRS, box));
    v->addLayout(sends);

    v->addWidget(new QLabel(QStringLiteral("Pan ") + n + QStringLiteral(" :"), box));
    s.PH = named(new TLPanH(box), QStringLiteral("PH") + n);
    s.PH->setFixedWidth(PanStripWidth);
    v->addWidget(s.PH, 0, Qt::AlignHCenter);

    auto *faders = new QHBoxLayout;
    s.SlP = textSlider(QStringLiteral("SlP") + n, MaxByte, box);
    s.SlLev = levelSlider(QStringLiteral("SlLev") + n, box);
    faders->addWidget(captioned(QStringLiteral("Pan"), s.SlP, box));
    faders->addWidget(captioned(QStringLiteral("Level"), s.SlLev, box));
    v->addLayout(faders);

    auto *buttons = new QHBoxLayout;
    s.MButt = lamp(QStringLiteral("MButt") + n, Qt::red, box);
    s.SButt = lamp(QStringLiteral("SButt") + n, Qt::yellow, box);
    buttons->addStretch(1);
    buttons->addWidget(s.MButt);
    buttons->addWidget(new QLabel(QStringLiteral("M"), box));
    buttons->addSpacing(8);
    buttons->addWidget(s.SButt);
    buttons->addWidget(new QLabel(QStringLiteral("S"), box));
    buttons->addStretch(1);
    v->addLayout(buttons);
    v->addStretch(1);
    return box;
}

QWidget *TMixerForm::buildReturns()
{
    QFrame *box = panel(QStringLiteral("PReturns"), this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading(QStringLiteral("Effects      Chorus      Reverb"), box), 0, 0, 1, 3,
                    Qt::AlignHCenter);

    // Effect return.
    CbOutE = makeList(QStringLiteral("CbOutE"), {"MIX", "Ou 1", "Ou 2"}, box);
    SLCSE = levelSlider(QStringLiteral("SLCSE"), box, SendSliderHeight);
    SLCSE->setToolTip(QStringLiteral("EFX chorus send"));
    SlRSE = levelSlider(QStringLiteral("SlRSE"), box, SendSliderHeight);
    SlRSE->setToolTip(QStringLiteral("EFX reverb send"));
    SlLevE = levelSlider(QStringLiteral("SlLevE"), box);
    ChEon = named(new QCheckBox(QStringLiteral("On"), box), QStringLiteral("ChEon"));
    auto *efxSends = new QWidget(box);
    auto *es = new QHBoxLayout(efxSends);
    es->setContentsMargins(0, 0, 0, 0);
    es->addWidget(captioned(QStringLiteral("Cho"), SLCSE, efxSends));
    es->addWidget(captioned(QStringLiteral("Rev"), SlRSE, efxSends));
    grid->addWidget(CbOutE, 1, 0, Qt::AlignHCenter);
    grid->addWidget(efxSends, 2, 0);
    grid->addWidget(captioned(QStringLiteral("EFX"), SlLevE, box), 3, 0);
    grid->addWidget(ChEon, 4, 0, Qt::AlignHCenter);

    // Chorus return: its level, or its send into the reverb when routed there.
    CbOutC = makeList(QStringLiteral("CbOutC"), {"MIX", "REV", "M+R"}, box);
    SlLevC = levelSlider(QStringLiteral("SlLevC"), box);
    SlRSC = levelSlider(QStringLiteral("SlRSC"), box);
    chorusLevelBox_ = captioned(QStringLiteral("Chorus"), SlLevC, box);
    chorusToReverbBox_ = new QWidget(box);
    auto *ctr = new QVBoxLayout(chorusToReverbBox_);
    ctr->setContentsMargins(0, 0, 0, 0);
    ctr->setSpacing(1);
    ctr->addWidget(named(new QLabel(QStringLiteral("Chorus To Reverb"), chorusToReverbBox_),
                         QStringLiteral("LChorusToReverb")),
                   0, Qt::AlignHCenter);
    ctr->addWidget(named(new QLabel(QStringLiteral("Reverb send "), chorusToReverbBox_),
                         QStringLiteral("LReverbSend")),
                   0, Qt::AlignHCenter);
    SlRSC->setParent(chorusToReverbBox_);
    ctr->addWidget(SlRSC, 0, Qt::AlignHCenter);
    ctr->addStretch(1);
    ChCon = named(new QCheckBox(QStringLiteral("On"), box), QStringLiteral("ChCon"));
    grid->addWidget(CbOutC, 1, 1, Qt::AlignHCenter);
    grid->addWidget(chorusLevelBox_, 3, 1);
    grid->addWidget(chorusToReverbBox_, 2, 1, 2, 1);
    grid->addWidget(ChCon, 4, 1, Qt::AlignHCenter);

    // Reverb return.
    SlLevR = levelSlider(QStringLiteral("SlLevR"), box);
    ChRon = named(new QCheckBox(QStringLiteral("On"), box), QStringLiteral("ChRon"));
    grid->addWidget(captioned(QStringLiteral("Reverb"), SlLevR, box), 3, 2);
    grid->addWidget(ChRon, 4, 2, Qt::AlignHCenter);

    // The synthesizer's switches are not read back; they start on.
    for (QCheckBox *c : {ChEon, ChCon, ChRon})
        c->setChecked(true);
    grid->setRowStretch(5, 1);
    return box;
}

QWidget *TMixerForm::buildMaster()
{
    QFrame *box = panel(QStringLiteral("PMaster"), this);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 4, 4, 4);
    v->addWidget(heading(QStringLiteral("Master"), box), 0, Qt::AlignHCenter);
    auto *faders = new QHBoxLayout;
    SlPanM = textSlider(QStringLiteral("SlPanM"), MaxByte, box);
    SlMaster = levelSlider(QStringLiteral("SlMaster"), box);
    faders->addWidget(captioned(QStringLiteral("Pan"), SlPanM, box));
    faders->addWidget(captioned(QStringLiteral("Master"), SlMaster, box));
    v->addLayout(faders);
    v->addStretch(1);
    return box;
}

QWidget *TMixerForm::buildChorusSettings()
{
    QFrame *box = panel(QStringLiteral("PChorusSettings"), this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(heading(QStringLiteral("Chorus Settings"), box), 0, 0, 1, 4);
    SLCRate = levelSlider(QStringLiteral("SLCRate"), box, SendSliderHeight);
    SlCdepth = levelSlider(QStringLiteral("SlCdepth"), box, SendSliderHeight);
    SlCpredly = levelSlider(QStringLiteral("SlCpredly"), box, SendSliderHeight);
    SlCfeedbck = levelSlider(QStringLiteral("SlCfeedbck"), box, SendSliderHeight);
    grid->addWidget(captioned(QStringLiteral("Rate"), SLCRate, box), 1, 0);
    grid->addWidget(captioned(QStringLiteral("Depth"), SlCdepth, box), 1, 1);
    grid->addWidget(captioned(QStringLiteral("Pre-Dly"), SlCpredly, box), 1, 2);
    grid->addWidget(captioned(QStringLiteral("Feedbck"), SlCfeedbck, box), 1, 3);
    return box;
}

QWidget *TMixerForm::buildReverbSettings()
{
    QFrame *box = panel(QStringLiteral("PReverbSettings"), this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(heading(QStringLiteral("Reverb Settings"), box), 0, 0, 1, 2);
    CbRevType = makeList(QStringLiteral("CbRevType"), {}, box);
    CbRevType->addItems(ParameterLists::reverbTypes());
    auto *type = new QHBoxLayout;
    type->addWidget(new QLabel(QStringLiteral("Reverb Type:"), box));
    type->addWidget(CbRevType);
    grid->addLayout(type, 0, 2, 1, 2);
    SlRTime = levelSlider(QStringLiteral("SlRTime"), box, SendSliderHeight);
    SlRHFdamp = textSlider(QStringLiteral("SlRHFdamp"), DisplayTables::HfDampCount - 1, box);
    SlRHFdamp->setFixedSize(56, SendSliderHeight);
    SlRfeedbck = levelSlider(QStringLiteral("SlRfeedbck"), box, SendSliderHeight);
    grid->addWidget(captioned(QStringLiteral("Time"), SlRTime, box), 1, 0);
    grid->addWidget(captioned(QStringLiteral("HF Damp"), SlRHFdamp, box), 1, 1);
    grid->addWidget(captioned(QStringLiteral("Feedbck"), SlRfeedbck, box), 1, 2);
    return box;
}

void TMixerForm::connectStrip(int tone)
{
    Strip &s = strips_[std::size_t(tone - 1)];
    const auto both = [this](TSliderBase *slider, auto handler) {
        connect(slider, &TSliderBase::OnChange, this, handler);
        connect(slider, &TSliderBase::OnChanging, this, handler);
    };
    both(s.SlLev,
         [this, tone, &s] { sendTone(tone, addr::tone::OutputLevel, s.SlLev->Position()); });
    both(s.SlP, [this, tone, &s] {
        showPan(s.SlP);
        s.PH->setValue(s.SlP->Position());
        sendTone(tone, TonePan, s.SlP->Position());
    });
    both(s.SlCS, [this, tone, &s] { sendTone(tone, addr::tone::ChorusSend, s.SlCS->Position()); });
    both(s.SlRS, [this, tone, &s] { sendTone(tone, addr::tone::ReverbSend, s.SlRS->Position()); });
    connect(s.CbOut, &QComboBox::activated, this,
            [this, tone](int index) { sendTone(tone, addr::tone::OutputAssign, index); });
    connect(s.SpBTOn, &QToolButton::clicked, this, [this, tone] { toneSwitchClick(tone); });
    connect(s.MButt, &TMButt::OnClick, this, [this, tone] { MButtClick(tone); });
    connect(s.SButt, &TMButt::OnClick, this, [this, tone] { SButtClick(tone); });
}

void TMixerForm::connectHandlers()
{
    for (int t = 1; t <= ToneCount; ++t)
        connectStrip(t);

    const auto both = [this](TSliderBase *slider, auto handler) {
        connect(slider, &TSliderBase::OnChange, this, handler);
        connect(slider, &TSliderBase::OnChanging, this, handler);
    };
    const auto common = [&](TSliderBase *slider, int offset) {
        both(slider, [this, slider, offset] { sendCommon(offset, slider->Position()); });
    };
    common(SlLevE, EfxLevel);
    common(SLCSE, EfxChorusSend);
    common(SlRSE, EfxReverbSend);
    common(SLCRate, ChorusRate);
    common(SlCdepth, ChorusDepth);
    common(SlCpredly, ChorusPreDelay);
    common(SlCfeedbck, ChorusFeedback);
    common(SlRTime, ReverbTime);
    common(SlRfeedbck, DelayFeedback);
    both(SlRHFdamp, [this] {
        const int p = std::clamp(SlRHFdamp->Position(), 0, DisplayTables::HfDampCount - 1);
        SlRHFdamp->setText(DisplayTables::instance().HfDampTexts[std::size_t(p)]);
        sendCommon(ReverbHfDamp, SlRHFdamp->Position());
    });
    both(SlLevC, [this] { chorusLevelChange(SlLevC); });
    both(SlRSC, [this] { chorusLevelChange(SlRSC); });
    both(SlLevR, [this] { reverbLevelChange(); });
    both(SlMaster, [this] { SlMasterChange(); });
    both(SlPanM, [this] { SlPanMChange(); });

    connect(CbOutE, &QComboBox::activated, this,
            [this](int index) { sendCommon(EfxOutput, index); });
    connect(CbRevType, &QComboBox::activated, this,
            [this](int index) { sendCommon(ReverbType, index); });
    connect(CbOutC, &QComboBox::activated, this, &TMixerForm::CbOutCChange);
    connect(ChEon, &QCheckBox::clicked, this, [this] { switchClick(ChEon, EffectSwitch); });
    connect(ChCon, &QCheckBox::clicked, this, [this] { switchClick(ChCon, ChorusSwitch); });
    connect(ChRon, &QCheckBox::clicked, this, [this] { switchClick(ChRon, ReverbSwitch); });
    connect(BEFX, &QAbstractButton::clicked, this, [this] { host_.openEffectsScreen(); });
    connect(BitBtn1, &QAbstractButton::clicked, this, &TMixerForm::BitBtn1Click);
    connect(SpBUpdate, &QAbstractButton::clicked, this, &TMixerForm::refresh);
}
