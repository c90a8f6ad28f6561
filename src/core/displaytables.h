#pragma once
// The short texts some screens show instead of a stored number: note names,
// controller names, pan positions, damping frequencies and pitch depths.
// Each table is indexed directly by the stored value, so showing a value is
// one lookup. The tables never change once built.

#include <QString>
#include <array>

class DisplayTables
{
public:
    static constexpr int NoteCount = 128;
    static constexpr int ControllerCount = 98;
    static constexpr int PanCount = 128;
    static constexpr int HfDampCount = 18;
    static constexpr int PitchDepthCount = 31;

    // Built on first use, shared by every screen for the life of the program.
    static const DisplayTables &instance();

    DisplayTables();

    std::array<QString, NoteCount> NoteNames;
    std::array<QString, ControllerCount> ControllerNames;
    std::array<QString, PanCount> PanTexts;
    std::array<QString, HfDampCount> HfDampTexts;
    std::array<QString, PitchDepthCount> PitchDepthTexts;
};
