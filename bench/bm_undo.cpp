// Undo and redo of one step on a full patch, the recovery file's write, and
// the memory a 10,000-step history holds.

#include "discardingsender.h"
#include "qtbenchmarkmain.h"

#include "core/editstate.h"
#include "core/recordinginfosink.h"
#include "core/recoveryfile.h"
#include "midi/edithistory.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"
#include "midi/undogroup.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

constexpr int HistorySteps = 10000;

// A patch with every byte set, MIDI open to a port that takes everything.
struct Setup
{
    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    DiscardingSender sender;
    SysexProtocol protocol{state, info, hub};
    EditHistory history{state, protocol};
    Setup()
    {
        state.MidiClosed = false;
        protocol.setSender(&sender);
        QRandomGenerator rng(2026);
        for (int i = 0; i < addr::ImageSize; ++i)
            state.patchImage[i] = std::uint8_t(rng.bounded(128));
    }
};

addr::Address toneParameter(int i)
{
    return {addr::AreaTempPatch, 0x00, addr::toneBlock(1 + i % addr::ToneCount),
            std::uint8_t(i % 0x7F)};
}

void BM_UndoRedoOneParameter(benchmark::State &bs)
{
    Setup s;
    const addr::Address cutoff = toneParameter(0x51);
    s.protocol.SendDataSet(cutoff, std::uint8_t(s.state.patchImage.tone(2, 0x51) ^ 1));
    for (auto _ : bs) {
        s.history.undo();
        s.history.redo();
    }
    bs.SetItemsProcessed(2 * bs.iterations());
}
BENCHMARK(BM_UndoRedoOneParameter);

// A whole patch replaced (a file opened) with MIDI closed: what is left of
// undo besides the five paced data sets of the patch.
void BM_UndoRedoWholePatchOffline(benchmark::State &bs)
{
    Setup s;
    {
        const UndoGroup group(s.protocol, QStringLiteral("Open"));
        for (int i = 0; i < addr::ImageSize; ++i)
            s.state.patchImage[i] = std::uint8_t(s.state.patchImage[i] ^ 1);
    }
    s.state.MidiClosed = true;
    for (auto _ : bs) {
        s.history.undo();
        s.history.redo();
    }
    bs.SetItemsProcessed(2 * bs.iterations());
}
BENCHMARK(BM_UndoRedoWholePatchOffline);

void BM_RecoveryWrite(benchmark::State &bs)
{
    QTemporaryDir dir;
    const RecoveryFile file(dir.path());
    Setup s;
    for (auto _ : bs) {
        const FileResult r = file.write({s.state.patchImage, QDateTime::currentDateTime(), {}});
        if (!r)
            bs.SkipWithError(qPrintable(r.error));
    }
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMicrosecond);

void BM_HistoryOf10000Steps(benchmark::State &bs)
{
    for (auto _ : bs) {
        bs.PauseTiming();
        auto s = std::make_unique<Setup>();
        const std::size_t heapBefore = mallinfo2().uordblks;
        bs.ResumeTiming();
        for (int i = 0; i < HistorySteps; ++i) {
            const addr::Address a = toneParameter(i);
            const std::optional<ImagePlace> place = PatchImage::Locate(a);
            s->protocol.SendDataSet(a, std::uint8_t(s->state.patchImage[place->position()] ^ 1));
        }
        bs.PauseTiming();
        bs.counters["steps"] = s->history.undoCount();
        bs.counters["history_bytes"] = double(s->history.bytesUsed());
        bs.counters["heap_bytes"] = double(mallinfo2().uordblks - heapBefore);
        bs.counters["bytes_per_step"] = double(s->history.bytesUsed()) / HistorySteps;
        s.reset();
        bs.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryOf10000Steps)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The history's pacing timers want an application object.
TESSIVA_QT_BENCHMARK_MAIN()
