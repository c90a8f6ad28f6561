#pragma once

// An open input device; closing is destroying it. After the destructor has
// returned, the receiver is never called again.
class MidiInputConnection
{
public:
    virtual ~MidiInputConnection() = default;
};
