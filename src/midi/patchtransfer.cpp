#include "midi/patchtransfer.h"

#include "core/editstate.h"
#include "midi/sysexprotocol.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QThread>

PatchTransfer::PatchTransfer(EditState &state, SysexProtocol &protocol, QObject *parent)
    : QObject(parent), state_(state), protocol_(protocol)
{
    quiet_.setSingleShot(true);
    timeout_.setSingleShot(true);
    connect(&quiet_, &QTimer::timeout, this, &PatchTransfer::unitQuiet);
    connect(&timeout_, &QTimer::timeout, this, &PatchTransfer::timedOut);
    protocol_.addObserver(this);
}

PatchTransfer::~PatchTransfer()
{
    protocol_.removeObserver(this);
}

void PatchTransfer::GetPatch()
{
    quiet_.stop();
    timeout_.stop();
    fetching_ = true;
    requests_ = 0;
    tries_.fill(0);
    for (auto &bits : arrived_)
        bits.reset();

    for (int k = 0; k < BlockCount; ++k) {
        request(k);
        waitBusy(RequestPauseMs);
    }
    if (state_.CurrentTone < 1 || state_.CurrentTone > addr::ToneCount)
        state_.CurrentTone = 1;
    if (fetching_) {
        quiet_.start(quietMs_);
        timeout_.start(timeoutMs_);
    }
}

void PatchTransfer::SendPatch()
{
    sendBlocks(state_.EditPrefix[0], state_.EditPrefix[1]);
}

void PatchTransfer::SaveToSynth(bool card, int patchNumber)
{
    const int place = std::clamp(patchNumber, 1, addr::PatchCount) - 1;
    sendBlocks(card ? addr::AreaCard : addr::AreaUser, std::uint8_t(place));
}

void PatchTransfer::sendBlocks(std::uint8_t area, std::uint8_t place)
{
    // Part 10 plays a rhythm set: a patch sent there would overwrite its
    // name and reach no note.
    if (area == addr::AreaPerformancePart && place == addr::RhythmPart)
        return;
    for (int k = 0; k < BlockCount; ++k) {
        // A copy: a data set to the edited patch writes its bytes back into
        // the very slot they come from.
        std::array<std::uint8_t, addr::SlotSize> block{};
        const int size = addr::blockSize(k);
        std::copy_n(state_.patchImage.slotData(k), size, block.begin());
        protocol_.SendDataSet({area, place, addr::patchBlock(k), 0x00}, block.data(), size);
        waitProcessing(DataSetPauseMs);
    }
}

void PatchTransfer::request(int block)
{
    const addr::Address adrs{state_.EditPrefix[0], state_.EditPrefix[1], addr::patchBlock(block),
                             0x00};
    protocol_.RequestData(adrs, addr::sizeBytes(addr::blockSize(block)));
    ++requests_;
}

void PatchTransfer::parsedIncoming(const ParseResult &result)
{
    if (!fetching_ || result.target != ParseResult::Target::Slot || result.slot < 0 ||
        result.slot >= BlockCount)
        return;
    auto &bits = arrived_[std::size_t(result.slot)];
    for (int i = result.offset; i < result.offset + result.count && i < addr::SlotSize; ++i)
        bits.set(std::size_t(i));
    if (complete()) {
        finish(Outcome::Complete);
        return;
    }
    quiet_.start(quietMs_);
}

// The unit has said nothing for a while: what is still missing was dropped.
// One request at a time, so the unit is never asked while it answers.
void PatchTransfer::unitQuiet()
{
    if (!fetching_ || !anyArrived())
        return; // nobody answers: only the time-out ends this
    for (int k = 0; k < BlockCount; ++k) {
        if (blockArrived(k) || tries_[std::size_t(k)] >= ExtraTries)
            continue;
        ++tries_[std::size_t(k)];
        request(k);
        quiet_.start(quietMs_);
        timeout_.start(timeoutMs_);
        return;
    }
    finish(Outcome::Incomplete);
}

void PatchTransfer::timedOut()
{
    if (fetching_)
        finish(anyArrived() ? Outcome::Incomplete : Outcome::NoAnswer);
}

void PatchTransfer::finish(Outcome outcome)
{
    fetching_ = false;
    quiet_.stop();
    timeout_.stop();
    // A complete fetch is released by the update that follows its parse.
    if (outcome != Outcome::Complete)
        state_.SendLock = false;
    Q_EMIT fetchFinished(outcome);
}

bool PatchTransfer::blockArrived(int block) const
{
    if (block < 0 || block >= BlockCount)
        return false;
    const auto &bits = arrived_[std::size_t(block)];
    for (int i = 0; i < addr::blockSize(block); ++i)
        if (!bits.test(std::size_t(i)))
            return false;
    return true;
}

bool PatchTransfer::complete() const
{
    return missingBlocks().isEmpty();
}

bool PatchTransfer::anyArrived() const
{
    for (const auto &bits : arrived_)
        if (bits.any())
            return true;
    return false;
}

QList<int> PatchTransfer::missingBlocks() const
{
    QList<int> missing;
    for (int k = 0; k < BlockCount; ++k)
        if (!blockArrived(k))
            missing.append(k);
    return missing;
}

QString PatchTransfer::blockName(int block)
{
    return block == 0 ? QStringLiteral("common") : QStringLiteral("tone %1").arg(block);
}

QString PatchTransfer::failureText(Outcome outcome, const QList<int> &missing)
{
    if (outcome == Outcome::NoAnswer)
        return QStringLiteral("The synthesizer did not answer the patch request.\r"
                              "Check the MIDI connections, the devices chosen and the unit ID.");
    QStringList names;
    for (int k : missing)
        names.append(blockName(k));
    return QStringLiteral("The synthesizer did not send the whole patch: %1 did not arrive.\r"
                          "The editor shows what did arrive; get the patch again.")
        .arg(names.join(QStringLiteral(", ")));
}

void PatchTransfer::waitBusy(int ms)
{
    QThread::msleep(ulong(ms));
}

void PatchTransfer::waitProcessing(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
