#pragma once
// The registry of MIDI backends. The ports see one flat list of input
// devices and one of output devices: the devices of every backend, in
// backend order. Used from the user-interface thread only.

#include "midibackend.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class MidiDevices
{
public:
    void addBackend(std::shared_ptr<MidiBackend> backend);
    // Puts the backend ahead of the others, so its devices come first.
    void insertBackend(std::shared_ptr<MidiBackend> backend);
    const std::vector<std::shared_ptr<MidiBackend>> &backends() const { return m_backends; }

    QStringList inputNames() const;
    QStringList outputNames() const;
    int inputCount() const { return int(inputNames().size()); }
    int outputCount() const { return int(outputNames().size()); }

    // Throw MidiBackendError for an index outside the flat list or a device
    // the backend cannot open.
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver);
    std::unique_ptr<MidiOutputConnection> openOutput(int index);

    // "<backend>: <reason>" for every backend that offers no devices.
    QStringList unavailableReasons() const;

private:
    std::vector<std::shared_ptr<MidiBackend>> m_backends;
};
