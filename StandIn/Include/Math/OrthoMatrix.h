// Orthographic projection matrices of the stand-in (module Core): the classic one and UE 5's reversed-Z one.
// Width and Height are half extents of the view volume; a zero extent leaves that axis unscaled.
#pragma once

#include "Math/UnrealMath.h"

namespace UE::Math
{

template <typename T>
struct TOrthoMatrix : public TMatrix<T>
{
	TOrthoMatrix(T Width, T Height, T ZScale, T ZOffset)
		: TMatrix<T>(
			TPlane<T>((Width != T(0)) ? (T(1) / Width) : T(1), T(0), T(0), T(0)),
			TPlane<T>(T(0), (Height != T(0)) ? (T(1) / Height) : T(1), T(0), T(0)),
			TPlane<T>(T(0), T(0), ZScale, T(0)),
			TPlane<T>(T(0), T(0), ZOffset * ZScale, T(1)))
	{
	}
};

template <typename T>
struct TReversedZOrthoMatrix : public TMatrix<T>
{
	TReversedZOrthoMatrix(T Width, T Height, T ZScale, T ZOffset)
		: TMatrix<T>(
			TPlane<T>((Width != T(0)) ? (T(1) / Width) : T(1), T(0), T(0), T(0)),
			TPlane<T>(T(0), (Height != T(0)) ? (T(1) / Height) : T(1), T(0), T(0)),
			TPlane<T>(T(0), T(0), -ZScale, T(0)),
			TPlane<T>(T(0), T(0), T(1) - ZOffset * ZScale, T(1)))
	{
	}
};

} // namespace UE::Math

// The engine declares these names in Math/MathFwd.h; the stand-in's MathFwd.h does not list them yet.
using FOrthoMatrix = UE::Math::TOrthoMatrix<double>;
using FOrthoMatrix44d = UE::Math::TOrthoMatrix<double>;
using FOrthoMatrix44f = UE::Math::TOrthoMatrix<float>;
using FReversedZOrthoMatrix = UE::Math::TReversedZOrthoMatrix<double>;
using FReversedZOrthoMatrix44d = UE::Math::TReversedZOrthoMatrix<double>;
using FReversedZOrthoMatrix44f = UE::Math::TReversedZOrthoMatrix<float>;
