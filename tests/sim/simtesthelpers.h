#pragma once
// Small helpers shared by the simulator tests.

#include "core/addressmap.h"
#include "midi/midireceiver.h"
#include "midi/midisender.h"
#include "midi/sysexmessage.h"
#include "sim/patchmemory.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QSignalSpy>

// "F0 41 10" -> bytes.
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Block k (0 common, 1..4 tones) starting at data.
inline QByteArray blockBytes(const std::uint8_t *data, int k)
{
    return QByteArray(reinterpret_cast<const char *>(data), addr::blockSize(k));
}

// A patch named name with every other byte drawn from the seed.
inline PatchMemory randomPatch(quint32 seed, const QByteArray &name = "Random Patch")
{
    QRandomGenerator rng(seed);
    PatchMemory p = PatchMemory::initial(name);
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = addr::PatchNameSize; i < addr::blockSize(k); ++i)
            p.block(k)[i] = std::uint8_t(rng.bounded(128));
    return p;
}

// The messages of a dump in tests/data/syx; none when it is missing, which
// the caller's check of the count then reports.
inline QList<QByteArray> syxMessages(const char *name)
{
    QFile f(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? sysex::splitMessages(f.readAll()) : QList<QByteArray>();
}

class NullReceiver : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override {}
    void receiveSysex(const std::uint8_t *, std::size_t, std::uint32_t) noexcept override {}
};

// Records what would go out, for fetches whose answers the test plays.
class RecordingSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        sent.append(QByteArray(reinterpret_cast<const char *>(buffer), length));
    }
    QList<QByteArray> sent;
};

// The outcome a transfer's finished signal carried first.
template <typename Outcome> Outcome outcomeOf(const QSignalSpy &spy)
{
    return spy.first().first().value<Outcome>();
}
