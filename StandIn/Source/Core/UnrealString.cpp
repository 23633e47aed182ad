#include "Containers/UnrealString.h"
#include "Containers/StringConv.h"

#include <cstdio>
#include <cstring>

namespace
{
	int32 ClampCount(int32 Value, int32 Min, int32 Max)
	{
		return Value < Min ? Min : (Value > Max ? Max : Value);
	}

	bool MatchesAt(const TCHAR* At, const TCHAR* Find, int32 FindLen, ESearchCase::Type SearchCase)
	{
		return SearchCase == ESearchCase::CaseSensitive ? FCString::Strncmp(At, Find, FindLen) == 0 : FCString::Strnicmp(At, Find, FindLen) == 0;
	}

	void AppendNarrow(FString& Out, const char* Text)
	{
		for (; *Text; ++Text)
		{
			Out.AppendChar(static_cast<TCHAR>(static_cast<uint8>(*Text)));
		}
	}

	/** Formats one numeric conversion with the C library's narrow printf, then widens the result. */
	template <typename ValueType>
	void AppendFormattedNumber(FString& Out, const char* Conversion, ValueType Value)
	{
		char Small[64];
		const int Needed = std::snprintf(Small, sizeof(Small), Conversion, Value);
		if (Needed < 0)
		{
			return;
		}
		if (Needed < static_cast<int>(sizeof(Small)))
		{
			AppendNarrow(Out, Small);
			return;
		}
		TArray<char> Large;
		Large.SetNum(Needed + 1);
		std::snprintf(Large.GetData(), static_cast<size_t>(Needed) + 1, Conversion, Value);
		AppendNarrow(Out, Large.GetData());
	}

	template <typename CharType>
	void AppendPadded(FString& Out, const CharType* Text, int32 Length, int32 Width, bool bLeftJustify)
	{
		const int32 Padding = Width > Length ? Width - Length : 0;
		if (!bLeftJustify)
		{
			for (int32 I = 0; I < Padding; ++I)
			{
				Out.AppendChar(TEXT(' '));
			}
		}
		for (int32 I = 0; I < Length; ++I)
		{
			if constexpr (sizeof(CharType) == 1)
			{
				Out.AppendChar(static_cast<TCHAR>(static_cast<uint8>(Text[I])));
			}
			else
			{
				Out.AppendChar(static_cast<TCHAR>(Text[I]));
			}
		}
		if (bLeftJustify)
		{
			for (int32 I = 0; I < Padding; ++I)
			{
				Out.AppendChar(TEXT(' '));
			}
		}
	}

	enum class ELengthModifier
	{
		None,
		Char,
		Short,
		Long,
		LongLong,
		LongDouble,
		Size,
		IntMax,
		PtrDiff,
	};
}

