// Points of view: what a camera component, an actor, a pawn and a controller see, and the camera manager's
// per-tick cache of its view target's point of view.
#include "Camera/CameraComponent.h"
#include "Camera/CameraTypes.h"
#include "Camera/PlayerCameraManager.h"
#include "GameFramework/Actor.h"
#include "GameFramework/Controller.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"

void UCameraComponent::GetCameraView(float /*DeltaTime*/, FMinimalViewInfo& DesiredView)
{
	DesiredView.Location = GetComponentLocation();
	DesiredView.Rotation = GetComponentRotation();
	DesiredView.FOV = FieldOfView;
	DesiredView.AspectRatio = AspectRatio;
	DesiredView.bConstrainAspectRatio = bConstrainAspectRatio;
	DesiredView.ProjectionMode = ProjectionMode;
	DesiredView.OrthoWidth = OrthoWidth;
}

void AActor::CalcCamera(float DeltaTime, FMinimalViewInfo& OutResult)
{
	if (bFindCameraComponentWhenViewTarget)
	{
		// The first active camera component of the actor itself gives the view.
		TArray<UCameraComponent*> Cameras;
		GetComponents(Cameras);
		for (UCameraComponent* CameraComponent : Cameras)
		{
			if (CameraComponent->IsActive())
			{
				CameraComponent->GetCameraView(DeltaTime, OutResult);
				return;
			}
		}
	}
	GetActorEyesViewPoint(OutResult.Location, OutResult.Rotation);
}

void AActor::GetActorEyesViewPoint(FVector& OutLocation, FRotator& OutRotation) const
{
	OutLocation = GetActorLocation();
	OutRotation = GetActorRotation();
}

FVector APawn::GetPawnViewLocation() const
{
	return GetActorLocation() + FVector(0.0, 0.0, BaseEyeHeight);
}

FRotator APawn::GetViewRotation() const
{
	return Controller ? Controller->GetControlRotation() : GetActorRotation();
}

void APawn::GetActorEyesViewPoint(FVector& OutLocation, FRotator& OutRotation) const
{
	OutLocation = GetPawnViewLocation();
	OutRotation = GetViewRotation();
}

void AController::GetPlayerViewPoint(FVector& Location, FRotator& Rotation) const
{
	if (APawn* const MyPawn = GetPawn())
	{
		MyPawn->GetActorEyesViewPoint(Location, Rotation);
		return;
	}
	Location = GetActorLocation();
	Rotation = GetControlRotation();
}

void APlayerController::UpdateCameraManager(float DeltaSeconds)
{
	if (PlayerCameraManager)
	{
		PlayerCameraManager->UpdateCamera(DeltaSeconds);
	}
}

void APlayerController::GetPlayerViewPoint(FVector& out_Location, FRotator& out_Rotation) const
{
	if (PlayerCameraManager && PlayerCameraManager->GetCameraCacheTime() > 0.f)
	{
		PlayerCameraManager->GetCameraViewPoint(out_Location, out_Rotation);
		return;
	}
	if (const AActor* TheViewTarget = GetViewTarget())
	{
		out_Location = TheViewTarget->GetActorLocation();
		out_Rotation = TheViewTarget->GetActorRotation();
		return;
	}
	Super::GetPlayerViewPoint(out_Location, out_Rotation);
}

void APlayerCameraManager::SetOrthoWidth(float OrthoWidth)
{
	LockedOrthoWidth = OrthoWidth;
}

void APlayerCameraManager::UnlockOrthoWidth()
{
	LockedOrthoWidth = 0.f;
}

float APlayerCameraManager::GetOrthoWidth() const
{
	return LockedOrthoWidth > 0.f ? LockedOrthoWidth : GetCameraCacheView().OrthoWidth;
}

void APlayerCameraManager::GetCameraViewPoint(FVector& OutCamLoc, FRotator& OutCamRot) const
{
	OutCamLoc = GetCameraCacheView().Location;
	OutCamRot = GetCameraCacheView().Rotation;
}

void APlayerCameraManager::UpdateViewTarget(FTViewTarget& OutVT, float DeltaTime)
{
	// The manager's defaults first; the view target's own camera, if it has one, replaces them.
	OutVT.POV = FMinimalViewInfo();
	OutVT.POV.FOV = DefaultFOV;
	OutVT.POV.OrthoWidth = DefaultOrthoWidth;
	OutVT.POV.AspectRatio = DefaultAspectRatio;
	OutVT.POV.bConstrainAspectRatio = bDefaultConstrainAspectRatio;
	OutVT.POV.ProjectionMode = bIsOrthographic ? ECameraProjectionMode::Orthographic : ECameraProjectionMode::Perspective;
	if (OutVT.Target)
	{
		OutVT.Target->CalcCamera(DeltaTime, OutVT.POV);
	}
}

void APlayerCameraManager::UpdateCamera(float DeltaTime)
{
	UpdateViewTarget(ViewTarget, DeltaTime);
	// The cache's time stamp is the world's time; a sum of the updates' deltas stands in for it, and is kept
	// above zero so that "has updated" holds from the first update on.
	CameraTime += FMath::Max(DeltaTime, UE_KINDA_SMALL_NUMBER);
	CameraCachePrivate.TimeStamp = CameraTime;
	CameraCachePrivate.POV = ViewTarget.POV;
}
