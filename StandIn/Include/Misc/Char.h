// Character classification and case mapping for one character type.
#pragma once

#include "HAL/Platform.h"
#include <cwctype>

template <typename CharType>
struct TChar
{
	static constexpr bool IsAsciiLetter(CharType Char) { return (Char >= 'a' && Char <= 'z') || (Char >= 'A' && Char <= 'Z'); }

	/** ASCII letters map as the engine maps them; other characters go through the C library's wide mapping. */
	static CharType ToUpper(CharType Char)
	{
		if (Char >= 'a' && Char <= 'z')
		{
			return static_cast<CharType>(Char - ('a' - 'A'));
		}
		if constexpr (sizeof(CharType) > 1)
		{
			if (static_cast<uint32>(Char) > 127)
			{
				return static_cast<CharType>(std::towupper(static_cast<wint_t>(Char)));
			}
		}
		return Char;
	}

	static CharType ToLower(CharType Char)
	{
		if (Char >= 'A' && Char <= 'Z')
		{
			return static_cast<CharType>(Char + ('a' - 'A'));
		}
		if constexpr (sizeof(CharType) > 1)
		{
			if (static_cast<uint32>(Char) > 127)
			{
				return static_cast<CharType>(std::towlower(static_cast<wint_t>(Char)));
			}
		}
		return Char;
	}

	static bool IsUpper(CharType Char) { return ToLower(Char) != Char; }
	static bool IsLower(CharType Char) { return ToUpper(Char) != Char; }
	static bool IsAlpha(CharType Char) { return IsAsciiLetter(Char) || (static_cast<uint32>(Char) > 127 && IsUpper(Char) != IsLower(Char)); }
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
