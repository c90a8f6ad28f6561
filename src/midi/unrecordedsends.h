#pragma once
// Data sets that are no edits (Compare playing the saved version and
// bringing the edited one back) leave no trace in the edit history while
// one of these lives.

#include "midi/sysexprotocol.h"

class UnrecordedSends
{
public:
    explicit UnrecordedSends(SysexProtocol &protocol)
        : protocol_(protocol), recorder_(protocol.recorder())
    {
        protocol_.setRecorder(nullptr);
    }
    ~UnrecordedSends() { protocol_.setRecorder(recorder_); }
    UnrecordedSends(const UnrecordedSends &) = delete;
    UnrecordedSends &operator=(const UnrecordedSends &) = delete;

private:
    SysexProtocol &protocol_;
    EditRecorder *recorder_;
};
