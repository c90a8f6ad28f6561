#include "sim/simulatorbackend.h"

const QString SimulatorBackend::DeviceName = QStringLiteral("Virtual JV-1080 (built-in)");

namespace {

class SimInput : public MidiInputConnection
{
public:
    SimInput(std::shared_ptr<SimulatorEngine> engine, MidiReceiver &receiver)
        : engine_(std::move(engine)), receiver_(receiver)
    {
        engine_->addListener(&receiver_);
    }
    ~SimInput() override { engine_->removeListener(&receiver_); }

private:
    std::shared_ptr<SimulatorEngine> engine_;
    MidiReceiver &receiver_;
};

class SimOutput : public MidiOutputConnection
{
public:
    explicit SimOutput(std::shared_ptr<SimulatorEngine> engine) : engine_(std::move(engine)) {}
    void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        engine_->receiveShort(status, data1, data2);
    }
    void sendLong(const std::uint8_t *bytes, std::size_t length) override
    {
        engine_->receive(bytes, length);
    }

private:
    std::shared_ptr<SimulatorEngine> engine_;
};

void requireDevice(int index)
{
    if (index != 0)
        throw MidiBackendError(
            QStringLiteral("no device %1 on %2").arg(index).arg(SimulatorBackend::DeviceName));
}

} // namespace

SimulatorBackend::SimulatorBackend(std::shared_ptr<SimulatorEngine> engine)
    : engine_(engine ? std::move(engine) : std::make_shared<SimulatorEngine>())
{
}

QString SimulatorBackend::name() const
{
    return QStringLiteral("Built-in");
}

QStringList SimulatorBackend::inputDevices()
{
    return {DeviceName};
}

QStringList SimulatorBackend::outputDevices()
{
    return {DeviceName};
}

std::unique_ptr<MidiInputConnection> SimulatorBackend::openInput(int index, MidiReceiver &receiver)
{
    requireDevice(index);
    return std::make_unique<SimInput>(engine_, receiver);
}

std::unique_ptr<MidiOutputConnection> SimulatorBackend::openOutput(int index)
{
    requireDevice(index);
    return std::make_unique<SimOutput>(engine_);
}
