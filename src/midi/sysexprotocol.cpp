#include "midi/sysexprotocol.h"

#include "core/editstate.h"
#include "core/infosink.h"
#include "core/patchimage.h"
#include "core/sendguard.h"
#include "midi/editrecorder.h"
#include "midi/hublink.h"
#include "midi/midisender.h"
#include "midi/parseobserver.h"

#include <QtGlobal>
#include <algorithm>
#include <optional>

namespace {
constexpr int OutLineLimit = 250;  // first outgoing log line grows while shorter
constexpr int DumpLineLimit = 255; // first incoming dump line grows while shorter
constexpr int ParseLineFlush = 80; // parse line goes out once this long
constexpr std::uint8_t LastHeldArea = addr::AreaUser; // 04..11 are read past quietly

const QString MidiClosedText = QStringLiteral("Midi Closed");
const QString MidiClosedRequestText = QStringLiteral("Midi Closed ");

bool sevenBitAddress(const std::array<std::uint8_t, 4> &bytes)
{
    for (std::uint8_t b : bytes)
        if (b > sysex::DataMask)
            return false;
    return true;
}

// Which of the editor's buffers an address belongs to. Part 10's area holds
// the rhythm set, so it never reaches the patch image.
enum class Home
{
    None,
    Patch,
    Performance,
    Rhythm,
};

Home homeOf(const addr::Address &adrs)
{
    switch (adrs[0]) {
    case addr::AreaTempPerformance:
        return Home::Performance;
    case addr::AreaPerformancePart:
        return adrs[1] == addr::RhythmPart ? Home::Rhythm : Home::Patch;
    case addr::AreaTempPatch:
        return Home::Patch;
    default:
        return Home::None;
    }
}

// USER and CARD memory: the bank transfers' business, never the image's.
bool memoryArea(std::uint8_t area)
{
    return area == addr::AreaUser || area == addr::AreaCard;
}

// Stores a run of bytes into a performance or rhythm buffer when it lies
// inside one block there; a run that spills over is not the unit's layout
// and is left alone as a whole.
template <typename Image>
bool storeRun(Image &image, const addr::Address &adrs, const std::uint8_t *data, int count)
{
    const std::optional<int> position = Image::Locate(adrs);
    if (!position || adrs[3] + count > Image::blockSize(adrs[2]))
        return false;
    std::copy(data, data + count, image.data() + *position);
    image.markKnown(*position, count);
    return true;
}

// Appends " XX" for each byte, the first line up to its limit, the rest to
// the second line.
void appendOut(QString &first, QString &second, const std::uint8_t *bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        QString &line = first.size() < OutLineLimit ? first : second;
        line += QLatin1Char(' ') + sysex::hexByte(bytes[i]);
    }
}
} // namespace

// The incoming log lines of one message; builds nothing while the log window
// is closed, so the parse stays cheap when nobody looks.
struct SysexProtocol::InLog
{
    InLog(bool enabled, HubLink &link) : on(enabled), hub(link) {}

    void dump(const std::uint8_t *bytes, int length)
    {
        if (!on)
            return;
        for (int i = 0; i < length; ++i) {
            QString &line = dump1.size() < DumpLineLimit ? dump1 : dump2;
            line += sysex::hexByte(bytes[i]) + QLatin1Char(' ');
        }
    }
    void entry(const QString &text)
    {
        if (on)
            parse += text;
    }
    // "sy0A05 ": tag, offset and value run together.
    void entry(const char *tag, int offset, std::uint8_t value)
    {
        if (on)
            parse += QLatin1String(tag) + sysex::hexByte(offset) + sysex::hexByte(value) +
                     QLatin1Char(' ');
    }
    // "P10A 05 ": the performance entries keep offset and value apart.
    void performanceEntry(int offset, std::uint8_t value)
    {
        if (on)
            parse += QLatin1String("P1") + sysex::hexByte(offset) + QLatin1Char(' ') +
                     sysex::hexByte(value) + QLatin1Char(' ');
    }
    void afterDataByte()
    {
        if (on && parse.size() >= ParseLineFlush) {
            hub.AddInLog(parse);
            parse.clear();
        }
    }
    void finish()
    {
        if (!on)
            return;
        hub.AddInLog(parse);
        hub.AddInLog(dump1);
        hub.AddInLog(dump2);
    }

    bool on;
    HubLink &hub;
    QString parse, dump1, dump2;
};

SysexProtocol::SysexProtocol(EditState &state, InfoSink &info, HubLink &hub)
    : state_(state), info_(info), hub_(hub)
{
}

