#pragma once
// The effect, chorus, reverb and tempo bytes of a neutral patch or
// performance. Both hold the same run of bytes, from the effect type up to
// the tempo; a performance has it one byte further up, behind its effect
// source.

#include <cstdint>

namespace neutral {

// Effect type through the low tempo nibble.
constexpr int EffectRunSize = 0x22;

// Writes the run from the effect type byte on: a flat stereo equaliser,
// no effect sends or control, a moderate chorus and hall reverb, 120 BPM.
void writeEffects(std::uint8_t *effectType);

} // namespace neutral
