// Wave groups and wave numbers of the four tone rows.

#include "app/mainform.h"
#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/programdir.h"
#include "core/wavelistfile.h"
#include "midi/sysexprotocol.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
constexpr int RowIntA = 0;
constexpr int RowIntB = 1;
constexpr int RowCard = 2;      // slot P
constexpr int FirstSlotRow = 2; // rows 2..6 are slots P, A, B, C, D
constexpr int FirstBoardSlot = 1;
constexpr int LastRow = TMidiMainForm::WaveGroupRows - 1;
constexpr int GroupInternal = 0;
constexpr int GroupCard = 1;
constexpr int GroupBoard = 2;
constexpr int IdIntA = 1;
constexpr int IdIntB = 2;
constexpr int NibbleBits = 4;
constexpr int NibbleMask = 0x0F;
constexpr int WaveSelectSize = 4;
constexpr char IntAFile[] = "IntA.txt";
constexpr char IntBFile[] = "IntB.txt";
constexpr char NoWaveFile[] = "NoWave.txt";
// A name the fields must show whole even when no list can be read.
constexpr char LongWaveName[] = "Feedbackwave";
// The line edit's own space between frame and text, left and right.
constexpr int LineEditTextMargin = 2;

// A slot without a card or board carries group type 0 and ID 0, which names
// no wave group at all; such a row must never reach a tone.
bool fitted(const ExpansionSlot &slot)
{
    return (slot.group == GroupCard || slot.group == GroupBoard) && slot.groupId > 0;
}

bool validGroup(int type, int id)
{
    if (type == GroupInternal)
        return id == IdIntA || id == IdIntB;
    return (type == GroupCard || type == GroupBoard) && id > 0;
}
} // namespace

void TMidiMainForm::FillWaveGroupLists()
{
    QStringList rows{QStringLiteral("Int-A"), QStringLiteral("Int-B")};
    for (const ExpansionSlot &slot : state_.Expansion)
        rows << slot.cbName;
    for (ToneRow &r : tones_) {
        r.CbSource->clear();
        r.CbSource->addItems(rows);
        for (int s = 0; s < EditState::ExpansionSlotCount; ++s)
            r.CbSource->setRowSelectable(FirstSlotRow + s,
                                         fitted(state_.Expansion[std::size_t(s)]));
        r.CbSource->setCurrentIndex(0);
        r.groupRow = 0;
    }
    waveListsFilled_ = true;
}

void TMidiMainForm::fitWaveNameFields()
{
    QLineEdit *edit = tones_[0].EWavetxt;
    const QFontMetrics fm(edit->font());
    int widest = fm.horizontalAdvance(QLatin1String(LongWaveName));
    // Any list may come up once a board is fitted, so all of them count.
    const QDir lists(programDir_ + QLatin1String(ExpansionFolderName));
    WaveListFile::NameTable names;
    for (const QString &file : lists.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        WaveListFile list(lists.filePath(file));
        if (!list.readNames(names))
            continue;
        for (int k = 1; k <= list.nameCount(); ++k)
            widest = std::max(widest, fm.horizontalAdvance(names[std::size_t(k)]));
    }
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
    const QSize text(widest + 2 * LineEditTextMargin + 1, fm.height());
    const int width =
        edit->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, text, edit).width();
    for (ToneRow &r : tones_)
        r.EWavetxt->setFixedWidth(width);
}

int TMidiMainForm::WaveGroupCount(int row)
{
    if (row == RowIntA || row == NoWaveGroup)
        return IntACount;
    if (row == RowIntB)
        return IntBCount;
    if (row > LastRow) {
        info_.ShowInfo(QStringLiteral("wg:=") + QString::number(row));
        return IntACount;
    }
    // A definition file may claim any count; the spin and the two stored
    // nibbles only hold 1..255.
    const int count = state_.Expansion[std::size_t(row - FirstSlotRow)].maxWaves;
    return std::clamp(count, 1, MaxWaveCount);
}

