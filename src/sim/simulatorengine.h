#pragma once
// The virtual JV-1080 running on its own thread, as a unit at the end of a
// MIDI cable. Messages arrive from any thread; the unit handles them in
// arrival order and hands its answers to its listeners, always from its one
// thread and one call at a time, so a listener may be a single-producer ring.
//
// Wire speed (off by default): both cables carry 31,250 baud, 320 us a byte.
// A message counts as received once its last byte is in, and an answer
// reaches the listeners once its last byte is out; answers queue on the
// outgoing cable. Busy mode imitates XP units that drop a request arriving
// while they are still sending an earlier answer; the unit is busy for as
// long as its answers take on a cable, whether or not wire speed delays
// their delivery. Dropping every Nth answer (off by default) imitates an
// interface that loses messages: the answer takes its time on the cable and
// never arrives.

#include "midi/midibackend.h"
#include "sim/virtualsynth.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class SimulatorEngine
{
public:
    using Clock = std::chrono::steady_clock;

    struct Stats
    {
        int dataSets = 0;
        int requestsAnswered = 0;
        int requestsDropped = 0; // busy mode
        int ignored = 0;
        int answersSent = 0;
        int answersDropped = 0; // every Nth answer lost
    };

    explicit SimulatorEngine(int unitId = VirtualSynth::DefaultUnitId);
    ~SimulatorEngine();
    SimulatorEngine(const SimulatorEngine &) = delete;
    SimulatorEngine &operator=(const SimulatorEngine &) = delete;

    void setWireSpeed(bool on);
    bool wireSpeed() const;
    void setBusyMode(bool on);
    bool busyMode() const;
    // Every nth answer message (data set) is lost, counting from the next
    // one; 0 or less delivers all.
    void setDropEveryNthAnswer(int n);
    int dropEveryNthAnswer() const;
    // Busy mode: how long the unit stays deaf after each answer has left,
    // beyond the answer's own time on the cable (none by default). Requests
    // sent together then meet a busy unit however a loaded machine spaces
    // them.
    void setBusyTail(Clock::duration tail);
    void setUnitId(int unitId);
    int unitId() const;

    // A message arrives at the unit's MIDI IN (bytes copied). Any thread.
    void receive(const std::uint8_t *bytes, std::size_t length);
    void receiveShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // The unit's MIDI IN as a receiver, to plug into an input connection.
    MidiReceiver &midiIn() { return midiIn_; }

    // Listeners get every answer. After removeListener returns, the listener
    // is never called again.
    void addListener(MidiReceiver *listener);
    void removeListener(MidiReceiver *listener);

    // Blocks until every message received so far is handled and every answer
    // delivered; false on time-out.
    bool waitIdle(int timeoutMs = 5000);

    // A copy of the memory, or a change to it, taken between two messages.
    SynthMemory memory() const;
    void setMemory(const SynthMemory &memory);
    Stats stats() const;

    // Keeps every received message (short ones as their 1..3 bytes), for
    // tests that check what reached the unit.
    void setRecording(bool on);
    QList<QByteArray> received() const;

private:
    class MidiIn : public MidiReceiver
    {
    public:
        explicit MidiIn(SimulatorEngine &e) : e_(e) {}
        void receiveShort(std::uint32_t packed, std::uint32_t timeMs) noexcept override;
        void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                          std::uint32_t timeMs) noexcept override;

    private:
        SimulatorEngine &e_;
    };

    struct Pending
    {
        QByteArray bytes;
        Clock::time_point at; // fully received, or fully sent
    };

    void run();
    void handle(const Pending &message);
    void deliver(const QByteArray &answer);
    Clock::duration cableTime(qsizetype bytes) const;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    VirtualSynth synth_;
    std::deque<Pending> incoming_;
    std::deque<Pending> outgoing_;
    Clock::time_point inCableFree_{};
    Clock::time_point outCableFree_{};
    Clock::time_point busyUntil_{};
    Clock::duration busyTail_{};
    bool wire_ = false;
    bool busy_ = false;
    int dropEvery_ = 0;
    int answersSinceDrop_ = 0;
    bool recording_ = false;
    bool delivering_ = false;
    bool stop_ = false;
    Stats stats_;
    QList<QByteArray> received_;
    const Clock::time_point start_ = Clock::now();

    std::mutex listenersMutex_;
    std::vector<MidiReceiver *> listeners_;

    MidiIn midiIn_{*this};
    std::thread thread_;
};
