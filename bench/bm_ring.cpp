// Items per second through the input ring, producer and consumer on two
// threads, the producer retrying whenever the ring is full.
#include "midi/circbuf.h"
#include "midi/inputsink.h"

#include <benchmark/benchmark.h>
#include <thread>

static void BM_RingThroughput(benchmark::State &state)
{
    constexpr std::uint32_t Batch = 1'000'000;
    Circbuf<MidiRingItem> ring(std::size_t(state.range(0)));
    for (auto _ : state) {
        std::thread producer([&ring] {
            for (std::uint32_t i = 0; i < Batch; ++i)
                while (!ring.push(MidiRingItem{i, 0x403C90, MidiRingItem::NoSysex}))
                    std::this_thread::yield();
        });
        std::uint32_t received = 0;
        MidiRingItem item;
        while (received < Batch) {
            if (ring.pop(item))
                ++received;
            else
                std::this_thread::yield();
        }
        producer.join();
        benchmark::DoNotOptimize(item);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * Batch);
}
BENCHMARK(BM_RingThroughput)->Arg(1024)->Arg(5461)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
