#include "core/sendguard.h"

#include "core/editstate.h"
#include "core/patchimage.h"

namespace {
bool editedPatch(const EditState &state, const addr::Address &adrs)
{
    return adrs[0] == state.EditPrefix[0] && adrs[1] == state.EditPrefix[1] &&
           (adrs[0] == addr::AreaTempPatch || adrs[0] == addr::AreaPerformancePart);
}

template <typename Image> std::optional<std::uint8_t> knownByte(const Image &image, int position)
{
    if (image.known(position))
        return image.data()[position];
    return std::nullopt;
}
} // namespace

std::optional<std::uint8_t> SendGuard::current(const EditState &state, const addr::Address &adrs)
{
    // Part 10's area holds the rhythm set, never a patch.
    if (const std::optional<int> position = RhythmImage::Locate(adrs))
        return knownByte(state.rhythm, *position);
    if (const std::optional<int> position = PerformanceImage::Locate(adrs))
        return knownByte(state.performance, *position);
    if (adrs[0] == addr::AreaPerformancePart && adrs[1] == addr::RhythmPart)
        return state.sentBytes.lastSent(adrs);
    if (editedPatch(state, adrs)) {
        if (const std::optional<ImagePlace> place = PatchImage::Locate(adrs))
            return state.patchImage[place->position()];
    }
    return state.sentBytes.lastSent(adrs);
}

bool SendGuard::changed(const EditState &state, const addr::Address &adrs, std::uint8_t value)
{
    const std::optional<std::uint8_t> now = current(state, adrs);
    return !now || *now != value;
}

void SendGuard::remember(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    const int first = addr::fromSevenBit(adrs);
    for (int i = 0; i < count; ++i)
        sent_[first + i] = data[i];
}

std::optional<std::uint8_t> SendGuard::lastSent(const addr::Address &adrs) const
{
    const auto it = sent_.find(addr::fromSevenBit(adrs));
    if (it == sent_.end())
        return std::nullopt;
    return it->second;
}
