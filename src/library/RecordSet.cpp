#include "RecordSet.h"

#include <cstring>

namespace zarnel
{

void RecordSet::clear()
{
    slots.clear();
    count = 0;
}

void RecordSet::reserve(size_t records)
{
    size_t wanted = 16;
    while (wanted < records * 2)
        wanted *= 2;
    if (wanted <= slots.size())
        return;
    std::vector<Slot> old;
    old.swap(slots);
    slots.resize(wanted);
    for (const auto& s : old)
        if (s.copies != 0)
        {
            size_t i = (size_t)s.hash & (slots.size() - 1);
            while (slots[i].copies != 0)
                i = (i + 1) & (slots.size() - 1);
            slots[i] = s;
        }
}

void RecordSet::grow()
{
    reserve(slots.empty() ? 8 : slots.size());
}

std::uint64_t RecordSet::hashOf(const std::uint8_t* record) noexcept
{
    // Eight bytes at a time, mixed as in splitmix64: fast, and good enough for a table that
    // confirms every hit anyway.
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < recordSize; i += 8)
    {
        std::uint64_t w;
        std::memcpy(&w, record + i, 8);
        h ^= w;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    h ^= h >> 29;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 32);
}

size_t RecordSet::findSlot(const std::uint8_t* record, std::uint64_t hash) const
{
    const size_t mask = slots.size() - 1;
    for (size_t i = (size_t)hash & mask;; i = (i + 1) & mask)
    {
        const auto& s = slots[i];
        if (s.copies == 0)
            return i;
        if (s.hash == hash && std::memcmp(block.data() + (size_t)s.index * recordSize, record, recordSize) == 0)
            return i;
    }
}

bool RecordSet::insert(size_t index)
{
    if ((count + 1) * 2 > slots.size())
        grow();
    const auto* record = block.data() + index * recordSize;
    const auto hash = hashOf(record);
    auto& slot = slots[findSlot(record, hash)];
    if (slot.copies != 0)
        return false;
    slot = {hash, (std::uint32_t)index, 1};
    ++count;
    return true;
}

std::uint32_t RecordSet::addCopy(size_t index)
{
    if ((count + 1) * 2 > slots.size())
        grow();
    const auto* record = block.data() + index * recordSize;
    const auto hash = hashOf(record);
    auto& slot = slots[findSlot(record, hash)];
    if (slot.copies == 0)
    {
        slot = {hash, (std::uint32_t)index, 0};
        ++count;
    }
    return ++slot.copies;
}

std::uint32_t RecordSet::countOf(const std::uint8_t* record) const
{
    if (slots.empty())
        return 0;
    return slots[findSlot(record, hashOf(record))].copies;
}

std::ptrdiff_t RecordSet::find(const std::uint8_t* record) const
{
    if (slots.empty())
        return -1;
    const auto& slot = slots[findSlot(record, hashOf(record))];
    return slot.copies != 0 ? (std::ptrdiff_t)slot.index : -1;
}

} // namespace zarnel
