#include "Misc/Guid.h"

#include <cstring>
#include <mutex>
#include <random>

namespace
{
	int32 HexDigitValue(TCHAR Char)
	{
		if (Char >= TEXT('0') && Char <= TEXT('9'))
		{
			return Char - TEXT('0');
		}
		if (Char >= TEXT('a') && Char <= TEXT('f'))
		{
			return Char - TEXT('a') + 10;
		}
		if (Char >= TEXT('A') && Char <= TEXT('F'))
		{
			return Char - TEXT('A') + 10;
		}
		return -1;
	}

	/** Reads Count hex digits at Pos into Out; false if any is not a hex digit. */
	bool ReadHex(const FString& Text, int32 Pos, int32 Count, uint32& Out)
	{
		uint32 Value = 0;
		for (int32 I = 0; I < Count; ++I)
		{
			const int32 Digit = HexDigitValue(Text[Pos + I]);
			if (Digit < 0)
			{
				return false;
			}
			Value = (Value << 4) | static_cast<uint32>(Digit);
		}
		Out = Value;
		return true;
	}

	bool Expect(const FString& Text, int32 Pos, const TCHAR* Literal)
	{
		for (int32 I = 0; Literal[I]; ++I)
		{
			if (Pos + I >= Text.Len() || Text[Pos + I] != Literal[I])
			{
				return false;
			}
		}
		return true;
	}

	/** The 8-4-4-4-12 layout starting at Pos: A, B high/low, C high/low, D. */
	bool ParseHyphenated(const FString& Text, int32 Pos, FGuid& Out)
	{
		uint32 A = 0, B1 = 0, B2 = 0, C1 = 0, C2 = 0, D = 0;
		if (!ReadHex(Text, Pos, 8, A) || Text[Pos + 8] != TEXT('-') || !ReadHex(Text, Pos + 9, 4, B1) || Text[Pos + 13] != TEXT('-')
			|| !ReadHex(Text, Pos + 14, 4, B2) || Text[Pos + 18] != TEXT('-') || !ReadHex(Text, Pos + 19, 4, C1) || Text[Pos + 23] != TEXT('-')
			|| !ReadHex(Text, Pos + 24, 4, C2) || !ReadHex(Text, Pos + 28, 8, D))
		{
			return false;
		}
		Out = FGuid(A, (B1 << 16) | B2, (C1 << 16) | C2, D);
		return true;
	}

	constexpr char Base64UrlAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

	void GuidToBytes(const FGuid& Guid, uint8 (&Bytes)[16])
	{
		// Memory order of the four little-endian words.
		const uint32 Words[4] = {Guid.A, Guid.B, Guid.C, Guid.D};
		for (int32 Word = 0; Word < 4; ++Word)
		{
			for (int32 Byte = 0; Byte < 4; ++Byte)
			{
				Bytes[Word * 4 + Byte] = static_cast<uint8>(Words[Word] >> (8 * Byte));
			}
		}
	}
}

