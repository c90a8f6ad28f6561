#pragma once
// Whole-patch transfers between the patch image and the synthesizer: fetch
// the edited patch, send it back, or write it into a USER or CARD place.
// Block by block (common, tones 1..4), one message each, with a pause after
// every block. Used by the main window and by tessiva-cli; runs on the
// user-interface thread.
//
// A fetch checks that every block arrived. The answers are parsed by whoever
// reads the input port (the hub); this object only listens to what the parse
// stored. A block still missing once the unit has gone quiet is asked for
// again on its own, because some units drop a request that comes in while
// they are still answering. A fetch nobody answers ends after a time-out, so
// that SendLock never stays set for good.

#include "core/addressmap.h"
#include "midi/parseobserver.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <bitset>

class EditState;
class SysexProtocol;

class PatchTransfer : public QObject, public ParseObserver
{
    Q_OBJECT
public:
    enum class Outcome
    {
        Complete,   // all five blocks arrived
        Incomplete, // some blocks arrived, others never did
        NoAnswer,   // nothing arrived at all
    };
    Q_ENUM(Outcome)

    static constexpr int BlockCount = addr::SlotCount;
    static constexpr int RequestPauseMs = 30;
    static constexpr int DataSetPauseMs = 20;
    // Further requests for a block that did not come.
    static constexpr int ExtraTries = 2;
    // How long the unit must stay silent before a missing block counts as
    // dropped: a tone answer needs 45 ms on the cable, interfaces add more.
    static constexpr int DefaultQuietMs = 250;
    // How long after the last request a fetch waits for anything at all.
    static constexpr int DefaultTimeoutMs = 2000;

    PatchTransfer(EditState &state, SysexProtocol &protocol, QObject *parent = nullptr);
    ~PatchTransfer() override;

    // Requests the five blocks of the edited patch (EditPrefix). Sets
    // SendLock; waits after each request without handling events, so the
    // answers are parsed together afterwards. Ends with fetchFinished.
    void GetPatch();
    // Five data sets of the image to the edited patch, handling events in
    // the pauses. Each is subject to SendLock like any other data set.
    void SendPatch();
    // The same five data sets to USER (area 11) or CARD (area 21) place
    // patchNumber - 1; patchNumber 1..128. Nothing goes into the image.
    void SaveToSynth(bool card, int patchNumber);

    bool fetching() const { return fetching_; }
    // Blocks (0 common, 1..4 tones) of the current or last fetch.
    bool blockArrived(int block) const;
    QList<int> missingBlocks() const;
    // Requests sent for the current or last fetch, first round included.
    int requestsSent() const { return requests_; }

    void setQuietMs(int ms) { quietMs_ = ms; }
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

    // What to tell the user about a fetch that did not complete.
    static QString failureText(Outcome outcome, const QList<int> &missing);
    // "common", "tone 1" .. "tone 4".
    static QString blockName(int block);

    // The pauses: without and with handling events.
    static void waitBusy(int ms);
    static void waitProcessing(int ms);

    void parsedIncoming(const ParseResult &result) override;

Q_SIGNALS:
    // The fetch is over; SendLock is clear unless an update is pending.
    void fetchFinished(PatchTransfer::Outcome outcome);

private:
    void sendBlocks(std::uint8_t area, std::uint8_t place);
    void request(int block);
    void unitQuiet();
    void timedOut();
    void finish(Outcome outcome);
    bool complete() const;
    bool anyArrived() const;

    EditState &state_;
    SysexProtocol &protocol_;
    QTimer quiet_;
    QTimer timeout_;
    int quietMs_ = DefaultQuietMs;
    int timeoutMs_ = DefaultTimeoutMs;
    bool fetching_ = false;
    int requests_ = 0;
    std::array<int, BlockCount> tries_{};
    std::array<std::bitset<addr::SlotSize>, BlockCount> arrived_{};
};
