#pragma once
// What the incoming parse did with one System Exclusive message.

#include <QString>

struct ParseResult
{
    enum class Outcome
    {
        Stored,  // data bytes were written to one of the editor's buffers
        Ignored, // nothing was written; reason says why
    };
    enum class Target
    {
        None,
        Slot,            // a slot of the patch image (slot 0..4)
        System,          // the system common copy
        Performance,     // the temporary performance's common block
        PerformancePart, // a part block of the temporary performance (block = part)
        RhythmCommon,    // the common block of part 10's rhythm set
        RhythmNote,      // a note block of the rhythm set (block = key)
    };

    Outcome outcome = Outcome::Ignored;
    Target target = Target::None;
    int slot = -1;  // for Target::Slot
    int block = -1; // part 1..16 or key 35..98 for the targets that name one
    int offset = 0; // first byte written, inside the slot or block
    int count = 0;  // bytes written
    QString reason; // why the message, or its unwritten rest, was ignored

    // The message ran past the end of the system common block: bytes before
    // the end may have been stored (outcome/count tell), the rest was dropped.
    // The caller stops handling its current notification here, but must treat
    // this message as consumed and make sure the remaining queued events are
    // handled (re-post the notification) so that the queue never stalls.
    bool stopNotification = false;

    bool stored() const { return outcome == Outcome::Stored; }
};
