// Character classification and case mapping for one character type.
#pragma once

#include "HAL/Platform.h"
#include <cctype>
#include <cwctype>

template <typename CharType>
struct TChar
{
	static constexpr bool IsAsciiLetter(CharType Char) { return (Char >= 'a' && Char <= 'z') || (Char >= 'A' && Char <= 'Z'); }

	/** Only converts ASCII characters, as the C library does in the standard C locale (the engine's rule). */
	static constexpr CharType ToUpper(CharType Char)
	{
		return (Char >= 'a' && Char <= 'z') ? static_cast<CharType>(Char - ('a' - 'A')) : Char;
	}

	/** Only converts ASCII characters, as the C library does in the standard C locale (the engine's rule). */
	static constexpr CharType ToLower(CharType Char)
	{
		return (Char >= 'A' && Char <= 'Z') ? static_cast<CharType>(Char + ('a' - 'A')) : Char;
	}

	// Classification asks the C library, as the engine does.
	static bool IsUpper(CharType Char)
	{
		if constexpr (sizeof(CharType) > 1)
		{
			return std::iswupper(static_cast<wint_t>(Char)) != 0;
		}
		return std::isupper(static_cast<unsigned char>(Char)) != 0;
	}
	static bool IsLower(CharType Char)
	{
		if constexpr (sizeof(CharType) > 1)
		{
			return std::iswlower(static_cast<wint_t>(Char)) != 0;
		}
		return std::islower(static_cast<unsigned char>(Char)) != 0;
	}
	static bool IsAlpha(CharType Char)
	{
		if constexpr (sizeof(CharType) > 1)
		{
			return std::iswalpha(static_cast<wint_t>(Char)) != 0;
		}
		return std::isalpha(static_cast<unsigned char>(Char)) != 0;
	}
	static constexpr bool IsDigit(CharType Char) { return Char >= '0' && Char <= '9'; }
	static bool IsAlnum(CharType Char) { return IsAlpha(Char) || IsDigit(Char); }
	static constexpr bool IsHexDigit(CharType Char) { return IsDigit(Char) || (Char >= 'a' && Char <= 'f') || (Char >= 'A' && Char <= 'F'); }
	static constexpr bool IsOctDigit(CharType Char) { return Char >= '0' && Char <= '7'; }
	static constexpr bool IsPunct(CharType Char)
	{
		return (Char >= '!' && Char <= '/') || (Char >= ':' && Char <= '@') || (Char >= '[' && Char <= '`') || (Char >= '{' && Char <= '~');
	}
	static constexpr bool IsWhitespace(CharType Char)
	{
		return Char == ' ' || Char == '\t' || Char == '\n' || Char == '\r' || Char == '\v' || Char == '\f'
			|| (sizeof(CharType) > 1 && (static_cast<uint32>(Char) == 0x85 || static_cast<uint32>(Char) == 0xA0 || static_cast<uint32>(Char) == 0x3000
				|| (static_cast<uint32>(Char) >= 0x2000 && static_cast<uint32>(Char) <= 0x200A) || static_cast<uint32>(Char) == 0x2028
				|| static_cast<uint32>(Char) == 0x2029 || static_cast<uint32>(Char) == 0x202F || static_cast<uint32>(Char) == 0x205F
				|| static_cast<uint32>(Char) == 0x1680));
	}
	static constexpr bool IsLinebreak(CharType Char) { return Char == '\n' || Char == '\r' || Char == '\v' || Char == '\f'; }
	static constexpr int32 ConvertCharDigitToInt(CharType Char) { return static_cast<int32>(Char) - '0'; }
};

typedef TChar<TCHAR> FChar;
typedef TChar<WIDECHAR> FCharWide;
typedef TChar<ANSICHAR> FCharAnsi;
