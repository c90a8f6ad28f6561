#pragma once
// What an open input port gives its device to write into: the event ring,
// the System Exclusive buffers and the notification flags. Lives from
// OpenPort to ClosePort; the callback thread is its only producer.

#include "circbuf.h"
#include "midibackend.h"
#include "sysexpool.h"

#include <atomic>
#include <cstdint>

class TMidiInput;

// 12 bytes, like the packed message it carries.
struct MidiRingItem
{
    std::uint32_t time = 0;
    std::uint32_t packed = 0;
    // The System Exclusive buffer holding the message, or NoSysex.
    std::int32_t sysexSlot = NoSysex;
    static constexpr std::int32_t NoSysex = -1;
};

class InputSink : public MidiReceiver
{
public:
    InputSink(TMidiInput &port, std::size_t capacity, std::size_t sysexCount, std::size_t sysexSize,
              bool sysexOnly);

    void receiveShort(std::uint32_t packed, std::uint32_t timeMs) noexcept override;
    void receiveSysex(const std::uint8_t *bytes, std::size_t length,
                      std::uint32_t timeMs) noexcept override;

    void setSysexOnly(bool sysexOnly) { m_sysexOnly.store(sysexOnly, std::memory_order_relaxed); }
    // Nothing is stored before this; messages arriving earlier are ignored.
    void start() { m_started.store(true, std::memory_order_release); }

    Circbuf<MidiRingItem> &ring() { return m_ring; }
    SysexPool &sysex() { return m_sysex; }
    std::uint32_t dropped() const { return m_dropped.load(std::memory_order_relaxed); }

    // Reader side: clear a flag before looking at the ring, so an item
    // stored meanwhile either is seen now or posts a fresh notification.
    void clearDataPending() { m_dataPending.store(false); }
    void clearOverflowPending() { m_overflowPending.store(false); }

private:
    void stored();
    void overflow();

    TMidiInput &m_port;
    Circbuf<MidiRingItem> m_ring;
    SysexPool m_sysex;
    std::atomic<bool> m_sysexOnly;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_dataPending{false};
    std::atomic<bool> m_overflowPending{false};
    std::atomic<std::uint32_t> m_dropped{0};
};