namespace UE::String::Private
{
	FString FormatV(const TCHAR* Format, va_list Args)
	{
		FString Out;
		if (!Format)
		{
			return Out;
		}
		const TCHAR* Ptr = Format;
		while (*Ptr)
		{
			if (*Ptr != TEXT('%'))
			{
				Out.AppendChar(*Ptr++);
				continue;
			}
			const TCHAR* ConversionStart = Ptr++;
			if (*Ptr == TEXT('%'))
			{
				Out.AppendChar(TEXT('%'));
				++Ptr;
				continue;
			}

			char Flags[8] = {};
			int32 NumFlags = 0;
			bool bLeftJustify = false;
			while (*Ptr == TEXT('-') || *Ptr == TEXT('+') || *Ptr == TEXT(' ') || *Ptr == TEXT('#') || *Ptr == TEXT('0'))
			{
				bLeftJustify |= *Ptr == TEXT('-');
				if (NumFlags < 7)
				{
					Flags[NumFlags++] = static_cast<char>(*Ptr);
				}
				++Ptr;
			}

			int32 Width = -1;
			if (*Ptr == TEXT('*'))
			{
				Width = va_arg(Args, int);
				if (Width < 0)
				{
					bLeftJustify = true;
					if (NumFlags < 7)
					{
						Flags[NumFlags++] = '-';
					}
					Width = -Width;
				}
				++Ptr;
			}
			else if (FChar::IsDigit(*Ptr))
			{
				Width = 0;
				while (FChar::IsDigit(*Ptr))
				{
					Width = Width * 10 + (*Ptr++ - TEXT('0'));
				}
			}

			int32 Precision = -1;
			if (*Ptr == TEXT('.'))
			{
				++Ptr;
				Precision = 0;
				if (*Ptr == TEXT('*'))
				{
					Precision = va_arg(Args, int);
					++Ptr;
				}
				else
				{
					while (FChar::IsDigit(*Ptr))
					{
						Precision = Precision * 10 + (*Ptr++ - TEXT('0'));
					}
				}
			}

			ELengthModifier Length = ELengthModifier::None;
			switch (*Ptr)
			{
			case TEXT('h'):
				++Ptr;
				Length = ELengthModifier::Short;
				if (*Ptr == TEXT('h'))
				{
					++Ptr;
					Length = ELengthModifier::Char;
				}
				break;
			case TEXT('l'):
				++Ptr;
				Length = ELengthModifier::Long;
				if (*Ptr == TEXT('l'))
				{
					++Ptr;
					Length = ELengthModifier::LongLong;
				}
				break;
			case TEXT('L'):
				++Ptr;
				Length = ELengthModifier::LongDouble;
				break;
			case TEXT('z'):
				++Ptr;
				Length = ELengthModifier::Size;
				break;
			case TEXT('j'):
				++Ptr;
				Length = ELengthModifier::IntMax;
				break;
			case TEXT('t'):
				++Ptr;
				Length = ELengthModifier::PtrDiff;
				break;
			case TEXT('I'):
				if (Ptr[1] == TEXT('6') && Ptr[2] == TEXT('4'))
				{
					Ptr += 3;
					Length = ELengthModifier::LongLong;
				}
				else if (Ptr[1] == TEXT('3') && Ptr[2] == TEXT('2'))
				{
					Ptr += 3;
				}
				else
				{
					++Ptr;
					Length = ELengthModifier::Size;
				}
				break;
			default:
				break;
			}

			const TCHAR Conversion = *Ptr;
			if (Conversion == 0)
			{
				// A truncated conversion is copied verbatim.
				Out.Append(ConversionStart, static_cast<int32>(Ptr - ConversionStart));
				break;
			}
			++Ptr;

			char NarrowFormat[48];
			auto BuildNarrowFormat = [&](const char* LengthText, char ConversionChar)
			{
				int Written = std::snprintf(NarrowFormat, sizeof(NarrowFormat), "%%%s", Flags);
				if (Width >= 0)
				{
					Written += std::snprintf(NarrowFormat + Written, sizeof(NarrowFormat) - static_cast<size_t>(Written), "%d", Width);
				}
				if (Precision >= 0)
				{
					Written += std::snprintf(NarrowFormat + Written, sizeof(NarrowFormat) - static_cast<size_t>(Written), ".%d", Precision);
				}
				std::snprintf(NarrowFormat + Written, sizeof(NarrowFormat) - static_cast<size_t>(Written), "%s%c", LengthText, ConversionChar);
			};

			switch (Conversion)
			{
			case TEXT('d'):
			case TEXT('i'):
			{
				long long Value = 0;
				switch (Length)
				{
				case ELengthModifier::Char: Value = static_cast<signed char>(va_arg(Args, int)); break;
				case ELengthModifier::Short: Value = static_cast<short>(va_arg(Args, int)); break;
				case ELengthModifier::Long: Value = va_arg(Args, long); break;
				case ELengthModifier::LongLong: Value = va_arg(Args, long long); break;
				case ELengthModifier::Size:
				case ELengthModifier::PtrDiff: Value = va_arg(Args, ptrdiff_t); break;
				case ELengthModifier::IntMax: Value = va_arg(Args, intmax_t); break;
				default: Value = va_arg(Args, int); break;
				}
				BuildNarrowFormat("ll", 'd');
				AppendFormattedNumber(Out, NarrowFormat, Value);
				break;
			}
			case TEXT('u'):
			case TEXT('x'):
			case TEXT('X'):
			case TEXT('o'):
			{
				unsigned long long Value = 0;
				switch (Length)
				{
				case ELengthModifier::Char: Value = static_cast<unsigned char>(va_arg(Args, unsigned int)); break;
				case ELengthModifier::Short: Value = static_cast<unsigned short>(va_arg(Args, unsigned int)); break;
				case ELengthModifier::Long: Value = va_arg(Args, unsigned long); break;
				case ELengthModifier::LongLong: Value = va_arg(Args, unsigned long long); break;
				case ELengthModifier::Size:
				case ELengthModifier::PtrDiff: Value = va_arg(Args, size_t); break;
				case ELengthModifier::IntMax: Value = va_arg(Args, uintmax_t); break;
				default: Value = va_arg(Args, unsigned int); break;
				}
				BuildNarrowFormat("ll", static_cast<char>(Conversion));
				AppendFormattedNumber(Out, NarrowFormat, Value);
				break;
			}
			case TEXT('f'):
			case TEXT('F'):
			case TEXT('e'):
			case TEXT('E'):
			case TEXT('g'):
			case TEXT('G'):
			case TEXT('a'):
			case TEXT('A'):
			{
				const double Value = Length == ELengthModifier::LongDouble ? static_cast<double>(va_arg(Args, long double)) : va_arg(Args, double);
				BuildNarrowFormat("", static_cast<char>(Conversion));
				AppendFormattedNumber(Out, NarrowFormat, Value);
				break;
			}
			case TEXT('c'):
			{
				const int Value = va_arg(Args, int);
				if (Length == ELengthModifier::Short)
				{
					const ANSICHAR Char = static_cast<ANSICHAR>(Value);
					AppendPadded(Out, &Char, 1, Width, bLeftJustify);
				}
				else
				{
					const TCHAR Char = static_cast<TCHAR>(Value);
					AppendPadded(Out, &Char, 1, Width, bLeftJustify);
				}
				break;
			}
			case TEXT('s'):
			case TEXT('S'):
			{
				if (Length == ELengthModifier::Short || Conversion == TEXT('S'))
				{
					const ANSICHAR* Value = va_arg(Args, const ANSICHAR*);
					if (!Value)
					{
						Value = "(null)";
					}
					int32 Len = FCStringAnsi::Strlen(Value);
					if (Precision >= 0 && Precision < Len)
					{
						Len = Precision;
					}
					AppendPadded(Out, Value, Len, Width, bLeftJustify);
				}
				else
				{
					const TCHAR* Value = va_arg(Args, const TCHAR*);
					if (!Value)
					{
						Value = TEXT("(null)");
					}
					int32 Len = FCString::Strlen(Value);
					if (Precision >= 0 && Precision < Len)
					{
						Len = Precision;
					}
					AppendPadded(Out, Value, Len, Width, bLeftJustify);
				}
				break;
			}
			case TEXT('p'):
			{
				const void* Value = va_arg(Args, void*);
				BuildNarrowFormat("", 'p');
				AppendFormattedNumber(Out, NarrowFormat, Value);
				break;
			}
			default:
				// Unknown conversions are copied verbatim, consuming no argument.
				Out.Append(ConversionStart, static_cast<int32>(Ptr - ConversionStart));
				break;
			}
		}
		return Out;
	}
}

