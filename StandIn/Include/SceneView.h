// FSceneView, FSceneViewFamily and their matrices of the stand-in engine (module Engine): what a player's
// view of the world is when it is handed to the renderer.
#pragma once

#include "CoreMinimal.h"
#include "ShowFlags.h"

class FRenderTarget;
class FSceneInterface;
class FSceneView;
class FSceneViewFamily;
class FViewElementDrawer;
class ISceneViewExtension;

/** The near clip plane of perspective views, in world units (10 in the engine's defaults). UNCONFIRMED for 5.5 which engine header declares it. */
extern ENGINE_API float GNearClippingPlane;

/** Where a view is and how it projects: the view origin, the rotation into view space and the projection. */
struct FSceneViewProjectionData
{
	/** The view origin. */
	FVector ViewOrigin = FVector(0.0, 0.0, 0.0);

	/** Rotation matrix transforming from world space to view space. */
	FMatrix ViewRotationMatrix = FMatrix::Identity;

	/**
	 * UE projection matrix projects such that clip space Z=1 is the near plane, and Z=0 is the infinite far
	 * plane.
	 */
	FMatrix ProjectionMatrix = FMatrix::Identity;

	/** Sets the unconstrained view rectangle (also unscaled); the constrained rectangle becomes the same. */
	void SetViewRectangle(const FIntRect& InViewRect)
	{
		ViewRect = InViewRect;
		ConstrainedViewRect = InViewRect;
	}

	/** Sets the view rectangle narrowed by aspect-ratio bars. */
	void SetConstrainedViewRectangle(const FIntRect& InViewRect) { ConstrainedViewRect = InViewRect; }

	bool IsValidViewRectangle() const
	{
		return ConstrainedViewRect.Min.X >= 0 && ConstrainedViewRect.Min.Y >= 0 && ConstrainedViewRect.Width() > 0 && ConstrainedViewRect.Height() > 0;
	}

	bool IsPerspectiveProjection() const { return ProjectionMatrix.M[3][3] < 1.0; }

	const FIntRect& GetViewRect() const { return ViewRect; }
	const FIntRect& GetConstrainedViewRect() const { return ConstrainedViewRect; }

	/** ViewMatrix * ProjectionMatrix with the view matrix built from ViewOrigin and ViewRotationMatrix. */
	ENGINE_API FMatrix ComputeViewProjectionMatrix() const;

protected:
	/** The unconstrained (no aspect ratio bars applied) view rectangle (also unscaled). */
	FIntRect ViewRect;

	/** The constrained view rectangle (identical to UnconstrainedUnscaledViewRect if aspect ratio is not constrained). */
	FIntRect ConstrainedViewRect;
};

/** What a scene view is made from. */
struct FSceneViewInitOptions : public FSceneViewProjectionData
{
	const FSceneViewFamily* ViewFamily = nullptr;
	FViewElementDrawer* ViewElementDrawer = nullptr;
	float FOV = 90.0f;
	float DesiredFOV = 90.0f;
	int32 StereoViewIndex = INDEX_NONE;
};

/** The matrices of a view and their inverses, derived from one another when the view is made. */
struct FViewMatrices
{
	FViewMatrices()
		: ProjectionMatrix(FMatrix::Identity)
		, ProjectionNoAAMatrix(FMatrix::Identity)
		, InvProjectionMatrix(FMatrix::Identity)
		, ViewMatrix(FMatrix::Identity)
		, InvViewMatrix(FMatrix::Identity)
		, ViewProjectionMatrix(FMatrix::Identity)
		, InvViewProjectionMatrix(FMatrix::Identity)
		, ViewOrigin(0.0, 0.0, 0.0)
	{
	}
	ENGINE_API explicit FViewMatrices(const FSceneViewInitOptions& InitOptions);

