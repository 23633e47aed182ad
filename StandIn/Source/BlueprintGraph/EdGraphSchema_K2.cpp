// The schema of Blueprint graphs: pin categories, connection rules, literal default values and the pin types of
// reflected properties.
#include "EdGraphSchema_K2.h"

#include "EdGraph/EdGraph.h"
#include "K2Node.h"
#include "K2Node_CallFunction.h"
#include "UObject/UnrealType.h"

const FName UEdGraphSchema_K2::PC_Exec(TEXT("exec"));
const FName UEdGraphSchema_K2::PC_Boolean(TEXT("bool"));
const FName UEdGraphSchema_K2::PC_Byte(TEXT("byte"));
const FName UEdGraphSchema_K2::PC_Class(TEXT("class"));
const FName UEdGraphSchema_K2::PC_Int(TEXT("int"));
const FName UEdGraphSchema_K2::PC_Int64(TEXT("int64"));
const FName UEdGraphSchema_K2::PC_Float(TEXT("float"));
const FName UEdGraphSchema_K2::PC_Double(TEXT("double"));
const FName UEdGraphSchema_K2::PC_Real(TEXT("real"));
const FName UEdGraphSchema_K2::PC_Name(TEXT("name"));
const FName UEdGraphSchema_K2::PC_Delegate(TEXT("delegate"));
const FName UEdGraphSchema_K2::PC_MCDelegate(TEXT("mcdelegate"));
const FName UEdGraphSchema_K2::PC_Object(TEXT("object"));
const FName UEdGraphSchema_K2::PC_Interface(TEXT("interface"));
const FName UEdGraphSchema_K2::PC_String(TEXT("string"));
const FName UEdGraphSchema_K2::PC_Text(TEXT("text"));
const FName UEdGraphSchema_K2::PC_Struct(TEXT("struct"));
const FName UEdGraphSchema_K2::PC_Wildcard(TEXT("wildcard"));
const FName UEdGraphSchema_K2::PC_FieldPath(TEXT("fieldpath"));
const FName UEdGraphSchema_K2::PC_Enum(TEXT("enum"));
const FName UEdGraphSchema_K2::PC_SoftObject(TEXT("softobject"));
const FName UEdGraphSchema_K2::PC_SoftClass(TEXT("softclass"));
const FName UEdGraphSchema_K2::PSC_Self(TEXT("self"));
const FName UEdGraphSchema_K2::PSC_Index(TEXT("index"));
const FName UEdGraphSchema_K2::PSC_Bitmask(TEXT("bitmask"));
const FName UEdGraphSchema_K2::PN_Execute(TEXT("execute"));
const FName UEdGraphSchema_K2::PN_Then(TEXT("then"));
const FName UEdGraphSchema_K2::PN_Completed(TEXT("Completed"));
const FName UEdGraphSchema_K2::PN_DelegateEntry(TEXT("delegate"));
const FName UEdGraphSchema_K2::PN_EntryPoint(TEXT("EntryPoint"));
const FName UEdGraphSchema_K2::PN_Self(TEXT("self"));
const FName UEdGraphSchema_K2::PN_Else(TEXT("else"));
const FName UEdGraphSchema_K2::PN_Loop(TEXT("loop"));
const FName UEdGraphSchema_K2::PN_After(TEXT("after"));
const FName UEdGraphSchema_K2::PN_ReturnValue(TEXT("ReturnValue"));
const FName UEdGraphSchema_K2::PN_ObjectToCast(TEXT("Object"));
const FName UEdGraphSchema_K2::PN_Condition(TEXT("Condition"));
const FName UEdGraphSchema_K2::PN_Start(TEXT("Start"));
const FName UEdGraphSchema_K2::PN_Stop(TEXT("Stop"));
const FName UEdGraphSchema_K2::PN_Index(TEXT("Index"));
const FName UEdGraphSchema_K2::PN_Item(TEXT("Item"));
const FName UEdGraphSchema_K2::PN_CastSucceeded(TEXT("then"));
const FName UEdGraphSchema_K2::PN_CastFailed(TEXT("CastFailed"));
const FString UEdGraphSchema_K2::PN_CastedValuePrefix(TEXT("As"));
const FName UEdGraphSchema_K2::AllObjectTypes(TEXT("ObjectTypes"));

