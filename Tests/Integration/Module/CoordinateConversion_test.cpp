// The Blueprint library's conversions between Unreal's coordinates and the host's: host X, Y, Z are Unreal
// X, Z, -Y, the host's unit is 100 Unreal units (0.01 towards the host as a single-precision constant), and the
// host's Euler angles are applied in a chosen order. The expected numbers are those of the engine's own math
// (single-precision pi in the half angles, the engine's quaternion and matrix conversions), so a conversion
// that is only "nearly" right shows up here.
#include "CoreMinimal.h"
#include "Math/RotationMatrix.h"
#include "UObject/Class.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

#include "KorvatBPEvent.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace
{
using Library = UKorvatBPFunctionLibrary;

constexpr double AngleTolerance = 1e-9; // degrees: the engine's arithmetic, up to the last bits of sin, cos, atan2

void ExpectVectorNear(const FVector& Actual, double X, double Y, double Z, double Tolerance)
{
	EXPECT_NEAR(Actual.X, X, Tolerance);
	EXPECT_NEAR(Actual.Y, Y, Tolerance);
	EXPECT_NEAR(Actual.Z, Z, Tolerance);
}

void ExpectRotatorNear(const FRotator& Actual, double Pitch, double Yaw, double Roll, double Tolerance = AngleTolerance)
{
	EXPECT_NEAR(Actual.Pitch, Pitch, Tolerance);
	EXPECT_NEAR(Actual.Yaw, Yaw, Tolerance);
	EXPECT_NEAR(Actual.Roll, Roll, Tolerance);
}

const std::array<std::pair<EulerRotationOrder, const char*>, 6> AllOrders = {{
	{EulerRotationOrder::ZXY, "ZXY"},
	{EulerRotationOrder::ZYX, "ZYX"},
	{EulerRotationOrder::YZX, "YZX"},
	{EulerRotationOrder::YXZ, "YXZ"},
	{EulerRotationOrder::XYZ, "XYZ"},
	{EulerRotationOrder::XZY, "XZY"},
}};

/**
 * V turned by the host angles one axis at a time, in the order's letters: host X about Unreal +X, host Y
 * about Unreal +Z, host Z about Unreal -Y, each by the exact angle.
 */
FVector RotateAxisByAxis(FVector V, const FVector& HostAngles, const char* Order)
{
	for (const char* Letter = Order; *Letter != '\0'; ++Letter)
	{
		switch (*Letter)
		{
		case 'X': V = FQuat(FVector(1, 0, 0), FMath::DegreesToRadians(HostAngles.X)).RotateVector(V); break;
		case 'Y': V = FQuat(FVector(0, 0, 1), FMath::DegreesToRadians(HostAngles.Y)).RotateVector(V); break;
		default: V = FQuat(FVector(0, -1, 0), FMath::DegreesToRadians(HostAngles.Z)).RotateVector(V); break;
		}
	}
	return V;
}

UFunction* LibraryFunction(const TCHAR* Name)
{
	return Library::StaticClass()->FindFunctionByName(FName(Name));
}

/**
 * A reflected call's parameter block, filled and read by parameter name, run through ProcessEvent as the
 * Blueprint VM runs it. Only for parameter types without destructors (vectors, enums, transforms).
 */
class FReflectedCall
{
public:
	explicit FReflectedCall(const TCHAR* Name)
		: Function(LibraryFunction(Name))
	{
	}

	bool IsReady() const { return Function != nullptr && Function->ParmsSize <= Storage.size(); }

	template <typename ValueType>
	void Set(const TCHAR* Name, const ValueType& Value)
	{
		static_assert(std::is_trivially_destructible_v<ValueType>);
		new (Address(Name)) ValueType(Value);
	}

	template <typename ValueType>
	const ValueType& Get(const TCHAR* Name)
	{
		static_assert(std::is_trivially_destructible_v<ValueType>);
		return *static_cast<const ValueType*>(Address(Name));
	}

	void Run() { GetMutableDefault<Library>()->ProcessEvent(Function, Storage.data()); }

private:
	void* Address(const TCHAR* Name)
	{
		const FProperty* Property = Function->FindPropertyByName(FName(Name));
		check(Property != nullptr && Property->HasAnyPropertyFlags(CPF_Parm));
		return Property->ContainerPtrToValuePtr<void>(Storage.data());
	}

	UFunction* Function;
	alignas(16) std::array<std::byte, 512> Storage{};
};

TEST(CoordinateConversion, PositionsChangeAxesAndUnits)
{
	const FVector ToUnreal = Library::KorvatToUE4_Position(FVector(1, 2, 3));
	EXPECT_EQ(ToUnreal, FVector(100, -300, 200));

	// 0.01 as the host's float, applied in double: a metre is 0.9999999776 host units, not 1.
	const FVector ToHost = Library::UE4_ToKorvatPosition(FVector(100, -300, 200));
	EXPECT_DOUBLE_EQ(ToHost.X, 0.9999999776482582);
	EXPECT_DOUBLE_EQ(ToHost.Y, 1.9999999552965164);
	EXPECT_DOUBLE_EQ(ToHost.Z, 2.9999999329447746);
	EXPECT_NE(ToHost.X, 1.0);

	// Each Unreal axis lands on its own host axis, with the sign of Unreal Y turned.
	EXPECT_EQ(Library::UE4_ToKorvatPosition(FVector(0, 250, 0)), FVector(0, 0, -2.4999999441206455));
	EXPECT_EQ(Library::UE4_ToKorvatPosition(FVector(0, 0, -50)), FVector(0, -0.4999999888241291, 0));
	EXPECT_EQ(Library::KorvatToUE4_Position(FVector(0, 0, -0.25)), FVector(0, 25, 0));
}

TEST(CoordinateConversion, ScalesSwapYAndZWithoutUnitOrSign)
{
	EXPECT_EQ(Library::KorvatToUE4_Scale(FVector(1, 2, 3)), FVector(1, 3, 2));
	EXPECT_EQ(Library::UE4_ToKorvatScale(FVector(1, 3, 2)), FVector(1, 2, 3));
	EXPECT_EQ(Library::UE4_ToKorvatScale(FVector(-2, 0.5, 4)), FVector(-2, 4, 0.5));
	EXPECT_EQ(Library::KorvatToUE4_Scale(FVector(0, -1, 7)), FVector(0, 7, -1));
}

TEST(CoordinateConversion, ASingleHostAngleIsTheSameRotatorInEveryOrder)
{
	// The half angles use single-precision pi, 2.8e-8 larger than pi: 45 degrees come out as 45.0000013.
	for (const auto& [Order, Letters] : AllOrders)
	{
		SCOPED_TRACE(Letters);
		ExpectRotatorNear(Library::KorvatToUE4_Rotation(FVector(0, 45, 0), Order), 0, 45.00000125223908, 0);
		// Host Z is Unreal -Y, about which a rotator's pitch turns.
		ExpectRotatorNear(Library::KorvatToUE4_Rotation(FVector(0, 0, 30), Order), 30.000000834826057, 0, 0);
		// Host X is Unreal +X; a rotator's roll turns about -X.
		ExpectRotatorNear(Library::KorvatToUE4_Rotation(FVector(30, 0, 0), Order), 0, 0, -30.000000834826057);
	}
}

TEST(CoordinateConversion, EachOrderAppliesItsAxesFirstLetterFirst)
{
	const FVector HostAngles(17, 41, -23);
	struct FExpected
	{
		double Pitch, Yaw, Roll;
	};
	const FExpected Expected[] = {
		{-21.941396108493294, 48.07448913332771, -18.373066551386152}, // ZXY
		{-11.367025653670426, 44.877787766203994, -13.007026198001192}, // ZYX
		{-5.1745489837448595, 45.7686977410027, -27.88533304144384}, // YZX
		{-6.795364607585341, 39.185335642288734, -27.561978577619904}, // YXZ
		{-17.150853182180068, 43.3608265326729, -32.56148623940921}, // XYZ
		{-23.00000064003331, 41.00000114092894, -17.000000473068102}, // XZY
	};
	std::vector<FRotator> Results;
	for (size_t Index = 0; Index < AllOrders.size(); ++Index)
	{
		const auto& [Order, Letters] = AllOrders[Index];
		SCOPED_TRACE(Letters);
		const FRotator Result = Library::KorvatToUE4_Rotation(HostAngles, Order);
		ExpectRotatorNear(Result, Expected[Index].Pitch, Expected[Index].Yaw, Expected[Index].Roll);
		// The rotator turns a vector as the three single-axis turns do, one after the other.
		for (const FVector& Probe : {FVector(1, 2, 3), FVector(-4, 0.5, 2)})
		{
			const FVector ByRotator = Result.RotateVector(Probe);
			const FVector ByAxes = RotateAxisByAxis(Probe, HostAngles, Letters);
			ExpectVectorNear(ByRotator, ByAxes.X, ByAxes.Y, ByAxes.Z, 1e-6);
		}
		Results.push_back(Result);
	}
	for (size_t First = 0; First < Results.size(); ++First)
	{
		for (size_t Second = First + 1; Second < Results.size(); ++Second)
		{
			EXPECT_FALSE(Results[First].Equals(Results[Second], 1.0)) << AllOrders[First].second << " " << AllOrders[Second].second;
		}
	}
	// X, then Z (Unreal -Y), then Y (Unreal Z) is a rotator's own roll, pitch, yaw sequence.
	ExpectRotatorNear(Results[5], -23, 41, -17, 2e-6);
}

TEST(CoordinateConversion, UnrealToHostRotationInvertsTheXYZOrder)
{
	const FRotator Unreal = Library::KorvatToUE4_Rotation(FVector(10, 20, 30), EulerRotationOrder::XYZ);
	ExpectRotatorNear(Unreal, 28.024321335405773, 22.79587804954876, 1.1702298118336887);
	const FVector Back = Library::UE4_ToKorvatRotation(Unreal, LimitedEulerRotationOrder::XYZ);
	// Back within a millionth of a degree: single-precision pi on the way in, the engine's single-precision
	// degrees-to-radians factor in the rotation matrices on the way out.
	ExpectVectorNear(Back, 10.000000733555682, 20.000000445678445, 30.000000576047793, AngleTolerance);
	ExpectVectorNear(Back, 10, 20, 30, 1e-6);

	// Single axes: Unreal yaw is host Y, pitch host Z, roll minus host X.
	ExpectVectorNear(Library::UE4_ToKorvatRotation(FRotator(0, 45, 0)), 0, 45, 0, 1e-6);
	ExpectVectorNear(Library::UE4_ToKorvatRotation(FRotator(30, 0, 0)), 0, 0, 30, 1e-6);
	ExpectVectorNear(Library::UE4_ToKorvatRotation(FRotator(0, 0, -30)), 30, 0, 0, 1e-6);
}

TEST(CoordinateConversion, UnrealToHostRotationIgnoresItsOrder)
{
	const FRotator Unreal(-35, 120, 75);
	const FVector AsXYZ = Library::UE4_ToKorvatRotation(Unreal, LimitedEulerRotationOrder::XYZ);
	for (const uint8 Raw : {uint8(1), uint8(4), uint8(255)})
	{
		EXPECT_EQ(Library::UE4_ToKorvatRotation(Unreal, static_cast<LimitedEulerRotationOrder>(Raw)), AsXYZ) << int(Raw);
	}
	EXPECT_EQ(Library::UE4_ToKorvatRotation(Unreal), AsXYZ);
}

TEST(CoordinateConversion, AnOrderOutsideTheEnumGivesNoRotation)
{
	for (const uint8 Raw : {uint8(6), uint8(200), uint8(255)})
	{
		SCOPED_TRACE(int(Raw));
		const EulerRotationOrder Invalid = static_cast<EulerRotationOrder>(Raw);
		EXPECT_EQ(Library::KorvatToUE4_Rotation(FVector(17, 41, -23), Invalid), FRotator::ZeroRotator);
		// The transform still converts its position and scale.
		const FTransform Transform = Library::KorvatToUE4_Transform(FVector(1, 2, 3), FVector(17, 41, -23), Invalid, FVector(1, 2, 3));
		EXPECT_EQ(Transform.GetRotation(), FQuat::Identity);
		EXPECT_EQ(Transform.GetTranslation(), FVector(100, -300, 200));
		EXPECT_EQ(Transform.GetScale3D(), FVector(1, 3, 2));
	}
}

TEST(CoordinateConversion, TransformsComposeThePartConversions)
{
	const FVector Position(0.5, -1.25, 4);
	const FVector Angles(17, 41, -23);
	const FVector Scale(2, 3, 4);
	for (const auto& [Order, Letters] : AllOrders)
	{
		SCOPED_TRACE(Letters);
		const FTransform Transform = Library::KorvatToUE4_Transform(Position, Angles, Order, Scale);
		EXPECT_EQ(Transform.GetTranslation(), Library::KorvatToUE4_Position(Position));
		EXPECT_EQ(Transform.GetScale3D(), Library::KorvatToUE4_Scale(Scale));
		// The rotation goes through the rotator and back to a quaternion, as the engine's FRotator::Quaternion makes it.
		EXPECT_EQ(Transform.GetRotation(), Library::KorvatToUE4_Rotation(Angles, Order).Quaternion());
	}

	// The default order is ZYX and the default scale one.
	const FTransform Defaulted = Library::KorvatToUE4_Transform(Position, Angles);
	EXPECT_EQ(Defaulted.GetScale3D(), FVector(1, 1, 1));
	EXPECT_EQ(Defaulted.GetRotation(), Library::KorvatToUE4_Transform(Position, Angles, EulerRotationOrder::ZYX).GetRotation());
	EXPECT_EQ(Library::KorvatToUE4_Rotation(Angles), Library::KorvatToUE4_Rotation(Angles, EulerRotationOrder::ZYX));

	const FTransform Unreal(FRotator(-35, 120, 75), FVector(120, -40, 310), FVector(1.5, 2, 0.5));
	FVector OutPosition, OutRotation, OutScale;
	Library::UE4_ToKorvatTransform(Unreal, OutPosition, OutRotation, OutScale);
	EXPECT_EQ(OutPosition, Library::UE4_ToKorvatPosition(Unreal.GetTranslation()));
	EXPECT_EQ(OutScale, FVector(1.5, 0.5, 2));
	EXPECT_EQ(OutRotation, Library::UE4_ToKorvatRotation(Unreal.GetRotation().Rotator()));

	// There and back with the XYZ order.
	const FTransform FromHost = Library::KorvatToUE4_Transform(FVector(1, 2, 3), FVector(10, 20, 30), EulerRotationOrder::XYZ, FVector(1, 2, 3));
	Library::UE4_ToKorvatTransform(FromHost, OutPosition, OutRotation, OutScale);
	ExpectVectorNear(OutPosition, 1, 2, 3, 1e-7);
	ExpectVectorNear(OutRotation, 10, 20, 30, 1e-6);
	EXPECT_EQ(OutScale, FVector(1, 2, 3));
}

TEST(CoordinateConversion, ReflectedFunctionsCarryTheirDisplayNamesAndDefaults)
{
	const std::pair<const TCHAR*, const TCHAR*> DisplayNames[] = {
		{TEXT("UE4_ToKorvatPosition"), TEXT("Unreal to Korvat Position")},
		{TEXT("UE4_ToKorvatRotation"), TEXT("Unreal to Korvat Rotation")},
		{TEXT("UE4_ToKorvatScale"), TEXT("Unreal to Korvat Scale")},
		{TEXT("UE4_ToKorvatTransform"), TEXT("Unreal to Korvat Transform")},
		{TEXT("KorvatToUE4_Position"), TEXT("Korvat to Unreal Position")},
		{TEXT("KorvatToUE4_Rotation"), TEXT("Korvat to Unreal Rotation")},
		{TEXT("KorvatToUE4_Scale"), TEXT("Korvat to Unreal Scale")},
		{TEXT("KorvatToUE4_Transform"), TEXT("Korvat to Unreal Transform")},
	};
	for (const auto& [Name, DisplayName] : DisplayNames)
	{
		SCOPED_TRACE(TCHAR_TO_UTF8(Name));
		const UFunction* Function = LibraryFunction(Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_EQ(Function->GetMetaData(TEXT("DisplayName")), DisplayName);
		EXPECT_TRUE(Function->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_BlueprintPure));
		EXPECT_EQ(Function->GetMetaData(TEXT("Category")), TEXT("Korvat"));
	}
	EXPECT_EQ(LibraryFunction(TEXT("UE4_ToKorvatRotation"))->GetMetaData(TEXT("CPP_Default_korvatRotationOrder")), TEXT("XYZ"));
	EXPECT_EQ(LibraryFunction(TEXT("UE4_ToKorvatTransform"))->GetMetaData(TEXT("CPP_Default_korvatRotationOrder")), TEXT("XYZ"));
	EXPECT_EQ(LibraryFunction(TEXT("KorvatToUE4_Rotation"))->GetMetaData(TEXT("CPP_Default_korvatRotationOrder")), TEXT("ZYX"));
	const UFunction* ToTransform = LibraryFunction(TEXT("KorvatToUE4_Transform"));
	EXPECT_EQ(ToTransform->GetMetaData(TEXT("CPP_Default_korvatRotationOrder")), TEXT("ZYX"));
	EXPECT_EQ(ToTransform->GetMetaData(TEXT("CPP_Default_scale")), TEXT("1.000000,1.000000,1.000000"));
	EXPECT_FALSE(ToTransform->HasMetaData(TEXT("CPP_Default_position")));
}

TEST(CoordinateConversion, ABlueprintCallPassesTheParametersInTheirOrder)
{
	FReflectedCall Call(TEXT("KorvatToUE4_Transform"));
	ASSERT_TRUE(Call.IsReady());
	Call.Set(TEXT("position"), FVector(1, 2, 3));
	Call.Set(TEXT("rotation"), FVector(17, 41, -23));
	Call.Set(TEXT("korvatRotationOrder"), EulerRotationOrder::XZY);
	Call.Set(TEXT("scale"), FVector(4, 5, 6));
	Call.Run();
	const FTransform& Result = Call.Get<FTransform>(TEXT("ReturnValue"));
	EXPECT_EQ(Result.GetTranslation(), FVector(100, -300, 200));
	EXPECT_EQ(Result.GetScale3D(), FVector(4, 6, 5));
	ExpectRotatorNear(Result.Rotator(), -23.00000064003331, 41.00000114092894, -17.000000473068102, 1e-6);

	FReflectedCall ToHost(TEXT("UE4_ToKorvatTransform"));
	ASSERT_TRUE(ToHost.IsReady());
	ToHost.Set(TEXT("transform"), FTransform(FQuat::Identity, FVector(100, -300, 200), FVector(1, 3, 2)));
	ToHost.Run();
	ExpectVectorNear(ToHost.Get<FVector>(TEXT("position")), 0.9999999776482582, 1.9999999552965164, 2.9999999329447746, 1e-15);
	ExpectVectorNear(ToHost.Get<FVector>(TEXT("rotation")), 0, 0, 0, 1e-6);
	EXPECT_EQ(ToHost.Get<FVector>(TEXT("scale")), FVector(1, 2, 3));
}
} // namespace
