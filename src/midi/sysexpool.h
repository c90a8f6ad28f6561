#pragma once
// The System Exclusive buffers of an open input port: a fixed number of
// buffers of a fixed size, allocated at open. The callback thread takes a
// free buffer and fills it; the reader copies the bytes out and gives the
// buffer back. The free list is itself a ring, running the other way.

#include "circbuf.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class SysexPool
{
public:
    SysexPool(std::size_t count, std::size_t size);

    std::size_t bufferSize() const { return m_size; }
    std::size_t bufferCount() const { return m_count; }

    // Callback thread: stores the message in a free buffer and returns its
    // slot, or -1 when it is too long or no buffer is free.
    int store(const std::uint8_t *bytes, std::size_t length) noexcept;
    // Reader thread: the bytes of a filled slot.
    const std::uint8_t *data(int slot) const { return m_data.get() + std::size_t(slot) * m_size; }
    std::size_t length(int slot) const { return m_lengths[std::size_t(slot)]; }
    // Reader thread: the slot is free again.
    void release(int slot) noexcept;

private:
    std::size_t m_count;
    std::size_t m_size;
    std::unique_ptr<std::uint8_t[]> m_data;
    std::unique_ptr<std::size_t[]> m_lengths;
    Circbuf<int> m_free;
};
