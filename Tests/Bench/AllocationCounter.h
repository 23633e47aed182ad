// Counts the C++ heap allocations of a benchmark program: linking AllocationCounter.cpp replaces the global
// operator new (and its array and nothrow forms) with a counting one over malloc.
#pragma once

#include <cstdint>

namespace Korvat::Bench
{
/**
 * The operator new calls the calling thread made since it started: what a measured loop allocates, whatever a
 * host simulator polling on another thread of the same program does meanwhile.
 */
std::uint64_t AllocationCount() noexcept;
} // namespace Korvat::Bench
