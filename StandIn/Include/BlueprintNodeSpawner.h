// UBlueprintNodeSpawner (BlueprintGraph): an entry of the Blueprint action menu that places a node of a class.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Templates/SubclassOf.h"
#include "EdGraph/EdGraphNode.h"
#include "BlueprintNodeSpawner.generated.h"

UCLASS(Transient)
class BLUEPRINTGRAPH_API UBlueprintNodeSpawner : public UObject
{
	GENERATED_UCLASS_BODY()
	DECLARE_DELEGATE_TwoParams(FCustomizeNodeDelegate, UEdGraphNode*, bool);

public:
	/**
	 * Creates a new UBlueprintNodeSpawner for the specified node class. Sets the allocated spawner's NodeClass
	 * and CustomizeNodeDelegate fields from the supplied parameters.
	 *
	 * @param  NodeClass			The node type that you want the spawner to spawn.
	 * @param  Outer				Optional outer for the new spawner (if left null, the transient package will be used).
	 * @param  PostSpawnDelegate    A delegate to perform specialized node setup post-spawn.
	 * @return A newly allocated instance of this class.
	 */
	static UBlueprintNodeSpawner* Create(TSubclassOf<UEdGraphNode> const NodeClass, UObject* Outer = nullptr, FCustomizeNodeDelegate PostSpawnDelegate = FCustomizeNodeDelegate());

	template<class NodeType>
	static UBlueprintNodeSpawner* Create(UObject* Outer = nullptr, FCustomizeNodeDelegate PostSpawnDelegate = FCustomizeNodeDelegate())
	{
		return Create(NodeType::StaticClass(), Outer, PostSpawnDelegate);
	}

	/** The class of the node this spawns. */
	UPROPERTY()
	TSubclassOf<UEdGraphNode> NodeClass;

	/** A delegate to perform specialized node setup post-spawn. */
	FCustomizeNodeDelegate CustomizeNodeDelegate;
};
