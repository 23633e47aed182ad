// UK2Node (BlueprintGraph): the base of Blueprint graph nodes: reconstruction that keeps links, expansion at
// compile time, and registration in the Blueprint action menu.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphPin.h"
#include "K2Node.generated.h"

class FBlueprintActionDatabaseRegistrar;
class FKismetCompilerContext;
class UEdGraph;

UCLASS(abstract)
class BLUEPRINTGRAPH_API UK2Node : public UEdGraphNode
{
	GENERATED_UCLASS_BODY()

public:
	//~ Begin UObject Interface
#if WITH_EDITOR
	virtual void PreEditChange(FProperty* PropertyThatWillChange) override;
#endif
	//~ End UObject Interface

	//~ Begin UEdGraphNode Interface
	virtual void ReconstructNode() override;
	virtual void PinConnectionListChanged(UEdGraphPin* Pin) override;
	//~ End UEdGraphNode Interface

	/** Whether the node has no execution pins: it runs whenever one of its outputs is needed. */
	virtual bool IsNodePure() const { return false; }

	/** Whether the compiler may leave the node out when nothing uses it. */
	virtual bool IsNodeSafeToIgnore() const { return false; }

	/** Creates the node's new pins during a reconstruction; OldPins are the pins the node had. */
	virtual void ReallocatePinsDuringReconstruction(TArray<UEdGraphPin*>& OldPins);

	/** Called at the end of a reconstruction. */
	virtual void PostReconstructNode();

	/** Replaces the node, at compile time, by intermediate nodes that do its work. */
	virtual void ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph);

	/** Whether selecting the node shows its properties in the details panel. */
	virtual bool ShouldShowNodeProperties() const { return false; }

	/** Adds the node's actions (spawners) to the Blueprint action menu. */
	virtual void GetMenuActions(FBlueprintActionDatabaseRegistrar& /*ActionRegistrar*/) const {}

	/** The category of the node in the Blueprint action menu. */
	virtual FText GetMenuCategory() const;

	/** Called when the connection list of one of the node's pins changed (after the base handling). */
	virtual void NotifyPinConnectionListChanged(UEdGraphPin* /*Pin*/) {}

	/** Lets the node refuse a connection of one of its pins. */
	virtual bool IsConnectionDisallowed(const UEdGraphPin* /*MyPin*/, const UEdGraphPin* /*OtherPin*/, FString& /*OutReason*/) const { return false; }

	/** Whether the node's self pin may take several objects. */
	virtual bool AllowMultipleSelfs(bool /*bInputAsArray*/) const { return false; }

	/** The input execution pin, if the node has one. */
	UEdGraphPin* GetExecPin() const;

	/** The output execution pin named then, if the node has one. */
	UEdGraphPin* GetThenPin() const;

protected:
	/** How an old pin matches a new one during a reconstruction. */
	enum ERedirectType : uint8
	{
		ERedirectType_None = 0,
		ERedirectType_Name = 1,
		ERedirectType_Value = 2,
		ERedirectType_Custom = 3,
		ERedirectType_Type = 4,
	};

	/** Whether a new pin takes the place of an old one: same name and direction, and a compatible type. */
	virtual ERedirectType DoPinsMatchForReconstruction(const UEdGraphPin* NewPin, int32 NewPinIndex, const UEdGraphPin* OldPin, int32 OldPinIndex) const;

	/** Moves an old pin's links and modified default value to the new pin that takes its place. */
	virtual void ReconstructSinglePin(UEdGraphPin* NewPin, UEdGraphPin* OldPin, ERedirectType RedirectType);

	/**
	 * Moves the links of the old pins to the matching new pins; an old pin without a match that is linked (or an
	 * input with a changed default value) is kept, orphaned, after the new pins; the other old pins are destroyed.
	 */
	void RewireOldPinsToNewPins(TArray<UEdGraphPin*>& InOldPins, TArray<UEdGraphPin*>& InNewPins, TMap<UEdGraphPin*, UEdGraphPin*>* NewPinToOldPin);

	/** Breaks the links of pins (telling the nodes on the other side) and destroys them. */
	void DestroyPinList(TArray<UEdGraphPin*>& InPins);
};
