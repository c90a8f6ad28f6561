// Fetch and send of the temporary performance and of part 10's rhythm set
// through the editor's transfer code against the virtual JV-1080 with cable
// timing: the wall time of the whole command against what its bytes need on
// the cable plus the pauses it makes. One request at a time makes a rhythm
// fetch 65 round trips; this shows what that costs.

#include "cablebench.h"
#include "qtbenchmarkmain.h"

#include "midi/performancetransfer.h"
#include "midi/sysexmessage.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <benchmark/benchmark.h>

namespace {

using Content = PerformanceTransfer::Content;

int blockCount(Content c)
{
    return int(PerformanceTransfer::blocks(c).size());
}

int dataBytes(Content c)
{
    return c == Content::Performance ? PerformanceImage::Size : RhythmImage::Size;
}

using Bench = CableBench<PerformanceTransfer>;

void BM_Fetch(benchmark::State &state, Content content)
{
    Bench b;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QEventLoop loop;
        bool complete = false;
        QObject::connect(&b.transfer, &PerformanceTransfer::fetchFinished, &loop,
                         [&](PerformanceTransfer::Outcome o) {
                             complete = o == PerformanceTransfer::Outcome::Complete;
                             loop.quit();
                         });
        if (content == Content::Performance)
            b.transfer.GetPerformance();
        else
            b.transfer.GetRhythm();
        if (b.transfer.fetching())
            loop.exec();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (!complete)
            state.SkipWithError("fetch incomplete");
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    const int blocks = blockCount(content);
    const int bytes = blocks * sysex::RequestLength + dataBytes(content) + blocks * sysex::Overhead;
    reportCable(state, total, cableMs(bytes) + (blocks - 1) * PerformanceTransfer::RequestPauseMs);
}
BENCHMARK_CAPTURE(BM_Fetch, performance, Content::Performance)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fetch, rhythm, Content::Rhythm)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_Send(benchmark::State &state, Content content)
{
    Bench b;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (content == Content::Performance)
            b.transfer.SendPerformance();
        else
            b.transfer.SendRhythm();
        // The command is over once the unit has taken the last byte in.
        b.backend->engine().waitIdle();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    const int blocks = blockCount(content);
    reportCable(state, total,
                cableMs(dataBytes(content) + blocks * sysex::Overhead) +
                    blocks * PerformanceTransfer::DataSetPauseMs);
}
BENCHMARK_CAPTURE(BM_Send, performance, Content::Performance)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Send, rhythm, Content::Rhythm)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

TESSIVA_QT_BENCHMARK_MAIN()
