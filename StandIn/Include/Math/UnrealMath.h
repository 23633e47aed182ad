// The engine's math types, with its conventions: left-handed, Z up, X forward, Y right; row vectors
// (a point transforms as v * M, so the rows of a rotation matrix are the rotated axes and row 3 is
// the translation); FMatrix A * B applies A first; FTransform A * B applies A first; FQuat P * Q
// applies Q first. Rotator angles are degrees: Yaw about +Z, Pitch about -Y, Roll about -X.
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CoreMiscDefines.h"

namespace UE::Math
{

// ---------------------------------------------------------------------------------------------
// TVector

template <typename T>
struct TVector
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	T X;
	T Y;
	T Z;

	static const TVector ZeroVector;
	static const TVector OneVector;
	static const TVector UpVector;
	static const TVector DownVector;
	static const TVector ForwardVector;
	static const TVector BackwardVector;
	static const TVector RightVector;
	static const TVector LeftVector;
	static const TVector XAxisVector;
	static const TVector YAxisVector;
	static const TVector ZAxisVector;

	TVector() = default;
	explicit constexpr TVector(T InF) : X(InF), Y(InF), Z(InF) {}
	constexpr TVector(T InX, T InY, T InZ) : X(InX), Y(InY), Z(InZ) {}
	explicit constexpr TVector(EForceInit) : X(0), Y(0), Z(0) {}
	explicit TVector(const TVector2<T> V, T InZ);
	/** X, Y, Z of a TVector4 (W dropped); implicit as in the engine. */
	TVector(const TVector4<T>& V);
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit constexpr TVector(const TVector<FArg>& From) : X(static_cast<T>(From.X)), Y(static_cast<T>(From.Y)), Z(static_cast<T>(From.Z)) {}

	FORCEINLINE TVector operator^(const TVector& V) const { return TVector(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X); }
	FORCEINLINE TVector Cross(const TVector& V2) const { return *this ^ V2; }
	FORCEINLINE static TVector CrossProduct(const TVector& A, const TVector& B) { return A ^ B; }
	FORCEINLINE T operator|(const TVector& V) const { return X * V.X + Y * V.Y + Z * V.Z; }
	FORCEINLINE T Dot(const TVector& V) const { return *this | V; }
	FORCEINLINE static T DotProduct(const TVector& A, const TVector& B) { return A | B; }

