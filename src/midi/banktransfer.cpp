#include "midi/banktransfer.h"

#include "core/editstate.h"
#include "midi/parseobserver.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

#include <QStringList>
#include <QTimer>
#include <array>
#include <bitset>

namespace {

constexpr int BlockCount = addr::SlotCount;
constexpr int FirstBlock = 0;
constexpr int LastBlock = BlockCount - 1;
constexpr int BlockShift = 7;       // the block byte counts in 7-bit units of offsets
constexpr int MidiByteMicros = 320; // 31,250 baud, ten bits a byte
constexpr int MicrosPerMs = 1000;

const QString MidiClosedText = QStringLiteral("Midi Closed\rSelect Midi Devices");

// Where block k of a place starts and ends, counted from the place's first
// address in plain numbers: tone 1 starts at 10 00, that is 0x800.
constexpr int blockStart(int k)
{
    return addr::patchBlock(k) << BlockShift;
}
constexpr int blockEnd(int k)
{
    return blockStart(k) + addr::blockSize(k);
}

// How long a message of that many bytes takes on a MIDI cable, rounded up.
int cableMs(int bytes)
{
    return (bytes * MidiByteMicros + MicrosPerMs - 1) / MicrosPerMs;
}

QString areaName(bool card)
{
    return card ? QStringLiteral("CARD") : QStringLiteral("USER");
}

} // namespace

// One request at a time: the step timer sends the next message once the
// pause after the last one (or after the answer that ended it) is over; the
// time-out ends a request whose answer is not complete.
//
// A place whose answer has a gap is asked again only for the span from its
// first missing block to its last missing one, in one request: a lost tone
// then costs 140 bytes on the cable instead of 658, and there is still only
// one request outstanding. The unit answers in address order, so once the
// last block asked for is complete anything still missing was lost, and the
// request goes out again without waiting for the time-out; only a lost last
// block needs the time-out.
struct BankTransfer::Private : public ParseObserver
{
    enum class Mode
    {
        Idle,
        Failing, // finished(Failed) is on its way
        Fetch,
        Send,
    };
    enum class Next
    {
        Request, // fetch: the first request for the current place
        Retry,   // fetch: the missing blocks of the current place
        Block,   // send: the next data set
        Finish,
    };

    Private(BankTransfer &owner, EditState &editState, SysexProtocol &sysexProtocol)
        : q(owner), state(editState), protocol(sysexProtocol)
    {
        step.setSingleShot(true);
        timeout.setSingleShot(true);
        QObject::connect(&step, &QTimer::timeout, &q, [this] { onStep(); });
        QObject::connect(&timeout, &QTimer::timeout, &q, [this] { onTimeout(); });
        protocol.addObserver(this);
    }
    ~Private() override { protocol.removeObserver(this); }

    void memoryDataSet(const addr::Address &adrs, const std::uint8_t *data, int count) override;
    void parsedIncoming(const ParseResult &) override {}

    void start(Mode m, bool toCard, QList<int> asked);
    void failLater(const QString &message);
    void finish(Outcome outcome, const QString &message);
    void onStep();
    void onTimeout();
    void fetchStep();
    void sendStep();

    // Fetch.
    int place() const { return places.value(index); }
    std::uint8_t area() const { return card ? addr::AreaCard : addr::AreaUser; }
    void request(int fromBlock, int toBlock);
    bool blockComplete(int k) const
    {
        return got[std::size_t(k)].count() == std::size_t(addr::blockSize(k));
    }
    bool placeComplete() const;
    void answerOver();
    void endPlace(bool arrived);
    void endFetch();
    QList<int> notReached() const { return places.mid(index); }

    // Send.
    void sendBlock();

    BankTransfer &q;
    EditState &state;
    SysexProtocol &protocol;
    Pacing pacing;
    QTimer step;
    QTimer timeout;

