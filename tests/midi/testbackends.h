#pragma once
// Stand-ins for the port tests: a backend whose devices are listed but
// cannot be opened (as when another program holds them), and a receiver
// that ignores everything.

#include "midi/midibackend.h"

class FailingBackend : public MidiBackend
{
public:
    explicit FailingBackend(const QString &reason) : m_reason(reason) {}
    QString name() const override { return QStringLiteral("Failing"); }
    QStringList inputDevices() override { return {QStringLiteral("Busy In")}; }
    QStringList outputDevices() override { return {QStringLiteral("Busy Out")}; }
    std::unique_ptr<MidiInputConnection> openInput(int, MidiReceiver &) override
    {
        throw MidiBackendError(m_reason);
    }
    std::unique_ptr<MidiOutputConnection> openOutput(int) override
    {
        throw MidiBackendError(m_reason);
    }

private:
    QString m_reason;
};

class NullReceiver : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *, std::size_t, std::uint32_t) noexcept override {}
};
