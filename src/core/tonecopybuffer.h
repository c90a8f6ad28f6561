#pragma once
// The section copy buffer the tone screens share. It is laid out like a tone
// slot of the patch image, so each screen copies and pastes only its own range
// of offsets and ranges copied on different screens, even from different
// tones, live side by side. It remembers per offset which tone it came from,
// so a screen can tell whether its range holds a copy at all.

#include "core/addressmap.h"

#include <array>
#include <cstdint>
#include <vector>

class PatchImage;

class ToneCopyBuffer
{
public:
    static constexpr int NotCopied = 0;

    // Takes offsets first..last of tone's slot; BufferTone becomes tone.
    void copy(const PatchImage &image, int tone, int first, int last);
    // Every offset of first..last was copied, from any tone.
    bool holds(int first, int last) const;
    // The tone offset first was copied from, or NotCopied.
    int sourceTone(int first) const;
    // The bytes of first..last as copied; meaningful only when holds().
    std::vector<std::uint8_t> bytes(int first, int last) const;

    // The tone of the most recent Copy on any screen; NotCopied at start.
    int BufferTone = NotCopied;

private:
    static bool validRange(int first, int last);

    std::array<std::uint8_t, addr::SlotSize> data_{};
    std::array<std::uint8_t, addr::SlotSize> source_{};
};
