// The stand-in's math against the engine's conventions: left-handed Z-up rotators, quaternion and
// matrix conversions, FTransform built from a matrix with scale, inverses and relative transforms.
#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Math/RotationMatrix.h"
#include "Math/Transform.h"

#include <cmath>
#include <limits>

namespace
{
	constexpr double AngleTolerance = 1e-3; // degrees; the engine's pitch uses FastAsin
	constexpr double Tolerance = 1e-6;

	void ExpectRotatorNear(const FRotator& Actual, double Pitch, double Yaw, double Roll)
	{
		EXPECT_NEAR(Actual.Pitch, Pitch, AngleTolerance);
		EXPECT_NEAR(Actual.Yaw, Yaw, AngleTolerance);
		EXPECT_NEAR(Actual.Roll, Roll, AngleTolerance);
	}

	void ExpectVectorNear(const FVector& Actual, const FVector& Expected, double Tol = Tolerance)
	{
		EXPECT_NEAR(Actual.X, Expected.X, Tol);
		EXPECT_NEAR(Actual.Y, Expected.Y, Tol);
		EXPECT_NEAR(Actual.Z, Expected.Z, Tol);
	}

	TEST(CoreMath_test, RotatorAxesFollowTheEngineConventions)
	{
		// Yaw turns X toward +Y, pitch lifts X toward +Z, roll tips Y toward -Z.
		ExpectVectorNear(FRotator(0, 90, 0).RotateVector(FVector(1, 0, 0)), FVector(0, 1, 0));
		ExpectVectorNear(FRotator(90, 0, 0).RotateVector(FVector(1, 0, 0)), FVector(0, 0, 1));
		ExpectVectorNear(FRotator(0, 0, 90).RotateVector(FVector(0, 1, 0)), FVector(0, 0, -1));
		ExpectVectorNear(FRotator(30, 45, 0).Vector(), FRotationMatrix(FRotator(30, 45, 0)).GetScaledAxis(EAxis::X));

		ExpectRotatorNear(FQuat(FVector(0, 0, 1), FMath::DegreesToRadians(45.0)).Rotator(), 0, 45, 0);
		ExpectRotatorNear(FQuat(FVector(0, -1, 0), FMath::DegreesToRadians(30.0)).Rotator(), 30, 0, 0);
		ExpectRotatorNear(FQuat(FVector(1, 0, 0), FMath::DegreesToRadians(30.0)).Rotator(), 0, 0, -30);
	}

	TEST(CoreMath_test, RotatorQuaternionAndMatrixConversionsAgree)
	{
		const FRotator Rotator(10, 20, 30);
		const FQuat Quat = Rotator.Quaternion();
		ExpectRotatorNear(Quat.Rotator(), 10, 20, 30);
		ExpectRotatorNear(FRotationMatrix(Rotator).Rotator(), 10, 20, 30);
		// The two paths agree to 1e-8, not better: the rotation matrix takes its radians from the
		// single-precision degree factor, the quaternion from the double one.
		EXPECT_TRUE(FQuatRotationMatrix(Quat).Equals(FRotationMatrix(Rotator), 1e-7));
		EXPECT_FALSE(FQuatRotationMatrix(Quat).Equals(FRotationMatrix(Rotator), 1e-9));
		EXPECT_TRUE(FQuat(FRotationMatrix(Rotator)).Equals(Quat, 1e-7));
		EXPECT_TRUE(FQuat(Rotator).Equals(FQuat::MakeFromRotator(Rotator), 1e-12));

		for (const FRotator& Sample : {FRotator(-80, 170, -120), FRotator(45, -135, 179), FRotator(0, 0, 0), FRotator(89.9, 10, 20)})
		{
			const FMatrix Matrix = FRotationMatrix(Sample);
			const FRotator Back = Matrix.Rotator();
			EXPECT_TRUE(FRotationMatrix(Back).Equals(Matrix, 1e-6));
			EXPECT_TRUE(FRotationMatrix(Sample.Quaternion().Rotator()).Equals(Matrix, 1e-4));
		}
		// Gimbal lock: pitch of exactly 90 degrees.
		const FRotator Up = FRotator(90, 30, 0).Quaternion().Rotator();
		EXPECT_DOUBLE_EQ(Up.Pitch, 90.0);
		EXPECT_TRUE(FRotationMatrix(Up).Equals(FRotationMatrix(FRotator(90, 30, 0)), 1e-6));
	}

	TEST(CoreMath_test, QuaternionProductAppliesTheRightOperandFirst)
	{
		const FQuat P(FVector(0, 0, 1), FMath::DegreesToRadians(90.0));
		const FQuat Q(FVector(1, 0, 0), FMath::DegreesToRadians(90.0));
		const FVector V(0, 1, 0);
		ExpectVectorNear((P * Q).RotateVector(V), P.RotateVector(Q.RotateVector(V)));
		ExpectVectorNear(Q.RotateVector(V), FVector(0, 0, 1));
		ExpectVectorNear(P.UnrotateVector(P.RotateVector(V)), V);
		ExpectVectorNear(P.Inverse().RotateVector(FVector(1, 0, 0)), FVector(0, -1, 0));
	}

