#pragma once

#include "HAL/Platform.h"

#include <cmath>
#include <type_traits>

#define UE_PI (3.1415926535897932f)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_BIG_NUMBER (3.4e+38f)
#define UE_EULERS_NUMBER (2.71828182845904523536f)
#define UE_INV_PI (0.31830988618f)
#define UE_HALF_PI (1.57079632679f)
#define UE_TWO_PI (6.28318530717f)
#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#define UE_DOUBLE_HALF_PI (1.570796326794896619231321691639751442)
#define UE_DELTA (0.00001f)
#define UE_THRESH_POINT_ON_PLANE (0.10f)
#define UE_THRESH_NORMALS_ARE_PARALLEL (0.999845f)
#define UE_THRESH_QUAT_NORMALIZED (0.01f)
#define UE_THRESH_VECTOR_NORMALIZED (0.01f)

// Names kept by the engine for older code.
#define PI UE_PI
#define SMALL_NUMBER UE_SMALL_NUMBER
#define KINDA_SMALL_NUMBER UE_KINDA_SMALL_NUMBER
#define BIG_NUMBER UE_BIG_NUMBER
#define HALF_PI UE_HALF_PI
#define DOUBLE_PI UE_DOUBLE_PI
#define DELTA UE_DELTA
#define THRESH_QUAT_NORMALIZED UE_THRESH_QUAT_NORMALIZED
#define THRESH_VECTOR_NORMALIZED UE_THRESH_VECTOR_NORMALIZED

struct FMath
{
	template <typename T>
	static constexpr T Abs(const T A) { return A < T(0) ? -A : A; }
	template <typename T>
	static constexpr T Sign(const T A) { return A > T(0) ? T(1) : (A < T(0) ? T(-1) : T(0)); }
	template <typename T>
	static constexpr T Max(const T A, const T B) { return B < A ? A : B; }
	template <typename T>
	static constexpr T Min(const T A, const T B) { return A < B ? A : B; }
	template <typename T>
	static constexpr T Max3(const T A, const T B, const T C) { return Max(Max(A, B), C); }
	template <typename T>
	static constexpr T Min3(const T A, const T B, const T C) { return Min(Min(A, B), C); }
	template <typename T>
	static constexpr T Clamp(const T X, const T MinValue, const T MaxValue) { return X < MinValue ? MinValue : (X < MaxValue ? X : MaxValue); }
	template <typename T>
	static constexpr T Square(const T A) { return A * A; }
	template <typename T>
	static constexpr T Cube(const T A) { return A * A * A; }
	template <typename T, typename U>
	static constexpr T Lerp(const T& A, const T& B, const U& Alpha) { return static_cast<T>(A + Alpha * (B - A)); }

	static float Sqrt(float Value) { return std::sqrt(Value); }
	static double Sqrt(double Value) { return std::sqrt(Value); }
	static float InvSqrt(float F) { return 1.0f / std::sqrt(F); }
	static double InvSqrt(double F) { return 1.0 / std::sqrt(F); }
	static float Sin(float Value) { return std::sin(Value); }
	static double Sin(double Value) { return std::sin(Value); }
	static float Cos(float Value) { return std::cos(Value); }
	static double Cos(double Value) { return std::cos(Value); }
	static float Tan(float Value) { return std::tan(Value); }
	static double Tan(double Value) { return std::tan(Value); }
	static float Asin(float Value) { return std::asin(Value < -1.f ? -1.f : (Value < 1.f ? Value : 1.f)); }
	static double Asin(double Value) { return std::asin(Value < -1.0 ? -1.0 : (Value < 1.0 ? Value : 1.0)); }
	static float Acos(float Value) { return std::acos(Value < -1.f ? -1.f : (Value < 1.f ? Value : 1.f)); }
	static double Acos(double Value) { return std::acos(Value < -1.0 ? -1.0 : (Value < 1.0 ? Value : 1.0)); }
	static float Atan(float Value) { return std::atan(Value); }
	static double Atan(double Value) { return std::atan(Value); }
	static float Atan2(float Y, float X) { return std::atan2(Y, X); }
	static double Atan2(double Y, double X) { return std::atan2(Y, X); }
	static float Exp(float Value) { return std::exp(Value); }
	static double Exp(double Value) { return std::exp(Value); }
	static float Loge(float Value) { return std::log(Value); }
	static double Loge(double Value) { return std::log(Value); }
	static float Pow(float A, float B) { return std::pow(A, B); }
	static double Pow(double A, double B) { return std::pow(A, B); }
	static float Fmod(float X, float Y) { return std::fmod(X, Y); }
	static double Fmod(double X, double Y) { return std::fmod(X, Y); }
	// Conversions to integers as UE 5 declares them: the float overloads give int32, the double overloads
	// int64 (TruncToInt/FloorToInt/RoundToInt/CeilToInt), and the *32/*64 forms name their width.
	static constexpr int32 TruncToInt32(float F) { return static_cast<int32>(F); }
	static constexpr int32 TruncToInt32(double F) { return static_cast<int32>(F); }
	static constexpr int64 TruncToInt64(double F) { return static_cast<int64>(F); }
	static constexpr int32 TruncToInt(float F) { return TruncToInt32(F); }
	static constexpr int64 TruncToInt(double F) { return TruncToInt64(F); }
	static float TruncToFloat(float F) { return std::trunc(F); }
	static double TruncToDouble(double F) { return std::trunc(F); }
	static double TruncToFloat(double F) { return TruncToDouble(F); }
	static int32 FloorToInt32(float F) { return static_cast<int32>(std::floor(F)); }
	static int32 FloorToInt32(double F) { return static_cast<int32>(std::floor(F)); }
	static int64 FloorToInt64(double F) { return static_cast<int64>(std::floor(F)); }
	static int32 FloorToInt(float F) { return FloorToInt32(F); }
	static int64 FloorToInt(double F) { return FloorToInt64(F); }
	static int32 CeilToInt32(float F) { return static_cast<int32>(std::ceil(F)); }
	static int32 CeilToInt32(double F) { return static_cast<int32>(std::ceil(F)); }
	static int64 CeilToInt64(double F) { return static_cast<int64>(std::ceil(F)); }
	static int32 CeilToInt(float F) { return CeilToInt32(F); }
	static int64 CeilToInt(double F) { return CeilToInt64(F); }
	/** Rounds half up: floor(F + 0.5). */
	static int32 RoundToInt32(float F) { return FloorToInt32(F + 0.5f); }
	static int32 RoundToInt32(double F) { return FloorToInt32(F + 0.5); }
	static int64 RoundToInt64(double F) { return FloorToInt64(F + 0.5); }
	static int32 RoundToInt(float F) { return RoundToInt32(F); }
	static int64 RoundToInt(double F) { return RoundToInt64(F); }
	static float FloorToFloat(float F) { return std::floor(F); }
	static double FloorToDouble(double F) { return std::floor(F); }
	static double FloorToFloat(double F) { return FloorToDouble(F); }
	static float RoundToFloat(float F) { return std::floor(F + 0.5f); }
	static double RoundToDouble(double F) { return std::floor(F + 0.5); }
	static float Frac(float Value) { return Value - std::floor(Value); }
	static double Frac(double Value) { return Value - std::floor(Value); }
	static bool IsFinite(float A) { return std::isfinite(A); }
	static bool IsFinite(double A) { return std::isfinite(A); }
	static bool IsNaN(float A) { return std::isnan(A); }
	static bool IsNaN(double A) { return std::isnan(A); }

