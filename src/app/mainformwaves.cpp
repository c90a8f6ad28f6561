// Wave groups and wave numbers of the four tone rows.

#include "app/mainform.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/programdir.h"
#include "core/wavelistfile.h"
#include "midi/sysexprotocol.h"

#include <QComboBox>
#include <QLineEdit>

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
} // namespace

void TMidiMainForm::FillWaveGroupLists()
{
    QStringList rows{QStringLiteral("Int-A"), QStringLiteral("Int-B")};
    for (const ExpansionSlot &slot : state_.Expansion)
        rows << slot.cbName;
    for (ToneRow &r : tones_) {
        r.CbSource->clear();
        r.CbSource->addItems(rows);
        r.CbSource->setCurrentIndex(0);
    }
    waveListsFilled_ = true;
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
        return RowCard;
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

void TMidiMainForm::SendWaveSelect(int row, int wave, int tone)
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
    state_.ToneWaveNumber[std::size_t(tone - 1)] = std::uint8_t(wave);
    const std::uint8_t select[WaveSelectSize] = {std::uint8_t(type), std::uint8_t(id),
                                                 std::uint8_t(wave >> NibbleBits),
                                                 std::uint8_t(wave & NibbleMask)};
    protocol_.SendDataSet(state_.toneAddress(tone, addr::tone::WaveGroupType), select,
                          WaveSelectSize);
}

void TMidiMainForm::CbSourceT1Change(int tone)
{
    state_.CurrentTone = tone;
    ToneRow &r = tones_[std::size_t(tone - 1)];
    const int row = r.CbSource->currentIndex();
    r.SpcWave->setMaxValue(WaveGroupCount(row));
    const int wave = r.SpcWave->Value() - 1;
    ShowWaveName(row, wave, tone);
    SendWaveSelect(row, wave, tone);
}