void SysexProtocol::SendDataSet(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    if (state_.SendLock || state_.Comparing)
        return;
    sysex::Buffer buf;
    const int length = sysex::buildDataSet(buf, state_.deviceByte(), adrs, data, count);
    if (length == 0) {
#ifndef NDEBUG
        qCritical("SendDataSet refused: %d data bytes, or a byte above 7Fh", count);
#endif
        return;
    }

    if (recorder_)
        recorder_->dataSetSending(adrs, data, count);
    state_.PatchModified = true;
    hub_.LedOut();
    const bool mirrored = Store(adrs, data, count) || homeOf(adrs) == Home::Patch;

    if (state_.MidiClosed)
        info_.ShowInfo(MidiClosedText);
    else if (sender_)
        sender_->SendLongMsg(buf.data(), length);
    // A byte the port never got is not the synthesizer's: the same value
    // must go out again once MIDI is open.
    if (!state_.MidiClosed && !mirrored)
        state_.sentBytes.remember(adrs, data, count);

    logOut(buf.data(), length, count);
    if (count == 1)
        state_.LastSentValue = data[0];
    hub_.PlayEditNote();
}

bool SysexProtocol::Store(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    switch (homeOf(adrs)) {
    case Home::Patch: {
        const std::optional<ImagePlace> place = PatchImage::Locate(adrs);
        if (!place || place->offset + count > addr::SlotSize)
            return false;
        std::copy(data, data + count, state_.patchImage.data() + place->position());
        return true;
    }
    case Home::Performance:
        return storeRun(state_.performance, adrs, data, count);
    case Home::Rhythm:
        return storeRun(state_.rhythm, adrs, data, count);
    case Home::None:
        break;
    }
    return false;
}

bool SysexProtocol::SendParameter(const addr::Address &adrs, std::uint8_t value)
{
    if (state_.SendLock || state_.Comparing || !SendGuard::changed(state_, adrs, value))
        return false;
    SendDataSet(adrs, value);
    return true;
}

void SysexProtocol::RequestData(const addr::Address &adrs, const addr::Size &size)
{
    if (!sevenBitAddress(adrs) || !sevenBitAddress(size)) {
#ifndef NDEBUG
        qCritical("RequestData refused: an address or size byte above 7Fh");
#endif
        return;
    }
    hub_.LedOut();
    state_.SendLock = true;
    const sysex::Request msg = sysex::buildRequest(state_.deviceByte(), adrs, size);
    logOut(msg.data(), sysex::RequestLength, -1);
    if (state_.MidiClosed)
        info_.ShowInfo(MidiClosedRequestText);
    else if (sender_)
        sender_->SendLongMsg(msg.data(), sysex::RequestLength);
}

bool SysexProtocol::RequestMemory(const addr::Address &adrs, const addr::Size &size)
{
    if (state_.MidiClosed || !memoryArea(adrs[0]) || !sevenBitAddress(adrs) ||
        !sevenBitAddress(size))
        return false;
    hub_.LedOut();
    const sysex::Request msg = sysex::buildRequest(state_.deviceByte(), adrs, size);
    logOut(msg.data(), sysex::RequestLength, -1);
    if (sender_)
        sender_->SendLongMsg(msg.data(), sysex::RequestLength);
    return true;
}

bool SysexProtocol::SendMemory(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    if (state_.MidiClosed || !memoryArea(adrs[0]))
        return false;
    sysex::Buffer buf;
    const int length = sysex::buildDataSet(buf, state_.deviceByte(), adrs, data, count);
    if (length == 0)
        return false;
    hub_.LedOut();
    logOut(buf.data(), length, count);
    if (sender_)
        sender_->SendLongMsg(buf.data(), length);
    return true;
}

// A data set's two log lines start with its data count; a request (count
// below zero) is one line.
void SysexProtocol::logOut(const std::uint8_t *bytes, int length, int count)
{
    if (!state_.LogMessages)
        return;
    if (count < 0) {
        QString line;
        appendOut(line, line, bytes, length);
        hub_.AddOutLog(line);
        return;
    }
    QString first = QStringLiteral("Len=%1 ").arg(count);
    QString second;
    appendOut(first, second, bytes, length);
    hub_.AddOutLog(first);
    hub_.AddOutLog(second);
}

