// Building the wave screen: the tone bar with the font toggle, the panels of
// group, number and tone parameters, and the grid of wave names.

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/parameterlists.h"
#include "editors/waveform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int BigTonePixels = 36;
constexpr int SmallGridPixels = 9;
constexpr int LargeGridPoints = 10;
constexpr char LargeGridFamily[] = "Arial";
constexpr int WaveNoChars = 3;
constexpr int MaxWaveNumber = 255;
constexpr int MaxDelayTime = 127;
constexpr int FxmColors = 4;
constexpr int FxmDepths = 16;
constexpr int PanelSpacing = 6;

QFrame *makePanel(QWidget *parent, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

TSpincw0R *makeSpin(QWidget *parent, const char *name, int min, int max)
{
    auto *s = new TSpincw0R(parent);
    s->setObjectName(QLatin1String(name));
    s->setMinValue(min);
    s->setMaxValue(max);
    s->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return s;
}

TFocusComboBox *makeList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new TFocusComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}
} // namespace

void TWaveForm::buildControls()
{
    Blarge = new QPushButton(topBar());
    Blarge->setObjectName(QStringLiteral("Blarge"));
    topBarLayout()->addWidget(Blarge);

    LToneBig = new QLabel(this);
    LToneBig->setObjectName(QStringLiteral("LToneBig"));
    QFont big = LToneBig->font();
    big.setPixelSize(BigTonePixels);
    big.setBold(true);
    LToneBig->setFont(big);
    LToneBig->setAlignment(Qt::AlignCenter);
    LToneBig->setMinimumWidth(BigTonePixels);

    auto *header = new QHBoxLayout;
    header->setSpacing(PanelSpacing);
    header->addWidget(LToneBig);
    header->addWidget(buildWavePanel());
    header->addWidget(buildParameterPanel());
    header->addStretch(1);

    WaveGrid = new QTableWidget(GridRows, GridColumns, this);
    WaveGrid->setObjectName(QStringLiteral("WaveGrid"));
    WaveGrid->horizontalHeader()->hide();
    WaveGrid->verticalHeader()->hide();
    WaveGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    WaveGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    WaveGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    WaveGrid->setWordWrap(false);
    WaveGrid->setTextElideMode(Qt::ElideNone);
    for (QHeaderView *h : {WaveGrid->horizontalHeader(), WaveGrid->verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(topBar());
    outer->addLayout(header);
    outer->addStretch(1);
    outer->addWidget(WaveGrid);
}

QWidget *TWaveForm::buildWavePanel()
{
    QFrame *panel = makePanel(this, "PWave");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);

    CbWaveGroup = makeList(panel, "CbWaveGroup", {});
    CbWaveGroup->setMinimumContentsLength(12);
    SpWave = new QSpinBox(panel);
    SpWave->setObjectName(QStringLiteral("SpWave"));
    SpWave->setRange(0, MaxWaveNumber);
    SpWave->hide();
    EdWaveNo = new QLineEdit(panel);
    EdWaveNo->setObjectName(QStringLiteral("EdWaveNo"));
    EdWaveNo->setMaxLength(WaveNoChars);
    EdWaveNo->setFixedWidth(EdWaveNo->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    EdWaveNo->setToolTip(QStringLiteral("Type a wave number and press Enter"));
    LwaveF = new QLabel(panel);
    LwaveF->setObjectName(QStringLiteral("LwaveF"));

    grid->addWidget(new QLabel(QStringLiteral("Wave Group:"), panel), 0, 0);
    grid->addWidget(CbWaveGroup, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Wave No.:"), panel), 1, 0);
    grid->addWidget(EdWaveNo, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("File:"), panel), 1, 2);
    grid->addWidget(LwaveF, 1, 3);
    grid->setColumnStretch(3, 1);
    return panel;
}

QWidget *TWaveForm::buildParameterPanel()
{
    QFrame *panel = makePanel(this, "PParams");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);

    CbWaveGain = makeList(panel, "CbWaveGain", ParameterLists::waveGains());
    ChBFXM = new QCheckBox(QStringLiteral("Freq. X Mod."), panel);
    ChBFXM->setObjectName(QStringLiteral("ChBFXM"));
    SpFXMColor = makeSpin(panel, "SpFXMColor", 1, FxmColors);
    SpFXMDepth = makeSpin(panel, "SpFXMDepth", 1, FxmDepths);
    CbToneDMode = makeList(panel, "CbToneDMode", ParameterLists::toneDelayModes());
    SpToneDTime = makeSpin(panel, "SpToneDTime", 0, MaxDelayTime);

    grid->addWidget(new QLabel(QStringLiteral("Wave Gain:"), panel), 0, 0);
    grid->addWidget(CbWaveGain, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Tone Delay:"), panel), 0, 2, 1, 2);
    grid->addWidget(CbToneDMode, 0, 4, 1, 4);
    grid->addWidget(ChBFXM, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Color:"), panel), 1, 2);
    grid->addWidget(SpFXMColor, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Depth:"), panel), 1, 4);
    grid->addWidget(SpFXMDepth, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), panel), 1, 6);
    grid->addWidget(SpToneDTime, 1, 7);
    return panel;
}

void TWaveForm::applyLayout(const Layout &shape)
{
    large_ = shape.large;
    Blarge->setText(QLatin1String(shape.caption));
    QFont f = font();
    if (shape.large)
        f = QFont(QLatin1String(LargeGridFamily), LargeGridPoints);
    else
        f.setPixelSize(SmallGridPixels);
    WaveGrid->setFont(f);
    WaveGrid->horizontalHeader()->setDefaultSectionSize(shape.columnWidth);
    WaveGrid->verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    WaveGrid->setFixedHeight(shape.form.height() - GridBelowTop);
    QWidget::layout()->activate();
    resize(shape.form.expandedTo(minimumSizeHint()));
}
