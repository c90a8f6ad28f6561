#pragma once
// One parameter of a block of the synthesizer's memory as the performance
// and rhythm tables list it: where it sits in its block, how many bytes it
// takes, its stored range and how a screen shows it. The screens build,
// load and send their controls from these rows, so a range or an offset is
// written down once.

#include "core/parametertexts.h"

#include <QString>
#include <cstdint>
#include <span>

struct ParameterDef
{
    enum class Kind : std::uint8_t
    {
        Number,     // one byte, shown as stored + shift
        NibblePair, // two bytes of four bits, high first, shown as value + shift
        Switch,     // one byte, 0 = OFF, 1 = ON
        List,       // one byte, shown as entry `stored` of texts
        Group,      // two bytes: group type, then group ID
        Name,       // twelve characters
    };

    static constexpr int NameSize = 12;
    static constexpr int NibbleBits = 4;
    static constexpr int NibbleMask = 0x0F;
    static constexpr int GroupIdBits = 7;
    static constexpr int GroupIdMask = 0x7F;

    const char *name;    // object name of the control (a part strip appends the part)
    const char *caption; // label beside the control
    std::uint8_t offset; // first byte inside the block
    Kind kind;
    int min; // stored range: a nibble pair's combined value, a group's type byte
    int max;
    int shift = 0; // Number and NibblePair: shown = stored + shift
    ParameterTexts::List texts = ParameterTexts::List::None;

    // Bytes the parameter takes in its block.
    constexpr int size() const
    {
        switch (kind) {
        case Kind::NibblePair:
        case Kind::Group:
            return 2;
        case Kind::Name:
            return NameSize;
        default:
            return 1;
        }
    }
    int shownMin() const { return min + shift; }
    int shownMax() const { return max + shift; }

    // The value held by a block's bytes: one byte, a nibble pair combined,
    // or a group as type << 7 | ID. A name has no single value (0).
    int value(const std::uint8_t *block) const;
    // The size() bytes that store value v.
    void encode(int v, std::uint8_t *out) const;
    // Whether the block's bytes of this parameter lie inside its range.
    bool holdsValid(const std::uint8_t *block) const;
    // What a screen or a listing shows for value v.
    QString text(int v) const;
};

using ParameterTable = std::span<const ParameterDef>;

// The row whose control is called name, or null.
const ParameterDef *findParameter(ParameterTable table, const char *name);
