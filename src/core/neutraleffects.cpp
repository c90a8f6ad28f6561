#include "core/neutraleffects.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::uint8_t Full = 127;
constexpr std::uint8_t Middle = 64;
constexpr std::uint8_t DepthZero = 63;  // -63..+63 stored 0..126
constexpr std::uint8_t EqGainZero = 15; // -15..+15 dB
constexpr std::uint8_t Eq200Hz = 0;
constexpr std::uint8_t Eq8000Hz = 1;
constexpr std::uint8_t Eq1000Hz = 7;
constexpr std::uint8_t Eq3150Hz = 12;
constexpr std::uint8_t EqWidth2 = 2;
constexpr std::uint8_t StereoEq = 0;
constexpr std::uint8_t Mix = 0;
constexpr std::uint8_t Off = 0;
constexpr std::uint8_t ChorusRateSlow = 8;
constexpr std::uint8_t Hall1 = 4;
constexpr std::uint8_t DampBypass = 17;
constexpr int DefaultTempo = 120;
constexpr int NibbleBits = 4;
constexpr int NibbleMask = 0x0F;

constexpr std::array<std::uint8_t, neutral::EffectRunSize> Run{
    StereoEq,
    // The twelve equaliser parameters: both shelves and peaks flat.
    Eq200Hz, EqGainZero, Eq8000Hz, EqGainZero, Eq1000Hz, EqWidth2, EqGainZero, Eq3150Hz, EqWidth2,
    EqGainZero, Full, Off,
    // Output assign, output level, chorus and reverb sends.
    Mix, Full, Off, Off,
    // Two control sources with their depths.
    Off, DepthZero, Off, DepthZero,
    // Chorus: level, rate, depth, pre-delay, feedback, output.
    Middle, ChorusRateSlow, Middle, Off, Off, Mix,
    // Reverb: type, level, time, damping, feedback.
    Hall1, Middle, Middle, DampBypass, Off,
    // Tempo, two nibbles.
    std::uint8_t(DefaultTempo >> NibbleBits), std::uint8_t(DefaultTempo &NibbleMask)};
} // namespace

void neutral::writeEffects(std::uint8_t *effectType)
{
    std::copy(Run.begin(), Run.end(), effectType);
}
