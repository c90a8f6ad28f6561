#include "sim/patchmemory.h"

#include <algorithm>

namespace {

// Offsets that the initial patch sets away from zero. Values are stored
// values: depths are centred at 63, sensitivities at their zero step.
namespace cm {
constexpr int EffectOutputLevel = 0x1A;
constexpr int EffectDepth1 = 0x1E;
constexpr int EffectDepth2 = 0x20;
constexpr int ChorusRate = 0x22;
constexpr int ChorusDepth = 0x23;
constexpr int ReverbType = 0x27;
constexpr int ReverbTime = 0x29;
constexpr int ReverbDamp = 0x2A;
constexpr int BendUp = 0x31;
constexpr int BendDown = 0x32;
} // namespace cm

namespace tn {
constexpr int WaveGain = 0x05;
constexpr int VelocityLower = 0x0C;
constexpr int VelocityUpper = 0x0D;
constexpr int KeyUpper = 0x0F;
constexpr int ReceiveSwitches = 0x10; // damper, volume, hold-1, bender
constexpr int ReceiveSwitchCount = 4;
constexpr int PanControl = 0x14;
constexpr int ControllerFirst = 0x15; // destination, depth pairs
constexpr int ControllerPairs = 12;
constexpr int Lfo1 = 0x2D;
constexpr int Lfo2 = 0x35;
constexpr int LfoRate = 2;        // inside an LFO
constexpr int LfoLevelOffset = 3; // inside an LFO
constexpr int CoarseTune = 0x3D;
constexpr int FineTune = 0x3E;
constexpr int PitchKeyfollow = 0x40;
constexpr int PitchEnvDepth = 0x41;
constexpr int PitchEnvVelocity = 0x42;
constexpr int PitchEnvTimeSens = 0x43; // three sensitivity steps
constexpr int PitchEnvLevels = 0x4A;   // four levels and two LFO depths
constexpr int FilterType = 0x50;
constexpr int Cutoff = 0x51;
constexpr int CutoffKeyfollow = 0x52;
constexpr int ResonanceVelocity = 0x54;
constexpr int FilterEnvDepth = 0x55;
constexpr int FilterEnvVelocity = 0x57;
constexpr int FilterEnvTimeSens = 0x58; // three sensitivity steps
constexpr int FilterLfoDepths = 0x63;
constexpr int Level = 0x65;
constexpr int BiasPoint = 0x67;
constexpr int BiasLevel = 0x68;
constexpr int AmpEnvVelocity = 0x6A;
constexpr int AmpEnvTimeSens = 0x6B; // three sensitivity steps
constexpr int AmpEnvLevels = 0x72;   // three levels
constexpr int AmpLfoDepths = 0x75;
constexpr int Pan = 0x77;
constexpr int PanKeyfollow = 0x78;
constexpr int AlternatePan = 0x7A;
constexpr int PanLfoDepths = 0x7B;
} // namespace tn

constexpr std::uint8_t Centre = 63;       // -63..+63 stored 0..126
constexpr std::uint8_t SensZero = 7;      // -100..+100 in 15 steps
constexpr std::uint8_t VelocityZero = 50; // -100..+150 in steps of 2
constexpr std::uint8_t PanCentre = 64;
constexpr std::uint8_t Full = 127;
constexpr std::uint8_t DefaultTempo = 120;
constexpr std::uint8_t OctaveZero = 3;
constexpr std::uint8_t Hall1 = 4;
constexpr std::uint8_t DampBypass = 17;
constexpr std::uint8_t BendRange = 2;
constexpr std::uint8_t GainZeroDb = 1;
constexpr std::uint8_t PanContinuous = 1;
constexpr std::uint8_t LfoRateMiddle = 64;
constexpr std::uint8_t LfoOffsetZero = 2;
constexpr std::uint8_t CoarseZero = 48;
constexpr std::uint8_t FineZero = 50;
constexpr std::uint8_t KeyfollowPlus100 = 12;
constexpr std::uint8_t KeyfollowZero = 5;
constexpr std::uint8_t PitchDepthZero = 12;
constexpr std::uint8_t LowPass = 1;
constexpr std::uint8_t InternalGroupA = 1;
constexpr std::uint8_t ChorusRateDefault = 8;
constexpr int TimeSensCount = 3;
constexpr int PitchLevelCount = 6;
constexpr int AmpLevelCount = 3;
constexpr int DepthPairCount = 2;

template <std::size_t N>
void fill(std::array<std::uint8_t, N> &b, int from, int count, std::uint8_t v)
{
    std::fill_n(b.begin() + from, count, v);
}

void initCommon(std::array<std::uint8_t, addr::CommonSize> &c)
{
    // Effect type 0, the stereo equaliser, flat: the editor starts from the
    // same bytes.
    constexpr std::uint8_t FlatEq[] = {0, 15, 1, 15, 7, 2, 15, 12, 2, 15, Full, 0};
    std::copy(std::begin(FlatEq), std::end(FlatEq), c.begin() + addr::common::EffectType + 1);
    c[cm::EffectOutputLevel] = Full;
    c[cm::EffectDepth1] = Centre;
    c[cm::EffectDepth2] = Centre;
    c[addr::common::ChorusLevel] = PanCentre;
    c[cm::ChorusRate] = ChorusRateDefault;
    c[cm::ChorusDepth] = PanCentre;
    c[cm::ReverbType] = Hall1;
    c[addr::common::ReverbLevel] = PanCentre;
    c[cm::ReverbTime] = PanCentre;
    c[cm::ReverbDamp] = DampBypass;
    c[addr::common::TempoHigh] = DefaultTempo / 16;
    c[addr::common::TempoLow] = DefaultTempo % 16;
    c[addr::common::PatchLevel] = Full;
    c[addr::common::PatchPan] = PanCentre;
    c[cm::BendUp] = BendRange;
    c[cm::BendDown] = BendRange;
    c[addr::common::OctaveShift] = OctaveZero;
}

void initTone(std::array<std::uint8_t, addr::ToneSize> &t, bool on)
{
    t[addr::tone::Switch] = on ? 1 : 0;
    t[addr::tone::WaveGroupId] = InternalGroupA;
    t[tn::WaveGain] = GainZeroDb;
    t[tn::VelocityLower] = 1;
    t[tn::VelocityUpper] = Full;
    t[tn::KeyUpper] = Full;
    fill(t, tn::ReceiveSwitches, tn::ReceiveSwitchCount, 1);
    t[tn::PanControl] = PanContinuous;
    for (int p = 0; p < tn::ControllerPairs; ++p)
        t[std::size_t(tn::ControllerFirst + 2 * p + 1)] = Centre;
    for (int lfo : {tn::Lfo1, tn::Lfo2}) {
        t[std::size_t(lfo + tn::LfoRate)] = LfoRateMiddle;
        t[std::size_t(lfo + tn::LfoLevelOffset)] = LfoOffsetZero;
    }
    t[tn::CoarseTune] = CoarseZero;
    t[tn::FineTune] = FineZero;
    t[tn::PitchKeyfollow] = KeyfollowPlus100;
    t[tn::PitchEnvDepth] = PitchDepthZero;
    t[tn::PitchEnvVelocity] = VelocityZero;
    fill(t, tn::PitchEnvTimeSens, TimeSensCount, SensZero);
    fill(t, tn::PitchEnvLevels, PitchLevelCount, Centre);
    t[tn::FilterType] = LowPass;
    t[tn::Cutoff] = Full;
    t[tn::CutoffKeyfollow] = KeyfollowZero;
    t[tn::ResonanceVelocity] = VelocityZero;
    t[tn::FilterEnvDepth] = Centre;
    t[tn::FilterEnvVelocity] = VelocityZero;
    fill(t, tn::FilterEnvTimeSens, TimeSensCount, SensZero);
    fill(t, tn::FilterLfoDepths, DepthPairCount, Centre);
    t[tn::Level] = Full;
    t[tn::BiasPoint] = PanCentre;
    t[tn::BiasLevel] = SensZero;
    t[tn::AmpEnvVelocity] = VelocityZero;
    fill(t, tn::AmpEnvTimeSens, TimeSensCount, SensZero);
    fill(t, tn::AmpEnvLevels, AmpLevelCount, Full);
    fill(t, tn::AmpLfoDepths, DepthPairCount, Centre);
    t[tn::Pan] = PanCentre;
    t[tn::PanKeyfollow] = SensZero;
    t[tn::AlternatePan] = PanCentre;
    fill(t, tn::PanLfoDepths, DepthPairCount, Centre);
    t[addr::tone::OutputLevel] = Full;
}

} // namespace

PatchMemory PatchMemory::initial(const QByteArray &name)
{
    PatchMemory p;
    initCommon(p.common);
    const QByteArray padded =
        name.left(addr::PatchNameSize).leftJustified(addr::PatchNameSize, ' ');
    std::copy(padded.begin(), padded.end(), p.common.begin() + addr::common::Name);
    for (int t = 0; t < addr::ToneCount; ++t)
        initTone(p.tones[std::size_t(t)], t == 0);
    return p;
}

QByteArray PatchMemory::name() const
{
    return QByteArray(reinterpret_cast<const char *>(common.data()) + addr::common::Name,
                      addr::PatchNameSize);
}
