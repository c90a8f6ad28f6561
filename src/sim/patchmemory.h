#pragma once
// One patch as the synthesizer stores it: the common block and four tones,
// each exactly as long as on the wire.

#include "core/addressmap.h"

#include <QByteArray>
#include <array>
#include <cstdint>

struct PatchMemory
{
    std::array<std::uint8_t, addr::CommonSize> common{};
    std::array<std::array<std::uint8_t, addr::ToneSize>, addr::ToneCount> tones{};

    // A playable starting point: tone 1 on a plain Int-A wave through an open
    // filter, tones 2..4 off, neutral effects. name is cut or padded to 12.
    static PatchMemory initial(const QByteArray &name);

    QByteArray name() const;

    // Block k: 0 = common, 1..4 = tones.
    std::uint8_t *block(int k) { return k == 0 ? common.data() : tones[std::size_t(k - 1)].data(); }
    const std::uint8_t *block(int k) const
    {
        return k == 0 ? common.data() : tones[std::size_t(k - 1)].data();
    }

    bool operator==(const PatchMemory &) const = default;
};
