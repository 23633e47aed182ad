// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "CriticalSection.h"

#include "Os_Win32.h"

#include <new>

namespace Korvat::UE4::Platform
{

namespace
{

static_assert(sizeof(CRITICAL_SECTION) <= 64 && alignof(CRITICAL_SECTION) <= alignof(std::max_align_t),
              "CriticalSection::Storage must hold a CRITICAL_SECTION");

CRITICAL_SECTION* SectionIn(unsigned char* Storage) noexcept
{
	return std::launder(reinterpret_cast<CRITICAL_SECTION*>(Storage));
}

} // namespace

CriticalSection::CriticalSection() noexcept
{
	::InitializeCriticalSection(new (Storage) CRITICAL_SECTION());
}

CriticalSection::~CriticalSection()
{
	::DeleteCriticalSection(SectionIn(Storage));
}

void CriticalSection::Acquire() noexcept
{
	::EnterCriticalSection(SectionIn(Storage));
}

void CriticalSection::Release() noexcept
{
	::LeaveCriticalSection(SectionIn(Storage));
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
