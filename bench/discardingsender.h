#pragma once
// An output port that takes every message and does nothing with it, so a
// benchmark times the program and not a device.

#include "midi/midisender.h"

#include <benchmark/benchmark.h>

class DiscardingSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        benchmark::DoNotOptimize(buffer);
        benchmark::DoNotOptimize(length);
    }
};
