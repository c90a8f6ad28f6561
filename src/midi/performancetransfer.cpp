#include "midi/performancetransfer.h"

#include "core/editstate.h"
#include "midi/patchtransfer.h"
#include "midi/sysexprotocol.h"

#include <QStringList>
#include <algorithm>

namespace {
using Content = PerformanceTransfer::Content;

// A fetch that stops early misses every block after; a few names say enough.
constexpr qsizetype NamedMissing = 4;

// The place of a stored block: the first two address bytes.
struct Place
{
    std::uint8_t area;
    std::uint8_t second;
};

Place temporary(Content content)
{
    return content == Content::Performance ? Place{addr::AreaTempPerformance, 0x00}
                                           : Place{addr::AreaPerformancePart, addr::RhythmPart};
}

// Which block of which buffer a stored message filled, or -1.
int storedBlock(Content content, const ParseResult &r)
{
    using T = ParseResult::Target;
    if (content == Content::Performance) {
        if (r.target == T::Performance)
            return addr::BlockCommon;
        if (r.target == T::PerformancePart)
            return addr::BlockPart1 - 1 + r.block;
        return -1;
    }
    if (r.target == T::RhythmCommon)
        return addr::BlockCommon;
    return r.target == T::RhythmNote ? r.block : -1;
}
} // namespace

PerformanceTransfer::PerformanceTransfer(EditState &state, SysexProtocol &protocol, QObject *parent)
    : QObject(parent), state_(state), protocol_(protocol)
{
    timeout_.setSingleShot(true);
    pause_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, &PerformanceTransfer::timedOut);
    connect(&pause_, &QTimer::timeout, this, &PerformanceTransfer::requestCurrent);
    protocol_.addObserver(this);
}

PerformanceTransfer::~PerformanceTransfer()
{
    protocol_.removeObserver(this);
}

QList<int> PerformanceTransfer::blocks(Content content)
{
    return content == Content::Performance ? PerformanceImage::blocks() : RhythmImage::blocks();
}

int PerformanceTransfer::blockSize(int block) const
{
    return content_ == Content::Performance ? PerformanceImage::blockSize(block)
                                            : RhythmImage::blockSize(block);
}

void PerformanceTransfer::GetPerformance()
{
    startFetch(Content::Performance);
}

void PerformanceTransfer::GetRhythm()
{
    startFetch(Content::Rhythm);
}

void PerformanceTransfer::startFetch(Content content)
{
    timeout_.stop();
    pause_.stop();
    content_ = content;
    blocks_ = blocks(content);
    arrived_.assign(std::size_t(blocks_.size()), {});
    fetching_ = true;
    requests_ = 0;
    tries_ = 0;
    current_ = 0;
    requestCurrent();
}

void PerformanceTransfer::requestCurrent()
{
    if (!fetching_)
        return;
    const Place place = temporary(content_);
    const int block = blocks_.at(current_);
    protocol_.RequestData({place.area, place.second, std::uint8_t(block), 0x00},
                          addr::sizeBytes(blockSize(block)));
    ++requests_;
    timeout_.start(timeoutMs_);
}

void PerformanceTransfer::parsedIncoming(const ParseResult &result)
{
    if (!fetching_ || !result.stored())
        return;
    const int block = storedBlock(content_, result);
    const qsizetype index = blocks_.indexOf(block);
    if (index < 0)
        return;
    auto &bits = arrived_[std::size_t(index)];
    for (int i = result.offset; i < result.offset + result.count && i < blockSize(block); ++i)
        bits.set(std::size_t(i));
    if (index == current_ && int(bits.count()) == blockSize(block))
        advance();
}

// The block asked for is complete: on to the next after a short breath, so
// that the unit is never asked while it still answers.
void PerformanceTransfer::advance()
{
    timeout_.stop();
    tries_ = 0;
    ++current_;
    if (current_ == blocks_.size()) {
        finish(Outcome::Complete);
        return;
    }
    pause_.start(RequestPauseMs);
}

