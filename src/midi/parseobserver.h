#pragma once
// Someone who wants to know what the incoming parse stored, for instance a
// patch fetch that counts the blocks that have arrived. Called on the
// user-interface thread, right after the bytes were stored.

#include "core/addressmap.h"
#include "midi/parseresult.h"

#include <cstdint>

class ParseObserver
{
public:
    virtual ~ParseObserver() = default;
    virtual void parsedIncoming(const ParseResult &result) = 0;
    // A valid data set for USER or CARD memory (areas 11 and 21), which the
    // editor never stores: whoever fetched those places takes the bytes.
    // data is valid only during the call. Told before parsedIncoming would
    // be, which for these areas it never is.
    virtual void memoryDataSet(const addr::Address &adrs, const std::uint8_t *data, int count)
    {
        (void)adrs;
        (void)data;
        (void)count;
    }
};