FString FGuid::ToString(EGuidFormats Format) const
{
	switch (Format)
	{
	case EGuidFormats::DigitsLower:
		return FString::Printf(TEXT("%08x%08x%08x%08x"), A, B, C, D);
	case EGuidFormats::DigitsWithHyphens:
		return FString::Printf(TEXT("%08X-%04X-%04X-%04X-%04X%08X"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::DigitsWithHyphensLower:
		return FString::Printf(TEXT("%08x-%04x-%04x-%04x-%04x%08x"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::DigitsWithHyphensInBraces:
		return FString::Printf(TEXT("{%08X-%04X-%04X-%04X-%04X%08X}"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::DigitsWithHyphensInParentheses:
		return FString::Printf(TEXT("(%08X-%04X-%04X-%04X-%04X%08X)"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::HexValuesInBraces:
		return FString::Printf(TEXT("{0x%08X,0x%04X,0x%04X,{0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X}}"), A, B >> 16, B & 0xFFFF,
			C >> 24, (C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF, D >> 24, (D >> 16) & 0xFF, (D >> 8) & 0xFF, D & 0xFF);
	case EGuidFormats::UniqueObjectGuid:
		return FString::Printf(TEXT("%08X-%08X-%08X-%08X"), A, B, C, D);
	case EGuidFormats::Short:
	{
		uint8 Bytes[16];
		GuidToBytes(*this, Bytes);
		FString Result;
		uint32 Bits = 0;
		int32 NumBits = 0;
		for (uint8 Byte : Bytes)
		{
			Bits = (Bits << 8) | Byte;
			NumBits += 8;
			while (NumBits >= 6)
			{
				NumBits -= 6;
				Result.AppendChar(static_cast<TCHAR>(Base64UrlAlphabet[(Bits >> NumBits) & 0x3F]));
			}
		}
		if (NumBits > 0)
		{
			Result.AppendChar(static_cast<TCHAR>(Base64UrlAlphabet[(Bits << (6 - NumBits)) & 0x3F]));
		}
		return Result;
	}
	case EGuidFormats::Digits:
	default:
		return FString::Printf(TEXT("%08X%08X%08X%08X"), A, B, C, D);
	}
}

FGuid FGuid::NewGuid()
{
	static std::mutex Mutex;
	static std::mt19937_64 Generator{std::random_device{}()};
	std::lock_guard<std::mutex> Lock(Mutex);
	FGuid Result;
	do
	{
		const uint64 High = Generator();
		const uint64 Low = Generator();
		Result = FGuid(static_cast<uint32>(High >> 32), static_cast<uint32>(High), static_cast<uint32>(Low >> 32), static_cast<uint32>(Low));
	} while (!Result.IsValid());
	return Result;
}

bool FGuid::Parse(const FString& GuidString, FGuid& OutGuid)
{
	switch (GuidString.Len())
	{
	case 32:
		return ParseExact(GuidString, EGuidFormats::Digits, OutGuid);
	case 36:
		return ParseExact(GuidString, EGuidFormats::DigitsWithHyphens, OutGuid);
	case 38:
		return GuidString[0] == TEXT('{') ? ParseExact(GuidString, EGuidFormats::DigitsWithHyphensInBraces, OutGuid)
										  : ParseExact(GuidString, EGuidFormats::DigitsWithHyphensInParentheses, OutGuid);
	case 68:
		return ParseExact(GuidString, EGuidFormats::HexValuesInBraces, OutGuid);
	case 35:
		return ParseExact(GuidString, EGuidFormats::UniqueObjectGuid, OutGuid);
	case 22:
		return ParseExact(GuidString, EGuidFormats::Short, OutGuid);
	default:
		return false;
	}
}

bool FGuid::ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid)
{
	const FString& S = GuidString;
	uint32 W[4] = {};
	switch (Format)
	{
	case EGuidFormats::Digits:
	case EGuidFormats::DigitsLower:
		if (S.Len() != 32 || !ReadHex(S, 0, 8, W[0]) || !ReadHex(S, 8, 8, W[1]) || !ReadHex(S, 16, 8, W[2]) || !ReadHex(S, 24, 8, W[3]))
		{
			return false;
		}
		OutGuid = FGuid(W[0], W[1], W[2], W[3]);
		return true;
	case EGuidFormats::DigitsWithHyphens:
	case EGuidFormats::DigitsWithHyphensLower:
		return S.Len() == 36 && ParseHyphenated(S, 0, OutGuid);
	case EGuidFormats::DigitsWithHyphensInBraces:
		return S.Len() == 38 && S[0] == TEXT('{') && S[37] == TEXT('}') && ParseHyphenated(S, 1, OutGuid);
	case EGuidFormats::DigitsWithHyphensInParentheses:
		return S.Len() == 38 && S[0] == TEXT('(') && S[37] == TEXT(')') && ParseHyphenated(S, 1, OutGuid);
	case EGuidFormats::UniqueObjectGuid:
		if (S.Len() != 35 || !ReadHex(S, 0, 8, W[0]) || S[8] != TEXT('-') || !ReadHex(S, 9, 8, W[1]) || S[17] != TEXT('-') || !ReadHex(S, 18, 8, W[2])
			|| S[26] != TEXT('-') || !ReadHex(S, 27, 8, W[3]))
		{
			return false;
		}
		OutGuid = FGuid(W[0], W[1], W[2], W[3]);
		return true;
	case EGuidFormats::HexValuesInBraces:
	{
		// {0xAAAAAAAA,0xBBBB,0xBBBB,{0xCC,0xCC,0xCC,0xCC,0xDD,0xDD,0xDD,0xDD}} (68 characters)
		if (S.Len() != 68)
		{
			return false;
		}
		uint32 A = 0, B1 = 0, B2 = 0;
		uint32 Bytes[8] = {};
		if (!Expect(S, 0, TEXT("{0x")) || !ReadHex(S, 3, 8, A) || !Expect(S, 11, TEXT(",0x")) || !ReadHex(S, 14, 4, B1) || !Expect(S, 18, TEXT(",0x"))
			|| !ReadHex(S, 21, 4, B2) || !Expect(S, 25, TEXT(",{")))
		{
			return false;
		}
		for (int32 I = 0; I < 8; ++I)
		{
			const int32 Pos = 27 + I * 5;
			if (!Expect(S, Pos, TEXT("0x")) || !ReadHex(S, Pos + 2, 2, Bytes[I]) || !Expect(S, Pos + 4, I < 7 ? TEXT(",") : TEXT("}")))
			{
				return false;
			}
		}
		if (!Expect(S, 67, TEXT("}")))
		{
			return false;
		}
		OutGuid = FGuid(A, (B1 << 16) | B2, (Bytes[0] << 24) | (Bytes[1] << 16) | (Bytes[2] << 8) | Bytes[3],
			(Bytes[4] << 24) | (Bytes[5] << 16) | (Bytes[6] << 8) | Bytes[7]);
		return true;
	}
	case EGuidFormats::Short:
	{
		if (S.Len() != 22)
		{
			return false;
		}
		uint8 Bytes[16] = {};
		int32 NumBytes = 0;
		uint32 Bits = 0;
		int32 NumBits = 0;
		for (int32 I = 0; I < 22; ++I)
		{
			const char* Found = nullptr;
			for (const char* P = Base64UrlAlphabet; *P; ++P)
			{
				if (static_cast<TCHAR>(*P) == S[I])
				{
					Found = P;
					break;
				}
			}
			if (!Found)
			{
				return false;
			}
			Bits = (Bits << 6) | static_cast<uint32>(Found - Base64UrlAlphabet);
			NumBits += 6;
			if (NumBits >= 8)
			{
				NumBits -= 8;
				if (NumBytes < 16)
				{
					Bytes[NumBytes++] = static_cast<uint8>(Bits >> NumBits);
				}
			}
		}
		for (int32 Word = 0; Word < 4; ++Word)
		{
			W[Word] = static_cast<uint32>(Bytes[Word * 4]) | (static_cast<uint32>(Bytes[Word * 4 + 1]) << 8) | (static_cast<uint32>(Bytes[Word * 4 + 2]) << 16)
				| (static_cast<uint32>(Bytes[Word * 4 + 3]) << 24);
		}
		OutGuid = FGuid(W[0], W[1], W[2], W[3]);
		return true;
	}
	default:
		return false;
	}
}
