#pragma once
// The PCM cards and expansion boards the user can say are fitted, with the
// definition file that describes each.

#include <QString>
#include <QStringList>
#include <span>

struct ExpansionChoice
{
    const char *entry;    // shown in the drop-down list
    const char *fileName; // definition file under the expansion folder
};

class ExpansionChoices
{
public:
    // Definition file of an empty slot.
    static constexpr char NoWaveFile[] = "NoWave.txt";
    // List index for a stored name that is known but has no entry to show.
    static constexpr int NoSelection = -1;

    // The PCM card list (slot P) and the expansion board list (slots A..D),
    // in list order; index 0 is "None" in both.
    static std::span<const ExpansionChoice> pcmCards();
    static std::span<const ExpansionChoice> boards();

    static QStringList entries(std::span<const ExpansionChoice> choices);

    // List index of a stored definition file name: exact comparison, letter
    // case included. Unknown names give 0 (None); board names that are known
    // but have no entry give NoSelection.
    static int pcmIndex(const QString &fileName);
    static int boardIndex(const QString &fileName);

    // Definition file of a list index; an index outside the list gives an
    // empty string.
    static QString pcmFile(int index);
    static QString boardFile(int index);
};
