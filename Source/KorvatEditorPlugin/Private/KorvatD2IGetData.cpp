#include "KorvatD2IGetData.h"

#include "EdGraphSchema_K2.h"
#include "KismetCompiler.h"
#include "KorvatNodeExpansion.h"
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
	Super::ExpandNode(CompilerContext, SourceGraph);
	KorvatNodeExpansion::ExpandFieldChain(*this, CompilerContext, SourceGraph, KorvatNodeSupport::ELibraryCall::Get, fromKorvatFields);
}

#undef LOCTEXT_NAMESPACE