namespace
{
	bool IsValidFloatText(const FString& Text)
	{
		FString Trimmed = Text.TrimStartAndEnd();
		int32 Index = 0;
		const int32 Len = Trimmed.Len();
		if (Index < Len && (Trimmed[Index] == TEXT('+') || Trimmed[Index] == TEXT('-')))
		{
			++Index;
		}
		bool bDigits = false;
		while (Index < Len && FChar::IsDigit(Trimmed[Index]))
		{
			bDigits = true;
			++Index;
		}
		if (Index < Len && Trimmed[Index] == TEXT('.'))
		{
			++Index;
			while (Index < Len && FChar::IsDigit(Trimmed[Index]))
			{
				bDigits = true;
				++Index;
			}
		}
		if (!bDigits)
		{
			return false;
		}
		if (Index < Len && (Trimmed[Index] == TEXT('e') || Trimmed[Index] == TEXT('E')))
		{
			++Index;
			if (Index < Len && (Trimmed[Index] == TEXT('+') || Trimmed[Index] == TEXT('-')))
			{
				++Index;
			}
			bool bExponentDigits = false;
			while (Index < Len && FChar::IsDigit(Trimmed[Index]))
			{
				bExponentDigits = true;
				++Index;
			}
			if (!bExponentDigits)
			{
				return false;
			}
		}
		if (Index < Len && (Trimmed[Index] == TEXT('f') || Trimmed[Index] == TEXT('F')))
		{
			++Index;
		}
		return Index == Len;
	}

	bool IsValidIntegerText(const FString& Text)
	{
		FString Trimmed = Text.TrimStartAndEnd();
		int32 Index = 0;
		const int32 Len = Trimmed.Len();
		if (Index < Len && (Trimmed[Index] == TEXT('+') || Trimmed[Index] == TEXT('-')))
		{
			++Index;
		}
		if (Index == Len)
		{
			return false;
		}
		while (Index < Len)
		{
			if (!FChar::IsDigit(Trimmed[Index]))
			{
				return false;
			}
			++Index;
		}
		return true;
	}

	/** Whether a call's function lists the pin in its AutoCreateRefTerm metadata. */
	bool IsAutoCreateRefTerm(const UEdGraphPin* Pin)
	{
		const UK2Node_CallFunction* CallNode = Cast<UK2Node_CallFunction>(Pin->GetOwningNode());
		const UFunction* Function = CallNode ? CallNode->GetTargetFunction() : nullptr;
		if (!Function)
		{
			return false;
		}
		TArray<FString> Names;
		Function->GetMetaData(TEXT("AutoCreateRefTerm")).ParseIntoArray(Names, TEXT(","), true);
		for (FString& Name : Names)
		{
			if (FName(*Name.TrimStartAndEnd()) == Pin->PinName)
			{
				return true;
			}
		}
		return false;
	}

	/** The default value, object and text a pin takes from the text of a default value. */
	void GetPinDefaultValuesFromString(const FEdGraphPinType& PinType, const FString& NewDefaultValue, FString& UseDefaultValue, TObjectPtr<UObject>& UseDefaultObject, FText& UseDefaultText)
	{
		if (PinType.PinCategory == UEdGraphSchema_K2::PC_Object || PinType.PinCategory == UEdGraphSchema_K2::PC_Class
			|| PinType.PinCategory == UEdGraphSchema_K2::PC_Interface)
		{
			UObject* Found = NewDefaultValue.IsEmpty() ? nullptr : StaticFindObject(UObject::StaticClass(), nullptr, *NewDefaultValue);
			UseDefaultObject = Found;
			UseDefaultValue = Found || NewDefaultValue == TEXT("None") ? FString() : NewDefaultValue;
			UseDefaultText = FText::GetEmpty();
		}
		else if (PinType.PinCategory == UEdGraphSchema_K2::PC_Text)
		{
			UseDefaultText = FText::FromString(NewDefaultValue);
			UseDefaultObject = nullptr;
			UseDefaultValue.Empty();
		}
		else
		{
			UseDefaultValue = NewDefaultValue;
			UseDefaultObject = nullptr;
			UseDefaultText = FText::GetEmpty();
			if (PinType.PinCategory == UEdGraphSchema_K2::PC_Byte && UseDefaultValue.IsEmpty())
			{
				// Enums are stored as an empty autogenerated default, and mean their first entry.
				if (UEnum* EnumPtr = Cast<UEnum>(PinType.PinSubCategoryObject.Get()))
				{
					UseDefaultValue = EnumPtr->GetNameStringByIndex(0);
				}
			}
		}
	}
}

