#pragma once
// The virtual JV-1080 as a MIDI device: one input and one output, both
// "Virtual JV-1080 (built-in)". What the editor sends to the output reaches
// the simulator's MIDI IN; its answers arrive at every open input connection
// from the simulator's own thread.

#include "midi/midibackend.h"
#include "sim/simulatorengine.h"

#include <memory>

class SimulatorBackend : public MidiBackend
{
public:
    static const QString DeviceName;

    // Shares the engine, so tests and the app can reach its memory and
    // settings while the backend is registered.
    explicit SimulatorBackend(std::shared_ptr<SimulatorEngine> engine = {});

    SimulatorEngine &engine() { return *engine_; }
    std::shared_ptr<SimulatorEngine> sharedEngine() const { return engine_; }

    QString name() const override;
    QStringList inputDevices() override;
    QStringList outputDevices() override;
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) override;
    std::unique_ptr<MidiOutputConnection> openOutput(int index) override;

private:
    std::shared_ptr<SimulatorEngine> engine_;
};