    Mode mode = Mode::Idle;
    Next next = Next::Request;
    bool card = false;
    QList<int> places;   // asked for, in order
    qsizetype index = 0; // into places: the current place
    QList<int> missing;
    int retries = 0;
    int done = 0;
    bool cancelling = false;
    QString failure;

    // Fetch: the place being fetched.
    PatchBank *bank = nullptr;
    PatchImage image;
    std::array<std::bitset<addr::ToneSize>, BlockCount> got{};
    int tries = 0;         // requests for this place beyond the first
    int askedLast = 0;     // last block of the latest request
    bool awaiting = false; // the latest request's answer is not judged yet

    // Send: copies of the patches, and the next block.
    QList<PatchImage> patches;
    int block = 0;
};

void BankTransfer::Private::start(Mode m, bool toCard, QList<int> asked)
{
    step.stop();
    timeout.stop();
    mode = m;
    card = toCard;
    places = std::move(asked);
    index = 0;
    missing.clear();
    retries = 0;
    done = 0;
    cancelling = false;
    tries = 0;
    awaiting = false;
    block = 0;
    for (auto &bits : got)
        bits.reset();
}

// Reported from the event loop, so that whoever started the transfer sees
// its end only after the call has returned.
void BankTransfer::Private::failLater(const QString &message)
{
    mode = Mode::Failing;
    failure = message;
    next = Next::Finish;
    step.start(0);
}

void BankTransfer::Private::finish(Outcome outcome, const QString &message)
{
    if (outcome != Outcome::Complete && outcome != Outcome::Incomplete)
        missing += notReached();
    step.stop();
    timeout.stop();
    mode = Mode::Idle;
    awaiting = false;
    Q_EMIT q.finished(outcome, message);
}

void BankTransfer::Private::onStep()
{
    switch (mode) {
    case Mode::Idle:
        return;
    case Mode::Failing:
        finish(Outcome::Failed, failure);
        return;
    case Mode::Send:
        sendStep();
        return;
    case Mode::Fetch:
        fetchStep();
        return;
    }
}

void BankTransfer::Private::fetchStep()
{
    if (next == Next::Finish) {
        endFetch();
        return;
    }
    if (next != Next::Retry) {
        request(FirstBlock, LastBlock);
        return;
    }
    int first = -1;
    int last = -1;
    for (int k = FirstBlock; k <= LastBlock; ++k)
        if (!blockComplete(k)) {
            if (first < 0)
                first = k;
            last = k;
        }
    if (first < 0) // the rest came late, during the pause
        endPlace(true);
    else
        request(first, last);
}

void BankTransfer::Private::sendStep()
{
    if (next != Next::Finish) {
        sendBlock();
        return;
    }
    const QString what = QStringLiteral("%1 of %2 places written to %3.")
                             .arg(done)
                             .arg(places.size())
                             .arg(areaName(card));
    if (done == places.size())
        finish(Outcome::Complete, what);
    else
        finish(Outcome::Cancelled, QStringLiteral("Cancelled: ") + what);
}

void BankTransfer::Private::request(int fromBlock, int toBlock)
{
    const addr::Address adrs{area(), std::uint8_t(place() - 1), addr::patchBlock(fromBlock), 0x00};
    const addr::Size size = addr::sizeBytes(blockEnd(toBlock) - blockStart(fromBlock));
    if (!protocol.RequestMemory(adrs, size)) {
        finish(Outcome::Failed,
               QStringLiteral("MIDI was closed during the fetch; %1 of %2 places arrived.\r%3")
                   .arg(done - missing.size())
                   .arg(places.size())
                   .arg(MidiClosedText));
        return;
    }
    askedLast = toBlock;
    awaiting = true;
    timeout.start(pacing.timeoutMs);
}

