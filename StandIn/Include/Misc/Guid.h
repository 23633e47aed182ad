// FGuid: four 32-bit words A, B, C, D, with the engine's text forms.
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

enum class EGuidFormats
{
	/** 32 digits: "00000000000000000000000000000000" */
	Digits,
	DigitsLower,
	/** "00000000-0000-0000-0000-000000000000" */
	DigitsWithHyphens,
	DigitsWithHyphensLower,
	/** "{00000000-0000-0000-0000-000000000000}" */
	DigitsWithHyphensInBraces,
	/** "(00000000-0000-0000-0000-000000000000)" */
	DigitsWithHyphensInParentheses,
	/** "{0x00000000,0x0000,0x0000,{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00}}" */
	HexValuesInBraces,
	/** "00000000-00000000-00000000-00000000" */
	UniqueObjectGuid,
	/** 22 characters: URL-safe base64 of the 16 bytes, no padding. */
	Short,
};

struct FGuid
{
public:
	constexpr FGuid()
		: A(0), B(0), C(0), D(0)
	{
	}

	explicit constexpr FGuid(uint32 InA, uint32 InB, uint32 InC, uint32 InD)
		: A(InA), B(InB), C(InC), D(InD)
	{
	}

	friend constexpr bool operator==(const FGuid& X, const FGuid& Y) { return ((X.A ^ Y.A) | (X.B ^ Y.B) | (X.C ^ Y.C) | (X.D ^ Y.D)) == 0; }
	friend constexpr bool operator!=(const FGuid& X, const FGuid& Y) { return !(X == Y); }
	friend constexpr bool operator<(const FGuid& X, const FGuid& Y)
	{
		return X.A < Y.A ? true : X.A > Y.A ? false : X.B < Y.B ? true : X.B > Y.B ? false : X.C < Y.C ? true : X.C > Y.C ? false : X.D < Y.D;
	}

	uint32& operator[](int32 Index)
	{
		checkSlow(Index >= 0 && Index < 4);
		switch (Index)
		{
		case 0: return A;
		case 1: return B;
		case 2: return C;
		default: return D;
		}
	}

	const uint32& operator[](int32 Index) const { return const_cast<FGuid&>(*this)[Index]; }

	/** Not all zero. */
	constexpr bool IsValid() const { return ((A | B | C | D) != 0); }
	void Invalidate() { A = B = C = D = 0; }

	CORE_API FString ToString(EGuidFormats Format = EGuidFormats::Digits) const;

	/** A new random GUID. */
	static CORE_API FGuid NewGuid();

	/** Parses any of the text forms, chosen by the length of the string; false on malformed input. */
	static CORE_API bool Parse(const FString& GuidString, FGuid& OutGuid);
	static CORE_API bool ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid);

	friend uint32 GetTypeHash(const FGuid& Guid)
	{
		return HashCombineFast(HashCombineFast(Guid.A, Guid.B), HashCombineFast(Guid.C, Guid.D));
	}

	friend FString LexToString(const FGuid& Value) { return Value.ToString(); }

	uint32 A;
	uint32 B;
	uint32 C;
	uint32 D;
};