	template <typename T, typename U = T>
	static bool IsNearlyEqual(T A, T B, U ErrorTolerance = UE_SMALL_NUMBER) { return Abs<T>(A - B) <= static_cast<T>(ErrorTolerance); }
	template <typename T, typename U = T>
	static bool IsNearlyZero(T Value, U ErrorTolerance = UE_SMALL_NUMBER) { return Abs<T>(Value) <= static_cast<T>(ErrorTolerance); }

	template <typename T>
	static constexpr T RadiansToDegrees(const T& RadVal) { return RadVal * static_cast<T>(180.0 / UE_DOUBLE_PI); }
	template <typename T>
	static constexpr T DegreesToRadians(const T& DegVal) { return DegVal * static_cast<T>(UE_DOUBLE_PI / 180.0); }

	template <typename T>
	static void SinCos(T* ScalarSin, T* ScalarCos, T Value)
	{
		*ScalarSin = std::sin(Value);
		*ScalarCos = std::cos(Value);
	}

	/**
	 * Arcsine by the engine's 7th-degree polynomial for acos(|x|); the input is clamped to [-1, 1]. In double
	 * arithmetic the absolute error stays below 5e-8 rad (3e-6 degrees); in float, rounding adds about 1e-7. The engine's FQuat4f::Rotator uses it for the pitch;
	 * FQuat4d::Rotator uses the exact FMath::Asin.
	 */
	static float FastAsin(float Value) { return static_cast<float>(FastAsinImpl(Value)); }
	static double FastAsin(double Value) { return FastAsinImpl(Value); }

	/** Wraps an angle in degrees into [-180, 180]. */
	template <typename T>
	static T UnwindDegrees(T A)
	{
		while (A > T(180))
		{
			A -= T(360);
		}
		while (A < T(-180))
		{
			A += T(360);
		}
		return A;
	}

	template <typename T>
	static T UnwindRadians(T A)
	{
		while (A > static_cast<T>(UE_DOUBLE_PI))
		{
			A -= static_cast<T>(2 * UE_DOUBLE_PI);
		}
		while (A < static_cast<T>(-UE_DOUBLE_PI))
		{
			A += static_cast<T>(2 * UE_DOUBLE_PI);
		}
		return A;
	}

	template <typename T>
	static constexpr bool IsPowerOfTwo(T Value) { return (Value & (Value - 1)) == T(0); }

	static constexpr uint32 RoundUpToPowerOfTwo(uint32 Arg)
	{
		uint32 Result = 1;
		while (Result < Arg)
		{
			Result <<= 1;
		}
		return Result;
	}

	template <typename T>
	static constexpr T DivideAndRoundUp(T Dividend, T Divisor) { return (Dividend + Divisor - 1) / Divisor; }

private:
	template <typename T>
	static T FastAsinImpl(T Value)
	{
		const T HalfPi = static_cast<T>(1.5707963050);
		const bool bNonNegative = Value >= T(0);
		const T AbsValue = Abs(Value);
		T OneMinusX = T(1) - AbsValue;
		if (OneMinusX < T(0))
		{
			OneMinusX = T(0);
		}
		const T Root = std::sqrt(OneMinusX);
		T Result = ((((((T(-0.0012624911) * AbsValue + T(0.0066700901)) * AbsValue - T(0.0170881256)) * AbsValue + T(0.0308918810)) * AbsValue
						 - T(0.0501743046)) * AbsValue + T(0.0889789874)) * AbsValue - T(0.2145988016)) * AbsValue + HalfPi;
		Result *= Root; // acos(|Value|)
		return bNonNegative ? HalfPi - Result : Result - HalfPi;
	}
};
