#pragma once
// The wave groups a rhythm note can play from, in the rows the main window's
// lists show: Int-A, Int-B, then the PCM card and the four board slots.
// Knows each row's group type and ID, whether a card or board is fitted
// there, how many waves it has and their names, read once per row.

#include "core/editstate.h"
#include "core/wavelistfile.h"

#include <QString>
#include <map>
#include <utility>

class WaveGroups
{
public:
    static constexpr int RowCount = 2 + EditState::ExpansionSlotCount;
    static constexpr int IntACount = 255;
    static constexpr int IntBCount = 193;

    // folder: where the wave-name files live, ending in a slash.
    WaveGroups(const EditState &state, QString folder);

    QString name(int row) const;
    // A slot without a card or board names no group and must never be sent.
    bool fitted(int row) const;
    // The row of group type and ID, or -1 when no fitted row carries it.
    int row(int type, int id) const;
    // Group type and ID of a row.
    std::pair<int, int> group(int row) const;
    // Waves of the row's group, 1..255.
    int waveCount(int row) const;
    // Name of wave (0-based) of the row's group; empty when unknown.
    QString waveName(int row, int wave) const;
    // Forgets the names read, for new expansion settings.
    void reload() { names_.clear(); }

private:
    QString fileName(int row) const;

    const EditState &state_;
    QString folder_;
    mutable std::map<int, WaveListFile::NameTable> names_;
};