	const FMatrix& GetProjectionMatrix() const { return ProjectionMatrix; }
	const FMatrix& GetProjectionNoAAMatrix() const { return ProjectionNoAAMatrix; }
	const FMatrix& GetInvProjectionMatrix() const { return InvProjectionMatrix; }
	const FMatrix& GetViewMatrix() const { return ViewMatrix; }
	const FMatrix& GetInvViewMatrix() const { return InvViewMatrix; }
	const FMatrix& GetViewProjectionMatrix() const { return ViewProjectionMatrix; }
	const FMatrix& GetInvViewProjectionMatrix() const { return InvViewProjectionMatrix; }
	const FVector& GetViewOrigin() const { return ViewOrigin; }
	bool IsPerspectiveProjection() const { return ProjectionMatrix.M[3][3] < 1.0; }

private:
	/** ViewToClip: the projection as the RHI wants it (unchanged on D3D). */
	FMatrix ProjectionMatrix;
	/** ViewToClip without temporal anti-aliasing jitter (the stand-in never jitters). */
	FMatrix ProjectionNoAAMatrix;
	/** ClipToView. */
	FMatrix InvProjectionMatrix;
	/** WorldToView. */
	FMatrix ViewMatrix;
	/** ViewToWorld. */
	FMatrix InvViewMatrix;
	/** WorldToClip. */
	FMatrix ViewProjectionMatrix;
	/** ClipToWorld. */
	FMatrix InvViewProjectionMatrix;
	/** World-space location of the view. */
	FVector ViewOrigin;
};

/** One view of a view family: a player's (or eye's) projection of the scene into part of the render target. */
class ENGINE_API FSceneView
{
public:
	explicit FSceneView(const FSceneViewInitOptions& InitOptions);
	virtual ~FSceneView();

	/** The family this view belongs to. */
	const FSceneViewFamily* Family;

	/** The view's matrices. */
	FViewMatrices ViewMatrices;

	/** The options the view was made from (updated with its projection). */
	FSceneViewInitOptions SceneViewInitOptions;

	FVector ViewLocation;
	FRotator ViewRotation;

	/** Horizontal field of view in degrees. */
	float FOV;
	float DesiredFOV;

	/** Final position of the view in the final render target (in pixels), possibly scaled by screen percentage. */
	FIntRect ViewRect;

	/** Final position of the view, possibly narrowed by aspect-ratio bars, before screen-percentage scaling. */
	FIntRect UnscaledViewRect;

	/** Raw view size (in pixels): no aspect-ratio bars, no scaling. */
	FIntRect UnconstrainedViewRect;

	/** Which stereo view this is, or INDEX_NONE. */
	int32 StereoViewIndex;

	/** Replaces the projection and recomputes the matrices derived from it (inverse, view-projection). */
	void UpdateProjectionMatrix(const FMatrix& NewProjectionMatrix);

	bool IsPerspectiveProjection() const { return ViewMatrices.IsPerspectiveProjection(); }
};

/** A set of views rendered together into one render target. */
class ENGINE_API FSceneViewFamily
{
public:
	/** What a view family is made from. */
	struct ConstructionValues
	{
		ConstructionValues(const FRenderTarget* InRenderTarget, FSceneInterface* InScene, const FEngineShowFlags& InEngineShowFlags)
			: RenderTarget(InRenderTarget)
			, Scene(InScene)
			, EngineShowFlags(InEngineShowFlags)
		{
		}

		const FRenderTarget* RenderTarget;
		FSceneInterface* Scene;
		FEngineShowFlags EngineShowFlags;
		float GammaCorrection = 1.0f;
		uint32 bRealtimeUpdate : 1 = false;

		ConstructionValues& SetRealtimeUpdate(const bool Value)
		{
			bRealtimeUpdate = Value;
			return *this;
		}
		ConstructionValues& SetGammaCorrection(const float Value)
		{
			GammaCorrection = Value;
			return *this;
		}
	};

	explicit FSceneViewFamily(const ConstructionValues& CVS);
	virtual ~FSceneViewFamily();

	/** The views of the family, in the order they were added. */
	TArray<const FSceneView*> Views;

	/** The render target the views draw into. */
	const FRenderTarget* RenderTarget;

	/** The scene rendered (null in the stand-in, which has no scenes). */
	FSceneInterface* Scene;

	FEngineShowFlags EngineShowFlags;

	/** The view extensions active for this family, highest priority first. */
	TArray<TSharedRef<class ISceneViewExtension, ESPMode::ThreadSafe>> ViewExtensions;

	uint32 bRealtimeUpdate : 1;
};

/** A view family that owns its views and deletes them with itself. */
class ENGINE_API FSceneViewFamilyContext : public FSceneViewFamily
{
public:
	explicit FSceneViewFamilyContext(const ConstructionValues& CVS)
		: FSceneViewFamily(CVS)
	{
	}
	virtual ~FSceneViewFamilyContext() override;
};
