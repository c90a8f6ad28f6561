#pragma once
// What each fuzz target does with one input, shared with the test that
// replays the inputs kept under fuzz/regressions. Each returns false when a
// property that must hold for any input does not; crashes and sanitizer
// reports speak for themselves.

#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "core/syxfile.h"
#include "midi/hublink.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"
#include "sim/sysexstream.h"
#include "sim/virtualsynth.h"

#include <algorithm>
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
// from this unit, no longer than a tone, and until a data set has been
// stored the memory must stay as it started. The unit is built once and its
// memory put back for each input, which keeps the fuzzer fast.
inline bool simulator(const std::uint8_t *data, std::size_t size)
{
    static const SynthMemory pristine;
    static VirtualSynth synth;
    synth.memory() = pristine;
    SysexStream stream;
    bool stored = false;
    for (const QByteArray &m : stream.feed(reinterpret_cast<const char *>(data), qsizetype(size))) {
        const VirtualSynth::Result r = synth.receive(m);
        for (const QByteArray &a : r.answers) {
            const auto *bytes = reinterpret_cast<const std::uint8_t *>(a.constData());
            if (a.size() > sysex::Overhead + addr::ToneSize ||
                !sysex::verify(bytes, int(a.size()), synth.deviceByte(), sysex::CommandDataSet)
                     .isEmpty())
                return false;
        }
        stored = stored || r.outcome == VirtualSynth::Outcome::Stored;
        if (!stored && !(synth.memory() == pristine))
            return false;
    }
    return true;
}

// A .syx file's bytes: the report must agree with itself, list a bounded
// number of lines, and every patch it took must go out as valid messages
// that read back as the same patch.
inline bool syxFile(const std::uint8_t *data, std::size_t size)
{
    constexpr int MostLines = 201;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SyxReadReport r = SyxFile::parse(bytes);
    if (r.ok == r.patches.isEmpty() || r.ok != r.error.isEmpty() || r.problems.size() > MostLines)
        return false;
    if (r.messages > std::count(bytes.begin(), bytes.end(), char(sysex::Start)))
        return false;
    for (const SyxPatch &p : r.patches) {
        const SyxReadReport back =
            SyxFile::parse(SyxFile::temporaryPatch(p.image, EditState::DefaultUnitId));
        if (back.patches.size() != 1 || !(back.patches[0].image == p.image))
            return false;
    }
    return true;
}

} // namespace fuzzbody
