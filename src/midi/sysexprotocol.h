#pragma once
// The two System Exclusive operations the screens use, SendDataSet and
// RequestData, and the parse of every System Exclusive message that arrives
// from the synthesizer. Runs on the user-interface thread only.

#include "core/addressmap.h"
#include "midi/parseresult.h"
#include "midi/sysexmessage.h"

#include <QString>
#include <cstdint>
#include <vector>

class EditState;
class InfoSink;
class HubLink;
class MidiSender;
class ParseObserver;

class SysexProtocol
{
public:
    SysexProtocol(EditState &state, InfoSink &info, HubLink &hub);

    // The hub's output port; null means nothing is handed on (the image
    // mirror and the log still happen).
    void setSender(MidiSender *sender) { sender_ = sender; }
    MidiSender *sender() const { return sender_; }

    // One DT1 for adrs with count data bytes (copied on entry). Does nothing
    // while SendLock is set. Mirrors patch-area data into the patch image,
    // temporary performance data into the performance buffer and data for
    // part 10's rhythm set into the rhythm buffer,
    // sets PatchModified, logs, sends (or shows "Midi Closed"), remembers a
    // single byte in LastSentValue and plays the edit note. A request that
    // cannot be sent as a valid message (count outside 0..135, a byte above
    // 7Fh) is refused without any effect.
    void SendDataSet(const addr::Address &adrs, const std::uint8_t *data, int count);
    void SendDataSet(const addr::Address &adrs, std::uint8_t value)
    {
        SendDataSet(adrs, &value, 1);
    }
    // What every parameter handler calls: one data set, unless value equals
    // the parameter's own current byte (SendGuard). True when it was sent.
    bool SendParameter(const addr::Address &adrs, std::uint8_t value);

    // One RQ1. Sets SendLock: the answer is parsed by parseIncoming, and the
    // refresh that follows clears it.
    void RequestData(const addr::Address &adrs, const addr::Size &size);

    // Applies one received System Exclusive message (bytes[0..length)).
    // Only a DT1 for this unit (device byte UnitId-1 or 7Fh) with a correct
    // checksum is stored; everything else is ignored with a reason, and with
    // the log open its dump and the reason still appear. Does not touch
    // SendLock or the lamps: the caller sets SendLock and lights LedIn once
    // per notification, calls this once per queued message in arrival order,
    // and stops its loop when the result has stopNotification set (see
    // ParseResult) after counting the message as consumed.
    ParseResult parseIncoming(const std::uint8_t *bytes, int length);

    // Observers hear of every message parseIncoming stored. They must be
    // removed before they are destroyed.
    void addObserver(ParseObserver *observer);
    void removeObserver(ParseObserver *observer);

private:
    ParseResult parse(const std::uint8_t *bytes, int length);
    struct InLog;
    ParseResult storeBuffer(const addr::Address &adrs, const std::uint8_t *data, int count,
                            InLog &log);
    void storeSystem(const std::uint8_t *data, int count, int offset, ParseResult &result,
                     InLog &log);

    EditState &state_;
    InfoSink &info_;
    HubLink &hub_;
    MidiSender *sender_ = nullptr;
    std::vector<ParseObserver *> observers_;
};
