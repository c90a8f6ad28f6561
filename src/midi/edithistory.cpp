#include "midi/edithistory.h"

#include "core/editstate.h"
#include "core/patchparameters.h"
#include "core/sendguard.h"
#include "core/sysexmessage.h"
#include "midi/performancetransfer.h"
#include "midi/sysexprotocol.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {
// The editor's temporary memory: the edited patch, a performance part's
// patch and the temporary performance. System settings and the USER and
// CARD places are no edits of the sound and are never taken back.
bool recordable(const addr::Address &adrs)
{
    return adrs[0] == addr::AreaTempPerformance || adrs[0] == addr::AreaPerformancePart ||
           adrs[0] == addr::AreaTempPatch;
}

addr::Address advanced(const addr::Address &adrs, int by)
{
    return addr::toSevenBit(addr::fromSevenBit(adrs) + by);
}

// The temporary patch, or a performance part's patch; part 10 holds the
// rhythm set instead.
bool patchAddress(const addr::Address &adrs)
{
    return adrs[0] == addr::AreaTempPatch ||
           (adrs[0] == addr::AreaPerformancePart && adrs[1] != addr::RhythmPart);
}

// The blocks of the temporary performance or the rhythm set: address, size.
std::vector<std::pair<addr::Address, int>> bufferBlocks(EditRecorder::Buffer buffer)
{
    const bool performance = buffer == EditRecorder::Buffer::Performance;
    const addr::Address home =
        performance ? addr::performanceCommonAddress(0) : addr::rhythmCommonAddress(0);
    std::vector<std::pair<addr::Address, int>> out;
    for (const int block : performance ? PerformanceImage::blocks() : RhythmImage::blocks())
        out.emplace_back(addr::Address{home[0], home[1], std::uint8_t(block), 0x00},
                         performance ? PerformanceImage::blockSize(block)
                                     : RhythmImage::blockSize(block));
    return out;
}
} // namespace

bool EditHistory::Record::changes() const
{
    return !std::equal(before(), before() + count, after());
}

EditHistory::EditHistory(EditState &state, SysexProtocol &protocol, QObject *parent)
    : QObject(parent), state_(state), protocol_(protocol), transfer_(state, protocol)
{
    protocol_.setRecorder(this);
}

EditHistory::~EditHistory()
{
    if (protocol_.recorder() == this)
        protocol_.setRecorder(nullptr);
}

bool EditHistory::readBytes(const addr::Address &adrs, int count, std::uint8_t *out) const
{
    for (int i = 0; i < count; ++i) {
        const std::optional<std::uint8_t> b = SendGuard::current(state_, advanced(adrs, i));
        if (!b)
            return false;
        out[i] = *b;
    }
    return true;
}

bool EditHistory::coveredByRegion(const Step &step, const addr::Address &adrs, int count) const
{
    if (!step.hasRegion)
        return false;
    if (step.region.wholeImage) {
        switch (step.region.buffer) {
        case Buffer::Performance:
            return PerformanceImage::Locate(adrs).has_value();
        case Buffer::Rhythm:
            return RhythmImage::Locate(adrs).has_value();
        case Buffer::Patch:
            break;
        }
        return patchAddress(adrs) && adrs[0] == state_.EditPrefix[0] &&
               adrs[1] == state_.EditPrefix[1] && PatchImage::Locate(adrs).has_value();
    }
    const int first = addr::fromSevenBit(step.region.address);
    const int at = addr::fromSevenBit(adrs);
    return at >= first && at + count <= first + step.region.count;
}

void EditHistory::dataSetSending(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    if (applying_ || !recordable(adrs) || count <= 0)
        return;
    std::vector<std::uint8_t> before(std::size_t(count), 0);
    if (!readBytes(adrs, count, before.data())) {
        // Nothing known to go back to: the edit stands, and what could be
        // redone no longer follows from it.
        if (groupDepth_ == 0 && !redo_.empty()) {
            redo_.clear();
            Q_EMIT changed();
        }
        return;
    }
    if (std::equal(before.begin(), before.end(), data))
        return;

    if (group_) {
        if (!coveredByRegion(*group_, adrs, count))
            addRecord(*group_, adrs, before.data(), data, count);
        return;
    }
    if (gestureOpen_ && !undo_.empty() && undo_.back().open && undo_.back().gesture == gesture_) {
        bytes_ -= footprint(undo_.back());
        addRecord(undo_.back(), adrs, before.data(), data, count);
        bytes_ += footprint(undo_.back());
        Q_EMIT changed();
        return;
    }
    Step step;
    step.gesture = gestureOpen_ ? gesture_ : 0;
    step.open = gestureOpen_;
    addRecord(step, adrs, before.data(), data, count);
    redo_.clear();
    push(std::move(step));
}

