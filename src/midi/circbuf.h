#pragma once
// A fixed-size ring between exactly one producer thread and one consumer
// thread. Storage is allocated once, by the constructor; push and pop never
// allocate or lock. The waiting count is the only variable both sides
// write; the write position belongs to the producer, the read position to
// the consumer.

#include <atomic>
#include <cstddef>
#include <memory>

template <typename T> class Circbuf
{
public:
    explicit Circbuf(std::size_t capacity)
        : m_items(std::make_unique<T[]>(capacity)), m_capacity(capacity)
    {
    }
    Circbuf(const Circbuf &) = delete;
    Circbuf &operator=(const Circbuf &) = delete;

    std::size_t capacity() const noexcept { return m_capacity; }
    std::size_t count() const noexcept { return m_count.load(std::memory_order_acquire); }
    // Producer side: stays true until the producer itself pushes.
    bool hasRoom() const noexcept { return count() < m_capacity; }

    // Producer only. False, and nothing stored, when the ring is full.
    bool push(const T &item) noexcept
    {
        if (!hasRoom())
            return false;
        m_items[m_write] = item;
        m_write = next(m_write);
        // Publishes the item: the consumer reads it only after seeing the count.
        m_count.fetch_add(1, std::memory_order_acq_rel);
        return true;
    }

    // Consumer only. False when nothing waits.
    bool pop(T &item) noexcept
    {
        if (count() == 0)
            return false;
        item = m_items[m_read];
        m_read = next(m_read);
        // Hands the slot back: the producer overwrites it only after this.
        m_count.fetch_sub(1, std::memory_order_acq_rel);
        return true;
    }

private:
    std::size_t next(std::size_t position) const noexcept
    {
        return position + 1 == m_capacity ? 0 : position + 1;
    }

    std::unique_ptr<T[]> m_items;
    const std::size_t m_capacity;
    std::atomic<std::size_t> m_count{0};
    // Kept on separate cache lines so the two threads do not contend for them.
    alignas(64) std::size_t m_write = 0;
    alignas(64) std::size_t m_read = 0;
};