	FORCEINLINE TVector operator+(const TVector& V) const { return TVector(X + V.X, Y + V.Y, Z + V.Z); }
	FORCEINLINE TVector operator-(const TVector& V) const { return TVector(X - V.X, Y - V.Y, Z - V.Z); }
	FORCEINLINE TVector operator*(const TVector& V) const { return TVector(X * V.X, Y * V.Y, Z * V.Z); }
	FORCEINLINE TVector operator/(const TVector& V) const { return TVector(X / V.X, Y / V.Y, Z / V.Z); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector operator+(FArg Bias) const { return TVector(X + T(Bias), Y + T(Bias), Z + T(Bias)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector operator-(FArg Bias) const { return TVector(X - T(Bias), Y - T(Bias), Z - T(Bias)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector operator*(FArg Scale) const { return TVector(X * T(Scale), Y * T(Scale), Z * T(Scale)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector operator/(FArg Scale) const
	{
		const T RScale = T(1) / T(Scale);
		return TVector(X * RScale, Y * RScale, Z * RScale);
	}
	FORCEINLINE TVector operator-() const { return TVector(-X, -Y, -Z); }
	FORCEINLINE TVector& operator+=(const TVector& V) { X += V.X; Y += V.Y; Z += V.Z; return *this; }
	FORCEINLINE TVector& operator-=(const TVector& V) { X -= V.X; Y -= V.Y; Z -= V.Z; return *this; }
	FORCEINLINE TVector& operator*=(const TVector& V) { X *= V.X; Y *= V.Y; Z *= V.Z; return *this; }
	FORCEINLINE TVector& operator/=(const TVector& V) { X /= V.X; Y /= V.Y; Z /= V.Z; return *this; }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector& operator*=(FArg Scale) { X *= T(Scale); Y *= T(Scale); Z *= T(Scale); return *this; }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	FORCEINLINE TVector& operator/=(FArg Scale) { const T RV = T(1) / T(Scale); X *= RV; Y *= RV; Z *= RV; return *this; }

	FORCEINLINE bool operator==(const TVector& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
	FORCEINLINE bool operator!=(const TVector& V) const { return !(*this == V); }
	bool Equals(const TVector& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance;
	}
	bool AllComponentsEqual(T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - Y) <= Tolerance && FMath::Abs(X - Z) <= Tolerance && FMath::Abs(Y - Z) <= Tolerance;
	}

	FORCEINLINE T& operator[](int32 Index)
	{
		checkSlow(Index >= 0 && Index < 3);
		return Index == 0 ? X : (Index == 1 ? Y : Z);
	}
	FORCEINLINE T operator[](int32 Index) const
	{
		checkSlow(Index >= 0 && Index < 3);
		return Index == 0 ? X : (Index == 1 ? Y : Z);
	}
	T& Component(int32 Index) { return (*this)[Index]; }
	T Component(int32 Index) const { return (*this)[Index]; }
	void Set(T InX, T InY, T InZ) { X = InX; Y = InY; Z = InZ; }

	T GetMax() const { return FMath::Max3(X, Y, Z); }
	T GetAbsMax() const { return FMath::Max3(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }
	T GetMin() const { return FMath::Min3(X, Y, Z); }
	T GetAbsMin() const { return FMath::Min3(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }
	TVector GetAbs() const { return TVector(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }
	TVector ComponentMin(const TVector& Other) const { return TVector(FMath::Min(X, Other.X), FMath::Min(Y, Other.Y), FMath::Min(Z, Other.Z)); }
	TVector ComponentMax(const TVector& Other) const { return TVector(FMath::Max(X, Other.X), FMath::Max(Y, Other.Y), FMath::Max(Z, Other.Z)); }
	T Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
	T Length() const { return Size(); }
	T SizeSquared() const { return X * X + Y * Y + Z * Z; }
	T SquaredLength() const { return SizeSquared(); }
	T Size2D() const { return FMath::Sqrt(X * X + Y * Y); }
	T SizeSquared2D() const { return X * X + Y * Y; }
	bool IsNearlyZero(T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
	}
	bool IsZero() const { return X == T(0) && Y == T(0) && Z == T(0); }
	bool IsUnit(T LengthSquaredTolerance = UE_KINDA_SMALL_NUMBER) const { return FMath::Abs(T(1) - SizeSquared()) < LengthSquaredTolerance; }
	bool IsNormalized() const { return FMath::Abs(T(1) - SizeSquared()) < T(UE_THRESH_VECTOR_NORMALIZED); }
	bool ContainsNaN() const { return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z); }

	/** Scales to unit length if the squared length exceeds Tolerance; returns whether it did. */
	bool Normalize(T Tolerance = UE_SMALL_NUMBER)
	{
		const T SquareSum = X * X + Y * Y + Z * Z;
		if (SquareSum > Tolerance)
		{
			const T Scale = FMath::InvSqrt(SquareSum);
			X *= Scale;
			Y *= Scale;
			Z *= Scale;
			return true;
		}
		return false;
	}

	TVector GetSafeNormal(T Tolerance = UE_SMALL_NUMBER, const TVector& ResultIfZero = ZeroVector) const
	{
		const T SquareSum = X * X + Y * Y + Z * Z;
		if (SquareSum == T(1))
		{
			return *this;
		}
		if (SquareSum < Tolerance)
		{
			return ResultIfZero;
		}
		const T Scale = FMath::InvSqrt(SquareSum);
		return TVector(X * Scale, Y * Scale, Z * Scale);
	}

	TVector GetUnsafeNormal() const
	{
		const T Scale = FMath::InvSqrt(X * X + Y * Y + Z * Z);
		return TVector(X * Scale, Y * Scale, Z * Scale);
	}

	/** +1 for each non-negative component, -1 otherwise. */
	TVector GetSignVector() const { return TVector(X >= T(0) ? T(1) : T(-1), Y >= T(0) ? T(1) : T(-1), Z >= T(0) ? T(1) : T(-1)); }

	/** The rotator that turns the X axis toward this direction (no roll). */
	TRotator<T> Rotation() const;
	TRotator<T> ToOrientationRotator() const;
	TQuat<T> ToOrientationQuat() const;

	static T Dist(const TVector& V1, const TVector& V2) { return (V2 - V1).Size(); }
	static T Distance(const TVector& V1, const TVector& V2) { return Dist(V1, V2); }
	static T DistSquared(const TVector& V1, const TVector& V2) { return (V2 - V1).SizeSquared(); }

	FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f"), double(X), double(Y), double(Z)); }
};

template <typename T> const TVector<T> TVector<T>::ZeroVector(0, 0, 0);
template <typename T> const TVector<T> TVector<T>::OneVector(1, 1, 1);
template <typename T> const TVector<T> TVector<T>::UpVector(0, 0, 1);
template <typename T> const TVector<T> TVector<T>::DownVector(0, 0, -1);
template <typename T> const TVector<T> TVector<T>::ForwardVector(1, 0, 0);
template <typename T> const TVector<T> TVector<T>::BackwardVector(-1, 0, 0);
template <typename T> const TVector<T> TVector<T>::RightVector(0, 1, 0);
template <typename T> const TVector<T> TVector<T>::LeftVector(0, -1, 0);
template <typename T> const TVector<T> TVector<T>::XAxisVector(1, 0, 0);
template <typename T> const TVector<T> TVector<T>::YAxisVector(0, 1, 0);
template <typename T> const TVector<T> TVector<T>::ZAxisVector(0, 0, 1);

template <typename T, typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
FORCEINLINE TVector<T> operator*(FArg Scale, const TVector<T>& V)
{
	return V * Scale;
}

// ---------------------------------------------------------------------------------------------
// TIntPoint, TIntRect

template <typename InIntType>
struct TIntPoint
{
	using IntType = InIntType;

	IntType X;
	IntType Y;

	static const TIntPoint ZeroValue;
	static const TIntPoint NoneValue;

	TIntPoint() = default;
	constexpr TIntPoint(IntType InX, IntType InY) : X(InX), Y(InY) {}
	explicit constexpr TIntPoint(IntType InXY) : X(InXY), Y(InXY) {}
	explicit constexpr TIntPoint(EForceInit) : X(0), Y(0) {}

	IntType& operator[](int32 Index) { check(Index >= 0 && Index < 2); return Index == 0 ? X : Y; }
	IntType operator[](int32 Index) const { check(Index >= 0 && Index < 2); return Index == 0 ? X : Y; }
	bool operator==(const TIntPoint& Other) const { return X == Other.X && Y == Other.Y; }
	bool operator!=(const TIntPoint& Other) const { return !(*this == Other); }
	TIntPoint& operator*=(IntType Scale) { X *= Scale; Y *= Scale; return *this; }
	TIntPoint& operator/=(IntType Divisor) { X /= Divisor; Y /= Divisor; return *this; }
	TIntPoint& operator+=(const TIntPoint& Other) { X += Other.X; Y += Other.Y; return *this; }
	TIntPoint& operator-=(const TIntPoint& Other) { X -= Other.X; Y -= Other.Y; return *this; }
	TIntPoint operator*(IntType Scale) const { return TIntPoint(X * Scale, Y * Scale); }
	TIntPoint operator/(IntType Divisor) const { return TIntPoint(X / Divisor, Y / Divisor); }
	TIntPoint operator+(const TIntPoint& Other) const { return TIntPoint(X + Other.X, Y + Other.Y); }
	TIntPoint operator-(const TIntPoint& Other) const { return TIntPoint(X - Other.X, Y - Other.Y); }
	TIntPoint operator*(const TIntPoint& Other) const { return TIntPoint(X * Other.X, Y * Other.Y); }
	TIntPoint operator/(const TIntPoint& Other) const { return TIntPoint(X / Other.X, Y / Other.Y); }
	TIntPoint ComponentMin(const TIntPoint& Other) const { return TIntPoint(FMath::Min(X, Other.X), FMath::Min(Y, Other.Y)); }
	TIntPoint ComponentMax(const TIntPoint& Other) const { return TIntPoint(FMath::Max(X, Other.X), FMath::Max(Y, Other.Y)); }
	IntType GetMax() const { return FMath::Max(X, Y); }
	IntType GetMin() const { return FMath::Min(X, Y); }
	IntType Size() const { return IntType(FMath::Sqrt(double(X * X + Y * Y))); }
	IntType SizeSquared() const { return X * X + Y * Y; }
	FString ToString() const { return FString::Printf(TEXT("X=%lld Y=%lld"), static_cast<long long>(X), static_cast<long long>(Y)); }

	friend uint32 GetTypeHash(const TIntPoint& Point) { return HashCombine(::GetTypeHash(Point.X), ::GetTypeHash(Point.Y)); }
};

template <typename IntType> const TIntPoint<IntType> TIntPoint<IntType>::ZeroValue(0, 0);
template <typename IntType> const TIntPoint<IntType> TIntPoint<IntType>::NoneValue(static_cast<IntType>(INDEX_NONE), static_cast<IntType>(INDEX_NONE));

template <typename InIntType>
struct TIntRect
{
	using IntType = InIntType;
	using IntPointType = TIntPoint<IntType>;

	IntPointType Min;
	IntPointType Max;

	constexpr TIntRect() : Min(ForceInit), Max(ForceInit) {}
	constexpr TIntRect(IntType X0, IntType Y0, IntType X1, IntType Y1) : Min(X0, Y0), Max(X1, Y1) {}
	constexpr TIntRect(IntPointType InMin, IntPointType InMax) : Min(InMin), Max(InMax) {}

	bool operator==(const TIntRect& Other) const { return Min == Other.Min && Max == Other.Max; }
	bool operator!=(const TIntRect& Other) const { return !(*this == Other); }
	TIntRect operator+(const TIntRect& Other) const { return TIntRect(Min + Other.Min, Max + Other.Max); }
	TIntRect operator-(const TIntRect& Other) const { return TIntRect(Min - Other.Min, Max - Other.Max); }
	TIntRect operator*(IntType Scale) const { return TIntRect(Min * Scale, Max * Scale); }

	IntType Width() const { return Max.X - Min.X; }
	IntType Height() const { return Max.Y - Min.Y; }
	IntType Area() const { return Width() * Height(); }
	IntPointType Size() const { return IntPointType(Width(), Height()); }
	IntPointType Center() const { return IntPointType((Min.X + Max.X) / 2, (Min.Y + Max.Y) / 2); }
	bool IsEmpty() const { return Width() == 0 && Height() == 0; }
	/** Min inclusive, Max exclusive. */
	bool Contains(IntPointType P) const { return P.X >= Min.X && P.X < Max.X && P.Y >= Min.Y && P.Y < Max.Y; }
	void InflateRect(IntType Amount) { Min.X -= Amount; Min.Y -= Amount; Max.X += Amount; Max.Y += Amount; }
	void Clip(const TIntRect& R)
	{
		Min.X = FMath::Max(Min.X, R.Min.X);
		Min.Y = FMath::Max(Min.Y, R.Min.Y);
		Max.X = FMath::Min(Max.X, R.Max.X);
		Max.Y = FMath::Min(Max.Y, R.Max.Y);
		Max.X = FMath::Max(Min.X, Max.X);
		Max.Y = FMath::Max(Min.Y, Max.Y);
	}
	void Union(const TIntRect& R)
	{
		Min.X = FMath::Min(Min.X, R.Min.X);
		Min.Y = FMath::Min(Min.Y, R.Min.Y);
		Max.X = FMath::Max(Max.X, R.Max.X);
		Max.Y = FMath::Max(Max.Y, R.Max.Y);
	}
	FString ToString() const { return FString::Printf(TEXT("Min=(%s) Max=(%s)"), *Min.ToString(), *Max.ToString()); }
};

// ---------------------------------------------------------------------------------------------
// TVector2

template <typename T>
struct TVector2
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	T X;
	T Y;

	static const TVector2 ZeroVector;
	static const TVector2 UnitVector;
	static const TVector2 Unit45Deg;

	TVector2() = default;
	constexpr TVector2(T InX, T InY) : X(InX), Y(InY) {}
	explicit constexpr TVector2(T InF) : X(InF), Y(InF) {}
	explicit constexpr TVector2(EForceInit) : X(0), Y(0) {}
	explicit TVector2(TIntPoint<int32> InPos) : X(T(InPos.X)), Y(T(InPos.Y)) {}
	explicit TVector2(const TVector<T>& V) : X(V.X), Y(V.Y) {}
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit constexpr TVector2(const TVector2<FArg>& From) : X(T(From.X)), Y(T(From.Y)) {}

	TVector2 operator+(const TVector2& V) const { return TVector2(X + V.X, Y + V.Y); }
	TVector2 operator-(const TVector2& V) const { return TVector2(X - V.X, Y - V.Y); }
	TVector2 operator*(const TVector2& V) const { return TVector2(X * V.X, Y * V.Y); }
	TVector2 operator/(const TVector2& V) const { return TVector2(X / V.X, Y / V.Y); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector2 operator*(FArg Scale) const { return TVector2(X * T(Scale), Y * T(Scale)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector2 operator/(FArg Scale) const { const T RScale = T(1) / T(Scale); return TVector2(X * RScale, Y * RScale); }
	TVector2 operator-() const { return TVector2(-X, -Y); }
	TVector2& operator+=(const TVector2& V) { X += V.X; Y += V.Y; return *this; }
	TVector2& operator-=(const TVector2& V) { X -= V.X; Y -= V.Y; return *this; }
	TVector2& operator*=(const TVector2& V) { X *= V.X; Y *= V.Y; return *this; }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector2& operator*=(FArg Scale) { X *= T(Scale); Y *= T(Scale); return *this; }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector2& operator/=(FArg V) { const T RV = T(1) / T(V); X *= RV; Y *= RV; return *this; }
	bool operator==(const TVector2& V) const { return X == V.X && Y == V.Y; }
	bool operator!=(const TVector2& V) const { return !(*this == V); }
	T operator|(const TVector2& V) const { return X * V.X + Y * V.Y; }
	T operator^(const TVector2& V) const { return X * V.Y - Y * V.X; }
	T& operator[](int32 Index) { check(Index >= 0 && Index < 2); return Index == 0 ? X : Y; }
	T operator[](int32 Index) const { check(Index >= 0 && Index < 2); return Index == 0 ? X : Y; }

	static T DotProduct(const TVector2& A, const TVector2& B) { return A | B; }
	static T CrossProduct(const TVector2& A, const TVector2& B) { return A ^ B; }
	static T DistSquared(const TVector2& V1, const TVector2& V2) { return FMath::Square(V2.X - V1.X) + FMath::Square(V2.Y - V1.Y); }
	static T Distance(const TVector2& V1, const TVector2& V2) { return FMath::Sqrt(DistSquared(V1, V2)); }

	bool Equals(const TVector2& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const { return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance; }
	void Set(T InX, T InY) { X = InX; Y = InY; }
	T GetMax() const { return FMath::Max(X, Y); }
	T GetMin() const { return FMath::Min(X, Y); }
	T Size() const { return FMath::Sqrt(X * X + Y * Y); }
	T Length() const { return Size(); }
	T SizeSquared() const { return X * X + Y * Y; }
	bool IsNearlyZero(T Tolerance = UE_KINDA_SMALL_NUMBER) const { return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance; }
	bool IsZero() const { return X == T(0) && Y == T(0); }
	TVector2 GetSafeNormal(T Tolerance = UE_SMALL_NUMBER) const
	{
		const T SquareSum = X * X + Y * Y;
		if (SquareSum > Tolerance)
		{
			const T Scale = FMath::InvSqrt(SquareSum);
			return TVector2(X * Scale, Y * Scale);
		}
		return TVector2(T(0), T(0));
	}
	void Normalize(T Tolerance = UE_SMALL_NUMBER)
	{
		const T SquareSum = X * X + Y * Y;
		if (SquareSum > Tolerance)
		{
			const T Scale = FMath::InvSqrt(SquareSum);
			X *= Scale;
			Y *= Scale;
			return;
		}
		X = T(0);
		Y = T(0);
	}
	TIntPoint<int32> IntPoint() const { return TIntPoint<int32>(static_cast<int32>(FMath::RoundToInt(X)), static_cast<int32>(FMath::RoundToInt(Y))); }
	TVector2 GetAbs() const { return TVector2(FMath::Abs(X), FMath::Abs(Y)); }
	bool ContainsNaN() const { return !FMath::IsFinite(X) || !FMath::IsFinite(Y); }
	FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f"), double(X), double(Y)); }
};

template <typename T> const TVector2<T> TVector2<T>::ZeroVector(0, 0);
template <typename T> const TVector2<T> TVector2<T>::UnitVector(1, 1);
template <typename T> const TVector2<T> TVector2<T>::Unit45Deg(T(0.70710678118654752440), T(0.70710678118654752440));

template <typename T, typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
FORCEINLINE TVector2<T> operator*(FArg Scale, const TVector2<T>& V)
{
	return V * Scale;
}

template <typename T>
TVector<T>::TVector(const TVector2<T> V, T InZ)
	: X(V.X), Y(V.Y), Z(InZ)
{
}

// ---------------------------------------------------------------------------------------------
// TVector4

template <typename T>
struct alignas(16) TVector4
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	T X;
	T Y;
	T Z;
	T W;

	/** Defaults to (0, 0, 0, 1). */
	explicit constexpr TVector4(T InX = T(0), T InY = T(0), T InZ = T(0), T InW = T(1)) : X(InX), Y(InY), Z(InZ), W(InW) {}
	TVector4(const TVector<T>& InVector, T InW = T(1)) : X(InVector.X), Y(InVector.Y), Z(InVector.Z), W(InW) {}
	TVector4(TVector2<T> InXY, TVector2<T> InZW) : X(InXY.X), Y(InXY.Y), Z(InZW.X), W(InZW.Y) {}
	explicit constexpr TVector4(EForceInit) : X(0), Y(0), Z(0), W(0) {}
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit constexpr TVector4(const TVector4<FArg>& From) : X(T(From.X)), Y(T(From.Y)), Z(T(From.Z)), W(T(From.W)) {}

	T& operator[](int32 ComponentIndex)
	{
		checkSlow(ComponentIndex >= 0 && ComponentIndex < 4);
		return ComponentIndex == 0 ? X : (ComponentIndex == 1 ? Y : (ComponentIndex == 2 ? Z : W));
	}
	T operator[](int32 ComponentIndex) const
	{
		checkSlow(ComponentIndex >= 0 && ComponentIndex < 4);
		return ComponentIndex == 0 ? X : (ComponentIndex == 1 ? Y : (ComponentIndex == 2 ? Z : W));
	}
	TVector4 operator-() const { return TVector4(-X, -Y, -Z, -W); }
	TVector4 operator+(const TVector4& V) const { return TVector4(X + V.X, Y + V.Y, Z + V.Z, W + V.W); }
	TVector4 operator-(const TVector4& V) const { return TVector4(X - V.X, Y - V.Y, Z - V.Z, W - V.W); }
	TVector4 operator*(const TVector4& V) const { return TVector4(X * V.X, Y * V.Y, Z * V.Z, W * V.W); }
	TVector4 operator/(const TVector4& V) const { return TVector4(X / V.X, Y / V.Y, Z / V.Z, W / V.W); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector4 operator*(FArg Scale) const { return TVector4(X * T(Scale), Y * T(Scale), Z * T(Scale), W * T(Scale)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TVector4 operator/(FArg Scale) const { const T RScale = T(1) / T(Scale); return TVector4(X * RScale, Y * RScale, Z * RScale, W * RScale); }
	TVector4& operator+=(const TVector4& V) { X += V.X; Y += V.Y; Z += V.Z; W += V.W; return *this; }
	TVector4& operator-=(const TVector4& V) { X -= V.X; Y -= V.Y; Z -= V.Z; W -= V.W; return *this; }
	TVector4& operator*=(const TVector4& V) { X *= V.X; Y *= V.Y; Z *= V.Z; W *= V.W; return *this; }
	/** Cross product of the XYZ parts; W of the result is 0. */
	TVector4 operator^(const TVector4& V) const { return TVector4(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X, T(0)); }
	bool operator==(const TVector4& V) const { return X == V.X && Y == V.Y && Z == V.Z && W == V.W; }
	bool operator!=(const TVector4& V) const { return !(*this == V); }
	bool Equals(const TVector4& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance && FMath::Abs(W - V.W) <= Tolerance;
	}
	void Set(T InX, T InY, T InZ, T InW) { X = InX; Y = InY; Z = InZ; W = InW; }
	T Size3() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
	T SizeSquared3() const { return X * X + Y * Y + Z * Z; }
	T Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z + W * W); }
	T SizeSquared() const { return X * X + Y * Y + Z * Z + W * W; }
	bool IsNearlyZero3(T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
	}
	bool ContainsNaN() const { return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z) || !FMath::IsFinite(W); }
	FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f W=%3.3f"), double(X), double(Y), double(Z), double(W)); }
};

template <typename T, typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
FORCEINLINE TVector4<T> operator*(FArg Scale, const TVector4<T>& V)
{
	return V * Scale;
}

/** Dot product of the XYZ parts. */
template <typename T>
FORCEINLINE T Dot3(const TVector4<T>& V1, const TVector4<T>& V2)
{
	return V1.X * V2.X + V1.Y * V2.Y + V1.Z * V2.Z;
}

template <typename T>
FORCEINLINE T Dot4(const TVector4<T>& V1, const TVector4<T>& V2)
{
	return V1.X * V2.X + V1.Y * V2.Y + V1.Z * V2.Z + V1.W * V2.W;
}

template <typename T>
TVector<T>::TVector(const TVector4<T>& V)
	: X(V.X), Y(V.Y), Z(V.Z)
{
}

// ---------------------------------------------------------------------------------------------
// TPlane

template <typename T>
struct alignas(16) TPlane : public TVector<T>
{
	T W;

	TPlane() = default;
	constexpr TPlane(T InX, T InY, T InZ, T InW) : TVector<T>(InX, InY, InZ), W(InW) {}
	TPlane(TVector<T> InNormal, T InW) : TVector<T>(InNormal), W(InW) {}
	/** The plane through InBase with normal InNormal. */
	TPlane(TVector<T> InBase, const TVector<T>& InNormal) : TVector<T>(InNormal), W(InBase | InNormal) {}
	explicit constexpr TPlane(EForceInit) : TVector<T>(ForceInit), W(0) {}
	TPlane(const TVector4<T>& V) : TVector<T>(V.X, V.Y, V.Z), W(V.W) {}

	/** Signed distance of P from the plane (for a unit normal). */
	T PlaneDot(const TVector<T>& P) const { return this->X * P.X + this->Y * P.Y + this->Z * P.Z - W; }
	TVector<T> GetNormal() const { return TVector<T>(this->X, this->Y, this->Z); }
	bool operator==(const TPlane& V) const { return this->X == V.X && this->Y == V.Y && this->Z == V.Z && W == V.W; }
	bool operator!=(const TPlane& V) const { return !(*this == V); }
	bool Equals(const TPlane& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const { return TVector<T>::Equals(V, Tolerance) && FMath::Abs(W - V.W) <= Tolerance; }
};

// ---------------------------------------------------------------------------------------------
// TRotator

template <typename T>
struct TRotator
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	/** Degrees about -Y: positive looks up. */
	T Pitch;
	/** Degrees about +Z: positive turns right. */
	T Yaw;
	/** Degrees about -X: positive tilts the Y axis down. */
	T Roll;

	static const TRotator ZeroRotator;

	TRotator() = default;
	explicit constexpr TRotator(T InF) : Pitch(InF), Yaw(InF), Roll(InF) {}
	constexpr TRotator(T InPitch, T InYaw, T InRoll) : Pitch(InPitch), Yaw(InYaw), Roll(InRoll) {}
	explicit constexpr TRotator(EForceInit) : Pitch(0), Yaw(0), Roll(0) {}
	explicit TRotator(const TQuat<T>& Quat);
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit constexpr TRotator(const TRotator<FArg>& From) : Pitch(T(From.Pitch)), Yaw(T(From.Yaw)), Roll(T(From.Roll)) {}

	TRotator operator+(const TRotator& R) const { return TRotator(Pitch + R.Pitch, Yaw + R.Yaw, Roll + R.Roll); }
	TRotator operator-(const TRotator& R) const { return TRotator(Pitch - R.Pitch, Yaw - R.Yaw, Roll - R.Roll); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TRotator operator*(FArg Scale) const { return TRotator(Pitch * T(Scale), Yaw * T(Scale), Roll * T(Scale)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TRotator& operator*=(FArg Scale) { Pitch *= T(Scale); Yaw *= T(Scale); Roll *= T(Scale); return *this; }
	TRotator& operator+=(const TRotator& R) { Pitch += R.Pitch; Yaw += R.Yaw; Roll += R.Roll; return *this; }
	TRotator& operator-=(const TRotator& R) { Pitch -= R.Pitch; Yaw -= R.Yaw; Roll -= R.Roll; return *this; }
	bool operator==(const TRotator& R) const { return Pitch == R.Pitch && Yaw == R.Yaw && Roll == R.Roll; }
	bool operator!=(const TRotator& V) const { return !(*this == V); }

	bool IsNearlyZero(T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(NormalizeAxis(Pitch)) <= Tolerance && FMath::Abs(NormalizeAxis(Yaw)) <= Tolerance && FMath::Abs(NormalizeAxis(Roll)) <= Tolerance;
	}
	bool IsZero() const { return ClampAxis(Pitch) == T(0) && ClampAxis(Yaw) == T(0) && ClampAxis(Roll) == T(0); }
	/** Equal up to whole turns, within Tolerance degrees per axis. */
	bool Equals(const TRotator& R, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(NormalizeAxis(Pitch - R.Pitch)) <= Tolerance && FMath::Abs(NormalizeAxis(Yaw - R.Yaw)) <= Tolerance
			&& FMath::Abs(NormalizeAxis(Roll - R.Roll)) <= Tolerance;
	}
	TRotator Add(T DeltaPitch, T DeltaYaw, T DeltaRoll)
	{
		Yaw += DeltaYaw;
		Pitch += DeltaPitch;
		Roll += DeltaRoll;
		return *this;
	}
	bool ContainsNaN() const { return !FMath::IsFinite(Pitch) || !FMath::IsFinite(Yaw) || !FMath::IsFinite(Roll); }

	TRotator GetInverse() const;
	/** The X axis rotated by this rotator. */
	TVector<T> Vector() const;
	TQuat<T> Quaternion() const;
	/** (Roll, Pitch, Yaw) in degrees. */
	TVector<T> Euler() const { return TVector<T>(Roll, Pitch, Yaw); }
	TVector<T> RotateVector(const TVector<T>& V) const;
	TVector<T> UnrotateVector(const TVector<T>& V) const;
	TRotator Clamp() const { return TRotator(ClampAxis(Pitch), ClampAxis(Yaw), ClampAxis(Roll)); }
	TRotator GetNormalized() const
	{
		TRotator Rot = *this;
		Rot.Normalize();
		return Rot;
	}
	TRotator GetDenormalized() const { return Clamp(); }
	void Normalize()
	{
		Pitch = NormalizeAxis(Pitch);
		Yaw = NormalizeAxis(Yaw);
		Roll = NormalizeAxis(Roll);
	}

	/** Angle in [0, 360). */
	static T ClampAxis(T Angle)
	{
		Angle = FMath::Fmod(Angle, T(360));
		if (Angle < T(0))
		{
			Angle += T(360);
		}
		return Angle;
	}

	/** Angle in (-180, 180]. */
	static T NormalizeAxis(T Angle)
	{
		Angle = ClampAxis(Angle);
		if (Angle > T(180))
		{
			Angle -= T(360);
		}
		return Angle;
	}

	/** From (Roll, Pitch, Yaw) in degrees. */
	static TRotator MakeFromEuler(const TVector<T>& Euler) { return TRotator(Euler.Y, Euler.Z, Euler.X); }

	FString ToString() const { return FString::Printf(TEXT("P=%f Y=%f R=%f"), double(Pitch), double(Yaw), double(Roll)); }
};

template <typename T> const TRotator<T> TRotator<T>::ZeroRotator(0, 0, 0);

// ---------------------------------------------------------------------------------------------
// TQuat

template <typename T>
struct alignas(16) TQuat
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	T X;
	T Y;
	T Z;
	T W;

	static const TQuat Identity;

	TQuat() = default;
	/** ForceInitToZero gives all zeros; ForceInit gives the identity. */
	explicit constexpr TQuat(EForceInit ZeroOrNot) : X(0), Y(0), Z(0), W(ZeroOrNot == ForceInitToZero ? T(0) : T(1)) {}
	constexpr TQuat(T InX, T InY, T InZ, T InW) : X(InX), Y(InY), Z(InZ), W(InW) {}
	explicit TQuat(const TRotator<T>& R);
	explicit TQuat(const TMatrix<T>& M);
	/** Rotation by AngleRad about the unit vector Axis. */
	TQuat(TVector<T> Axis, T AngleRad)
	{
		const T HalfA = T(0.5) * AngleRad;
		const T S = FMath::Sin(HalfA);
		const T C = FMath::Cos(HalfA);
		X = S * Axis.X;
		Y = S * Axis.Y;
		Z = S * Axis.Z;
		W = C;
	}
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit constexpr TQuat(const TQuat<FArg>& From) : X(T(From.X)), Y(T(From.Y)), Z(T(From.Z)), W(T(From.W)) {}

	TQuat operator+(const TQuat& Q) const { return TQuat(X + Q.X, Y + Q.Y, Z + Q.Z, W + Q.W); }
	TQuat operator-(const TQuat& Q) const { return TQuat(X - Q.X, Y - Q.Y, Z - Q.Z, W - Q.W); }
	TQuat operator-() const { return TQuat(-X, -Y, -Z, -W); }
	/** Hamilton product: the result applies Q first, then this. */
	TQuat operator*(const TQuat& Q) const
	{
		return TQuat(W * Q.X + X * Q.W + Y * Q.Z - Z * Q.Y,
			W * Q.Y - X * Q.Z + Y * Q.W + Z * Q.X,
			W * Q.Z + X * Q.Y - Y * Q.X + Z * Q.W,
			W * Q.W - X * Q.X - Y * Q.Y - Z * Q.Z);
	}
	TQuat& operator*=(const TQuat& Q)
	{
		*this = *this * Q;
		return *this;
	}
	TVector<T> operator*(const TVector<T>& V) const { return RotateVector(V); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TQuat operator*(FArg Scale) const { return TQuat(X * T(Scale), Y * T(Scale), Z * T(Scale), W * T(Scale)); }
	template <typename FArg, typename = std::enable_if_t<std::is_arithmetic_v<FArg>>>
	TQuat operator/(FArg Scale) const { const T Recip = T(1) / T(Scale); return TQuat(X * Recip, Y * Recip, Z * Recip, W * Recip); }
	bool operator==(const TQuat& Q) const { return X == Q.X && Y == Q.Y && Z == Q.Z && W == Q.W; }
	bool operator!=(const TQuat& Q) const { return !(*this == Q); }
	/** Dot product. */
	T operator|(const TQuat& Q) const { return X * Q.X + Y * Q.Y + Z * Q.Z + W * Q.W; }

	/** Same rotation within Tolerance per component (Q and -Q are the same rotation). */
	bool Equals(const TQuat& Q, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return (FMath::Abs(X - Q.X) <= Tolerance && FMath::Abs(Y - Q.Y) <= Tolerance && FMath::Abs(Z - Q.Z) <= Tolerance && FMath::Abs(W - Q.W) <= Tolerance)
			|| (FMath::Abs(X + Q.X) <= Tolerance && FMath::Abs(Y + Q.Y) <= Tolerance && FMath::Abs(Z + Q.Z) <= Tolerance && FMath::Abs(W + Q.W) <= Tolerance);
	}
	bool IsIdentity(T Tolerance = UE_SMALL_NUMBER) const { return Equals(Identity, Tolerance); }

	void Normalize(T Tolerance = UE_SMALL_NUMBER)
	{
		const T SquareSum = X * X + Y * Y + Z * Z + W * W;
		if (SquareSum >= Tolerance)
		{
			const T Scale = FMath::InvSqrt(SquareSum);
			X *= Scale;
			Y *= Scale;
			Z *= Scale;
			W *= Scale;
		}
		else
		{
			*this = Identity;
		}
	}
	TQuat GetNormalized(T Tolerance = UE_SMALL_NUMBER) const
	{
		TQuat Result(*this);
		Result.Normalize(Tolerance);
		return Result;
	}
	bool IsNormalized() const { return FMath::Abs(T(1) - SizeSquared()) < T(UE_THRESH_QUAT_NORMALIZED); }
	T Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z + W * W); }
	T SizeSquared() const { return X * X + Y * Y + Z * Z + W * W; }
	T GetAngle() const { return T(2) * FMath::Acos(W); }
	void ToAxisAndAngle(TVector<T>& Axis, T& Angle) const
	{
		Angle = GetAngle();
		Axis = GetRotationAxis();
	}
	TVector<T> GetRotationAxis() const
	{
		const T SquareSum = X * X + Y * Y + Z * Z;
		if (SquareSum < T(UE_SMALL_NUMBER))
		{
			return TVector<T>::XAxisVector;
		}
		const T Scale = FMath::InvSqrt(SquareSum);
		return TVector<T>(X * Scale, Y * Scale, Z * Scale);
	}
	bool ContainsNaN() const { return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z) || !FMath::IsFinite(W); }

	/** The conjugate, which is the inverse of a unit quaternion. */
	TQuat Inverse() const { return TQuat(-X, -Y, -Z, W); }

	TVector<T> RotateVector(TVector<T> V) const
	{
		const TVector<T> Q(X, Y, Z);
		const TVector<T> TT = TVector<T>::CrossProduct(Q, V) * T(2);
		return V + (TT * W) + TVector<T>::CrossProduct(Q, TT);
	}

	TVector<T> UnrotateVector(TVector<T> V) const
	{
		const TVector<T> Q(-X, -Y, -Z);
		const TVector<T> TT = TVector<T>::CrossProduct(Q, V) * T(2);
		return V + (TT * W) + TVector<T>::CrossProduct(Q, TT);
	}

	TVector<T> GetAxisX() const { return RotateVector(TVector<T>(1, 0, 0)); }
	TVector<T> GetAxisY() const { return RotateVector(TVector<T>(0, 1, 0)); }
	TVector<T> GetAxisZ() const { return RotateVector(TVector<T>(0, 0, 1)); }
	TVector<T> GetForwardVector() const { return GetAxisX(); }
	TVector<T> GetRightVector() const { return GetAxisY(); }
	TVector<T> GetUpVector() const { return GetAxisZ(); }
	TVector<T> Vector() const { return GetAxisX(); }

	TRotator<T> Rotator() const;
	TVector<T> Euler() const { return Rotator().Euler(); }
	static TQuat MakeFromEuler(const TVector<T>& Euler) { return TRotator<T>::MakeFromEuler(Euler).Quaternion(); }
	static TQuat MakeFromRotator(const TRotator<T>& R) { return R.Quaternion(); }

	FString ToString() const { return FString::Printf(TEXT("X=%.9f Y=%.9f Z=%.9f W=%.9f"), double(X), double(Y), double(Z), double(W)); }
};

template <typename T> const TQuat<T> TQuat<T>::Identity(0, 0, 0, 1);

// ---------------------------------------------------------------------------------------------
// TMatrix

template <typename T>
struct alignas(16) TMatrix
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	alignas(16) T M[4][4];

	static const TMatrix Identity;

	TMatrix() = default;
	explicit TMatrix(EForceInit)
	{
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				M[Row][Col] = T(0);
			}
		}
	}
	/** From four rows. */
	constexpr TMatrix(const TPlane<T>& InX, const TPlane<T>& InY, const TPlane<T>& InZ, const TPlane<T>& InW)
		: M{{InX.X, InX.Y, InX.Z, InX.W}, {InY.X, InY.Y, InY.Z, InY.W}, {InZ.X, InZ.Y, InZ.Z, InZ.W}, {InW.X, InW.Y, InW.Z, InW.W}}
	{
	}
	/** From three axis rows and an origin row; the last column is (0, 0, 0, 1). */
	constexpr TMatrix(const TVector<T>& InX, const TVector<T>& InY, const TVector<T>& InZ, const TVector<T>& InW)
		: M{{InX.X, InX.Y, InX.Z, 0}, {InY.X, InY.Y, InY.Z, 0}, {InZ.X, InZ.Y, InZ.Z, 0}, {InW.X, InW.Y, InW.Z, 1}}
	{
	}
	template <typename FArg, typename = std::enable_if_t<!std::is_same_v<T, FArg>>>
	explicit TMatrix(const TMatrix<FArg>& From)
	{
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				M[Row][Col] = T(From.M[Row][Col]);
			}
		}
	}

	void SetIdentity() { *this = Identity; }

	/** This, then Other. */
	TMatrix operator*(const TMatrix& Other) const
	{
		TMatrix Result;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				Result.M[Row][Col] = M[Row][0] * Other.M[0][Col] + M[Row][1] * Other.M[1][Col] + M[Row][2] * Other.M[2][Col] + M[Row][3] * Other.M[3][Col];
			}
		}
		return Result;
	}
	TMatrix& operator*=(const TMatrix& Other)
	{
		*this = *this * Other;
		return *this;
	}
	TMatrix operator+(const TMatrix& Other) const
	{
		TMatrix Result;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				Result.M[Row][Col] = M[Row][Col] + Other.M[Row][Col];
			}
		}
		return Result;
	}
	TMatrix operator*(T Other) const
	{
		TMatrix Result;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				Result.M[Row][Col] = M[Row][Col] * Other;
			}
		}
		return Result;
	}
	bool operator==(const TMatrix& Other) const
	{
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				if (M[Row][Col] != Other.M[Row][Col])
				{
					return false;
				}
			}
		}
		return true;
	}
	bool operator!=(const TMatrix& Other) const { return !(*this == Other); }
	bool Equals(const TMatrix& Other, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				if (FMath::Abs(M[Row][Col] - Other.M[Row][Col]) > Tolerance)
				{
					return false;
				}
			}
		}
		return true;
	}

	/** The row vector P times this matrix (all four components). */
	TVector4<T> TransformFVector4(const TVector4<T>& P) const
	{
		return TVector4<T>(P.X * M[0][0] + P.Y * M[1][0] + P.Z * M[2][0] + P.W * M[3][0], P.X * M[0][1] + P.Y * M[1][1] + P.Z * M[2][1] + P.W * M[3][1],
			P.X * M[0][2] + P.Y * M[1][2] + P.Z * M[2][2] + P.W * M[3][2], P.X * M[0][3] + P.Y * M[1][3] + P.Z * M[2][3] + P.W * M[3][3]);
	}
	/** (V, 1) * M; as in the engine the result is a TVector4 (it converts to TVector by dropping W, no divide). */
	TVector4<T> TransformPosition(const TVector<T>& V) const { return TransformFVector4(TVector4<T>(V.X, V.Y, V.Z, T(1))); }
	/** (V, 0) * M: translation ignored. */
	TVector4<T> TransformVector(const TVector<T>& V) const { return TransformFVector4(TVector4<T>(V.X, V.Y, V.Z, T(0))); }
	TVector<T> InverseTransformPosition(const TVector<T>& V) const { return InverseFast().TransformPosition(V); }
	TVector<T> InverseTransformVector(const TVector<T>& V) const { return InverseFast().TransformVector(V); }

	TMatrix GetTransposed() const
	{
		TMatrix Result;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				Result.M[Row][Col] = M[Col][Row];
			}
		}
		return Result;
	}

	T Determinant() const
	{
		return M[0][0] * (M[1][1] * (M[2][2] * M[3][3] - M[2][3] * M[3][2]) - M[2][1] * (M[1][2] * M[3][3] - M[1][3] * M[3][2]) + M[3][1] * (M[1][2] * M[2][3] - M[1][3] * M[2][2]))
			- M[1][0] * (M[0][1] * (M[2][2] * M[3][3] - M[2][3] * M[3][2]) - M[2][1] * (M[0][2] * M[3][3] - M[0][3] * M[3][2]) + M[3][1] * (M[0][2] * M[2][3] - M[0][3] * M[2][2]))
			+ M[2][0] * (M[0][1] * (M[1][2] * M[3][3] - M[1][3] * M[3][2]) - M[1][1] * (M[0][2] * M[3][3] - M[0][3] * M[3][2]) + M[3][1] * (M[0][2] * M[1][3] - M[0][3] * M[1][2]))
			- M[3][0] * (M[0][1] * (M[1][2] * M[2][3] - M[1][3] * M[2][2]) - M[1][1] * (M[0][2] * M[2][3] - M[0][3] * M[2][2]) + M[2][1] * (M[0][2] * M[1][3] - M[0][3] * M[1][2]));
	}

	/** Determinant of the 3x3 rotation/scale part. */
	T RotDeterminant() const
	{
		return M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) - M[1][0] * (M[0][1] * M[2][2] - M[0][2] * M[2][1]) + M[2][0] * (M[0][1] * M[1][2] - M[0][2] * M[1][1]);
	}