UEdGraphSchema_K2::UEdGraphSchema_K2(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

bool UEdGraphSchema_K2::IsExecPin(const UEdGraphPin& Pin)
{
	return Pin.PinType.PinCategory == PC_Exec;
}

bool UEdGraphSchema_K2::IsSelfPin(const UEdGraphPin& Pin) const
{
	return Pin.PinName == PN_Self;
}

const FPinConnectionResponse UEdGraphSchema_K2::CanCreateConnection(const UEdGraphPin* PinA, const UEdGraphPin* PinB) const
{
	check(PinA);
	check(PinB);

	const UK2Node* OwningNodeA = Cast<UK2Node>(PinA->GetOwningNodeUnchecked());
	const UK2Node* OwningNodeB = Cast<UK2Node>(PinB->GetOwningNodeUnchecked());

	if (!OwningNodeA || !OwningNodeB)
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, TEXT("Invalid nodes"));
	}

	// Make sure the pins are not on the same node
	if (OwningNodeA == OwningNodeB)
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, TEXT("Both are on the same node"));
	}

	if (PinA->bOrphanedPin || PinB->bOrphanedPin)
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, TEXT("Cannot make new connections to orphaned pin"));
	}

	FString NodeResponseMessage;
	if (OwningNodeA->IsConnectionDisallowed(PinA, PinB, NodeResponseMessage))
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, NodeResponseMessage);
	}
	if (OwningNodeB->IsConnectionDisallowed(PinB, PinA, NodeResponseMessage))
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, NodeResponseMessage);
	}

	const UEdGraphPin* InputPin = nullptr;
	const UEdGraphPin* OutputPin = nullptr;
	if (!CategorizePinsByDirection(PinA, PinB, InputPin, OutputPin))
	{
		return FPinConnectionResponse(CONNECT_RESPONSE_DISALLOW, TEXT("Directions are not compatible"));
	}

	bool bIgnoreArray = false;
	if (const UK2Node* OwningNode = Cast<UK2Node>(InputPin->GetOwningNode()))
	{
		if (OwningNode->AllowMultipleSelfs(true) && !InputPin->PinType.IsContainer() && IsSelfPin(*InputPin))
		{
			bIgnoreArray = OutputPin->PinType.IsArray();
		}
	}

	if (ArePinsCompatible(OutputPin, InputPin, nullptr, bIgnoreArray))
	{
		FPinConnectionResponse ConnectionResponse = DetermineConnectionResponseOfCompatibleTypedPins(PinA, PinB, InputPin, OutputPin);
		if (ConnectionResponse.Message.IsEmpty())
		{
			ConnectionResponse.Message = FText::FromString(NodeResponseMessage);
		}
		return ConnectionResponse;
	}

	// The stand-in has no conversion (autocast) functions: types that do not match cannot be connected.
	FPinConnectionResponse ConnectionResponse(CONNECT_RESPONSE_DISALLOW, FString::Printf(TEXT("%s is not compatible with %s"),
		*PinA->PinType.PinCategory.ToString(), *PinB->PinType.PinCategory.ToString()));
	ConnectionResponse.SetFatal();
	return ConnectionResponse;
}

