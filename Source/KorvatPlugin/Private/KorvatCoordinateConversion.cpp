// Conversions between Unreal's coordinates and the host's: the host's unit is 100 Unreal units, its up axis is
// Y, and it gives rotations as three Euler angles in degrees applied in a chosen order. Host X, Y and Z are
// Unreal X, Z and -Y.
#include "KorvatBPEvent.h"

#include "Math/RotationMatrix.h"

namespace KorvatCoordinateConversion
{
/** Unreal units to host units: 0.01 as the host's single-precision constant, applied in double arithmetic. */
constexpr double ToKorvatUnits = static_cast<double>(0.01f);
constexpr double ToUnrealUnits = 100.0;
/** Degrees to half-angle radians, with the host's single-precision pi. */
constexpr double HalfAngleRadiansPerDegree = static_cast<double>(3.14159265f) / 360.0;

/** The host axes as rows in Unreal's: X stays, Y becomes Unreal Z, Z becomes Unreal -Y. */
const FMatrix HostAxes(FPlane(1, 0, 0, 0), FPlane(0, 0, 1, 0), FPlane(0, -1, 0, 0), FPlane(0, 0, 0, 1));
} // namespace KorvatCoordinateConversion

FVector UKorvatBPFunctionLibrary::UE4_ToKorvatPosition(const FVector& position)
{
	using namespace KorvatCoordinateConversion;
	return FVector(position.X * ToKorvatUnits, position.Z * ToKorvatUnits, -position.Y * ToKorvatUnits);
}

FVector UKorvatBPFunctionLibrary::KorvatToUE4_Position(const FVector& position)
{
	using namespace KorvatCoordinateConversion;
	return FVector(position.X * ToUnrealUnits, -position.Z * ToUnrealUnits, position.Y * ToUnrealUnits);
}

FVector UKorvatBPFunctionLibrary::UE4_ToKorvatScale(const FVector& scale)
{
	return FVector(scale.X, scale.Z, scale.Y);
}

FVector UKorvatBPFunctionLibrary::KorvatToUE4_Scale(const FVector& scale)
{
	return FVector(scale.X, scale.Z, scale.Y);
}

FRotator UKorvatBPFunctionLibrary::KorvatToUE4_Rotation(const FVector& rotation, EulerRotationOrder korvatRotationOrder)
{
	using namespace KorvatCoordinateConversion;
	const double HalfX = rotation.X * HalfAngleRadiansPerDegree;
	const double HalfY = rotation.Y * HalfAngleRadiansPerDegree;
	const double HalfZ = rotation.Z * HalfAngleRadiansPerDegree;
	// One rotation per host axis, about the Unreal axis it corresponds to.
	const FQuat AboutX(FMath::Sin(HalfX), 0.0, 0.0, FMath::Cos(HalfX));
	const FQuat AboutY(0.0, 0.0, FMath::Sin(HalfY), FMath::Cos(HalfY));
	const FQuat AboutZ(0.0, -FMath::Sin(HalfZ), 0.0, FMath::Cos(HalfZ));

	// P * Q applies Q first: the rightmost factor is the first letter of the order.
	switch (korvatRotationOrder)
	{
	case EulerRotationOrder::ZXY:
		return FRotator(AboutY * AboutX * AboutZ);
	case EulerRotationOrder::ZYX:
		return FRotator(AboutX * AboutY * AboutZ);
	case EulerRotationOrder::YZX:
		return FRotator(AboutX * AboutZ * AboutY);
	case EulerRotationOrder::YXZ:
		return FRotator(AboutZ * AboutX * AboutY);
	case EulerRotationOrder::XYZ:
		return FRotator(AboutZ * AboutY * AboutX);
	case EulerRotationOrder::XZY:
		return FRotator(AboutY * AboutZ * AboutX);
	}
	// An order outside the enum (only native callers can pass one) has no meaning: no rotation.
	return FRotator::ZeroRotator;
}

FVector UKorvatBPFunctionLibrary::UE4_ToKorvatRotation(const FRotator& rotation, LimitedEulerRotationOrder korvatRotationOrder)
{
	using namespace KorvatCoordinateConversion;
	// The inverse of the XYZ conversion, whatever order is asked for: XYZ is the only one there is.
	const FMatrix Rotated = FRotationMatrix(FRotator(0.0, 0.0, 90.0)) * FRotationMatrix(rotation) * HostAxes;
	const FRotator Angles = Rotated.Rotator();
	return FVector(-Angles.Roll, Angles.Pitch, -Angles.Yaw);
}

void UKorvatBPFunctionLibrary::UE4_ToKorvatTransform(const FTransform& transform, FVector& position, FVector& rotation, FVector& scale,
	LimitedEulerRotationOrder korvatRotationOrder)
{
	position = UE4_ToKorvatPosition(transform.GetTranslation());
	scale = UE4_ToKorvatScale(transform.GetScale3D());
	rotation = UE4_ToKorvatRotation(transform.GetRotation().Rotator(), korvatRotationOrder);
}

FTransform UKorvatBPFunctionLibrary::KorvatToUE4_Transform(const FVector& position, const FVector& rotation,
	EulerRotationOrder korvatRotationOrder, const FVector& scale)
{
	return FTransform(KorvatToUE4_Rotation(rotation, korvatRotationOrder).Quaternion(), KorvatToUE4_Position(position),
		KorvatToUE4_Scale(scale));
}
