#pragma once
// One row of the LFO screen's parameter table: where the byte lives, which
// control shows it and how. The table drives building, loading and sending.

#include <QStringList>
#include <cstdint>
#include <vector>

struct LfoParameter
{
    enum class Kind
    {
        Wave,   // waveform list, with a picture
        List,   // drop-down list, item index stored
        Check,  // key trigger: ticked for any byte but 0
        Slider, // 0..127, stored as shown
        Depth,  // spin -63..63, stored = shown + 63
    };

    std::uint8_t offset;
    const char *name;
    Kind kind;
    int lfo;           // 1 or 2
    QStringList items; // lists only

    // The control's value for a stored byte; -1 leaves a list without a
    // selection when the byte names no item.
    int shown(int stored) const;
    int stored(int shownValue) const;

    // The whole table in loading order.
    static const std::vector<LfoParameter> &table();
    static const LfoParameter *find(const char *name);
};
