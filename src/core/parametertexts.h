#pragma once
// The value texts of the performance and rhythm parameters that show a word
// or a scaled number instead of their stored byte: entry k is the text of
// stored value k. Built once, shared by every screen and never changed.

#include <QString>
#include <QStringList>
#include <cstdint>

class ParameterTexts
{
public:
    enum class List : std::uint8_t
    {
        None,
        Notes,            // C-1 .. G9
        HfDamp,           // 200 Hz .. 8000 Hz, BYPASS
        PitchDepth,       // random pitch depth in cents
        VelocitySens,     // -100 .. +150 in steps of 2
        VelocityTimeSens, // -100 .. +100 in 15 steps
        EfxSource,        // the performance's own effect or a part's
        EfxType,          // the 40 effect types
        EfxOutput,        // MIX, Out 1, Out 2
        ControlSource,    // effect control sources
        ChorusOutput,     // MIX, REV, M+R
        ReverbType,
        PartOutput,   // MIX, EFX, Out 1, Out 2, PATCH
        ToneOutput,   // MIX, EFX, Out 1, Out 2
        WaveGain,     // -6 .. +12 dB
        MuteGroup,    // OFF, 1 .. 31
        EnvelopeMode, // NO-SUS, SUSTAIN
        PanControl,   // OFF, CONTINUOUS, KEY-ON
        FilterType,   // OFF, LPF, BPF, HPF, PKG
    };

    static const QStringList &texts(List list);
    // The text of stored value v, or v as a number when the list has none.
    static QString text(List list, int v);
};
