// UEngine, FWorldContext and GEngine of the stand-in engine (module Engine).
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "UObject/SoftObjectPath.h"
#include "Templates/SubclassOf.h"
#include "Containers/IndirectArray.h"
#include "Engine/EngineTypes.h"
#include "Engine/World.h"
#include "Engine.generated.h"

class UGameUserSettings;
class UGameViewportClient;
class ULocalPlayer;
class UGameInstance;
class FSceneViewExtensions;

/**
 * One world the engine knows about, with its kind, its handle and, for a game or play-in-editor world, the
 * viewport client that shows it.
 */
struct FWorldContext
{
	/** The kind of world of this context. */
	TEnumAsByte<EWorldType::Type> WorldType;

	/** The unique name of this context (the key of the editor's play-in-editor information). */
	FName ContextHandle;

	/** The viewport client showing the world, or null. */
	TObjectPtr<UGameViewportClient> GameViewport;

	/** The game instance owning the world, or null (the stand-in has no game instances). */
	TObjectPtr<UGameInstance> OwningGameInstance;

	/** The play-in-editor instance number, or -1. */
	int32 PIEInstance = -1;

	FWorldContext()
		: WorldType(EWorldType::None)
	{
	}

	/** The world of this context, or null. */
	UWorld* World() const { return ThisCurrentWorld; }

	/** Makes World the world of this context. */
	ENGINE_API void SetCurrentWorld(UWorld* World);

private:
	UWorld* ThisCurrentWorld = nullptr;
};

/**
 * The engine: the world contexts, the game viewport, the local player class and the game user settings.
 * GEngine is a UGameEngine in a game and a UEditorEngine in the editor.
 */
UCLASS(Abstract, Config = Engine, DefaultConfig, Transient)
class ENGINE_API UEngine : public UObject
{
	GENERATED_BODY()

public:
	UEngine(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The viewport client of the game, or null while no game runs. */
	TObjectPtr<UGameViewportClient> GameViewport;

	/**
	 * The class path of local players. LocalPlayerClass is resolved from it when the engine initialises its
	 * object references (UEngine::InitializeObjectReferences); a later change takes effect only then.
	 */
	UPROPERTY(GlobalConfig, NoClear, meta = (MetaClass = "/Script/Engine.LocalPlayer", DisplayName = "Local Player Class"), AdvancedDisplay)
	FSoftClassPath LocalPlayerClassName;

	/** The class of the local players the engine creates. */
	UPROPERTY()
	TSubclassOf<ULocalPlayer> LocalPlayerClass;

	/** The registry of scene view extensions (weak references). */
	TSharedPtr<FSceneViewExtensions> ViewExtensions;

	/** Resolves the engine's class references from their configured paths (LocalPlayerClass among them). */
	virtual void InitializeObjectReferences();

	/** The engine's world contexts, in creation order. */
	const TIndirectArray<FWorldContext>& GetWorldContexts() const { return WorldList; }

	/** Adds a world context of the given kind with a unique handle. */
	FWorldContext& CreateNewWorldContext(EWorldType::Type WorldType);

	/** Removes the world context of InWorld. */
	void DestroyWorldContext(UWorld* InWorld);

	/** The world context of InWorld, or null. */
	FWorldContext* GetWorldContextFromWorld(const UWorld* InWorld);

	/** The world context shown by InViewport, or null. */
	FWorldContext* GetWorldContextFromGameViewport(const UGameViewportClient* InViewport);

	/** The game user settings, created on first use. */
	virtual UGameUserSettings* GetGameUserSettings();
	virtual const UGameUserSettings* GetGameUserSettings() const;

	/** The first local player of the first world that has one, or null. */
	ULocalPlayer* GetDebugLocalPlayer();

	/** Tells the engine about a new world. */
	virtual void WorldAdded(UWorld* /*World*/) {}

	/** Tells the engine that a world is going away. */
	virtual void WorldDestroyed(UWorld* /*InWorld*/) {}

protected:
	TIndirectArray<FWorldContext> WorldList;

private:
	int32 NextWorldContextHandle = 0;
	mutable TObjectPtr<UGameUserSettings> GameUserSettings;
};

/** The engine, or null before it is created and after it is destroyed. */
extern ENGINE_API class UEngine* GEngine;
