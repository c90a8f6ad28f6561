// Cost of one edit leaving the program, and of applying one received tone.

#include "discardingsender.h"

#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

#include <benchmark/benchmark.h>

namespace {

struct Setup
{
    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    DiscardingSender sender;
    SysexProtocol protocol{state, info, hub};
    Setup()
    {
        state.MidiClosed = false;
        protocol.setSender(&sender);
    }
};

void BM_SendDataSetOneByte(benchmark::State &bs)
{
    Setup s;
    const addr::Address adrs{addr::AreaTempPatch, 0x00, addr::BlockTone1, 0x5A};
    std::uint8_t value = 0;
    for (auto _ : bs) {
        s.protocol.SendDataSet(adrs, value);
        value = std::uint8_t((value + 1) & sysex::DataMask);
    }
    benchmark::DoNotOptimize(s.state.patchImage.data());
}
BENCHMARK(BM_SendDataSetOneByte);

void BM_ParseToneMessage(benchmark::State &bs)
{
    Setup s;
    s.state.SendLock = true;
    std::uint8_t tone[addr::ToneSize];
    for (int i = 0; i < addr::ToneSize; ++i)
        tone[i] = std::uint8_t(i & sysex::DataMask);
    sysex::Buffer msg;
    const int length = sysex::buildDataSet(msg, s.state.deviceByte(),
                                           {addr::AreaTempPatch, 0x00, addr::toneBlock(2), 0x00},
                                           tone, addr::ToneSize);
    for (auto _ : bs) {
        ParseResult r = s.protocol.parseIncoming(msg.data(), length);
        benchmark::DoNotOptimize(r);
    }
    bs.SetItemsProcessed(bs.iterations());
}
BENCHMARK(BM_ParseToneMessage);

} // namespace

BENCHMARK_MAIN();
