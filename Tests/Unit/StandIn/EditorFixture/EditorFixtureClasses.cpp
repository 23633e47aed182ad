#include "EditorFixtureClasses.h"

#include "BlueprintActionDatabaseRegistrar.h"
#include "BlueprintNodeSpawner.h"
#include "EdGraphSchema_K2.h"
#include "K2Node_CallFunction.h"
#include "KismetCompiler.h"
#include "UObject/UnrealType.h"

#define LOCTEXT_NAMESPACE "EditorFixture"

TArray<FString> UEditorFixtureLibrary::CallLog;
TMap<FString, float> UEditorFixtureLibrary::Values;

namespace
{
	float FindValue(const FString& NodeName, const FString& FieldName, bool& bIsAvailable)
	{
		const float* Value = UEditorFixtureLibrary::Values.Find(NodeName + TEXT(".") + FieldName);
		bIsAvailable = Value != nullptr;
		return Value ? *Value : 0.0f;
	}
}

float UEditorFixtureLibrary::GetFixtureFloat(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	CallLog.Add(FString::Printf(TEXT("GetFixtureFloat(%s, %s)"), *nodeName, *fieldName));
	return FindValue(nodeName, fieldName, isAvailable);
}

int32 UEditorFixtureLibrary::GetFixtureInt(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	CallLog.Add(FString::Printf(TEXT("GetFixtureInt(%s, %s)"), *nodeName, *fieldName));
	return (int32)FindValue(nodeName, fieldName, isAvailable);
}

TArray<float> UEditorFixtureLibrary::GetFixtureFloatArray(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	CallLog.Add(FString::Printf(TEXT("GetFixtureFloatArray(%s, %s)"), *nodeName, *fieldName));
	const float Value = FindValue(nodeName, fieldName, isAvailable);
	return isAvailable ? TArray<float>{ Value, Value * 2.0f } : TArray<float>();
}

void UEditorFixtureLibrary::SendFixtureFloat(const FString& nodeName, const FString& fieldName, float value)
{
	CallLog.Add(FString::Printf(TEXT("SendFixtureFloat(%s, %s, %.2f)"), *nodeName, *fieldName, value));
}

void UEditorFixtureLibrary::SendFixtureDouble(const FString& nodeName, double value)
{
	CallLog.Add(FString::Printf(TEXT("SendFixtureDouble(%s, %.2f)"), *nodeName, value));
}

void UEditorFixtureLibrary::SendFixtureBool(const FString& nodeName, bool value)
{
	CallLog.Add(FString::Printf(TEXT("SendFixtureBool(%s, %s)"), *nodeName, value ? TEXT("true") : TEXT("false")));
}

void UEditorFixtureLibrary::SendFixtureFloatArray(const FString& nodeName, const FString& fieldName, TArray<float> value)
{
	FString Items;
	for (float Item : value)
	{
		Items += FString::Printf(TEXT(" %.2f"), Item);
	}
	CallLog.Add(FString::Printf(TEXT("SendFixtureFloatArray(%s, %s,%s)"), *nodeName, *fieldName, *Items));
}

int32 UEditorFixtureLibrary::CountFixtureCalls(int32 step, double scale, EditorFixtureValueType kind, const FString& label)
{
	CallLog.Add(FString::Printf(TEXT("CountFixtureCalls(%d, %.2f, %d, %s)"), step, scale, (int32)kind, *label));
	return CallLog.Num() * step;
}

FString UEditorFixtureLibrary::MakeFixtureName(const FString& prefix, int32 index)
{
	CallLog.Add(FString::Printf(TEXT("MakeFixtureName(%s, %d)"), *prefix, index));
	return FString::Printf(TEXT("%s%d"), *prefix, index);
}

bool UEditorFixtureLibrary::BothAvailable(bool A, bool B)
{
	CallLog.Add(FString::Printf(TEXT("BothAvailable(%d, %d)"), A ? 1 : 0, B ? 1 : 0));
	return A && B;
}

void UEditorFixtureLibrary::SumFixtureFields(const TArray<FEditorFixtureFieldFromHost>& fields, int32& count)
{
	count = fields.Num();
}

void UEditorFixtureTarget::Accumulate(int32 Amount)
{
	Total += Amount;
}

// -- UEditorFixtureTypedNode ------------------------------------------------------------------------------

