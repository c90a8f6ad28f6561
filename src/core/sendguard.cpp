#include "core/sendguard.h"

#include "core/editstate.h"
#include "core/patchimage.h"

namespace {
bool editedPatch(const EditState &state, const addr::Address &adrs)
{
    return adrs[0] == state.EditPrefix[0] && adrs[1] == state.EditPrefix[1] &&
           (adrs[0] == addr::AreaTempPatch || adrs[0] == addr::AreaPerformancePart);
}
} // namespace

std::optional<std::uint8_t> SendGuard::current(const EditState &state, const addr::Address &adrs)
{
    if (editedPatch(state, adrs)) {
        if (const std::optional<ImagePlace> place = PatchImage::Locate(adrs))
            return state.patchImage[place->position()];
    }
    if (adrs[0] == addr::AreaTempPerformance && adrs[1] == 0 && adrs[2] == addr::BlockCommon &&
        adrs[3] < addr::PerformanceCommonSize && state.PerformanceCommonKnown.test(adrs[3]))
        return state.PerformanceCommon[adrs[3]];
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