private:
	/**
	 * The 4x4 inverse by cofactors, as the engine's scalar FMath::MatrixInverse computes it (private here:
	 * the stand-in's FMath does not declare it). A zero or non-finite determinant stores the identity and
	 * returns false.
	 */
	static bool InverseInto(TMatrix& Dst, const TMatrix& Src)
	{
		const T (&A)[4][4] = Src.M;
		T Tmp[4][3];
		Tmp[0][0] = A[2][2] * A[3][3] - A[2][3] * A[3][2];
		Tmp[0][1] = A[1][2] * A[3][3] - A[1][3] * A[3][2];
		Tmp[0][2] = A[1][2] * A[2][3] - A[1][3] * A[2][2];
		Tmp[1][0] = A[2][2] * A[3][3] - A[2][3] * A[3][2];
		Tmp[1][1] = A[0][2] * A[3][3] - A[0][3] * A[3][2];
		Tmp[1][2] = A[0][2] * A[2][3] - A[0][3] * A[2][2];
		Tmp[2][0] = A[1][2] * A[3][3] - A[1][3] * A[3][2];
		Tmp[2][1] = A[0][2] * A[3][3] - A[0][3] * A[3][2];
		Tmp[2][2] = A[0][2] * A[1][3] - A[0][3] * A[1][2];
		Tmp[3][0] = A[1][2] * A[2][3] - A[1][3] * A[2][2];
		Tmp[3][1] = A[0][2] * A[2][3] - A[0][3] * A[2][2];
		Tmp[3][2] = A[0][2] * A[1][3] - A[0][3] * A[1][2];
		T Det[4];
		Det[0] = A[1][1] * Tmp[0][0] - A[2][1] * Tmp[0][1] + A[3][1] * Tmp[0][2];
		Det[1] = A[0][1] * Tmp[1][0] - A[2][1] * Tmp[1][1] + A[3][1] * Tmp[1][2];
		Det[2] = A[0][1] * Tmp[2][0] - A[1][1] * Tmp[2][1] + A[3][1] * Tmp[2][2];
		Det[3] = A[0][1] * Tmp[3][0] - A[1][1] * Tmp[3][1] + A[2][1] * Tmp[3][2];
		const T Determinant = A[0][0] * Det[0] - A[1][0] * Det[1] + A[2][0] * Det[2] - A[3][0] * Det[3];
		if (Determinant == T(0) || !FMath::IsFinite(Determinant))
		{
			Dst = Identity;
			return false;
		}
		const T RDet = T(1) / Determinant;
		TMatrix R;
		R.M[0][0] = RDet * Det[0];
		R.M[0][1] = -RDet * Det[1];
		R.M[0][2] = RDet * Det[2];
		R.M[0][3] = -RDet * Det[3];
		R.M[1][0] = -RDet * (A[1][0] * Tmp[0][0] - A[2][0] * Tmp[0][1] + A[3][0] * Tmp[0][2]);
		R.M[1][1] = RDet * (A[0][0] * Tmp[1][0] - A[2][0] * Tmp[1][1] + A[3][0] * Tmp[1][2]);
		R.M[1][2] = -RDet * (A[0][0] * Tmp[2][0] - A[1][0] * Tmp[2][1] + A[3][0] * Tmp[2][2]);
		R.M[1][3] = RDet * (A[0][0] * Tmp[3][0] - A[1][0] * Tmp[3][1] + A[2][0] * Tmp[3][2]);
		R.M[2][0] = RDet * (A[1][0] * (A[2][1] * A[3][3] - A[2][3] * A[3][1]) - A[2][0] * (A[1][1] * A[3][3] - A[1][3] * A[3][1]) + A[3][0] * (A[1][1] * A[2][3] - A[1][3] * A[2][1]));
		R.M[2][1] = -RDet * (A[0][0] * (A[2][1] * A[3][3] - A[2][3] * A[3][1]) - A[2][0] * (A[0][1] * A[3][3] - A[0][3] * A[3][1]) + A[3][0] * (A[0][1] * A[2][3] - A[0][3] * A[2][1]));
		R.M[2][2] = RDet * (A[0][0] * (A[1][1] * A[3][3] - A[1][3] * A[3][1]) - A[1][0] * (A[0][1] * A[3][3] - A[0][3] * A[3][1]) + A[3][0] * (A[0][1] * A[1][3] - A[0][3] * A[1][1]));
		R.M[2][3] = -RDet * (A[0][0] * (A[1][1] * A[2][3] - A[1][3] * A[2][1]) - A[1][0] * (A[0][1] * A[2][3] - A[0][3] * A[2][1]) + A[2][0] * (A[0][1] * A[1][3] - A[0][3] * A[1][1]));
		R.M[3][0] = -RDet * (A[1][0] * (A[2][1] * A[3][2] - A[2][2] * A[3][1]) - A[2][0] * (A[1][1] * A[3][2] - A[1][2] * A[3][1]) + A[3][0] * (A[1][1] * A[2][2] - A[1][2] * A[2][1]));
		R.M[3][1] = RDet * (A[0][0] * (A[2][1] * A[3][2] - A[2][2] * A[3][1]) - A[2][0] * (A[0][1] * A[3][2] - A[0][2] * A[3][1]) + A[3][0] * (A[0][1] * A[2][2] - A[0][2] * A[2][1]));
		R.M[3][2] = -RDet * (A[0][0] * (A[1][1] * A[3][2] - A[1][2] * A[3][1]) - A[1][0] * (A[0][1] * A[3][2] - A[0][2] * A[3][1]) + A[3][0] * (A[0][1] * A[1][2] - A[0][2] * A[1][1]));
		R.M[3][3] = RDet * (A[0][0] * (A[1][1] * A[2][2] - A[1][2] * A[2][1]) - A[1][0] * (A[0][1] * A[2][2] - A[0][2] * A[2][1]) + A[2][0] * (A[0][1] * A[1][2] - A[0][2] * A[1][1]));
		Dst = R;
		return true;
	}

