// Small operating-system services: GUIDs, the process command line, text conversion, key mapping, the last
// system error.
#pragma once

#include "../UE4ComCommon.h"

#include <cstdint>
#include <string>

namespace Korvat::UE4::Platform
{

/** Creates a new random GUID (CoCreateGuid); false if the system could not make one. */
bool CreateGuid(GUID& Out) noexcept;

/** Formats a GUID as StringFromGUID2 does: braces, upper-case hexadecimal, 38 characters. */
std::wstring FormatGuid(const GUID& Guid);

/**
 * Converts bytes in the system ANSI code page to wide characters (MultiByteToWideChar with CP_ACP and no
 * flags). With a null Out it returns the number of characters needed; otherwise the number written, or 0
 * on failure (including an Out too small). Length is a byte count; embedded zero bytes are converted too.
 */
int AnsiToWide(const char* Bytes, int Length, wchar_t* Out, int OutCapacity) noexcept;

/** The unshifted character of a virtual key (MapVirtualKeyW with MAPVK_VK_TO_CHAR), 0 when it has none. */
std::uint32_t VirtualKeyToChar(std::uint32_t VirtualKey) noexcept;

/**
 * The calling thread's last system error (GetLastError on Windows, errno elsewhere): read it right after
 * the call that failed, before anything else can change it.
 */
std::uint32_t LastSystemError() noexcept;

/** The process command line as the system gives it in its narrow form (GetCommandLineA). */
std::string GetProcessCommandLine();

} // namespace Korvat::UE4::Platform
