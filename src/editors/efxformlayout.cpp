// Building the effects screen: the title bar with the mode button, the type
// list, two rows of six parameter sliders, the output panel and the two
// control-source panels.

#include "controls/focuscombobox.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/effecttables.h"
#include "core/parameterlists.h"
#include "editors/editorhost.h"
#include "editors/efxform.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int SlotsPerRow = 6;
constexpr int SliderWidth = 58;
constexpr int SlotColumnWidth = 74;
constexpr int TitlePointSize = 12;
constexpr int TypeListRows = 20;
constexpr int DepthLimit = 63;

const char *const OutputNames[] = {"MIX", "Out 1", "Out 2"};

template <typename T> T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QFrame *panel(const char *name, QWidget *parent)
{
    auto *f = named(new QFrame(parent), QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QComboBox *makeList(const char *name, std::initializer_list<const char *> items, QWidget *parent)
{
    auto *c = named(new TFocusComboBox(parent), QLatin1String(name));
    for (const char *item : items)
        c->addItem(QLatin1String(item));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

// A caption over its control, centred.
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
} // namespace

void TEfxForm::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(buildTypeBar());

    auto *middle = new QHBoxLayout;
    middle->addWidget(buildSliderPanel(), 1);
    middle->addWidget(buildOutputPanel());
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(buildControlPanel(0));
    bottom->addWidget(buildControlPanel(1));
    bottom->addStretch(1);

    parameterArea_ = new QWidget(this);
    auto *area = new QVBoxLayout(parameterArea_);
    area->setContentsMargins(0, 0, 0, 0);
    area->addLayout(middle);
    area->addLayout(bottom);
    outer->addWidget(parameterArea_, 1);
}

QWidget *TEfxForm::buildTypeBar()
{
    QFrame *bar = panel("PTop", this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);

    STop1 = named(new QLabel(QStringLiteral("Effect : "), bar), QStringLiteral("STop1"));
    QFont big = STop1->font();
    big.setPointSize(TitlePointSize);
    big.setBold(true);
    STop1->setFont(big);
    STop1->setMinimumWidth(STop1->fontMetrics().horizontalAdvance(
        QStringLiteral("Performance EFX 26: Overdrive -->Chorus")));

    auto *typeList = named(new TFocusComboBox(bar), QStringLiteral("CbEFXType"));
    typeList->addItems(EffectTables::instance().typeNames());
    typeList->setMaxVisibleItems(TypeListRows);
    typeList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    CbEFXType = typeList;

    SpMode = named(new QPushButton(bar), QStringLiteral("SpMode"));
    SpMain = named(new QPushButton(QStringLiteral("Main"), bar), QStringLiteral("SpMain"));
    SpMain->setToolTip(QStringLiteral("Back to Main Window"));

    row->addWidget(STop1);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Type:"), bar));
    row->addWidget(CbEFXType);
    row->addStretch(1);
    row->addWidget(SpMode);
    row->addWidget(SpMain);
    return bar;
}

QWidget *TEfxForm::buildSliderPanel()
{
    QFrame *box = panel("PSliders", this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    LUnknownType = named(new QLabel(box), QStringLiteral("LUnknownType"));
    LUnknownType->setAlignment(Qt::AlignCenter);
    LUnknownType->setWordWrap(true);
    LUnknownType->hide();
    grid->addWidget(LUnknownType, 0, 0, 1, SlotsPerRow);

    for (int s = 0; s < SlotCount; ++s) {
        const int row = 1 + 2 * (s / SlotsPerRow);
        const int column = s % SlotsPerRow;
        auto *label = named(new QLabel(QStringLiteral(" "), box),
                            QStringLiteral("Lpm") + QString::number(s + 1));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setFixedWidth(SlotColumnWidth);
        auto *slider = named(new TSliddt(box), QStringLiteral("Sliddt") + QString::number(s + 1));
        slider->setFixedWidth(SliderWidth);
        slider->setFixedHeight(TallSliderHeight);
        // Hidden slots keep their room, so a slider never moves with the type.
        QSizePolicy keep = slider->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        slider->setSizePolicy(keep);
        grid->addWidget(label, row, column, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(slider, row + 1, column, Qt::AlignHCenter | Qt::AlignTop);
        grid->setRowMinimumHeight(row + 1, TallSliderHeight);
        labels_[std::size_t(s)] = label;
        sliders_[std::size_t(s)] = slider;
    }
    grid->setRowStretch(2 * (SlotCount / SlotsPerRow) + 1, 1);
    return box;
}

QWidget *TEfxForm::buildOutputPanel()
{
    QFrame *box = panel("POutput", this);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(6, 6, 6, 6);

    CbEFXOutAss = makeList("CbEFXOutAss", {OutputNames[0], OutputNames[1], OutputNames[2]}, box);
    v->addWidget(new QLabel(QStringLiteral("Output Assign"), box));
    v->addWidget(CbEFXOutAss);

    auto *sliders = new QHBoxLayout;
    const auto level = [&](const char *name, const char *caption) {
        auto *s = named(new TSlidNaVf(box), QLatin1String(name));
        s->setMinValue(0);
        s->setMaxValue(127);
        sliders->addWidget(captioned(QLatin1String(caption), s, box));
        return s;
    };
    SlLevel = level("SlLevel", "Output Level ");
    SlChorus = level("SlChorus", "Chorus Send ");
    SlReverb = level("SlReverb", "Reverb Send ");
    v->addLayout(sliders);
    v->addStretch(1);
    return box;
}

QWidget *TEfxForm::buildControlPanel(int source)
{
    const QString n = QString::number(source + 1);
    QFrame *box = panel(source == 0 ? "PControl1" : "PControl2", this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 6, 6, 6);

    auto *list = named(new TFocusComboBox(box), QStringLiteral("CbCtrl%1Dest").arg(n));
    list->addItems(ParameterLists::effectControlSources());
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *depth = named(new TSpincw0R(box), QStringLiteral("SpCDepth%1").arg(n));
    depth->setMinValue(-DepthLimit);
    depth->setMaxValue(DepthLimit);
    auto *target =
        named(new QLabel(QStringLiteral(" "), box), QStringLiteral("Lpm%1").arg(13 + source));
    QFont bold = target->font();
    bold.setBold(true);
    target->setFont(bold);
    // Room for the longest target of any type, so the panel never jumps.
    int widest = 0;
    for (int t = 0; t < EffectTables::TypeCount; ++t) {
        const EffectTables::Type &type = EffectTables::instance().type(t);
        for (const QString &label : {type.control1Label, type.control2Label})
            widest = std::max(widest, target->fontMetrics().horizontalAdvance(label));
    }
    target->setMinimumWidth(widest);

    grid->addWidget(new QLabel(QStringLiteral("Control Source for :"), box), 0, 0);
    grid->addWidget(target, 0, 1);
    grid->addWidget(list, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Depth"), box), 1, 1, Qt::AlignRight);
    grid->addWidget(depth, 1, 2);

    sources_[std::size_t(source)] = list;
    depths_[std::size_t(source)] = depth;
    controlLabels_[std::size_t(source)] = target;
    return box;
}

void TEfxForm::connectHandlers()
{
    connect(CbEFXType, &QComboBox::activated, this, &TEfxForm::CbEFXTypeChange);
    connect(SpMode, &QAbstractButton::clicked, this, &TEfxForm::SpModeClick);
    connect(SpMain, &QAbstractButton::clicked, this, [this] { host_.raiseMainWindow(); });

    for (int s = 0; s < SlotCount; ++s) {
        TSliddt *slider = sliders_[std::size_t(s)];
        const auto changed = [this, s] { sliderChanged(s); };
        connect(slider, &TSliderBase::OnChange, this, changed);
        connect(slider, &TSliderBase::OnChanging, this, changed);
    }

    const auto listSends = [this](QComboBox *list, int k) {
        connect(list, &QComboBox::activated, this, [this, k](int index) { sendK(k, index); });
    };
    listSends(CbEFXOutAss, OutputAssignK);
    listSends(sources_[0], Source1K);
    listSends(sources_[1], Source2K);

    const auto sliderSends = [this](TSliderBase *slider, int k) {
        const auto send = [this, slider, k] { sendK(k, slider->Position()); };
        connect(slider, &TSliderBase::OnChange, this, send);
        connect(slider, &TSliderBase::OnChanging, this, send);
    };
    sliderSends(SlLevel, LevelK);
    sliderSends(SlChorus, ChorusK);
    sliderSends(SlReverb, ReverbK);

    for (int i = 0; i < 2; ++i) {
        TSpincw0R *depth = depths_[std::size_t(i)];
        const int k = i == 0 ? Depth1K : Depth2K;
        const auto send = [this, depth, k] { sendK(k, depth->Value() + DepthCentre); };
        connect(depth, &TSpincw0R::OnChange, this, send);
        connect(depth, &TSpincw0R::OnChanging, this, send);
    }
}
