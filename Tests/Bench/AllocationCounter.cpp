#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local std::uint64_t Allocations = 0;
}

std::uint64_t Korvat::Bench::AllocationCount() noexcept
{
	return Allocations;
}

void* operator new(std::size_t Size)
{
	++Allocations;
	if (void* Block = std::malloc(Size == 0 ? 1 : Size))
	{
		return Block;
	}
	throw std::bad_alloc();
}
void* operator new[](std::size_t Size)
{
	return ::operator new(Size);
}
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept
{
	++Allocations;
	return std::malloc(Size == 0 ? 1 : Size);
}
void* operator new[](std::size_t Size, const std::nothrow_t& Tag) noexcept
{
	return ::operator new(Size, Tag);
}
void operator delete(void* Block) noexcept
{
	std::free(Block);
}
void operator delete[](void* Block) noexcept
{
	std::free(Block);
}
void operator delete(void* Block, std::size_t) noexcept
{
	std::free(Block);
}
void operator delete[](void* Block, std::size_t) noexcept
{
	std::free(Block);
}
