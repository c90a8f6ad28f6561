#pragma once
// The sending side the protocol and the hub need; the output port provides
// it, tests substitute a recorder.

#include <cstdint>

class MidiSender
{
public:
    virtual ~MidiSender() = default;
    virtual void SendShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // The bytes are copied; the caller may release its buffer on return.
    virtual void SendLongMsg(const std::uint8_t *buffer, int length) = 0;
};
