// Helpers shared by the Win32 backend: the Windows headers, terminated object names, handle storage,
// error mapping.
#pragma once

#include "PlatformTypes.h"

#if defined(KORVAT_LINK_INSIDE_ENGINE)
// Inside the engine, engine code shares unity blobs with this file: Windows headers come through the
// engine's wrapper, which keeps the engine's macros (TEXT) and takes back the Windows macros that would
// rename engine identifiers in the files after this one (GetObject, min, max, ...).
#include "Windows/WindowsHWrapper.h"
#include "Windows/AllowWindowsPlatformTypes.h"
#include <objbase.h>
#include "Windows/HideWindowsPlatformTypes.h"
#else
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#endif

#include <cstdint>
#include <string_view>

namespace Korvat::UE4::Platform::Win32
{

/** A copy of an object name with its terminator, as the wide-string calls need it. */
class TerminatedName
{
public:
	/** Longest name accepted; longer names (and names holding a zero character) are refused. */
	static constexpr std::size_t MaxLength = 512;

	explicit TerminatedName(std::wstring_view Name) noexcept
	{
		if (Name.size() > MaxLength || Name.find(L'\0') != std::wstring_view::npos)
		{
			return;
		}
		Name.copy(Text, Name.size());
		Text[Name.size()] = L'\0';
		bValid = true;
	}

	bool IsValid() const noexcept { return bValid; }
	const wchar_t* Get() const noexcept { return Text; }

private:
	wchar_t Text[MaxLength + 1] = {};
	bool bValid = false;
};

/** Handles are kept as integers in the public headers; -1 marks a closed one. */
inline HANDLE ToHandle(std::intptr_t Native) noexcept
{
	return reinterpret_cast<HANDLE>(Native);
}

inline std::intptr_t FromHandle(HANDLE Handle) noexcept
{
	return reinterpret_cast<std::intptr_t>(Handle);
}

/** Maps the last error of a failed create or open. */
inline OpenResult ToOpenResult(DWORD Error) noexcept
{
	switch (Error)
	{
	case ERROR_FILE_NOT_FOUND:
	case ERROR_PATH_NOT_FOUND:
		return OpenResult::NotFound;
	case ERROR_ALREADY_EXISTS:
		return OpenResult::AlreadyExists;
	case ERROR_ACCESS_DENIED:
		return OpenResult::AccessDenied;
	default:
		return OpenResult::Failed; // ERROR_INVALID_HANDLE: the name belongs to an object of another kind
	}
}

/** Closes a handle kept as an integer and marks it closed. */
inline void CloseNative(std::intptr_t& Native) noexcept
{
	if (Native != -1)
	{
		::CloseHandle(ToHandle(Native));
		Native = -1;
	}
}

} // namespace Korvat::UE4::Platform::Win32
