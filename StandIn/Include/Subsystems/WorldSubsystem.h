// World subsystems of the stand-in engine (module Engine): objects created with each world.
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "Subsystems/Subsystem.h"
#include "Tickable.h"
#include "WorldSubsystem.generated.h"

class UWorld;

/**
 * A subsystem that shares the lifetime of a world. Created by the world when it is initialised, for the
 * world types DoesSupportWorldType accepts (game, editor and play-in-editor worlds by default).
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API UWorldSubsystem : public USubsystem
{
	GENERATED_BODY()

public:
	UWorldSubsystem();

	//~ Begin UObject Interface
	virtual UWorld* GetWorld() const override final;
	//~ End UObject Interface

	//~ Begin USubsystem Interface
	virtual bool ShouldCreateSubsystem(UObject* Outer) const override;
	//~ End USubsystem Interface

	/** The owning world; never null for a created subsystem. */
	UWorld& GetWorldRef() const;

	/** Called after every subsystem of the world was initialised. */
	virtual void PostInitialize() {}

	/** Called when the world begins play. */
	virtual void OnWorldBeginPlay(UWorld& /*InWorld*/) {}

protected:
	/** Whether a subsystem is created for worlds of this type: Game, Editor and PIE by default. */
	virtual bool DoesSupportWorldType(const EWorldType::Type WorldType) const;
};

/**
 * A world subsystem that is also ticked once per engine frame, from its Initialize to its Deinitialize.
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API UTickableWorldSubsystem : public UWorldSubsystem, public FTickableGameObject
{
	GENERATED_BODY()

public:
	UTickableWorldSubsystem();

	//~ Begin FTickableGameObject Interface
	virtual UWorld* GetTickableGameObjectWorld() const override;
	virtual ETickableTickType GetTickableTickType() const override;
	virtual bool IsAllowedToTick() const override final;
	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;
	//~ End FTickableGameObject Interface

	//~ Begin USubsystem Interface
	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
	virtual void Deinitialize() override;
	//~ End USubsystem Interface

	bool IsInitialized() const { return bInitialized; }

private:
	bool bInitialized = false;
};