FPinConnectionResponse UEdGraphSchema_K2::DetermineConnectionResponseOfCompatibleTypedPins(const UEdGraphPin* PinA, const UEdGraphPin* /*PinB*/, const UEdGraphPin* InputPin, const UEdGraphPin* OutputPin) const
{
	// An exec output and a data input take one link only.
	const bool bBreakExistingDueToExecOutput = IsExecPin(*OutputPin) && (OutputPin->LinkedTo.Num() > 0);
	const bool bBreakExistingDueToDataInput = !IsExecPin(*InputPin) && (InputPin->LinkedTo.Num() > 0);

	bool bMultipleSelfException = false;
	const UK2Node* OwningNode = Cast<UK2Node>(InputPin->GetOwningNode());
	if (bBreakExistingDueToDataInput && IsSelfPin(*InputPin) && OwningNode && OwningNode->AllowMultipleSelfs(false)
		&& !InputPin->PinType.IsContainer() && !OutputPin->PinType.IsContainer())
	{
		bool bAnyContainerInput = false;
		for (const UEdGraphPin* Pin : InputPin->LinkedTo)
		{
			if (Pin->PinType.IsContainer())
			{
				bAnyContainerInput = true;
				break;
			}
		}
		bMultipleSelfException = !bAnyContainerInput;
	}

	if (bBreakExistingDueToExecOutput)
	{
		const ECanCreateConnectionResponse ReplyBreakOutputs = (PinA == OutputPin) ? CONNECT_RESPONSE_BREAK_OTHERS_A : CONNECT_RESPONSE_BREAK_OTHERS_B;
		return FPinConnectionResponse(ReplyBreakOutputs, TEXT("Replace existing output connections"));
	}
	if (bBreakExistingDueToDataInput && !bMultipleSelfException)
	{
		const ECanCreateConnectionResponse ReplyBreakInputs = (PinA == InputPin) ? CONNECT_RESPONSE_BREAK_OTHERS_A : CONNECT_RESPONSE_BREAK_OTHERS_B;
		return FPinConnectionResponse(ReplyBreakInputs, TEXT("Replace existing input connections"));
	}
	return FPinConnectionResponse(CONNECT_RESPONSE_MAKE, TEXT(""));
}

bool UEdGraphSchema_K2::ArePinsCompatible(const UEdGraphPin* PinA, const UEdGraphPin* PinB, const UClass* CallingContext, bool bIgnoreArray) const
{
	if ((PinA->Direction == EGPD_Input) && (PinB->Direction == EGPD_Output))
	{
		return ArePinTypesCompatible(PinB->PinType, PinA->PinType, CallingContext, bIgnoreArray);
	}
	if ((PinB->Direction == EGPD_Input) && (PinA->Direction == EGPD_Output))
	{
		return ArePinTypesCompatible(PinA->PinType, PinB->PinType, CallingContext, bIgnoreArray);
	}
	return false;
}

