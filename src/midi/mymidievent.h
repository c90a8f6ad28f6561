#pragma once
// One received MIDI message as the input port hands it to its reader, who
// owns it. A System Exclusive message has Status F0, Data1 = Data2 = 0 and
// its complete bytes (F0 ... F7) in SysexData; a short message has no bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

class TMyMidiEvent
{
public:
    static constexpr std::uint8_t SysexStatus = 0xF0;

    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    // Milliseconds since the port started receiving.
    std::uint32_t Time = 0;
    // 0 for a short message; may also be 0 for an empty System Exclusive.
    std::uint16_t SysexLen = 0;
    std::vector<std::uint8_t> SysexData;

    bool isSysex() const { return Status == SysexStatus; }

    static TMyMidiEvent shortMessage(std::uint32_t packed, std::uint32_t time);
    static TMyMidiEvent sysex(const std::uint8_t *bytes, std::size_t length, std::uint32_t time);
};