public:

	/**
	 * The inverse, for matrices known to be invertible. As in the engine's development builds, a nil matrix
	 * (all three axes within UE_SMALL_NUMBER of zero) or a non-invertible one raises an ensure; the
	 * non-invertible case then gives the identity.
	 */
	TMatrix InverseFast() const
	{
		ensureMsgf(!(GetScaledAxis(EAxis::X).IsNearlyZero(T(UE_SMALL_NUMBER)) && GetScaledAxis(EAxis::Y).IsNearlyZero(T(UE_SMALL_NUMBER))
					   && GetScaledAxis(EAxis::Z).IsNearlyZero(T(UE_SMALL_NUMBER))),
			TEXT("TMatrix<T>::InverseFast(), trying to invert a NIL matrix, this results in NaNs! Use Inverse() instead."));
		TMatrix Result;
		const bool bInvertible = InverseInto(Result, *this);
		ensureMsgf(bInvertible, TEXT("TMatrix<T>::InverseFast(), trying to invert a non-invertible matrix, this results in NaNs! Use Inverse() instead."));
		return Result;
	}

	/** The inverse; nil (all three axes within UE_SMALL_NUMBER of zero), singular and non-finite matrices silently give the identity. */
	TMatrix Inverse() const
	{
		if (GetScaledAxis(EAxis::X).IsNearlyZero(T(UE_SMALL_NUMBER)) && GetScaledAxis(EAxis::Y).IsNearlyZero(T(UE_SMALL_NUMBER))
			&& GetScaledAxis(EAxis::Z).IsNearlyZero(T(UE_SMALL_NUMBER)))
		{
			return Identity;
		}
		TMatrix Result;
		InverseInto(Result, *this);
		return Result;
	}

	/** Scales rows 0..2 to unit length (rows no longer than Tolerance are left as they are). */
	void RemoveScaling(T Tolerance = UE_SMALL_NUMBER)
	{
		for (int32 Row = 0; Row < 3; ++Row)
		{
			const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
			if (SquareSum - Tolerance >= T(0))
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				M[Row][0] *= Scale;
				M[Row][1] *= Scale;
				M[Row][2] *= Scale;
			}
		}
	}

	TMatrix GetMatrixWithoutScale(T Tolerance = UE_SMALL_NUMBER) const
	{
		TMatrix Result = *this;
		Result.RemoveScaling(Tolerance);
		return Result;
	}

	/** Removes and returns the scale of each axis row (0 for rows whose squared length is not above Tolerance). */
	TVector<T> ExtractScaling(T Tolerance = UE_SMALL_NUMBER)
	{
		TVector<T> Scale3D(0, 0, 0);
		for (int32 Row = 0; Row < 3; ++Row)
		{
			const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
			if (SquareSum > Tolerance)
			{
				const T Scale = FMath::Sqrt(SquareSum);
				Scale3D[Row] = Scale;
				const T InvScale = T(1) / Scale;
				M[Row][0] *= InvScale;
				M[Row][1] *= InvScale;
				M[Row][2] *= InvScale;
			}
		}
		return Scale3D;
	}

	TVector<T> GetScaleVector(T Tolerance = UE_SMALL_NUMBER) const
	{
		TVector<T> Scale3D(1, 1, 1);
		for (int32 Row = 0; Row < 3; ++Row)
		{
			const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
			Scale3D[Row] = SquareSum > Tolerance ? FMath::Sqrt(SquareSum) : T(0);
		}
		return Scale3D;
	}

	TMatrix RemoveTranslation() const
	{
		TMatrix Result = *this;
		Result.M[3][0] = T(0);
		Result.M[3][1] = T(0);
		Result.M[3][2] = T(0);
		return Result;
	}

	TMatrix ConcatTranslation(const TVector<T>& Translation) const
	{
		TMatrix Result = *this;
		Result.M[3][0] += Translation.X;
		Result.M[3][1] += Translation.Y;
		Result.M[3][2] += Translation.Z;
		return Result;
	}

	bool ContainsNaN() const
	{
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				if (!FMath::IsFinite(M[Row][Col]))
				{
					return true;
				}
			}
		}
		return false;
	}

	TVector<T> GetOrigin() const { return TVector<T>(M[3][0], M[3][1], M[3][2]); }
	void SetOrigin(const TVector<T>& NewOrigin)
	{
		M[3][0] = NewOrigin.X;
		M[3][1] = NewOrigin.Y;
		M[3][2] = NewOrigin.Z;
	}

	/** Row 0, 1 or 2 as a vector. */
	TVector<T> GetScaledAxis(EAxis::Type InAxis) const
	{
		switch (InAxis)
		{
		case EAxis::X: return TVector<T>(M[0][0], M[0][1], M[0][2]);
		case EAxis::Y: return TVector<T>(M[1][0], M[1][1], M[1][2]);
		case EAxis::Z: return TVector<T>(M[2][0], M[2][1], M[2][2]);
		default: return TVector<T>::ZeroVector;
		}
	}
	void GetScaledAxes(TVector<T>& OutX, TVector<T>& OutY, TVector<T>& OutZ) const
	{
		OutX = GetScaledAxis(EAxis::X);
		OutY = GetScaledAxis(EAxis::Y);
		OutZ = GetScaledAxis(EAxis::Z);
	}
	TVector<T> GetUnitAxis(EAxis::Type InAxis) const { return GetScaledAxis(InAxis).GetSafeNormal(); }
	void GetUnitAxes(TVector<T>& OutX, TVector<T>& OutY, TVector<T>& OutZ) const
	{
		OutX = GetUnitAxis(EAxis::X);
		OutY = GetUnitAxis(EAxis::Y);
		OutZ = GetUnitAxis(EAxis::Z);
	}
	/** Sets row i (0..2) to Axis. */
	void SetAxis(int32 i, const TVector<T>& Axis)
	{
		checkSlow(i >= 0 && i <= 2);
		M[i][0] = Axis.X;
		M[i][1] = Axis.Y;
		M[i][2] = Axis.Z;
	}
	void SetAxes(const TVector<T>* Axis0 = nullptr, const TVector<T>* Axis1 = nullptr, const TVector<T>* Axis2 = nullptr, const TVector<T>* Origin = nullptr)
	{
		if (Axis0) { SetAxis(0, *Axis0); }
		if (Axis1) { SetAxis(1, *Axis1); }
		if (Axis2) { SetAxis(2, *Axis2); }
		if (Origin) { SetOrigin(*Origin); }
	}
	TVector<T> GetColumn(int32 i) const
	{
		checkSlow(i >= 0 && i <= 3);
		return TVector<T>(M[0][i], M[1][i], M[2][i]);
	}
	void SetColumn(int32 i, TVector<T> Value)
	{
		checkSlow(i >= 0 && i <= 3);
		M[0][i] = Value.X;
		M[1][i] = Value.Y;
		M[2][i] = Value.Z;
	}

	TRotator<T> Rotator() const;
	TQuat<T> ToQuat() const;

	FString ToString() const
	{
		FString Output;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			Output += FString::Printf(TEXT("[%g %g %g %g] "), double(M[Row][0]), double(M[Row][1]), double(M[Row][2]), double(M[Row][3]));
		}
		return Output;
	}
};

