#include "sim/simulatorengine.h"

#include "sim/simlayout.h"

#include <algorithm>

namespace {
constexpr std::uint8_t StatusMask = 0xFF;
constexpr int Data1Shift = 8;
constexpr int Data2Shift = 16;
constexpr std::uint8_t FirstSystemStatus = 0xF0;
constexpr std::uint8_t FirstTwoByteStatus = 0xC0; // program change, channel pressure
constexpr std::uint8_t LastTwoByteStatus = 0xDF;
} // namespace

SimulatorEngine::SimulatorEngine(int unitId) : synth_(unitId)
{
    thread_ = std::thread([this] { run(); });
}

SimulatorEngine::~SimulatorEngine()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SimulatorEngine::setWireSpeed(bool on)
{
    std::lock_guard lock(mutex_);
    wire_ = on;
}

bool SimulatorEngine::wireSpeed() const
{
    std::lock_guard lock(mutex_);
    return wire_;
}

void SimulatorEngine::setBusyMode(bool on)
{
    std::lock_guard lock(mutex_);
    busy_ = on;
}

void SimulatorEngine::setBusyTail(Clock::duration tail)
{
    std::lock_guard lock(mutex_);
    busyTail_ = tail;
}

bool SimulatorEngine::busyMode() const
{
    std::lock_guard lock(mutex_);
    return busy_;
}

void SimulatorEngine::setDropEveryNthAnswer(int n)
{
    std::lock_guard lock(mutex_);
    dropEvery_ = std::max(n, 0);
    answersSinceDrop_ = 0;
}

int SimulatorEngine::dropEveryNthAnswer() const
{
    std::lock_guard lock(mutex_);
    return dropEvery_;
}

void SimulatorEngine::setUnitId(int unitId)
{
    std::lock_guard lock(mutex_);
    synth_.setUnitId(unitId);
}

int SimulatorEngine::unitId() const
{
    std::lock_guard lock(mutex_);
    return synth_.unitId();
}

SimulatorEngine::Clock::duration SimulatorEngine::cableTime(qsizetype bytes) const
{
    return simlayout::ByteTime * bytes;
}

void SimulatorEngine::receive(const std::uint8_t *bytes, std::size_t length)
{
    if (!bytes || length == 0)
        return;
    Pending p{QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length)), Clock::now()};
    {
        std::lock_guard lock(mutex_);
        if (wire_) {
            p.at = std::max(p.at, inCableFree_) + cableTime(p.bytes.size());
            inCableFree_ = p.at;
        }
        incoming_.push_back(std::move(p));
    }
    wake_.notify_all();
}

void SimulatorEngine::receiveShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    const std::uint8_t bytes[] = {status, data1, data2};
    std::size_t length = 3;
    if (status >= FirstSystemStatus)
        length = 1;
    else if (status >= FirstTwoByteStatus && status <= LastTwoByteStatus)
        length = 2;
    receive(bytes, length);
}

void SimulatorEngine::MidiIn::receiveShort(std::uint32_t packed, std::uint32_t) noexcept
{
    try {
        e_.receiveShort(std::uint8_t(packed & StatusMask),
                        std::uint8_t((packed >> Data1Shift) & StatusMask),
                        std::uint8_t((packed >> Data2Shift) & StatusMask));
    } catch (...) {
        // Out of memory: the message is lost, as on an overrun cable.
    }
}

void SimulatorEngine::MidiIn::receiveSysex(const std::uint8_t *bytes, std::size_t length,
                                           std::uint32_t) noexcept
{
    try {
        e_.receive(bytes, length);
    } catch (...) {
        // Out of memory: the message is lost, as on an overrun cable.
    }
}

void SimulatorEngine::addListener(MidiReceiver *listener)
{
    std::lock_guard lock(listenersMutex_);
    listeners_.push_back(listener);
}

void SimulatorEngine::removeListener(MidiReceiver *listener)
{
    std::lock_guard lock(listenersMutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

bool SimulatorEngine::waitIdle(int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return incoming_.empty() && outgoing_.empty() && !delivering_;
    });
}

SynthMemory SimulatorEngine::memory() const
{
    std::lock_guard lock(mutex_);
    return synth_.memory();
}

void SimulatorEngine::setMemory(const SynthMemory &memory)
{
    std::lock_guard lock(mutex_);
    synth_.memory() = memory;
}

SimulatorEngine::Stats SimulatorEngine::stats() const
{
    std::lock_guard lock(mutex_);
    return stats_;
}

void SimulatorEngine::setRecording(bool on)
{
    std::lock_guard lock(mutex_);
    recording_ = on;
}

QList<QByteArray> SimulatorEngine::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

void SimulatorEngine::run()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (incoming_.empty() && outgoing_.empty()) {
            idle_.notify_all();
            wake_.wait(lock);
            continue;
        }
        // Answers already due leave before the next message is looked at,
        // so a request arriving just as an answer ends sees the cable free.
        const bool send = !outgoing_.empty() &&
                          (incoming_.empty() || outgoing_.front().at <= incoming_.front().at);
        const Clock::time_point due = send ? outgoing_.front().at : incoming_.front().at;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        if (send) {
            const QByteArray answer = std::move(outgoing_.front().bytes);
            outgoing_.pop_front();
            if (dropEvery_ > 0 && ++answersSinceDrop_ >= dropEvery_) {
                answersSinceDrop_ = 0;
                ++stats_.answersDropped;
                continue;
            }
            delivering_ = true;
            lock.unlock();
            deliver(answer);
            lock.lock();
            delivering_ = false;
            ++stats_.answersSent;
        } else {
            const Pending message = std::move(incoming_.front());
            incoming_.pop_front();
            handle(message);
        }
    }
}

void SimulatorEngine::handle(const Pending &message)
{
    if (recording_)
        received_.append(message.bytes);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(message.bytes.constData());
    const int length = int(message.bytes.size());
    if (busy_ && message.at < busyUntil_ && synth_.isRequest(bytes, length)) {
        ++stats_.requestsDropped;
        return;
    }
    const VirtualSynth::Result r = synth_.receive(bytes, length);
    switch (r.outcome) {
    case VirtualSynth::Outcome::Stored:
        ++stats_.dataSets;
        break;
    case VirtualSynth::Outcome::Ignored:
        ++stats_.ignored;
        break;
    case VirtualSynth::Outcome::Answered:
        ++stats_.requestsAnswered;
        for (const QByteArray &answer : r.answers) {
            const Clock::time_point sent =
                std::max(message.at, outCableFree_) + cableTime(answer.size());
            outCableFree_ = sent;
            busyUntil_ = sent + busyTail_;
            outgoing_.push_back({answer, wire_ ? sent : message.at});
        }
        break;
    }
}

void SimulatorEngine::deliver(const QByteArray &answer)
{
    const auto ms = std::uint32_t(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
    std::lock_guard lock(listenersMutex_);
    for (MidiReceiver *l : listeners_)
        l->receiveSysex(reinterpret_cast<const std::uint8_t *>(answer.constData()),
                        std::size_t(answer.size()), ms);
}
