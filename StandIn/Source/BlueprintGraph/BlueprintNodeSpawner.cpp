// Spawners of the Blueprint action menu, and the registrar nodes add them through.
#include "BlueprintNodeSpawner.h"

#include "BlueprintActionDatabaseRegistrar.h"
#include "UObject/Class.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"

UBlueprintNodeSpawner::UBlueprintNodeSpawner(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

UBlueprintNodeSpawner* UBlueprintNodeSpawner::Create(TSubclassOf<UEdGraphNode> const NodeClass, UObject* Outer, FCustomizeNodeDelegate PostSpawnDelegate)
{
	check(NodeClass != nullptr);
	check(NodeClass->IsChildOf(UEdGraphNode::StaticClass()));

	if (Outer == nullptr)
	{
		Outer = GetTransientPackage();
	}

	UBlueprintNodeSpawner* NodeSpawner = NewObject<UBlueprintNodeSpawner>(Outer);
	NodeSpawner->NodeClass = NodeClass;
	NodeSpawner->CustomizeNodeDelegate = PostSpawnDelegate;
	return NodeSpawner;
}

namespace
{
	/** The key an owner is recorded under: a class, an asset, or a field's class. */
	const UObject* ResolveActionKey(const UObject* UserPassedKey)
	{
		if (UserPassedKey == nullptr)
		{
			return nullptr;
		}
		if (const UClass* Class = Cast<UClass>(UserPassedKey))
		{
			return Class;
		}
		if (const UField* MemberField = Cast<UField>(UserPassedKey))
		{
			if (!MemberField->IsA(UEnum::StaticClass()) && !MemberField->IsA(UScriptStruct::StaticClass()))
			{
				return MemberField->GetOwnerClass();
			}
		}
		// Enums, structs and other assets are keys of their own (the stand-in has no asset registry).
		return UserPassedKey;
	}
}

FBlueprintActionDatabaseRegistrar::FBlueprintActionDatabaseRegistrar(TSubclassOf<UEdGraphNode> DefaultKey)
	: GeneratingClass(DefaultKey)
	, ActionKeyFilter(nullptr)
{
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UBlueprintNodeSpawner* NodeSpawner)
{
	return AddActionToDatabase(*GeneratingClass, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UClass const* ClassOwner, UBlueprintNodeSpawner* NodeSpawner)
{
	return AddActionToDatabase(ClassOwner, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UEnum const* EnumOwner, UBlueprintNodeSpawner* NodeSpawner)
{
	return AddActionToDatabase(EnumOwner, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UScriptStruct const* StructOwner, UBlueprintNodeSpawner* NodeSpawner)
{
	return AddActionToDatabase(StructOwner, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UField const* FieldOwner, UBlueprintNodeSpawner* NodeSpawner)
{
	return AddActionToDatabase(FieldOwner, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::AddBlueprintAction(UObject const* AssetOwner, UBlueprintNodeSpawner* NodeSpawner)
{
	// Actions are recorded under assets or classes only, so they can be rebuilt when those change. An asset is a
	// public, saved object directly inside its package.
	const bool bIsAsset = AssetOwner->HasAnyFlags(RF_Public) && !AssetOwner->HasAnyFlags(RF_Transient | RF_ClassDefaultObject)
		&& AssetOwner->GetOuter() != nullptr && AssetOwner->GetOuter()->IsA(UPackage::StaticClass()) && !AssetOwner->IsA(UField::StaticClass());
	checkf(bIsAsset, TEXT("AddBlueprintAction: %s is not an asset"), *AssetOwner->GetName());
	return AddActionToDatabase(AssetOwner, NodeSpawner);
}

bool FBlueprintActionDatabaseRegistrar::IsOpenForRegistration(UObject const* OwnerKey)
{
	UObject const* ActionKey = ResolveActionKey(OwnerKey);
	if (ActionKey == nullptr)
	{
		ActionKey = *GeneratingClass;
	}
	return (ActionKey != nullptr) && ((ActionKeyFilter == nullptr) || (ActionKeyFilter == ActionKey) || (ActionKeyFilter == OwnerKey));
}

bool FBlueprintActionDatabaseRegistrar::AddActionToDatabase(UObject const* ActionKey, UBlueprintNodeSpawner* NodeSpawner)
{
	ensureMsgf(*GeneratingClass == nullptr || *NodeSpawner->NodeClass == *GeneratingClass,
		TEXT("We expect a nodes to add only spawners for its own type... Maybe a sub-class is adding nodes it shouldn't?"));
	if (IsOpenForRegistration(ActionKey))
	{
		ActionKey = ResolveActionKey(ActionKey);
		if (ActionKey == nullptr)
		{
			ActionKey = *GeneratingClass;
		}
		Actions.Add(FRegisteredAction{ ActionKey, NodeSpawner });
		return true;
	}
	return false;
}
