#include "editors/wavegroups.h"

#include <algorithm>

namespace {
constexpr int RowIntA = 0;
constexpr int RowIntB = 1;
constexpr int FirstSlotRow = 2;
constexpr int GroupInternal = 0;
constexpr int GroupCard = 1;
constexpr int GroupBoard = 2;
constexpr int IdIntA = 1;
constexpr int IdIntB = 2;
constexpr char IntAFile[] = "IntA.txt";
constexpr char IntBFile[] = "IntB.txt";
} // namespace

WaveGroups::WaveGroups(const EditState &state, QString folder)
    : state_(state), folder_(std::move(folder))
{
}

QString WaveGroups::name(int row) const
{
    if (row == RowIntA)
        return QStringLiteral("Int-A");
    if (row == RowIntB)
        return QStringLiteral("Int-B");
    if (row < FirstSlotRow || row >= RowCount)
        return {};
    return state_.Expansion[std::size_t(row - FirstSlotRow)].cbName;
}

bool WaveGroups::fitted(int row) const
{
    if (row == RowIntA || row == RowIntB)
        return true;
    if (row < FirstSlotRow || row >= RowCount)
        return false;
    const ExpansionSlot &slot = state_.Expansion[std::size_t(row - FirstSlotRow)];
    const int type = row == FirstSlotRow ? GroupCard : GroupBoard;
    return slot.group == type && slot.groupId > 0;
}

int WaveGroups::row(int type, int id) const
{
    for (int r = 0; r < RowCount; ++r)
        if (fitted(r) && group(r) == std::make_pair(type, id))
            return r;
    return -1;
}

std::pair<int, int> WaveGroups::group(int row) const
{
    if (row == RowIntA)
        return {GroupInternal, IdIntA};
    if (row == RowIntB)
        return {GroupInternal, IdIntB};
    if (row < FirstSlotRow || row >= RowCount)
        return {GroupInternal, 0};
    const ExpansionSlot &slot = state_.Expansion[std::size_t(row - FirstSlotRow)];
    return {slot.group, slot.groupId};
}

int WaveGroups::waveCount(int row) const
{
    if (row == RowIntB)
        return IntBCount;
    if (row < FirstSlotRow || row >= RowCount)
        return IntACount;
    // A definition file may claim any count; two nibbles hold 1..255.
    return std::clamp(state_.Expansion[std::size_t(row - FirstSlotRow)].maxWaves, 1, IntACount);
}

QString WaveGroups::fileName(int row) const
{
    if (row == RowIntA)
        return QLatin1String(IntAFile);
    if (row == RowIntB)
        return QLatin1String(IntBFile);
    if (row < FirstSlotRow || row >= RowCount)
        return {};
    return state_.Expansion[std::size_t(row - FirstSlotRow)].fileName;
}

QString WaveGroups::waveName(int row, int wave) const
{
    if (row < 0 || row >= RowCount || wave < 0 || wave >= IntACount)
        return {};
    auto it = names_.find(row);
    if (it == names_.end()) {
        WaveListFile::NameTable table{};
        const QString file = fileName(row);
        // A missing list leaves the names empty; the numbers still work.
        if (!file.isEmpty())
            WaveListFile(folder_ + file).readNames(table);
        it = names_.emplace(row, table).first;
    }
    return it->second[std::size_t(wave + 1)];
}