bool UEdGraphSchema_K2::ArePinTypesCompatible(const FEdGraphPinType& Output, const FEdGraphPinType& Input, const UClass* CallingContext, bool bIgnoreArray) const
{
	if (!bIgnoreArray
		&& (Output.ContainerType != Input.ContainerType)
		&& (Input.PinCategory != PC_Wildcard || Input.IsContainer())
		&& (Output.PinCategory != PC_Wildcard || Output.IsContainer()))
	{
		return false;
	}
	if (Output.PinCategory == Input.PinCategory)
	{
		if ((Output.PinSubCategory == Input.PinSubCategory) && (Output.PinSubCategoryObject == Input.PinSubCategoryObject))
		{
			if (Input.IsMap())
			{
				return Input.PinValueType.TerminalCategory == PC_Wildcard
					|| Output.PinValueType.TerminalCategory == PC_Wildcard
					|| ((Input.PinValueType.TerminalCategory == PC_Real) && (Output.PinValueType.TerminalCategory == PC_Real))
					|| Input.PinValueType == Output.PinValueType;
			}
			return true;
		}
		// Reals, whether they're actually a float or double, are always compatible (converted implicitly).
		if (Output.PinCategory == PC_Real)
		{
			return true;
		}
		if ((Output.PinCategory == PC_Object) || (Output.PinCategory == PC_Struct) || (Output.PinCategory == PC_Class))
		{
			// Sub-category mismatch: only an input of a super type of the output is compatible.
			const UStruct* OutputObject = (Output.PinSubCategory == PSC_Self) ? CallingContext : Cast<UStruct>(Output.PinSubCategoryObject.Get());
			const UStruct* InputObject = (Input.PinSubCategory == PSC_Self) ? CallingContext : Cast<UStruct>(Input.PinSubCategoryObject.Get());
			if (OutputObject && InputObject)
			{
				if (Output.PinCategory == PC_Struct)
				{
					return OutputObject->IsChildOf(InputObject) && OutputObject->GetStructureSize() == InputObject->GetStructureSize();
				}
				return OutputObject->IsChildOf(InputObject);
			}
			return false;
		}
		if ((Output.PinCategory == PC_Byte) && (Output.PinSubCategory == Input.PinSubCategory))
		{
			// An enum may feed a plain byte.
			return Input.PinSubCategoryObject == nullptr;
		}
		return false;
	}
	if (Output.PinCategory == PC_Wildcard || Input.PinCategory == PC_Wildcard)
	{
		return true;
	}
	return false;
}

bool UEdGraphSchema_K2::ArePinTypesEquivalent(const FEdGraphPinType& PinA, const FEdGraphPinType& PinB) const
{
	// Real pins are effectively equivalent since they are converted implicitly.
	if ((PinA.PinCategory == PC_Real) && (PinB.PinCategory == PC_Real))
	{
		return true;
	}
	return PinA.PinCategory == PinB.PinCategory
		&& PinA.PinSubCategory == PinB.PinSubCategory
		&& PinA.PinSubCategoryObject == PinB.PinSubCategoryObject
		&& PinA.ContainerType == PinB.ContainerType
		&& PinA.bIsWeakPointer == PinB.bIsWeakPointer;
}

void UEdGraphSchema_K2::TrySetDefaultValue(UEdGraphPin& Pin, const FString& NewDefaultValue, bool bMarkAsModified) const
{
	FString UseDefaultValue;
	TObjectPtr<UObject> UseDefaultObject = nullptr;
	FText UseDefaultText;
	GetPinDefaultValuesFromString(Pin.PinType, NewDefaultValue, UseDefaultValue, UseDefaultObject, UseDefaultText);

	// An invalid value is not set.
	if (IsPinDefaultValid(&Pin, UseDefaultValue, UseDefaultObject, UseDefaultText).IsEmpty())
	{
		Pin.DefaultObject = UseDefaultObject;
		Pin.DefaultValue = UseDefaultValue;
		Pin.DefaultTextValue = UseDefaultText;

		if (Pin.PinType.PinCategory == PC_Real)
		{
			Pin.PinType.bSerializeAsSinglePrecisionFloat = false;
		}

		UEdGraphNode* Node = Pin.GetOwningNode();
		Node->PinDefaultValueChanged(&Pin);

		// A default set back to the autogenerated value removes an orphaned pin.
		if (Pin.bOrphanedPin && Pin.DoesDefaultValueMatchAutogenerated())
		{
			Node->PinConnectionListChanged(&Pin);
		}

		if (bMarkAsModified)
		{
			// The engine marks the node's Blueprint as modified, and asserts when the node is in none; the
			// stand-in has no Blueprints and asks for the node's graph instead.
			checkf(Node->GetGraph() != nullptr, TEXT("TrySetDefaultValue: node %ls is not in a graph"), *Node->GetName());
		}
	}
}

