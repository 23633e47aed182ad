// UK2Node_CallFunction (BlueprintGraph): a Blueprint node that calls a reflected function; its pins are the
// function's parameters.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "K2Node.h"
#include "Engine/MemberReference.h"
#include "K2Node_CallFunction.generated.h"

class UFunction;

UCLASS()
class BLUEPRINTGRAPH_API UK2Node_CallFunction : public UK2Node
{
	GENERATED_UCLASS_BODY()

public:
	/** Indicates that this is a call to a pure function */
	UPROPERTY()
	uint32 bIsPureFunc : 1;

	/** Indicates that this is a call to a const function */
	UPROPERTY()
	uint32 bIsConstFunc : 1;

	/** Indicates that this is a call to an interface function */
	UPROPERTY()
	uint32 bIsInterfaceCall : 1;

	/** The function to call */
	UPROPERTY()
	FMemberReference FunctionReference;

	//~ Begin UEdGraphNode Interface
	virtual void AllocateDefaultPins() override;
	virtual FText GetNodeTitle(ENodeTitleType::Type TitleType) const override;
	virtual FText GetTooltipText() const override;
	//~ End UEdGraphNode Interface

	//~ Begin UK2Node Interface
	virtual bool IsNodePure() const override { return bIsPureFunc; }
	virtual void PostReconstructNode() override;
	virtual void ExpandNode(class FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph) override;
	//~ End UK2Node Interface

	/** The output execution pin named then, if the node has one. */
	UEdGraphPin* GetThenPin() const;

	/** The output pin of the function's return value, if it has one. */
	UEdGraphPin* GetReturnValuePin() const;

	/** The function this node calls, or null when it cannot be found. */
	UFunction* GetTargetFunction() const;

	/** Makes the node call Function (its pins are made by AllocateDefaultPins). */
	void SetFromFunction(const UFunction* Function);

	/** Creates the pins of a call of Function: execution pins unless it is pure, the target, and one pin per parameter. */
	bool CreatePinsForFunctionCall(const UFunction* Function);

	/** Called for each parameter pin CreatePinsForFunctionCall made. */
	virtual void PostParameterPinCreated(UEdGraphPin* /*Pin*/) {}

protected:
	/** Creates the execute and then pins of an impure call. */
	bool CreateExecPinsForFunctionCall(const UFunction* Function);

	/** Creates the target (self) pin of a call. */
	UEdGraphPin* CreateSelfPin(const UFunction* Function);
};
