#pragma once
// Puts the simulator's answers onto a MIDI output connection, so that the
// virtual unit can sit behind a system MIDI port.

#include "midi/midibackend.h"

class OutputForwarder : public MidiReceiver
{
public:
    explicit OutputForwarder(MidiOutputConnection &out) : out_(out) {}
    void receiveShort(std::uint32_t packed, std::uint32_t) noexcept override;
    void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                      std::uint32_t) noexcept override;

private:
    MidiOutputConnection &out_;
};
