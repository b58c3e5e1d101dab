#pragma once

#include <cstddef>
#include <cstdio>

namespace zarnel::bench
{

// Heap allocations of the current thread while a scope is open. This executable replaces
// operator new and also catches malloc, calloc, realloc and the aligned ones, since JUCE's
// HeapBlock (behind MidiBuffer, Array, MemoryBlock) goes straight to malloc.
struct AllocationCount
{
    size_t news = 0;
    size_t mallocs = 0;

    size_t total() const noexcept { return news + mallocs; }
};

class AllocationScope
{
public:
    // What the scope sees is added to `into` when it closes.
    explicit AllocationScope(AllocationCount& into) noexcept;
    ~AllocationScope();

    AllocationScope(const AllocationScope&) = delete;
    AllocationScope& operator=(const AllocationScope&) = delete;

private:
    AllocationCount& target;
    AllocationCount before;
};

// The call stack of the first allocation seen inside any scope, kept for the report.
bool haveAllocationStack() noexcept;
void printAllocationStack(std::FILE* out);

// Loads what the stack capture needs before anything is counted.
void warmUpAllocationCounter();

} // namespace zarnel::bench