void EditHistory::addRecord(Step &step, const addr::Address &adrs, const std::uint8_t *before,
                            const std::uint8_t *after, int count)
{
    // The same parameter again, with nothing else in between: the first
    // bytes stay, the latest win. Anything else in between keeps its order.
    if (!step.records.empty()) {
        Record &last = step.records.back();
        if (!last.wholeImage && last.address == adrs && last.count == count) {
            std::copy(after, after + count, last.bytes.begin() + count);
            return;
        }
    }
    Record r;
    r.address = adrs;
    r.count = count;
    r.bytes.assign(before, before + count);
    r.bytes.insert(r.bytes.end(), after, after + count);
    step.records.push_back(std::move(r));
}

void EditHistory::dropUnchanged(Step &step)
{
    step.records.erase(std::remove_if(step.records.begin(), step.records.end(),
                                      [](const Record &r) { return !r.changes(); }),
                       step.records.end());
}

void EditHistory::beginGroup(const QString &label, const Region &region)
{
    if (groupDepth_++ > 0)
        return;
    closeTop();
    Step step;
    step.label = label;
    step.open = false;
    step.region = region;
    Record r;
    if (region.wholeImage && region.buffer != Buffer::Patch) {
        // One record per block, so that taking it back sends only the
        // blocks that changed. A block not wholly known was never the
        // unit's as far as the editor can tell: it has nothing to go back to.
        step.hasRegion = true;
        step.paced = true;
        for (const auto &[address, size] : bufferBlocks(region.buffer)) {
            Record block;
            block.address = address;
            block.count = size;
            block.bytes.assign(std::size_t(size), 0);
            if (readBytes(address, size, block.bytes.data()))
                step.records.push_back(std::move(block));
        }
        group_ = std::move(step);
        return;
    }
    if (region.wholeImage) {
        r.wholeImage = true;
        r.count = addr::ImageSize;
        r.bytes.assign(state_.patchImage.data(), state_.patchImage.data() + addr::ImageSize);
        step.hasRegion = true;
    } else if (region.count > 0 && region.count <= sysex::MaxDataCount &&
               recordable(region.address)) {
        r.address = region.address;
        r.count = region.count;
        r.bytes.assign(std::size_t(region.count), 0);
        // Bytes the editor does not know yet cannot be put back: the group
        // then keeps only the data sets it sees.
        step.hasRegion = readBytes(region.address, region.count, r.bytes.data());
    }
    if (step.hasRegion)
        step.records.push_back(std::move(r));
    group_ = std::move(step);
}

void EditHistory::endGroup()
{
    if (groupDepth_ == 0 || --groupDepth_ > 0)
        return;
    Step step = std::move(*group_);
    group_.reset();
    // The region's records hold only their bytes from before so far.
    for (Record &r : step.records) {
        if (r.bytes.size() == std::size_t(2 * r.count))
            continue;
        r.bytes.resize(std::size_t(2 * r.count));
        if (r.wholeImage)
            std::copy_n(state_.patchImage.data(), addr::ImageSize, r.bytes.begin() + r.count);
        else if (!readBytes(r.address, r.count, r.bytes.data() + r.count))
            std::copy_n(r.before(), r.count, r.bytes.begin() + r.count);
    }
    dropUnchanged(step);
    if (step.records.empty())
        return;
    redo_.clear();
    push(std::move(step));
}

void EditHistory::push(Step step)
{
    closeTop();
    bytes_ += footprint(step);
    undo_.push_back(std::move(step));
    trim();
    Q_EMIT changed();
}

// A finished gesture may have come back to where it started (a slider
// dragged away and back): such a step takes nothing back and goes.
void EditHistory::closeTop()
{
    if (undo_.empty() || !undo_.back().open)
        return;
    Step &top = undo_.back();
    top.open = false;
    bytes_ -= footprint(top);
    dropUnchanged(top);
    if (top.records.empty()) {
        undo_.pop_back();
        Q_EMIT changed();
        return;
    }
    bytes_ += footprint(top);
}

void EditHistory::trim()
{
    while (undo_.size() > 1 && (int(undo_.size()) > stepLimit_ || bytes_ > byteBudget_)) {
        bytes_ -= footprint(undo_.front());
        undo_.pop_front();
    }
}

