#pragma once
// Sizes and offsets of the parts of the synthesizer's memory that only the
// virtual unit needs; the editor's own addresses live in core/addressmap.h.

#include <chrono>
#include <cstdint>

namespace simlayout {

constexpr int SystemCommonSize = 0x28;
constexpr int PerformanceCommonSize = 0x40;
constexpr int PerformancePartCount = 16;

// Block bytes of the whole-patch blocks as 7-bit address arithmetic sees them:
// a tone block starts at its even block byte, offset 00.
constexpr int BlockShift = 7;
constexpr int PartShift = 14;
constexpr int AreaShift = 21;

// System common offsets the unit itself initialises.
namespace system {
constexpr std::uint8_t MasterTune = 0x01;
constexpr std::uint8_t EffectSwitch = 0x08;
constexpr std::uint8_t ChorusSwitch = 0x09;
constexpr std::uint8_t ReverbSwitch = 0x0A;
constexpr std::uint8_t PatchReceiveChannel = 0x0E;
} // namespace system

// Sound modes stored at system common offset 00.
constexpr std::uint8_t SoundModePerform = 0;
constexpr std::uint8_t SoundModePatch = 1;

// MIDI on a cable: 31,250 baud, one start, eight data and one stop bit.
constexpr std::chrono::microseconds ByteTime{320};

} // namespace simlayout
