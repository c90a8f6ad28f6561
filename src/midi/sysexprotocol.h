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

class EditRecorder;
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

    // The edit history, told of every data set before it lands; null keeps
    // no history.
    void setRecorder(EditRecorder *recorder) { recorder_ = recorder; }
    EditRecorder *recorder() const { return recorder_; }

    // One DT1 for adrs with count data bytes (copied on entry). Does nothing
    // while SendLock is set or while the synthesizer plays the compared
    // version (Comparing). Mirrors patch-area data into the patch image,
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
    // Puts bytes where the editor keeps what was sent to adrs (the patch
    // image, the performance common copy), without sending anything: what a
    // data set does to the editor's own memory. False when the editor keeps
    // nothing for that address.
    bool Store(const addr::Address &adrs, const std::uint8_t *data, int count);

    // One RQ1. Sets SendLock: the answer is parsed by parseIncoming, and the
    // refresh that follows clears it.
    void RequestData(const addr::Address &adrs, const addr::Size &size);

    // USER and CARD memory (areas 11 and 21) for the bank transfers. Their
    // answers never reach the image and their data sets are no edit of the
    // patch, so SendLock, PatchModified, the image and the sent-byte memory
    // stay as they are, and no edit note plays. Each logs and sends like the
    // two above; false, sending nothing, when MIDI is closed, when the
    // address is outside those areas or the message cannot be built.
    bool RequestMemory(const addr::Address &adrs, const addr::Size &size);
    bool SendMemory(const addr::Address &adrs, const std::uint8_t *data, int count);

    // Applies one received System Exclusive message (bytes[0..length)).
    // Only a DT1 for this unit (device byte UnitId-1 or 7Fh) with a correct
    // checksum is stored; everything else is ignored with a reason, and with
    // the log open its dump and the reason still appear. Does not touch
    // SendLock or the lamps: the caller sets SendLock and lights LedIn once
    // per notification, calls this once per queued message in arrival order,
    // and stops its loop when the result has stopNotification set (see
    // ParseResult) after counting the message as consumed.
    ParseResult parseIncoming(const std::uint8_t *bytes, int length);

    // Observers hear of every message parseIncoming stored, and of every
    // valid data set for USER or CARD memory. They must be removed before
    // they are destroyed.
    void addObserver(ParseObserver *observer);
    void removeObserver(ParseObserver *observer);

private:
    ParseResult parse(const std::uint8_t *bytes, int length);
    void tellMemoryData(const addr::Address &adrs, const std::uint8_t *data, int count);
    void logOut(const std::uint8_t *bytes, int length, int count);
    struct InLog;
    ParseResult storeBuffer(const addr::Address &adrs, const std::uint8_t *data, int count,
                            InLog &log);
    void storeSystem(const std::uint8_t *data, int count, int offset, ParseResult &result,
                     InLog &log);

    EditState &state_;
    InfoSink &info_;
    HubLink &hub_;
    MidiSender *sender_ = nullptr;
    EditRecorder *recorder_ = nullptr;
    std::vector<ParseObserver *> observers_;
};
