#include "mymidievent.h"

namespace {
constexpr unsigned ByteMask = 0xFF;
constexpr unsigned Data1Shift = 8;
constexpr unsigned Data2Shift = 16;
} // namespace

TMyMidiEvent TMyMidiEvent::shortMessage(std::uint32_t packed, std::uint32_t time)
{
    TMyMidiEvent event;
    event.Status = std::uint8_t(packed & ByteMask);
    event.Data1 = std::uint8_t((packed >> Data1Shift) & ByteMask);
    event.Data2 = std::uint8_t((packed >> Data2Shift) & ByteMask);
    event.Time = time;
    return event;
}

TMyMidiEvent TMyMidiEvent::sysex(const std::uint8_t *bytes, std::size_t length, std::uint32_t time)
{
    TMyMidiEvent event;
    event.Status = SysexStatus;
    event.Time = time;
    event.SysexLen = std::uint16_t(length);
    if (length > 0)
        event.SysexData.assign(bytes, bytes + length);
    return event;
}
