#pragma once
// Every parameter of the temporary performance: the 64-byte common block
// (name, effect, chorus, reverb, tempo, key range switch and the sixteen
// voice reserves) and the 19-byte block of each part. The part rows name
// the control of one strip; the strip of part p appends p to the name.

#include "core/parameterdef.h"

class PerformanceParams
{
public:
    // Common block offsets the screens treat apart from the table.
    static constexpr std::uint8_t EfxSource = 0x0C;
    static constexpr std::uint8_t EfxType = 0x0D;
    static constexpr std::uint8_t FirstEfxParameter = 0x0E;
    static constexpr std::uint8_t FirstVoiceReserve = 0x30;
    static constexpr int EfxParameterCount = 12;
    // Part block offsets.
    static constexpr std::uint8_t PatchGroup = 0x02;
    static constexpr std::uint8_t PatchNumber = 0x04;
    static constexpr std::uint8_t KeyLower = 0x11;
    static constexpr std::uint8_t KeyUpper = 0x12;

    static ParameterTable common();
    static ParameterTable part();
};
