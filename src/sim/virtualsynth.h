#pragma once
// The message handling of the virtual JV-1080, without any timing: a data set
// (DT1) is stored, a data request (RQ1) is answered with data sets. Only
// well-formed Roland messages for model 6A addressed to this unit (or to the
// broadcast device) with a correct checksum count; the unit silently ignores
// everything else, as the real one does.

#include "sim/synthmemory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class VirtualSynth
{
public:
    static constexpr int DefaultUnitId = 17;

    enum class Outcome
    {
        Stored,   // a data set was applied (bytes outside any block dropped)
        Answered, // a request was answered; answers holds the data sets
        Ignored,  // not a message for this unit; reason says why
    };

    struct Result
    {
        Outcome outcome = Outcome::Ignored;
        QList<QByteArray> answers; // one DT1 per block the request touched
        int stored = 0;            // data bytes written by a data set
        QString reason;
    };

    explicit VirtualSynth(int unitId = DefaultUnitId) : unitId_(unitId) {}

    int unitId() const { return unitId_; }
    void setUnitId(int unitId) { unitId_ = unitId; }
    std::uint8_t deviceByte() const { return std::uint8_t((unitId_ - 1) & 0x7F); }

    Result receive(const std::uint8_t *bytes, int length);
    Result receive(const QByteArray &message)
    {
        return receive(reinterpret_cast<const std::uint8_t *>(message.constData()),
                       int(message.size()));
    }

    // A request this unit would answer; lets the busy unit drop it unread.
    bool isRequest(const std::uint8_t *bytes, int length) const;

    SynthMemory &memory() { return memory_; }
    const SynthMemory &memory() const { return memory_; }

private:
    int unitId_;
    SynthMemory memory_;
};
