// Building the performance window: the top bar with the name and the
// transfer buttons, the chorus, reverb and effect panels, and the grid of
// the sixteen part strips with the voice reserve sum below it.

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/performanceparams.h"
#include "editors/editorhost.h"
#include "editors/parametercontrol.h"
#include "editors/performanceform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int PanelSpacing = 6;
constexpr int EfxColumns = 6;
constexpr int SettingColumns = 3;

int rowOf(ParameterTable table, const char *name)
{
    return int(findParameter(table, name) - table.data());
}
} // namespace

void TPerformanceForm::buildControls()
{
    const ParameterTable common = PerformanceParams::common();
    common_.resize(common.size());
    for (std::size_t r = 0; r < common.size(); ++r)
        common_[r] = ParameterControl::create(common[r], QLatin1String(common[r].name), this);
    const ParameterTable part = PerformanceParams::part();
    for (int p = 1; p <= PartCount; ++p) {
        auto &strip = parts_[std::size_t(p - 1)];
        strip.resize(part.size());
        for (std::size_t r = 0; r < part.size(); ++r)
            strip[r] = ParameterControl::create(
                part[r], QLatin1String(part[r].name) + QString::number(p), this);
    }
    // Part 10 plays a rhythm set, and the unit holds two of them per group.
    static_cast<TSpincw0R *>(partControl(RhythmPart, "SpPatch"))->setMaxValue(RhythmSetCount);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(buildTopBar());
    auto *panels = new QHBoxLayout;
    panels->setSpacing(PanelSpacing);
    panels->addWidget(buildChorusPanel(), 0, Qt::AlignTop);
    panels->addWidget(buildReverbPanel(), 0, Qt::AlignTop);
    panels->addWidget(buildEffectPanel(), 0, Qt::AlignTop);
    panels->addStretch(1);
    outer->addLayout(panels);
    outer->addWidget(buildPartGrid());

    auto *bottom = new QHBoxLayout;
    LVoiceSum = new QLabel(this);
    LVoiceSum->setObjectName(QStringLiteral("LVoiceSum"));
    LPerfInfo = new QLabel(this);
    LPerfInfo->setObjectName(QStringLiteral("LPerfInfo"));
    QPalette warn = LPerfInfo->palette();
    warn.setColor(QPalette::WindowText, QColor(192, 0, 0));
    LPerfInfo->setPalette(warn);
    bottom->addWidget(LVoiceSum);
    bottom->addSpacing(4 * PanelSpacing);
    bottom->addWidget(LPerfInfo, 1);
    outer->addLayout(bottom);
    outer->addStretch(1);
}

QWidget *TPerformanceForm::buildTopBar()
{
    QFrame *bar = panel(this, "PPerfTop");
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(PanelSpacing);
    const auto add = [&](const char *caption, const char *name) {
        row->addWidget(new QLabel(QLatin1String(caption), bar));
        QWidget *w = commonControl(name);
        w->setParent(bar);
        row->addWidget(w);
    };
    add("Name", "EPerfName");
    add("EFX Source", "CbEfxSource");
    add("Tempo", "SpPerfTempo");
    QWidget *keyRange = commonControl("ChKeyRange");
    static_cast<QCheckBox *>(keyRange)->setText(QStringLiteral("Key Range"));
    keyRange->setParent(bar);
    row->addWidget(keyRange);
    row->addStretch(1);

    auto *get = button("Get Perform", "BGetPerf", "Fetch the temporary performance", bar);
    auto *send = button("Send Perform", "BSendPerf", "Send the performance to the synth", bar);
    auto *write = button("Write USER", "BWritePerf", "Write to a USER performance", bar);
    SpPerfPlace = new TSpincw0R(bar);
    SpPerfPlace->setObjectName(QStringLiteral("SpPerfPlace"));
    SpPerfPlace->setMinValue(1);
    SpPerfPlace->setMaxValue(PerformancePlaces);
    SpPerfPlace->setValue(1);
    SpPerfPlace->setToolTip(QStringLiteral("USER performance number"));
    auto *effects = button("Effects", "BPerfEffects", "EFX Window", bar);
    for (QWidget *w :
         {static_cast<QWidget *>(get), static_cast<QWidget *>(send), static_cast<QWidget *>(write),
          static_cast<QWidget *>(SpPerfPlace), static_cast<QWidget *>(effects)})
        row->addWidget(w);
    connect(get, &QPushButton::clicked, this,
            [this] { host_.transfer(EditorHost::Transfer::GetPerformance, 0); });
    connect(send, &QPushButton::clicked, this,
            [this] { host_.transfer(EditorHost::Transfer::SendPerformance, 0); });
    connect(write, &QPushButton::clicked, this, [this] {
        host_.transfer(EditorHost::Transfer::WritePerformance, SpPerfPlace->Value());
    });
    connect(effects, &QPushButton::clicked, this, [this] { host_.openEffectsScreen(); });
    return bar;
}

// A panel of common parameters, captioned as the table names them.
QWidget *TPerformanceForm::commonPanel(const char *name, const char *title,
                                       std::initializer_list<const char *> rows)
{
    QList<std::pair<QString, QWidget *>> controls;
    for (const char *row : rows)
        controls.append({QLatin1String(findParameter(PerformanceParams::common(), row)->caption),
                         commonControl(row)});
    return captionedPanel(name, title, controls, SettingColumns);
}

