// Building the rhythm window: the top bar with the name, the transfer
// buttons and the audition button, the keyboard-like list of the 64 notes
// on the left and the panels of the chosen note on the right.

#include "controls/spincw0r.h"
#include "core/rhythmimage.h"
#include "core/rhythmparams.h"
#include "editors/editorhost.h"
#include "editors/parametercontrol.h"
#include "editors/rhythmform.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int PanelSpacing = 6;
constexpr int EnvelopeColumns = 4;
constexpr int SettingColumns = 4;
constexpr int ControlColumns = 3;
constexpr int ListChars = 24;
constexpr int ListRows = 24;
} // namespace

void TRhythmForm::buildControls()
{
    const ParameterTable table = RhythmParams::note();
    note_.resize(table.size());
    for (std::size_t r = 0; r < table.size(); ++r)
        note_[r] = ParameterControl::create(table[r], QLatin1String(table[r].name), this);
    ERhythmName = static_cast<QLineEdit *>(ParameterControl::create(
        RhythmParams::common()[0], QLatin1String(RhythmParams::common()[0].name), this));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addWidget(buildTopBar());
    auto *body = new QHBoxLayout;
    body->setSpacing(PanelSpacing);
    body->addWidget(buildNoteList());
    body->addWidget(buildNotePanels(), 1);
    outer->addLayout(body, 1);
}

QWidget *TRhythmForm::buildTopBar()
{
    QFrame *bar = panel(this, "PRhythmTop");
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(PanelSpacing);
    row->addWidget(new QLabel(QStringLiteral("Name"), bar));
    ERhythmName->setParent(bar);
    row->addWidget(ERhythmName);
    LNoteKey = heading(QString(), bar);
    LNoteKey->setObjectName(QStringLiteral("LNoteKey"));
    row->addSpacing(PanelSpacing);
    row->addWidget(LNoteKey);
    BPlayNote = button("Play", "BPlayNote", "Play the note on channel 10 while held", bar);
    row->addWidget(BPlayNote);
    row->addStretch(1);

    auto *get = button("Get Rhythm", "BGetRhythm", "Fetch the rhythm set of part 10", bar);
    auto *send = button("Send Rhythm", "BSendRhythm", "Send the rhythm set to part 10", bar);
    auto *write = button("Write USER", "BWriteRhythm", "Write to a USER rhythm set", bar);
    SpRhythmPlace = new TSpincw0R(bar);
    SpRhythmPlace->setObjectName(QStringLiteral("SpRhythmPlace"));
    SpRhythmPlace->setMinValue(1);
    SpRhythmPlace->setMaxValue(RhythmPlaces);
    SpRhythmPlace->setValue(1);
    SpRhythmPlace->setToolTip(QStringLiteral("USER rhythm set number"));
    for (QWidget *w : {static_cast<QWidget *>(get), static_cast<QWidget *>(send),
                       static_cast<QWidget *>(write), static_cast<QWidget *>(SpRhythmPlace)})
        row->addWidget(w);
    connect(get, &QPushButton::clicked, this,
            [this] { host_.transfer(EditorHost::Transfer::GetRhythm, 0); });
    connect(send, &QPushButton::clicked, this,
            [this] { host_.transfer(EditorHost::Transfer::SendRhythm, 0); });
    connect(write, &QPushButton::clicked, this,
            [this] { host_.transfer(EditorHost::Transfer::WriteRhythm, SpRhythmPlace->Value()); });
    return bar;
}

QWidget *TRhythmForm::buildNoteList()
{
    LbNotes = new QListWidget(this);
    LbNotes->setObjectName(QStringLiteral("LbNotes"));
    LbNotes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LbNotes->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int key = RhythmImage::FirstKey; key <= RhythmImage::LastKey; ++key)
        LbNotes->addItem(QString());
    const QFontMetrics fm(LbNotes->font());
    LbNotes->setFixedWidth(fm.horizontalAdvance(QString(ListChars, QLatin1Char('W'))));
    LbNotes->setMinimumHeight(fm.height() * ListRows);
    LbNotes->setCurrentRow(0);
    return LbNotes;
}

