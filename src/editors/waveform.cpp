#include "editors/waveform.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "core/wavelistfile.h"
#include "editors/editorhost.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>

namespace {
constexpr char Caption[] = "Wave Selection";
constexpr char WaveNoError[] = "error in wave no.";
constexpr char IntAFile[] = "IntA.txt";
constexpr char IntBFile[] = "IntB.txt";
constexpr int RowIntA = 0;
constexpr int RowIntB = 1;
constexpr int FirstSlotRow = 2;
constexpr int LastSlotRow = FirstSlotRow + EditState::ExpansionSlotCount - 1;
constexpr int ShownPlusOne = 1;
constexpr int GroupCard = 1;
constexpr int GroupBoard = 2;

ToneEditorForm::Setup waveSetup()
{
    ToneEditorForm::Setup s;
    // No section of its own to copy: the frame's copy buttons stay hidden.
    s.switches = ToneEditorForm::SwitchSource::MainWindow;
    return s;
}
} // namespace

TWaveForm::TWaveForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : ToneEditorForm(waveSetup(), state, protocol, host, parent)
{
    setObjectName(QStringLiteral("WaveForm"));
    setWindowTitle(QLatin1String(Caption));
    for (const QString &name : {setup().copyName, setup().pasteName, setup().bufferLabelName})
        if (auto *w = topBar()->findChild<QWidget *>(name))
            w->hide();
    buildControls();

    connect(CbWaveGain, &QComboBox::activated, this,
            [this](int index) { sendTone(WaveGainOffset, index); });
    connect(CbToneDMode, &QComboBox::activated, this,
            [this](int index) { sendTone(DelayModeOffset, index); });
    connect(ChBFXM, &QCheckBox::clicked, this,
            [this](bool on) { sendTone(FxmSwitchOffset, on ? 1 : 0); });
    connect(SpFXMColor, &TSpincw0R::OnChange, this,
            [this] { sendSpin(SpFXMColor, FxmColorOffset, ShownPlusOne); });
    connect(SpFXMDepth, &TSpincw0R::OnChange, this,
            [this] { sendSpin(SpFXMDepth, FxmDepthOffset, ShownPlusOne); });
    connect(SpToneDTime, &TSpincw0R::OnChange, this,
            [this] { sendSpin(SpToneDTime, DelayTimeOffset, 0); });

    connect(CbWaveGroup, &QComboBox::activated, this, &TWaveForm::WaveChange);
    connect(SpWave, &QSpinBox::valueChanged, this, &TWaveForm::WaveChange);
    connect(WaveGrid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (!placing_ && row >= 0 && column >= 0)
            chooseCell(column, row);
    });
    EdWaveNo->installEventFilter(this);
    connect(Blarge, &QPushButton::clicked, this, &TWaveForm::BlargeClick);

    applyLayout(SmallLayout);
    reload();
}

void TWaveForm::sendSpin(TSpincw0R *spin, int offset, int shift)
{
    sendTone(offset, spin->Value() - shift);
}

int TWaveForm::groupCount(int row) const
{
    return std::max(1, host_.waveGroupCount(row));
}

void TWaveForm::loadTone(int tone)
{
    fillGroupList();
    RefreshTone(tone);
}

// The main window's lists may have changed with the expansion settings; a
// row for an empty slot stays as unselectable here as it is there.
void TWaveForm::fillGroupList()
{
    const QSignalBlocker quiet(CbWaveGroup);
    const QStringList rows = host_.waveGroupNames();
    CbWaveGroup->clear();
    CbWaveGroup->addItems(rows);
    for (int r = 0; r < rows.size(); ++r)
        CbWaveGroup->setRowSelectable(r, host_.waveGroupSelectable(r) && groupFitted(r));
}

// A slot without a card or board carries group type 0 and ID 0, which names
// no wave group at all.
bool TWaveForm::groupFitted(int row) const
{
    if (row == RowIntA || row == RowIntB)
        return true;
    if (row < FirstSlotRow || row > LastSlotRow)
        return false;
    const ExpansionSlot &slot = state_.Expansion[std::size_t(row - FirstSlotRow)];
    return (slot.group == GroupCard || slot.group == GroupBoard) && slot.groupId > 0;
}

void TWaveForm::RefreshTone(int tone)
{
    const LoadScope scope(state_);
    // Setting group and wave is no choice of the user: no wave change may
    // run from here, or its sends would escape the load.
    {
        const QSignalBlocker quietGroup(CbWaveGroup);
        const QSignalBlocker quietWave(SpWave);
        CbWaveGroup->setCurrentIndex(host_.waveGroupRow(tone));
        SpWave->setValue(host_.waveNumber(tone));
    }
    EdWaveNo->setText(QString::number(SpWave->value()));
    LToneBig->setText(QString::number(tone));
    loadParameters(tone);
    LoadWaveNames(CbWaveGroup->currentIndex());
    placeSelection(SpWave->value());
}

