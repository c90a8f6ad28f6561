#pragma once
// Reads the header of an expansion definition file: the [ExpType] section
// with the board's list name, group type, group ID and wave count.

#include "core/expansionslot.h"

#include <QString>

class ExpansionDefinition
{
public:
    static constexpr char DefaultName[] = "None";
    static constexpr int DefaultGroup = 0;
    static constexpr int DefaultGroupId = 0;
    static constexpr int DefaultMaxWaves = 1;
    static constexpr int NameLength = 12;

    // Fills the slot's list name, group, group ID and wave count from the
    // file. A missing file or key, or a value that is no number in range,
    // gives that value's default; the file name of the slot is left alone.
    static void load(const QString &path, ExpansionSlot &slot);
};
