#pragma once
// The name of a tone's wave, from the wave lists: Int-A and Int-B, the
// fitted card and boards, and, for a group no slot holds, any definition
// file in the expansion folder that carries the group. Each list is read
// once per lookup object.

#include "core/expansionslot.h"
#include "core/wavelistfile.h"

#include <QString>
#include <map>
#include <vector>

class WaveNameLookup
{
public:
    static constexpr int GroupInternal = 0;
    static constexpr int GroupCard = 1;
    static constexpr int GroupBoard = 2;

    // folder: the expansion folder (ends with a slash); fitted: the card
    // and board slots of the settings, empty for none.
    explicit WaveNameLookup(QString folder, std::vector<ExpansionSlot> fitted = {});

    // "Int-A", "Int-B", the slot's list name, or "Card 3" / "Board 12".
    QString groupName(int type, int id);
    // Name of wave (0-based) of the group; empty when no list names it.
    QString waveName(int type, int id, int wave);

private:
    QString listFile(int type, int id);
    const WaveListFile::NameTable *names(const QString &file);

    QString folder_;
    std::vector<ExpansionSlot> fitted_;
    std::map<QString, WaveListFile::NameTable> tables_;
    std::map<QString, ExpansionSlot> scanned_;
    bool scannedFolder_ = false;
};
