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

EditMode EditState::editMode() const
{
    if (!inPerformMode())
        return EditMode::Patch;
    return EditPrefix[1] == addr::RhythmPart ? EditMode::Rhythm : EditMode::Perform;
}

bool EditState::setEditMode(EditMode mode, int part)
{
    switch (mode) {
    case EditMode::Patch:
        EditPrefix = {addr::AreaTempPatch, 0x00};
        return true;
    case EditMode::Rhythm:
        EditPrefix = {addr::AreaPerformancePart, addr::RhythmPart};
        return true;
    case EditMode::Perform:
        break;
    }
    if (part < 1 || part > addr::PerformancePartCount || part == addr::RhythmPartNumber)
        return false;
    EditPrefix = {addr::AreaPerformancePart, std::uint8_t(part - 1)};
    return true;
}
