// USceneComponent of the stand-in engine (module Engine): a component with a transform.
#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "SceneComponent.generated.h"

struct FHitResult;

/**
 * A component with a transform relative to the component it is attached to (or to the world when it is not
 * attached). An actor's root component gives the actor its transform.
 */
UCLASS(ClassGroup = (Utility), BlueprintType, MinimalAPI)
class ENGINE_API USceneComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	USceneComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The component's transform in world space. */
	const FTransform& GetComponentTransform() const { return ComponentToWorld; }

	FVector GetComponentLocation() const { return ComponentToWorld.GetTranslation(); }
	FRotator GetComponentRotation() const { return ComponentToWorld.Rotator(); }
	FQuat GetComponentQuat() const { return ComponentToWorld.GetRotation(); }

	/** The component's transform relative to its attach parent. */
	FTransform GetRelativeTransform() const;

	/**
	 * Sets the transform in world space; the relative transform becomes the one that gives it under the
	 * current attach parent. The stand-in has no collision, so a sweep never hits.
	 */
	void SetWorldTransform(const FTransform& NewTransform, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Sets the transform relative to the attach parent. */
	void SetRelativeTransform(const FTransform& NewTransform, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Sets the location in world space, keeping the rotation and scale. */
	void SetWorldLocation(FVector NewLocation, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Sets the rotation in world space, keeping the location and scale. */
	void SetWorldRotation(FRotator NewRotation, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);

	/** Sets the parent the component will attach to when it registers (and attaches it at once). */
	void SetupAttachment(USceneComponent* InParent, FName InSocketName = NAME_None);

	/**
	 * Attaches the component to InParent, detaching it from its current parent first, and sets its relative
	 * transform by the rules. The stand-in has no sockets: the attach point is the parent's own transform.
	 *
	 * @return true when attached (or already attached to InParent at InSocketName); false, with no change,
	 *         when InParent is null or this component, when this is its actor's root and InParent belongs to the
	 *         same actor, or when InParent is attached to this component.
	 */
	bool AttachToComponent(
		USceneComponent* InParent, const FAttachmentTransformRules& AttachmentRules, FName InSocketName = NAME_None);

	/** Detaches the component from its parent; its relative transform follows the rules. */
	virtual void DetachFromComponent(const FDetachmentTransformRules& DetachmentRules);

	/** Whether the component is attached, directly or further up, to TestComp (false for itself). */
	bool IsAttachedTo(const USceneComponent* TestComp) const;

	/** The socket of the parent the component is attached at. */
	FName GetAttachSocketName() const { return AttachSocketName; }

	/** The component this one is attached to, or null. */
	USceneComponent* GetAttachParent() const { return AttachParent; }

	/** The components attached to this one. */
	const TArray<USceneComponent*>& GetAttachChildren() const { return AttachChildren; }

private:
	void UpdateComponentToWorld();

	USceneComponent* AttachParent = nullptr;
	FName AttachSocketName;
	TArray<USceneComponent*> AttachChildren;
	FTransform RelativeTransform;
	FTransform ComponentToWorld;
};
