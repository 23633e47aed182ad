#include "SceneView.h"
#include "Camera/CameraTypes.h"
#include "Math/OrthoMatrix.h"
#include "Math/PerspectiveMatrix.h"
#include "UnrealClient.h"

float GNearClippingPlane = 10.0f;

namespace
{
// The RHI's clip-space fix-up of a projection: the identity on D3D (projection sign Y = 1, min clip Z = 0),
// the only back end the stand-in renders for.
FMatrix AdjustProjectionMatrixForRHI(const FMatrix& InProjectionMatrix)
{
	return InProjectionMatrix;
}

// World to view: move the view origin to zero, then rotate into view space.
FMatrix MakeViewMatrix(const FVector& ViewOrigin, const FMatrix& ViewRotationMatrix)
{
	return FTranslationMatrix(-ViewOrigin) * ViewRotationMatrix;
}
} // namespace

// --- Projection data and matrices -------------------------------------------------------------

FMatrix FSceneViewProjectionData::ComputeViewProjectionMatrix() const
{
	return MakeViewMatrix(ViewOrigin, ViewRotationMatrix) * ProjectionMatrix;
}

FViewMatrices::FViewMatrices(const FSceneViewInitOptions& InitOptions)
	: FViewMatrices()
{
	ViewOrigin = InitOptions.ViewOrigin;
	ProjectionMatrix = AdjustProjectionMatrixForRHI(InitOptions.ProjectionMatrix);
	ProjectionNoAAMatrix = ProjectionMatrix;
	InvProjectionMatrix = ProjectionMatrix.Inverse();
	ViewMatrix = MakeViewMatrix(ViewOrigin, InitOptions.ViewRotationMatrix);
	InvViewMatrix = InitOptions.ViewRotationMatrix.GetTransposed() * FTranslationMatrix(ViewOrigin);
	ViewProjectionMatrix = ViewMatrix * ProjectionMatrix;
	InvViewProjectionMatrix = InvProjectionMatrix * InvViewMatrix;
}

// --- Views --------------------------------------------------------------------------------------

FSceneView::FSceneView(const FSceneViewInitOptions& InitOptions)
	: Family(InitOptions.ViewFamily)
	, ViewMatrices(InitOptions)
	, SceneViewInitOptions(InitOptions)
	, ViewLocation(InitOptions.ViewOrigin)
	, ViewRotation(0.0, 0.0, 0.0)
	, FOV(InitOptions.FOV)
	, DesiredFOV(InitOptions.DesiredFOV)
	, ViewRect(InitOptions.GetConstrainedViewRect())
	, UnscaledViewRect(InitOptions.GetConstrainedViewRect())
	, UnconstrainedViewRect(InitOptions.GetViewRect())
	, StereoViewIndex(InitOptions.StereoViewIndex)
{
}

FSceneView::~FSceneView() = default;

void FSceneView::UpdateProjectionMatrix(const FMatrix& NewProjectionMatrix)
{
	// As the engine: the options take the new projection and every matrix is derived again from them.
	SceneViewInitOptions.ProjectionMatrix = NewProjectionMatrix;
	ViewMatrices = FViewMatrices(SceneViewInitOptions);
}

FSceneViewFamily::FSceneViewFamily(const ConstructionValues& CVS)
	: RenderTarget(CVS.RenderTarget)
	, Scene(CVS.Scene)
	, EngineShowFlags(CVS.EngineShowFlags)
	, bRealtimeUpdate(CVS.bRealtimeUpdate)
{
}

FSceneViewFamily::~FSceneViewFamily() = default;

FSceneViewFamilyContext::~FSceneViewFamilyContext()
{
	for (const FSceneView* View : Views)
	{
		delete View;
	}
}

// --- View info ----------------------------------------------------------------------------------

float FMinimalViewInfo::GetFinalPerspectiveNearClipPlane() const
{
	return PerspectiveNearClipPlane > 0.0f ? PerspectiveNearClipPlane : GNearClippingPlane;
}

FMatrix FMinimalViewInfo::CalculateProjectionMatrix() const
{
	if (ProjectionMode == ECameraProjectionMode::Orthographic)
	{
		const float YScale = 1.0f / AspectRatio;
		const float HalfOrthoWidth = OrthoWidth / 2.0f;
		const float ScaledOrthoHeight = OrthoWidth / 2.0f * YScale;
		const float ZScale = 1.0f / (OrthoFarClipPlane - OrthoNearClipPlane);
		const float ZOffset = -OrthoNearClipPlane;
		return FReversedZOrthoMatrix(HalfOrthoWidth, ScaledOrthoHeight, ZScale, ZOffset);
	}
	// The FOV is clamped away from zero, which would divide by zero.
	return FReversedZPerspectiveMatrix(FMath::Max(0.001f, FOV) * static_cast<float>(UE_PI) / 360.0f, AspectRatio, 1.0f,
		GetFinalPerspectiveNearClipPlane());
}

// --- Viewport extents ---------------------------------------------------------------------------

FIntRect FViewport::CalculateViewExtents(float AspectRatio, const FIntRect& ViewRect)
{
	FIntRect Result = ViewRect;
	const float CurrentSizeX = static_cast<float>(ViewRect.Width());
	const float CurrentSizeY = static_cast<float>(ViewRect.Height());

	// The viewport's own size may differ from the aspect it wants to be shown at; compensate the request.
	const FIntPoint Size = GetSizeXY();
	const float AdjustedAspectRatio = AspectRatio / (GetDesiredAspectRatio() / (static_cast<float>(Size.X) / static_cast<float>(Size.Y)));

	// Black bars top and bottom (wider aspect asked) or left and right (narrower).
	const float AspectRatioDifference = AdjustedAspectRatio - (CurrentSizeX / CurrentSizeY);
	if (FMath::Abs(AspectRatioDifference) > 0.01f)
	{
		if (AspectRatioDifference > 0.0f)
		{
			const int32 NewSizeY = FMath::Max(1, FMath::RoundToInt(CurrentSizeX / AdjustedAspectRatio));
			Result.Min.Y = FMath::RoundToInt(0.5f * (CurrentSizeY - NewSizeY));
			Result.Max.Y = Result.Min.Y + NewSizeY;
			Result.Min.Y += ViewRect.Min.Y;
			Result.Max.Y += ViewRect.Min.Y;
		}
		else
		{
			const int32 NewSizeX = FMath::Max(1, FMath::RoundToInt(CurrentSizeY * AdjustedAspectRatio));
			Result.Min.X = FMath::RoundToInt(0.5f * (CurrentSizeX - NewSizeX));
			Result.Max.X = Result.Min.X + NewSizeX;
			Result.Min.X += ViewRect.Min.X;
			Result.Max.X += ViewRect.Min.X;
		}
	}
	return Result;
}
