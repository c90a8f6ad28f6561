#pragma once

#include <cstddef>
#include <cstdint>

// Receives what an open input device delivers. Called on the backend's own
// thread (the MIDI callback thread), one call at a time per connection: the
// receiver must not allocate, lock or touch anything but its ring.
class MidiReceiver
{
public:
    virtual ~MidiReceiver() = default;
    // status | data1 << 8 | data2 << 16
    virtual void receiveShort(std::uint32_t packed, std::uint32_t timeMs) noexcept = 0;
    // One complete System Exclusive message, F0 to F7.
    virtual void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                              std::uint32_t timeMs) noexcept = 0;
};
