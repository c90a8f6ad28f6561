// A whole USER bank fetched through the bank transfer engine from the virtual
// JV-1080 with cable timing and a busy unit: the wall time against what the
// cable allows (every request and answer byte at 320 us) plus the pauses the
// pacing makes, and the retries it took.

#include "core/patchbank.h"
#include "core/recordinginfosink.h"
#include "midi/banktransfer.h"
#include "midi/mididevices.h"
#include "midi/synthlink.h"
#include "midi/sysexmessage.h"
#include "sim/simlayout.h"
#include "sim/simulatorbackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <benchmark/benchmark.h>

namespace {

constexpr int Places = PatchBank::PlaceCount;
constexpr int PatchBytes = addr::CommonSize + addr::ToneCount * addr::ToneSize;
// Per place one request in, five data sets out.
constexpr int PlaceBytes = sysex::RequestLength + PatchBytes + addr::SlotCount * sysex::Overhead;

void BM_BankFetchCable(benchmark::State &state)
{
    auto backend = std::make_shared<SimulatorBackend>();
    backend->engine().setWireSpeed(true);
    backend->engine().setBusyMode(true);
    MidiDevices devices;
    devices.addBackend(backend);
    RecordingInfoSink info;
    SynthLink link(devices, info);
    QString error;
    if (!link.open(SimulatorBackend::DeviceName, error))
        qFatal("%s", qPrintable(error));
    BankTransfer transfer(link.state, link.protocol);
    const BankTransfer::Pacing pacing = transfer.pacing();
    // No pause before the first request.
    const double limitMs =
        std::chrono::duration<double, std::milli>(simlayout::ByteTime * (Places * PlaceBytes))
            .count() +
        (Places - 1) * pacing.pauseMs;

    double totalMs = 0;
    int retries = 0;
    for (auto _ : state) {
        PatchBank bank;
        QEventLoop loop;
        BankTransfer::Outcome outcome = BankTransfer::Outcome::Failed;
        QObject::connect(&transfer, &BankTransfer::finished, &loop,
                         [&](BankTransfer::Outcome o) {
                             outcome = o;
                             loop.quit();
                         });
        QElapsedTimer t;
        t.start();
        transfer.fetch(false, 1, Places, &bank);
        loop.exec();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (outcome != BankTransfer::Outcome::Complete)
            state.SkipWithError("fetch incomplete");
        state.SetIterationTime(ms / 1000);
        totalMs += ms;
        retries += transfer.retriesUsed();
    }
    const double mean = totalMs / double(state.iterations());
    state.counters["wall_ms"] = mean;
    state.counters["cable_plus_pauses_ms"] = limitMs;
    state.counters["ratio"] = mean / limitMs;
    state.counters["retries"] = retries;
    state.counters["pause_ms"] = pacing.pauseMs;
    state.counters["requests_dropped"] = backend->engine().stats().requestsDropped;
}
BENCHMARK(BM_BankFetchCable)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
