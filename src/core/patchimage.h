#pragma once
// Byte-exact copy of the edited patch: one common block and four tone blocks,
// each in a slot of 131 bytes, laid out as the synthesizer stores them.

#include "core/addressmap.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

struct ImagePlace
{
    int slot = 0;   // 0 = common, 1..4 = tones
    int offset = 0; // 0..130 inside the slot
    int position() const { return slot * addr::SlotSize + offset; }
    bool operator==(const ImagePlace &) const = default;
};

class PatchImage
{
public:
    PatchImage() { Initialise(); }

    // Start-up contents: a neutral patch named "InitPatch   " whose every
    // byte lies inside its parameter's range: tone 1 on and the others off,
    // all on Int-A wave 1, levels full, pans centred, depths and
    // sensitivities at zero, full key and velocity ranges, tempo 120.
    void Initialise();

    // Where the first data byte of a message to this address belongs, or
    // nothing for addresses outside the patch areas (system, USER, CARD) or
    // with a block byte that names no slot.
    static std::optional<ImagePlace> Locate(const addr::Address &adrs);

    std::uint8_t at(int slot, int offset) const
    {
        return bytes_[std::size_t(slot * addr::SlotSize + offset)];
    }
    void set(int slot, int offset, std::uint8_t v)
    {
        bytes_[std::size_t(slot * addr::SlotSize + offset)] = v;
    }
    std::uint8_t &operator[](int position) { return bytes_[std::size_t(position)]; }
    std::uint8_t operator[](int position) const { return bytes_[std::size_t(position)]; }

    std::uint8_t common(int offset) const { return at(0, offset); }
    std::uint8_t tone(int tone, int offset) const { return at(tone, offset); }

    // The patch name as stored (12 characters).
    QByteArray name() const;

    // Composite values stored as two 4-bit pieces, high nibble first.
    int waveNumber(int tone) const;
    int tempo() const;

    const std::uint8_t *data() const { return bytes_.data(); }
    std::uint8_t *data() { return bytes_.data(); }
    const std::uint8_t *slotData(int slot) const { return bytes_.data() + slot * addr::SlotSize; }

    bool operator==(const PatchImage &) const = default;

private:
    std::array<std::uint8_t, addr::ImageSize> bytes_{};
};
