#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

namespace zarnel
{

// A bounded, lock-free queue for any number of producer and consumer threads; all storage is
// allocated with the queue, so pushing and popping never allocate or block. A full queue
// refuses new items instead of waiting. Capacity must be a power of two.
template <typename T, size_t Capacity>
class BoundedQueue
{
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");
    static_assert(std::is_trivially_copyable_v<T>, "items are copied between threads");

public:
    BoundedQueue()
    {
        for (size_t i = 0; i < Capacity; ++i)
            cells[i].sequence.store(i, std::memory_order_relaxed);
    }

    BoundedQueue(const BoundedQueue&) = delete;
    BoundedQueue& operator=(const BoundedQueue&) = delete;

    bool push(const T& item) noexcept
    {
        size_t pos = enqueuePos.load(std::memory_order_relaxed);
        for (;;)
        {
            Cell& cell = cells[pos & mask];
            const size_t seq = cell.sequence.load(std::memory_order_acquire);
            const auto diff = (std::intptr_t)seq - (std::intptr_t)pos;
            if (diff == 0)
            {
                if (enqueuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed))
                {
                    cell.value = item;
                    cell.sequence.store(pos + 1, std::memory_order_release);
                    return true;
                }
            }
            else if (diff < 0)
            {
                dropped.fetch_add(1, std::memory_order_relaxed);
                return false; // full
            }
            else
            {
                pos = enqueuePos.load(std::memory_order_relaxed);
            }
        }
    }

    bool pop(T& item) noexcept
    {
        size_t pos = dequeuePos.load(std::memory_order_relaxed);
        for (;;)
        {
            Cell& cell = cells[pos & mask];
            const size_t seq = cell.sequence.load(std::memory_order_acquire);
            const auto diff = (std::intptr_t)seq - (std::intptr_t)(pos + 1);
            if (diff == 0)
            {
                if (dequeuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed))
                {
                    item = cell.value;
                    cell.sequence.store(pos + mask + 1, std::memory_order_release);
                    return true;
                }
            }
            else if (diff < 0)
            {
                return false; // empty
            }
            else
            {
                pos = dequeuePos.load(std::memory_order_relaxed);
            }
        }
    }

    // Approximate while other threads work on the queue.
    bool isEmpty() const noexcept
    {
        return enqueuePos.load(std::memory_order_acquire) == dequeuePos.load(std::memory_order_acquire);
    }

    // Items refused because the queue was full, since construction.
    size_t getNumDropped() const noexcept { return dropped.load(std::memory_order_relaxed); }

    static constexpr size_t capacity() noexcept { return Capacity; }

private:
    static constexpr size_t mask = Capacity - 1;

    struct Cell
    {
        std::atomic<size_t> sequence{0};
        T value{};
    };

    alignas(64) std::array<Cell, Capacity> cells;
    alignas(64) std::atomic<size_t> enqueuePos{0};
    alignas(64) std::atomic<size_t> dequeuePos{0};
    alignas(64) std::atomic<size_t> dropped{0};
};

} // namespace zarnel