void PerformanceTransfer::timedOut()
{
    if (!fetching_)
        return;
    if (tries_ < ExtraTries) {
        ++tries_;
        requestCurrent();
        return;
    }
    const bool any =
        std::any_of(arrived_.begin(), arrived_.end(), [](const auto &bits) { return bits.any(); });
    finish(any ? Outcome::Incomplete : Outcome::NoAnswer);
}

void PerformanceTransfer::finish(Outcome outcome)
{
    fetching_ = false;
    timeout_.stop();
    pause_.stop();
    // A complete fetch is released by the update that follows its parse.
    if (outcome != Outcome::Complete)
        state_.SendLock = false;
    Q_EMIT fetchFinished(outcome);
}

QList<int> PerformanceTransfer::missingBlocks() const
{
    QList<int> missing;
    for (qsizetype i = 0; i < blocks_.size(); ++i)
        if (int(arrived_[std::size_t(i)].count()) < blockSize(blocks_[i]))
            missing.append(blocks_[i]);
    return missing;
}

void PerformanceTransfer::SendPerformance()
{
    const Place place = temporary(Content::Performance);
    sendBlocks(Content::Performance, place.area, place.second);
}

void PerformanceTransfer::SendRhythm()
{
    const Place place = temporary(Content::Rhythm);
    sendBlocks(Content::Rhythm, place.area, place.second);
}

void PerformanceTransfer::SavePerformance(bool card, int number)
{
    const int index = std::clamp(number, 1, addr::PerformancePlaceCount) - 1;
    sendBlocks(Content::Performance, card ? addr::AreaCardPerformance : addr::AreaUserPerformance,
               std::uint8_t(index));
}

void PerformanceTransfer::SaveRhythm(bool card, int number)
{
    const int index = std::clamp(number, 1, addr::RhythmPlaceCount) - 1;
    sendBlocks(Content::Rhythm, card ? addr::AreaCardPerformance : addr::AreaUserPerformance,
               std::uint8_t(addr::FirstRhythmPlace + index));
}

void PerformanceTransfer::sendBlocks(Content content, std::uint8_t area, std::uint8_t second)
{
    const bool performance = content == Content::Performance;
    for (const int block : blocks(content)) {
        // A copy: a data set to the temporary place writes its bytes back
        // into the very buffer they come from.
        const std::uint8_t *from =
            performance ? state_.performance.data() + *PerformanceImage::blockPosition(block, 0)
                        : state_.rhythm.data() + *RhythmImage::blockPosition(block, 0);
        const int size =
            performance ? PerformanceImage::blockSize(block) : RhythmImage::blockSize(block);
        const std::vector<std::uint8_t> bytes(from, from + size);
        protocol_.SendDataSet({area, second, std::uint8_t(block), 0x00}, bytes.data(), size);
        PatchTransfer::waitProcessing(DataSetPauseMs);
    }
}

QString PerformanceTransfer::blockName(Content content, int block)
{
    if (block == addr::BlockCommon)
        return QStringLiteral("common");
    if (content == Content::Performance)
        return QStringLiteral("part %1").arg(block - addr::BlockPart1 + 1);
    return QStringLiteral("key %1").arg(block);
}

QString PerformanceTransfer::failureText(Content content, Outcome outcome,
                                         const QList<int> &missing)
{
    const QString what = content == Content::Performance ? QStringLiteral("performance")
                                                         : QStringLiteral("rhythm set");
    if (outcome == Outcome::NoAnswer)
        return QStringLiteral("The synthesizer did not answer the %1 request.\r"
                              "Check the MIDI connections, the devices chosen and the unit ID.")
            .arg(what);
    QStringList names;
    for (qsizetype i = 0; i < missing.size() && i < NamedMissing; ++i)
        names.append(blockName(content, missing[i]));
    if (missing.size() > NamedMissing)
        names.append(QStringLiteral("%1 more").arg(missing.size() - NamedMissing));
    return QStringLiteral("The synthesizer did not send the whole %1: %2 did not arrive.\r"
                          "The editor shows what did arrive; get the %1 again.")
        .arg(what, names.join(QStringLiteral(", ")));
}
