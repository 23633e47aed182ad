#include "KorvatD2IGetData.h"

#include "EdGraphSchema_K2.h"
#include "K2Node_CallFunction.h"
#include "Kismet/KismetMathLibrary.h"
#include "KismetCompiler.h"
#include "KorvatNodeSupport.h"
#include "UObject/UnrealType.h"

#define LOCTEXT_NAMESPACE "UKorvatGetDataNode"

void UKorvatD2IGetData::SyncFields()
{
	RequestFieldsFromHost();
}

void UKorvatD2IGetData::UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields)
{
	fromKorvatFields.Empty();
	for (const Korvat::UE4::FieldDescriptor& Descriptor : Fields)
	{
		if (Descriptor.IsFromKorvat)
		{
			FKorvatNodeFieldFromKorvat& Field = fromKorvatFields.AddDefaulted_GetRef();
			static_cast<FKorvatNodeField&>(Field) = FieldFromDescriptor(Descriptor, KorvatCommunicationDirection::FromKorvat);
		}
	}
	ReconstructNode();
}

void UKorvatD2IGetData::AllocateDefaultPins()
{
	using namespace KorvatNodeSupport;
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	UEdGraphPin* NodeNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, NodePinName);
	GetDefault<UEdGraphSchema_K2>()->TrySetDefaultValue(*NodeNamePin, TEXT("Korvat Node"));
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Boolean, IsValidPinName);
	for (FKorvatNodeFieldFromKorvat& Field : fromKorvatFields)
	{
		Field.FieldPin = CreatePin(EGPD_Output, FieldPinType(Field.fieldType), FieldPinName(Field));
		Field.FieldPin->PinFriendlyName = FText::FromString(Field.fieldName);
	}
	Super::AllocateDefaultPins();
}

FText UKorvatD2IGetData::GetNodeTitle(ENodeTitleType::Type TitleType) const
{
	return LOCTEXT("GetKorvatD2IGetDataTitle", "Get Data From Korvat D2I Node");
}

FText UKorvatD2IGetData::GetTooltipText() const
{
	return LOCTEXT("GetKorvatD2INode_Tooltip", "Adds a node that can be used to retrieve multiple values from Korvat");
}

FText UKorvatD2IGetData::GetMenuCategory() const
{
	return LOCTEXT("KorvatGetDataNode_MenuCategory", "Korvat");
}

FSlateIcon UKorvatD2IGetData::GetIconAndTint(FLinearColor& OutColor) const
{
	return KorvatNodeSupport::NodeIcon();
}

void UKorvatD2IGetData::GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const
{
	KorvatNodeSupport::RegisterNodeSpawner(ActionRegistrar, GetClass());
}

void UKorvatD2IGetData::PreEditChange(FProperty* PropertyAboutToChange)
{
	Super::PreEditChange(PropertyAboutToChange);
	PreEditFields = fromKorvatFields;
}

void UKorvatD2IGetData::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	if (PropertyChangedEvent.GetPropertyName() != GET_MEMBER_NAME_CHECKED(UKorvatD2IGetData, fromKorvatFields))
	{
		return;
	}
	KorvatNodeSupport::RepairFieldNames(fromKorvatFields);
	ReconstructNode();
}

void UKorvatD2IGetData::PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent)
{
	Super::PostEditChangeChainProperty(PropertyChangedEvent);
	if (!KorvatNodeSupport::IsFieldMemberEdit(PropertyChangedEvent))
	{
		return;
	}
	KorvatNodeSupport::RepairFieldNames(fromKorvatFields);
	KorvatNodeSupport::OrphanRetypedFieldPins(fromKorvatFields, PreEditFields);
	ReconstructNode();
}

