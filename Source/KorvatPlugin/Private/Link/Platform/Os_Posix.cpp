// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "Os_Posix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace Korvat::UE4::Platform::Posix
{

namespace
{

std::uint64_t HashName(std::string_view Text) noexcept
{
	// FNV-1a, 64 bits.
	std::uint64_t Hash = 1469598103934665603ull;
	for (const char Byte : Text)
	{
		Hash = (Hash ^ static_cast<unsigned char>(Byte)) * 1099511628211ull;
	}
	return Hash;
}

void AppendUtf8(char32_t CodePoint, std::string& Out)
{
	// Also encodes values that are not Unicode scalars (lone surrogates, above U+10FFFF) in the same
	// pattern, so that distinct names still give distinct bytes.
	const std::uint32_t Value = static_cast<std::uint32_t>(CodePoint) & 0x7FFFFFFFu;
	if (Value < 0x80)
	{
		Out += static_cast<char>(Value);
		return;
	}
	int Trailing = Value < 0x800 ? 1 : Value < 0x10000 ? 2 : Value < 0x200000 ? 3 : Value < 0x4000000 ? 4 : 5;
	static constexpr unsigned char LeadMarks[] = {0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
	Out += static_cast<char>(LeadMarks[Trailing] | (Value >> (6 * Trailing)));
	while (Trailing-- > 0)
	{
		Out += static_cast<char>(0x80 | ((Value >> (6 * Trailing)) & 0x3F));
	}
}

bool IsKeptByte(unsigned char Byte, bool bFirst) noexcept
{
	return (Byte >= 'a' && Byte <= 'z') || (Byte >= 'A' && Byte <= 'Z') || (Byte >= '0' && Byte <= '9') || Byte == '_' ||
	       Byte == '-' || Byte == '{' || Byte == '}' || (Byte == '.' && !bFirst);
}

bool StartsWithNoCase(std::wstring_view Text, std::wstring_view Prefix) noexcept
{
	if (Text.size() < Prefix.size())
	{
		return false;
	}
	for (std::size_t Index = 0; Index < Prefix.size(); ++Index)
	{
		wchar_t A = Text[Index];
		wchar_t B = Prefix[Index];
		A = (A >= L'A' && A <= L'Z') ? static_cast<wchar_t>(A - L'A' + L'a') : A;
		B = (B >= L'A' && B <= L'Z') ? static_cast<wchar_t>(B - L'A' + L'a') : B;
		if (A != B)
		{
			return false;
		}
	}
	return true;
}

} // namespace

OpenResult ToOpenResult(int Error) noexcept
{
	switch (Error)
	{
	case ENOENT:
	case ECONNREFUSED:
		return OpenResult::NotFound;
	case EEXIST:
	case EADDRINUSE:
		return OpenResult::AlreadyExists;
	case EACCES:
	case EPERM:
		return OpenResult::AccessDenied;
	default:
		return OpenResult::Failed;
	}
}

void CloseDescriptor(int& Fd) noexcept
{
	if (Fd >= 0)
	{
		// No retry on EINTR: Linux releases the descriptor even then.
		::close(Fd);
		Fd = -1;
	}
}

std::string EncodeName(std::wstring_view Name, std::size_t MaxLength)
{
	std::string Utf8;
	for (const wchar_t Char : Name)
	{
		AppendUtf8(static_cast<char32_t>(Char), Utf8);
	}

	static constexpr char Hex[] = "0123456789ABCDEF";
	std::string Encoded;
	Encoded.reserve(Utf8.size());
	for (std::size_t Index = 0; Index < Utf8.size(); ++Index)
	{
		const unsigned char Byte = static_cast<unsigned char>(Utf8[Index]);
		if (IsKeptByte(Byte, Index == 0))
		{
			Encoded += static_cast<char>(Byte);
		}
		else
		{
			Encoded += '%';
			Encoded += Hex[Byte >> 4];
			Encoded += Hex[Byte & 15];
		}
	}

	constexpr std::size_t HashLength = 17; // '~' and 16 hexadecimal digits
	if (Encoded.size() > MaxLength && MaxLength > HashLength)
	{
		Encoded.resize(MaxLength - HashLength);
		// Never cut an escape in half.
		const std::size_t Percent = Encoded.rfind('%');
		if (Percent != std::string::npos && Percent + 3 > Encoded.size())
		{
			Encoded.resize(Percent);
		}
		std::uint64_t Hash = HashName(Utf8);
		char Tail[HashLength];
		Tail[0] = '~';
		for (int Digit = 16; Digit >= 1; --Digit, Hash >>= 4)
		{
			Tail[Digit] = Hex[Hash & 15];
		}
		Encoded.append(Tail, HashLength);
	}
	return Encoded;
}

std::wstring_view StripSessionPrefix(std::wstring_view Name) noexcept
{
	if (StartsWithNoCase(Name, L"Global\\"))
	{
		Name.remove_prefix(7);
	}
	else if (StartsWithNoCase(Name, L"Local\\"))
	{
		Name.remove_prefix(6);
	}
	return Name;
}

std::string IpcRoot()
{
	if (const char* Override = std::getenv("KORVAT_IPC_ROOT"); Override != nullptr && *Override != '\0')
	{
		return Override;
	}
	return "/dev/shm/korvat-" + std::to_string(::getuid());
}

bool EnsureIpcRoot(const std::string& Root) noexcept
{
	if (::mkdir(Root.c_str(), 0700) != 0 && errno != EEXIST)
	{
		return false;
	}
	// Someone else's folder under a predictable name must not become ours.
	struct stat Info;
	return ::lstat(Root.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode) && Info.st_uid == ::getuid() && (Info.st_mode & 0077) == 0;
}

} // namespace Korvat::UE4::Platform::Posix

#endif // !defined(_WIN32)
