#include "core/rhythmimage.h"

#include <algorithm>

namespace {
constexpr char InitialName[] = "Init Rhythm ";

// Note offsets the neutral set puts away from zero.
namespace nt {
constexpr int WaveGain = 0x05;
constexpr int VolumeControl = 0x09;
constexpr int PanControl = 0x0B;
constexpr int FineTune = 0x0D;
constexpr int PitchEnvDepth = 0x0F;
constexpr int PitchEnvVelocity = 0x10;
constexpr int PitchEnvTimeSens = 0x11;
constexpr int PitchEnvLevels = 0x16; // four
constexpr int FilterType = 0x1A;
constexpr int Cutoff = 0x1B;
constexpr int ResonanceVelocity = 0x1D;
constexpr int FilterEnvDepth = 0x1E;
constexpr int FilterEnvVelocity = 0x1F;
constexpr int FilterEnvTimeSens = 0x20;
constexpr int AmpEnvVelocity = 0x2A;
constexpr int AmpEnvTimeSens = 0x2B;
constexpr int AmpEnvLevels = 0x30; // three
constexpr int AlternatePan = 0x35;
constexpr int OutputLevel = 0x37;
} // namespace nt

constexpr std::uint8_t Full = 127;
constexpr std::uint8_t Middle = 64;
constexpr std::uint8_t DepthZero = 63;
constexpr std::uint8_t On = 1;
constexpr std::uint8_t InternalGroupA = 1;
constexpr std::uint8_t GainZeroDb = 1;
constexpr std::uint8_t PanContinuous = 1;
constexpr std::uint8_t FineZero = 50;
constexpr std::uint8_t PitchDepthZero = 12;
constexpr std::uint8_t VelocityZero = 50; // -100..+150 in steps of 2
constexpr std::uint8_t SensZero = 7;      // the 0 of the fifteen-step lists
constexpr std::uint8_t LowPass = 1;
constexpr int PitchLevelCount = 4;
constexpr int AmpLevelCount = 3;
constexpr int NibbleBits = 4;

struct Preset
{
    int offset;
    int count;
    std::uint8_t value;
};

constexpr Preset NotePresets[] = {
    {addr::note::Switch, 1, On},
    {addr::note::WaveGroupId, 1, InternalGroupA},
    {nt::WaveGain, 1, GainZeroDb},
    {nt::VolumeControl, 1, On},
    {nt::PanControl, 1, PanContinuous},
    {nt::FineTune, 1, FineZero},
    {nt::PitchEnvDepth, 1, PitchDepthZero},
    {nt::PitchEnvVelocity, 1, VelocityZero},
    {nt::PitchEnvTimeSens, 1, SensZero},
    {nt::PitchEnvLevels, PitchLevelCount, DepthZero},
    {nt::FilterType, 1, LowPass},
    {nt::Cutoff, 1, Full},
    {nt::ResonanceVelocity, 1, VelocityZero},
    {nt::FilterEnvDepth, 1, DepthZero},
    {nt::FilterEnvVelocity, 1, VelocityZero},
    {nt::FilterEnvTimeSens, 1, SensZero},
    {addr::note::ToneLevel, 1, Full},
    {nt::AmpEnvVelocity, 1, VelocityZero},
    {nt::AmpEnvTimeSens, 1, SensZero},
    {nt::AmpEnvLevels, AmpLevelCount, Full},
    {addr::note::TonePan, 1, Middle},
    {nt::AlternatePan, 1, Middle},
    {nt::OutputLevel, 1, Full},
};
} // namespace

void RhythmImage::Initialise()
{
    bytes_.fill(0);
    forget();
    std::copy_n(InitialName, addr::PatchNameSize, bytes_.begin());
    for (int key = FirstKey; key <= LastKey; ++key) {
        for (const Preset &p : NotePresets)
            std::fill_n(bytes_.begin() + notePosition(key, p.offset), p.count, p.value);
        bytes_[std::size_t(notePosition(key, addr::note::SourceKey))] = std::uint8_t(key);
    }
}

void RhythmImage::setCommon(int offset, std::uint8_t value)
{
    put(offset, value);
}

void RhythmImage::setNote(int key, int offset, std::uint8_t value)
{
    put(notePosition(key, offset), value);
}

QByteArray RhythmImage::name() const
{
    return QByteArray(reinterpret_cast<const char *>(data()), addr::PatchNameSize);
}

int RhythmImage::waveNumber(int key) const
{
    return (note(key, addr::note::WaveNumberHigh) << NibbleBits) |
           note(key, addr::note::WaveNumberLow);
}

int RhythmImage::blockSize(int block)
{
    if (block == addr::BlockCommon)
        return CommonSize;
    return validKey(block) ? NoteSize : 0;
}

QList<int> RhythmImage::blocks()
{
    QList<int> list{addr::BlockCommon};
    for (int key = FirstKey; key <= LastKey; ++key)
        list.append(key);
    return list;
}

std::optional<int> RhythmImage::blockPosition(int block, int offset)
{
    if (offset < 0 || offset >= blockSize(block))
        return std::nullopt;
    if (block == addr::BlockCommon)
        return offset;
    return notePosition(block, offset);
}

std::optional<int> RhythmImage::Locate(const addr::Address &adrs)
{
    if (adrs[0] != addr::AreaPerformancePart || adrs[1] != addr::RhythmPart)
        return std::nullopt;
    return blockPosition(adrs[2], adrs[3]);
}
