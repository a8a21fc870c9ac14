// Kept out of the benchmarks' own file so that the compiler never inlines the
// replaced operators into their callers.
#include "alloc_count.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t allocations = 0;
} // namespace

std::size_t morvik::bench::allocationCount()
{
    return allocations;
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
