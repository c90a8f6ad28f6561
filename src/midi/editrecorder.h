#pragma once
// What the protocol tells whoever keeps the edit history. SendDataSet calls
// dataSetSending for every data set that will go out, before its bytes land
// in the image, so the bytes still there are the ones the edit replaces.
// Loads that change more than one data set's worth (a file opened, a fetch,
// a tone copy) open a group around their work; see UndoGroup.

#include "core/addressmap.h"

#include <QString>
#include <cstdint>

class EditRecorder
{
public:
    virtual ~EditRecorder() = default;

    virtual void dataSetSending(const addr::Address &adrs, const std::uint8_t *data, int count) = 0;

    // The buffers a group can watch whole.
    enum class Buffer
    {
        Patch,
        Performance, // the temporary performance
        Rhythm,      // part 10's rhythm set
    };
    // A region a group watches: a whole buffer, or a run of count bytes
    // from address.
    struct Region
    {
        bool wholeImage = true;
        addr::Address address{};
        int count = 0;
        Buffer buffer = Buffer::Patch;
    };
    virtual void beginGroup(const QString &label, const Region &region) = 0;
    virtual void endGroup() = 0;
};