FString::FString(const FString& Other, int32 ExtraSlack)
	: Data(Other.Data)
{
	Data.Reserve(Data.Num() + ExtraSlack);
}

FString::FString(const TCHAR* Str)
{
	if (Str && *Str)
	{
		Data.Append(Str, FCString::Strlen(Str) + 1);
	}
}

FString::FString(const ANSICHAR* Str)
{
	if (Str && *Str)
	{
		UE::String::Private::ConvertANSIToTCHAR(Str, FCStringAnsi::Strlen(Str), Data);
		Data.Add(TEXT('\0'));
	}
}

FString::FString(const UTF8CHAR* Str)
{
	if (Str && *Str)
	{
		const ANSICHAR* Bytes = reinterpret_cast<const ANSICHAR*>(Str);
		UE::String::Private::ConvertUTF8ToTCHAR(Bytes, FCStringAnsi::Strlen(Bytes), Data);
		Data.Add(TEXT('\0'));
	}
}

FString::FString(int32 InCount, const TCHAR* InSrc)
{
	if (InSrc && InCount > 0)
	{
		int32 Count = 0;
		while (Count < InCount && InSrc[Count])
		{
			++Count;
		}
		if (Count > 0)
		{
			Data.Append(InSrc, Count);
			Data.Add(TEXT('\0'));
		}
	}
}

