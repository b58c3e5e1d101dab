#pragma once

#include <atomic>
#include <cstddef>

namespace zarnel::test
{

// Counts heap allocations made by the current thread while a scope is active. Works through
// replaced global operator new in this test executable.
class AllocationCounter
{
public:
    AllocationCounter();
    ~AllocationCounter();
    size_t count() const noexcept;

    static void noteAllocation() noexcept;
};

} // namespace zarnel::test