QWidget *TPerformanceForm::buildChorusPanel()
{
    return commonPanel(
        "PChorus", "Chorus",
        {"SpChoLevel", "SpChoRate", "SpChoDepth", "SpChoDelay", "SpChoFeedback", "CbChoOutput"});
}

QWidget *TPerformanceForm::buildReverbPanel()
{
    return commonPanel("PReverb", "Reverb",
                       {"CbRevType", "SpRevLevel", "SpRevTime", "CbRevDamp", "SpRevFeedback"});
}

QWidget *TPerformanceForm::buildEffectPanel()
{
    QFrame *box = panel(this, "PEffect");
    effectPanel_ = box;
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(2);
    v->addWidget(heading(QStringLiteral("Multi-Effect"), box));

    auto *settings = new QGridLayout;
    settings->setVerticalSpacing(1);
    settings->setHorizontalSpacing(2 * PanelSpacing);
    const char *rows[] = {"CbEfxType",  "CbEfxOutput", "SpEfxLevel", "SpEfxChorus", "SpEfxReverb",
                          "CbEfxCtrl1", "SpEfxDepth1", "CbEfxCtrl2", "SpEfxDepth2"};
    int i = 0;
    for (const char *row : rows) {
        QWidget *w = commonControl(row);
        w->setParent(box);
        const int r = 2 * (i / EfxColumns);
        const int c = i % EfxColumns;
        const auto *def = findParameter(PerformanceParams::common(), row);
        settings->addWidget(new QLabel(QLatin1String(def->caption), box), r, c);
        settings->addWidget(w, r + 1, c, Qt::AlignLeft);
        ++i;
    }
    v->addLayout(settings);

    // The type's parameters: caption, spin and the value's text.
    auto *params = new QGridLayout;
    params->setVerticalSpacing(1);
    const int first = rowOf(PerformanceParams::common(), "SpEfxParam1");
    for (int k = 0; k < PerformanceParams::EfxParameterCount; ++k) {
        auto *label = new QLabel(box);
        label->setObjectName(QStringLiteral("LEfxParam%1").arg(k + 1));
        auto *value = new QLabel(box);
        value->setObjectName(QStringLiteral("LEfxValue%1").arg(k + 1));
        QWidget *spin = common_[std::size_t(first + k)];
        spin->setParent(box);
        efxLabels_[std::size_t(k)] = label;
        efxValues_[std::size_t(k)] = value;
        const int r = 3 * (k / EfxColumns);
        const int c = k % EfxColumns;
        params->addWidget(label, r, c);
        params->addWidget(spin, r + 1, c, Qt::AlignLeft);
        params->addWidget(value, r + 2, c);
    }
    v->addLayout(params);
    return box;
}

QWidget *TPerformanceForm::buildPartGrid()
{
    QFrame *box = panel(this, "PParts");
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    const ParameterTable part = PerformanceParams::part();
    const int patchRow = rowOf(part, "SpPatch");
    // Columns: part number, the table's rows in order with the patch name
    // after the patch number, then the part's voice reserve.
    const auto column = [patchRow](int row) { return 1 + row + (row > patchRow ? 1 : 0); };
    const int nameColumn = column(patchRow) + 1;
    const int reserveColumn = column(int(part.size()) - 1) + 1;
    grid->addWidget(heading(QStringLiteral("Part"), box), 0, 0);
    for (std::size_t r = 0; r < part.size(); ++r)
        grid->addWidget(new QLabel(QLatin1String(part[r].caption), box), 0, column(int(r)));
    grid->addWidget(new QLabel(QStringLiteral("Patch Name"), box), 0, nameColumn);
    grid->addWidget(new QLabel(QStringLiteral("Voices"), box), 0, reserveColumn);

    const int reserve = rowOf(PerformanceParams::common(), "SpReserve1");
    // Twelve characters of an average name, not of the widest letter.
    const int nameWidth =
        fontMetrics().horizontalAdvance(QString(ParameterDef::NameSize + 1, QLatin1Char('n')));
    for (int p = 1; p <= PartCount; ++p) {
        auto *number = heading(QString::number(p), box);
        if (p == RhythmPart)
            number->setText(QStringLiteral("%1 R").arg(p));
        grid->addWidget(number, p, 0);
        auto &strip = parts_[std::size_t(p - 1)];
        for (std::size_t r = 0; r < part.size(); ++r) {
            strip[r]->setParent(box);
            grid->addWidget(strip[r], p, column(int(r)), Qt::AlignLeft);
        }
        auto *name = new QLabel(box);
        name->setObjectName(QStringLiteral("LPatchName%1").arg(p));
        name->setMinimumWidth(nameWidth);
        patchNames_[std::size_t(p - 1)] = name;
        grid->addWidget(name, p, nameColumn);
        QWidget *voices = common_[std::size_t(reserve + p - 1)];
        voices->setParent(box);
        grid->addWidget(voices, p, reserveColumn, Qt::AlignLeft);
    }
    grid->setColumnStretch(reserveColumn + 1, 1);
    return box;
}

void TPerformanceForm::connectControls()
{
    const ParameterTable common = PerformanceParams::common();
    for (std::size_t r = 0; r < common.size(); ++r)
        ParameterControl::onEdit(common_[r], common[r], this, [this, r] { commonEdited(int(r)); });
    const ParameterTable part = PerformanceParams::part();
    for (int p = 1; p <= PartCount; ++p)
        for (std::size_t r = 0; r < part.size(); ++r)
            ParameterControl::onEdit(parts_[std::size_t(p - 1)][r], part[r], this,
                                     [this, p, r] { partEdited(p, int(r)); });
}
