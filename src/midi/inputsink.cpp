#include "inputsink.h"

#include "midiinput.h"

InputSink::InputSink(TMidiInput &port, std::size_t capacity, std::size_t sysexCount,
                     std::size_t sysexSize, bool sysexOnly)
    : m_port(port), m_ring(capacity), m_sysex(sysexCount, sysexSize), m_sysexOnly(sysexOnly)
{
}

void InputSink::receiveShort(std::uint32_t packed, std::uint32_t timeMs) noexcept
{
    if (!m_started.load(std::memory_order_acquire) || m_sysexOnly.load(std::memory_order_relaxed))
        return;
    if (m_ring.push(MidiRingItem{timeMs, packed, MidiRingItem::NoSysex}))
        stored();
    else
        overflow();
}

void InputSink::receiveSysex(const std::uint8_t *bytes, std::size_t length,
                             std::uint32_t timeMs) noexcept
{
    if (!m_started.load(std::memory_order_acquire))
        return;
    // Only this thread adds items, so room seen here is still there after
    // the buffer is filled: a taken buffer always reaches the reader.
    if (!m_ring.hasRoom()) {
        overflow();
        return;
    }
    const int slot = m_sysex.store(bytes, length);
    if (slot < 0) {
        overflow();
        return;
    }
    m_ring.push(MidiRingItem{timeMs, 0, slot});
    stored();
}

// A queued notification costs an allocation inside Qt; posting only when
// none is pending keeps that to one per turn of the reader's event loop.
void InputSink::stored()
{
    if (!m_dataPending.exchange(true))
        m_port.postDataNotification();
}

void InputSink::overflow()
{
    m_dropped.fetch_add(1, std::memory_order_relaxed);
    if (!m_overflowPending.exchange(true))
        m_port.postOverflowNotification();
}