// A panel of note parameters, captioned as the table names them.
QWidget *TRhythmForm::notePanel(const char *name, const char *title,
                                std::initializer_list<const char *> rows, int columns)
{
    QList<std::pair<QString, QWidget *>> controls;
    for (const char *row : rows) {
        if (!row) {
            controls.append({QString(), nullptr});
            continue;
        }
        controls.append(
            {QLatin1String(findParameter(RhythmParams::note(), row)->caption), noteControl(row)});
    }
    return captionedPanel(name, title, controls, columns);
}

QWidget *TRhythmForm::buildNotePanels()
{
    auto *area = new QWidget(this);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(PanelSpacing);

    QWidget *wave = notePanel(
        "PWave", "Wave", {"ChNoteOn", "CbWaveGroup", "SpWaveNo", "CbWaveGain"}, SettingColumns);
    LWaveName = new QLabel(wave);
    LWaveName->setObjectName(QStringLiteral("LWaveName"));
    static_cast<QGridLayout *>(wave->layout())->addWidget(LWaveName, 3, 0, 1, SettingColumns);
    grid->addWidget(wave, 0, 0);
    grid->addWidget(notePanel("PPitch", "Pitch",
                              {"CbSourceKey", "SpFineTune", "CbRandomPitch", "SpBendRange"},
                              SettingColumns),
                    0, 1);
    grid->addWidget(
        notePanel("PPitchEnv", "Pitch Envelope",
                  {"SpPEnvDepth", "CbPEnvVelo", "CbPEnvTime", nullptr, "SpPEnvT1", "SpPEnvT2",
                   "SpPEnvT3", "SpPEnvT4", "SpPEnvL1", "SpPEnvL2", "SpPEnvL3", "SpPEnvL4"},
                  EnvelopeColumns),
        1, 0);
    grid->addWidget(notePanel("PFilter", "Filter",
                              {"CbFilterType", "SpCutoff", "SpResonance", "CbResoVelo"},
                              SettingColumns),
                    1, 1);
    grid->addWidget(
        notePanel("PFilterEnv", "Filter Envelope",
                  {"SpFEnvDepth", "CbFEnvVelo", "CbFEnvTime", nullptr, "SpFEnvT1", "SpFEnvT2",
                   "SpFEnvT3", "SpFEnvT4", "SpFEnvL1", "SpFEnvL2", "SpFEnvL3", "SpFEnvL4"},
                  EnvelopeColumns),
        2, 0);
    grid->addWidget(
        notePanel("PAmp", "Level Envelope",
                  {"SpLevel", "CbAEnvVelo", "CbAEnvTime", nullptr, "SpAEnvT1", "SpAEnvT2",
                   "SpAEnvT3", "SpAEnvT4", "SpAEnvL1", "SpAEnvL2", "SpAEnvL3"},
                  EnvelopeColumns),
        2, 1);
    grid->addWidget(notePanel("POutput", "Pan and Output",
                              {"SpPan", "SpRandomPan", "SpAltPan", "CbOutput", "SpOutLevel",
                               "SpChoSend", "SpRevSend"},
                              SettingColumns),
                    3, 0);
    grid->addWidget(notePanel("PControl", "Control",
                              {"CbMuteGroup", "CbEnvMode", "CbPanCtrl", "ChVolCtrl", "ChHoldCtrl"},
                              ControlColumns),
                    3, 1);
    grid->setRowStretch(4, 1);
    return area;
}

void TRhythmForm::connectControls()
{
    const ParameterTable table = RhythmParams::note();
    for (std::size_t r = 0; r < table.size(); ++r)
        ParameterControl::onEdit(note_[r], table[r], this, [this, r] { noteEdited(int(r)); });
    ParameterControl::onEdit(ERhythmName, RhythmParams::common()[0], this,
                             [this] { ERhythmNameChange(); });
    connect(LbNotes, &QListWidget::currentRowChanged, this,
            [this](int row) { selectKey(RhythmImage::FirstKey + row); });
    connect(BPlayNote, &QPushButton::pressed, this, &TRhythmForm::auditionPressed);
    connect(BPlayNote, &QPushButton::released, this, &TRhythmForm::auditionReleased);
}