template <typename T> const TMatrix<T> TMatrix<T>::Identity(TPlane<T>(1, 0, 0, 0), TPlane<T>(0, 1, 0, 0), TPlane<T>(0, 0, 1, 0), TPlane<T>(0, 0, 0, 1));

template <typename T>
struct TRotationTranslationMatrix : public TMatrix<T>
{
	/**
	 * Rotation by Rot (formula of the engine's rotation matrix), then translation by Origin. The engine's
	 * vectorised path (every desktop build) turns degrees into radians with the single-precision constant
	 * GlobalVectorConstants::DEG_TO_RAD (UE_PI / 180.f), widened for doubles, not with DegreesToRadians: a
	 * 90 degree angle becomes 1.5707963146 rad, so FRotationMatrix(FRotator(0, 0, 90)) carries 1.2e-8 where
	 * the exact cosine is 0. No winding is removed first.
	 */
	TRotationTranslationMatrix(const TRotator<T>& Rot, const TVector<T>& Origin)
	{
		constexpr float DegToRad = UE_PI / (180.f);
		T SP, CP, SY, CY, SR, CR;
		FMath::SinCos(&SP, &CP, Rot.Pitch * T(DegToRad));
		FMath::SinCos(&SY, &CY, Rot.Yaw * T(DegToRad));
		FMath::SinCos(&SR, &CR, Rot.Roll * T(DegToRad));
		T (&Rows)[4][4] = this->M;
		Rows[0][0] = CP * CY;
		Rows[0][1] = CP * SY;
		Rows[0][2] = SP;
		Rows[0][3] = T(0);
		Rows[1][0] = SR * SP * CY - CR * SY;
		Rows[1][1] = SR * SP * SY + CR * CY;
		Rows[1][2] = -SR * CP;
		Rows[1][3] = T(0);
		Rows[2][0] = -(CR * SP * CY + SR * SY);
		Rows[2][1] = CY * SR - CR * SP * SY;
		Rows[2][2] = CR * CP;
		Rows[2][3] = T(0);
		Rows[3][0] = Origin.X;
		Rows[3][1] = Origin.Y;
		Rows[3][2] = Origin.Z;
		Rows[3][3] = T(1);
	}

