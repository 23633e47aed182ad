// C-string helpers over one character type (FCString for TCHAR, FCStringAnsi for ANSICHAR).
#pragma once

#include "HAL/Platform.h"
#include "Misc/Char.h"
#include <cstdlib>

/** Whether string comparisons and searches consider letter case. */
namespace ESearchCase
{
	enum Type
	{
		CaseSensitive,
		IgnoreCase,
	};
}

/** Direction of a string search. */
namespace ESearchDir
{
	enum Type
	{
		FromStart,
		FromEnd,
	};
}

template <typename T>
struct TCString
{
	typedef T CharType;

	static int32 Strlen(const CharType* String)
	{
		int32 Length = 0;
		while (String[Length])
		{
			++Length;
		}
		return Length;
	}

	static int32 Strcmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			const uint32 C1 = static_cast<uint32>(*String1);
			const uint32 C2 = static_cast<uint32>(*String2);
			if (C1 != C2)
			{
				return C1 < C2 ? -1 : 1;
			}
			if (C1 == 0)
			{
				return 0;
			}
		}
	}

	static int32 Strncmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			const uint32 C1 = static_cast<uint32>(*String1);
			const uint32 C2 = static_cast<uint32>(*String2);
			if (C1 != C2)
			{
				return C1 < C2 ? -1 : 1;
			}
			if (C1 == 0)
			{
				return 0;
			}
		}
		return 0;
	}

	/** Case-insensitive comparison; letters compare as lower case. */
	static int32 Stricmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			const uint32 C1 = static_cast<uint32>(TChar<CharType>::ToLower(*String1));
			const uint32 C2 = static_cast<uint32>(TChar<CharType>::ToLower(*String2));
			if (C1 != C2)
			{
				return C1 < C2 ? -1 : 1;
			}
			if (C1 == 0)
			{
				return 0;
			}
		}
	}

	static int32 Strnicmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			const uint32 C1 = static_cast<uint32>(TChar<CharType>::ToLower(*String1));
			const uint32 C2 = static_cast<uint32>(TChar<CharType>::ToLower(*String2));
			if (C1 != C2)
			{
				return C1 < C2 ? -1 : 1;
			}
			if (C1 == 0)
			{
				return 0;
			}
		}
		return 0;
	}

	static const CharType* Strstr(const CharType* String, const CharType* Find)
	{
		const int32 FindLength = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strncmp(String, Find, FindLength) == 0)
			{
				return String;
			}
		}
		return FindLength == 0 ? String : nullptr;
	}

	static const CharType* Stristr(const CharType* String, const CharType* Find)
	{
		const int32 FindLength = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strnicmp(String, Find, FindLength) == 0)
			{
				return String;
			}
		}
		return FindLength == 0 ? String : nullptr;
	}

	static const CharType* Strchr(const CharType* String, CharType Char)
	{
		for (;; ++String)
		{
			if (*String == Char)
			{
				return String;
			}
			if (*String == 0)
			{
				return nullptr;
			}
		}
	}

	static CharType* Strcpy(CharType* Dest, SIZE_T DestCount, const CharType* Src)
	{
		SIZE_T Index = 0;
		for (; Index + 1 < DestCount && Src[Index]; ++Index)
		{
			Dest[Index] = Src[Index];
		}
		if (DestCount > 0)
		{
			Dest[Index] = 0;
		}
		return Dest;
	}

	/** Parses an integer in Base (0 = detect 0x/0 prefixes); EndPtr receives the first unparsed character. */
	static int64 Strtoi64(const CharType* Start, CharType** End, int32 Base)
	{
		const CharType* Ptr = Start;
		while (TChar<CharType>::IsWhitespace(*Ptr))
		{
			++Ptr;
		}
		bool bNegative = false;
		if (*Ptr == '+' || *Ptr == '-')
		{
			bNegative = *Ptr == '-';
			++Ptr;
		}
		if ((Base == 0 || Base == 16) && Ptr[0] == '0' && (Ptr[1] == 'x' || Ptr[1] == 'X') && TChar<CharType>::IsHexDigit(Ptr[2]))
		{
			Ptr += 2;
			Base = 16;
		}
		else if (Base == 0)
		{
			Base = Ptr[0] == '0' ? 8 : 10;
		}
		const CharType* DigitsStart = Ptr;
		uint64 Value = 0;
		for (;; ++Ptr)
		{
			int32 Digit = 0;
			const CharType C = *Ptr;
			if (C >= '0' && C <= '9')
			{
				Digit = C - '0';
			}
			else if (C >= 'a' && C <= 'z')
			{
				Digit = C - 'a' + 10;
			}
			else if (C >= 'A' && C <= 'Z')
			{
				Digit = C - 'A' + 10;
			}
			else
			{
				break;
			}
			if (Digit >= Base)
			{
				break;
			}
			Value = Value * static_cast<uint64>(Base) + static_cast<uint64>(Digit);
		}
		if (End)
		{
			*End = const_cast<CharType*>(Ptr == DigitsStart ? Start : Ptr);
		}
		return bNegative ? -static_cast<int64>(Value) : static_cast<int64>(Value);
	}

	static int32 Strtoi(const CharType* Start, CharType** End, int32 Base) { return static_cast<int32>(Strtoi64(Start, End, Base)); }
	static uint64 Strtoui64(const CharType* Start, CharType** End, int32 Base) { return static_cast<uint64>(Strtoi64(Start, End, Base)); }
	static int32 Atoi(const CharType* String) { return static_cast<int32>(Strtoi64(String, nullptr, 10)); }
	static int64 Atoi64(const CharType* String) { return Strtoi64(String, nullptr, 10); }
	static double Atod(const CharType* String);
	static float Atof(const CharType* String) { return static_cast<float>(Atod(String)); }

	/** "True", "Yes", "On" (any case) and non-zero numbers are true. */
	static bool ToBool(const CharType* String)
	{
		static constexpr CharType TrueText[] = {'t', 'r', 'u', 'e', 0};
		static constexpr CharType YesText[] = {'y', 'e', 's', 0};
		static constexpr CharType OnText[] = {'o', 'n', 0};
		if (Stricmp(String, TrueText) == 0 || Stricmp(String, YesText) == 0 || Stricmp(String, OnText) == 0)
		{
			return true;
		}
		return Atoi(String) != 0;
	}

	static bool IsNumeric(const CharType* Str)
	{
		if (*Str == '-' || *Str == '+')
		{
			++Str;
		}
		bool bHasDot = false;
		bool bHasDigit = false;
		for (; *Str; ++Str)
		{
			if (*Str == '.')
			{
				if (bHasDot)
				{
					return false;
				}
				bHasDot = true;
			}
			else if (TChar<CharType>::IsDigit(*Str))
			{
				bHasDigit = true;
			}
			else
			{
				return false;
			}
		}
		return bHasDigit;
	}
};

template <typename T>
double TCString<T>::Atod(const CharType* String)
{
	// Narrow the (ASCII) number and let the C library parse it, so the result matches strtod exactly.
	char Buffer[128];
	int32 Length = 0;
	while (String[Length] && Length < 127)
	{
		const uint32 C = static_cast<uint32>(String[Length]);
		Buffer[Length] = C < 128 ? static_cast<char>(C) : '?';
		++Length;
	}
	Buffer[Length] = 0;
	return std::strtod(Buffer, nullptr);
}

typedef TCString<TCHAR> FCString;
typedef TCString<ANSICHAR> FCStringAnsi;
typedef TCString<WIDECHAR> FCStringWide;
