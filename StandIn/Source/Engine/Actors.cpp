#include "GameFramework/Actor.h"
#include "GameFramework/Controller.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "Camera/PlayerCameraManager.h"
#include "Components/ActorComponent.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"

AActor::AActor(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, bFindCameraComponentWhenViewTarget(true)
{
}

bool AActor::SetRootComponent(USceneComponent* NewRootComponent)
{
	if (NewRootComponent != nullptr && NewRootComponent->GetOwner() != this)
	{
		return false;
	}
	RootComponent = NewRootComponent;
	return true;
}

FTransform AActor::GetActorTransform() const
{
	return RootComponent ? RootComponent->GetComponentTransform() : FTransform::Identity;
}

FVector AActor::GetActorLocation() const
{
	return GetActorTransform().GetTranslation();
}

FRotator AActor::GetActorRotation() const
{
	return GetActorTransform().Rotator();
}

bool AActor::SetActorTransform(const FTransform& NewTransform, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	if (!RootComponent)
	{
		return false;
	}
	RootComponent->SetWorldTransform(NewTransform, bSweep, OutSweepHitResult, Teleport);
	return true;
}

void AActor::SetActorRelativeTransform(const FTransform& NewRelativeTransform, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	if (RootComponent)
	{
		RootComponent->SetRelativeTransform(NewRelativeTransform, bSweep, OutSweepHitResult, Teleport);
	}
}

bool AActor::SetActorLocation(const FVector& NewLocation, bool bSweep, FHitResult* OutSweepHitResult, ETeleportType Teleport)
{
	if (!RootComponent)
	{
		return false;
	}
	RootComponent->SetWorldLocation(NewLocation, bSweep, OutSweepHitResult, Teleport);
	return true;
}

bool AActor::SetActorRotation(FRotator NewRotation, ETeleportType Teleport)
{
	if (!RootComponent)
	{
		return false;
	}
	RootComponent->SetWorldRotation(NewRotation, false, nullptr, Teleport);
	return true;
}

AActor* AActor::GetAttachParentActor() const
{
	const USceneComponent* Parent = RootComponent ? RootComponent->GetAttachParent() : nullptr;
	return Parent != nullptr ? Parent->GetOwner() : nullptr;
}

USceneComponent* AActor::GetDefaultAttachComponent() const
{
	return GetRootComponent();
}

bool AActor::AttachToActor(AActor* ParentActor, const FAttachmentTransformRules& AttachmentRules, FName SocketName)
{
	if (RootComponent && ParentActor != nullptr)
	{
		if (USceneComponent* ParentDefaultAttachComponent = ParentActor->GetDefaultAttachComponent())
		{
			return RootComponent->AttachToComponent(ParentDefaultAttachComponent, AttachmentRules, SocketName);
		}
	}
	return false;
}

bool AActor::AttachToComponent(USceneComponent* Parent, const FAttachmentTransformRules& AttachmentRules, FName SocketName)
{
	return RootComponent ? RootComponent->AttachToComponent(Parent, AttachmentRules, SocketName) : false;
}

void AActor::DetachFromActor(const FDetachmentTransformRules& DetachmentRules)
{
	if (RootComponent)
	{
		RootComponent->DetachFromComponent(DetachmentRules);
	}
}

void AActor::AddOwnedComponent(UActorComponent* Component)
{
	if (Component != nullptr && !OwnedComponents.Contains(Component))
	{
		OwnedComponents.Add(Component);
	}
}

void AActor::RemoveOwnedComponent(UActorComponent* Component)
{
	OwnedComponents.Remove(Component);
}

void AActor::RegisterAllComponents()
{
	const TArray<UActorComponent*> Components = OwnedComponents;
	for (UActorComponent* Component : Components)
	{
		Component->RegisterComponent();
	}
}

void AActor::SetOwner(AActor* NewOwner)
{
	Owner = NewOwner;
}

void AActor::DispatchBeginPlay()
{
	if (bActorHasBegunPlay)
	{
		return;
	}
	BeginPlay();
}

void AActor::BeginPlay()
{
	bActorHasBegunPlay = true;
	const TArray<UActorComponent*> Components = OwnedComponents;
	for (UActorComponent* Component : Components)
	{
		if (Component->IsRegistered() && !Component->HasBegunPlay())
		{
			Component->BeginPlay();
		}
	}
}

void AActor::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	for (UActorComponent* Component : OwnedComponents)
	{
		if (Component->HasBegunPlay())
		{
			Component->EndPlay(EndPlayReason);
		}
	}
	bActorHasBegunPlay = false;
}

bool AActor::Destroy(bool bNetForce, bool bShouldModifyLevel)
{
	UWorld* World = GetWorld();
	return World != nullptr && World->DestroyActor(this, bNetForce, bShouldModifyLevel);
}