FString::FString(int32 InCount, const ANSICHAR* InSrc)
{
	if (InSrc && InCount > 0)
	{
		int32 Count = 0;
		while (Count < InCount && InSrc[Count])
		{
			++Count;
		}
		if (Count > 0)
		{
			UE::String::Private::ConvertANSIToTCHAR(InSrc, Count, Data);
			Data.Add(TEXT('\0'));
		}
	}
}

FString& FString::operator=(const TCHAR* Str)
{
	if (Str != Data.GetData())
	{
		FString Copy(Str);
		*this = MoveTemp(Copy);
	}
	return *this;
}

void FString::Empty(int32 Slack)
{
	Data.Empty(Slack ? Slack + 1 : 0);
}

void FString::Reset(int32 NewReservedSize)
{
	Data.Reset(NewReservedSize ? NewReservedSize + 1 : 0);
}

void FString::Shrink()
{
	Data.Shrink();
}

void FString::Reserve(int32 CharacterCount)
{
	if (CharacterCount > 0)
	{
		Data.Reserve(CharacterCount + 1);
	}
}

FString& FString::AppendChars(const TCHAR* Str, int32 Count)
{
	check(Count >= 0);
	if (Count == 0)
	{
		return *this;
	}
	// Str may point into this string; copy it before the buffer can move.
	TArray<TCHAR> Copy(Str, Count);
	if (Data.Num() == 0)
	{
		Data.Add(TEXT('\0'));
	}
	Data.Pop(EAllowShrinking::No);
	Data.Append(Copy);
	Data.Add(TEXT('\0'));
	return *this;
}

FString& FString::Append(const TCHAR* Text, int32 Count)
{
	return AppendChars(Text, Count);
}

FString& FString::Append(const TCHAR* Text)
{
	return Text ? AppendChars(Text, FCString::Strlen(Text)) : *this;
}

FString& FString::Append(const FString& Text)
{
	return AppendChars(*Text, Text.Len());
}

FString& FString::AppendChar(TCHAR InChar)
{
	check(InChar != 0);
	if (Data.Num() == 0)
	{
		Data.Add(InChar);
	}
	else
	{
		Data.Last() = InChar;
	}
	Data.Add(TEXT('\0'));
	return *this;
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	InsertAt(Index, Chr(Character));
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	check(Index >= 0 && Index <= Len());
	if (Characters.IsEmpty())
	{
		return;
	}
	*this = Left(Index) + Characters + RightChop(Index);
}

void FString::RemoveAt(int32 Index, int32 Count, EAllowShrinking AllowShrinking)
{
	check(Index >= 0 && Count >= 0 && Index + Count <= Len());
	Data.RemoveAt(Index, Count, EAllowShrinking::No);
	if (Data.Num() == 1)
	{
		Data.Empty();
	}
	else if (AllowShrinking == EAllowShrinking::Yes)
	{
		Data.Shrink();
	}
}

bool FString::RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase)
{
	if (!InPrefix || !*InPrefix || !StartsWith(InPrefix, SearchCase))
	{
		return false;
	}
	RemoveAt(0, FCString::Strlen(InPrefix));
	return true;
}