	static TMatrix<T> Make(const TRotator<T>& Rot, const TVector<T>& Origin) { return TRotationTranslationMatrix(Rot, Origin); }
};

template <typename T>
struct TRotationMatrix : public TRotationTranslationMatrix<T>
{
	explicit TRotationMatrix(const TRotator<T>& Rot)
		: TRotationTranslationMatrix<T>(Rot, TVector<T>::ZeroVector)
	{
	}

	static TMatrix<T> Make(const TRotator<T>& Rot) { return TRotationMatrix(Rot); }
	static TMatrix<T> Make(const TQuat<T>& Rot);
};

template <typename T>
struct TQuatRotationTranslationMatrix : public TMatrix<T>
{
	TQuatRotationTranslationMatrix(const TQuat<T>& Q, const TVector<T>& Origin)
	{
		const T X2 = Q.X + Q.X, Y2 = Q.Y + Q.Y, Z2 = Q.Z + Q.Z;
		const T XX = Q.X * X2, XY = Q.X * Y2, XZ = Q.X * Z2;
		const T YY = Q.Y * Y2, YZ = Q.Y * Z2, ZZ = Q.Z * Z2;
		const T WX = Q.W * X2, WY = Q.W * Y2, WZ = Q.W * Z2;
		T (&Rows)[4][4] = this->M;
		Rows[0][0] = T(1) - (YY + ZZ);
		Rows[0][1] = XY + WZ;
		Rows[0][2] = XZ - WY;
		Rows[0][3] = T(0);
		Rows[1][0] = XY - WZ;
		Rows[1][1] = T(1) - (XX + ZZ);
		Rows[1][2] = YZ + WX;
		Rows[1][3] = T(0);
		Rows[2][0] = XZ + WY;
		Rows[2][1] = YZ - WX;
		Rows[2][2] = T(1) - (XX + YY);
		Rows[2][3] = T(0);
		Rows[3][0] = Origin.X;
		Rows[3][1] = Origin.Y;
		Rows[3][2] = Origin.Z;
		Rows[3][3] = T(1);
	}

	static TMatrix<T> Make(const TQuat<T>& Q, const TVector<T>& Origin) { return TQuatRotationTranslationMatrix(Q, Origin); }
};

template <typename T>
struct TQuatRotationMatrix : public TQuatRotationTranslationMatrix<T>
{
	explicit TQuatRotationMatrix(const TQuat<T>& Q)
		: TQuatRotationTranslationMatrix<T>(Q, TVector<T>::ZeroVector)
	{
	}

	static TMatrix<T> Make(const TQuat<T>& Q) { return TQuatRotationMatrix(Q); }
};

template <typename T>
TMatrix<T> TRotationMatrix<T>::Make(const TQuat<T>& Rot)
{
	return TQuatRotationMatrix<T>(Rot);
}

template <typename T>
struct TScaleMatrix : public TMatrix<T>
{
	explicit TScaleMatrix(T Scale)
		: TMatrix<T>(TPlane<T>(Scale, 0, 0, 0), TPlane<T>(0, Scale, 0, 0), TPlane<T>(0, 0, Scale, 0), TPlane<T>(0, 0, 0, 1))
	{
	}
	explicit TScaleMatrix(const TVector<T>& Scale)
		: TMatrix<T>(TPlane<T>(Scale.X, 0, 0, 0), TPlane<T>(0, Scale.Y, 0, 0), TPlane<T>(0, 0, Scale.Z, 0), TPlane<T>(0, 0, 0, 1))
	{
	}
	static TMatrix<T> Make(T Scale) { return TScaleMatrix(Scale); }
	static TMatrix<T> Make(const TVector<T>& Scale) { return TScaleMatrix(Scale); }
};

template <typename T>
struct TTranslationMatrix : public TMatrix<T>
{
	explicit TTranslationMatrix(const TVector<T>& Delta)
		: TMatrix<T>(TPlane<T>(1, 0, 0, 0), TPlane<T>(0, 1, 0, 0), TPlane<T>(0, 0, 1, 0), TPlane<T>(Delta.X, Delta.Y, Delta.Z, 1))
	{
	}
	static TMatrix<T> Make(const TVector<T>& Delta) { return TTranslationMatrix(Delta); }
};

// ---------------------------------------------------------------------------------------------
// Cross-type member definitions

template <typename T>
TRotator<T> TVector<T>::Rotation() const
{
	return ToOrientationRotator();
}

template <typename T>
TRotator<T> TVector<T>::ToOrientationRotator() const
{
	return TRotator<T>(FMath::RadiansToDegrees(FMath::Atan2(Z, FMath::Sqrt(X * X + Y * Y))), FMath::RadiansToDegrees(FMath::Atan2(Y, X)), T(0));
}

