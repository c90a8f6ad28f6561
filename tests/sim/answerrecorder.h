#pragma once
// A listener that keeps every answer of the simulator with the thread that
// delivered it.

#include "midi/midibackend.h"

#include <QByteArray>
#include <QList>
#include <mutex>
#include <thread>

class AnswerRecorder : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                      std::uint32_t) noexcept override
    {
        std::lock_guard lock(mutex_);
        answers_.append(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length)));
        threads_.append(std::this_thread::get_id());
    }
    QList<QByteArray> answers() const
    {
        std::lock_guard lock(mutex_);
        return answers_;
    }
    QList<std::thread::id> threads() const
    {
        std::lock_guard lock(mutex_);
        return threads_;
    }

private:
    mutable std::mutex mutex_;
    QList<QByteArray> answers_;
    QList<std::thread::id> threads_;
};
