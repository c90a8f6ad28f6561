#pragma once
// main() for benchmarks whose code wants a Qt application object: timers,
// pauses that run an event loop.

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#define TESSIVA_QT_BENCHMARK_MAIN()                                                                \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QCoreApplication app(argc, argv);                                                          \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
