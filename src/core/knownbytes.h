#pragma once
// The bytes of a buffer that mirrors part of the synthesizer's memory, and
// which of them are known to be the unit's: received from it, or mirrored
// from a data set sent to it. A parameter nobody has seen yet is then always
// sent rather than skipped as unchanged.

#include <array>
#include <bitset>
#include <cstdint>

template <int N> class KnownBytes
{
public:
    static constexpr int Size = N;

    const std::uint8_t *data() const { return bytes_.data(); }
    std::uint8_t *data() { return bytes_.data(); }

    bool known(int position) const { return known_.test(std::size_t(position)); }
    void markKnown(int position, int count)
    {
        for (int i = position < 0 ? 0 : position; i < position + count && i < N; ++i)
            known_.set(std::size_t(i));
    }
    void forget() { known_.reset(); }
    bool allKnown() const { return known_.all(); }

    // Compares the bytes only.
    bool operator==(const KnownBytes &other) const { return bytes_ == other.bytes_; }

protected:
    // Writes one byte and counts it as known.
    void put(int position, std::uint8_t value)
    {
        bytes_[std::size_t(position)] = value;
        known_.set(std::size_t(position));
    }
    std::uint8_t get(int position) const { return bytes_[std::size_t(position)]; }

    std::array<std::uint8_t, N> bytes_{};
    std::bitset<N> known_;
};
