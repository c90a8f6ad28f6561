#include "core/patchimage.h"

namespace {
constexpr char InitialName[] = "InitPatch   ";
constexpr std::uint8_t InternalGroupA = 1;
constexpr int OddBlockOffset = 0x80;
} // namespace

void PatchImage::Initialise()
{
    bytes_.fill(0);
    for (int s = 0; s < addr::SlotCount; ++s)
        set(s, addr::tone::WaveGroupId, InternalGroupA);
    for (int i = 0; i < addr::PatchNameSize; ++i)
        set(0, addr::common::Name + i, std::uint8_t(InitialName[i]));
}

std::optional<ImagePlace> PatchImage::Locate(const addr::Address &adrs)
{
    const std::uint8_t area = adrs[0];
    if (area != addr::AreaTempPerformance && area != addr::AreaPerformancePart
        && area != addr::AreaTempPatch)
        return std::nullopt;
    const std::uint8_t block = adrs[2];
    // Even block bytes up to 09 all count as the common block, as on the
    // synthesizer; odd ones there name nothing we hold.
    if (block <= addr::LastSystemCommonBlock) {
        if (block & 1)
            return std::nullopt;
        return ImagePlace{0, adrs[3]};
    }
    if (block < addr::BlockTone1 || block > addr::BlockTone4Odd)
        return std::nullopt;
    const int rel = block - addr::BlockTone1;
    const int slot = rel / 2 + 1;
    const int offset = adrs[3] + ((rel & 1) ? OddBlockOffset : 0);
    return ImagePlace{slot, offset};
}

QByteArray PatchImage::name() const
{
    return QByteArray(reinterpret_cast<const char *>(slotData(0)) + addr::common::Name,
                      addr::PatchNameSize);
}

int PatchImage::waveNumber(int t) const
{
    return tone(t, addr::tone::WaveNumberHigh) * 16 + tone(t, addr::tone::WaveNumberLow);
}

int PatchImage::tempo() const
{
    return common(addr::common::TempoHigh) * 16 + common(addr::common::TempoLow);
}
