#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/CoreMiscDefines.h"

struct FColor;

/** Linear-space colour with float channels. */
struct FLinearColor
{
	float R;
	float G;
	float B;
	float A;

	static CORE_API const FLinearColor White;
	static CORE_API const FLinearColor Gray;
	static CORE_API const FLinearColor Black;
	static CORE_API const FLinearColor Transparent;
	static CORE_API const FLinearColor Red;
	static CORE_API const FLinearColor Green;
	static CORE_API const FLinearColor Blue;
	static CORE_API const FLinearColor Yellow;

	FLinearColor() = default;
	explicit constexpr FLinearColor(EForceInit) : R(0), G(0), B(0), A(0) {}
	constexpr FLinearColor(float InR, float InG, float InB, float InA = 1.0f) : R(InR), G(InG), B(InB), A(InA) {}
	/** Converts an sRGB-encoded colour to linear. */
	CORE_API FLinearColor(const FColor& Color);

	static CORE_API FLinearColor FromSRGBColor(const FColor& Color);
	/** Quantises to 8 bits per channel, optionally encoding as sRGB. */
	CORE_API FColor ToFColor(const bool bSRGB) const;
	FColor ToFColorSRGB() const;

	FLinearColor operator+(const FLinearColor& C) const { return FLinearColor(R + C.R, G + C.G, B + C.B, A + C.A); }
	FLinearColor operator-(const FLinearColor& C) const { return FLinearColor(R - C.R, G - C.G, B - C.B, A - C.A); }
	FLinearColor operator*(const FLinearColor& C) const { return FLinearColor(R * C.R, G * C.G, B * C.B, A * C.A); }
	FLinearColor operator*(float Scalar) const { return FLinearColor(R * Scalar, G * Scalar, B * Scalar, A * Scalar); }
	FLinearColor operator/(float Scalar) const { const float Inv = 1.0f / Scalar; return *this * Inv; }
	bool operator==(const FLinearColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	bool operator!=(const FLinearColor& C) const { return !(*this == C); }
	bool Equals(const FLinearColor& C, float Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(R - C.R) < Tolerance && FMath::Abs(G - C.G) < Tolerance && FMath::Abs(B - C.B) < Tolerance && FMath::Abs(A - C.A) < Tolerance;
	}
	FLinearColor CopyWithNewOpacity(float NewOpacity) const { return FLinearColor(R, G, B, NewOpacity); }
	FString ToString() const { return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A); }
};

/** 8-bit sRGB colour, stored B, G, R, A as on little-endian Windows. Default-constructed is uninitialised. */
struct FColor
{
	uint8 B;
	uint8 G;
	uint8 R;
	uint8 A;

	static CORE_API const FColor White;
	static CORE_API const FColor Black;
	static CORE_API const FColor Transparent;
	static CORE_API const FColor Red;
	static CORE_API const FColor Green;
	static CORE_API const FColor Blue;
	static CORE_API const FColor Yellow;
	static CORE_API const FColor Cyan;
	static CORE_API const FColor Magenta;
	static CORE_API const FColor Orange;
	static CORE_API const FColor Purple;
	static CORE_API const FColor Turquoise;
	static CORE_API const FColor Silver;
	static CORE_API const FColor Emerald;

	FColor() = default;
	explicit constexpr FColor(EForceInit) : B(0), G(0), R(0), A(0) {}
	constexpr FColor(uint8 InR, uint8 InG, uint8 InB, uint8 InA = 255) : B(InB), G(InG), R(InR), A(InA) {}
	/** From 0xAARRGGBB. */
	explicit constexpr FColor(uint32 InColor)
		: B(uint8(InColor)), G(uint8(InColor >> 8)), R(uint8(InColor >> 16)), A(uint8(InColor >> 24))
	{
	}

	constexpr uint32 DWColor() const { return ToPackedARGB(); }
	constexpr uint32 ToPackedARGB() const { return (uint32(A) << 24) | (uint32(R) << 16) | (uint32(G) << 8) | uint32(B); }
	constexpr uint32 ToPackedABGR() const { return (uint32(A) << 24) | (uint32(B) << 16) | (uint32(G) << 8) | uint32(R); }
	constexpr uint32 ToPackedRGBA() const { return (uint32(R) << 24) | (uint32(G) << 16) | (uint32(B) << 8) | uint32(A); }
	constexpr uint32 ToPackedBGRA() const { return (uint32(B) << 24) | (uint32(G) << 16) | (uint32(R) << 8) | uint32(A); }

	constexpr bool operator==(const FColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	constexpr bool operator!=(const FColor& C) const { return !(*this == C); }
	void operator+=(const FColor& C)
	{
		R = uint8(FMath::Min(int32(R) + int32(C.R), 255));
		G = uint8(FMath::Min(int32(G) + int32(C.G), 255));
		B = uint8(FMath::Min(int32(B) + int32(C.B), 255));
		A = uint8(FMath::Min(int32(A) + int32(C.A), 255));
	}

	/** Channels divided by 255, without gamma conversion. */
	FLinearColor ReinterpretAsLinear() const { return FLinearColor(R / 255.f, G / 255.f, B / 255.f, A / 255.f); }
	/** "RRGGBBAA". */
	FString ToHex() const { return FString::Printf(TEXT("%02X%02X%02X%02X"), R, G, B, A); }
	FString ToString() const { return FString::Printf(TEXT("(R=%i,G=%i,B=%i,A=%i)"), R, G, B, A); }

	friend uint32 GetTypeHash(const FColor& Color) { return Color.DWColor(); }
};

inline FColor FLinearColor::ToFColorSRGB() const
{
	return ToFColor(true);
}