int TMidiMainForm::WaveGroupIndex(int type, int id)
{
    const QString install = QStringLiteral("\rPlease install and add in settings.");
    switch (type) {
    case GroupInternal:
        if (id == IdIntA || id == IdIntB)
            return id - 1;
        infoOnce(QStringLiteral("Problem with WgroupID = ") + QString::number(id));
        return NoWaveGroup;
    case GroupCard:
        if (state_.Expansion[0].groupId != id)
            infoOnce(QStringLiteral("This patch uses the PCM-Card no: ") + QString::number(id) +
                     install);
        // An empty card slot is no row to show: its row would send group 0.
        return fitted(state_.Expansion[0]) ? RowCard : NoWaveGroup;
    case GroupBoard:
        for (int s = FirstBoardSlot; s < EditState::ExpansionSlotCount; ++s)
            if (state_.Expansion[std::size_t(s)].groupId == id)
                return FirstSlotRow + s;
        infoOnce(QStringLiteral("This patch uses the ExpansionBoard no: ") + QString::number(id) +
                 install);
        return NoWaveGroup;
    default:
        infoOnce(QStringLiteral("Error on wavegroup: = ") + QString::number(type));
        infoOnce(QStringLiteral("Problem with WgroupID = ") + QString::number(id));
        return NoWaveGroup;
    }
}

QString TMidiMainForm::waveListFile(int row) const
{
    if (row == RowIntA)
        return QLatin1String(IntAFile);
    if (row == RowIntB)
        return QLatin1String(IntBFile);
    if (row < 0)
        return {};
    const int slot = std::min(row, LastRow) - FirstSlotRow;
    return state_.Expansion[std::size_t(slot)].fileName;
}

int TMidiMainForm::LoadWaveNames(int row)
{
    const QString file = waveListFile(row);
    if (file.isEmpty() || file == QLatin1String(NoWaveFile))
        return 0;
    WaveListFile list(programDir_ + QLatin1String(ExpansionFolderName) + QLatin1Char('/') + file);
    if (!list.readNames(state_.WaveNameTable))
        return 0;
    return list.nameCount();
}

void TMidiMainForm::ShowWaveName(int row, int wave, int tone)
{
    // Without a list for this group the table still holds another group's
    // names; showing one of them would name the wrong wave.
    const int count = LoadWaveNames(row);
    const int entry = wave + 1;
    QLineEdit *text = tones_[std::size_t(tone - 1)].EWavetxt;
    if (entry >= 1 && entry <= count)
        text->setText(state_.WaveNameTable[std::size_t(entry)]);
    else
        text->clear();
}

bool TMidiMainForm::SendWaveSelect(int row, int wave, int tone)
{
    int type = GroupInternal;
    int id = IdIntA;
    if (row == RowIntB) {
        id = IdIntB;
    } else if (row >= FirstSlotRow) {
        const ExpansionSlot &slot =
            state_.Expansion[std::size_t(std::min(row, LastRow) - FirstSlotRow)];
        type = slot.group;
        id = slot.groupId;
    } else if (row == NoWaveGroup) {
        // A board that is not fitted: keep the patch's own group.
        type = state_.patchImage.tone(tone, addr::tone::WaveGroupType);
        id = state_.patchImage.tone(tone, addr::tone::WaveGroupId);
    }
    if (!validGroup(type, id))
        return false;
    state_.ToneWaveNumber[std::size_t(tone - 1)] = std::uint8_t(wave);
    const std::uint8_t select[WaveSelectSize] = {std::uint8_t(type), std::uint8_t(id),
                                                 std::uint8_t(wave >> NibbleBits),
                                                 std::uint8_t(wave & NibbleMask)};
    protocol_.SendDataSet(state_.toneAddress(tone, addr::tone::WaveGroupType), select,
                          WaveSelectSize);
    return true;
}

void TMidiMainForm::CbSourceT1Change(int tone)
{
    state_.CurrentTone = tone;
    ToneRow &r = tones_[std::size_t(tone - 1)];
    const int row = r.CbSource->currentIndex();
    if (row >= 0 && !r.CbSource->isRowSelectable(row)) {
        // Put there by code: an empty slot is refused, and the list goes
        // back to the group the tone has.
        r.CbSource->setCurrentIndex(r.groupRow);
        return;
    }
    r.groupRow = row;
    r.SpcWave->setMaxValue(WaveGroupCount(row));
    const int wave = r.SpcWave->Value() - 1;
    ShowWaveName(row, wave, tone);
    SendWaveSelect(row, wave, tone);
}
