#pragma once
// The editing state every screen shares. One instance is created in main and
// handed to everyone who needs it by reference; plain values, all on the
// user-interface thread.

#include "core/addressmap.h"
#include "core/expansionslot.h"
#include "core/patchimage.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"
#include "core/sendguard.h"
#include "core/tonecopybuffer.h"

#include <QString>
#include <array>
#include <cstdint>

// What the screens edit: the temporary patch of Patch mode, the patch of a
// performance part, or the rhythm set that part 10 plays.
enum class EditMode
{
    Patch,
    Perform,
    Rhythm,
};

class EditState
{
public:
    static constexpr int DefaultUnitId = 17;
    static constexpr int MinUnitId = 17;
    static constexpr int MaxUnitId = 32;
    static constexpr int ExpansionSlotCount = 5; // P, A, B, C, D
    static constexpr int WaveNameCount = 256;

    PatchImage patchImage;
    // The patch as last opened, fetched or saved: what Compare plays, and
    // what the edited patch is measured against for the recovery file.
    PatchImage savedImage;
    // The temporary performance and the rhythm set of part 10, each in its
    // own buffer: their edits never reach the patch image.
    PerformanceImage performance;
    RhythmImage rhythm;
    // Each as last fetched or written into a USER place: what Compare plays
    // in Perform and Rhythm mode, and what the recovery file measures
    // against. Nothing of them is known until a fetch has brought it all.
    PerformanceImage savedPerformance;
    RhythmImage savedRhythm;

    // Start-up values of everything below (patch image initialised too).
    void reset();

    // The device byte on the wire.
    std::uint8_t deviceByte() const { return std::uint8_t(UnitId - 1); }

    int CurrentTone = 1;
    std::array<std::uint8_t, 2> EditPrefix{addr::AreaTempPatch, 0x00};
    bool SendLock = false;
    // The synthesizer plays the last opened, fetched or saved version for
    // comparison: no data set leaves until the edited patch is back.
    bool Comparing = false;
    bool PatchModified = false;
    bool MidiClosed = true;
    bool LogMessages = false;
    bool PlayNoteOn = false;
    std::uint8_t LastSentValue = 0;
    // Bytes sent to addresses the patch image does not hold, for SendGuard.
    SendGuard sentBytes;
    int UnitId = DefaultUnitId;
    std::array<std::uint8_t, addr::SystemCommonSize> SystemCommon{};
    std::array<std::uint8_t, addr::ToneCount> ToneWaveNumber{};
    std::array<ExpansionSlot, ExpansionSlotCount> Expansion{};
    std::array<QString, WaveNameCount> WaveNameTable{};
    // Section copy buffer of the tone screens (ToneCopyBuffer, BufferTone).
    ToneCopyBuffer toneCopyBuffer;

    // Patch mode addresses the temporary patch (03 00); Perform mode the
    // patch of part p (02 p-1); Rhythm mode the rhythm set of part 10
    // (02 09), which is no patch.
    EditMode editMode() const;
    // part 1..16 counts in Perform mode only; part 10 there, or a part
    // outside 1..16, is refused and changes nothing.
    bool setEditMode(EditMode mode, int part = 1);
    // The unit plays a performance: Perform or Rhythm mode.
    bool inPerformMode() const { return EditPrefix[0] == addr::AreaPerformancePart; }
    // Index 0..15 of the part edited (9 in Rhythm mode), 0 in Patch mode.
    int currentPart() const { return inPerformMode() ? EditPrefix[1] : 0; }

    // Four-byte address of a parameter of the edited patch.
    addr::Address commonAddress(int offset) const;
    addr::Address toneAddress(int tone, int offset) const;
};
