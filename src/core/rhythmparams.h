#pragma once
// Every parameter of a rhythm set: the 12-byte common block (its name) and
// the 58-byte block of each of its 64 notes. A note has one wave with its
// pitch, filter and amplifier envelopes, pan and outputs, and no LFO, key
// range or structure.

#include "core/parameterdef.h"

class RhythmParams
{
public:
    // Note block offsets the screens treat apart from the table.
    static constexpr std::uint8_t NoteSwitch = 0x00;
    static constexpr std::uint8_t WaveGroup = 0x01;
    static constexpr std::uint8_t WaveNumber = 0x03;

    static ParameterTable common();
    static ParameterTable note();
};
