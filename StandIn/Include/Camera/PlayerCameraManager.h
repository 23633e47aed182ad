// APlayerCameraManager of the stand-in engine (module Engine): computes a player's view.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"
#include "Camera/CameraTypes.h"
#include "PlayerCameraManager.generated.h"

class APlayerController;

/** How a change of view target blends. The stand-in switches at once. */
struct FViewTargetTransitionParams
{
	float BlendTime = 0.f;
	float BlendExp = 2.f;
	uint32 bLockOutgoing : 1;

	FViewTargetTransitionParams()
		: bLockOutgoing(false)
	{
	}
};

/** A view target and its point of view. */
struct FTViewTarget
{
	/** The actor being viewed. */
	TObjectPtr<AActor> Target;

	/** The computed point of view of the target. */
	FMinimalViewInfo POV;
};

/** The point of view the camera manager computed last, and when. */
struct FCameraCacheEntry
{
	/** World time of the update; 0 before the first update. */
	float TimeStamp = 0.f;
	FMinimalViewInfo POV;
};

/**
 * The camera of one player: the view target, projection defaults (field of view, aspect ratio,
 * orthographic mode) and the limits the view rotation is clamped to. Its fields are plain public members,
 * so whatever a caller wrote is what a test reads back.
 */
UCLASS(NotPlaceable, Transient, BlueprintType, Blueprintable, Config = Engine, MinimalAPI)
class ENGINE_API APlayerCameraManager : public AActor
{
	GENERATED_BODY()

public:
	APlayerCameraManager(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The controller that owns this camera manager. */
	TObjectPtr<APlayerController> PCOwner;

	/** Field of view in degrees when nothing else sets it. */
	float DefaultFOV = 90.0f;

	/** Orthographic width when nothing else sets it. */
	float DefaultOrthoWidth = 512.0f;

	/** Aspect ratio used when the aspect is constrained by default. */
	float DefaultAspectRatio = 1.33333f;

	/** Use an orthographic projection instead of a field of view. */
	uint32 bIsOrthographic : 1;

	/** Constrain the view to DefaultAspectRatio by default (black bars). */
	uint32 bDefaultConstrainAspectRatio : 1;

	/** Minimum view pitch, in degrees. */
	float ViewPitchMin = -89.9f;
	/** Maximum view pitch, in degrees. */
	float ViewPitchMax = 89.9f;
	/** Minimum view yaw, in degrees. */
	float ViewYawMin = 0.f;
	/** Maximum view yaw, in degrees. */
	float ViewYawMax = 359.999f;
	/** Minimum view roll, in degrees. */
	float ViewRollMin = -89.9f;
	/** Maximum view roll, in degrees. */
	float ViewRollMax = 89.9f;

	/** Locks the field of view to NewFOV (0 unlocks it); DefaultFOV is not changed. */
	virtual void SetFOV(float NewFOV);

	/** Unlocks the field of view. */
	void UnlockFOV();

	/** The field of view in degrees: the locked one if locked, else the one of the last camera update. */
	float GetFOVAngle() const;

	/** Locks the orthographic width to NewOrthoWidth (used in orthographic mode only). */
	virtual void SetOrthoWidth(float OrthoWidth);

	/** Unlocks the orthographic width. */
	virtual void UnlockOrthoWidth();

	/** The orthographic width: the locked one if locked, else the one of the last camera update. */
	virtual float GetOrthoWidth() const;

	/**
	 * Computes the view target's point of view and caches it, as the engine does once per world tick for each
	 * player: the manager's defaults (DefaultFOV, DefaultOrthoWidth, DefaultAspectRatio,
	 * bDefaultConstrainAspectRatio, bIsOrthographic), then the view target's own camera (AActor::CalcCamera:
	 * its first active camera component replaces all of them, else the target's eye view point).
	 */
	virtual void UpdateCamera(float DeltaTime);

	/** The point of view of the last camera update. */
	const FMinimalViewInfo& GetCameraCacheView() const { return CameraCachePrivate.POV; }

	/** World time of the last camera update; 0 before the first. */
	float GetCameraCacheTime() const { return CameraCachePrivate.TimeStamp; }

	/** The location and rotation of the last camera update. */
	void GetCameraViewPoint(FVector& OutCamLoc, FRotator& OutCamRot) const;

	/** The current view target actor, or null. */
	AActor* GetViewTarget() const;

	/** Sets the view target (the stand-in switches without blending). */
	virtual void SetViewTarget(class AActor* NewViewTarget, struct FViewTargetTransitionParams TransitionParams = FViewTargetTransitionParams());

protected:
	/** The locked field of view, 0 when not locked. */
	float LockedFOV = 0.f;

	/** The locked orthographic width, 0 when not locked. */
	float LockedOrthoWidth = 0.f;

	/** Computes OutVT's point of view (see UpdateCamera). */
	virtual void UpdateViewTarget(FTViewTarget& OutVT, float DeltaTime);

	/** The current view target. */
	FTViewTarget ViewTarget;

private:
	FCameraCacheEntry CameraCachePrivate;
	/** Time accumulated over camera updates, standing in for the world's time. */
	float CameraTime = 0.f;
};
