#pragma once
// What each fuzz target does with one input, shared with the test that
// replays the inputs kept under fuzz/regressions. Each returns false when a
// property that must hold for any input does not; crashes and sanitizer
// reports speak for themselves.

#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/hublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"
#include "sim/sysexstream.h"
#include "sim/virtualsynth.h"

#include <cstddef>
#include <cstdint>

namespace fuzzbody {

// First byte: unit ID and whether the log is open; the rest is one message
// as the input port would hand it over.
inline bool sysexParse(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return true;
    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    SysexProtocol protocol(state, info, hub);
    state.UnitId = EditState::MinUnitId + (data[0] & 0x0F);
    state.LogMessages = (data[0] & 0x10) != 0;
    const ParseResult r = protocol.parseIncoming(data + 1, int(size - 1));
    // Only a verified data set may be stored.
    if (r.stored() &&
        !sysex::verify(data + 1, int(size - 1), state.deviceByte(), sysex::CommandDataSet)
             .isEmpty())
        return false;
    return r.count >= 0 && r.count <= int(size);
}

// A byte stream into the unit: every answer must be a well-formed data set
// from this unit, no longer than a tone, and nothing but verified data sets
// may change the memory.
inline bool simulator(const std::uint8_t *data, std::size_t size)
{
    VirtualSynth synth;
    SysexStream stream;
    for (const QByteArray &m : stream.feed(reinterpret_cast<const char *>(data), qsizetype(size))) {
        const SynthMemory before = synth.memory();
        const VirtualSynth::Result r = synth.receive(m);
        for (const QByteArray &a : r.answers) {
            const auto *bytes = reinterpret_cast<const std::uint8_t *>(a.constData());
            if (a.size() > sysex::Overhead + addr::ToneSize ||
                !sysex::verify(bytes, int(a.size()), synth.deviceByte(), sysex::CommandDataSet)
                     .isEmpty())
                return false;
        }
        if (r.outcome != VirtualSynth::Outcome::Stored && !(synth.memory() == before))
            return false;
    }
    return true;
}

} // namespace fuzzbody