FString UEdGraphSchema_K2::IsPinDefaultValid(const UEdGraphPin* Pin, const FString& NewDefaultValue, TObjectPtr<UObject> /*NewDefaultObject*/, const FText& /*InNewDefaultText*/) const
{
	check(Pin);
	checkf(Pin->GetOwningNode()->GetGraph() != nullptr, TEXT("IsPinDefaultValid: node %ls is not in a graph"), *Pin->GetOwningNode()->GetName());
	const FEdGraphPinType& PinType = Pin->PinType;

	if (!IsAutoCreateRefTerm(Pin))
	{
		if (PinType.IsArray())
		{
			return FString::Printf(TEXT("Array inputs (like '%s') must have an input wired into them (try connecting a MakeArray node)."), *Pin->PinName.ToString());
		}
		if (PinType.bIsReference)
		{
			return FString::Printf(TEXT("'%s' must have an input wired into it (\"by ref\" params expect a valid input to operate on)."), *Pin->PinName.ToString());
		}
	}

	const FName PinCategory = PinType.PinCategory;
	if (PinType.IsContainer())
	{
		// Containers are validated separately.
	}
	else if (PinCategory == PC_Boolean || PinCategory == PC_Name || PinCategory == PC_String || PinCategory == PC_FieldPath
		|| PinCategory == PC_Text || PinCategory == PC_Struct || PinCategory == PC_SoftObject || PinCategory == PC_SoftClass)
	{
		// Any text is acceptable to some degree.
	}
	else if (PinCategory == PC_Byte)
	{
		if (const UEnum* EnumPtr = Cast<const UEnum>(PinType.PinSubCategoryObject.Get()))
		{
			if (NewDefaultValue == TEXT("(INVALID)") || EnumPtr->GetIndexByNameString(NewDefaultValue) == INDEX_NONE)
			{
				return FString::Printf(TEXT("'%s' is not a valid enumerant of '<%s>'"), *NewDefaultValue, *EnumPtr->GetName());
			}
		}
		else if (!NewDefaultValue.IsEmpty())
		{
			if (!IsValidIntegerText(NewDefaultValue))
			{
				return TEXT("Expected a valid unsigned number for a byte property");
			}
			const int32 Value = FCString::Atoi(*NewDefaultValue);
			if (Value < 0 || Value > 255)
			{
				return TEXT("Expected a value between 0 and 255 for a byte property");
			}
		}
	}
	else if (PinCategory == PC_Real)
	{
		if (!NewDefaultValue.IsEmpty() && !IsValidFloatText(NewDefaultValue))
		{
			return TEXT("Expected a valid number for a real property");
		}
	}
	else if (PinCategory == PC_Int)
	{
		if (!NewDefaultValue.IsEmpty() && !IsValidIntegerText(NewDefaultValue))
		{
			return TEXT("Expected a valid number for an integer property");
		}
	}
	else if (PinCategory == PC_Int64)
	{
		if (!NewDefaultValue.IsEmpty() && !IsValidIntegerText(NewDefaultValue))
		{
			return TEXT("Expected a valid number for an integer64 property");
		}
	}
	else if (PinCategory == PC_Object || PinCategory == PC_Interface || PinCategory == PC_Class)
	{
		if (!NewDefaultValue.IsEmpty())
		{
			return FString::Printf(TEXT("String NewDefaultValue '%s' specified on object pin '%s'"), *NewDefaultValue, *Pin->PinName.ToString());
		}
	}
	else if (PinCategory == PC_Delegate)
	{
		if (!NewDefaultValue.IsEmpty() && NewDefaultValue != TEXT("(null).None"))
		{
			return FString::Printf(TEXT("Unsupported value %s for delegate pin %s, only empty delegates are supported"), *NewDefaultValue, *Pin->PinName.ToString());
		}
	}
	else
	{
		return FString::Printf(TEXT("Unsupported type %s on pin %s"), *PinCategory.ToString(), *Pin->PinName.ToString());
	}
	return FString();
}

