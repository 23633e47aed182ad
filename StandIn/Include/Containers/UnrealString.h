// FString: the engine's dynamic TCHAR string. Equality, ordering and hashing ignore case, as in the
// engine; Equals/Compare default to case-sensitive; Find, Contains, StartsWith and EndsWith default
// to ignoring case.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Misc/CString.h"
#include "Templates/IsValidVariadicFunctionArg.h"

#include <cstdarg>
#include <type_traits>

class FString;

namespace UE::String::Private
{
	/** Formats like the engine's printf: %s takes const TCHAR*, %hs const ANSICHAR*, %c a TCHAR. */
	CORE_API FString FormatV(const TCHAR* Format, va_list Args);

	template <typename FmtType>
	inline constexpr bool TIsTCHARArray = std::is_array_v<std::remove_reference_t<FmtType>>
		&& std::is_same_v<std::remove_cv_t<std::remove_extent_t<std::remove_reference_t<FmtType>>>, TCHAR>;
}

class CORE_API FString
{
public:
	using ElementType = TCHAR;
	typedef TArray<TCHAR> DataType;

	FString() = default;
	FString(const FString&) = default;
	FString(FString&&) = default;
	FString& operator=(const FString&) = default;
	FString& operator=(FString&&) = default;

	FString(const FString& Other, int32 ExtraSlack);
	FString(const TCHAR* Str);
	/** Widens each byte to one TCHAR (no code page). */
	FString(const ANSICHAR* Str);
	/** Decodes UTF-8. */
	FString(const UTF8CHAR* Str);
	FString(int32 InCount, const TCHAR* InSrc);
	FString(int32 InCount, const ANSICHAR* InSrc);

	FString& operator=(const TCHAR* Str);

	/** Never null: an empty string gives TEXT(""). */
	FORCEINLINE const TCHAR* operator*() const { return Data.Num() ? Data.GetData() : TEXT(""); }

	FORCEINLINE DataType& GetCharArray() { return Data; }
	FORCEINLINE const DataType& GetCharArray() const { return Data; }

	FORCEINLINE int32 Len() const { return Data.Num() ? Data.Num() - 1 : 0; }
	FORCEINLINE bool IsEmpty() const { return Data.Num() <= 1; }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }

	FORCEINLINE TCHAR& operator[](int32 Index)
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %d from a string with a length of %d"), Index, Len());
		return Data.GetData()[Index];
	}

	FORCEINLINE const TCHAR& operator[](int32 Index) const
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %d from a string with a length of %d"), Index, Len());
		return Data.GetData()[Index];
	}

	void Empty(int32 Slack = 0);
	void Reset(int32 NewReservedSize = 0);
	void Shrink();
	void Reserve(int32 CharacterCount);

	FString& Append(const TCHAR* Text, int32 Count);
	FString& Append(const TCHAR* Text);
	FString& Append(const FString& Text);
	FString& AppendChar(TCHAR InChar);
	FString& AppendChars(const TCHAR* Str, int32 Count);

	FString& operator+=(const TCHAR* Str) { return Append(Str); }
	FString& operator+=(const FString& Str) { return Append(Str); }
	FString& operator+=(TCHAR InChar) { return AppendChar(InChar); }

	void InsertAt(int32 Index, TCHAR Character);
	void InsertAt(int32 Index, const FString& Characters);
	void RemoveAt(int32 Index, int32 Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	bool RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromStart(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	FString Left(int32 Count) const;
	FString LeftChop(int32 Count) const;
	FString Right(int32 Count) const;
	FString RightChop(int32 Count) const;
	FString Mid(int32 Start, int32 Count = MAX_int32) const;
	void LeftInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	void LeftChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	void RightInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	void RightChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	void MidInline(int32 Start, int32 Count = MAX_int32, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);

	int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(*SubStr, SearchCase, SearchDir, StartPosition);
	}
	bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(*SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	bool FindChar(TCHAR InChar, int32& Index) const;
	bool FindLastChar(TCHAR InChar, int32& Index) const;

	bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;

	bool StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;

	bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const;

	FString ToUpper() const;
	FString ToLower() const;
	void ToUpperInline();
	void ToLowerInline();

	FString TrimStart() const;
	FString TrimEnd() const;
	FString TrimStartAndEnd() const;
	void TrimStartInline();
	void TrimEndInline();
	void TrimStartAndEndInline();

	FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	int32 ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	void ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	/** Splits at each occurrence of Delim (case-sensitive); returns the number of parts. */
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool InCullEmpty = true) const;
	/** Splits at any of the NumDelims delimiter strings, tried in order at each position. */
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* const* DelimArray, int32 NumDelims, bool InCullEmpty = true) const;
	/** Splits at spaces, tabs, carriage returns, line feeds and the optional extra delimiter. */
	int32 ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim = nullptr, bool InCullEmpty = true) const;
	int32 ParseIntoArrayLines(TArray<FString>& OutArray, bool InCullEmpty = true) const;

	bool IsNumeric() const;
	bool ToBool() const;

	template <typename FmtType, typename... Types>
	static FString Printf(const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FString::Printf");
		return PrintfImpl(Fmt, Args...);
	}

	static FString FromInt(int32 Num);
	/** Shortest decimal text of InFloat with at least MinFractionalDigits digits after the point. */
	static FString SanitizeFloat(double InFloat, const int32 InMinFractionalDigits = 1);
	static FString Chr(TCHAR Ch);
	static FString ChrN(int32 NumCharacters, TCHAR Char);

	template <typename RangeType>
	static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			Result += Element;
			bFirst = false;
		}
		return Result;
	}