bool FString::RemoveFromStart(const FString& InPrefix, ESearchCase::Type SearchCase)
{
	return RemoveFromStart(*InPrefix, SearchCase);
}

bool FString::RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase)
{
	if (!InSuffix || !*InSuffix || !EndsWith(InSuffix, SearchCase))
	{
		return false;
	}
	const int32 SuffixLen = FCString::Strlen(InSuffix);
	RemoveAt(Len() - SuffixLen, SuffixLen);
	return true;
}

bool FString::RemoveFromEnd(const FString& InSuffix, ESearchCase::Type SearchCase)
{
	return RemoveFromEnd(*InSuffix, SearchCase);
}

FString FString::Left(int32 Count) const
{
	return FString(ClampCount(Count, 0, Len()), **this);
}

FString FString::LeftChop(int32 Count) const
{
	return FString(ClampCount(Len() - Count, 0, Len()), **this);
}

FString FString::Right(int32 Count) const
{
	const int32 Length = Len();
	const int32 Start = Length - ClampCount(Count, 0, Length);
	return FString(Length - Start, **this + Start);
}

FString FString::RightChop(int32 Count) const
{
	const int32 Length = Len();
	const int32 Start = ClampCount(Count, 0, Length);
	return FString(Length - Start, **this + Start);
}

FString FString::Mid(int32 Start, int32 Count) const
{
	if (Count < 0)
	{
		return FString();
	}
	const int32 Length = Len();
	const int64 RequestedEnd = static_cast<int64>(Start) + Count;
	const int32 Begin = ClampCount(Start, 0, Length);
	const int32 End = RequestedEnd > Length ? Length : (RequestedEnd < Begin ? Begin : static_cast<int32>(RequestedEnd));
	return FString(End - Begin, **this + Begin);
}

void FString::LeftInline(int32 Count, EAllowShrinking)
{
	*this = Left(Count);
}

void FString::LeftChopInline(int32 Count, EAllowShrinking)
{
	*this = LeftChop(Count);
}

void FString::RightInline(int32 Count, EAllowShrinking)
{
	*this = Right(Count);
}

void FString::RightChopInline(int32 Count, EAllowShrinking)
{
	*this = RightChop(Count);
}

void FString::MidInline(int32 Start, int32 Count, EAllowShrinking)
{
	*this = Mid(Start, Count);
}

int32 FString::Find(const TCHAR* SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	if (!SubStr)
	{
		return INDEX_NONE;
	}
	const int32 Length = Len();
	const int32 SubLen = FCString::Strlen(SubStr);
	const TCHAR* Chars = **this;
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 Start = StartPosition == INDEX_NONE ? 0 : ClampCount(StartPosition, 0, Length);
		for (int32 Index = Start; Index + SubLen <= Length; ++Index)
		{
			if (MatchesAt(Chars + Index, SubStr, SubLen, SearchCase))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	// Searching backwards starts with the match that ends just before StartPosition.
	const int32 SearchLen = SubLen > 1 ? SubLen : 1;
	const int32 Start = (StartPosition == INDEX_NONE || StartPosition >= Length) ? Length : StartPosition;
	for (int32 Index = Start - SearchLen; Index >= 0; --Index)
	{
		if (MatchesAt(Chars + Index, SubStr, SubLen, SearchCase))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

bool FString::FindChar(TCHAR InChar, int32& Index) const
{
	const int32 Length = Len();
	for (int32 I = 0; I < Length; ++I)
	{
		if (Data[I] == InChar)
		{
			Index = I;
			return true;
		}
	}
	Index = INDEX_NONE;
	return false;
}

bool FString::FindLastChar(TCHAR InChar, int32& Index) const
{
	for (int32 I = Len() - 1; I >= 0; --I)
	{
		if (Data[I] == InChar)
		{
			Index = I;
			return true;
		}
	}
	Index = INDEX_NONE;
	return false;
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	return Len() == Other.Len() && Compare(Other, SearchCase) == 0;
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::CaseSensitive ? FCString::Strcmp(**this, *Other) : FCString::Stricmp(**this, *Other);
}

bool FString::StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase) const
{
	if (!InPrefix)
	{
		return false;
	}
	const int32 PrefixLen = FCString::Strlen(InPrefix);
	return PrefixLen <= Len() && MatchesAt(**this, InPrefix, PrefixLen, SearchCase);
}

bool FString::StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase) const
{
	return StartsWith(*InPrefix, SearchCase);
}

bool FString::EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase) const
{
	if (!InSuffix)
	{
		return false;
	}
	const int32 SuffixLen = FCString::Strlen(InSuffix);
	return SuffixLen <= Len() && MatchesAt(**this + Len() - SuffixLen, InSuffix, SuffixLen, SearchCase);
}