bool UEdGraphSchema_K2::DoesDefaultValueMatchAutogenerated(const UEdGraphPin& InPin) const
{
	if (InPin.PinType.PinCategory == PC_Text)
	{
		return InPin.DefaultTextValue.ToString().Equals(InPin.AutogeneratedDefaultValue, ESearchCase::CaseSensitive);
	}
	if (InPin.DefaultObject)
	{
		return false;
	}
	if (InPin.PinType.PinCategory == PC_Real && IsValidFloatText(InPin.DefaultValue) && IsValidFloatText(InPin.AutogeneratedDefaultValue))
	{
		// "0" and "0.0" are the same real number.
		return FCString::Atod(*InPin.DefaultValue) == FCString::Atod(*InPin.AutogeneratedDefaultValue);
	}
	return Super::DoesDefaultValueMatchAutogenerated(InPin);
}

void UEdGraphSchema_K2::ResetPinToAutogeneratedDefaultValue(UEdGraphPin* Pin, bool bCallModifyCallbacks) const
{
	if (Pin->bOrphanedPin)
	{
		// An orphaned pin back at its default has no reason to stay.
		Pin->GetOwningNode()->PinConnectionListChanged(Pin);
		return;
	}
	GetPinDefaultValuesFromString(Pin->PinType, Pin->AutogeneratedDefaultValue, Pin->DefaultValue, Pin->DefaultObject, Pin->DefaultTextValue);
	if (bCallModifyCallbacks)
	{
		Pin->GetOwningNode()->PinDefaultValueChanged(Pin);
	}
}

bool UEdGraphSchema_K2::ConvertPropertyToPinType(const FProperty* Property, FEdGraphPinType& TypeOut) const
{
	using UECodeGen_Private::EPropertyKind;

	if (Property == nullptr)
	{
		TypeOut.PinCategory = TEXT("bad_type");
		return false;
	}

	TypeOut.PinSubCategory = NAME_None;
	TypeOut.PinSubCategoryObject = nullptr;

	const FProperty* TestProperty = Property;
	TypeOut.ContainerType = EPinContainerType::None;
	if (Property->GetKind() == EPropertyKind::Array)
	{
		TestProperty = static_cast<const FArrayProperty*>(Property)->Inner;
		TypeOut.ContainerType = EPinContainerType::Array;
	}
	else if (Property->GetKind() == EPropertyKind::Map || Property->GetKind() == EPropertyKind::Set)
	{
		// The stand-in's reflection does not describe the keys and values of maps and sets.
		TypeOut.PinCategory = TEXT("unsupported_container");
		return false;
	}

	TypeOut.bIsReference = Property->HasAllPropertyFlags(CPF_OutParm | CPF_ReferenceParm);
	TypeOut.bIsConst = Property->HasAllPropertyFlags(CPF_ConstParm);
	TypeOut.bIsWeakPointer = false;

	switch (TestProperty->GetKind())
	{
	case EPropertyKind::Float:
		TypeOut.PinCategory = PC_Real;
		TypeOut.PinSubCategory = PC_Float;
		break;
	case EPropertyKind::Double:
		TypeOut.PinCategory = PC_Real;
		TypeOut.PinSubCategory = PC_Double;
		break;
	case EPropertyKind::Int64:
		TypeOut.PinCategory = PC_Int64;
		break;
	case EPropertyKind::Int:
		TypeOut.PinCategory = PC_Int;
		break;
	case EPropertyKind::Byte:
		TypeOut.PinCategory = PC_Byte;
		TypeOut.PinSubCategoryObject = TestProperty->GetEnum();
		break;
	case EPropertyKind::Enum:
		if (TestProperty->ElementSize != 1)
		{
			TypeOut.PinCategory = TEXT("unsupported_enum_type: enum size is larger than a byte");
			return false;
		}
		TypeOut.PinCategory = PC_Byte;
		TypeOut.PinSubCategoryObject = TestProperty->GetEnum();
		break;
	case EPropertyKind::Name:
		TypeOut.PinCategory = PC_Name;
		break;
	case EPropertyKind::Bool:
	case EPropertyKind::BitfieldBool:
		TypeOut.PinCategory = PC_Boolean;
		break;
	case EPropertyKind::Str:
		TypeOut.PinCategory = PC_String;
		break;
	case EPropertyKind::Text:
		TypeOut.PinCategory = PC_Text;
		break;
	case EPropertyKind::Struct:
		if (TestProperty->GetStruct() == nullptr)
		{
			TypeOut.PinCategory = TEXT("bad_type");
			return false;
		}
		TypeOut.PinCategory = PC_Struct;
		TypeOut.PinSubCategoryObject = TestProperty->GetStruct();
		break;
	case EPropertyKind::Object:
		TypeOut.PinCategory = PC_Object;
		TypeOut.PinSubCategoryObject = TestProperty->GetPropertyClass();
		break;
	case EPropertyKind::WeakObject:
		TypeOut.PinCategory = PC_Object;
		TypeOut.PinSubCategoryObject = TestProperty->GetPropertyClass();
		TypeOut.bIsWeakPointer = true;
		break;
	case EPropertyKind::Class:
		TypeOut.PinCategory = PC_Class;
		TypeOut.PinSubCategoryObject = TestProperty->GetPropertyClass();
		break;
	case EPropertyKind::SoftObject:
		TypeOut.PinCategory = PC_SoftObject;
		TypeOut.PinSubCategoryObject = TestProperty->GetPropertyClass();
		break;
	case EPropertyKind::SoftClass:
		TypeOut.PinCategory = PC_SoftClass;
		TypeOut.PinSubCategoryObject = TestProperty->GetPropertyClass();
		break;
	case EPropertyKind::Delegate:
		TypeOut.PinCategory = PC_Delegate;
		TypeOut.PinSubCategoryObject = TestProperty->GetSignatureFunction();
		break;
	case EPropertyKind::MulticastDelegate:
		TypeOut.PinCategory = PC_MCDelegate;
		TypeOut.PinSubCategoryObject = TestProperty->GetSignatureFunction();
		break;
	default:
		// int8, int16 and the unsigned types other than uint8 are not Blueprint types.
		TypeOut.PinCategory = TEXT("bad_type");
		return false;
	}
	return true;
}

