// UWorld and FWorldDelegates of the stand-in engine (module Engine).
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Templates/SubclassOf.h"
#include "Templates/Casts.h"
#include "Containers/EnumAsByte.h"
#include "Engine/EngineTypes.h"
#include "Subsystems/SubsystemCollection.h"
#include "Subsystems/WorldSubsystem.h"
#include "World.generated.h"

class AActor;
class APlayerController;
class UPackage;

/** Parameters of UWorld::SpawnActor. */
struct FActorSpawnParameters
{
	/** The name of the new actor; a unique name is made up when None. */
	FName Name;
	/** The actor that owns the new actor. */
	AActor* Owner = nullptr;
};

/**
 * A world: the actors of a level, its player controllers and its world subsystems.
 *
 * Worlds are made with UWorld::CreateWorld (the engine loop test controls in StandIn/Testing/EngineTesting.h
 * do so for game, editor and play-in-editor worlds). The stand-in has no levels: actors belong to the world
 * directly.
 */
UCLASS(CustomConstructor, Config = Engine)
class ENGINE_API UWorld : public UObject
{
	GENERATED_BODY()

public:
	UWorld(const FObjectInitializer& ObjectInitializer);

	/** The kind of world. */
	TEnumAsByte<EWorldType::Type> WorldType;

	/**
	 * Creates and initialises a world (its subsystems among others) and broadcasts
	 * FWorldDelegates::OnPostWorldCreation.
	 *
	 * @param bInformEngineOfWorld also create a world context for it in GEngine (when there is one).
	 */
	static UWorld* CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName = NAME_None,
		UPackage* InWorldPackage = nullptr, bool bAddToRoot = true);

	/** Ends play, deinitialises the subsystems and destroys the actors; the world is unusable afterwards. */
	void DestroyWorld(bool bInformEngineOfWorld, UWorld* NewWorld = nullptr);

	/** Whether this is a game world: Game, PIE, GamePreview or GameRPC. */
	bool IsGameWorld() const;

	/** Whether this is a play-in-editor world. */
	bool IsPlayInEditor() const { return WorldType == EWorldType::PIE; }

	/** Whether play has begun in this world. */
	bool HasBegunPlay() const { return bBegunPlay; }

	/** Begins play: every actor and world subsystem is told once. */
	void BeginPlay();

	/** The first player controller of the world, or null. */
	APlayerController* GetFirstPlayerController() const;

	template <class T>
	T* GetFirstPlayerController() const
	{
		return Cast<T>(GetFirstPlayerController());
	}

	/** Makes Controller known to the world as a player controller (the engine does so when one is spawned). */
	void AddController(class AController* Controller);

	/** Forgets Controller as one of the world's controllers. */
	void RemoveController(class AController* Controller);

	/** Spawns an actor of Class at the given place. */
	AActor* SpawnActor(UClass* Class, FVector const* Location = nullptr, FRotator const* Rotation = nullptr,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters());

	template <class T>
	T* SpawnActor(const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(T::StaticClass(), nullptr, nullptr, SpawnParameters), ECastCheckedType::NullAllowed);
	}

	template <class T>
	T* SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(Class, nullptr, nullptr, SpawnParameters), ECastCheckedType::NullAllowed);
	}

	/** Removes Actor from the world, ending its play. */
	bool DestroyActor(AActor* Actor, bool bNetForce = false, bool bShouldModifyLevel = true);

	/** Ticks the world: every registered component whose tick is enabled, by tick group. */
	void Tick(ELevelTick TickType, float DeltaSeconds);

	/** The world subsystem of that class, or null. */
	template <typename TSubsystemClass>
	TSubsystemClass* GetSubsystem() const
	{
		return SubsystemCollection.GetSubsystem<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/** The world subsystem of that class of World, or null when World is null. */
	template <typename TSubsystemClass>
	static FORCEINLINE TSubsystemClass* GetSubsystem(const UWorld* World)
	{
		return World ? World->GetSubsystem<TSubsystemClass>() : nullptr;
	}

	/** The world subsystems of that class or derived from it, in creation order. */
	template <typename TSubsystemClass>
	const TArray<TSubsystemClass*>& GetSubsystemArray() const
	{
		return SubsystemCollection.GetSubsystemArray<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/** A copy of the world subsystems of that class or derived from it, in creation order. */
	template <typename TSubsystemClass>
	TArray<TSubsystemClass*> GetSubsystemArrayCopy() const
	{
		return SubsystemCollection.GetSubsystemArrayCopy<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	//~ Begin UObject Interface
	virtual UWorld* GetWorld() const override;
	//~ End UObject Interface

private:
	friend struct FWorldAccess;

	FObjectSubsystemCollection<UWorldSubsystem> SubsystemCollection;
	TArray<AActor*> Actors;
	TArray<class AController*> Controllers;
	bool bBegunPlay = false;
	bool bTornDown = false;
};

/** Notifications about worlds. */
class ENGINE_API FWorldDelegates
{
public:
	DECLARE_MULTICAST_DELEGATE_OneParam(FWorldEvent, UWorld*);

	/** Broadcast once a new world was created and initialised. */
	static FWorldEvent OnPostWorldCreation;

	/** Broadcast before a world is destroyed. */
	static FWorldEvent OnPreWorldFinishDestroy;

	FWorldDelegates() = delete;
};

/**
 * The current world of the engine: the game world, or during play-in-editor whichever world
 * SetPlayInEditorWorld / RestoreEditorWorld made current.
 */
class ENGINE_API UWorldProxy
{
public:
	UWorldProxy() = default;

	inline UWorld* operator->() { return World; }
	inline const UWorld* operator->() const { return World; }
	inline UWorld& operator*() { return *World; }
	inline const UWorld& operator*() const { return *World; }
	inline UWorldProxy& operator=(UWorld* InWorld)
	{
		World = InWorld;
		return *this;
	}
	inline operator UWorld*() const { return World; }
	inline UWorld* GetReference() { return World; }

private:
	UWorld* World = nullptr;
};

/** The current world. */
extern ENGINE_API UWorldProxy GWorld;