void TWaveForm::loadParameters(int tone)
{
    const PatchImage &img = state_.patchImage;
    CbWaveGain->setCurrentIndex(img.tone(tone, WaveGainOffset));
    ChBFXM->setChecked(img.tone(tone, FxmSwitchOffset) > 0);
    SpFXMColor->setValue(img.tone(tone, FxmColorOffset) + ShownPlusOne);
    SpFXMDepth->setValue(img.tone(tone, FxmDepthOffset) + ShownPlusOne);
    CbToneDMode->setCurrentIndex(img.tone(tone, DelayModeOffset));
    SpToneDTime->setValue(img.tone(tone, DelayTimeOffset));
}

QString TWaveForm::waveFileName(int row) const
{
    if (row == RowIntA)
        return QLatin1String(IntAFile);
    if (row == RowIntB)
        return QLatin1String(IntBFile);
    if (row >= FirstSlotRow && row <= LastSlotRow)
        return state_.Expansion[std::size_t(row - FirstSlotRow)].fileName;
    return {};
}

void TWaveForm::LoadWaveNames(int row)
{
    const QString file = waveFileName(row);
    state_.WaveNameTable.fill(QString());
    LwaveF->setText(file);
    // A missing or unreadable file, or one without "[Waves]", leaves the
    // table empty; waves can still be typed and chosen.
    if (!file.isEmpty())
        WaveListFile(host_.waveListFolder() + file).readNames(state_.WaveNameTable);

    for (int w = 1; w < EditState::WaveNameCount; ++w) {
        const QPoint cell = cellOfWave(w);
        QTableWidgetItem *item = WaveGrid->item(cell.y(), cell.x());
        if (!item) {
            item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            WaveGrid->setItem(cell.y(), cell.x(), item);
        }
        item->setText(state_.WaveNameTable[std::size_t(w)]);
    }
}

QPoint TWaveForm::cellOfWave(int wave)
{
    const int index = std::max(wave, 1) - 1;
    return {index / GridRows, std::min(index % GridRows, GridRows - 1)};
}

void TWaveForm::placeSelection(int wave)
{
    const QPoint cell = cellOfWave(wave);
    placing_ = true;
    WaveGrid->setCurrentCell(cell.y(), std::min(cell.x(), GridColumns - 1));
    placing_ = false;
    WaveGrid->viewport()->update();
}

void TWaveForm::chooseCell(int column, int row)
{
    const int wave = column * GridRows + row + 1;
    const int count = groupCount(CbWaveGroup->currentIndex());
    if (wave <= count) {
        chooseWave(wave);
        return;
    }
    // Past the group's last wave: that last wave is taken instead.
    chooseWave(count);
    placeSelection(SpWave->value());
}

void TWaveForm::chooseWave(int wave)
{
    {
        const QSignalBlocker quiet(SpWave);
        SpWave->setValue(wave);
    }
    WaveChange();
}

void TWaveForm::WaveChange()
{
    const int tone = currentTone();
    const int row = CbWaveGroup->currentIndex();
    // No group chosen, or an empty slot: the tone keeps what it has (a
    // group type 0 / ID 0 or a wave -1 must never be sent).
    if (row < 0 || !CbWaveGroup->isRowSelectable(row)) {
        RefreshTone(tone);
        return;
    }
    const int wave = std::clamp(SpWave->value(), 1, groupCount(row));
    // A new group alone is a change too, on every tone.
    if (row != host_.waveGroupRow(tone) || wave != host_.waveNumber(tone))
        host_.selectWave(tone, row, wave);
    // The refresh reads the names of the group the tone now has.
    RefreshTone(tone);
}

void TWaveForm::EdWaveNoExit()
{
    const int current = SpWave->value();
    const QString text = EdWaveNo->text().trimmed();
    const QString shown = QString::number(current);
    if (text.isEmpty() || text == shown) {
        EdWaveNo->setText(shown);
        return;
    }
    bool number = false;
    const int typed = text.toInt(&number);
    if (!number) {
        // Checked before anything changes, so a typing error sends nothing.
        EdWaveNo->setText(shown);
        host_.showInfo(QLatin1String(WaveNoError));
        return;
    }
    const int row = CbWaveGroup->currentIndex();
    chooseWave(std::clamp(typed, 1, row < 0 ? 1 : groupCount(row)));
}

bool TWaveForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdWaveNo) {
        switch (event->type()) {
        case QEvent::FocusIn:
            EdWaveNo->clear();
            break;
        case QEvent::FocusOut:
            EdWaveNoExit();
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                EdWaveNoExit();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return ToneEditorForm::eventFilter(watched, event);
}

void TWaveForm::BlargeClick()
{
    applyLayout(large_ ? SmallLayout : LargeLayout);
}