bool FString::EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase) const
{
	return EndsWith(*InSuffix, SearchCase);
}

bool FString::Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 Index = Find(InS, SearchCase, SearchDir);
	if (Index == INDEX_NONE)
	{
		return false;
	}
	// Copy before assigning: the outputs may alias this string.
	FString LeftPart = Left(Index);
	FString RightPart = Mid(Index + InS.Len());
	if (LeftS)
	{
		*LeftS = MoveTemp(LeftPart);
	}
	if (RightS)
	{
		*RightS = MoveTemp(RightPart);
	}
	return true;
}

FString FString::ToUpper() const
{
	FString Result(*this);
	Result.ToUpperInline();
	return Result;
}

FString FString::ToLower() const
{
	FString Result(*this);
	Result.ToLowerInline();
	return Result;
}

void FString::ToUpperInline()
{
	const int32 Length = Len();
	for (int32 I = 0; I < Length; ++I)
	{
		Data[I] = FChar::ToUpper(Data[I]);
	}
}

void FString::ToLowerInline()
{
	const int32 Length = Len();
	for (int32 I = 0; I < Length; ++I)
	{
		Data[I] = FChar::ToLower(Data[I]);
	}
}

FString FString::TrimStart() const
{
	int32 Pos = 0;
	while (Pos < Len() && FChar::IsWhitespace(Data[Pos]))
	{
		++Pos;
	}
	return RightChop(Pos);
}

