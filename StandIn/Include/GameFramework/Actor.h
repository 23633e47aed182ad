// AActor of the stand-in engine (module Engine): an object placed or spawned in a world.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Templates/Casts.h"
#include "Engine/EngineTypes.h"
#include "Components/SceneComponent.h"
#include "Actor.generated.h"

class UActorComponent;
class UWorld;
struct FHitResult;
struct FMinimalViewInfo;

/**
 * An actor: owns components, takes its transform from its root component, begins play with its world.
 * Spawn actors with UWorld::SpawnActor; their components are registered then.
 */
UCLASS(BlueprintType, Blueprintable, Config = Engine, MinimalAPI)
class ENGINE_API AActor : public UObject
{
	GENERATED_BODY()

public:
	AActor(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The component that gives the actor its transform, or null. */
	USceneComponent* GetRootComponent() const { return RootComponent; }

	/** Makes NewRootComponent the root component (it must belong to this actor). */
	bool SetRootComponent(USceneComponent* NewRootComponent);

	/** The actor's transform: its root component's, or identity without one. */
	FTransform GetActorTransform() const;
	FVector GetActorLocation() const;
	FRotator GetActorRotation() const;

	/** Moves the root component to NewTransform in world space; false when the actor has no root component. */
	bool SetActorTransform(const FTransform& NewTransform, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Sets the root component's transform relative to its attach parent. */
	void SetActorRelativeTransform(const FTransform& NewRelativeTransform, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Moves the root component to NewLocation in world space; false when the actor has no root component. */
	bool SetActorLocation(const FVector& NewLocation, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Rotates the root component to NewRotation in world space; false when the actor has no root component. */
	bool SetActorRotation(FRotator NewRotation, ETeleportType Teleport = ETeleportType::None);

	/** The actor the root component is attached to, or null. */
	virtual AActor* GetAttachParentActor() const;

	/** The component children are attached to when they attach to this actor: the root component. */
	virtual USceneComponent* GetDefaultAttachComponent() const;

	/**
	 * Attaches the root component to ParentActor's default attach component (see
	 * USceneComponent::AttachToComponent); false when either is missing or the attachment is refused.
	 */
	bool AttachToActor(AActor* ParentActor, const FAttachmentTransformRules& AttachmentRules, FName SocketName = NAME_None);

	/** Attaches the root component to Parent; false without a root component or when the attachment is refused. */
	bool AttachToComponent(
		USceneComponent* Parent, const FAttachmentTransformRules& AttachmentRules, FName SocketName = NAME_None);

	/** Detaches the root component from its parent. */
	void DetachFromActor(const FDetachmentTransformRules& DetachmentRules);

	/** When the actor is a view target, its first active camera component gives the view. */
	uint8 bFindCameraComponentWhenViewTarget : 1;

	/**
	 * The actor's point of view as a view target: with bFindCameraComponentWhenViewTarget, the first active
	 * camera component's view (its own components only, not child actors'); else the eye view point.
	 */
	virtual void CalcCamera(float DeltaTime, struct FMinimalViewInfo& OutResult);

	/** The point the actor sees from: its location and rotation. */
	virtual void GetActorEyesViewPoint(FVector& OutLocation, FRotator& OutRotation) const;

	/** Adds Component to the components the actor owns (components made with the actor as outer add themselves). */
	void AddOwnedComponent(UActorComponent* Component);

	/** Removes Component from the components the actor owns. */
	void RemoveOwnedComponent(UActorComponent* Component);

	/** Registers every owned component that is not registered yet. */
	void RegisterAllComponents();

	/**
	 * The actor's components of class T (or derived), in the order they were added.
	 *
	 * @param bIncludeFromChildActors also search child actors (the stand-in has none).
	 */
	template <class T, class AllocatorType>
	void GetComponents(TArray<T*, AllocatorType>& OutComponents, bool /*bIncludeFromChildActors*/ = false) const
	{
		OutComponents.Reset();
		for (UActorComponent* Component : OwnedComponents)
		{
			if (T* Typed = Cast<T>(Component))
			{
				OutComponents.Add(Typed);
			}
		}
	}

	/** The actor's first component of class T (or derived), or null. */
	template <class T>
	T* FindComponentByClass() const
	{
		for (UActorComponent* Component : OwnedComponents)
		{
			if (T* Typed = Cast<T>(Component))
			{
				return Typed;
			}
		}
		return nullptr;
	}

	/** The actor that owns this one, or null. */
	AActor* GetOwner() const { return Owner; }

	/** Sets the actor that owns this one. */
	virtual void SetOwner(AActor* NewOwner);

	/** Whether BeginPlay ran and EndPlay not yet. */
	bool HasActorBegunPlay() const { return bActorHasBegunPlay; }

	/** Begins play for the actor and its registered components; called by the world. */
	void DispatchBeginPlay();

	/** Removes the actor from its world. */
	bool Destroy(bool bNetForce = false, bool bShouldModifyLevel = true);

	//~ Begin UObject Interface
	virtual UWorld* GetWorld() const override;
	//~ End UObject Interface

protected:
	/** Called once when play begins for the actor. */
	virtual void BeginPlay();

	/** Called once when play ends for the actor. */
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason);

	/** The component that gives the actor its transform. */
	TObjectPtr<USceneComponent> RootComponent;

private:
	friend class UWorld;

	TArray<UActorComponent*> OwnedComponents;
	AActor* Owner = nullptr;
	bool bActorHasBegunPlay = false;
};
