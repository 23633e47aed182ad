// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "System.h"

#include "Os_Posix.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Korvat::UE4::Platform
{

namespace
{

/**
 * Windows code page 1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to the control
 * character of the same value, as MultiByteToWideChar maps them. Every other byte is its own code point.
 */
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool CreateGuid(GUID& Out) noexcept
{
	unsigned char Bytes[sizeof(GUID)];
	std::size_t Filled = 0;
	while (Filled < sizeof(Bytes))
	{
		const ssize_t Got = Posix::RetryOnInterrupt([&] { return ::getrandom(Bytes + Filled, sizeof(Bytes) - Filled, 0); });
		if (Got <= 0)
		{
			return false;
		}
		Filled += static_cast<std::size_t>(Got);
	}
	std::memcpy(static_cast<void*>(&Out), Bytes, sizeof(GUID));
	// A random (version 4) GUID of the RFC 4122 variant, as CoCreateGuid makes.
	Out.Data3 = static_cast<std::uint16_t>((Out.Data3 & 0x0FFF) | 0x4000);
	Out.Data4[0] = static_cast<std::uint8_t>((Out.Data4[0] & 0x3F) | 0x80);
	return true;
}

std::wstring FormatGuid(const GUID& Guid)
{
	static constexpr wchar_t Hex[] = L"0123456789ABCDEF";
	std::wstring Text;
	Text.reserve(38);
	const auto Append = [&](std::uint64_t Value, int Digits) {
		for (int Shift = (Digits - 1) * 4; Shift >= 0; Shift -= 4)
		{
			Text += Hex[(Value >> Shift) & 15];
		}
	};
	Text += L'{';
	Append(Guid.Data1, 8);
	Text += L'-';
	Append(Guid.Data2, 4);
	Text += L'-';
	Append(Guid.Data3, 4);
	Text += L'-';
	for (int Index = 0; Index < 8; ++Index)
	{
		if (Index == 2)
		{
			Text += L'-';
		}
		Append(Guid.Data4[Index], 2);
	}
	Text += L'}';
	return Text;
}

int AnsiToWide(const char* Bytes, int Length, wchar_t* Out, int OutCapacity) noexcept
{
	if (Bytes == nullptr || Length == 0 || Length < -1 || OutCapacity < 0 || (Out == nullptr && OutCapacity != 0))
	{
		return 0;
	}
	// -1: a terminated string, converted with its terminator.
	const std::size_t Count = Length == -1 ? std::strlen(Bytes) + 1 : static_cast<std::size_t>(Length);
	if (OutCapacity == 0)
	{
		return static_cast<int>(Count); // one wide character per byte in a single-byte code page
	}
	if (Count > static_cast<std::size_t>(OutCapacity))
	{
		return 0;
	}
	for (std::size_t Index = 0; Index < Count; ++Index)
	{
		const unsigned char Byte = static_cast<unsigned char>(Bytes[Index]);
		Out[Index] = (Byte >= 0x80 && Byte <= 0x9F) ? static_cast<wchar_t>(Cp1252High[Byte - 0x80]) : static_cast<wchar_t>(Byte);
	}
	return static_cast<int>(Count);
}

std::uint32_t VirtualKeyToChar(std::uint32_t VirtualKey) noexcept
{
	// The US keyboard layout, unshifted.
	if ((VirtualKey >= '0' && VirtualKey <= '9') || (VirtualKey >= 'A' && VirtualKey <= 'Z'))
	{
		return VirtualKey;
	}
	if (VirtualKey >= 0x60 && VirtualKey <= 0x69) // VK_NUMPAD0 to VK_NUMPAD9
	{
		return '0' + (VirtualKey - 0x60);
	}
	switch (VirtualKey)
	{
	case 0x03:
		return 0x03; // VK_CANCEL (Ctrl+Break)
	case 0x08:
		return 0x08; // VK_BACK
	case 0x09:
		return 0x09; // VK_TAB
	case 0x0D:
		return 0x0D; // VK_RETURN
	case 0x1B:
		return 0x1B; // VK_ESCAPE
	case 0x20:
		return ' '; // VK_SPACE
	case 0x6A:
		return '*'; // VK_MULTIPLY
	case 0x6B:
		return '+'; // VK_ADD
	case 0x6D:
		return '-'; // VK_SUBTRACT
	case 0x6E:
		return '.'; // VK_DECIMAL
	case 0x6F:
		return '/'; // VK_DIVIDE
	case 0xBA:
		return ';'; // VK_OEM_1
	case 0xBB:
		return '='; // VK_OEM_PLUS
	case 0xBC:
		return ','; // VK_OEM_COMMA
	case 0xBD:
		return '-'; // VK_OEM_MINUS
	case 0xBE:
		return '.'; // VK_OEM_PERIOD
	case 0xBF:
		return '/'; // VK_OEM_2
	case 0xC0:
		return '`'; // VK_OEM_3
	case 0xDB:
		return '['; // VK_OEM_4
	case 0xDC:
		return '\\'; // VK_OEM_5
	case 0xDD:
		return ']'; // VK_OEM_6
	case 0xDE:
		return '\''; // VK_OEM_7
	case 0xE2:
		return '\\'; // VK_OEM_102
	default:
		return 0;
	}
}

std::uint32_t LastSystemError() noexcept
{
	return static_cast<std::uint32_t>(errno);
}

std::string GetProcessCommandLine()
{
	std::string Line;
	const int Fd = Posix::RetryOnInterrupt([] { return ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC); });
	if (Fd < 0)
	{
		return Line;
	}
	char Chunk[4096];
	for (;;)
	{
		const ssize_t Got = Posix::RetryOnInterrupt([&] { return ::read(Fd, Chunk, sizeof(Chunk)); });
		if (Got <= 0)
		{
			break;
		}
		Line.append(Chunk, static_cast<std::size_t>(Got));
	}
	int Closing = Fd;
	Posix::CloseDescriptor(Closing);

	// The arguments are each followed by a zero byte; join them with single spaces.
	while (!Line.empty() && Line.back() == '\0')
	{
		Line.pop_back();
	}
	for (char& Char : Line)
	{
		if (Char == '\0')
		{
			Char = ' ';
		}
	}
	return Line;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
