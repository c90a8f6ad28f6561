// Get Patch and Send Patch through the editor's transfer code against the
// virtual JV-1080 with cable timing: the wall time of the whole command
// against what its bytes need on the cable plus the pauses it makes.

#include "qtbenchmarkmain.h"

#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/mididevices.h"
#include "midi/patchtransfer.h"
#include "midi/synthlink.h"
#include "midi/sysexmessage.h"
#include "sim/simlayout.h"
#include "sim/simulatorbackend.h"

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

double cableMs(int bytes)
{
    return std::chrono::duration<double, std::milli>(simlayout::ByteTime * bytes).count();
}

struct Bench
{
    Bench()
    {
        backend->engine().setWireSpeed(true);
        devices.addBackend(backend);
        QString error;
        if (!link.open(SimulatorBackend::DeviceName, error))
            qFatal("%s", qPrintable(error));
    }
    std::shared_ptr<SimulatorBackend> backend = std::make_shared<SimulatorBackend>();
    MidiDevices devices;
    RecordingInfoSink info;
    SynthLink link{devices, info};
    PatchTransfer transfer{link.state, link.protocol};
};

void report(benchmark::State &state, double totalMs, double referenceMs)
{
    const double mean = totalMs / double(state.iterations());
    state.counters["wall_ms"] = mean;
    state.counters["cable_plus_pauses_ms"] = referenceMs;
    state.counters["ratio"] = mean / referenceMs;
}

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
    report(state, total, cableMs(FetchBytes) + Blocks * PatchTransfer::RequestPauseMs);
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
    report(state, total, cableMs(SendBytes) + Blocks * PatchTransfer::DataSetPauseMs);
}
BENCHMARK(BM_SendPatchCable)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

TESSIVA_QT_BENCHMARK_MAIN()
