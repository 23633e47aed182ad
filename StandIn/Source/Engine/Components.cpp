#include "Components/ActorComponent.h"
#include "Components/SceneComponent.h"
#include "Components/PrimitiveComponent.h"
#include "Camera/CameraComponent.h"
#include "GameFramework/Actor.h"
#include "Engine/World.h"

FAttachmentTransformRules FAttachmentTransformRules::KeepRelativeTransform(EAttachmentRule::KeepRelative, false);
FAttachmentTransformRules FAttachmentTransformRules::KeepWorldTransform(EAttachmentRule::KeepWorld, false);
FAttachmentTransformRules FAttachmentTransformRules::SnapToTargetNotIncludingScale(
	EAttachmentRule::SnapToTarget, EAttachmentRule::SnapToTarget, EAttachmentRule::KeepWorld, false);
FAttachmentTransformRules FAttachmentTransformRules::SnapToTargetIncludingScale(EAttachmentRule::SnapToTarget, false);

FDetachmentTransformRules FDetachmentTransformRules::KeepRelativeTransform(EDetachmentRule::KeepRelative, true);
FDetachmentTransformRules FDetachmentTransformRules::KeepWorldTransform(EDetachmentRule::KeepWorld, true);

UActorComponent::UActorComponent(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, bAutoActivate(false)
{
	PrimaryComponentTick.Target = this;
}

void UActorComponent::PostInitProperties()
{
	Super::PostInitProperties();
	// A component made inside an actor belongs to it, as the engine's components do.
	OwnerPrivate = GetTypedOuter<AActor>();
	if (OwnerPrivate != nullptr && !IsTemplate())
	{
		OwnerPrivate->AddOwnedComponent(this);
	}
}

AActor* UActorComponent::GetOwner() const
{
	return OwnerPrivate;
}

UWorld* UActorComponent::GetWorld() const
{
	return OwnerPrivate != nullptr ? OwnerPrivate->GetWorld() : Super::GetWorld();
}

void UActorComponent::BeginPlay()
{
	bHasBegunPlay = true;
}

void UActorComponent::EndPlay(const EEndPlayReason::Type /*EndPlayReason*/)
{
	bHasBegunPlay = false;
}

void UActorComponent::TickComponent(float /*DeltaTime*/, ELevelTick /*TickType*/, FActorComponentTickFunction* /*ThisTickFunction*/)
{
}

void UActorComponent::SetTickGroup(ETickingGroup NewTickGroup)
{
	PrimaryComponentTick.TickGroup = NewTickGroup;
}

void UActorComponent::SetComponentTickEnabled(bool bEnabled)
{
	PrimaryComponentTick.SetTickFunctionEnable(bEnabled);
}

bool UActorComponent::IsComponentTickEnabled() const
{
	return PrimaryComponentTick.IsTickFunctionEnabled();
}

void UActorComponent::RegisterComponent()
{
	if (bRegistered)
	{
		return;
	}
	bRegistered = true;
	PrimaryComponentTick.SetTickFunctionEnable(PrimaryComponentTick.bCanEverTick && PrimaryComponentTick.bStartWithTickEnabled);
	if (bAutoActivate)
	{
		Activate(true);
	}
	// A component registered after its actor began play begins play at once.
	if (OwnerPrivate != nullptr && OwnerPrivate->HasActorBegunPlay() && !bHasBegunPlay)
	{
		BeginPlay();
	}
}

void UActorComponent::UnregisterComponent()
{
	if (!bRegistered)
	{
		return;
	}
	if (bHasBegunPlay)
	{
		EndPlay(EEndPlayReason::RemovedFromWorld);
	}
	bRegistered = false;
}

void UActorComponent::Activate(bool /*bReset*/)
{
	bIsActive = true;
}

void UActorComponent::Deactivate()
{
	bIsActive = false;
}

void UActorComponent::SetActive(bool bNewActive, bool bReset)
{
	if (bNewActive)
	{
		Activate(bReset);
	}
	else
	{
		Deactivate();
	}
}

USceneComponent::USceneComponent(const FObjectInitializer& ObjectInitializer)
	: UActorComponent(ObjectInitializer)
{
}

FTransform USceneComponent::GetRelativeTransform() const
{
	return RelativeTransform;
}

void USceneComponent::SetWorldTransform(const FTransform& NewTransform, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	if (AttachParent != nullptr)
	{
		SetRelativeTransform(NewTransform.GetRelativeTransform(AttachParent->GetComponentTransform()), bSweep, OutSweepHitResult, Teleport);
	}
	else
	{
		SetRelativeTransform(NewTransform, bSweep, OutSweepHitResult, Teleport);
	}
}

void USceneComponent::SetRelativeTransform(const FTransform& NewTransform, bool /*bSweep*/, FHitResult* /*OutSweepHitResult*/, ETeleportType /*Teleport*/)
{
	RelativeTransform = NewTransform;
	UpdateComponentToWorld();
}

void USceneComponent::SetWorldLocation(FVector NewLocation, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	FTransform NewTransform = ComponentToWorld;
	NewTransform.SetTranslation(NewLocation);
	SetWorldTransform(NewTransform, bSweep, OutSweepHitResult, Teleport);
}

void USceneComponent::SetWorldRotation(FRotator NewRotation, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	FTransform NewTransform = ComponentToWorld;
	NewTransform.SetRotation(NewRotation.Quaternion());
	SetWorldTransform(NewTransform, bSweep, OutSweepHitResult, Teleport);
}

void USceneComponent::SetupAttachment(USceneComponent* InParent, FName /*InSocketName*/)
{
	if (InParent == AttachParent || InParent == this)
	{
		return;
	}
	if (AttachParent != nullptr)
	{
		AttachParent->AttachChildren.Remove(this);
	}
	AttachParent = InParent;
	if (AttachParent != nullptr)
	{
		AttachParent->AttachChildren.Add(this);
	}
	UpdateComponentToWorld();
}

bool USceneComponent::AttachToComponent(USceneComponent* InParent, const FAttachmentTransformRules& AttachmentRules, FName InSocketName)
{
	if (InParent == nullptr)
	{
		return false;
	}
	if (InParent == AttachParent && InSocketName == AttachSocketName && InParent->AttachChildren.Contains(this))
	{
		return true;
	}
	if (InParent == this)
	{
		return false;
	}
	const AActor* MyActor = GetOwner();
	if (MyActor != nullptr && MyActor == InParent->GetOwner() && MyActor->GetRootComponent() == this)
	{
		return false;
	}
	if (InParent->IsAttachedTo(this))
	{
		return false;
	}

	DetachFromComponent(FDetachmentTransformRules(AttachmentRules, true));
	AttachParent = InParent;
	AttachSocketName = InSocketName;
	InParent->AttachChildren.Add(this);

	// The component's transform relative to the attach point, for the rules that keep the world transform.
	const FTransform RelativeToParent = ComponentToWorld.GetRelativeTransform(InParent->GetComponentTransform());
	switch (AttachmentRules.LocationRule)
	{
	case EAttachmentRule::KeepRelative:
		break;
	case EAttachmentRule::KeepWorld:
		RelativeTransform.SetTranslation(RelativeToParent.GetTranslation());
		break;
	case EAttachmentRule::SnapToTarget:
		RelativeTransform.SetTranslation(FVector::ZeroVector);
		break;
	}
	switch (AttachmentRules.RotationRule)
	{
	case EAttachmentRule::KeepRelative:
		break;
	case EAttachmentRule::KeepWorld:
		RelativeTransform.SetRotation(RelativeToParent.GetRotation());
		break;
	case EAttachmentRule::SnapToTarget:
		RelativeTransform.SetRotation(FQuat::Identity);
		break;
	}
	switch (AttachmentRules.ScaleRule)
	{
	case EAttachmentRule::KeepRelative:
		break;
	case EAttachmentRule::KeepWorld:
		RelativeTransform.SetScale3D(RelativeToParent.GetScale3D());
		break;
	case EAttachmentRule::SnapToTarget:
		RelativeTransform.SetScale3D(FVector(1.0, 1.0, 1.0));
		break;
	}
	UpdateComponentToWorld();
	return true;
}

void USceneComponent::DetachFromComponent(const FDetachmentTransformRules& DetachmentRules)
{
	if (AttachParent == nullptr)
	{
		return;
	}
	AttachParent->AttachChildren.Remove(this);
	AttachParent = nullptr;
	AttachSocketName = NAME_None;
	// Without a parent the relative transform is the world transform.
	if (DetachmentRules.LocationRule == EDetachmentRule::KeepWorld)
	{
		RelativeTransform.SetTranslation(ComponentToWorld.GetTranslation());
	}
	if (DetachmentRules.RotationRule == EDetachmentRule::KeepWorld)
	{
		RelativeTransform.SetRotation(ComponentToWorld.GetRotation());
	}
	if (DetachmentRules.ScaleRule == EDetachmentRule::KeepWorld)
	{
		RelativeTransform.SetScale3D(ComponentToWorld.GetScale3D());
	}
	UpdateComponentToWorld();
}

bool USceneComponent::IsAttachedTo(const USceneComponent* TestComp) const
{
	if (TestComp == nullptr)
	{
		return false;
	}
	for (const USceneComponent* Parent = AttachParent; Parent != nullptr; Parent = Parent->AttachParent)
	{
		if (Parent == TestComp)
		{
			return true;
		}
	}
	return false;
}

void USceneComponent::UpdateComponentToWorld()
{
	// Child first, then parent: RelativeTransform * ParentWorld in the engine's "A then B" order.
	ComponentToWorld = AttachParent != nullptr ? RelativeTransform * AttachParent->GetComponentTransform() : RelativeTransform;
	for (USceneComponent* Child : AttachChildren)
	{
		Child->UpdateComponentToWorld();
	}
}

UPrimitiveComponent::UPrimitiveComponent(const FObjectInitializer& ObjectInitializer)
	: USceneComponent(ObjectInitializer)
{
}

void UPrimitiveComponent::SetSimulatePhysics(bool bSimulate)
{
	bSimulatePhysics = bSimulate;
}

bool UPrimitiveComponent::IsSimulatingPhysics(FName /*BoneName*/) const
{
	return bSimulatePhysics;
}

UCameraComponent::UCameraComponent(const FObjectInitializer& ObjectInitializer)
	: USceneComponent(ObjectInitializer)
	, bConstrainAspectRatio(false)
{
	bAutoActivate = true;
}