template <typename T>
TQuat<T> TVector<T>::ToOrientationQuat() const
{
	return ToOrientationRotator().Quaternion();
}

template <typename T>
TRotator<T>::TRotator(const TQuat<T>& Quat)
{
	*this = Quat.Rotator();
}

template <typename T>
TRotator<T> TRotator<T>::GetInverse() const
{
	return Quaternion().Inverse().Rotator();
}

template <typename T>
TVector<T> TRotator<T>::Vector() const
{
	// Winding is removed first (Fmod by 360), as the engine does.
	const T PitchNoWinding = FMath::Fmod(Pitch, T(360));
	const T YawNoWinding = FMath::Fmod(Yaw, T(360));
	T CP, SP, CY, SY;
	FMath::SinCos(&SP, &CP, FMath::DegreesToRadians(PitchNoWinding));
	FMath::SinCos(&SY, &CY, FMath::DegreesToRadians(YawNoWinding));
	return TVector<T>(CP * CY, CP * SY, SP);
}

template <typename T>
TQuat<T> TRotator<T>::Quaternion() const
{
	// The engine's vectorised conversion (UnrealMath.cpp, every desktop build): the winding is removed as
	// A - 360 * trunc(A / 360) (VectorMod360), the half angles come from DEG_TO_RAD_HALF in the rotator's own
	// precision, and every term is formed as C * (A * B), which rounds differently from (C * A) * B.
	T DegToRadHalf;
	if constexpr (std::is_same_v<T, float>)
	{
		DegToRadHalf = (UE_PI / 180.f) * 0.5f;
	}
	else
	{
		DegToRadHalf = T((UE_DOUBLE_PI / 180.0) * 0.5);
	}
	const auto Mod360 = [](T Angle) { return Angle - T(360) * FMath::TruncToFloat(Angle / T(360)); };
	T SP, SY, SR, CP, CY, CR;
	FMath::SinCos(&SP, &CP, Mod360(Pitch) * DegToRadHalf);
	FMath::SinCos(&SY, &CY, Mod360(Yaw) * DegToRadHalf);
	FMath::SinCos(&SR, &CR, Mod360(Roll) * DegToRadHalf);
	const TQuat<T> RotationQuat(CR * (SP * SY) - SR * (CP * CY), -(CR * (SP * CY)) - SR * (CP * SY), CR * (CP * SY) - SR * (SP * CY),
		CR * (CP * CY) + SR * (SP * SY));
	// Development builds (DO_CHECK) replace a result with a NaN (from a non-finite angle) by the identity.
	if (RotationQuat.ContainsNaN())
	{
		return TQuat<T>::Identity;
	}
	return RotationQuat;
}

template <typename T>
TVector<T> TRotator<T>::RotateVector(const TVector<T>& V) const
{
	return TRotationMatrix<T>(*this).TransformVector(V);
}

template <typename T>
TVector<T> TRotator<T>::UnrotateVector(const TVector<T>& V) const
{
	return TRotationMatrix<T>(*this).GetTransposed().TransformVector(V);
}

template <typename T>
TQuat<T>::TQuat(const TRotator<T>& R)
{
	*this = R.Quaternion();
}

template <typename T>
TQuat<T>::TQuat(const TMatrix<T>& M)
{
	// A matrix with an axis within UE_KINDA_SMALL_NUMBER of zero has no rotation to recover.
	if (M.GetScaledAxis(EAxis::X).IsNearlyZero() || M.GetScaledAxis(EAxis::Y).IsNearlyZero() || M.GetScaledAxis(EAxis::Z).IsNearlyZero())
	{
		*this = Identity;
		return;
	}
	// Development and debug builds of the engine (not Shipping/Test) also require unit axes:
	// |1 - |axis|^2| <= UE_KINDA_SMALL_NUMBER for each, else an ensure fires and the result is the identity.
	if (!ensure((FMath::Abs(T(1) - M.GetScaledAxis(EAxis::X).SizeSquared()) <= T(UE_KINDA_SMALL_NUMBER))
			&& (FMath::Abs(T(1) - M.GetScaledAxis(EAxis::Y).SizeSquared()) <= T(UE_KINDA_SMALL_NUMBER))
			&& (FMath::Abs(T(1) - M.GetScaledAxis(EAxis::Z).SizeSquared()) <= T(UE_KINDA_SMALL_NUMBER))))
	{
		*this = Identity;
		return;
	}
	const T Trace = M.M[0][0] + M.M[1][1] + M.M[2][2];
	if (Trace > T(0))
	{
		const T InvS = FMath::InvSqrt(Trace + T(1));
		W = T(0.5) * (T(1) / InvS);
		const T S = T(0.5) * InvS;
		X = (M.M[1][2] - M.M[2][1]) * S;
		Y = (M.M[2][0] - M.M[0][2]) * S;
		Z = (M.M[0][1] - M.M[1][0]) * S;
	}
	else
	{
		int32 I = 0;
		if (M.M[1][1] > M.M[0][0])
		{
			I = 1;
		}
		if (M.M[2][2] > M.M[I][I])
		{
			I = 2;
		}
		static constexpr int32 Next[3] = {1, 2, 0};
		const int32 J = Next[I];
		const int32 K = Next[J];
		const T S0 = M.M[I][I] - M.M[J][J] - M.M[K][K] + T(1);
		const T InvS = FMath::InvSqrt(S0);
		T Qt[4];
		Qt[I] = T(0.5) * (T(1) / InvS);
		const T S = T(0.5) * InvS;
		Qt[3] = (M.M[J][K] - M.M[K][J]) * S;
		Qt[J] = (M.M[I][J] + M.M[J][I]) * S;
		Qt[K] = (M.M[I][K] + M.M[K][I]) * S;
		X = Qt[0];
		Y = Qt[1];
		Z = Qt[2];
		W = Qt[3];
	}
}

// FQuat4d::Rotator and FQuat4f::Rotator as UnrealMath.cpp specialises them (5.4 and later): the double one
// with double constants and the exact FMath::Asin for the pitch ("Note: not FastAsin like float
// implementation"), the float one with 0.4999995f, 180.f / UE_PI and FMath::FastAsin. The quaternion is not
// normalised first.
// UNCONFIRMED for 5.5: the gimbal-lock branches (|Z*X - W*Y| > 0.4999995). The 5.4 sources set
// Yaw = atan2(YawY, YawX) and Roll = NormalizeAxis(+-Yaw - 2*atan2(X, W)); the 5.6 and later sources set
// Yaw = NormalizeAxis(+-2*atan2(X, W)) and Roll = 0. Both describe the same rotation; the first is kept.
template <typename T>
TRotator<T> TQuat<T>::Rotator() const
{
	const T SingularityTest = Z * X - W * Y;
	const T YawY = T(2) * (W * Z + X * Y);
	const T YawX = T(1) - T(2) * (FMath::Square(Y) + FMath::Square(Z));
	T SingularityThreshold;
	T RadToDeg;
	if constexpr (std::is_same_v<T, float>)
	{
		SingularityThreshold = 0.4999995f;
		RadToDeg = 180.f / UE_PI;
	}
	else
	{
		SingularityThreshold = T(0.4999995);
		RadToDeg = T(180.0 / UE_DOUBLE_PI);
	}
	TRotator<T> RotatorFromQuat;
	if (SingularityTest < -SingularityThreshold)
	{
		RotatorFromQuat.Pitch = T(-90);
		RotatorFromQuat.Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
		RotatorFromQuat.Roll = TRotator<T>::NormalizeAxis(-RotatorFromQuat.Yaw - (T(2) * FMath::Atan2(X, W) * RadToDeg));
	}
	else if (SingularityTest > SingularityThreshold)
	{
		RotatorFromQuat.Pitch = T(90);
		RotatorFromQuat.Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
		RotatorFromQuat.Roll = TRotator<T>::NormalizeAxis(RotatorFromQuat.Yaw - (T(2) * FMath::Atan2(X, W) * RadToDeg));
	}
	else
	{
		if constexpr (std::is_same_v<T, float>)
		{
			RotatorFromQuat.Pitch = FMath::FastAsin(T(2) * SingularityTest) * RadToDeg;
		}
		else
		{
			RotatorFromQuat.Pitch = FMath::Asin(T(2) * SingularityTest) * RadToDeg;
		}
		RotatorFromQuat.Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
		RotatorFromQuat.Roll = FMath::Atan2(T(-2) * (W * X + Y * Z), T(1) - T(2) * (FMath::Square(X) + FMath::Square(Y))) * RadToDeg;
	}
	return RotatorFromQuat;
}

template <typename T>
TRotator<T> TMatrix<T>::Rotator() const
{
	const TVector<T> XAxis = GetScaledAxis(EAxis::X);
	const TVector<T> YAxis = GetScaledAxis(EAxis::Y);
	const TVector<T> ZAxis = GetScaledAxis(EAxis::Z);
	const T RadToDeg = T(180.0 / UE_DOUBLE_PI);
	TRotator<T> Rotator(FMath::Atan2(XAxis.Z, FMath::Sqrt(FMath::Square(XAxis.X) + FMath::Square(XAxis.Y))) * RadToDeg, FMath::Atan2(XAxis.Y, XAxis.X) * RadToDeg, T(0));
	const TVector<T> SYAxis = TRotationMatrix<T>(Rotator).GetScaledAxis(EAxis::Y);
	Rotator.Roll = FMath::Atan2(ZAxis | SYAxis, YAxis | SYAxis) * RadToDeg;
	return Rotator;
}

template <typename T>
TQuat<T> TMatrix<T>::ToQuat() const
{
	return TQuat<T>(*this);
}

// ---------------------------------------------------------------------------------------------
// TTransform

template <typename T>
struct alignas(16) TTransform
{
	static_assert(std::is_floating_point_v<T>, "T must be floating point");
	using FReal = T;

	static const TTransform Identity;

	TTransform() : Rotation(0, 0, 0, 1), Translation(0, 0, 0), Scale3D(1, 1, 1) {}
	explicit TTransform(const TVector<T>& InTranslation) : Rotation(TQuat<T>::Identity), Translation(InTranslation), Scale3D(TVector<T>::OneVector) {}
	explicit TTransform(const TQuat<T>& InRotation) : Rotation(InRotation), Translation(TVector<T>::ZeroVector), Scale3D(TVector<T>::OneVector) {}
	explicit TTransform(const TRotator<T>& InRotation) : Rotation(InRotation.Quaternion()), Translation(TVector<T>::ZeroVector), Scale3D(TVector<T>::OneVector) {}
	TTransform(const TQuat<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D = TVector<T>::OneVector)
		: Rotation(InRotation), Translation(InTranslation), Scale3D(InScale3D)
	{
	}
	TTransform(const TRotator<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D = TVector<T>::OneVector)
		: Rotation(InRotation.Quaternion()), Translation(InTranslation), Scale3D(InScale3D)
	{
	}
	/** From a matrix including scale. */
	explicit TTransform(const TMatrix<T>& InMatrix) { SetFromMatrix(InMatrix); }

