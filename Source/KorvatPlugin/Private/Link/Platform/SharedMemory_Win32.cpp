// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "SharedMemory.h"

#include "Os_Win32.h"


namespace Korvat::UE4::Platform
{

OpenResult SharedMemory::Open(std::wstring_view Name, SharedMemory& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Mapping = ::OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, false, Terminated.Get());
	if (Mapping == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	Out.Close();
	Out.Native = Win32::FromHandle(Mapping);
	return OpenResult::Ok;
}

OpenResult SharedMemory::Create(std::wstring_view Name, std::uint32_t Size, SharedMemory& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, Size, Terminated.Get());
	if (Mapping == nullptr)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	const bool bExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
	Out.Close();
	Out.Native = Win32::FromHandle(Mapping);
	Out.NativeSize = Size;
	return bExisted ? OpenResult::AlreadyExists : OpenResult::Ok;
}

void* SharedMemory::MapView(std::size_t Size) noexcept
{
	if (Native == -1)
	{
		return nullptr;
	}
	return ::MapViewOfFile(Win32::ToHandle(Native), FILE_MAP_ALL_ACCESS, 0, 0, Size);
}

void SharedMemory::UnmapView(void* View, std::size_t) noexcept
{
	if (View != nullptr)
	{
		::UnmapViewOfFile(View);
	}
}


void SharedMemory::Close() noexcept
{
	Win32::CloseNative(Native);
	NativeSize = 0;
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
