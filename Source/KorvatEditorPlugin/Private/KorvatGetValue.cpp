#include "KorvatGetValue.h"

#include "EdGraphSchema_K2.h"
#include "KismetCompiler.h"
#include "KorvatNodeExpansion.h"
#include "KorvatNodeSupport.h"
#include "UObject/UnrealType.h"

#define LOCTEXT_NAMESPACE "UKorvatGetDataNode"

void UKorvatGetValue::AllocateDefaultPins()
{
	using namespace KorvatNodeSupport;
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	UEdGraphPin* NodeNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, NodePinName);
	UEdGraphPin* FieldNamePin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_String, FieldPinNameOfNode);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Boolean, IsValidPinName);
	CreatePin(EGPD_Output, FieldPinType(type), ResultPinName);

	const UEdGraphSchema_K2* Schema = GetDefault<UEdGraphSchema_K2>();
	Schema->TrySetDefaultValue(*NodeNamePin, TEXT("KorvatNode"));
	Schema->TrySetDefaultValue(*FieldNamePin, TEXT("NodeField"));
	Super::AllocateDefaultPins();
}

FText UKorvatGetValue::GetNodeTitle(ENodeTitleType::Type TitleType) const
{
	return LOCTEXT("GetKorvatDataNodeTitle", "Get Korvat Value");
}

FText UKorvatGetValue::GetTooltipText() const
{
	return LOCTEXT("GetKorvatDataNode_Tooltip", "Adds a node that can be used to retrieve a single value from Korvat");
}

FText UKorvatGetValue::GetMenuCategory() const
{
	return LOCTEXT("KorvatGetDataNode_MenuCategory", "Korvat");
}

FSlateIcon UKorvatGetValue::GetIconAndTint(FLinearColor& OutColor) const
{
	return KorvatNodeSupport::NodeIcon();
}

void UKorvatGetValue::GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const
{
	KorvatNodeSupport::RegisterNodeSpawner(ActionRegistrar, GetClass());
}

void UKorvatGetValue::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	if (PropertyChangedEvent.GetPropertyName() != GET_MEMBER_NAME_CHECKED(UKorvatGetValue, type))
	{
		return;
	}
	KorvatNodeSupport::RetypeValuePins(*this, KorvatNodeSupport::ResultPinName, type);
	ReconstructNode();
}

void UKorvatGetValue::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	Super::ExpandNode(CompilerContext, SourceGraph);
	KorvatNodeExpansion::ExpandSingleField(*this, CompilerContext, SourceGraph, KorvatNodeSupport::ELibraryCall::Get, type);
}

#undef LOCTEXT_NAMESPACE
