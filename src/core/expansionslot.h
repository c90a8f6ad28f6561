#pragma once
// One fitted wave source: the PCM card (slot P) or an expansion board (A..D),
// as described by its definition file.

#include <QString>

struct ExpansionSlot
{
    QString fileName;  // definition file, up to 12 characters
    QString cbName;    // name shown in the wave-group lists
    int group = 0;     // wave group type: 1 = PCM card, 2 = expansion board
    int groupId = 0;   // the board's ID as stored in a tone
    int maxWaves = 0;  // number of waves on the board
};
