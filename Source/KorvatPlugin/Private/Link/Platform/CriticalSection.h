// A recursive lock for the threads of one process (a Win32 critical section).
#pragma once

#include <atomic>
#include <cstddef>

namespace Korvat::UE4::Platform
{

/**
 * Recursive: the owning thread may enter again and must leave as often as it entered. Re-entry by the
 * owner is counted here without touching the system object, which the backend takes only on the outer
 * entry; the link re-enters its section on every step.
 */
class CriticalSection
{
public:
	CriticalSection() noexcept;
	~CriticalSection();
	CriticalSection(const CriticalSection&) = delete;
	CriticalSection& operator=(const CriticalSection&) = delete;

	void Enter() noexcept
	{
		const void* const Self = CallingThread();
		// Only a thread stores itself as owner, so a match cannot be stale.
		if (Owner.load(std::memory_order_relaxed) == Self)
		{
			++Depth;
			return;
		}
		Acquire();
		Owner.store(Self, std::memory_order_relaxed);
		Depth = 1;
	}

	void Leave() noexcept
	{
		if (--Depth == 0)
		{
			Owner.store(nullptr, std::memory_order_relaxed);
			Release();
		}
	}

private:
	/** An address unique to the calling thread. */
	static const void* CallingThread() noexcept
	{
		static thread_local const char Marker = 0;
		return &Marker;
	}

	/** Takes and gives back the system object; never called recursively. */
	void Acquire() noexcept;
	void Release() noexcept;

	std::atomic<const void*> Owner{nullptr};
	unsigned Depth = 0;
	/** Room for the system object (CRITICAL_SECTION, or a lock word), sized by the backend. */
	alignas(std::max_align_t) unsigned char Storage[64];
};

/** Enters on construction and leaves on destruction. */
class ScopedSection
{
public:
	explicit ScopedSection(CriticalSection& InSection) noexcept : Section(InSection) { Section.Enter(); }
	~ScopedSection() { Section.Leave(); }
	ScopedSection(const ScopedSection&) = delete;
	ScopedSection& operator=(const ScopedSection&) = delete;

private:
	CriticalSection& Section;
};

} // namespace Korvat::UE4::Platform
