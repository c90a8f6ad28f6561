#include "core/tonecopybuffer.h"

#include "core/patchimage.h"

bool ToneCopyBuffer::validRange(int first, int last)
{
    return first >= 0 && first <= last && last < addr::SlotSize;
}

void ToneCopyBuffer::copy(const PatchImage &image, int tone, int first, int last)
{
    if (!validRange(first, last) || tone < 1 || tone > addr::ToneCount)
        return;
    for (int o = first; o <= last; ++o) {
        data_[std::size_t(o)] = image.tone(tone, o);
        source_[std::size_t(o)] = std::uint8_t(tone);
    }
    BufferTone = tone;
}

bool ToneCopyBuffer::holds(int first, int last) const
{
    if (!validRange(first, last))
        return false;
    for (int o = first; o <= last; ++o)
        if (source_[std::size_t(o)] == NotCopied)
            return false;
    return true;
}

int ToneCopyBuffer::sourceTone(int first) const
{
    return validRange(first, first) ? source_[std::size_t(first)] : NotCopied;
}

std::vector<std::uint8_t> ToneCopyBuffer::bytes(int first, int last) const
{
    if (!validRange(first, last))
        return {};
    return {data_.begin() + first, data_.begin() + last + 1};
}
