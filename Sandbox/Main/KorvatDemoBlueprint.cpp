#include "KorvatDemoBlueprint.h"

#include "KorvatBPEvent.h"
#include "UObject/Class.h"

namespace KorvatDemoBlueprint
{
template <typename ValueType>
struct FGetParms
{
	FString nodeName;
	FString fieldName;
	bool isAvailable = false;
	ValueType ReturnValue{};
};

template <typename ValueType>
struct FSendParms
{
	FString nodeName;
	FString fieldName;
	ValueType value;
};

FString Describe(int32 Value) { return FString::Printf(TEXT("%d"), Value); }
FString Describe(float Value) { return FString::Printf(TEXT("%g"), Value); }
FString Describe(bool Value) { return Value ? TEXT("true") : TEXT("false"); }
FString Describe(const FString& Value) { return TEXT("\"") + Value + TEXT("\""); }

template <typename ElementType>
FString Describe(const TArray<ElementType>& Values)
{
	FString Text = TEXT("[");
	for (int32 Index = 0; Index < Values.Num(); ++Index)
	{
		Text += (Index > 0 ? TEXT(", ") : TEXT("")) + Describe(Values[Index]);
	}
	return Text + TEXT("]");
}
} // namespace KorvatDemoBlueprint

template <typename ParmsType>
void UKorvatDemoBlueprint::CallLibrary(const TCHAR* FunctionName, ParmsType& Parms)
{
	UObject* Library = GetMutableDefault<UKorvatBPFunctionLibrary>();
	UFunction* Function = Library->FindFunctionChecked(FName(FunctionName));
	// The block ends with the last parameter; the C++ structure may add padding after it.
	check(Function->ParmsSize <= sizeof(ParmsType));
	Library->ProcessEvent(Function, &Parms);
}

void UKorvatDemoBlueprint::OnDoorOpen(int32 Argument)
{
	Print(FString::Printf(TEXT("custom event OnDoorOpen ran: the host called Door.Open with %d"), Argument));
}

void UKorvatDemoBlueprint::RegisterMethods()
{
	struct
	{
		FString node;
		FString method;
		FKorvatEventCallback calledEvent;
	} Parms{TEXT("Door"), TEXT("Open"), FKorvatEventCallback()};
	Parms.calledEvent.BindUFunction(this, FName(TEXT("OnDoorOpen")));
	CallLibrary(TEXT("RegisterKorvatMethod"), Parms);
	Print(TEXT("RegisterKorvatMethod(Door, Open) bound to OnDoorOpen"));
}

void UKorvatDemoBlueprint::ReadHostValues()
{
	using namespace KorvatDemoBlueprint;
	auto Read = [this](const TCHAR* FunctionName, const TCHAR* Field, auto Default) {
		FGetParms<decltype(Default)> Parms{TEXT("Demo"), Field, false, Default};
		CallLibrary(FunctionName, Parms);
		Print(FString::Printf(TEXT("%s(Demo, %s) = %s%s"), FunctionName, Field, *Describe(Parms.ReturnValue),
			Parms.isAvailable ? TEXT("") : TEXT(" (not available)")));
	};
	Read(TEXT("GetKorvatIntValueByNodeName"), TEXT("Count"), int32(0));
	Read(TEXT("GetKorvatFloatValueByNodeName"), TEXT("Speed"), 0.0f);
	Read(TEXT("GetKorvatStringValueByNodeName"), TEXT("Title"), FString());
	Read(TEXT("GetKorvatBoolValueByNodeName"), TEXT("Enabled"), false);
	Read(TEXT("GetKorvatIntArrayByNodeName"), TEXT("Levels"), TArray<int32>());
	Read(TEXT("GetKorvatFloatArrayByNodeName"), TEXT("Weights"), TArray<float>());
	Read(TEXT("GetKorvatStringArrayByNodeName"), TEXT("Tags"), TArray<FString>());
	Read(TEXT("GetKorvatBoolArrayByNodeName"), TEXT("Flags"), TArray<bool>());

	struct
	{
		FString valueName;
		bool isAvailable = false;
		FTransform ReturnValue;
	} Pose{TEXT("Pose"), false, FTransform::Identity};
	CallLibrary(TEXT("GetKorvatTransformValue"), Pose);
	const FVector Location = Pose.ReturnValue.GetLocation();
	const FVector Scale = Pose.ReturnValue.GetScale3D();
	Print(FString::Printf(TEXT("GetKorvatTransformValue(Pose) = location (%g, %g, %g), scale (%g, %g, %g)%s"), Location.X, Location.Y,
		Location.Z, Scale.X, Scale.Y, Scale.Z, Pose.isAvailable ? TEXT("") : TEXT(" (not available)")));
}

void UKorvatDemoBlueprint::SendValues()
{
	using namespace KorvatDemoBlueprint;
	auto Send = [this](const TCHAR* FunctionName, const TCHAR* Field, auto Value) {
		FSendParms<decltype(Value)> Parms{TEXT("Unreal"), Field, Value};
		CallLibrary(FunctionName, Parms);
		Print(FString::Printf(TEXT("%s(Unreal, %s, %s)"), FunctionName, Field, *Describe(Parms.value)));
	};
	Send(TEXT("SendKorvatIntValueByNodeName"), TEXT("Count"), int32(8));
	Send(TEXT("SendKorvatFloatValueByNodeName"), TEXT("Speed"), 0.75f);
	Send(TEXT("SendKorvatStringValueByNodeName"), TEXT("Title"), FString(TEXT("hello from Unreal")));
	Send(TEXT("SendKorvatBoolValueByNodeName"), TEXT("Enabled"), true);
	Send(TEXT("SendKorvatIntArrayByNodeName"), TEXT("Levels"), TArray<int32>({4, 5}));
	Send(TEXT("SendKorvatFloatArrayByNodeName"), TEXT("Weights"), TArray<float>({1.5f}));
	Send(TEXT("SendKorvatStringArrayByNodeName"), TEXT("Tags"), TArray<FString>({TEXT("x"), TEXT("y")}));
	Send(TEXT("SendKorvatBoolArrayByNodeName"), TEXT("Flags"), TArray<bool>({false, true}));

	struct
	{
		FString valueName;
		FTransform value;
	} Pose{TEXT("UnrealPose"), FTransform(FVector(10.0, 20.0, 30.0))};
	CallLibrary(TEXT("SendKorvatTransformValue"), Pose);
	Print(TEXT("SendKorvatTransformValue(UnrealPose, location (10, 20, 30))"));

	struct
	{
		FString node;
		FString event;
		int32 argument = 0;
	} Event{TEXT("Door"), TEXT("Opened"), 1};
	CallLibrary(TEXT("TriggerKorvatEvent"), Event);
	Print(TEXT("TriggerKorvatEvent(Door, Opened, 1)"));
}
