#pragma once

#include <cstddef>
#include <cstdint>

// An open output device; closing is destroying it. Sends throw
// MidiBackendError when the device fails.
class MidiOutputConnection
{
public:
    virtual ~MidiOutputConnection() = default;
    virtual void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // The bytes are copied before the call returns.
    virtual void sendLong(const std::uint8_t *bytes, std::size_t length) = 0;
};