bool UEdGraphSchema_K2::FindFunctionParameterDefaultValue(const UFunction* Function, const FProperty* Param, FString& OutString)
{
	bool bHasAutomaticValue = false;
	const FString& MetadataDefaultValue = Function->GetMetaData(*Param->GetName());
	if (!MetadataDefaultValue.IsEmpty())
	{
		// A default value given in the function's metadata under the parameter's name.
		OutString = MetadataDefaultValue;
		bHasAutomaticValue = true;
	}
	else
	{
		const FString& MetadataCppDefaultValue = Function->GetMetaData(*(FString(TEXT("CPP_Default_")) + Param->GetName()));
		if (!MetadataCppDefaultValue.IsEmpty())
		{
			OutString = MetadataCppDefaultValue;
			bHasAutomaticValue = true;
		}
	}
	return bHasAutomaticValue;
}

void UEdGraphSchema_K2::SetPinAutogeneratedDefaultValue(UEdGraphPin* Pin, const FString& NewValue) const
{
	Pin->AutogeneratedDefaultValue = NewValue;
	ResetPinToAutogeneratedDefaultValue(Pin, false);
}

void UEdGraphSchema_K2::SetPinAutogeneratedDefaultValueBasedOnType(UEdGraphPin* Pin) const
{
	FString NewValue;
	const FName Category = Pin->PinType.PinCategory;
	if (Pin->PinType.IsContainer())
	{
		NewValue = FString();
	}
	else if (Category == PC_Int || Category == PC_Int64)
	{
		NewValue = TEXT("0");
	}
	else if (Category == PC_Byte)
	{
		// An enum's first entry may change; its default is kept empty and means the first entry.
		NewValue = Cast<UEnum>(Pin->PinType.PinSubCategoryObject.Get()) ? FString() : FString(TEXT("0"));
	}
	else if (Category == PC_Real)
	{
		NewValue = TEXT("0.0");
	}
	else if (Category == PC_Boolean)
	{
		NewValue = TEXT("false");
	}
	else if (Category == PC_Name)
	{
		NewValue = TEXT("None");
	}
	SetPinAutogeneratedDefaultValue(Pin, NewValue);
}