void SysexProtocol::addObserver(ParseObserver *observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void SysexProtocol::removeObserver(ParseObserver *observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

ParseResult SysexProtocol::parseIncoming(const std::uint8_t *bytes, int length)
{
    const ParseResult result = parse(bytes, length);
    if (result.stored()) {
        // A copy: an observer may remove itself while being told.
        const std::vector<ParseObserver *> observers = observers_;
        for (ParseObserver *o : observers)
            o->parsedIncoming(result);
    }
    return result;
}

ParseResult SysexProtocol::parse(const std::uint8_t *bytes, int length)
{
    ParseResult result;
    InLog log(state_.LogMessages, hub_);
    if (!bytes || length < 0)
        length = 0;
    log.dump(bytes, length);

    const auto ignore = [&](const QString &reason) {
        result.reason = reason;
        log.entry(reason + QLatin1Char(' '));
        log.finish();
        return result;
    };

    const QString bad = sysex::verify(
        bytes, length, std::uint8_t(state_.deviceByte() & sysex::DataMask), sysex::CommandDataSet);
    if (!bad.isEmpty())
        return ignore(bad);

    const addr::Address adrs = sysex::addressOf(bytes);
    const std::uint8_t *data = bytes + sysex::DataPos;
    const int count = length - sysex::Overhead;
    const std::uint8_t area = adrs[0];
    if (memoryArea(area))
        tellMemoryData(adrs, data, count);

    if (area == addr::AreaSystem) {
        if (adrs[2] <= addr::LastSystemCommonBlock) {
            storeSystem(data, count, adrs[3], result, log);
            if (!result.stored() && result.reason.isEmpty())
                result.reason = QStringLiteral("no data bytes");
            log.finish();
            return result;
        }
        for (int j = 0; j < count; ++j) {
            log.entry("st", adrs[3] + j, data[j]);
            log.afterDataByte();
        }
        result.reason = QStringLiteral("scale tune data is not kept");
        log.finish();
        return result;
    }

    if (area > LastHeldArea) {
        log.entry(QStringLiteral("Undefined adrs[2] = ") + sysex::hexByte(area) + QLatin1Char(' '));
        result.reason = QStringLiteral("undefined area %1").arg(sysex::hexByte(area));
        log.finish();
        return result;
    }
    if (area > addr::AreaTempPatch)
        return ignore(QStringLiteral("area %1 is not kept").arg(sysex::hexByte(area)));

    // Performance and rhythm data live in their own buffers, never in the
    // patch image.
    if (homeOf(adrs) == Home::Performance || homeOf(adrs) == Home::Rhythm)
        return storeBuffer(adrs, data, count, log);

    const std::optional<ImagePlace> place = PatchImage::Locate(adrs);
    if (!place)
        return ignore(QStringLiteral("block %1 names no patch block").arg(sysex::hexByte(adrs[2])));
    if (place->offset + count > addr::SlotSize)
        return ignore(QStringLiteral("%1 bytes at offset %2 run past slot %3")
                          .arg(count)
                          .arg(sysex::hexByte(place->offset))
                          .arg(place->slot));

    std::uint8_t *target = state_.patchImage.data() + place->position();
    for (int j = 0; j < count; ++j) {
        target[j] = data[j];
        log.afterDataByte();
    }
    result.outcome = ParseResult::Outcome::Stored;
    result.target = ParseResult::Target::Slot;
    result.slot = place->slot;
    result.offset = place->offset;
    result.count = count;
    log.finish();
    return result;
}

void SysexProtocol::tellMemoryData(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    const std::vector<ParseObserver *> observers = observers_;
    for (ParseObserver *o : observers)
        o->memoryDataSet(adrs, data, count);
}

ParseResult SysexProtocol::storeBuffer(const addr::Address &adrs, const std::uint8_t *data,
                                       int count, InLog &log)
{
    ParseResult result;
    const bool performance = homeOf(adrs) == Home::Performance;
    const bool stored = performance ? storeRun(state_.performance, adrs, data, count)
                                    : storeRun(state_.rhythm, adrs, data, count);
    if (!stored) {
        const bool held = performance ? PerformanceImage::Locate(adrs).has_value()
                                      : RhythmImage::Locate(adrs).has_value();
        const QString what = performance ? QStringLiteral("performance") : QStringLiteral("rhythm");
        result.reason = held ? QStringLiteral("%1 bytes at offset %2 run past %3 block %4")
                                   .arg(count)
                                   .arg(sysex::hexByte(adrs[3]), what, sysex::hexByte(adrs[2]))
                             : QStringLiteral("%1 block %2 offset %3 is not held")
                                   .arg(what, sysex::hexByte(adrs[2]), sysex::hexByte(adrs[3]));
        log.entry(result.reason + QLatin1Char(' '));
        log.finish();
        return result;
    }
    for (int j = 0; j < count; ++j) {
        if (performance)
            log.performanceEntry(adrs[3] + j, data[j]);
        log.afterDataByte();
    }
    result.outcome = ParseResult::Outcome::Stored;
    using T = ParseResult::Target;
    if (adrs[2] == addr::BlockCommon) {
        result.target = performance ? T::Performance : T::RhythmCommon;
    } else {
        result.target = performance ? T::PerformancePart : T::RhythmNote;
        result.block = performance ? adrs[2] - addr::BlockPart1 + 1 : adrs[2];
    }
    result.offset = adrs[3];
    result.count = count;
    log.finish();
    return result;
}

void SysexProtocol::storeSystem(const std::uint8_t *data, int count, int offset,
                                ParseResult &result, InLog &log)
{
    result.target = ParseResult::Target::System;
    result.offset = offset;
    for (int j = 0; j < count; ++j) {
        const int o = offset + j;
        if (o >= addr::SystemCommonSize) {
            result.stopNotification = true;
            result.reason = QStringLiteral("system common offset %1 is past its %2 bytes")
                                .arg(sysex::hexByte(o))
                                .arg(addr::SystemCommonSize);
            log.entry(result.reason + QLatin1Char(' '));
            break;
        }
        state_.SystemCommon[std::size_t(o)] = data[j];
        log.entry("sy", o, data[j]);
        log.afterDataByte();
        result.outcome = ParseResult::Outcome::Stored;
        ++result.count;
    }
}
