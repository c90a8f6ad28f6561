#pragma once
// Addresses, sizes and offsets of the synthesizer's parameter memory as the
// editor uses them. Every address is four 7-bit bytes, most significant first.

#include <array>
#include <cstdint>

namespace addr {

using Address = std::array<std::uint8_t, 4>;
using Size = std::array<std::uint8_t, 4>;

// First address byte: the memory area.
constexpr std::uint8_t AreaSystem = 0x00;
constexpr std::uint8_t AreaTempPerformance = 0x01;
constexpr std::uint8_t AreaPerformancePart = 0x02;
constexpr std::uint8_t AreaTempPatch = 0x03;
constexpr std::uint8_t AreaUser = 0x11;
constexpr std::uint8_t AreaCard = 0x21;
// USER and CARD performances (second byte 00..1F) and rhythm sets (40, 41).
constexpr std::uint8_t AreaUserPerformance = 0x10;
constexpr std::uint8_t AreaCardPerformance = 0x20;

// Second byte of area 02 for part 10: it holds the rhythm set, not a patch.
constexpr std::uint8_t RhythmPart = 0x09;
// Second byte of the first stored rhythm set in areas 10 and 20.
constexpr std::uint8_t FirstRhythmPlace = 0x40;
constexpr int PerformancePlaceCount = 32;
constexpr int RhythmPlaceCount = 2;

// Third address byte: the block inside a patch.
constexpr std::uint8_t BlockCommon = 0x00;
constexpr std::uint8_t BlockTone1 = 0x10;
constexpr std::uint8_t BlockTone4Odd = 0x17;
constexpr std::uint8_t LastSystemCommonBlock = 0x09;

constexpr int ToneCount = 4;
constexpr int SlotCount = 5;
constexpr int SlotSize = 131;
constexpr int ImageSize = SlotCount * SlotSize; // 655
constexpr int CommonSize = 0x48;                // 72
constexpr int ToneSize = 0x81;                  // 129
constexpr int PatchNameSize = 12;
constexpr int SystemCommonSize = 40;
constexpr int PerformanceCommonSize = 0x40; // 64, temporary performance common
constexpr int PerformancePartSize = 0x13;   // 19, one part of a performance
constexpr int PerformancePartCount = 16;
constexpr int RhythmCommonSize = 12;
constexpr int RhythmNoteSize = 0x3A; // 58
constexpr int FirstRhythmKey = 35;   // a note's block byte is its key
constexpr int LastRhythmKey = 98;
constexpr int RhythmNoteCount = LastRhythmKey - FirstRhythmKey + 1;
constexpr int RhythmPartNumber = RhythmPart + 1;
constexpr int PatchCount = 128; // slots of USER or CARD memory

// Offsets inside the common block.
namespace common {
constexpr std::uint8_t Name = 0x00;
constexpr std::uint8_t EffectType = 0x0C;
constexpr std::uint8_t ChorusLevel = 0x21;
constexpr std::uint8_t ReverbLevel = 0x28;
constexpr std::uint8_t TempoHigh = 0x2C;
constexpr std::uint8_t TempoLow = 0x2D;
constexpr std::uint8_t PatchLevel = 0x2E;
constexpr std::uint8_t PatchPan = 0x2F;
constexpr std::uint8_t AnalogFeel = 0x30;
constexpr std::uint8_t OctaveShift = 0x41;
constexpr std::uint8_t StretchTune = 0x42;
constexpr std::uint8_t VoicePriority = 0x43;
constexpr std::uint8_t Structure12 = 0x44;
constexpr std::uint8_t Booster12 = 0x45;
constexpr std::uint8_t Structure34 = 0x46;
constexpr std::uint8_t Booster34 = 0x47;
} // namespace common

// Offsets inside a tone block.
namespace tone {
constexpr std::uint8_t Switch = 0x00;
constexpr std::uint8_t WaveGroupType = 0x01;
constexpr std::uint8_t WaveGroupId = 0x02;
constexpr std::uint8_t WaveNumberHigh = 0x03;
constexpr std::uint8_t WaveNumberLow = 0x04;
constexpr std::uint8_t OutputAssign = 0x7D;
constexpr std::uint8_t OutputLevel = 0x7E;
constexpr std::uint8_t ChorusSend = 0x7F;
constexpr std::uint8_t ReverbSend = 0x80;
} // namespace tone

// Offsets inside the system common block.
namespace system {
constexpr std::uint8_t SoundMode = 0x00;
constexpr std::uint8_t ControlSource1 = 0x12;
constexpr std::uint8_t ControlSource2 = 0x13;
} // namespace system

// Block byte of part 1 inside a performance; part p sits at 0F + p.
constexpr std::uint8_t BlockPart1 = 0x10;

// Offsets inside the performance common block.
namespace performance {
constexpr std::uint8_t Name = 0x00;
constexpr std::uint8_t EffectSource = 0x0C;
constexpr std::uint8_t EffectType = 0x0D;
constexpr std::uint8_t ChorusLevel = 0x22;
constexpr std::uint8_t ReverbLevel = 0x29;
constexpr std::uint8_t TempoHigh = 0x2D;
constexpr std::uint8_t TempoLow = 0x2E;
constexpr std::uint8_t KeyRangeSwitch = 0x2F;
constexpr std::uint8_t VoiceReserve1 = 0x30; // one byte per part, 30..3F
constexpr int VoiceLimit = 64;               // voices the unit has in all
} // namespace performance

// Offsets inside a performance part block.
namespace part {
constexpr std::uint8_t ReceiveSwitch = 0x00;
constexpr std::uint8_t ReceiveChannel = 0x01;
constexpr std::uint8_t PatchGroupType = 0x02;
constexpr std::uint8_t PatchGroupId = 0x03;
constexpr std::uint8_t PatchNumberHigh = 0x04;
constexpr std::uint8_t PatchNumberLow = 0x05;
constexpr std::uint8_t Level = 0x06;
constexpr std::uint8_t Pan = 0x07;
constexpr std::uint8_t CoarseTune = 0x08;
constexpr std::uint8_t FineTune = 0x09;
constexpr std::uint8_t OutputAssign = 0x0A;
constexpr std::uint8_t OutputLevel = 0x0B;
constexpr std::uint8_t ChorusSend = 0x0C;
constexpr std::uint8_t ReverbSend = 0x0D;
constexpr std::uint8_t ReceiveProgramChange = 0x0E;
constexpr std::uint8_t ReceiveVolume = 0x0F;
constexpr std::uint8_t ReceiveHold1 = 0x10;
constexpr std::uint8_t KeyLower = 0x11;
constexpr std::uint8_t KeyUpper = 0x12;
} // namespace part

// Offsets inside a rhythm note block.
namespace note {
constexpr std::uint8_t Switch = 0x00;
constexpr std::uint8_t WaveGroupType = 0x01;
constexpr std::uint8_t WaveGroupId = 0x02;
constexpr std::uint8_t WaveNumberHigh = 0x03;
constexpr std::uint8_t WaveNumberLow = 0x04;
constexpr std::uint8_t MuteGroup = 0x07;
constexpr std::uint8_t SourceKey = 0x0C;
constexpr std::uint8_t ToneLevel = 0x29;
constexpr std::uint8_t TonePan = 0x33;
} // namespace note

// Sizes as written in a data request: 7 bits per byte.
constexpr Size RequestCommonSize{0x00, 0x00, 0x00, 0x48};
constexpr Size RequestToneSize{0x00, 0x00, 0x01, 0x01};
constexpr Size RequestNameSize{0x00, 0x00, 0x00, 0x0C};
constexpr Size RequestControlSourcesSize{0x00, 0x00, 0x00, 0x02};

// Block byte of tone n (1..4): 10, 12, 14, 16. The tone's 129th byte lives
// at the next (odd) block byte, because address bytes count in 7 bits.
constexpr std::uint8_t toneBlock(int tone)
{
    return std::uint8_t(BlockTone1 + 2 * (tone - 1));
}

// Block byte of whole-patch block k: 0 = common, 1..4 = tones.
constexpr std::uint8_t patchBlock(int k)
{
    return k == 0 ? BlockCommon : toneBlock(k);
}

// Size in bytes of whole-patch block k.
constexpr int blockSize(int k)
{
    return k == 0 ? CommonSize : ToneSize;
}

// 7-bit encoding of a byte count as used in requests (0x81 -> 00 00 01 01).
constexpr Size sizeBytes(int count)
{
    return Size{std::uint8_t((count >> 21) & 0x7F), std::uint8_t((count >> 14) & 0x7F),
                std::uint8_t((count >> 7) & 0x7F), std::uint8_t(count & 0x7F)};
}

// Decodes a 7-bit-per-byte quantity (address or size) into a plain number.
constexpr int fromSevenBit(const std::array<std::uint8_t, 4> &b)
{
    return (b[0] << 21) | (b[1] << 14) | (b[2] << 7) | b[3];
}

constexpr std::array<std::uint8_t, 4> toSevenBit(int v)
{
    return sizeBytes(v);
}

// The temporary performance: common 01 00 00 off, part p (1..16) 01 00 0F+p off.
constexpr Address performanceCommonAddress(int offset)
{
    return {AreaTempPerformance, 0x00, BlockCommon, std::uint8_t(offset)};
}
constexpr Address performancePartAddress(int part, int offset)
{
    return {AreaTempPerformance, 0x00, std::uint8_t(BlockPart1 - 1 + part), std::uint8_t(offset)};
}

// The rhythm set of part 10: common 02 09 00 off, the note of key k 02 09 k off.
constexpr Address rhythmCommonAddress(int offset)
{
    return {AreaPerformancePart, RhythmPart, BlockCommon, std::uint8_t(offset)};
}
constexpr Address rhythmNoteAddress(int key, int offset)
{
    return {AreaPerformancePart, RhythmPart, std::uint8_t(key), std::uint8_t(offset)};
}

} // namespace addr