	/** Scale, then rotation (negative scale found as a negative determinant goes on X), then translation. */
	void SetFromMatrix(const TMatrix<T>& InMatrix)
	{
		TMatrix<T> M = InMatrix;
		Scale3D = M.ExtractScaling();
		if (InMatrix.Determinant() < T(0))
		{
			Scale3D.X *= T(-1);
			M.SetAxis(0, -M.GetScaledAxis(EAxis::X));
		}
		Rotation = TQuat<T>(M);
		Rotation.Normalize();
		Translation = InMatrix.GetOrigin();
	}

	TMatrix<T> ToMatrixWithScale() const
	{
		TMatrix<T> OutMatrix = TQuatRotationTranslationMatrix<T>(Rotation, Translation);
		for (int32 Col = 0; Col < 3; ++Col)
		{
			OutMatrix.M[0][Col] *= Scale3D.X;
			OutMatrix.M[1][Col] *= Scale3D.Y;
			OutMatrix.M[2][Col] *= Scale3D.Z;
		}
		return OutMatrix;
	}

	TMatrix<T> ToMatrixNoScale() const { return TQuatRotationTranslationMatrix<T>(Rotation, Translation); }

	/** The inverse; the identity when every scale component is within UE_SMALL_NUMBER of zero. */
	TTransform Inverse() const
	{
		if (!(FMath::Abs(Scale3D.X) > T(UE_SMALL_NUMBER) || FMath::Abs(Scale3D.Y) > T(UE_SMALL_NUMBER) || FMath::Abs(Scale3D.Z) > T(UE_SMALL_NUMBER)))
		{
			return Identity;
		}
		const TQuat<T> InvRotation = Rotation.Inverse();
		const TVector<T> InvScale3D = GetSafeScaleReciprocal(Scale3D);
		const TVector<T> InvTranslation = InvRotation * (InvScale3D * -Translation);
		return TTransform(InvRotation, InvTranslation, InvScale3D);
	}

	/** This transform, then Other. */
	TTransform operator*(const TTransform& Other) const
	{
		TTransform Output;
		Multiply(&Output, this, &Other);
		return Output;
	}

	TTransform& operator*=(const TTransform& Other)
	{
		TTransform Output;
		Multiply(&Output, this, &Other);
		*this = Output;
		return *this;
	}

	/** This transform expressed relative to Other (this * Other^-1). */
	TTransform GetRelativeTransform(const TTransform& Other) const
	{
		TTransform Result;
		if (!Other.Rotation.IsNormalized())
		{
			return Identity;
		}
		if (AnyHasNegativeScale(Scale3D, Other.Scale3D))
		{
			const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(Other.Scale3D, T(UE_SMALL_NUMBER));
			ConstructTransformFromMatrixWithDesiredScale(ToMatrixWithScale(), Other.ToMatrixWithScale().Inverse(), Scale3D * SafeRecipScale3D, Result);
		}
		else
		{
			const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(Other.Scale3D, T(UE_SMALL_NUMBER));
			Result.Scale3D = Scale3D * SafeRecipScale3D;
			const TQuat<T> InverseRotation = Other.Rotation.Inverse();
			Result.Rotation = InverseRotation * Rotation;
			Result.Translation = (InverseRotation * (Translation - Other.Translation)) * SafeRecipScale3D;
		}
		return Result;
	}

	/**
	 * This = this relative to ParentTransform by the quaternion formula only: unlike GetRelativeTransform the
	 * engine's (vectorized) version neither takes the matrix path for negative scale nor checks that the
	 * parent's rotation is normalised.
	 */
	void SetToRelativeTransform(const TTransform& ParentTransform)
	{
		const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(ParentTransform.Scale3D, T(UE_SMALL_NUMBER));
		const TQuat<T> InverseRotation = ParentTransform.Rotation.Inverse();
		Scale3D = Scale3D * SafeRecipScale3D;
		Translation = (InverseRotation * (Translation - ParentTransform.Translation)) * SafeRecipScale3D;
		Rotation = InverseRotation * Rotation;
	}

	TVector<T> TransformPosition(const TVector<T>& V) const { return Rotation.RotateVector(Scale3D * V) + Translation; }
	TVector<T> TransformPositionNoScale(const TVector<T>& V) const { return Rotation.RotateVector(V) + Translation; }
	TVector<T> TransformVector(const TVector<T>& V) const { return Rotation.RotateVector(Scale3D * V); }
	TVector<T> TransformVectorNoScale(const TVector<T>& V) const { return Rotation.RotateVector(V); }
	TVector<T> InverseTransformPosition(const TVector<T>& V) const { return Rotation.UnrotateVector(V - Translation) * GetSafeScaleReciprocal(Scale3D); }
	TVector<T> InverseTransformPositionNoScale(const TVector<T>& V) const { return Rotation.UnrotateVector(V - Translation); }
	TVector<T> InverseTransformVector(const TVector<T>& V) const { return Rotation.UnrotateVector(V) * GetSafeScaleReciprocal(Scale3D); }
	TVector<T> InverseTransformVectorNoScale(const TVector<T>& V) const { return Rotation.UnrotateVector(V); }
	TQuat<T> TransformRotation(const TQuat<T>& Q) const { return Rotation * Q; }
	TQuat<T> InverseTransformRotation(const TQuat<T>& Q) const { return Rotation.Inverse() * Q; }

	TRotator<T> Rotator() const { return Rotation.Rotator(); }
	T GetDeterminant() const { return Scale3D.X * Scale3D.Y * Scale3D.Z; }
	TQuat<T> GetRotation() const { return Rotation; }
	TVector<T> GetTranslation() const { return Translation; }
	TVector<T> GetLocation() const { return Translation; }
	TVector<T> GetScale3D() const { return Scale3D; }
	void SetRotation(const TQuat<T>& NewRotation) { Rotation = NewRotation; }
	void SetTranslation(const TVector<T>& NewTranslation) { Translation = NewTranslation; }
	void SetLocation(const TVector<T>& Origin) { Translation = Origin; }
	void SetScale3D(const TVector<T>& NewScale3D) { Scale3D = NewScale3D; }
	void SetComponents(const TQuat<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D)
	{
		Rotation = InRotation;
		Translation = InTranslation;
		Scale3D = InScale3D;
	}
	void SetIdentity() { *this = TTransform(); }
	bool IsRotationNormalized() const { return Rotation.IsNormalized(); }
	void NormalizeRotation() { Rotation.Normalize(); }
	bool ContainsNaN() const { return Rotation.ContainsNaN() || Translation.ContainsNaN() || Scale3D.ContainsNaN(); }

	bool Equals(const TTransform& Other, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return Rotation.Equals(Other.Rotation, Tolerance) && Translation.Equals(Other.Translation, Tolerance) && Scale3D.Equals(Other.Scale3D, Tolerance);
	}
	bool EqualsNoScale(const TTransform& Other, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return Rotation.Equals(Other.Rotation, Tolerance) && Translation.Equals(Other.Translation, Tolerance);
	}

	/** Component-wise 1/Scale, with 0 where |Scale| <= Tolerance. */
	static TVector<T> GetSafeScaleReciprocal(const TVector<T>& InScale, T Tolerance = UE_SMALL_NUMBER)
	{
		TVector<T> SafeReciprocalScale;
		for (int32 Axis = 0; Axis < 3; ++Axis)
		{
			SafeReciprocalScale[Axis] = FMath::Abs(InScale[Axis]) <= Tolerance ? T(0) : T(1) / InScale[Axis];
		}
		return SafeReciprocalScale;
	}

	static bool AnyHasNegativeScale(const TVector<T>& InScale3D, const TVector<T>& InOtherScale3D)
	{
		return InScale3D.X < T(0) || InScale3D.Y < T(0) || InScale3D.Z < T(0) || InOtherScale3D.X < T(0) || InOtherScale3D.Y < T(0) || InOtherScale3D.Z < T(0);
	}

	/** Translation | rotator (pitch, yaw, roll) | scale. */
	FString ToString() const
	{
		const TRotator<T> R(Rotator());
		return FString::Printf(TEXT("%f,%f,%f|%f,%f,%f|%f,%f,%f"), double(Translation.X), double(Translation.Y), double(Translation.Z), double(R.Pitch),
			double(R.Yaw), double(R.Roll), double(Scale3D.X), double(Scale3D.Y), double(Scale3D.Z));
	}

	static void Multiply(TTransform* OutTransform, const TTransform* A, const TTransform* B)
	{
		if (AnyHasNegativeScale(A->Scale3D, B->Scale3D))
		{
			// With mirroring the quaternion path loses the sign; go through matrices.
			ConstructTransformFromMatrixWithDesiredScale(A->ToMatrixWithScale(), B->ToMatrixWithScale(), A->Scale3D * B->Scale3D, *OutTransform);
		}
		else
		{
			OutTransform->Rotation = B->Rotation * A->Rotation;
			OutTransform->Scale3D = A->Scale3D * B->Scale3D;
			OutTransform->Translation = B->Rotation * (B->Scale3D * A->Translation) + B->Translation;
		}
	}

private:
	static void ConstructTransformFromMatrixWithDesiredScale(const TMatrix<T>& AMatrix, const TMatrix<T>& BMatrix, const TVector<T>& DesiredScale, TTransform& OutTransform)
	{
		TMatrix<T> M = AMatrix * BMatrix;
		M.RemoveScaling();
		const TVector<T> SignedScale = DesiredScale.GetSignVector();
		M.SetAxis(0, M.GetScaledAxis(EAxis::X) * SignedScale.X);
		M.SetAxis(1, M.GetScaledAxis(EAxis::Y) * SignedScale.Y);
		M.SetAxis(2, M.GetScaledAxis(EAxis::Z) * SignedScale.Z);
		TQuat<T> Rot = TQuat<T>(M);
		Rot.Normalize();
		OutTransform.Scale3D = DesiredScale;
		OutTransform.Rotation = Rot;
		OutTransform.Translation = M.GetOrigin();
	}

	TQuat<T> Rotation;
	TVector<T> Translation;
	TVector<T> Scale3D;
};

template <typename T> const TTransform<T> TTransform<T>::Identity(TQuat<T>(0, 0, 0, 1), TVector<T>(0, 0, 0), TVector<T>(1, 1, 1));

} // namespace UE::Math

using FRotationMatrix = UE::Math::TRotationMatrix<double>;
using FRotationMatrix44f = UE::Math::TRotationMatrix<float>;
using FRotationTranslationMatrix = UE::Math::TRotationTranslationMatrix<double>;
using FQuatRotationTranslationMatrix = UE::Math::TQuatRotationTranslationMatrix<double>;
using FQuatRotationMatrix = UE::Math::TQuatRotationMatrix<double>;
using FScaleMatrix = UE::Math::TScaleMatrix<double>;
using FTranslationMatrix = UE::Math::TTranslationMatrix<double>;