	TEST(CoreMath_test, AxisNormalisationAndFastAsin)
	{
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(190.0), -170.0);
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(-180.0), 180.0);
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(540.0), 180.0);
		EXPECT_DOUBLE_EQ(FRotator::ClampAxis(-90.0), 270.0);
		EXPECT_TRUE(FRotator(10, 370, -350).Equals(FRotator(10, 10, 10)));
		for (double X = -1.0; X <= 1.0; X += 0.125)
		{
			EXPECT_NEAR(FMath::FastAsin(X), std::asin(X), 1e-4) << X;
		}
	}

	TEST(CoreMath_test, MatrixInverseAndDegenerateMatrices)
	{
		const FMatrix M = FScaleMatrix(FVector(2, 3, 4)) * FRotationTranslationMatrix(FRotator(10, 20, 30), FVector(5, -6, 7));
		EXPECT_TRUE((M * M.Inverse()).Equals(FMatrix::Identity, 1e-9));
		ExpectVectorNear(M.InverseTransformPosition(M.TransformPosition(FVector(1, 2, 3))), FVector(1, 2, 3), 1e-9);
		EXPECT_NEAR(M.Determinant(), 24.0, 1e-9);

		const FMatrix Zero(ForceInit);
		EXPECT_EQ(Zero.Inverse(), FMatrix::Identity);
		const FMatrix Singular(FPlane(1, 0, 0, 0), FPlane(1, 0, 0, 0), FPlane(0, 0, 1, 0), FPlane(0, 0, 0, 1));
		EXPECT_EQ(Singular.Inverse(), FMatrix::Identity);

		// A vanishing axis leaves no rotation to recover.
		const FMatrix Flattened(FPlane(1, 0, 0, 0), FPlane(0, 1, 0, 0), FPlane(0, 0, 0, 0), FPlane(0, 0, 0, 1));
		EXPECT_TRUE(FQuat(Flattened).Equals(FQuat::Identity));

		// Row-vector convention: translation in row 3, A * B applies A first.
		const FMatrix Move = FTranslationMatrix(FVector(10, 0, 0));
		const FMatrix Turn = FRotationMatrix(FRotator(0, 90, 0));
		ExpectVectorNear((Move * Turn).TransformPosition(FVector::ZeroVector), FVector(0, 10, 0));
		ExpectVectorNear((Turn * Move).TransformPosition(FVector::ZeroVector), FVector(10, 0, 0));
	}

	TEST(CoreMath_test, TransformFromMatrixExtractsScaleAndMirroring)
	{
		const FRotator Rotation(15, -40, 70);
		const FVector Scale(2, 3, 4);
		const FVector Translation(100, -200, 300);
		const FMatrix M = FScaleMatrix(Scale) * FRotationTranslationMatrix(Rotation, Translation);

		const FTransform Transform(M);
		ExpectVectorNear(Transform.GetScale3D(), Scale, 1e-9);
		ExpectVectorNear(Transform.GetTranslation(), Translation, 1e-9);
		ExpectRotatorNear(Transform.Rotator(), 15, -40, 70);
		EXPECT_TRUE(Transform.ToMatrixWithScale().Equals(M, 1e-9));
		// Through the quaternion (double degree factor) instead of the rotation matrix (single-precision one).
		EXPECT_TRUE(FTransform(Rotation, Translation, Scale).ToMatrixWithScale().Equals(M, 1e-6));

		// A mirrored matrix: the negative determinant goes on X.
		const FMatrix Mirrored = FScaleMatrix(FVector(1, -1, 1)) * M;
		const FTransform MirroredTransform(Mirrored);
		EXPECT_LT(MirroredTransform.GetScale3D().X, 0.0);
		EXPECT_TRUE(MirroredTransform.ToMatrixWithScale().Equals(Mirrored, 1e-9));

		FTransform SetLater;
		SetLater.SetFromMatrix(M);
		EXPECT_TRUE(SetLater.Equals(Transform, 1e-9));
	}

	TEST(CoreMath_test, TransformCompositionAndRelativeTransforms)
	{
		const FTransform A(FRotator(0, 90, 0), FVector(10, 0, 0), FVector(2, 2, 2));
		// Composition is exact when the second transform scales uniformly (no shear to lose).
		const FTransform B(FRotator(30, 0, 0), FVector(0, 5, 0), FVector(3, 3, 3));
		const FVector Point(1, 2, 3);
		ExpectVectorNear((A * B).TransformPosition(Point), B.TransformPosition(A.TransformPosition(Point)), 1e-9);
		ExpectVectorNear(A.InverseTransformPosition(A.TransformPosition(Point)), Point, 1e-9);
		EXPECT_TRUE((A * B).GetRelativeTransform(B).Equals(A, 1e-6));

		FTransform Relative = A * B;
		Relative.SetToRelativeTransform(B);
		EXPECT_TRUE(Relative.Equals(A, 1e-6));

		// With negative scale the engine goes through matrices; the composition still holds.
		const FTransform Mirror(FRotator(0, 45, 0), FVector(1, 2, 3), FVector(-1, 1, 1));
		ExpectVectorNear((Mirror * A).TransformPosition(Point), A.TransformPosition(Mirror.TransformPosition(Point)), 1e-9);
		ExpectVectorNear((Mirror * A).GetRelativeTransform(A).TransformPosition(Point), Mirror.TransformPosition(Point), 1e-6);

		EXPECT_TRUE(FTransform::Identity.Equals(FTransform()));
		ExpectVectorNear(FTransform::GetSafeScaleReciprocal(FVector(2, 0, -4)), FVector(0.5, 0, -0.25));
	}

	TEST(CoreMath_test, SmallTypes)
	{
		const FIntRect Rect(10, 20, 110, 70);
		EXPECT_EQ(Rect.Width(), 100);
		EXPECT_EQ(Rect.Height(), 50);
		EXPECT_EQ(Rect.Size(), FIntPoint(100, 50));
		EXPECT_TRUE(Rect.Contains(FIntPoint(10, 20)));
		EXPECT_FALSE(Rect.Contains(FIntPoint(110, 20)));
		EXPECT_EQ(FIntRect(), FIntRect(0, 0, 0, 0));

		const FVector2D Size(FIntPoint(1920, 1080));
		EXPECT_DOUBLE_EQ(Size.X, 1920.0);
		EXPECT_EQ(FVector2D(2.6, -1.4).IntPoint(), FIntPoint(3, -1));

		const FColor Color(0x11, 0x22, 0x33, 0x44);
		EXPECT_EQ(Color.ToPackedARGB(), 0x44112233u);
		EXPECT_EQ(FColor(0x44112233u), Color);
		EXPECT_EQ(FLinearColor(FColor::White).ToFColor(true), FColor::White);
		EXPECT_EQ(FLinearColor(FColor(128, 64, 32)).ToFColor(true), FColor(128, 64, 32));

		FVector V(3, 4, 0);
		EXPECT_DOUBLE_EQ(V.Size(), 5.0);
		EXPECT_TRUE(V.Normalize());
		ExpectVectorNear(V, FVector(0.6, 0.8, 0));
		EXPECT_TRUE(FVector::ZeroVector.GetSafeNormal().IsZero());
		ExpectVectorNear(FVector(1, 0, 0) ^ FVector(0, 1, 0), FVector(0, 0, 1));
		EXPECT_DOUBLE_EQ(FVector(1, 2, 3) | FVector(4, 5, 6), 32.0);
	}

	// ----- Hand-computed values against the engine's documented conventions -----

	void ExpectRowNear(const FMatrix& M, int32 Row, double X, double Y, double Z, double W, double Tol = 1e-12)
	{
		EXPECT_NEAR(M.M[Row][0], X, Tol) << "row " << Row;
		EXPECT_NEAR(M.M[Row][1], Y, Tol) << "row " << Row;
		EXPECT_NEAR(M.M[Row][2], Z, Tol) << "row " << Row;
		EXPECT_NEAR(M.M[Row][3], W, Tol) << "row " << Row;
	}

	// Scale (2, 3, 4), then yaw 90 (X -> +Y, Y -> -X), then translation (10, 20, 30).
	const FMatrix ScaledYaw90(FPlane(0, 2, 0, 0), FPlane(-3, 0, 0, 0), FPlane(0, 0, 4, 0), FPlane(10, 20, 30, 1));

	TEST(CoreMath_test, VectorOperationsAndSafeNormalTolerance)
	{
		ExpectVectorNear(FVector(1, 2, 3) ^ FVector(4, 5, 6), FVector(-3, 6, -3), 0.0);
		EXPECT_DOUBLE_EQ(FVector(1, 2, 2).SizeSquared(), 9.0);
		EXPECT_DOUBLE_EQ(FVector(1, 2, 2).Size(), 3.0);
		ExpectVectorNear(FVector(1, 2, 3) * 2.0 - FVector(1, 1, 1) / 2.0, FVector(1.5, 3.5, 5.5), 0.0);
		// Squared length 1e-10 is under UE_SMALL_NUMBER: zero, and Normalize leaves the vector alone.
		EXPECT_TRUE(FVector(1e-5, 0, 0).GetSafeNormal().IsZero());
		FVector Tiny(1e-5, 0, 0);
		EXPECT_FALSE(Tiny.Normalize());
		EXPECT_EQ(Tiny, FVector(1e-5, 0, 0));
		// Squared length 4e-8 is over it.
		ExpectVectorNear(FVector(2e-4, 0, 0).GetSafeNormal(), FVector(1, 0, 0), 1e-12);
		ExpectVectorNear(FVector(0, 3, 4).GetSafeNormal(), FVector(0, 0.6, 0.8), 1e-12);

		EXPECT_EQ(FIntRect(FIntPoint(5, 5), FIntPoint(2, 9)).Width(), -3);
		EXPECT_EQ(FIntRect(FIntPoint(5, 5), FIntPoint(2, 9)).Height(), 4);
		EXPECT_DOUBLE_EQ(FVector2D(3, 4).Size(), 5.0);
		EXPECT_DOUBLE_EQ(FVector2D(1, 2) | FVector2D(3, 4), 11.0);

		const FVector4 Homogeneous(1, 2, 3);
		EXPECT_DOUBLE_EQ(Homogeneous.W, 1.0);
		EXPECT_DOUBLE_EQ(Dot4(FVector4(1, 2, 3, 4), FVector4(5, 6, 7, 8)), 70.0);
		EXPECT_DOUBLE_EQ(Dot3(FVector4(1, 2, 3, 4), FVector4(5, 6, 7, 8)), 38.0);
		const FVector Dropped = FVector4(1, 2, 3, 9);
		ExpectVectorNear(Dropped, FVector(1, 2, 3), 0.0);
	}

	TEST(CoreMath_test, MathFunctionsAndConstants)
	{
		EXPECT_EQ(UE_SMALL_NUMBER, 1.e-8f);
		EXPECT_EQ(UE_KINDA_SMALL_NUMBER, 1.e-4f);
		EXPECT_EQ(SMALL_NUMBER, UE_SMALL_NUMBER);
		EXPECT_EQ(KINDA_SMALL_NUMBER, UE_KINDA_SMALL_NUMBER);
		EXPECT_NEAR(UE_PI, 3.14159265, 1e-6);

		static_assert(std::is_same_v<decltype(FMath::TruncToInt(2.5)), int64>);
		static_assert(std::is_same_v<decltype(FMath::TruncToInt(2.5f)), int32>);
		static_assert(std::is_same_v<decltype(FMath::FloorToInt(2.5)), int64>);
		static_assert(std::is_same_v<decltype(FMath::FloorToInt(2.5f)), int32>);
		EXPECT_EQ(FMath::TruncToInt(-2.7), -2);
		EXPECT_EQ(FMath::TruncToInt(2.7f), 2);
		EXPECT_EQ(FMath::FloorToInt(-2.5), -3);
		EXPECT_EQ(FMath::FloorToInt(2.5f), 2);
		EXPECT_EQ(FMath::RoundToInt(2.5), 3);
		EXPECT_EQ(FMath::RoundToInt(-2.5), -2);
		EXPECT_EQ(FMath::Clamp(7, 0, 5), 5);
		EXPECT_EQ(FMath::Clamp(-1.5, 0.0, 5.0), 0.0);
		EXPECT_EQ(FMath::Max(2, 3), 3);
		EXPECT_EQ(FMath::Min(2.0, -3.0), -3.0);
		EXPECT_EQ(FMath::Abs(-4.5), 4.5);
		EXPECT_DOUBLE_EQ(FMath::Sqrt(2.25), 1.5);
		EXPECT_NEAR(FMath::Atan2(1.0, -1.0), 0.75 * UE_DOUBLE_PI, 1e-15);
		EXPECT_NEAR(FMath::Atan(1.0), 0.25 * UE_DOUBLE_PI, 1e-15);
		EXPECT_NEAR(FMath::DegreesToRadians(180.0), UE_DOUBLE_PI, 1e-15);
		EXPECT_NEAR(FMath::RadiansToDegrees(UE_DOUBLE_PI / 2), 90.0, 1e-12);
		EXPECT_TRUE(FMath::IsNearlyEqual(1.0, 1.0 + 5e-9));
		EXPECT_FALSE(FMath::IsNearlyEqual(1.0, 1.0 + 2e-8));
		EXPECT_TRUE(FMath::IsNearlyEqual(1.0, 1.05, 0.1));
		EXPECT_TRUE(FMath::IsNearlyZero(-5e-9));
		EXPECT_FALSE(FMath::IsNearlyZero(2e-8));
		// FastAsin: within 1e-6 rad of asin, exact at the ends.
		EXPECT_NEAR(FMath::FastAsin(0.5), UE_DOUBLE_PI / 6, 1e-6);
		EXPECT_NEAR(FMath::FastAsin(-1.0), -UE_DOUBLE_PI / 2, 1e-7);
		EXPECT_NEAR(FMath::FastAsin(2.0), UE_DOUBLE_PI / 2, 1e-7);
	}

	TEST(CoreMath_test, RotatorAxisQuaternionAndVectorByHand)
	{
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(180.0), 180.0);
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(-190.0), 170.0);
		EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(360.0), 0.0);
		FRotator Wound(370, -190, 540);
		Wound.Normalize();
		EXPECT_EQ(Wound, FRotator(10, 170, 180));

		const double H = FMath::Sqrt(0.5);
		EXPECT_TRUE(FRotator(0, 90, 0).Quaternion().Equals(FQuat(0, 0, H, H), 1e-15));
		const double S15 = std::sin(FMath::DegreesToRadians(15.0));
		const double C15 = std::cos(FMath::DegreesToRadians(15.0));
		EXPECT_TRUE(FRotator(30, 0, 0).Quaternion().Equals(FQuat(0, -S15, 0, C15), 1e-15));
		EXPECT_TRUE(FRotator(0, 0, 30).Quaternion().Equals(FQuat(-S15, 0, 0, C15), 1e-15));
		EXPECT_TRUE(FQuat(FVector(0, 0, 1), UE_DOUBLE_PI / 2).Equals(FQuat(0, 0, H, H), 1e-15));

		ExpectVectorNear(FRotator(0, 90, 0).Vector(), FVector(0, 1, 0), 1e-15);
		ExpectVectorNear(FRotator(30, 0, 0).Vector(), FVector(std::sqrt(3.0) / 2, 0, 0.5), 1e-15);
		ExpectVectorNear(FRotator(0, 450, 0).Vector(), FVector(0, 1, 0), 1e-15);

		const FMatrix Yaw90 = FRotationMatrix(FRotator(0, 90, 0));
		// 90 degrees through the single-precision degree factor: the cosine is 1.2e-8, not 0.
		ExpectRowNear(Yaw90, 0, 1.2167964475066282e-08, 0.9999999999999999, 0, 0);
		ExpectRowNear(Yaw90, 1, -0.9999999999999999, 1.2167964475066282e-08, 0, 0);
		ExpectRowNear(Yaw90, 2, 0, 0, 1, 0);
		ExpectRowNear(Yaw90, 3, 0, 0, 0, 1);
		ExpectRowNear(FQuatRotationMatrix(FQuat(0, 0, H, H)), 1, -1, 0, 0, 0, 1e-15);
	}

	TEST(CoreMath_test, QuaternionToRotatorUsesExactAsinForDoubleAndFastAsinForFloat)
	{
		// About -Y by 30 degrees: Z*X - W*Y = sin15 cos15 = 0.25 exactly, so the pitch is asin(0.5) = 30.
		// The polynomial FastAsin is 4e-7 degrees off there; FQuat4d must not use it.
		const FQuat AboutMinusY(FVector(0, -1, 0), FMath::DegreesToRadians(30.0));
		EXPECT_NEAR(AboutMinusY.Rotator().Pitch, 30.0, 1e-9);
		const FRotator3f FloatRotator = FQuat4f(AboutMinusY).Rotator();
		EXPECT_NEAR(FloatRotator.Pitch, 30.0f, 1e-3f);
		ExpectRotatorNear(FQuat(FVector(0, 0, 1), FMath::DegreesToRadians(45.0)).Rotator(), 0, 45, 0);
		ExpectRotatorNear(FQuat(FVector(1, 0, 0), FMath::DegreesToRadians(30.0)).Rotator(), 0, 0, -30);

		// The singularity threshold 0.4999995 is sin(pitch)/2 at pitch 89.9190 degrees: 89.91 still
		// round-trips, 89.92 snaps to exactly 90.
		const FRotator Below = FRotator(89.91, 30, 20).Quaternion().Rotator();
		EXPECT_NEAR(Below.Pitch, 89.91, 1e-6);
		EXPECT_NEAR(Below.Yaw, 30.0, 1e-6);
		EXPECT_NEAR(Below.Roll, 20.0, 1e-6);
		for (const double Pitch : {89.92, 89.95, -89.95})
		{
			const FRotator Input(Pitch, 30, 20);
			const FRotator Snapped = Input.Quaternion().Rotator();
			EXPECT_EQ(Snapped.Pitch, Pitch > 0 ? 90.0 : -90.0);
			// At pitch +90 only Yaw - Roll matters, at -90 only Yaw + Roll.
			EXPECT_NEAR(Pitch > 0 ? Snapped.Yaw - Snapped.Roll : Snapped.Yaw + Snapped.Roll, Pitch > 0 ? 10.0 : 50.0, 0.1);
			// The 5.4 form keeps the yaw (UNCONFIRMED for 5.5, see TQuat::Rotator).
			EXPECT_NEAR(Snapped.Yaw, 30.0, 1e-6);
			EXPECT_TRUE(FRotationMatrix(Snapped).Equals(FRotationMatrix(Input), 2e-3));
		}
		for (const FRotator& Sample : {FRotator(10, 20, 30), FRotator(-45, 170, -100), FRotator(60, -120, 179)})
		{
			const FRotator Back = Sample.Quaternion().Rotator();
			EXPECT_NEAR(Back.Pitch, Sample.Pitch, 1e-9);
			EXPECT_NEAR(Back.Yaw, Sample.Yaw, 1e-9);
			EXPECT_NEAR(Back.Roll, Sample.Roll, 1e-9);
		}
	}

	TEST(CoreMath_test, QuaternionProductNormalizeAndInverseByHand)
	{
		const double H = FMath::Sqrt(0.5);
		const FQuat Yaw90(FVector(0, 0, 1), UE_DOUBLE_PI / 2);
		const FQuat Roll90AboutX(FVector(1, 0, 0), UE_DOUBLE_PI / 2);
		// P * Q applies Q first: Y -(about X)-> Z -(about Z)-> Z.
		ExpectVectorNear((Yaw90 * Roll90AboutX).RotateVector(FVector(0, 1, 0)), FVector(0, 0, 1), 1e-15);
		// Q * P applies P first: Y -(about Z)-> -X -(about X)-> -X.
		ExpectVectorNear((Roll90AboutX * Yaw90).RotateVector(FVector(0, 1, 0)), FVector(-1, 0, 0), 1e-15);
		EXPECT_EQ(Yaw90.Inverse(), FQuat(0, 0, -Yaw90.Z, Yaw90.W));
		EXPECT_TRUE((Yaw90 * Yaw90.Inverse()).Equals(FQuat::Identity, 1e-15));
		EXPECT_TRUE(FQuat::MakeFromRotator(FRotator(0, 90, 0)).Equals(FQuat(0, 0, H, H), 1e-15));

		FQuat Long(0, 0, 0, 2);
		Long.Normalize();
		EXPECT_EQ(Long, FQuat::Identity);
		FQuat Scaled(0, 3, 0, 4);
		Scaled.Normalize();
		EXPECT_TRUE(Scaled.Equals(FQuat(0, 0.6, 0, 0.8), 1e-15));
		FQuat Vanishing(1e-5, 0, 0, 0); // squared size 1e-10 < UE_SMALL_NUMBER
		Vanishing.Normalize();
		EXPECT_EQ(Vanishing, FQuat::Identity);
	}

	TEST(CoreMath_test, MatrixInverseTransformsAndAxesByHand)
	{
		const FMatrix Translate(FPlane(1, 0, 0, 0), FPlane(0, 1, 0, 0), FPlane(0, 0, 1, 0), FPlane(1, 2, 3, 1));
		const FMatrix Inverse = Translate.Inverse();
		ExpectRowNear(Inverse, 3, -1, -2, -3, 1);
		ExpectRowNear(Inverse, 0, 1, 0, 0, 0);
		ExpectVectorNear(Translate.InverseFast().GetOrigin(), FVector(-1, -2, -3), 0.0);

		// Scale (2,3,4) then yaw 90: rows (0,2,0), (-3,0,0), (0,0,4); inverse rows (0,-1/3,0), (1/2,0,0), (0,0,1/4).
		const FMatrix InvScaled = ScaledYaw90.Inverse();
		ExpectRowNear(InvScaled, 0, 0, -1.0 / 3, 0, 0);
		ExpectRowNear(InvScaled, 1, 0.5, 0, 0, 0);
		ExpectRowNear(InvScaled, 2, 0, 0, 0.25, 0);
		ExpectRowNear(InvScaled, 3, -10.0, 10.0 / 3, -7.5, 1); // -(10,20,30) through the 3x3 inverse
		EXPECT_DOUBLE_EQ(ScaledYaw90.Determinant(), 24.0);
		ExpectRowNear(ScaledYaw90.GetTransposed(), 0, 0, -3, 0, 10);
		ExpectVectorNear(ScaledYaw90.GetScaledAxis(EAxis::Y), FVector(-3, 0, 0), 0.0);
		ExpectVectorNear(ScaledYaw90.GetOrigin(), FVector(10, 20, 30), 0.0);
		ExpectRotatorNear(ScaledYaw90.Rotator(), 0, 90, 0);
		EXPECT_TRUE(ScaledYaw90.GetMatrixWithoutScale().ToQuat().Equals(FQuat(FVector(0, 0, 1), UE_DOUBLE_PI / 2), 1e-12));

		// Nil, singular and NaN matrices: Inverse gives the identity; so does InverseFast for a singular one (after an ensure).
		const FMatrix Singular(FPlane(1, 2, 3, 0), FPlane(2, 4, 6, 0), FPlane(0, 0, 1, 0), FPlane(0, 0, 0, 1));
		EXPECT_EQ(Singular.Inverse(), FMatrix::Identity);
		EXPECT_EQ(Singular.InverseFast(), FMatrix::Identity);
		FMatrix WithNaN = FMatrix::Identity;
		WithNaN.M[1][2] = std::nan("");
		EXPECT_EQ(WithNaN.Inverse(), FMatrix::Identity);
		const FMatrix Tiny(FPlane(1e-9, 0, 0, 0), FPlane(0, 1e-9, 0, 0), FPlane(0, 0, 1e-9, 0), FPlane(5, 5, 5, 1));
		EXPECT_EQ(Tiny.Inverse(), FMatrix::Identity);

		// Row vectors: positions pick up row 3, directions do not, and the full 4-vector keeps its W.
		ExpectVectorNear(ScaledYaw90.TransformPosition(FVector(1, 1, 1)), FVector(7, 22, 34), 0.0);
		ExpectVectorNear(ScaledYaw90.TransformVector(FVector(1, 1, 1)), FVector(-3, 2, 4), 0.0);
		const FMatrix Projective(FPlane(1, 0, 0, 0), FPlane(0, 1, 0, 0), FPlane(0, 0, 1, 1), FPlane(0, 0, 5, 0));
		const FVector4 Clip = Projective.TransformFVector4(FVector4(1, 2, 3, 1));
		EXPECT_EQ(Clip, FVector4(1, 2, 8, 3));
		EXPECT_DOUBLE_EQ(Projective.TransformPosition(FVector(1, 2, 3)).W, 3.0);
		ExpectVectorNear(Projective.TransformPosition(FVector(1, 2, 3)), FVector(1, 2, 8), 0.0); // no divide by W

		FMatrix Edited = FMatrix::Identity;
		Edited.SetAxis(1, FVector(0, 0, 2));
		ExpectRowNear(Edited, 1, 0, 0, 2, 0);
		// A * B applies A first: scale 2 then translate 5 moves 1 to 7; the other order to 12.
		const FMatrix Scale2 = FScaleMatrix(FVector(2, 2, 2));
		const FMatrix Move5 = FTranslationMatrix(FVector(5, 0, 0));
		EXPECT_DOUBLE_EQ(FVector((Scale2 * Move5).TransformPosition(FVector(1, 0, 0))).X, 7.0);
		EXPECT_DOUBLE_EQ(FVector((Move5 * Scale2).TransformPosition(FVector(1, 0, 0))).X, 12.0);
		EXPECT_TRUE(FRotationTranslationMatrix(FRotator(0, 90, 0), FVector(10, 20, 30)).Equals(FRotationMatrix(FRotator(0, 90, 0)) * FTranslationMatrix(FVector(10, 20, 30)), 1e-12));
	}

	TEST(CoreMath_test, QuatFromMatrixNeedsUnitAxes)
	{
		const double H = FMath::Sqrt(0.5);
		const FMatrix Yaw90(FPlane(0, 1, 0, 0), FPlane(-1, 0, 0, 0), FPlane(0, 0, 1, 0), FPlane(0, 0, 0, 1));
		EXPECT_TRUE(FQuat(Yaw90).Equals(FQuat(0, 0, H, H), 1e-15));
		// Trace -1 (a half turn about Z) goes through the largest-diagonal branch.
		const FMatrix HalfTurn(FPlane(-1, 0, 0, 0), FPlane(0, -1, 0, 0), FPlane(0, 0, 1, 0), FPlane(0, 0, 0, 1));
		EXPECT_TRUE(FQuat(HalfTurn).Equals(FQuat(0, 0, 1, 0), 1e-15));
		// An axis within UE_KINDA_SMALL_NUMBER of zero, or (development builds) an axis of length 2: identity.
		const FMatrix Flat(FPlane(0, 1, 0, 0), FPlane(-5e-5, 0, 0, 0), FPlane(0, 0, 1, 0), FPlane(0, 0, 0, 1));
		EXPECT_EQ(FQuat(Flat), FQuat::Identity);
		EXPECT_EQ(FQuat(ScaledYaw90), FQuat::Identity);
	}

	TEST(CoreMath_test, TransformFromMatrixByHand)
	{
		const double H = FMath::Sqrt(0.5);
		const FTransform Scaled(ScaledYaw90);
		ExpectVectorNear(Scaled.GetScale3D(), FVector(2, 3, 4), 1e-15);
		ExpectVectorNear(Scaled.GetTranslation(), FVector(10, 20, 30), 0.0);
		ExpectVectorNear(Scaled.GetLocation(), FVector(10, 20, 30), 0.0);
		EXPECT_TRUE(Scaled.GetRotation().Equals(FQuat(0, 0, H, H), 1e-15));
		ExpectRotatorNear(Scaled.Rotator(), 0, 90, 0);
		ExpectVectorNear(Scaled.TransformPosition(FVector(1, 1, 1)), FVector(7, 22, 34), 1e-12);

		// ToMatrixWithScale gives back the rows; from components too.
		const FMatrix Back = FTransform(FRotator(0, 90, 0), FVector(10, 20, 30), FVector(2, 3, 4)).ToMatrixWithScale();
		for (int32 Row = 0; Row < 4; ++Row)
		{
			ExpectRowNear(Back, Row, ScaledYaw90.M[Row][0], ScaledYaw90.M[Row][1], ScaledYaw90.M[Row][2], ScaledYaw90.M[Row][3], 1e-15);
		}
		ExpectRowNear(Scaled.ToMatrixNoScale(), 1, -1, 0, 0, 0, 1e-15);
		EXPECT_TRUE(FTransform(FQuat(0, 0, H, H), FVector(10, 20, 30), FVector(2, 3, 4)).Equals(Scaled, 1e-12));

		// Mirror (row 0 negated): determinant -24 < 0, so Scale.X is negated and row 0 flipped back.
		const FMatrix Mirrored(FPlane(0, -2, 0, 0), FPlane(-3, 0, 0, 0), FPlane(0, 0, 4, 0), FPlane(10, 20, 30, 1));
		const FTransform MirroredTransform(Mirrored);
		ExpectVectorNear(MirroredTransform.GetScale3D(), FVector(-2, 3, 4), 1e-15);
		ExpectRotatorNear(MirroredTransform.Rotator(), 0, 90, 0);
		EXPECT_TRUE(MirroredTransform.ToMatrixWithScale().Equals(Mirrored, 1e-12));

		// A zero row gives scale 0 on that axis, and no rotation can be recovered: identity.
		const FMatrix ZeroRow(FPlane(0, 2, 0, 0), FPlane(0, 0, 0, 0), FPlane(0, 0, 4, 0), FPlane(1, 2, 3, 1));
		const FTransform Collapsed(ZeroRow);
		ExpectVectorNear(Collapsed.GetScale3D(), FVector(2, 0, 4), 0.0);
		EXPECT_EQ(Collapsed.GetRotation(), FQuat::Identity);
		ExpectVectorNear(Collapsed.GetTranslation(), FVector(1, 2, 3), 0.0);

		// ExtractScaling: squared length 1e-10 is not above UE_SMALL_NUMBER (scale 0, row kept), 4e-8 is.
		FMatrix Small(FPlane(1e-5, 0, 0, 0), FPlane(0, 2e-4, 0, 0), FPlane(0, 0, 3, 0), FPlane(0, 0, 0, 1));
		const FVector Extracted = Small.ExtractScaling();
		EXPECT_EQ(Extracted.X, 0.0);
		EXPECT_NEAR(Extracted.Y, 2e-4, 1e-18);
		EXPECT_EQ(Extracted.Z, 3.0);
		EXPECT_EQ(Small.M[0][0], 1e-5);
		EXPECT_NEAR(Small.M[1][1], 1.0, 1e-15);
		EXPECT_EQ(Small.M[2][2], 1.0);
	}

	TEST(CoreMath_test, TransformInverseAndRelativeByHand)
	{
		const FTransform A(FRotator(0, 90, 0), FVector(10, 0, 0), FVector(2, 2, 2));
		// Inverse: scale 1/2, yaw -90, translation -(yaw -90 of (5, 0, 0)) = (0, 5, 0).
		const FTransform InvA = A.Inverse();
		ExpectVectorNear(InvA.GetScale3D(), FVector(0.5, 0.5, 0.5), 0.0);
		ExpectVectorNear(InvA.GetTranslation(), FVector(0, 5, 0), 1e-12);
		ExpectRotatorNear(InvA.Rotator(), 0, -90, 0);
		ExpectVectorNear(A.TransformPosition(FVector(1, 0, 0)), FVector(10, 2, 0), 1e-12);
		ExpectVectorNear(InvA.TransformPosition(FVector(10, 2, 0)), FVector(1, 0, 0), 1e-12);
		EXPECT_TRUE(FTransform(FRotator(0, 90, 0), FVector(1, 2, 3), FVector(0, 0, 0)).Inverse().Equals(FTransform::Identity, 0.0));

		// A relative to B (same rotation): rotation identity, scale (2,2,2)/(2,4,1),
		// translation = (yaw -90 of (10,-5,0)) / (2,4,1) = (-5,-10,0) / (2,4,1).
		const FTransform B(FRotator(0, 90, 0), FVector(0, 5, 0), FVector(2, 4, 1));
		const FTransform Relative = A.GetRelativeTransform(B);
		EXPECT_TRUE(Relative.GetRotation().Equals(FQuat::Identity, 1e-15));
		ExpectVectorNear(Relative.GetScale3D(), FVector(1, 0.5, 2), 1e-15);
		ExpectVectorNear(Relative.GetTranslation(), FVector(-2.5, -2.5, 0), 1e-12);
		FTransform InPlace = A;
		InPlace.SetToRelativeTransform(B);
		EXPECT_TRUE(InPlace.Equals(Relative, 1e-12));

		// Negative scale goes through matrices: rows of A * B^-1 are (0,1,0), (1,0,0), (0,0,1), (2,-1,3);
		// the desired scale (-1,1,1) flips row 0 back to (0,-1,0), which is yaw -90.
		const FTransform Mirror(FQuat::Identity, FVector(1, 2, 3), FVector(-1, 1, 1));
		const FTransform Yaw90(FRotator(0, 90, 0));
		const FTransform MirrorRelative = Mirror.GetRelativeTransform(Yaw90);
		ExpectVectorNear(MirrorRelative.GetScale3D(), FVector(-1, 1, 1), 0.0);
		ExpectRotatorNear(MirrorRelative.Rotator(), 0, -90, 0);
		ExpectVectorNear(MirrorRelative.GetTranslation(), FVector(2, -1, 3), 1e-12);
		ExpectVectorNear(MirrorRelative.TransformPosition(FVector(1, 0, 0)), FVector(2, 0, 3), 1e-12);

		// A parent whose rotation is not normalised gives the identity.
		const FTransform Unnormalised(FQuat(0, 0, 0, 2), FVector(1, 1, 1));
		EXPECT_TRUE(A.GetRelativeTransform(Unnormalised).Equals(FTransform::Identity, 0.0));
		EXPECT_TRUE(Mirror.GetRelativeTransform(Unnormalised).Equals(FTransform::Identity, 0.0));

		// Composition: A then Yaw90 moves (1,0,0) to (10,2,0) then to (-2,10,0).
		ExpectVectorNear((A * Yaw90).TransformPosition(FVector(1, 0, 0)), FVector(-2, 10, 0), 1e-12);
	}

	TEST(CoreMath_test, RotationMatrixTurnsDegreesIntoRadiansWithTheSinglePrecisionFactor)
	{
		// The C libraries' sine and cosine may differ in the last bits (as the engine's own vector library may):
		// the values are compared to within a few units of the twelfth significant digit.
		const auto ExpectClose = [](double Actual, double Expected) { EXPECT_NEAR(Actual, Expected, std::abs(Expected) * 1e-12); };
		// The engine's vectorised FRotationMatrix multiplies the angles by DEG_TO_RAD = UE_PI / 180.f, widened:
		// 90 degrees become 1.5707963146 rad, 1.2e-8 short of pi / 2, so the "zero" cosine is 1.2e-8.
		const FMatrix Roll90 = FRotationMatrix(FRotator(0, 0, 90));
		ExpectClose(Roll90.M[1][1], 1.2167964475066282e-08);
		ExpectClose(Roll90.M[1][2], -0.9999999999999999);
		ExpectClose(Roll90.M[2][1], 0.9999999999999999);
		ExpectClose(Roll90.M[2][2], 1.2167964475066282e-08);
		ExpectClose(FRotationMatrix(FRotator(0, 90, 0)).M[0][0], 1.2167964475066282e-08);
		ExpectClose(FRotationMatrix(FRotator(90, 0, 0)).M[0][0], 1.2167964475066282e-08);

		// FMatrix::Rotator measures its pitch and yaw, then rebuilds a matrix with the same factor for the roll.
		const FRotator Back = FRotationMatrix(FRotator(10, 20, 30)).Rotator();
		EXPECT_NEAR(Back.Pitch, 9.999999922536334, 1e-12);
		EXPECT_NEAR(Back.Yaw, 19.999999845072665, 1e-12);
		EXPECT_NEAR(Back.Roll, 29.999999740706148, 1e-12);
		const FRotator Roll90Back = Roll90.Rotator();
		EXPECT_EQ(Roll90Back.Pitch, 0.0);
		EXPECT_EQ(Roll90Back.Yaw, 0.0);
		EXPECT_NEAR(Roll90Back.Roll, 89.99999930282699, 1e-12);
	}

	TEST(CoreMath_test, RotatorQuaternionFollowsTheEnginesVectorisedArithmetic)
	{
		const FQuat Quat = FRotator(10, 20, 30).Quaternion();
		EXPECT_DOUBLE_EQ(Quat.X, -0.2392983377447303);
		EXPECT_DOUBLE_EQ(Quat.Y, -0.12767944069578063);
		EXPECT_DOUBLE_EQ(Quat.Z, 0.14487812541736914);
		EXPECT_DOUBLE_EQ(Quat.W, 0.9515485246437885);
		// Half angles from the double DEG_TO_RAD_HALF, every term formed as C * (A * B); with glibc's sine and
		// cosine, (C * A) * B rounds Z and W of this rotator differently.
		const double Half = (UE_DOUBLE_PI / 180.0) * 0.5;
		const double SP = std::sin(10 * Half), CP = std::cos(10 * Half);
		const double SY = std::sin(20 * Half), CY = std::cos(20 * Half);
		const double SR = std::sin(30 * Half), CR = std::cos(30 * Half);
		EXPECT_EQ(Quat.X, CR * (SP * SY) - SR * (CP * CY));
		EXPECT_EQ(Quat.Y, -(CR * (SP * CY)) - SR * (CP * SY));
		EXPECT_EQ(Quat.Z, CR * (CP * SY) - SR * (SP * CY));
		EXPECT_EQ(Quat.W, CR * (CP * CY) + SR * (SP * SY));

		// Development builds turn a result with a NaN into the identity.
		EXPECT_EQ(FRotator(std::nan(""), 0, 0).Quaternion(), FQuat::Identity);
		EXPECT_EQ(FRotator(0, std::numeric_limits<double>::infinity(), 0).Quaternion(), FQuat::Identity);
	}

	TEST(CoreMath_test, FloatQuaternionToRotatorUsesTheFloatDegreeFactor)
	{
		// Z*X - W*Y = 0.25: the pitch is FastAsin(0.5f) = 0.52359879f times 180.f / UE_PI = 57.2957764f, which is
		// 30 exactly in float; the double factor rounded to float (57.2957802f) would give 30.0000019.
		const FRotator3f Rotator = FQuat4f(0, -0.5f, 0, 0.5f).Rotator();
		EXPECT_EQ(Rotator.Pitch, 30.0f);
		EXPECT_EQ(Rotator.Yaw, 0.0f);
		EXPECT_EQ(Rotator.Roll, 0.0f);
	}
}
