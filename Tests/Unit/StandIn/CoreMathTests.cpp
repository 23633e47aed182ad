// The stand-in's math against the engine's conventions: left-handed Z-up rotators, quaternion and
// matrix conversions, FTransform built from a matrix with scale, inverses and relative transforms.
#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Math/RotationMatrix.h"
#include "Math/Transform.h"

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
		EXPECT_TRUE(FQuatRotationMatrix(Quat).Equals(FRotationMatrix(Rotator), 1e-9));
		EXPECT_TRUE(FQuat(FRotationMatrix(Rotator)).Equals(Quat, 1e-9));
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
		EXPECT_TRUE(FTransform(Rotation, Translation, Scale).ToMatrixWithScale().Equals(M, 1e-9));

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
}
