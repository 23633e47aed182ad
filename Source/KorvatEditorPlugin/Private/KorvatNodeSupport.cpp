#include "KorvatNodeSupport.h"

#include "BlueprintActionDatabaseRegistrar.h"
#include "BlueprintNodeSpawner.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphPin.h"
#include "KorvatBPEvent.h"
#include "UObject/UnrealType.h"

namespace KorvatNodeSupport
{
const FName NodePinName(TEXT("Node"));
const FName FieldPinNameOfNode(TEXT("Field"));
const FName IsValidPinName(TEXT("IsValid"));
const FName ResultPinName(TEXT("Result"));
const FName ValuePinName(TEXT("Value"));

const FName LibraryNodeNamePin(TEXT("nodeName"));
const FName LibraryFieldNamePin(TEXT("fieldName"));
const FName LibraryIsAvailablePin(TEXT("isAvailable"));
const FName LibraryValuePin(TEXT("value"));

UFunction* FindLibraryFunction(ELibraryCall Call, KorvatType Type)
{
	static const TCHAR* const GetterNames[] = {
		TEXT("GetKorvatFloatValueByNodeName"),
		TEXT("GetKorvatIntValueByNodeName"),
		TEXT("GetKorvatBoolValueByNodeName"),
		TEXT("GetKorvatStringValueByNodeName"),
		TEXT("GetKorvatFloatArrayByNodeName"),
		TEXT("GetKorvatIntArrayByNodeName"),
		TEXT("GetKorvatBoolArrayByNodeName"),
		TEXT("GetKorvatStringArrayByNodeName"),
	};
	static const TCHAR* const SenderNames[] = {
		TEXT("SendKorvatFloatValueByNodeName"),
		TEXT("SendKorvatIntValueByNodeName"),
		TEXT("SendKorvatBoolValueByNodeName"),
		TEXT("SendKorvatStringValueByNodeName"),
		TEXT("SendKorvatFloatArrayByNodeName"),
		TEXT("SendKorvatIntArrayByNodeName"),
		TEXT("SendKorvatBoolArrayByNodeName"),
		TEXT("SendKorvatStringArrayByNodeName"),
	};
	const int32 Index = static_cast<int32>(Type);
	if (Index < 0 || Index >= static_cast<int32>(UE_ARRAY_COUNT(GetterNames)))
	{
		return nullptr;
	}
	const TCHAR* const Name = Call == ELibraryCall::Get ? GetterNames[Index] : SenderNames[Index];
	return UKorvatBPFunctionLibrary::StaticClass()->FindFunctionByName(FName(Name));
}

const FSlateIcon& NodeIcon()
{
	static const FSlateIcon Icon(FName(TEXT("EditorStyle")), FName(TEXT("Kismet.AllClasses.VariableIcon")));
	return Icon;
}

void RegisterNodeSpawner(FBlueprintActionDatabaseRegistrar& ActionRegistrar, UClass* NodeClass)
{
	if (ActionRegistrar.IsOpenForRegistration(NodeClass))
	{
		UBlueprintNodeSpawner* Spawner = UBlueprintNodeSpawner::Create(NodeClass);
		check(Spawner != nullptr);
		ActionRegistrar.AddBlueprintAction(NodeClass, Spawner);
	}
}

void RetypeValuePins(UEdGraphNode& Node, FName PinName, KorvatType Type)
{
	const FEdGraphPinType NewType = FieldPinType(Type);
	bool bOrphanedAPin = false;
	bool bRestoredAPin = false;
	EEdGraphPinDirection Direction = EGPD_Input;
	// The node may gain a pin below; the pins to look at are the ones it has now.
	const TArray<UEdGraphPin*> Pins = Node.Pins;
	for (UEdGraphPin* Pin : Pins)
	{
		if (Pin == nullptr || Pin->PinName != PinName)
		{
			continue;
		}
		Direction = Pin->Direction;
		const bool bSameType = Pin->PinType.PinCategory == NewType.PinCategory && Pin->PinType.PinSubCategory == NewType.PinSubCategory;
		if (!bSameType)
		{
			bOrphanedAPin |= !Pin->bOrphanedPin;
			Pin->bOrphanedPin = true;
			Pin->bNotConnectable = true;
		}
		else if (Pin->bOrphanedPin)
		{
			Pin->bOrphanedPin = false;
			Pin->bNotConnectable = false;
			bRestoredAPin = true;
		}
	}
	if (bOrphanedAPin && !bRestoredAPin)
	{
		Node.CreatePin(Direction, NewType.PinCategory, NewType.PinSubCategory, PinName);
	}
}
bool IsFieldMemberEdit(const FPropertyChangedChainEvent& PropertyChangedEvent)
{
	const FName Changed = PropertyChangedEvent.GetPropertyName();
	return Changed == GET_MEMBER_NAME_CHECKED(FKorvatNodeField, fieldType) || Changed == GET_MEMBER_NAME_CHECKED(FKorvatNodeField, fieldName);
}

void OrphanRetypedFieldPin(const FKorvatNodeField& Field, const FKorvatNodeField& Before)
{
	if (Field.fieldType != Before.fieldType && Field.FieldPin != nullptr)
	{
		Field.FieldPin->bOrphanedPin = true;
		Field.FieldPin->bNotConnectable = true;
	}
}
} // namespace KorvatNodeSupport
