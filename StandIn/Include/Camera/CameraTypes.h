// FMinimalViewInfo and ECameraProjectionMode of the stand-in engine (module Engine): a point of view as the
// camera system hands it to the renderer.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"

namespace ECameraProjectionMode
{
	enum Type : int
	{
		Perspective,
		Orthographic
	};
}

/**
 * A point of view: location, rotation, field of view or orthographic width, aspect ratio and whether black
 * bars keep the view at that aspect ratio. In the engine a USTRUCT with more members (post-process settings,
 * off-centre offsets, ortho plane auto-calculation); the stand-in keeps those the view computation uses.
 */
struct FMinimalViewInfo
{
	FVector Location = FVector(0.0, 0.0, 0.0);
	FRotator Rotation = FRotator(0.0, 0.0, 0.0);

	/** Horizontal field of view in degrees (perspective mode). */
	float FOV = 90.0f;
	/** The field of view the camera asked for, before anything overrode it. */
	float DesiredFOV = 90.0f;

	/** Width of the view in world units (orthographic mode). */
	float OrthoWidth = 512.0f;
	float OrthoNearClipPlane = 0.0f;
	/** The engine's UE_OLD_WORLD_MAX. */
	float OrthoFarClipPlane = 2097152.0f;

	/** Near clip plane of the perspective projection; not positive means the engine's GNearClippingPlane. */
	float PerspectiveNearClipPlane = -1.0f;

	/** Width / height the view is kept at when bConstrainAspectRatio is set. */
	float AspectRatio = 1.33333333f;

	/** Black bars keep the view at AspectRatio. */
	uint32 bConstrainAspectRatio : 1;

	TEnumAsByte<ECameraProjectionMode::Type> ProjectionMode = ECameraProjectionMode::Perspective;

	FMinimalViewInfo()
		: bConstrainAspectRatio(false)
	{
	}

	/** PerspectiveNearClipPlane if positive, else GNearClippingPlane. */
	ENGINE_API float GetFinalPerspectiveNearClipPlane() const;

	/** The projection of a constrained view (FOV and AspectRatio, or OrthoWidth and AspectRatio). */
	ENGINE_API FMatrix CalculateProjectionMatrix() const;
};
