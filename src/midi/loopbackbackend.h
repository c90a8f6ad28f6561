#pragma once
// An in-process MIDI cable for tests: what output device N sends arrives at
// every open connection of input device N, from the backend's own delivery
// thread, as a driver callback would. With one pair both devices are called
// "Loopback"; with more, "Loopback 1", "Loopback 2", ...

#include "midibackend.h"

#include <memory>

struct LoopbackCable;

class LoopbackBackend : public MidiBackend
{
public:
    explicit LoopbackBackend(int pairs = 1);
    ~LoopbackBackend() override;

    QString name() const override;
    QStringList inputDevices() override;
    QStringList outputDevices() override;
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) override;
    std::unique_ptr<MidiOutputConnection> openOutput(int index) override;

    // Blocks until everything sent so far has been delivered.
    void flush();

private:
    std::shared_ptr<LoopbackCable> d;
};
