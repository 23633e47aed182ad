// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "System.h"

#include "Os_Win32.h"

#include <cstring>

namespace Korvat::UE4::Platform
{

static_assert(sizeof(::GUID) == sizeof(GUID));

bool CreateGuid(GUID& Out) noexcept
{
	::GUID Native;
	if (FAILED(::CoCreateGuid(&Native)))
	{
		return false;
	}
	std::memcpy(static_cast<void*>(&Out), &Native, sizeof(Out));
	return true;
}

std::wstring FormatGuid(const GUID& Guid)
{
	::GUID Native;
	std::memcpy(&Native, &Guid, sizeof(Native));
	wchar_t Text[256];
	const int Written = ::StringFromGUID2(Native, Text, 256); // counts the terminator
	return Written > 1 ? std::wstring(Text, static_cast<std::size_t>(Written - 1)) : std::wstring();
}

int AnsiToWide(const char* Bytes, int Length, wchar_t* Out, int OutCapacity) noexcept
{
	return ::MultiByteToWideChar(CP_ACP, 0, Bytes, Length, Out, OutCapacity);
}

std::uint32_t LastSystemError() noexcept
{
	return static_cast<std::uint32_t>(::GetLastError());
}

std::uint32_t VirtualKeyToChar(std::uint32_t VirtualKey) noexcept
{
	return ::MapVirtualKeyW(VirtualKey, MAPVK_VK_TO_CHAR);
}

std::string GetProcessCommandLine()
{
	const char* Line = ::GetCommandLineA();
	return Line != nullptr ? std::string(Line) : std::string();
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