void UKorvatD2IGetData::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	using namespace KorvatNodeSupport;
	Super::ExpandNode(CompilerContext, SourceGraph);

	UEdGraphPin* ExecPin = GetExecPin();
	UEdGraphPin* ThenPin = GetThenPin();
	UEdGraphPin* IsValidPin = FindPin(IsValidPinName, EGPD_Output);
	UEdGraphPin* NodeNamePin = FindPin(NodePinName, EGPD_Input);
	if (!ExecPin || !ThenPin || !IsValidPin || !NodeNamePin)
	{
		return;
	}
	UFunction* BooleanAnd = UKismetMathLibrary::StaticClass()->FindFunctionByName(FName(TEXT("BooleanAND")));

	UEdGraphPin* PreviousThen = nullptr;
	UEdGraphPin* Available = nullptr;
	for (const FKorvatNodeFieldFromKorvat& Field : fromKorvatFields)
	{
		if (Field.direction == KorvatCommunicationDirection::ToKorvat)
		{
			continue;
		}
		UEdGraphPin* FieldValuePin = FindPin(FieldPinName(Field), EGPD_Output);
		if (FieldValuePin == nullptr)
		{
			continue;
		}
		UFunction* Getter = FindLibraryFunction(ELibraryCall::Get, Field.fieldType);
		if (Getter == nullptr)
		{
			// A type the node does not know ends the chain here.
			break;
		}
		UK2Node_CallFunction* Call = CompilerContext.SpawnIntermediateNode<UK2Node_CallFunction>(this, SourceGraph);
		CompilerContext.MessageLog.NotifyIntermediateObjectCreation(Call, this);
		Call->SetFromFunction(Getter);
		Call->AllocateDefaultPins();
		UEdGraphPin* CallNodeName = Call->FindPin(LibraryNodeNamePin, EGPD_Input);
		UEdGraphPin* CallFieldName = Call->FindPin(LibraryFieldNamePin, EGPD_Input);
		UEdGraphPin* CallIsAvailable = Call->FindPin(LibraryIsAvailablePin, EGPD_Output);
		UEdGraphPin* CallReturn = Call->GetReturnValuePin();
		if (!CallNodeName || !CallFieldName || !CallIsAvailable || !CallReturn)
		{
			continue;
		}
		// Every call reads the same host node.
		CompilerContext.CopyPinLinksToIntermediate(*NodeNamePin, *CallNodeName);
		CallFieldName->DefaultValue = Field.fieldName;
		CompilerContext.MovePinLinksToIntermediate(*FieldValuePin, *CallReturn);

		if (PreviousThen == nullptr)
		{
			CompilerContext.MovePinLinksToIntermediate(*ExecPin, *Call->GetExecPin());
		}
		else
		{
			PreviousThen->MakeLinkTo(Call->GetExecPin());
		}

		if (Available == nullptr)
		{
			Available = CallIsAvailable;
		}
		else if (BooleanAnd != nullptr)
		{
			UK2Node_CallFunction* And = CompilerContext.SpawnIntermediateNode<UK2Node_CallFunction>(this, SourceGraph);
			CompilerContext.MessageLog.NotifyIntermediateObjectCreation(And, this);
			And->SetFromFunction(BooleanAnd);
			And->AllocateDefaultPins();
			UEdGraphPin* A = And->FindPin(FName(TEXT("A")), EGPD_Input);
			UEdGraphPin* B = And->FindPin(FName(TEXT("B")), EGPD_Input);
			UEdGraphPin* Both = And->GetReturnValuePin();
			if (A && B && Both)
			{
				Available->MakeLinkTo(A);
				CallIsAvailable->MakeLinkTo(B);
				Available = Both;
			}
		}
		PreviousThen = Call->GetThenPin();
	}

	if (PreviousThen != nullptr)
	{
		CompilerContext.MovePinLinksToIntermediate(*ThenPin, *PreviousThen);
		CompilerContext.MovePinLinksToIntermediate(*IsValidPin, *Available);
	}
	BreakAllNodeLinks();
}

#undef LOCTEXT_NAMESPACE
