// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "NamedEvent.h"

#include "Os_Win32.h"


namespace Korvat::UE4::Platform
{

OpenResult NamedEvent::Open(std::wstring_view Name, NamedEvent& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Event = ::OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, false, Terminated.Get());
	if (Event == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	Out.Close();
	Out.Native = Win32::FromHandle(Event);
	return OpenResult::Ok;
}

OpenResult NamedEvent::Create(std::wstring_view Name, NamedEvent& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Event = ::CreateEventW(nullptr, false, false, Terminated.Get());
	if (Event == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	const bool bExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
	Out.Close();
	Out.Native = Win32::FromHandle(Event);
	return bExisted ? OpenResult::AlreadyExists : OpenResult::Ok;
}

bool NamedEvent::Set() noexcept
{
	return Native != -1 && ::SetEvent(Win32::ToHandle(Native)) != 0;
}


void NamedEvent::Close() noexcept
{
	Win32::CloseNative(Native);
	Block = nullptr;
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
