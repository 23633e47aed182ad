#include "KorvatD2ISendData.h"

#include "EdGraphSchema_K2.h"
#include "K2Node_CallFunction.h"
#include "KismetCompiler.h"
#include "KorvatNodeSupport.h"
#include "UObject/UnrealType.h"

#define LOCTEXT_NAMESPACE "UKorvatGetDataNode"

void UKorvatD2ISendData::SyncFields()
{
	RequestFieldsFromHost();
}

void UKorvatD2ISendData::UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields)
{
	toKorvatFields.Empty();
	for (const Korvat::UE4::FieldDescriptor& Descriptor : Fields)
	{
		if (!Descriptor.IsFromKorvat)
		{
			FKorvatNodeFieldToKorvat& Field = toKorvatFields.AddDefaulted_GetRef();
			static_cast<FKorvatNodeField&>(Field) = FieldFromDescriptor(Descriptor, KorvatCommunicationDirection::ToKorvat);
		}
	}
	ReconstructNode();
}

void UKorvatD2ISendData::AllocateDefaultPins()
{
	using namespace KorvatNodeSupport;
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	UEdGraphPin* NodeNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, NodePinName);
	GetDefault<UEdGraphSchema_K2>()->TrySetDefaultValue(*NodeNamePin, TEXT("Korvat Node"));
	for (FKorvatNodeFieldToKorvat& Field : toKorvatFields)
	{
		Field.FieldPin = CreatePin(EGPD_Input, FieldPinType(Field.fieldType), FieldPinName(Field));
		Field.FieldPin->PinFriendlyName = FText::FromString(Field.fieldName);
	}
	Super::AllocateDefaultPins();
}

FText UKorvatD2ISendData::GetNodeTitle(ENodeTitleType::Type TitleType) const
{
	return LOCTEXT("GetKorvatD2ISendDataTitle", "Send Data To Korvat D2I Node");
}

FText UKorvatD2ISendData::GetTooltipText() const
{
	return LOCTEXT("SendKorvatD2INode_Tooltip", "Adds a node that can be used to send multiple values to Korvat");
}

FText UKorvatD2ISendData::GetMenuCategory() const
{
	return LOCTEXT("KorvatGetDataNode_MenuCategory", "Korvat");
}

FSlateIcon UKorvatD2ISendData::GetIconAndTint(FLinearColor& OutColor) const
{
	return KorvatNodeSupport::NodeIcon();
}

void UKorvatD2ISendData::GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const
{
	KorvatNodeSupport::RegisterNodeSpawner(ActionRegistrar, GetClass());
}

void UKorvatD2ISendData::PreEditChange(FProperty* PropertyAboutToChange)
{
	Super::PreEditChange(PropertyAboutToChange);
	PreEditFields = toKorvatFields;
}

void UKorvatD2ISendData::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	if (PropertyChangedEvent.GetPropertyName() != GET_MEMBER_NAME_CHECKED(UKorvatD2ISendData, toKorvatFields))
	{
		return;
	}
	KorvatNodeSupport::RepairFieldNames(toKorvatFields);
	ReconstructNode();
}

void UKorvatD2ISendData::PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent)
{
	Super::PostEditChangeChainProperty(PropertyChangedEvent);
	if (!KorvatNodeSupport::IsFieldMemberEdit(PropertyChangedEvent))
	{
		return;
	}
	KorvatNodeSupport::RepairFieldNames(toKorvatFields);
	KorvatNodeSupport::OrphanRetypedFieldPins(toKorvatFields, PreEditFields);
	ReconstructNode();
}

void UKorvatD2ISendData::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	using namespace KorvatNodeSupport;
	Super::ExpandNode(CompilerContext, SourceGraph);

	UEdGraphPin* ExecPin = GetExecPin();
	UEdGraphPin* ThenPin = GetThenPin();
	UEdGraphPin* NodeNamePin = FindPin(NodePinName, EGPD_Input);
	if (!ExecPin || !ThenPin || !NodeNamePin)
	{
		return;
	}

	UEdGraphPin* PreviousThen = nullptr;
	for (const FKorvatNodeFieldToKorvat& Field : toKorvatFields)
	{
		if (Field.direction == KorvatCommunicationDirection::FromKorvat)
		{
			continue;
		}
		UEdGraphPin* FieldValuePin = FindPin(FieldPinName(Field), EGPD_Input);
		if (FieldValuePin == nullptr)
		{
			continue;
		}
		UFunction* Sender = FindLibraryFunction(ELibraryCall::Send, Field.fieldType);
		if (Sender == nullptr)
		{
			// A type the node does not know ends the chain here.
			break;
		}
		UK2Node_CallFunction* Call = CompilerContext.SpawnIntermediateNode<UK2Node_CallFunction>(this, SourceGraph);
		CompilerContext.MessageLog.NotifyIntermediateObjectCreation(Call, this);
		Call->SetFromFunction(Sender);
		Call->AllocateDefaultPins();
		UEdGraphPin* CallNodeName = Call->FindPin(LibraryNodeNamePin, EGPD_Input);
		UEdGraphPin* CallFieldName = Call->FindPin(LibraryFieldNamePin, EGPD_Input);
		UEdGraphPin* CallValue = Call->FindPin(LibraryValuePin, EGPD_Input);
		if (!CallNodeName || !CallFieldName || !CallValue)
		{
			continue;
		}
		// Every call sends to the same host node.
		CompilerContext.CopyPinLinksToIntermediate(*NodeNamePin, *CallNodeName);
		CallFieldName->DefaultValue = Field.fieldName;
		CompilerContext.MovePinLinksToIntermediate(*FieldValuePin, *CallValue);

		if (PreviousThen == nullptr)
		{
			CompilerContext.MovePinLinksToIntermediate(*ExecPin, *Call->GetExecPin());
		}
		else
		{
			PreviousThen->MakeLinkTo(Call->GetExecPin());
		}
		PreviousThen = Call->GetThenPin();
	}

	if (PreviousThen != nullptr)
	{
		CompilerContext.MovePinLinksToIntermediate(*ThenPin, *PreviousThen);
	}
	BreakAllNodeLinks();
}

#undef LOCTEXT_NAMESPACE
