// Allocation policies. The stand-in's containers always allocate on the heap; the policies exist so
// that container types spelt with an allocator are the same types as in the engine.
#pragma once

#include "HAL/Platform.h"

class FHeapAllocator
{
};

template <int32 IndexSize>
class TSizedDefaultAllocator : public FHeapAllocator
{
};

using FDefaultAllocator = TSizedDefaultAllocator<32>;
using FDefaultAllocator64 = TSizedDefaultAllocator<64>;

template <uint32 NumInlineElements, typename SecondaryAllocator = FDefaultAllocator>
class TInlineAllocator
{
};

class FDefaultSetAllocator
{
};
