#pragma once
// Cuts a raw MIDI byte stream, read in pieces of any size, into complete
// System Exclusive messages. Real-time bytes inside a message are skipped as
// a MIDI receiver skips them; any other status byte ends the message
// unfinished, and it is dropped. A message growing past the limit is dropped
// too, so a stream without F7 cannot eat the memory.

#include <QByteArray>
#include <QList>

class SysexStream
{
public:
    // Longest message kept, F0 and F7 included.
    static constexpr qsizetype DefaultLimit = 64 * 1024;

    explicit SysexStream(qsizetype limit = DefaultLimit) : limit_(limit) {}

    // The messages completed by these bytes, in order.
    QList<QByteArray> feed(const char *bytes, qsizetype length);

    // Messages cut short or too long, so far.
    int dropped() const { return dropped_; }

private:
    QByteArray current_;
    bool inside_ = false;
    int dropped_ = 0;
    qsizetype limit_;
};