void BankTransfer::Private::memoryDataSet(const addr::Address &adrs, const std::uint8_t *data,
                                          int count)
{
    if (mode != Mode::Fetch || index >= places.size() || adrs[0] != area() ||
        adrs[1] != place() - 1 || count <= 0)
        return;
    const int from = (adrs[2] << BlockShift) | adrs[3];
    const int to = from + count;
    bool touchedLast = false;
    for (int k = FirstBlock; k <= LastBlock; ++k) {
        const int lo = std::max(from, blockStart(k));
        const int hi = std::min(to, blockEnd(k));
        for (int a = lo; a < hi; ++a) {
            const int offset = a - blockStart(k);
            image.set(k, offset, data[a - from]);
            got[std::size_t(k)].set(std::size_t(offset));
        }
        touchedLast = touchedLast || (k == askedLast && lo < hi);
    }
    if (placeComplete()) {
        endPlace(true);
        return;
    }
    // In address order, the last block asked for ends the answer: whatever
    // is missing before it was lost on the way.
    if (awaiting && touchedLast && blockComplete(askedLast))
        answerOver();
}

void BankTransfer::Private::onTimeout()
{
    if (mode == Mode::Fetch && awaiting)
        answerOver();
}

// The answer to the latest request is over and the place is not complete.
void BankTransfer::Private::answerOver()
{
    awaiting = false;
    timeout.stop();
    if (tries < pacing.retries) {
        ++tries;
        ++retries;
        next = Next::Retry;
        step.start(pacing.pauseMs);
        return;
    }
    endPlace(false);
}

bool BankTransfer::Private::placeComplete() const
{
    for (int k = FirstBlock; k <= LastBlock; ++k)
        if (!blockComplete(k))
            return false;
    return true;
}

void BankTransfer::Private::endPlace(bool arrived)
{
    const int p = place();
    awaiting = false;
    timeout.stop();
    QString name;
    if (arrived) {
        bank->setPatch(p, image, false);
        name = QString::fromLatin1(image.name());
    } else {
        missing.append(p);
    }
    ++done;
    ++index;
    tries = 0;
    image = PatchImage();
    for (auto &bits : got)
        bits.reset();
    next = index < places.size() ? Next::Request : Next::Finish;
    step.start(next == Next::Finish ? 0 : pacing.pauseMs);
    // Last, because a listener may cancel.
    if (arrived)
        Q_EMIT q.placeArrived(p);
    Q_EMIT q.progress(done, int(places.size()), p, name);
}

void BankTransfer::Private::endFetch()
{
    const int total = int(places.size());
    const int arrived = total - int(missing.size());
    if (missing.isEmpty()) {
        finish(Outcome::Complete,
               QStringLiteral("%1 places fetched from %2.").arg(total).arg(areaName(card)));
        return;
    }
    finish(Outcome::Incomplete,
           QStringLiteral("%1 of %2 places fetched; %3 did not arrive, not even after %4 "
                          "more requests.\rFetch them again, or lengthen the pause and the "
                          "time-out.")
               .arg(arrived)
               .arg(total)
               .arg(placesText(card, missing))
               .arg(pacing.retries));
}

void BankTransfer::Private::sendBlock()
{
    const int p = place();
    const PatchImage &patch = patches[index];
    const addr::Address adrs{area(), std::uint8_t(p - 1), addr::patchBlock(block), 0x00};
    if (!protocol.SendMemory(adrs, patch.slotData(block), addr::blockSize(block))) {
        QString text = QStringLiteral("MIDI was closed during the write; %1 of %2 places were "
                                      "written.")
                           .arg(done)
                           .arg(places.size());
        if (block > 0)
            text += QStringLiteral(" %1 was written only in part: write it again.")
                        .arg(placesText(card, {p}));
        finish(Outcome::Failed, text + QLatin1Char('\r') + MidiClosedText);
        return;
    }
    const int sent = addr::blockSize(block) + sysex::Overhead;
    if (++block == BlockCount) {
        block = 0;
        ++done;
        ++index;
        next = (index < places.size() && !cancelling) ? Next::Block : Next::Finish;
        Q_EMIT q.progress(done, int(places.size()), p, QString::fromLatin1(patch.name()));
    }
    // The pause is silence on the cable: it starts once the message is out.
    if (mode == Mode::Send)
        step.start(cableMs(sent) + pacing.pauseMs);
}

