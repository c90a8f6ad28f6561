#pragma once
// Whole transfers of the temporary performance and of part 10's rhythm set
// between their buffers and the synthesizer: fetch, send back, or write into
// a USER or CARD place. A performance moves as its common block and the 16
// part blocks, a rhythm set as its common block and the 64 note blocks, one
// message per block.
//
// A fetch asks for one block at a time and asks for the next only once the
// answer to the last is in, because units drop a request that arrives while
// they are still answering. A block that does not come within the time-out
// is asked for again; one that never comes ends the fetch, so SendLock never
// stays set for good. Qt Core only, user-interface thread; shared by the
// windows and tessiva-cli.

#include "core/addressmap.h"
#include "midi/parseobserver.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <bitset>
#include <vector>

class EditState;
class SysexProtocol;

class PerformanceTransfer : public QObject, public ParseObserver
{
    Q_OBJECT
public:
    enum class Outcome
    {
        Complete,   // every block arrived
        Incomplete, // some blocks arrived, one never did
        NoAnswer,   // nothing arrived at all
    };
    Q_ENUM(Outcome)

    enum class Content
    {
        Performance,
        Rhythm,
    };
    Q_ENUM(Content)

    static constexpr int DataSetPauseMs = 20;
    // Between an answer and the next request: the unit has finished.
    static constexpr int RequestPauseMs = 5;
    // Further requests for a block that did not come.
    static constexpr int ExtraTries = 2;
    // For one block's answer: a rhythm note needs 22 ms on the cable,
    // interfaces and a busy machine add more.
    static constexpr int DefaultTimeoutMs = 1000;

    PerformanceTransfer(EditState &state, SysexProtocol &protocol, QObject *parent = nullptr);
    ~PerformanceTransfer() override;

    // Fetch into the performance or rhythm buffer. Return at once; end with
    // fetchFinished.
    void GetPerformance();
    void GetRhythm();
    // The buffer as data sets, one per block, handling events in the pauses;
    // each is subject to SendLock like any other data set. Send goes to the
    // temporary performance or part 10's rhythm set; Save writes USER or
    // CARD performance 1..32 or rhythm set 1..2 (nothing into the buffers).
    void SendPerformance();
    void SendRhythm();
    void SavePerformance(bool card, int number);
    void SaveRhythm(bool card, int number);

    bool fetching() const { return fetching_; }
    Content content() const { return content_; }
    // Block bytes of the current or last fetch that did not arrive.
    QList<int> missingBlocks() const;
    int requestsSent() const { return requests_; }

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

    // The blocks of a performance (00, 10..1F) or rhythm set (00, 23..62).
    static QList<int> blocks(Content content);
    // "common", "part 3", "key 35".
    static QString blockName(Content content, int block);
    // What to tell the user about a fetch that did not complete.
    static QString failureText(Content content, Outcome outcome, const QList<int> &missing);

    void parsedIncoming(const ParseResult &result) override;

Q_SIGNALS:
    // The fetch is over; SendLock is clear unless an update is pending.
    void fetchFinished(PerformanceTransfer::Outcome outcome);

private:
    void startFetch(Content content);
    void sendBlocks(Content content, std::uint8_t area, std::uint8_t place);
    void requestCurrent();
    void advance();
    void timedOut();
    void finish(Outcome outcome);
    int blockSize(int block) const;

    EditState &state_;
    SysexProtocol &protocol_;
    QTimer timeout_;
    QTimer pause_;
    int timeoutMs_ = DefaultTimeoutMs;
    Content content_ = Content::Performance;
    bool fetching_ = false;
    int requests_ = 0;
    int tries_ = 0;
    qsizetype current_ = 0; // index into blocks_
    QList<int> blocks_;
    std::vector<std::bitset<addr::PerformanceCommonSize>> arrived_;
};
