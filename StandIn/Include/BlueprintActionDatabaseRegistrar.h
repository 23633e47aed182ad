// FBlueprintActionDatabaseRegistrar (BlueprintGraph): what a node's GetMenuActions receives to add its actions
// (node spawners) to the Blueprint action menu, each under a key (a class, enum, struct, field or asset).
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"

class UBlueprintNodeSpawner;
class UClass;
class UEdGraphNode;
class UEnum;
class UField;
class UObject;
class UScriptStruct;

class BLUEPRINTGRAPH_API FBlueprintActionDatabaseRegistrar
{
public:
	/**
	 * Adds a spawner under the generating node class (or, for a spawner of a member function or property, under
	 * the member's class). False when the registrar is not open for that key.
	 */
	bool AddBlueprintAction(UBlueprintNodeSpawner* NodeSpawner);

	/** Adds a spawner under a class. */
	bool AddBlueprintAction(UClass const* ClassOwner, UBlueprintNodeSpawner* NodeSpawner);

	/** Adds a spawner under an enum. */
	bool AddBlueprintAction(UEnum const* EnumOwner, UBlueprintNodeSpawner* NodeSpawner);

	/** Adds a spawner under a struct. */
	bool AddBlueprintAction(UScriptStruct const* StructOwner, UBlueprintNodeSpawner* NodeSpawner);

	/** Adds a spawner under a field (recorded under the field's class). */
	bool AddBlueprintAction(UField const* FieldOwner, UBlueprintNodeSpawner* NodeSpawner);

	/** Adds a spawner under an asset; AssetOwner must be an asset. */
	bool AddBlueprintAction(UObject const* AssetOwner, UBlueprintNodeSpawner* NodeSpawner);

	/** The key the registrar is gathering actions for, or null when it gathers all. */
	UObject const* GetActionKeyFilter() const { return ActionKeyFilter; }

	/** Whether actions for this key are being gathered (every key when there is no filter). */
	bool IsOpenForRegistration(UObject const* OwnerKey);

private:
	friend class FBlueprintActionDatabase;
	friend struct FBlueprintActionDatabaseRegistrarAccess;

	/** One action recorded under its key. */
	struct FRegisteredAction
	{
		UObject const* ActionKey;
		UBlueprintNodeSpawner* NodeSpawner;
	};

	explicit FBlueprintActionDatabaseRegistrar(TSubclassOf<UEdGraphNode> DefaultKey = nullptr);

	bool AddActionToDatabase(UObject const* ActionKey, UBlueprintNodeSpawner* NodeSpawner);

	/** The node class whose GetMenuActions is being asked. */
	TSubclassOf<UEdGraphNode> GeneratingClass;

	/** The key gathered for, or null for all. */
	UObject const* ActionKeyFilter;

	/** What was added, in order. */
	TArray<FRegisteredAction> Actions;
};
