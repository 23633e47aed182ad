// UEdGraphNode (Engine): a node of an editor graph, its pins, and the enumerations pins are described with.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Misc/Guid.h"
#include "UObject/WeakObjectPtr.h"
#include "EdGraphNode.generated.h"

class UEdGraph;
class UEdGraphNode;
class UEdGraphPin;
class UEdGraphSchema;
struct FEdGraphPinType;
struct FPropertyChangedEvent;
struct FSlateIcon;
class FCompilerResultsLog;

/**
 * What a container pin holds, for containers of containers (maps): a category, sub-category and object,
 * as a pin type has them.
 */
struct ENGINE_API FEdGraphTerminalType
{
	FEdGraphTerminalType()
		: TerminalCategory()
		, TerminalSubCategory()
		, TerminalSubCategoryObject(nullptr)
		, bTerminalIsConst(false)
		, bTerminalIsWeakPointer(false)
		, bTerminalIsUObjectWrapper(false)
	{
	}

	FName TerminalCategory;
	FName TerminalSubCategory;
	TWeakObjectPtr<UObject> TerminalSubCategoryObject;
	bool bTerminalIsConst;
	bool bTerminalIsWeakPointer;
	bool bTerminalIsUObjectWrapper;

	/** The primary part of a pin type as a terminal type. */
	static FEdGraphTerminalType FromPinType(const FEdGraphPinType& PinType);

	bool operator==(const FEdGraphTerminalType& Other) const
	{
		return TerminalCategory == Other.TerminalCategory
			&& TerminalSubCategory == Other.TerminalSubCategory
			&& TerminalSubCategoryObject == Other.TerminalSubCategoryObject
			&& bTerminalIsConst == Other.bTerminalIsConst
			&& bTerminalIsWeakPointer == Other.bTerminalIsWeakPointer
			&& bTerminalIsUObjectWrapper == Other.bTerminalIsUObjectWrapper;
	}
	bool operator!=(const FEdGraphTerminalType& Other) const { return !(*this == Other); }
};

/** Which way data flows into or out of a pin. */
UENUM()
enum EEdGraphPinDirection
{
	EGPD_Input,
	EGPD_Output,
	EGPD_MAX,
};

/** What container type a pin represents. */
UENUM()
enum class EPinContainerType : uint8
{
	None,
	Array,
	Set,
	Map
};

/** What sort of title is wanted. */
namespace ENodeTitleType
{
	enum Type
	{
		/** The full title, may be multiple lines. */
		FullTitle,
		/** More concise, single line title. */
		ListView,
		/** The editable title (which might not be a title at all). */
		EditableTitle,
		/** Title for context menus referencing the node. */
		MenuTitle,

		MAX_TitleTypes,
	};
}

/** Whether a node has advanced-display pins, and whether they are shown. */
namespace ENodeAdvancedPins
{
	enum Type
	{
		NoPins,
		Shown,
		Hidden
	};
}

/** Which orphaned pins a reconstruction keeps. */
enum class ESaveOrphanPinMode : uint8
{
	SaveNone,
	SaveAll,
	SaveAllButExec
};

UCLASS()
class ENGINE_API UEdGraphNode : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** The node's pins, in creation order (orphaned pins a reconstruction kept come last). */
	TArray<UEdGraphPin*> Pins;

	/** X position of node in the editor */
	UPROPERTY()
	int32 NodePosX;

	/** Y position of node in the editor */
	UPROPERTY()
	int32 NodePosY;

	/** Comment string that is drawn on the node */
	UPROPERTY()
	FString NodeComment;

	/** Flag to store node specific compile error/warning */
	UPROPERTY()
	int32 ErrorType;

	/** Error/Warning description */
	UPROPERTY()
	FString ErrorMsg;

	/** GUID to uniquely identify this node, to facilitate diffing versions of this graph */
	UPROPERTY()
	FGuid NodeGuid;

	/** When true, a reconstruction behaves as if OrphanedPinSaveMode were SaveNone. */
	uint8 bDisableOrphanPinSaving : 1;

	/** Flag to check for compile error/warning */
	uint8 bHasCompilerMessage : 1;

protected:
	/** Which orphaned pins a reconstruction keeps. */
	ESaveOrphanPinMode OrphanedPinSaveMode;

private:
	friend struct FSetAsIntermediateNode;

	/** Whether the node was created as part of an expansion step. */
	uint8 bIsIntermediateNode : 1;

public:
	//~ Begin UObject Interface
	virtual void BeginDestroy() override;
#if WITH_EDITOR
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
#endif
	//~ End UObject Interface

