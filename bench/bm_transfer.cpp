// Get Patch and Send Patch through the editor's transfer code against the
// virtual JV-1080 with cable timing: the wall time of the whole command
// against what its bytes need on the cable plus the pauses it makes.

#include "cablebench.h"
#include "qtbenchmarkmain.h"

#include "midi/patchtransfer.h"
#include "midi/sysexmessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <benchmark/benchmark.h>

namespace {

constexpr int Blocks = PatchTransfer::BlockCount;
constexpr int PatchBytes = addr::CommonSize + addr::ToneCount * addr::ToneSize;
// Five requests in, five answers out.
constexpr int FetchBytes = Blocks * sysex::RequestLength + PatchBytes + Blocks * sysex::Overhead;
constexpr int SendBytes = PatchBytes + Blocks * sysex::Overhead;

using Bench = CableBench<PatchTransfer>;

void BM_GetPatchCable(benchmark::State &state)
{
    Bench b;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QEventLoop loop;
        bool complete = false;
        QObject::connect(&b.transfer, &PatchTransfer::fetchFinished, &loop,
                         [&](PatchTransfer::Outcome o) {
                             complete = o == PatchTransfer::Outcome::Complete;
                             loop.quit();
                         });
        b.transfer.GetPatch();
        if (b.transfer.fetching())
            loop.exec();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (!complete)
            state.SkipWithError("fetch incomplete");
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    reportCable(state, total, cableMs(FetchBytes) + Blocks * PatchTransfer::RequestPauseMs);
}
BENCHMARK(BM_GetPatchCable)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SendPatchCable(benchmark::State &state)
{
    Bench b;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        b.transfer.SendPatch();
        // The command is over once the unit has taken the last byte in.
        b.backend->engine().waitIdle();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    reportCable(state, total, cableMs(SendBytes) + Blocks * PatchTransfer::DataSetPauseMs);
}
BENCHMARK(BM_SendPatchCable)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

TESSIVA_QT_BENCHMARK_MAIN()
