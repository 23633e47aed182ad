#include "Components/ActorComponent.h"
#include "Components/SceneComponent.h"
#include "Components/PrimitiveComponent.h"
#include "Camera/CameraComponent.h"
#include "GameFramework/Actor.h"
#include "Engine/World.h"

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
