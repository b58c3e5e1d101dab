#pragma once

#include "../model/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarnel
{

// Finds 256-byte records of a block by content: a hash table of record indices, each hit
// confirmed by comparing all 256 bytes. Libraries of many thousands of programs are common, and
// comparing every pair would be quadratic. The block is referred to, not copied: its records
// may move (the block grows) but must not change while they are indexed. Each distinct record
// also carries how often it was counted in, for merges that must tell one copy from two.
class RecordSet
{
public:
    static constexpr size_t recordSize = 256;

    explicit RecordSet(const Bytes& records) : block(records) {}

    void clear();
    void reserve(size_t records);
    // Indexes record `index` of the block; false (and nothing indexed) when an equal one is there.
    bool insert(size_t index);
    // Indexes record `index` unless an equal one is there, and counts it; returns its count.
    std::uint32_t addCopy(size_t index);
    // How often a record equal to these 256 bytes was counted in (1 for each insert).
    std::uint32_t countOf(const std::uint8_t* record) const;
    // The index of a record equal to these 256 bytes, or -1.
    std::ptrdiff_t find(const std::uint8_t* record) const;
    bool contains(const std::uint8_t* record) const { return find(record) >= 0; }
    size_t size() const noexcept { return count; }

    static std::uint64_t hashOf(const std::uint8_t* record) noexcept;

private:
    struct Slot
    {
        std::uint64_t hash = 0;
        std::uint32_t index = 0;
        std::uint32_t copies = 0; // 0: the slot is free
    };

    void grow();
    size_t findSlot(const std::uint8_t* record, std::uint64_t hash) const;

    const Bytes& block;
    std::vector<Slot> slots;
    size_t count = 0;
};

} // namespace zarnel
