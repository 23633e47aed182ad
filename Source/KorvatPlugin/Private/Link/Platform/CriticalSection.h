// A recursive lock for the threads of one process (a Win32 critical section).
#pragma once

#include <cstddef>

namespace Korvat::UE4::Platform
{

/** Recursive: the owning thread may enter again and must leave as often as it entered. */
class CriticalSection
{
public:
	CriticalSection() noexcept;
	~CriticalSection();
	CriticalSection(const CriticalSection&) = delete;
	CriticalSection& operator=(const CriticalSection&) = delete;

	void Enter() noexcept;
	void Leave() noexcept;

private:
	/** Room for the native object (CRITICAL_SECTION or a recursive pthread mutex), sized by the backend. */
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
