#include "core/editstate.h"

namespace {
constexpr int OddBlockStart = 0x80;
}

void EditState::reset()
{
    *this = EditState();
    patchImage.Initialise();
}

addr::Address EditState::commonAddress(int offset) const
{
    return {EditPrefix[0], EditPrefix[1], addr::BlockCommon, std::uint8_t(offset)};
}

addr::Address EditState::toneAddress(int tone, int offset) const
{
    // A tone's last byte (0x80) sits at the odd block byte, offset 0.
    const std::uint8_t block = addr::toneBlock(tone);
    if (offset >= OddBlockStart)
        return {EditPrefix[0], EditPrefix[1], std::uint8_t(block + 1),
                std::uint8_t(offset - OddBlockStart)};
    return {EditPrefix[0], EditPrefix[1], block, std::uint8_t(offset)};
}