BankTransfer::BankTransfer(EditState &state, SysexProtocol &protocol, QObject *parent)
    : QObject(parent), d_(new Private(*this, state, protocol))
{
}

BankTransfer::~BankTransfer()
{
    delete d_;
}

void BankTransfer::setPacing(const Pacing &pacing)
{
    d_->pacing.pauseMs = std::max(pacing.pauseMs, 0);
    d_->pacing.timeoutMs = std::max(pacing.timeoutMs, 1);
    d_->pacing.retries = std::max(pacing.retries, 0);
}

BankTransfer::Pacing BankTransfer::pacing() const
{
    return d_->pacing;
}

void BankTransfer::fetch(bool card, int first, int last, PatchBank *bank)
{
    if (busy())
        return;
    const bool range =
        bank && PatchBank::validPlace(first) && PatchBank::validPlace(last) && first <= last;
    QList<int> asked;
    for (int p = first; range && p <= last; ++p)
        asked.append(p);
    d_->start(Private::Mode::Fetch, card, asked);
    d_->bank = bank;
    if (!range) {
        d_->failLater(QStringLiteral("Places %1 to %2 are no range of 1 to %3.")
                          .arg(first)
                          .arg(last)
                          .arg(PatchBank::PlaceCount));
        return;
    }
    if (d_->state.MidiClosed) {
        d_->failLater(MidiClosedText);
        return;
    }
    d_->image = PatchImage();
    d_->next = Private::Next::Request;
    d_->step.start(0);
}

void BankTransfer::send(bool card, const QList<int> &places, const PatchBank &bank)
{
    if (busy())
        return;
    d_->start(Private::Mode::Send, card, places);
    d_->patches.clear();
    QList<int> empty;
    for (int p : places) {
        if (bank.has(p))
            d_->patches.append(*bank.patch(p));
        else
            empty.append(p);
    }
    if (places.isEmpty() || !empty.isEmpty()) {
        d_->failLater(places.isEmpty() ? QStringLiteral("No places to write.")
                                       : QStringLiteral("Nothing was written: %1 holds no patch.")
                                             .arg(placesText(card, empty)));
        return;
    }
    if (d_->state.MidiClosed) {
        d_->failLater(MidiClosedText);
        return;
    }
    d_->next = Private::Next::Block;
    d_->step.start(0);
}

void BankTransfer::cancel()
{
    switch (d_->mode) {
    case Private::Mode::Idle:
        return;
    case Private::Mode::Failing:
        d_->onStep();
        return;
    case Private::Mode::Send:
        // The place begun is finished; between places nothing is left.
        d_->cancelling = true;
        if (d_->block == 0) {
            d_->next = Private::Next::Finish;
            d_->step.start(0);
        }
        return;
    case Private::Mode::Fetch:
        break;
    }
    d_->finish(Outcome::Cancelled,
               QStringLiteral("Cancelled: %1 of %2 places fetched; nothing more was asked for.")
                   .arg(d_->done - int(d_->missing.size()))
                   .arg(d_->places.size()));
}

bool BankTransfer::busy() const
{
    return d_->mode != Private::Mode::Idle;
}

QList<int> BankTransfer::missingPlaces() const
{
    return d_->missing;
}

int BankTransfer::retriesUsed() const
{
    return d_->retries;
}

QString BankTransfer::placesText(bool card, const QList<int> &places)
{
    QStringList runs;
    for (qsizetype i = 0; i < places.size();) {
        qsizetype j = i;
        while (j + 1 < places.size() && places[j + 1] == places[j] + 1)
            ++j;
        runs.append(j == i ? QString::number(places[i])
                           : QStringLiteral("%1-%2").arg(places[i]).arg(places[j]));
        i = j + 1;
    }
    return areaName(card) + QLatin1Char(' ') + runs.join(QStringLiteral(", "));
}
