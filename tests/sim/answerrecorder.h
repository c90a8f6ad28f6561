#pragma once
// A listener that keeps every answer of the simulator with the thread that
// delivered it.

#include "midi/midibackend.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <mutex>
#include <thread>

class AnswerRecorder : public MidiReceiver
{
public:
    struct Answer
    {
        QByteArray bytes;
        std::thread::id thread;
        std::chrono::steady_clock::time_point at;
    };

    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                      std::uint32_t) noexcept override
    {
        std::lock_guard lock(mutex_);
        answers_.append({QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length)),
                         std::this_thread::get_id(), std::chrono::steady_clock::now()});
    }
    QList<Answer> answers() const
    {
        std::lock_guard lock(mutex_);
        return answers_;
    }
    QList<QByteArray> bytes() const
    {
        QList<QByteArray> out;
        for (const Answer &a : answers())
            out.append(a.bytes);
        return out;
    }

private:
    mutable std::mutex mutex_;
    QList<Answer> answers_;
};
