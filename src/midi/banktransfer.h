#pragma once
// Whole-bank transfers between a PatchBank and the USER or CARD memory of
// the unit: fetch a range of places, or write places back. One request at a
// time, the next only after the answer to the last is complete; a time-out
// per request, a missing or dropped answer asked again up to a retry limit,
// and a pause between messages, because slow interfaces drop System
// Exclusive that comes too fast. Cancel stops at once and keeps what
// arrived. Qt Core only, user-interface thread; shared by the librarian
// window and tessiva-cli.

#include "core/patchbank.h"

#include <QList>
#include <QObject>
#include <QString>

class EditState;
class SysexProtocol;

class BankTransfer : public QObject
{
    Q_OBJECT
public:
    enum class Outcome
    {
        Complete,   // every asked place arrived (or was written)
        Incomplete, // some places never answered within the retries
        Cancelled,  // cancel() stopped it; what arrived is kept
        Failed,     // nothing could be sent (MIDI closed)
    };
    Q_ENUM(Outcome)

    struct Pacing
    {
        int pauseMs = 20;     // between two messages sent
        int timeoutMs = 1000; // for one answer to be complete
        int retries = 3;      // further requests for one place
    };

    BankTransfer(EditState &state, SysexProtocol &protocol, QObject *parent = nullptr);
    ~BankTransfer() override;

    void setPacing(const Pacing &pacing);
    Pacing pacing() const;

    // Fetches places first..last (1..128) of USER (card false) or CARD into
    // bank, which must outlive the transfer. Fetched places are marked
    // unchanged; a place goes into the bank only once all five of its
    // blocks are complete, and places that never arrive keep what they
    // held. Returns at once; ends with finished, also when it cannot start
    // (MIDI closed, a bad range), and never before fetch has returned. A
    // call while busy is ignored.
    void fetch(bool card, int first, int last, PatchBank *bank);
    // Writes the given places of bank to USER or CARD memory, in order,
    // five data sets each. The patches are copied on entry. A place that is
    // empty or outside 1..128 fails the whole write before anything is
    // sent. Ends with finished like fetch.
    void send(bool card, const QList<int> &places, const PatchBank &bank);
    // Stops at once: a fetch asks for nothing more and keeps the places that
    // were complete. A write has no way back for a place it has begun, so
    // it finishes that place (at most four more data sets, paced as ever)
    // and sends nothing after it; finished comes then.
    void cancel();
    bool busy() const;

    // For the last or current transfer: the places asked for that did not
    // arrive or were not written (given up, or not reached after a cancel
    // or a failure), in order.
    QList<int> missingPlaces() const;
    // Requests sent beyond the first one of each place.
    int retriesUsed() const;

    // "USER 5, 17-19": places for a message.
    static QString placesText(bool card, const QList<int> &places);

Q_SIGNALS:
    // After each place: done of total, the place and its name.
    void progress(int done, int total, int place, const QString &name);
    void placeArrived(int place);
    void finished(BankTransfer::Outcome outcome, const QString &message);

private:
    struct Private;
    Private *d_;
};