#if WITH_EDITOR
	/** Less common options of CreatePin. */
	struct ENGINE_API FCreatePinParams
	{
		FCreatePinParams()
			: ContainerType(EPinContainerType::None)
			, bIsReference(false)
			, bIsConst(false)
			, Index(INDEX_NONE)
		{
		}

		FCreatePinParams(const FEdGraphPinType& PinType);

		EPinContainerType ContainerType;
		bool bIsReference;
		bool bIsConst;
		int32 Index;
		FEdGraphTerminalType ValueTerminalType;
	};

	/** Create a new pin on this node using the supplied info, and return the new pin */
	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, const FName PinName, const FCreatePinParams& PinParams = FCreatePinParams())
	{
		return CreatePin(Dir, PinCategory, NAME_None, nullptr, PinName, PinParams);
	}

	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, const FName PinSubCategory, const FName PinName, const FCreatePinParams& PinParams = FCreatePinParams())
	{
		return CreatePin(Dir, PinCategory, PinSubCategory, nullptr, PinName, PinParams);
	}

	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, UObject* PinSubCategoryObject, const FName PinName, const FCreatePinParams& PinParams = FCreatePinParams())
	{
		return CreatePin(Dir, PinCategory, NAME_None, PinSubCategoryObject, PinName, PinParams);
	}

	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, const FName PinSubCategory, UObject* PinSubCategoryObject, const FName PinName, const FCreatePinParams& PinParams = FCreatePinParams());

	/** Create a new pin on this node using the supplied pin type, and return the new pin */
	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FEdGraphPinType& InPinType, const FName PinName, int32 Index = INDEX_NONE);

	/** Create a new pin on this node using the supplied pin type, and return the new pin */
	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FEdGraphPinType& InPinType, const TCHAR* PinName, int32 Index = INDEX_NONE)
	{
		return CreatePin(Dir, InPinType, FName(PinName), Index);
	}

	/** Destroys the specified pin, does not modify its owning node's Pins list */
	static void DestroyPin(UEdGraphPin* Pin);

	/** Find a pin on this node with the supplied name and optional direction */
	UEdGraphPin* FindPin(const FName PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const;

	/** Find a pin on this node with the supplied name and optional direction and assert if it is not present */
	UEdGraphPin* FindPinChecked(const FName PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const
	{
		UEdGraphPin* Result = FindPin(PinName, Direction);
		check(Result);
		return Result;
	}

	UEdGraphPin* FindPin(const FString& PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const
	{
		return FindPin(FName(*PinName), Direction);
	}

	UEdGraphPin* FindPinChecked(const FString& PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const
	{
		return FindPinChecked(FName(*PinName), Direction);
	}

	UEdGraphPin* FindPin(const TCHAR* PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const;

	UEdGraphPin* FindPinChecked(const TCHAR* PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const
	{
		UEdGraphPin* Result = FindPin(PinName, Direction);
		check(Result);
		return Result;
	}

	/** Find the pin on this node with the supplied guid */
	UEdGraphPin* FindPinById(const FGuid PinId) const;

	/** Removes a pin from this node (breaking its links) and destroys it; true if it was one of its pins. */
	bool RemovePin(UEdGraphPin* Pin);

	/** Whether the node was created by UEdGraph::CreateIntermediateNode. */
	bool IsIntermediateNode() const { return bIsIntermediateNode; }

	/** Index of a pin in Pins, or INDEX_NONE. */
	int32 GetPinIndex(UEdGraphPin* Pin) const;

	/** The pin at Index, or null for an invalid index. */
	UEdGraphPin* GetPinAt(int32 Index) const;

	/** Break all links on this node */
	void BreakAllNodeLinks();

	/** Returns the graph that contains this node */
	UEdGraph* GetGraph() const;

	/** Allocate default pins for a node, from what the node is (its class and properties). */
	virtual void AllocateDefaultPins() {}

	/** Destroy the node: removes it from its graph, which breaks all its links. */
	virtual void DestroyNode();

	/** Refresh the pins of a node, preserving as many connections as it can. */
	virtual void ReconstructNode() {}

	/** Gets the name of this node, shown in title bar */
	virtual FText GetNodeTitle(ENodeTitleType::Type TitleType) const;

	/** Gets the tooltip to display when over the node */
	virtual FText GetTooltipText() const;

	/** Icon to use in menu or on node */
	virtual FSlateIcon GetIconAndTint(FLinearColor& OutColor) const;

	/** A chance to initialize a new node; called once when the node is placed, before AllocateDefaultPins. */
	virtual void PostPlacedNewNode() {}

	/** Called when the DefaultValue of one of the pins of this node is changed in the editor */
	virtual void PinDefaultValueChanged(UEdGraphPin* /*Pin*/) {}

	/** Called when the connection list of one of the pins of this node is changed in the editor */
	virtual void PinConnectionListChanged(UEdGraphPin* /*Pin*/) {}

	/** Called when something outside the node changed the connection list of any of its pins. */
	virtual void NodeConnectionListChanged() {}

	/** Shorthand way to access the schema of the graph that owns this node */
	const UEdGraphSchema* GetSchema() const;

	/** Create a new unique Guid for this node */
	void CreateNewGuid();

	/** Gives the node a last check before compilation uses it. */
	virtual void ValidateNodeDuringCompilation(class FCompilerResultsLog& /*MessageLog*/) const {}
#endif // WITH_EDITOR
};

#if WITH_EDITOR
/** Marks a node as created by an expansion step (UEdGraph::CreateIntermediateNode). */
struct FSetAsIntermediateNode
{
	friend UEdGraph;

private:
	FSetAsIntermediateNode(UEdGraphNode* GraphNode)
	{
		GraphNode->bIsIntermediateNode = true;
	}
};
#endif