namespace
{
	void SetTypedPinType(FEdGraphPinType& PinType, EditorFixtureValueType Type)
	{
		PinType = FEdGraphPinType();
		switch (Type)
		{
		case EditorFixtureValueType::Float:
			PinType.PinCategory = UEdGraphSchema_K2::PC_Real;
			PinType.PinSubCategory = UEdGraphSchema_K2::PC_Float;
			break;
		case EditorFixtureValueType::Double:
			PinType.PinCategory = UEdGraphSchema_K2::PC_Real;
			PinType.PinSubCategory = UEdGraphSchema_K2::PC_Double;
			break;
		case EditorFixtureValueType::Int:
			PinType.PinCategory = UEdGraphSchema_K2::PC_Int;
			break;
		case EditorFixtureValueType::FloatArray:
			PinType.PinCategory = UEdGraphSchema_K2::PC_Real;
			PinType.PinSubCategory = UEdGraphSchema_K2::PC_Float;
			PinType.ContainerType = EPinContainerType::Array;
			break;
		default:
			PinType.PinCategory = UEdGraphSchema_K2::PC_Wildcard;
			break;
		}
	}
}

void UEditorFixtureTypedNode::AllocateDefaultPins()
{
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	UEdGraphPin* NodePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, TEXT("Node"));
	GetDefault<UEdGraphSchema_K2>()->TrySetDefaultValue(*NodePin, TEXT("FixtureNode"));
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Boolean, TEXT("IsValid"));
	FEdGraphPinType ResultType;
	SetTypedPinType(ResultType, type);
	CreatePin(EGPD_Output, ResultType, FName(TEXT("Result")));
}

FText UEditorFixtureTypedNode::GetNodeTitle(ENodeTitleType::Type /*TitleType*/) const
{
	return LOCTEXT("TypedNodeTitle", "Get Fixture Value");
}

void UEditorFixtureTypedNode::GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const
{
	UClass* ActionKey = GetClass();
	if (ActionRegistrar.IsOpenForRegistration(ActionKey))
	{
		UBlueprintNodeSpawner* Spawner = UBlueprintNodeSpawner::Create(GetClass());
		check(Spawner != nullptr);
		ActionRegistrar.AddBlueprintAction(ActionKey, Spawner);
	}
}

FText UEditorFixtureTypedNode::GetMenuCategory() const
{
	return LOCTEXT("TypedNodeCategory", "Fixture");
}

void UEditorFixtureTypedNode::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	Super::ExpandNode(CompilerContext, SourceGraph);

	const TCHAR* FunctionName = type == EditorFixtureValueType::Float ? TEXT("GetFixtureFloat")
		: (type == EditorFixtureValueType::Int ? TEXT("GetFixtureInt") : (type == EditorFixtureValueType::FloatArray ? TEXT("GetFixtureFloatArray") : nullptr));
	if (!FunctionName)
	{
		return;
	}
	UFunction* Function = UEditorFixtureLibrary::StaticClass()->FindFunctionByName(FunctionName);
	UK2Node_CallFunction* Call = CompilerContext.SpawnIntermediateNode<UK2Node_CallFunction>(this, SourceGraph);
	Call->SetFromFunction(Function);
	Call->AllocateDefaultPins();

	CompilerContext.MovePinLinksToIntermediate(*FindPinChecked(TEXT("Node")), *Call->FindPinChecked(TEXT("nodeName")));
	CompilerContext.MovePinLinksToIntermediate(*FindPinChecked(TEXT("IsValid")), *Call->FindPinChecked(TEXT("isAvailable")));
	CompilerContext.MovePinLinksToIntermediate(*FindPinChecked(TEXT("Result")), *Call->GetReturnValuePin());
	CompilerContext.MovePinLinksToIntermediate(*GetExecPin(), *Call->GetExecPin());
	CompilerContext.MovePinLinksToIntermediate(*GetThenPin(), *Call->GetThenPin());
}

// -- UEditorFixtureSyncNode -------------------------------------------------------------------------------

void UEditorFixtureSyncNode::UpdateFields(int32 Count)
{
	fields.SetNum(Count);
}

void UEditorFixtureSyncNode::PreEditChange(FProperty* PropertyAboutToChange)
{
	Super::PreEditChange(PropertyAboutToChange);
	Notifications.Add(FString::Printf(TEXT("Pre %s"), PropertyAboutToChange ? *PropertyAboutToChange->GetName() : TEXT("None")));
}

void UEditorFixtureSyncNode::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	Notifications.Add(FString::Printf(TEXT("Post %s/%s %u"), *PropertyChangedEvent.GetPropertyName().ToString(),
		*PropertyChangedEvent.GetMemberPropertyName().ToString(), PropertyChangedEvent.ChangeType));
}

void UEditorFixtureSyncNode::PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent)
{
	Notifications.Add(FString::Printf(TEXT("Chain %s/%s %u %d"), *PropertyChangedEvent.GetPropertyName().ToString(),
		*PropertyChangedEvent.GetMemberPropertyName().ToString(), PropertyChangedEvent.ChangeType,
		PropertyChangedEvent.GetArrayIndex(TEXT("fields"))));
	Super::PostEditChangeChainProperty(PropertyChangedEvent);
}

#undef LOCTEXT_NAMESPACE
