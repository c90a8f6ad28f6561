#pragma once
// A wave-name file: the internal lists (IntA.txt, IntB.txt) or a card or
// board definition file. The [ExpType] keys above "[Waves]" are INI settings;
// the lines after "[Waves]" are plain text, one wave name per line, so a name
// may hold any character an INI value could not carry.

#include "core/editstate.h"
#include "core/expansionslot.h"

#include <QString>
#include <array>

class WaveListFile
{
public:
    using NameTable = std::array<QString, EditState::WaveNameCount>;

    static constexpr int MaxNameLength = 16;
    static constexpr int MaxWaves = EditState::WaveNameCount - 1;
    static constexpr int MaxGroup = 2;
    static constexpr int MaxGroupId = 127;
    static constexpr int MaxListNameLength = 12;

    explicit WaveListFile(QString path);

    // Replaces the whole table: entry k names wave k, entry 0 and the entries
    // past the end of the list are empty. Lines past wave 255 are ignored.
    // On failure the table is left as it was and errorString() says why.
    bool readNames(NameTable &table);
    // Number of names found by the last successful readNames().
    int nameCount() const { return m_count; }

    // Reads CbName, Group, GroupID and Maxwaves of [ExpType] into the slot;
    // a missing key takes its default. A missing file or a value that is no
    // number in range is an error and leaves the slot as it was. The slot's
    // file name is not touched.
    bool readSlot(ExpansionSlot &slot);

    // The values a slot gets when its definition file is missing.
    static ExpansionSlot defaultSlot();

    QString errorString() const { return m_error; }

private:
    bool fail(const QString &why);

    QString m_path;
    QString m_error;
    int m_count = 0;
};
