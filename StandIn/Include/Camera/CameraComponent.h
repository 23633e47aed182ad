// UCameraComponent of the stand-in engine (module Engine): a camera viewpoint on an actor.
#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"
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

	/** Sets the field of view. */
	void SetFieldOfView(float InFieldOfView) { FieldOfView = InFieldOfView; }

	/** Sets the aspect ratio. */
	void SetAspectRatio(float InAspectRatio) { AspectRatio = InAspectRatio; }
};
