#pragma once
// Byte-exact copy of the rhythm set that part 10 plays: its 12-byte common
// block (the name) and one 58-byte block for each of the keys 35..98, laid
// out as the synthesizer stores them. Kept apart from the patch image.

#include "core/addressmap.h"
#include "core/knownbytes.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <optional>

class RhythmImage
    : public KnownBytes<addr::RhythmCommonSize + addr::RhythmNoteCount * addr::RhythmNoteSize>
{
public:
    static constexpr int CommonSize = addr::RhythmCommonSize;
    static constexpr int NoteSize = addr::RhythmNoteSize;
    static constexpr int FirstKey = addr::FirstRhythmKey;
    static constexpr int LastKey = addr::LastRhythmKey;
    static constexpr int NoteCount = addr::RhythmNoteCount;

    RhythmImage() { Initialise(); }

    // A neutral rhythm set with every byte inside its range: each key plays
    // Int-A wave 1 at its own pitch, full level, centred, unfiltered, with
    // no mute group and no effect sends. Nothing of it counts as known.
    void Initialise();

    std::uint8_t common(int offset) const { return get(offset); }
    void setCommon(int offset, std::uint8_t value);
    // key 35..98
    std::uint8_t note(int key, int offset) const { return get(notePosition(key, offset)); }
    void setNote(int key, int offset, std::uint8_t value);

    // The name as stored (12 characters).
    QByteArray name() const;
    // The wave of a note, 0-based, from its two 4-bit pieces.
    int waveNumber(int key) const;

    static bool validKey(int key) { return key >= FirstKey && key <= LastKey; }
    // Raw access: the common bytes, then the notes from key 35 up.
    static int notePosition(int key, int offset)
    {
        return CommonSize + (key - FirstKey) * NoteSize + offset;
    }
    // Where a byte of the rhythm set of part 10 (02 09 block offset) lives
    // in the raw bytes; nothing for an address outside the blocks. The
    // block variant serves every place a rhythm set is stored in.
    static std::optional<int> Locate(const addr::Address &adrs);
    static std::optional<int> blockPosition(int block, int offset);
    // Size of the block that starts at block byte block (0 for none).
    static int blockSize(int block);
    // The block bytes in address order: common, then the keys 35..98.
    static QList<int> blocks();

    const std::uint8_t *noteData(int key) const { return data() + notePosition(key, 0); }
};