UWorld* AActor::GetWorld() const
{
	return GetTypedOuter<UWorld>();
}

AController::AController(const FObjectInitializer& ObjectInitializer)
	: AActor(ObjectInitializer)
{
}

void AController::Possess(APawn* InPawn)
{
	if (InPawn == Pawn)
	{
		return;
	}
	if (Pawn)
	{
		UnPossess();
	}
	if (InPawn != nullptr)
	{
		if (AController* PreviousController = InPawn->GetController())
		{
			PreviousController->UnPossess();
		}
		OnPossess(InPawn);
	}
}

void AController::UnPossess()
{
	if (Pawn)
	{
		OnUnPossess();
	}
}

void AController::OnPossess(APawn* InPawn)
{
	Pawn = InPawn;
	InPawn->PossessedBy(this);
}

void AController::OnUnPossess()
{
	APawn* Previous = Pawn;
	Pawn = nullptr;
	Previous->UnPossessed();
}

FRotator AController::GetControlRotation() const
{
	return ControlRotation;
}

void AController::SetControlRotation(const FRotator& NewRotation)
{
	ControlRotation = NewRotation;
}

void AController::ClientSetRotation_Implementation(FRotator NewRotation, bool /*bResetCamera*/)
{
	SetControlRotation(NewRotation);
	if (Pawn)
	{
		Pawn->FaceRotation(NewRotation, 0.f);
	}
}

bool AController::ClientSetRotation_Validate(FRotator /*NewRotation*/, bool /*bResetCamera*/)
{
	return true;
}

APawn::APawn(const FObjectInitializer& ObjectInitializer)
	: AActor(ObjectInitializer)
	, bUseControllerRotationPitch(false)
	, bUseControllerRotationYaw(true)
	, bUseControllerRotationRoll(false)
{
}

void APawn::FaceRotation(FRotator NewControlRotation, float /*DeltaTime*/)
{
	if (!bUseControllerRotationPitch && !bUseControllerRotationYaw && !bUseControllerRotationRoll)
	{
		return;
	}
	const FRotator Current = GetActorRotation();
	const FRotator Target(bUseControllerRotationPitch ? NewControlRotation.Pitch : Current.Pitch,
		bUseControllerRotationYaw ? NewControlRotation.Yaw : Current.Yaw, bUseControllerRotationRoll ? NewControlRotation.Roll : Current.Roll);
	SetActorRotation(Target);
}

void APawn::PossessedBy(AController* NewController)
{
	Controller = NewController;
}

void APawn::UnPossessed()
{
	Controller = nullptr;
}

APlayerController::APlayerController(const FObjectInitializer& ObjectInitializer)
	: AController(ObjectInitializer)
{
}

AActor* APlayerController::GetViewTarget() const
{
	AActor* CameraManagerViewTarget = PlayerCameraManager ? PlayerCameraManager->GetViewTarget() : nullptr;
	return CameraManagerViewTarget != nullptr ? CameraManagerViewTarget : const_cast<APlayerController*>(this);
}

void APlayerController::SetViewTarget(AActor* NewViewTarget, FViewTargetTransitionParams TransitionParams)
{
	if (PlayerCameraManager)
	{
		PlayerCameraManager->SetViewTarget(NewViewTarget, TransitionParams);
	}
}

ULocalPlayer* APlayerController::GetLocalPlayer() const
{
	return Cast<ULocalPlayer>(Player);
}

void APlayerController::OnPossess(APawn* InPawn)
{
	Super::OnPossess(InPawn);
	// A player views through the pawn it possesses.
	SetViewTarget(InPawn);
}

APlayerCameraManager::APlayerCameraManager(const FObjectInitializer& ObjectInitializer)
	: AActor(ObjectInitializer)
	, bIsOrthographic(false)
	, bDefaultConstrainAspectRatio(false)
{
}

void APlayerCameraManager::SetFOV(float NewFOV)
{
	LockedFOV = NewFOV;
}

void APlayerCameraManager::UnlockFOV()
{
	LockedFOV = 0.f;
}

float APlayerCameraManager::GetFOVAngle() const
{
	return LockedFOV > 0.f ? LockedFOV : GetCameraCacheView().FOV;
}

AActor* APlayerCameraManager::GetViewTarget() const
{
	return ViewTarget.Target;
}

void APlayerCameraManager::SetViewTarget(AActor* NewViewTarget, FViewTargetTransitionParams /*TransitionParams*/)
{
	// Without a target the camera manager views its owner, as the engine does.
	ViewTarget.Target = NewViewTarget != nullptr ? NewViewTarget : static_cast<AActor*>(PCOwner.Get());
}