private:
	static FString PrintfImpl(const TCHAR* Fmt, ...);

	DataType Data;
};

CORE_API FString operator+(const FString& Lhs, const FString& Rhs);
CORE_API FString operator+(FString&& Lhs, const FString& Rhs);
CORE_API FString operator+(const FString& Lhs, const TCHAR* Rhs);
CORE_API FString operator+(FString&& Lhs, const TCHAR* Rhs);
CORE_API FString operator+(const TCHAR* Lhs, const FString& Rhs);
/** Joins two path parts with one '/'. */
CORE_API FString operator/(const FString& Lhs, const FString& Rhs);
CORE_API FString operator/(const FString& Lhs, const TCHAR* Rhs);

FORCEINLINE bool operator==(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) == 0; }
FORCEINLINE bool operator==(const FString& Lhs, const TCHAR* Rhs) { return FCString::Stricmp(*Lhs, Rhs ? Rhs : TEXT("")) == 0; }
FORCEINLINE bool operator==(const TCHAR* Lhs, const FString& Rhs) { return FCString::Stricmp(Lhs ? Lhs : TEXT(""), *Rhs) == 0; }
FORCEINLINE bool operator!=(const FString& Lhs, const FString& Rhs) { return !(Lhs == Rhs); }
FORCEINLINE bool operator!=(const FString& Lhs, const TCHAR* Rhs) { return !(Lhs == Rhs); }
FORCEINLINE bool operator!=(const TCHAR* Lhs, const FString& Rhs) { return !(Lhs == Rhs); }
FORCEINLINE bool operator<(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) < 0; }
FORCEINLINE bool operator>(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) > 0; }
FORCEINLINE bool operator<=(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) <= 0; }
FORCEINLINE bool operator>=(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) >= 0; }

/** Case-insensitive hash, consistent with operator==. */
CORE_API uint32 GetTypeHash(const FString& S);

/** Converts TCHAR pointers for %s in printf-style formats. */
FORCEINLINE const TCHAR* ToCStr(const FString& Str) { return *Str; }

CORE_API FString LexToString(int32 Value);
CORE_API FString LexToString(int64 Value);
CORE_API FString LexToString(uint32 Value);
CORE_API FString LexToString(uint64 Value);
CORE_API FString LexToString(float Value);
CORE_API FString LexToString(double Value);
CORE_API FString LexToString(bool Value);
FORCEINLINE FString LexToString(const FString& Value) { return Value; }
FORCEINLINE FString LexToString(const TCHAR* Value) { return FString(Value); }
CORE_API void LexFromString(int32& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(int64& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(uint32& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(float& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(double& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(bool& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(FString& OutValue, const TCHAR* Buffer);
