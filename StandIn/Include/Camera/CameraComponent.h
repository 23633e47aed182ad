// UCameraComponent of the stand-in engine (module Engine): a camera viewpoint on an actor.
#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"
#include "Camera/CameraTypes.h"
#include "CameraComponent.generated.h"

/**
 * A camera viewpoint. When its actor is a player's view target, the active camera component gives the view's
 * location, rotation and field of view.
 */
UCLASS(HideCategories = (Mobility, Rendering, LOD), ClassGroup = Camera, meta = (BlueprintSpawnableComponent), MinimalAPI)
class ENGINE_API UCameraComponent : public USceneComponent
{
	GENERATED_BODY()

public:
	UCameraComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Horizontal field of view in degrees (perspective mode). */
	float FieldOfView = 90.0f;

	/** Aspect ratio (width / height) used when the aspect is constrained. */
	float AspectRatio = 1.777778f;

	/** Whether black bars keep the view at AspectRatio. */
	uint8 bConstrainAspectRatio : 1;

	/** Perspective or orthographic. */
	TEnumAsByte<ECameraProjectionMode::Type> ProjectionMode = ECameraProjectionMode::Perspective;

	/** Width of the view in world units (orthographic mode). */
	float OrthoWidth = 512.0f;

	/**
	 * The camera's point of view: the component's world location and rotation, its field of view, aspect
	 * ratio and constraint, projection mode and orthographic width.
	 */
	virtual void GetCameraView(float DeltaTime, FMinimalViewInfo& DesiredView);

	/** Sets the field of view. */
	void SetFieldOfView(float InFieldOfView) { FieldOfView = InFieldOfView; }

	/** Sets the aspect ratio. */
	void SetAspectRatio(float InAspectRatio) { AspectRatio = InAspectRatio; }
};
