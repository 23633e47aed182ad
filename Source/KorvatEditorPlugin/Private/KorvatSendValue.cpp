#include "KorvatSendValue.h"

#include "EdGraphSchema_K2.h"
#include "KismetCompiler.h"
#include "KorvatNodeExpansion.h"
#include "KorvatNodeSupport.h"
#include "UObject/UnrealType.h"

#define LOCTEXT_NAMESPACE "UKorvatGetDataNode"

void UKorvatSendValue::AllocateDefaultPins()
{
	using namespace KorvatNodeSupport;
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	UEdGraphPin* NodeNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, NodePinName);
	UEdGraphPin* FieldNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, FieldPinNameOfNode);
	CreatePin(EGPD_Input, FieldPinType(type), ValuePinName);

	const UEdGraphSchema_K2* Schema = GetDefault<UEdGraphSchema_K2>();
	Schema->TrySetDefaultValue(*NodeNamePin, TEXT("KorvatNode"));
	Schema->TrySetDefaultValue(*FieldNamePin, TEXT("NodeField"));
	Super::AllocateDefaultPins();
}

FText UKorvatSendValue::GetNodeTitle(ENodeTitleType::Type TitleType) const
{
	return LOCTEXT("SendKorvatDataNodeTitle", "Send Korvat Value");
}

FText UKorvatSendValue::GetTooltipText() const
{
	return LOCTEXT("SendKorvatDataNode_Tooltip", "Adds a node that can be used to send a single value to Korvat");
}

FText UKorvatSendValue::GetMenuCategory() const
{
	return LOCTEXT("KorvatSendDataNode_MenuCategory", "Korvat");
}

FSlateIcon UKorvatSendValue::GetIconAndTint(FLinearColor& OutColor) const
{
	return KorvatNodeSupport::NodeIcon();
}

void UKorvatSendValue::GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const
{
	KorvatNodeSupport::RegisterNodeSpawner(ActionRegistrar, GetClass());
}

void UKorvatSendValue::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	if (PropertyChangedEvent.GetPropertyName() != GET_MEMBER_NAME_CHECKED(UKorvatSendValue, type))
	{
		return;
	}
	KorvatNodeSupport::RetypeValuePins(*this, KorvatNodeSupport::ValuePinName, type);
	ReconstructNode();
}

void UKorvatSendValue::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	Super::ExpandNode(CompilerContext, SourceGraph);
	KorvatNodeExpansion::ExpandSingleField(*this, CompilerContext, SourceGraph, KorvatNodeSupport::ELibraryCall::Send, type);
}

#undef LOCTEXT_NAMESPACE
