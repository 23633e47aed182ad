// UActorComponent of the stand-in engine (module Engine): reusable behaviour added to an actor.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Engine/EngineBaseTypes.h"
#include "Engine/EngineTypes.h"
#include "ActorComponent.generated.h"

class AActor;
class UWorld;

/**
 * A component of an actor. A component created with an actor as its outer belongs to that actor. Once
 * registered (RegisterComponent; the actor's components are registered when it is spawned) it ticks every
 * world tick while PrimaryComponentTick.bCanEverTick is set and its tick is enabled, in its tick group.
 */
UCLASS(DefaultToInstanced, BlueprintType, Abstract, MinimalAPI)
class ENGINE_API UActorComponent : public UObject
{
	GENERATED_BODY()

public:
	UActorComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The component's tick settings. */
	FActorComponentTickFunction PrimaryComponentTick;

	/** Whether the component activates when it is registered. */
	uint8 bAutoActivate : 1;

	/** Called once when play begins for the component (its actor began play, or it registered later). */
	virtual void BeginPlay();

	/** Called once when play ends for the component. */
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason);

	/**
	 * Ticks the component. Only executes if the component is registered and PrimaryComponentTick.bCanEverTick
	 * is set.
	 */
	virtual void TickComponent(float DeltaTime, enum ELevelTick TickType, FActorComponentTickFunction* ThisTickFunction);

	/** Changes the tick group of the component's tick. */
	void SetTickGroup(ETickingGroup NewTickGroup);

	/** Enables or disables the component's tick. */
	virtual void SetComponentTickEnabled(bool bEnabled);

	/** Whether the component's tick is enabled. */
	bool IsComponentTickEnabled() const;

	/** Registers the component with its owner's world; registered components tick and can begin play. */
	void RegisterComponent();

	/** Unregisters the component. */
	void UnregisterComponent();

	bool IsRegistered() const { return bRegistered; }

	/** Whether BeginPlay was called and EndPlay not yet. */
	bool HasBegunPlay() const { return bHasBegunPlay; }

	/** Activates the component. */
	virtual void Activate(bool bReset = false);

	/** Deactivates the component. */
	virtual void Deactivate();

	/** Activates or deactivates the component. */
	virtual void SetActive(bool bNewActive, bool bReset = false);

	/** Whether the component is active. */
	bool IsActive() const { return bIsActive; }

	/** The actor that owns the component, or null. */
	AActor* GetOwner() const;

	//~ Begin UObject Interface
	virtual UWorld* GetWorld() const override;
	virtual void PostInitProperties() override;
	//~ End UObject Interface

private:
	AActor* OwnerPrivate = nullptr;
	bool bRegistered = false;
	bool bHasBegunPlay = false;
	bool bIsActive = false;
};
