// Counts the C++ heap allocations of a benchmark program: linking AllocationCounter.cpp replaces the global
// operator new (and its array and nothrow forms) with a counting one over malloc.
#pragma once

#include <cstdint>

namespace Korvat::Bench
{
/** Every operator new since the program started. */
std::uint64_t AllocationCount() noexcept;
} // namespace Korvat::Bench
