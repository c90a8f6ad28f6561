#include "sysexpool.h"

#include <cstring>

SysexPool::SysexPool(std::size_t count, std::size_t size)
    : m_count(count), m_size(size), m_data(std::make_unique<std::uint8_t[]>(count * size)),
      m_lengths(std::make_unique<std::size_t[]>(count)), m_free(count)
{
    // Filled by this thread before the callback thread ever sees the pool.
    for (std::size_t slot = 0; slot < count; ++slot)
        m_free.push(int(slot));
}

int SysexPool::store(const std::uint8_t *bytes, std::size_t length) noexcept
{
    int slot = -1;
    if (length > m_size || !m_free.pop(slot))
        return -1;
    if (length > 0)
        std::memcpy(m_data.get() + std::size_t(slot) * m_size, bytes, length);
    m_lengths[std::size_t(slot)] = length;
    return slot;
}

void SysexPool::release(int slot) noexcept
{
    m_free.push(slot);
}
