// Conversions between TCHAR strings and UTF-8 / ANSI byte strings.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"

namespace UE::String::Private
{
	/** Appends the UTF-8 encoding of Len TCHARs (UTF-16 or UTF-32 by TCHAR width); invalid code points become '?'. */
	CORE_API void ConvertTCHARToUTF8(const TCHAR* Source, int32 Len, TArray<ANSICHAR>& Out);
	/** Appends the TCHARs decoded from Len UTF-8 bytes; invalid sequences become '?'. */
	CORE_API void ConvertUTF8ToTCHAR(const ANSICHAR* Source, int32 Len, TArray<TCHAR>& Out);
	/** Narrows each TCHAR to one byte; characters above 0xFF become '?'. */
	CORE_API void ConvertTCHARToANSI(const TCHAR* Source, int32 Len, TArray<ANSICHAR>& Out);
	/** Widens each byte to one TCHAR. */
	CORE_API void ConvertANSIToTCHAR(const ANSICHAR* Source, int32 Len, TArray<TCHAR>& Out);

	template <typename CharType>
	int32 NulTerminatedLength(const CharType* Source)
	{
		int32 Length = 0;
		while (Source[Length])
		{
			++Length;
		}
		return Length;
	}
}

class FTCHARToUTF8_Convert
{
public:
	typedef TCHAR FromType;
	typedef ANSICHAR ToType;
	typedef UTF8CHAR IntendedToType;

	static void Convert(const FromType* Source, int32 SourceLen, TArray<ToType>& Out) { UE::String::Private::ConvertTCHARToUTF8(Source, SourceLen, Out); }
};

class FUTF8ToTCHAR_Convert
{
public:
	typedef UTF8CHAR FromType;
	typedef ANSICHAR LegacyFromType;
	typedef TCHAR ToType;

	static void Convert(const LegacyFromType* Source, int32 SourceLen, TArray<ToType>& Out) { UE::String::Private::ConvertUTF8ToTCHAR(Source, SourceLen, Out); }
};

class FTCHARToANSI_Convert
{
public:
	typedef TCHAR FromType;
	typedef ANSICHAR ToType;

	static void Convert(const FromType* Source, int32 SourceLen, TArray<ToType>& Out) { UE::String::Private::ConvertTCHARToANSI(Source, SourceLen, Out); }
};

class FANSIToTCHAR_Convert
{
public:
	typedef ANSICHAR FromType;
	typedef TCHAR ToType;

	static void Convert(const FromType* Source, int32 SourceLen, TArray<ToType>& Out) { UE::String::Private::ConvertANSIToTCHAR(Source, SourceLen, Out); }
};

/**
 * Holds the converted, NUL-terminated copy of a string for the lifetime of the object.
 * Get() is never null for a non-null source; Length() counts converted units without the NUL.
 */
template <typename Converter>
class TStringConversion
{
public:
	typedef typename Converter::ToType ToType;

	template <typename SourceCharType>
	explicit TStringConversion(const SourceCharType* Source)
	{
		if (Source)
		{
			Init(Source, UE::String::Private::NulTerminatedLength(Source));
		}
	}

	template <typename SourceCharType>
	TStringConversion(const SourceCharType* Source, int32 SourceLen)
	{
		if (Source)
		{
			Init(Source, SourceLen);
		}
	}

	TStringConversion(const TStringConversion&) = delete;
	TStringConversion& operator=(const TStringConversion&) = delete;
	TStringConversion(TStringConversion&&) = default;

	FORCEINLINE const ToType* Get() const { return Buffer.Num() ? Buffer.GetData() : nullptr; }
	FORCEINLINE int32 Length() const { return Buffer.Num() ? Buffer.Num() - 1 : 0; }

private:
	template <typename SourceCharType>
	void Init(const SourceCharType* Source, int32 SourceLen)
	{
		Converter::Convert(reinterpret_cast<const typename ConverterFrom<SourceCharType>::Type*>(Source), SourceLen, Buffer);
		Buffer.Add(ToType(0));
	}

	template <typename SourceCharType>
	struct ConverterFrom
	{
		// UTF8CHAR sources are read as bytes.
		using Type = std::conditional_t<std::is_same_v<SourceCharType, UTF8CHAR>, ANSICHAR, SourceCharType>;
	};

	TArray<ToType> Buffer;
};

typedef TStringConversion<FTCHARToUTF8_Convert> FTCHARToUTF8;
typedef TStringConversion<FUTF8ToTCHAR_Convert> FUTF8ToTCHAR;
typedef TStringConversion<FTCHARToANSI_Convert> FTCHARToANSI;
typedef TStringConversion<FANSIToTCHAR_Convert> FANSIToTCHAR;

#define TCHAR_TO_UTF8(str) (ANSICHAR*)FTCHARToUTF8((const TCHAR*)str).Get()
#define UTF8_TO_TCHAR(str) (TCHAR*)FUTF8ToTCHAR((const ANSICHAR*)str).Get()
#define TCHAR_TO_ANSI(str) (ANSICHAR*)FTCHARToANSI((const TCHAR*)str).Get()
#define ANSI_TO_TCHAR(str) (TCHAR*)FANSIToTCHAR((const ANSICHAR*)str).Get()
