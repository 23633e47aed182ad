// "Get Data From Korvat D2I Node": reads every field the host sends for one host node.
#pragma once

#include "CoreMinimal.h"
#include "KorvatD2ISyncNodeBase.h"

#include "KorvatD2IGetData.generated.h"

/** From Korvat Multi Field Node */
UCLASS()
class KORVATEDITORPLUGIN_API UKorvatD2IGetData : public UKorvatD2ISyncNodeBase
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = "Custom Data Model Fields")
	TArray<FKorvatNodeFieldFromKorvat> fromKorvatFields;

	virtual void SyncFields() override;
	virtual void UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields) override;

	//~ Begin UEdGraphNode Interface
	virtual void AllocateDefaultPins() override;
	virtual FText GetNodeTitle(ENodeTitleType::Type TitleType) const override;
	virtual FText GetTooltipText() const override;
	virtual FSlateIcon GetIconAndTint(FLinearColor& OutColor) const override;
	//~ End UEdGraphNode Interface

	//~ Begin UK2Node Interface
	virtual FText GetMenuCategory() const override;
	virtual void GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const override;
	virtual bool ShouldShowNodeProperties() const override { return true; }
	virtual void ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph) override;
	//~ End UK2Node Interface

	//~ Begin UObject Interface
	virtual void PreEditChange(FProperty* PropertyAboutToChange) override;
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
	virtual void PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent) override;
	//~ End UObject Interface

private:
	/** The fields as they were before the edit in progress. */
	TArray<FKorvatNodeFieldFromKorvat> PreEditFields;
};
