#include "KorvatD2ISendData.h"

#include "EdGraphSchema_K2.h"
#include "KismetCompiler.h"
#include "KorvatNodeExpansion.h"
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
	Super::ExpandNode(CompilerContext, SourceGraph);
	KorvatNodeExpansion::ExpandFieldChain(*this, CompilerContext, SourceGraph, KorvatNodeSupport::ELibraryCall::Send, toKorvatFields);
}

#undef LOCTEXT_NAMESPACE
