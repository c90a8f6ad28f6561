#include "core/performanceimage.h"

#include "core/neutraleffects.h"

#include <algorithm>

namespace {
constexpr char InitialName[] = "Init Perform";

constexpr std::uint8_t Full = 127;
constexpr std::uint8_t Middle = 64;
constexpr std::uint8_t UserGroup = 1;
constexpr std::uint8_t CoarseZero = 48;
constexpr std::uint8_t FineZero = 50;
constexpr std::uint8_t On = 1;
constexpr int NibbleBits = 4;
constexpr int NibbleMask = 0x0F;

struct Preset
{
    int offset;
    std::uint8_t value;
};

constexpr Preset PartPresets[] = {
    {addr::part::ReceiveSwitch, On},
    {addr::part::PatchGroupId, UserGroup},
    {addr::part::Level, Full},
    {addr::part::Pan, Middle},
    {addr::part::CoarseTune, CoarseZero},
    {addr::part::FineTune, FineZero},
    {addr::part::OutputLevel, Full},
    {addr::part::ReceiveProgramChange, On},
    {addr::part::ReceiveVolume, On},
    {addr::part::ReceiveHold1, On},
    {addr::part::KeyUpper, Full},
};
} // namespace

void PerformanceImage::Initialise()
{
    bytes_.fill(0);
    forget();
    std::copy_n(InitialName, addr::PatchNameSize, bytes_.begin() + addr::performance::Name);
    neutral::writeEffects(bytes_.data() + addr::performance::EffectType);
    for (int part = 1; part <= PartCount; ++part) {
        for (const Preset &p : PartPresets)
            bytes_[std::size_t(partPosition(part, p.offset))] = p.value;
        // Part p listens on channel p and plays USER patch p (part 10 the
        // first USER rhythm set, whose number counts from 0 as well).
        const int number = part == addr::RhythmPartNumber ? 0 : part - 1;
        bytes_[std::size_t(partPosition(part, addr::part::ReceiveChannel))] =
            std::uint8_t(part - 1);
        bytes_[std::size_t(partPosition(part, addr::part::PatchNumberHigh))] =
            std::uint8_t(number >> NibbleBits);
        bytes_[std::size_t(partPosition(part, addr::part::PatchNumberLow))] =
            std::uint8_t(number & NibbleMask);
    }
}

void PerformanceImage::setCommon(int offset, std::uint8_t value)
{
    put(offset, value);
}

void PerformanceImage::setPart(int part, int offset, std::uint8_t value)
{
    put(partPosition(part, offset), value);
}

QByteArray PerformanceImage::name() const
{
    return QByteArray(reinterpret_cast<const char *>(data()) + addr::performance::Name,
                      addr::PatchNameSize);
}

int PerformanceImage::tempo() const
{
    return (common(addr::performance::TempoHigh) << NibbleBits) |
           common(addr::performance::TempoLow);
}

int PerformanceImage::patchNumber(int p) const
{
    return (part(p, addr::part::PatchNumberHigh) << NibbleBits) |
           part(p, addr::part::PatchNumberLow);
}

int PerformanceImage::voiceReserveSum() const
{
    int sum = 0;
    for (int p = 0; p < PartCount; ++p)
        sum += common(addr::performance::VoiceReserve1 + p);
    return sum;
}

int PerformanceImage::maxVoiceReserve(int part) const
{
    const int others = voiceReserveSum() - common(addr::performance::VoiceReserve1 + part - 1);
    return std::clamp(addr::performance::VoiceLimit - others, 0, addr::performance::VoiceLimit);
}

int PerformanceImage::blockSize(int block)
{
    if (block == addr::BlockCommon)
        return CommonSize;
    if (block >= addr::BlockPart1 && block < addr::BlockPart1 + PartCount)
        return PartSize;
    return 0;
}

QList<int> PerformanceImage::blocks()
{
    QList<int> list{addr::BlockCommon};
    for (int p = 0; p < PartCount; ++p)
        list.append(addr::BlockPart1 + p);
    return list;
}

std::optional<int> PerformanceImage::blockPosition(int block, int offset)
{
    if (offset < 0 || offset >= blockSize(block))
        return std::nullopt;
    if (block == addr::BlockCommon)
        return offset;
    return partPosition(block - addr::BlockPart1 + 1, offset);
}

std::optional<int> PerformanceImage::Locate(const addr::Address &adrs)
{
    if (adrs[0] != addr::AreaTempPerformance || adrs[1] != 0)
        return std::nullopt;
    return blockPosition(adrs[2], adrs[3]);
}
