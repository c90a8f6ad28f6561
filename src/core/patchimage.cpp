#include "core/patchimage.h"

#include "core/neutraleffects.h"

namespace {
constexpr char InitialName[] = "InitPatch   ";
constexpr int OddBlockOffset = 0x80;

// Common offsets the neutral patch sets away from zero.
namespace cm {
constexpr int BendUp = 0x31;
constexpr int BendDown = 0x32;
} // namespace cm

// Tone offsets the neutral patch sets away from zero.
namespace tn {
constexpr int WaveGain = 0x05;
constexpr int VelocityLower = 0x0C;
constexpr int VelocityUpper = 0x0D;
constexpr int KeyUpper = 0x0F;
constexpr int ReceiveSwitches = 0x10; // damper, volume, hold-1, bender
constexpr int PanControl = 0x14;
constexpr int ControllerDepth = 0x16; // every second byte up to 0x2C
constexpr int Lfo1Rate = 0x2F;
constexpr int Lfo1Offset = 0x30;
constexpr int Lfo2Rate = 0x37;
constexpr int Lfo2Offset = 0x38;
constexpr int CoarseTune = 0x3D;
constexpr int FineTune = 0x3E;
constexpr int PitchKeyfollow = 0x40;
constexpr int PitchEnvDepth = 0x41;
constexpr int PitchEnvVelocity = 0x42;
constexpr int PitchEnvTimeSens = 0x43; // velocity time 1, time 4, keyfollow
constexpr int PitchEnvLevels = 0x4A;   // four levels, then the two LFO depths
constexpr int FilterType = 0x50;
constexpr int Cutoff = 0x51;
constexpr int CutoffKeyfollow = 0x52;
constexpr int ResonanceVelocity = 0x54;
constexpr int FilterEnvDepth = 0x55;
constexpr int FilterEnvVelocity = 0x57;
constexpr int FilterEnvTimeSens = 0x58;
constexpr int FilterLfoDepths = 0x63;
constexpr int Level = 0x65;
constexpr int BiasPoint = 0x67;
constexpr int BiasLevel = 0x68;
constexpr int AmpEnvVelocity = 0x6A;
constexpr int AmpEnvTimeSens = 0x6B;
constexpr int AmpEnvLevels = 0x72;
constexpr int AmpLfoDepths = 0x75;
constexpr int Pan = 0x77;
constexpr int PanKeyfollow = 0x78;
constexpr int AlternatePan = 0x7A;
constexpr int PanLfoDepths = 0x7B;
} // namespace tn

// Stored values that leave the sound alone.
constexpr std::uint8_t Full = 127;
constexpr std::uint8_t Middle = 64;       // pan centre, middle of a 0..127 range
constexpr std::uint8_t DepthZero = 63;    // -63..+63 stored 0..126
constexpr std::uint8_t SensZero = 7;      // the 0 of the fifteen-step lists
constexpr std::uint8_t VelocityZero = 50; // -100..+150 in steps of 2
constexpr std::uint8_t BendTwoSemitones = 2;
constexpr std::uint8_t OctaveZero = 3;
constexpr std::uint8_t GainZeroDb = 1;
constexpr std::uint8_t On = 1;
constexpr std::uint8_t PanContinuous = 1;
constexpr std::uint8_t LfoOffsetZero = 2;
constexpr std::uint8_t CoarseZero = 48;
constexpr std::uint8_t FineZero = 50;
constexpr std::uint8_t KeyfollowPlus100 = 12;
constexpr std::uint8_t KeyfollowZero = 5;
constexpr std::uint8_t PitchDepthZero = 12;
constexpr std::uint8_t LowPass = 1;
constexpr std::uint8_t InternalGroup = 0;
constexpr std::uint8_t InternalGroupA = 1;
constexpr std::uint8_t LowestVelocity = 1;
constexpr int ControllerDepthCount = 12;

struct Preset
{
    int offset;
    int count;
    std::uint8_t value;
};

constexpr Preset CommonPresets[] = {
    {addr::common::PatchLevel, 1, Full},        {addr::common::PatchPan, 1, Middle},
    {cm::BendUp, 1, BendTwoSemitones},          {cm::BendDown, 1, BendTwoSemitones},
    {addr::common::OctaveShift, 1, OctaveZero},
};

constexpr Preset TonePresets[] = {
    {addr::tone::WaveGroupType, 1, InternalGroup},
    {addr::tone::WaveGroupId, 1, InternalGroupA},
    {tn::WaveGain, 1, GainZeroDb},
    {tn::VelocityLower, 1, LowestVelocity},
    {tn::VelocityUpper, 1, Full},
    {tn::KeyUpper, 1, Full},
    {tn::ReceiveSwitches, 4, On},
    {tn::PanControl, 1, PanContinuous},
    {tn::Lfo1Rate, 1, Middle},
    {tn::Lfo1Offset, 1, LfoOffsetZero},
    {tn::Lfo2Rate, 1, Middle},
    {tn::Lfo2Offset, 1, LfoOffsetZero},
    {tn::CoarseTune, 1, CoarseZero},
    {tn::FineTune, 1, FineZero},
    {tn::PitchKeyfollow, 1, KeyfollowPlus100},
    {tn::PitchEnvDepth, 1, PitchDepthZero},
    {tn::PitchEnvVelocity, 1, VelocityZero},
    {tn::PitchEnvTimeSens, 3, SensZero},
    {tn::PitchEnvLevels, 6, DepthZero},
    {tn::FilterType, 1, LowPass},
    {tn::Cutoff, 1, Full},
    {tn::CutoffKeyfollow, 1, KeyfollowZero},
    {tn::ResonanceVelocity, 1, VelocityZero},
    {tn::FilterEnvDepth, 1, DepthZero},
    {tn::FilterEnvVelocity, 1, VelocityZero},
    {tn::FilterEnvTimeSens, 3, SensZero},
    {tn::FilterLfoDepths, 2, DepthZero},
    {tn::Level, 1, Full},
    {tn::BiasPoint, 1, Middle},
    {tn::BiasLevel, 1, SensZero},
    {tn::AmpEnvVelocity, 1, VelocityZero},
    {tn::AmpEnvTimeSens, 3, SensZero},
    {tn::AmpEnvLevels, 3, Full},
    {tn::AmpLfoDepths, 2, DepthZero},
    {tn::Pan, 1, Middle},
    {tn::PanKeyfollow, 1, SensZero},
    {tn::AlternatePan, 1, Middle},
    {tn::PanLfoDepths, 2, DepthZero},
    {addr::tone::OutputLevel, 1, Full},
};
} // namespace

void PatchImage::Initialise()
{
    bytes_.fill(0);
    neutral::writeEffects(bytes_.data() + addr::common::EffectType);
    for (const Preset &p : CommonPresets)
        for (int i = 0; i < p.count; ++i)
            set(0, p.offset + i, p.value);
    for (int i = 0; i < addr::PatchNameSize; ++i)
        set(0, addr::common::Name + i, std::uint8_t(InitialName[i]));
    for (int t = 1; t <= addr::ToneCount; ++t) {
        for (const Preset &p : TonePresets)
            for (int i = 0; i < p.count; ++i)
                set(t, p.offset + i, p.value);
        for (int c = 0; c < ControllerDepthCount; ++c)
            set(t, tn::ControllerDepth + 2 * c, DepthZero);
    }
    // One tone sounding is enough to hear what an edit does.
    set(1, addr::tone::Switch, On);
}

std::optional<ImagePlace> PatchImage::Locate(const addr::Address &adrs)
{
    const std::uint8_t area = adrs[0];
    if (area != addr::AreaTempPerformance && area != addr::AreaPerformancePart &&
        area != addr::AreaTempPatch)
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
