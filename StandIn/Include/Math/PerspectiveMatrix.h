// Perspective projection matrices of the stand-in (module Core): the classic one and UE 5's reversed-Z one
// (clip-space Z = 1 at the near plane, 0 at the far plane, infinite far plane when MinZ == MaxZ or no MaxZ).
// The FOV passed in is half the field of view, in radians. Row-vector convention: row 3 is the translation row.
#pragma once

#include "Math/UnrealMath.h"

// The engine's Z_PRECISION: how much depth range a classic infinite projection keeps free at the far plane.
#ifndef Z_PRECISION
	#define Z_PRECISION 0.0f
#endif

namespace UE::Math
{

template <typename T>
struct TPerspectiveMatrix : public TMatrix<T>
{
	/** Half FOVs in X and Y, each multiplied by its factor; infinite far plane when MinZ == MaxZ. */
	TPerspectiveMatrix(T HalfFOVX, T HalfFOVY, T MultFOVX, T MultFOVY, T MinZ, T MaxZ)
		: TMatrix<T>(
			TPlane<T>(MultFOVX / FMath::Tan(HalfFOVX), T(0), T(0), T(0)),
			TPlane<T>(T(0), MultFOVY / FMath::Tan(HalfFOVY), T(0), T(0)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? (T(1) - T(Z_PRECISION)) : MaxZ / (MaxZ - MinZ), T(1)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? -MinZ * (T(1) - T(Z_PRECISION)) : -MinZ * MaxZ / (MaxZ - MinZ), T(0)))
	{
	}

	/** HalfFOV is half the horizontal field of view; Width / Height is the aspect ratio. */
	TPerspectiveMatrix(T HalfFOV, T Width, T Height, T MinZ, T MaxZ)
		: TMatrix<T>(
			TPlane<T>(T(1) / FMath::Tan(HalfFOV), T(0), T(0), T(0)),
			TPlane<T>(T(0), Width / FMath::Tan(HalfFOV) / Height, T(0), T(0)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? (T(1) - T(Z_PRECISION)) : MaxZ / (MaxZ - MinZ), T(1)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? -MinZ * (T(1) - T(Z_PRECISION)) : -MinZ * MaxZ / (MaxZ - MinZ), T(0)))
	{
	}

	/** As above with an infinite far plane. */
	TPerspectiveMatrix(T HalfFOV, T Width, T Height, T MinZ)
		: TMatrix<T>(
			TPlane<T>(T(1) / FMath::Tan(HalfFOV), T(0), T(0), T(0)),
			TPlane<T>(T(0), Width / FMath::Tan(HalfFOV) / Height, T(0), T(0)),
			TPlane<T>(T(0), T(0), T(1) - T(Z_PRECISION), T(1)),
			TPlane<T>(T(0), T(0), -MinZ * (T(1) - T(Z_PRECISION)), T(0)))
	{
	}
};

template <typename T>
struct TReversedZPerspectiveMatrix : public TMatrix<T>
{
	TReversedZPerspectiveMatrix(T HalfFOVX, T HalfFOVY, T MultFOVX, T MultFOVY, T MinZ, T MaxZ)
		: TMatrix<T>(
			TPlane<T>(MultFOVX / FMath::Tan(HalfFOVX), T(0), T(0), T(0)),
			TPlane<T>(T(0), MultFOVY / FMath::Tan(HalfFOVY), T(0), T(0)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? T(0) : MinZ / (MinZ - MaxZ), T(1)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? MinZ : -MaxZ * MinZ / (MinZ - MaxZ), T(0)))
	{
	}

	TReversedZPerspectiveMatrix(T HalfFOV, T Width, T Height, T MinZ, T MaxZ)
		: TMatrix<T>(
			TPlane<T>(T(1) / FMath::Tan(HalfFOV), T(0), T(0), T(0)),
			TPlane<T>(T(0), Width / FMath::Tan(HalfFOV) / Height, T(0), T(0)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? T(0) : MinZ / (MinZ - MaxZ), T(1)),
			TPlane<T>(T(0), T(0), (MinZ == MaxZ) ? MinZ : -MaxZ * MinZ / (MinZ - MaxZ), T(0)))
	{
	}

	/** Infinite far plane: Z row (0, 0, 0, 1), translation row (0, 0, MinZ, 0). */
	TReversedZPerspectiveMatrix(T HalfFOV, T Width, T Height, T MinZ)
		: TMatrix<T>(
			TPlane<T>(T(1) / FMath::Tan(HalfFOV), T(0), T(0), T(0)),
			TPlane<T>(T(0), Width / FMath::Tan(HalfFOV) / Height, T(0), T(0)),
			TPlane<T>(T(0), T(0), T(0), T(1)),
			TPlane<T>(T(0), T(0), MinZ, T(0)))
	{
	}
};

} // namespace UE::Math

// The engine declares these names in Math/MathFwd.h; the stand-in's MathFwd.h does not list them yet.
using FPerspectiveMatrix = UE::Math::TPerspectiveMatrix<double>;
using FPerspectiveMatrix44d = UE::Math::TPerspectiveMatrix<double>;
using FPerspectiveMatrix44f = UE::Math::TPerspectiveMatrix<float>;
using FReversedZPerspectiveMatrix = UE::Math::TReversedZPerspectiveMatrix<double>;
using FReversedZPerspectiveMatrix44d = UE::Math::TReversedZPerspectiveMatrix<double>;
using FReversedZPerspectiveMatrix44f = UE::Math::TReversedZPerspectiveMatrix<float>;
