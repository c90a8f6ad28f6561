#pragma once
// Someone who wants to know what the incoming parse stored, for instance a
// patch fetch that counts the blocks that have arrived. Called on the
// user-interface thread, right after the bytes were stored.

#include "midi/parseresult.h"

class ParseObserver
{
public:
    virtual ~ParseObserver() = default;
    virtual void parsedIncoming(const ParseResult &result) = 0;
};
