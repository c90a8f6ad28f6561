#include "mididevices.h"

#include <algorithm>

namespace {
const QString outOfRangeText = QStringLiteral("Invalid device ID");

// Finds the backend that holds a flat index and the index within it.
template <typename ListFn>
std::pair<MidiBackend *, int> locate(const std::vector<std::shared_ptr<MidiBackend>> &backends,
                                     int index, ListFn list)
{
    if (index >= 0) {
        for (const auto &backend : backends) {
            const int count = int(list(*backend).size());
            if (index < count)
                return {backend.get(), index};
            index -= count;
        }
    }
    throw MidiBackendError(outOfRangeText);
}
} // namespace

void MidiDevices::addBackend(std::shared_ptr<MidiBackend> backend)
{
    if (backend)
        m_backends.push_back(std::move(backend));
}

void MidiDevices::insertBackend(std::shared_ptr<MidiBackend> backend)
{
    if (backend)
        m_backends.insert(m_backends.begin(), std::move(backend));
}

QStringList MidiDevices::inputNames() const
{
    QStringList names;
    for (const auto &backend : m_backends)
        names += backend->inputDevices();
    return names;
}

QStringList MidiDevices::outputNames() const
{
    QStringList names;
    for (const auto &backend : m_backends)
        names += backend->outputDevices();
    return names;
}

std::unique_ptr<MidiInputConnection> MidiDevices::openInput(int index, MidiReceiver &receiver)
{
    auto [backend, local] =
        locate(m_backends, index, [](MidiBackend &b) { return b.inputDevices(); });
    return backend->openInput(local, receiver);
}

std::unique_ptr<MidiOutputConnection> MidiDevices::openOutput(int index)
{
    auto [backend, local] =
        locate(m_backends, index, [](MidiBackend &b) { return b.outputDevices(); });
    return backend->openOutput(local);
}

QStringList MidiDevices::unavailableReasons() const
{
    QStringList reasons;
    for (const auto &backend : m_backends) {
        const QString reason = backend->unavailableReason();
        if (!reason.isEmpty())
            reasons << backend->name() + QStringLiteral(": ") + reason;
    }
    return reasons;
}
