#include "AllocationCounter.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <execinfo.h>
#include <new>
#include <unistd.h>

// glibc's own allocator, under the names it exports for wrappers like this one.
extern "C"
{
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace
{
thread_local bool counting = false;
thread_local bool busy = false; // inside our own bookkeeping
thread_local size_t newCount = 0;
thread_local size_t mallocCount = 0;

constexpr int maxFrames = 40;
void* stackFrames[maxFrames];
int stackDepth = 0;
std::atomic<bool> stackTaken{false};

inline void note(size_t& counter) noexcept
{
    if (!counting || busy)
        return;
    ++counter;
    if (!stackTaken.exchange(true))
    {
        busy = true;
        stackDepth = backtrace(stackFrames, maxFrames);
        busy = false;
    }
}

void* allocate(size_t size)
{
    note(newCount);
    if (void* p = __libc_malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

namespace zarnel::bench
{

AllocationScope::AllocationScope(AllocationCount& into) noexcept : target(into)
{
    before = {newCount, mallocCount};
    counting = true;
}

AllocationScope::~AllocationScope()
{
    counting = false;
    target.news += newCount - before.news;
    target.mallocs += mallocCount - before.mallocs;
}

bool haveAllocationStack() noexcept
{
    return stackDepth > 0;
}

void printAllocationStack(std::FILE* out)
{
    if (stackDepth <= 0)
        return;
    std::fflush(out);
    backtrace_symbols_fd(stackFrames, stackDepth, fileno(out));
}

void warmUpAllocationCounter()
{
    void* frames[4];
    backtrace(frames, 4);
}

} // namespace zarnel::bench

extern "C"
{
void* malloc(size_t size) noexcept
{
    note(mallocCount);
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) noexcept
{
    note(mallocCount);
    return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) noexcept
{
    note(mallocCount);
    return __libc_realloc(p, size);
}

void* memalign(size_t alignment, size_t size) noexcept
{
    note(mallocCount);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) noexcept
{
    note(mallocCount);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) noexcept
{
    note(mallocCount);
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = __libc_memalign(alignment, size);
    if (p == nullptr)
        return ENOMEM;
    *result = p;
    return 0;
}
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    note(newCount);
    return __libc_malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    note(newCount);
    return __libc_malloc(size == 0 ? 1 : size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
