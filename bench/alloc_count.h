// Counts heap allocations: this benchmark binary replaces the global operator
// new with one that counts its calls.
#pragma once

#include <cstddef>

namespace morvik::bench {

// Calls of operator new since start-up. Not thread-safe: the benchmarks run on
// one thread.
std::size_t allocationCount();

} // namespace morvik::bench