void EditHistory::setLimits(int steps, qsizetype bytes)
{
    stepLimit_ = std::max(1, steps);
    byteBudget_ = std::max<qsizetype>(1, bytes);
    trim();
    Q_EMIT changed();
}

void EditHistory::beginGesture()
{
    ++gesture_;
    gestureOpen_ = true;
}

void EditHistory::endGesture()
{
    gestureOpen_ = false;
    closeTop();
}

void EditHistory::clear()
{
    group_.reset();
    groupDepth_ = 0;
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    Q_EMIT changed();
}

EditHistory::Result EditHistory::undo()
{
    return move(true);
}

EditHistory::Result EditHistory::redo()
{
    return move(false);
}

EditHistory::Result EditHistory::move(bool back)
{
    if (applying_)
        return Result::Busy;
    if (state_.SendLock || group_)
        return Result::Locked;
    closeTop();
    std::deque<Step> &from = back ? undo_ : redo_;
    std::deque<Step> &to = back ? redo_ : undo_;
    if (from.empty())
        return Result::Nothing;
    Step step = std::move(from.back());
    from.pop_back();
    // Only the undo side counts against the budget; the redo side never
    // holds more than was taken from it.
    if (back)
        bytes_ -= footprint(step);
    const Result result = apply(step, back);
    if (!back)
        bytes_ += footprint(step);
    to.push_back(std::move(step));
    Q_EMIT changed();
    Q_EMIT applied();
    return result;
}

EditHistory::Result EditHistory::apply(Step &step, bool back)
{
    applying_ = true;
    const bool offline = state_.MidiClosed;
    // A whole performance or rhythm set goes at the pace of a transfer, or
    // the unit drops blocks.
    const bool paced = step.paced && !offline;
    bool first = true;
    const auto put = [&](const Record &r, const std::uint8_t *bytes) {
        if (paced && !first)
            PatchTransfer::waitProcessing(PerformanceTransfer::DataSetPauseMs);
        first = false;
        write(r, bytes, offline);
    };
    if (back) {
        for (auto r = step.records.rbegin(); r != step.records.rend(); ++r)
            put(*r, r->before());
    } else {
        for (const Record &r : step.records)
            put(r, r.after());
    }
    state_.PatchModified = true;
    applying_ = false;
    return offline ? Result::Offline : Result::Done;
}

void EditHistory::write(const Record &record, const std::uint8_t *bytes, bool offline)
{
    if (record.wholeImage) {
        std::copy_n(bytes, addr::ImageSize, state_.patchImage.data());
        if (!offline)
            transfer_.SendPatch();
        return;
    }
    addr::Address adrs = record.address;
    // The image is the edited patch in either mode: its bytes go to the
    // patch being edited now. In Rhythm mode part 10 holds the rhythm set,
    // which patch bytes must never reach: the image alone takes them back,
    // and the unit gets them with the next patch sent.
    if (patchAddress(adrs)) {
        if (state_.editMode() == EditMode::Rhythm) {
            protocol_.Store({addr::AreaTempPatch, 0x00, adrs[2], adrs[3]}, bytes, record.count);
            return;
        }
        adrs[0] = state_.EditPrefix[0];
        adrs[1] = state_.EditPrefix[1];
    }
    if (offline)
        protocol_.Store(adrs, bytes, record.count);
    else
        protocol_.SendDataSet(adrs, bytes, record.count);
}

QString EditHistory::textOf(const Step &step) const
{
    if (!step.label.isEmpty())
        return step.label;
    for (const Record &r : step.records)
        if (!r.wholeImage)
            return PatchParameters::describe(r.address);
    return QString();
}

QString EditHistory::undoText() const
{
    return undo_.empty() ? QString() : textOf(undo_.back());
}

QString EditHistory::redoText() const
{
    return redo_.empty() ? QString() : textOf(redo_.back());
}

qsizetype EditHistory::footprint(const Step &step)
{
    // What the allocator hands out, roughly: the step itself, its label and
    // record array, and each record's byte run.
    constexpr qsizetype AllocationOverhead = 16;
    qsizetype n = qsizetype(sizeof(Step)) + step.label.capacity() * qsizetype(sizeof(QChar)) +
                  qsizetype(step.records.capacity() * sizeof(Record)) + AllocationOverhead;
    for (const Record &r : step.records)
        n += qsizetype(r.bytes.capacity()) + AllocationOverhead;
    return n;
}
