#pragma once
// Makes everything a load sends or stores one undo step: the patch image (or
// the performance, the rhythm set, or the given run of bytes) as it was when the group opened,
// against how it is when the step is closed. Groups nest; only the outermost one counts. With no
// history behind the protocol (tools, most tests) it does nothing.
//
//     const UndoGroup group(protocol, QStringLiteral("Copy Tone"));

#include "midi/editrecorder.h"
#include "midi/sysexprotocol.h"

class UndoGroup
{
public:
    UndoGroup(SysexProtocol &protocol, const QString &label) : recorder_(protocol.recorder())
    {
        if (recorder_)
            recorder_->beginGroup(label, EditRecorder::Region{});
    }
    UndoGroup(SysexProtocol &protocol, const QString &label, const addr::Address &address,
              int count)
        : recorder_(protocol.recorder())
    {
        if (recorder_)
            recorder_->beginGroup(label, EditRecorder::Region{false, address, count});
    }
    // The whole temporary performance or rhythm set.
    UndoGroup(SysexProtocol &protocol, const QString &label, EditRecorder::Buffer buffer)
        : recorder_(protocol.recorder())
    {
        if (recorder_)
            recorder_->beginGroup(label, EditRecorder::Region{true, {}, 0, buffer});
    }
    ~UndoGroup()
    {
        if (recorder_)
            recorder_->endGroup();
    }
    UndoGroup(const UndoGroup &) = delete;
    UndoGroup &operator=(const UndoGroup &) = delete;

private:
    EditRecorder *recorder_;
};
