// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "NamedMutex.h"

#include "Os_Win32.h"


namespace Korvat::UE4::Platform
{

OpenResult NamedMutex::Open(std::wstring_view Name, NamedMutex& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Mutex = ::OpenMutexW(SYNCHRONIZE, false, Terminated.Get());
	if (Mutex == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	Out.Close();
	Out.Native = Win32::FromHandle(Mutex);
	return OpenResult::Ok;
}

OpenResult NamedMutex::Create(std::wstring_view Name, MutexOwnership Ownership, NamedMutex& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Mutex = ::CreateMutexW(nullptr, Ownership == MutexOwnership::OwnedByCreator, Terminated.Get());
	if (Mutex == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	const bool bExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
	Out.Close();
	Out.Native = Win32::FromHandle(Mutex);
	return bExisted ? OpenResult::AlreadyExists : OpenResult::Ok;
}

WaitResult NamedMutex::Wait(std::uint32_t TimeoutMs) noexcept
{
	if (Native == -1)
	{
		return WaitResult::Failed;
	}
	static_assert(InfiniteWait == INFINITE);
	switch (::WaitForSingleObject(Win32::ToHandle(Native), TimeoutMs))
	{
	case WAIT_OBJECT_0:
		return WaitResult::Acquired;
	case WAIT_ABANDONED:
		return WaitResult::Abandoned;
	case WAIT_TIMEOUT:
		return WaitResult::TimedOut;
	case WAIT_FAILED:
		return WaitResult::Failed;
	default:
		return WaitResult::Unknown;
	}
}

bool NamedMutex::Release() noexcept
{
	return Native != -1 && ::ReleaseMutex(Win32::ToHandle(Native)) != 0;
}


void NamedMutex::Close() noexcept
{
	Win32::CloseNative(Native);
	Block = nullptr;
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
