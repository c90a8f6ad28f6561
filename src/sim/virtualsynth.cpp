#include "sim/virtualsynth.h"

#include "midi/sysexmessage.h"

namespace {

constexpr int SizePos = sysex::DataPos; // the four size bytes of a request
constexpr int FramingTail = 2;          // checksum and F7

addr::Size sizeOf(const std::uint8_t *bytes)
{
    return addr::Size{bytes[SizePos], bytes[SizePos + 1], bytes[SizePos + 2], bytes[SizePos + 3]};
}

} // namespace

bool VirtualSynth::isRequest(const std::uint8_t *bytes, int length) const
{
    return bytes && length > sysex::CommandPos &&
           bytes[sysex::CommandPos] == sysex::CommandRequest &&
           sysex::verify(bytes, length, deviceByte(), sysex::CommandRequest).isEmpty();
}

VirtualSynth::Result VirtualSynth::receive(const std::uint8_t *bytes, int length)
{
    Result r;
    if (!bytes || length <= 0) {
        r.reason = QStringLiteral("empty message");
        return r;
    }
    if (bytes[0] != sysex::Start) {
        r.reason = QStringLiteral("not a System Exclusive message");
        return r;
    }
    const bool request =
        length > sysex::CommandPos && bytes[sysex::CommandPos] == sysex::CommandRequest;
    const std::uint8_t command = request ? sysex::CommandRequest : sysex::CommandDataSet;
    r.reason = sysex::verify(bytes, length, deviceByte(), command);
    if (!r.reason.isEmpty())
        return r;

    const addr::Address adrs = sysex::addressOf(bytes);
    if (request) {
        r.outcome = Outcome::Answered;
        for (const SynthMemory::Chunk &c : memory_.read(adrs, addr::fromSevenBit(sizeOf(bytes))))
            r.answers.append(sysex::dataSetMessage(deviceByte(), c.address, c.bytes));
        return r;
    }
    r.outcome = Outcome::Stored;
    r.stored = memory_.write(adrs, bytes + sysex::DataPos, length - sysex::DataPos - FramingTail);
    return r;
}
