// Get Patch against the virtual JV-1080: how close a paced fetch comes to
// what a MIDI cable allows, and how many fetches per second the simulator
// serves without cable timing.

#include "midi/sysexmessage.h"
#include "sim/simlayout.h"
#include "sim/simulatorengine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Blocks = addr::ToneCount + 1;
constexpr auto RequestPause = std::chrono::milliseconds(30);
constexpr std::uint8_t Device = 0x10;
// First request in, then every answer byte out: 15 + 72 + 4 x 129 + 5 x 11.
constexpr int CableBytes = sysex::RequestLength + addr::CommonSize +
                           addr::ToneCount * addr::ToneSize + Blocks * sysex::Overhead;

// Counts answers and notes when the last expected one arrived.
class AnswerCounter : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *, std::size_t, std::uint32_t) noexcept override
    {
        std::lock_guard lock(mutex_);
        ++count_;
        last_ = Clock::now();
        done_.notify_all();
    }
    Clock::time_point waitFor(int count)
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return count_ >= count; });
        count_ -= count;
        return last_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    int count_ = 0;
    Clock::time_point last_;
};

void sendRequest(SimulatorEngine &engine, int k)
{
    const sysex::Request r =
        sysex::buildRequest(Device, {addr::AreaTempPatch, 0x00, addr::patchBlock(k), 0x00},
                            k == 0 ? addr::RequestCommonSize : addr::RequestToneSize);
    engine.receive(r.data(), r.size());
}

void BM_GetPatchWireSpeed(benchmark::State &state)
{
    SimulatorEngine engine;
    engine.setWireSpeed(true);
    AnswerCounter answers;
    engine.addListener(&answers);
    const double limit = std::chrono::duration<double>(simlayout::ByteTime * CableBytes).count();
    double worst = 0;
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int k = 0; k < Blocks; ++k) {
            if (k > 0)
                std::this_thread::sleep_for(RequestPause);
            sendRequest(engine, k);
        }
        const double took = std::chrono::duration<double>(answers.waitFor(Blocks) - start).count();
        state.SetIterationTime(took);
        worst = std::max(worst, took / limit);
        total += took / limit;
    }
    engine.removeListener(&answers);
    state.counters["ratio"] = total / double(state.iterations());
    state.counters["worst_ratio"] = worst;
    state.counters["limit_ms"] = limit * 1000;
}
BENCHMARK(BM_GetPatchWireSpeed)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_GetPatchNoWire(benchmark::State &state)
{
    SimulatorEngine engine;
    AnswerCounter answers;
    engine.addListener(&answers);
    for (auto _ : state) {
        for (int k = 0; k < Blocks; ++k)
            sendRequest(engine, k);
        answers.waitFor(Blocks);
    }
    engine.removeListener(&answers);
    state.counters["fetches_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetPatchNoWire)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
