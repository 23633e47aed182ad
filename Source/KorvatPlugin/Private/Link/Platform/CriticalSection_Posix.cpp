// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <new>

namespace Korvat::UE4::Platform
{

namespace
{

// Taken with one atomic operation when free, as it nearly always is; a contending thread sleeps on the
// word (a futex) until the owner gives it back.
using FLockWord = std::atomic<std::uint32_t>;
constexpr std::uint32_t Free = 0;
constexpr std::uint32_t Taken = 1;
constexpr std::uint32_t TakenWithWaiters = 2;

static_assert(sizeof(FLockWord) <= 64, "CriticalSection::Storage must hold the lock word");

FLockWord& WordIn(unsigned char* Storage) noexcept
{
	return *std::launder(reinterpret_cast<FLockWord*>(Storage));
}

} // namespace

CriticalSection::CriticalSection() noexcept
{
	new (Storage) FLockWord(Free);
}

CriticalSection::~CriticalSection()
{
	WordIn(Storage).~FLockWord();
}

void CriticalSection::Acquire() noexcept
{
	FLockWord& Word = WordIn(Storage);
	std::uint32_t Expected = Free;
	if (Word.compare_exchange_strong(Expected, Taken, std::memory_order_acquire, std::memory_order_relaxed))
	{
		return;
	}
	while (Word.exchange(TakenWithWaiters, std::memory_order_acquire) != Free)
	{
		Word.wait(TakenWithWaiters, std::memory_order_relaxed);
	}
}

void CriticalSection::Release() noexcept
{
	FLockWord& Word = WordIn(Storage);
	if (Word.exchange(Free, std::memory_order_release) == TakenWithWaiters)
	{
		Word.notify_one();
	}
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