FString FString::TrimEnd() const
{
	int32 End = Len();
	while (End > 0 && FChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	return Left(End);
}

FString FString::TrimStartAndEnd() const
{
	return TrimStart().TrimEnd();
}

void FString::TrimStartInline()
{
	*this = TrimStart();
}

void FString::TrimEndInline()
{
	*this = TrimEnd();
}

void FString::TrimStartAndEndInline()
{
	*this = TrimStartAndEnd();
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const
{
	FString Result(*this);
	Result.ReplaceInline(From, To, SearchCase);
	return Result;
}

int32 FString::ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase)
{
	if (!SearchText || !*SearchText || IsEmpty())
	{
		return 0;
	}
	const int32 SearchLen = FCString::Strlen(SearchText);
	FString Result;
	int32 Count = 0;
	int32 Pos = 0;
	while (Pos < Len())
	{
		const int32 Found = Find(SearchText, SearchCase, ESearchDir::FromStart, Pos);
		if (Found == INDEX_NONE)
		{
			break;
		}
		Result.AppendChars(**this + Pos, Found - Pos);
		Result.Append(ReplacementText);
		Pos = Found + SearchLen;
		++Count;
	}
	if (Count > 0)
	{
		Result.AppendChars(**this + Pos, Len() - Pos);
		*this = MoveTemp(Result);
	}
	return Count;
}

void FString::ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar, ESearchCase::Type SearchCase)
{
	const int32 Length = Len();
	for (int32 I = 0; I < Length; ++I)
	{
		const bool bMatch = SearchCase == ESearchCase::CaseSensitive ? Data[I] == SearchChar : FChar::ToLower(Data[I]) == FChar::ToLower(SearchChar);
		if (bMatch)
		{
			Data[I] = ReplacementChar;
		}
	}
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool InCullEmpty) const
{
	check(pchDelim);
	OutArray.Reset();
	const int32 DelimLength = FCString::Strlen(pchDelim);
	if (IsEmpty() || DelimLength == 0)
	{
		if (!IsEmpty())
		{
			OutArray.Add(*this);
		}
		return OutArray.Num();
	}
	const TCHAR* Start = **this;
	while (const TCHAR* At = FCString::Strstr(Start, pchDelim))
	{
		if (!InCullEmpty || At > Start)
		{
			OutArray.Emplace(static_cast<int32>(At - Start), Start);
		}
		Start = At + DelimLength;
	}
	if (!InCullEmpty || *Start)
	{
		OutArray.Emplace(Start);
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* const* DelimArray, int32 NumDelims, bool InCullEmpty) const
{
	OutArray.Reset();
	const TCHAR* Chars = **this;
	const int32 Length = Len();
	int32 SubstringBegin = 0;
	int32 Index = 0;
	while (Index < Length)
	{
		int32 MatchLength = 0;
		for (int32 DelimIndex = 0; DelimIndex < NumDelims; ++DelimIndex)
		{
			const int32 DelimLen = FCString::Strlen(DelimArray[DelimIndex]);
			if (DelimLen > 0 && FCString::Strncmp(Chars + Index, DelimArray[DelimIndex], DelimLen) == 0)
			{
				MatchLength = DelimLen;
				break;
			}
		}
		if (MatchLength > 0)
		{
			if (!InCullEmpty || Index > SubstringBegin)
			{
				OutArray.Emplace(Index - SubstringBegin, Chars + SubstringBegin);
			}
			Index += MatchLength;
			SubstringBegin = Index;
		}
		else
		{
			++Index;
		}
	}
	if (!InCullEmpty || Length > SubstringBegin)
	{
		OutArray.Emplace(Length - SubstringBegin, Chars + SubstringBegin);
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim, bool InCullEmpty) const
{
	static const TCHAR* const WhiteSpace[] = {TEXT(" "), TEXT("\t"), TEXT("\r"), TEXT("\n"), TEXT("")};
	const TCHAR* Delims[] = {WhiteSpace[0], WhiteSpace[1], WhiteSpace[2], WhiteSpace[3], pchExtraDelim};
	const int32 NumDelims = (pchExtraDelim && *pchExtraDelim) ? 5 : 4;
	return ParseIntoArray(OutArray, Delims, NumDelims, InCullEmpty);
}

int32 FString::ParseIntoArrayLines(TArray<FString>& OutArray, bool InCullEmpty) const
{
	static const TCHAR* const LineEndings[] = {TEXT("\r\n"), TEXT("\r"), TEXT("\n")};
	return ParseIntoArray(OutArray, LineEndings, 3, InCullEmpty);
}

bool FString::IsNumeric() const
{
	return !IsEmpty() && FCString::IsNumeric(**this);
}

bool FString::ToBool() const
{
	return FCString::ToBool(**this);
}

FString FString::PrintfImpl(const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	FString Result = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	return Result;
}

FString FString::FromInt(int32 Num)
{
	return Printf(TEXT("%d"), Num);
}

FString FString::SanitizeFloat(double InFloat, const int32 InMinFractionalDigits)
{
	// Fixed notation with six decimals (negative zero printed as zero), then trailing zeros trimmed
	// down to the minimum number of fractional digits.
	if (InFloat == 0.0)
	{
		InFloat = 0.0;
	}
	FString Result = Printf(TEXT("%f"), InFloat);
	int32 DotIndex = INDEX_NONE;
	if (!Result.FindChar(TEXT('.'), DotIndex))
	{
		return Result;
	}
	int32 End = Result.Len();
	while (End > DotIndex + 1 && Result[End - 1] == TEXT('0') && End - DotIndex - 1 > InMinFractionalDigits)
	{
		--End;
	}
	if (End == DotIndex + 1)
	{
		End = DotIndex;
	}
	Result.LeftInline(End);
	if (InMinFractionalDigits > 0 && End == DotIndex)
	{
		Result.AppendChar(TEXT('.'));
	}
	const int32 FractionDigits = Result.FindChar(TEXT('.'), DotIndex) ? Result.Len() - DotIndex - 1 : 0;
	for (int32 I = FractionDigits; I < InMinFractionalDigits; ++I)
	{
		Result.AppendChar(TEXT('0'));
	}
	return Result;
}

FString FString::Chr(TCHAR Ch)
{
	const TCHAR Temp[2] = {Ch, 0};
	return FString(Temp);
}

FString FString::ChrN(int32 NumCharacters, TCHAR Char)
{
	FString Result;
	Result.Reserve(NumCharacters);
	for (int32 I = 0; I < NumCharacters; ++I)
	{
		Result.AppendChar(Char);
	}
	return Result;
}

FString operator+(const FString& Lhs, const FString& Rhs)
{
	FString Result(Lhs, Rhs.Len());
	Result.Append(Rhs);
	return Result;
}

FString operator+(FString&& Lhs, const FString& Rhs)
{
	Lhs.Append(Rhs);
	return MoveTemp(Lhs);
}

FString operator+(const FString& Lhs, const TCHAR* Rhs)
{
	FString Result(Lhs);
	Result.Append(Rhs);
	return Result;
}

FString operator+(FString&& Lhs, const TCHAR* Rhs)
{
	Lhs.Append(Rhs);
	return MoveTemp(Lhs);
}

FString operator+(const TCHAR* Lhs, const FString& Rhs)
{
	FString Result(Lhs);
	Result.Append(Rhs);
	return Result;
}

FString operator/(const FString& Lhs, const FString& Rhs)
{
	return Lhs / *Rhs;
}

FString operator/(const FString& Lhs, const TCHAR* Rhs)
{
	FString Result(Lhs);
	if (!Result.IsEmpty() && !Result.EndsWith(TEXT("/")) && Rhs && *Rhs != TEXT('/'))
	{
		Result.AppendChar(TEXT('/'));
	}
	Result.Append(Rhs);
	return Result;
}

uint32 GetTypeHash(const FString& S)
{
	// FNV-1a over lower-cased characters (a whole character per round), so strings equal under operator== hash alike.
	uint32 Hash = 2166136261u;
	for (const TCHAR* Ptr = *S; *Ptr; ++Ptr)
	{
		Hash = (Hash ^ static_cast<uint32>(FChar::ToLower(*Ptr))) * 16777619u;
	}
	return Hash;
}

FString LexToString(int32 Value) { return FString::Printf(TEXT("%d"), Value); }
FString LexToString(int64 Value) { return FString::Printf(TEXT("%lld"), static_cast<long long>(Value)); }
FString LexToString(uint32 Value) { return FString::Printf(TEXT("%u"), Value); }
FString LexToString(uint64 Value) { return FString::Printf(TEXT("%llu"), static_cast<unsigned long long>(Value)); }
FString LexToString(float Value) { return FString::SanitizeFloat(Value); }
FString LexToString(double Value) { return FString::SanitizeFloat(Value); }
FString LexToString(bool Value) { return FString(Value ? TEXT("true") : TEXT("false")); }

void LexFromString(int32& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atoi(Buffer); }
void LexFromString(int64& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atoi64(Buffer); }
void LexFromString(uint32& OutValue, const TCHAR* Buffer) { OutValue = static_cast<uint32>(FCString::Strtoui64(Buffer, nullptr, 10)); }
void LexFromString(float& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atof(Buffer); }
void LexFromString(double& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atod(Buffer); }
void LexFromString(bool& OutValue, const TCHAR* Buffer) { OutValue = FCString::ToBool(Buffer); }
void LexFromString(FString& OutValue, const TCHAR* Buffer) { OutValue = Buffer; }
