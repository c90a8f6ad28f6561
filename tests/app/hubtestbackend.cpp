#include "hubtestbackend.h"

namespace {

using State = HubTestBackend::State;

class TestInput : public MidiInputConnection
{
public:
    TestInput(std::shared_ptr<State> state, int index) : state_(std::move(state)), index_(index) {}
    ~TestInput() override { state_->receivers.remove(index_); }

private:
    std::shared_ptr<State> state_;
    int index_;
};

class TestOutput : public MidiOutputConnection
{
public:
    explicit TestOutput(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        const char bytes[] = {char(status), char(data1), char(data2)};
        record(QByteArray(bytes, 3));
    }
    void sendLong(const std::uint8_t *bytes, std::size_t length) override
    {
        record(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length)));
    }

private:
    void record(const QByteArray &message)
    {
        if (!state_->sendFailure.isEmpty())
            throw MidiBackendError(state_->sendFailure);
        state_->sent.append(message);
    }
    std::shared_ptr<State> state_;
};

} // namespace

std::unique_ptr<MidiInputConnection> HubTestBackend::openInput(int index, MidiReceiver &receiver)
{
    if (!state_->openFailure.isEmpty())
        throw MidiBackendError(state_->openFailure);
    state_->receivers.insert(index, &receiver);
    return std::make_unique<TestInput>(state_, index);
}

std::unique_ptr<MidiOutputConnection> HubTestBackend::openOutput(int)
{
    if (!state_->openFailure.isEmpty())
        throw MidiBackendError(state_->openFailure);
    ++state_->outputsOpened;
    return std::make_unique<TestOutput>(state_);
}

bool HubTestBackend::playShort(int index, std::uint8_t status, std::uint8_t data1,
                               std::uint8_t data2)
{
    MidiReceiver *receiver = state_->receivers.value(index);
    if (receiver)
        receiver->receiveShort(status | (data1 << 8) | (data2 << 16), 0);
    return receiver;
}

bool HubTestBackend::playSysex(int index, const QByteArray &bytes)
{
    MidiReceiver *receiver = state_->receivers.value(index);
    if (receiver)
        receiver->receiveSysex(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                               std::size_t(bytes.size()), 0);
    return receiver;
}
