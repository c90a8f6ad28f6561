#pragma once
// What the transfer benchmarks share: the virtual JV-1080 at cable speed
// behind a windowless link with one transfer engine on it, and the figures
// they print (the wall time against the cable time plus the pauses).

#include "core/recordinginfosink.h"
#include "midi/mididevices.h"
#include "midi/synthlink.h"
#include "sim/simlayout.h"
#include "sim/simulatorbackend.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

inline double cableMs(int bytes)
{
    return std::chrono::duration<double, std::milli>(simlayout::ByteTime * bytes).count();
}

inline void reportCable(benchmark::State &state, double totalMs, double referenceMs)
{
    const double mean = totalMs / double(state.iterations());
    state.counters["wall_ms"] = mean;
    state.counters["cable_plus_pauses_ms"] = referenceMs;
    state.counters["ratio"] = mean / referenceMs;
}

template <typename Transfer> struct CableBench
{
    CableBench()
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
    Transfer transfer{link.state, link.protocol};
};
