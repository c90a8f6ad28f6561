#include "loopbackbackend.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {
constexpr unsigned Data1Shift = 8;
constexpr unsigned Data2Shift = 16;

struct Message
{
    int device = 0;
    bool isShort = true;
    std::uint32_t packed = 0;
    std::vector<std::uint8_t> bytes;
};
} // namespace

struct LoopbackCable
{
    explicit LoopbackCable(int pairCount) : pairs(pairCount), worker([this] { run(); }) {}

    ~LoopbackCable()
    {
        {
            std::lock_guard lock(queueMutex);
            stopping = true;
        }
        queueChanged.notify_all();
        worker.join();
    }

    void enqueue(Message message)
    {
        {
            std::lock_guard lock(queueMutex);
            queue.push_back(std::move(message));
            ++queued;
        }
        queueChanged.notify_all();
    }

    std::uint32_t now() const
    {
        using namespace std::chrono;
        return std::uint32_t(duration_cast<milliseconds>(steady_clock::now() - epoch).count());
    }

    void run()
    {
        std::unique_lock lock(queueMutex);
        for (;;) {
            queueChanged.wait(lock, [this] { return stopping || !queue.empty(); });
            if (stopping)
                return;
            Message message = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            deliver(message);
            lock.lock();
            ++delivered;
            queueChanged.notify_all();
        }
    }

    // Under the receivers' lock, so a closing input waits for a delivery in
    // progress and is never called after it has gone.
    void deliver(const Message &message)
    {
        std::lock_guard lock(receiversMutex);
        const std::uint32_t time = now();
        for (const auto &[device, receiver] : receivers) {
            if (device != message.device)
                continue;
            if (message.isShort)
                receiver->receiveShort(message.packed, time);
            else
                receiver->receiveSysex(message.bytes.data(), message.bytes.size(), time);
        }
    }

    const int pairs;
    const std::chrono::steady_clock::time_point epoch = std::chrono::steady_clock::now();
    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<Message> queue;
    std::uint64_t queued = 0;
    std::uint64_t delivered = 0;
    bool stopping = false;
    std::mutex receiversMutex;
    std::vector<std::pair<int, MidiReceiver *>> receivers;
    std::thread worker;
};

namespace {
class LoopbackInput : public MidiInputConnection
{
public:
    LoopbackInput(std::shared_ptr<LoopbackCable> impl, int device, MidiReceiver &receiver)
        : m_impl(std::move(impl)), m_receiver(&receiver)
    {
        std::lock_guard lock(m_impl->receiversMutex);
        m_impl->receivers.emplace_back(device, m_receiver);
    }
    ~LoopbackInput() override
    {
        std::lock_guard lock(m_impl->receiversMutex);
        std::erase_if(m_impl->receivers, [this](const auto &r) { return r.second == m_receiver; });
    }

private:
    std::shared_ptr<LoopbackCable> m_impl;
    MidiReceiver *m_receiver;
};

class LoopbackOutput : public MidiOutputConnection
{
public:
    LoopbackOutput(std::shared_ptr<LoopbackCable> impl, int device)
        : m_impl(std::move(impl)), m_device(device)
    {
    }
    void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        m_impl->enqueue(Message{m_device,
                                true,
                                std::uint32_t(status) | std::uint32_t(data1) << Data1Shift |
                                    std::uint32_t(data2) << Data2Shift,
                                {}});
    }
    void sendLong(const std::uint8_t *bytes, std::size_t length) override
    {
        m_impl->enqueue(
            Message{m_device, false, 0, std::vector<std::uint8_t>(bytes, bytes + length)});
    }

private:
    std::shared_ptr<LoopbackCable> m_impl;
    int m_device;
};
} // namespace

LoopbackBackend::LoopbackBackend(int pairs)
    : d(std::make_shared<LoopbackCable>(pairs < 1 ? 1 : pairs))
{
}

LoopbackBackend::~LoopbackBackend() = default;

QString LoopbackBackend::name() const
{
    return QStringLiteral("Loopback");
}

QStringList LoopbackBackend::inputDevices()
{
    if (d->pairs == 1)
        return {name()};
    QStringList names;
    for (int i = 1; i <= d->pairs; ++i)
        names << name() + QLatin1Char(' ') + QString::number(i);
    return names;
}

QStringList LoopbackBackend::outputDevices()
{
    return inputDevices();
}

std::unique_ptr<MidiInputConnection> LoopbackBackend::openInput(int index, MidiReceiver &receiver)
{
    if (index < 0 || index >= d->pairs)
        throw MidiBackendError(QStringLiteral("No loopback device %1").arg(index));
    return std::make_unique<LoopbackInput>(d, index, receiver);
}

std::unique_ptr<MidiOutputConnection> LoopbackBackend::openOutput(int index)
{
    if (index < 0 || index >= d->pairs)
        throw MidiBackendError(QStringLiteral("No loopback device %1").arg(index));
    return std::make_unique<LoopbackOutput>(d, index);
}

void LoopbackBackend::flush()
{
    std::unique_lock lock(d->queueMutex);
    const std::uint64_t target = d->queued;
    d->queueChanged.wait(lock, [this, target] { return d->delivered >= target; });
}
