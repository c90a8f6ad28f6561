#pragma once
// Byte-exact copy of the temporary performance: the common block and the
// blocks of its 16 parts, laid out as the synthesizer stores them. Kept
// apart from the patch image: nothing of a performance belongs in a patch.

#include "core/addressmap.h"
#include "core/knownbytes.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <optional>

class PerformanceImage : public KnownBytes<addr::PerformanceCommonSize +
                                           addr::PerformancePartCount * addr::PerformancePartSize>
{
public:
    static constexpr int CommonSize = addr::PerformanceCommonSize;
    static constexpr int PartSize = addr::PerformancePartSize;
    static constexpr int PartCount = addr::PerformancePartCount;

    PerformanceImage() { Initialise(); }

    // A neutral performance with every byte inside its range: part p plays
    // USER patch p on channel p at full level, centred, untransposed, over
    // the whole keyboard; no voices reserved; the effect a flat equaliser.
    // Nothing of it counts as known.
    void Initialise();

    std::uint8_t common(int offset) const { return get(offset); }
    void setCommon(int offset, std::uint8_t value);
    // part 1..16
    std::uint8_t part(int part, int offset) const { return get(partPosition(part, offset)); }
    void setPart(int part, int offset, std::uint8_t value);

    // The name as stored (12 characters).
    QByteArray name() const;
    // Values sent as two 4-bit pieces, high nibble first.
    int tempo() const;
    int patchNumber(int part) const;

    // Voices reserved by all 16 parts, and the most that part may reserve
    // with the others as they are, so that the sum stays within the unit's
    // 64 voices.
    int voiceReserveSum() const;
    int maxVoiceReserve(int part) const;

    // Raw access: common bytes first, then part 1 .. part 16.
    static int partPosition(int part, int offset)
    {
        return CommonSize + (part - 1) * PartSize + offset;
    }
    // Where a byte of the temporary performance (01 00 block offset) lives
    // in the raw bytes; nothing for an address outside the blocks. The
    // block variant serves every place a performance is stored in.
    static std::optional<int> Locate(const addr::Address &adrs);
    static std::optional<int> blockPosition(int block, int offset);
    // Size of the block that starts at block byte block (0 for none).
    static int blockSize(int block);
    // The block bytes in address order: common, then parts 1..16.
    static QList<int> blocks();

    const std::uint8_t *partData(int part) const { return data() + partPosition(part, 0); }

    bool commonKnown(int offset) const { return known(offset); }
};
