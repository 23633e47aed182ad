// ULocalPlayer's point of view and scene view, as the engine computes them for each frame's render.
#include "Engine/LocalPlayer.h"
#include "Camera/CameraTypes.h"
#include "Camera/PlayerCameraManager.h"
#include "GameFramework/PlayerController.h"
#include "Math/OrthoMatrix.h"
#include "Math/PerspectiveMatrix.h"
#include "SceneView.h"
#include "SceneViewExtension.h"
#include "UnrealClient.h"

namespace
{
// World space (X forward, Y right, Z up) to view space (X right, Y up, Z forward) after undoing the view
// rotation; the transpose of a rotation matrix is its inverse.
FMatrix MakeViewRotationMatrix(const FRotator& ViewRotation)
{
	const FMatrix InverseRotation = FRotationMatrix(ViewRotation).GetTransposed();
	const FMatrix AxisSwap(FPlane(0, 0, 1, 0), FPlane(1, 0, 0, 0), FPlane(0, 1, 0, 0), FPlane(0, 0, 0, 1));
	return InverseRotation * AxisSwap;
}

// The projection of an unconstrained view: the horizontal field of view (or ortho width) is kept and the
// other axis follows the view rectangle (the local player's default AspectRatio_MaintainXFOV).
FMatrix MakeUnconstrainedProjection(const FMinimalViewInfo& ViewInfo, const FIntRect& ViewRect)
{
	const int32 SizeX = ViewRect.Width();
	const int32 SizeY = ViewRect.Height();
	const float XAxisMultiplier = 1.0f;
	const float YAxisMultiplier = static_cast<float>(SizeX) / static_cast<float>(SizeY);
	if (ViewInfo.ProjectionMode == ECameraProjectionMode::Orthographic)
	{
		const float OrthoWidth = ViewInfo.OrthoWidth / 2.0f * XAxisMultiplier;
		const float OrthoHeight = (ViewInfo.OrthoWidth / 2.0f) / YAxisMultiplier;
		const float ZScale = 1.0f / (ViewInfo.OrthoFarClipPlane - ViewInfo.OrthoNearClipPlane);
		const float ZOffset = -ViewInfo.OrthoNearClipPlane;
		return FReversedZOrthoMatrix(OrthoWidth, OrthoHeight, ZScale, ZOffset);
	}
	const float MatrixHalfFOV = FMath::Max(0.001f, ViewInfo.FOV) * static_cast<float>(UE_PI) / 360.0f;
	const float NearPlane = ViewInfo.GetFinalPerspectiveNearClipPlane();
	return FReversedZPerspectiveMatrix(MatrixHalfFOV, MatrixHalfFOV, XAxisMultiplier, YAxisMultiplier, NearPlane, NearPlane);
}
} // namespace

void ULocalPlayer::GetViewPoint(FMinimalViewInfo& OutViewInfo) const
{
	if (!PlayerController)
	{
		return;
	}
	if (PlayerController->PlayerCameraManager)
	{
		OutViewInfo = PlayerController->PlayerCameraManager->GetCameraCacheView();
		OutViewInfo.FOV = PlayerController->PlayerCameraManager->GetFOVAngle();
	}
	PlayerController->GetPlayerViewPoint(OutViewInfo.Location, OutViewInfo.Rotation);
}

FSceneView* ULocalPlayer::CalcSceneView(FSceneViewFamily* ViewFamily, FVector& OutViewLocation, FRotator& OutViewRotation, FViewport* Viewport,
	FViewElementDrawer* ViewDrawer, int32 StereoViewIndex)
{
	if (!PlayerController || Viewport == nullptr || Size.X <= 0.0 || Size.Y <= 0.0)
	{
		return nullptr;
	}
	const FIntPoint ViewportSize = Viewport->GetSizeXY();
	if (ViewportSize.X == 0 || ViewportSize.Y == 0)
	{
		return nullptr;
	}

	FMinimalViewInfo ViewInfo;
	GetViewPoint(ViewInfo);

	// The player's part of the viewport.
	const int32 X = FMath::TruncToInt(Origin.X * ViewportSize.X);
	const int32 Y = FMath::TruncToInt(Origin.Y * ViewportSize.Y);
	const int32 SizeX = FMath::TruncToInt(Size.X * ViewportSize.X);
	const int32 SizeY = FMath::TruncToInt(Size.Y * ViewportSize.Y);
	if (SizeX <= 0 || SizeY <= 0)
	{
		return nullptr;
	}

	FSceneViewInitOptions InitOptions;
	InitOptions.SetViewRectangle(FIntRect(X, Y, X + SizeX, Y + SizeY));
	InitOptions.ViewOrigin = ViewInfo.Location;
	InitOptions.ViewRotationMatrix = MakeViewRotationMatrix(ViewInfo.Rotation);
	if (ViewInfo.bConstrainAspectRatio)
	{
		// Black bars keep the view at the asked aspect ratio; the projection uses that aspect.
		InitOptions.SetConstrainedViewRectangle(Viewport->CalculateViewExtents(ViewInfo.AspectRatio, InitOptions.GetViewRect()));
		InitOptions.ProjectionMatrix = ViewInfo.CalculateProjectionMatrix();
	}
	else
	{
		InitOptions.ProjectionMatrix = MakeUnconstrainedProjection(ViewInfo, InitOptions.GetViewRect());
	}
	if (!InitOptions.IsValidViewRectangle())
	{
		return nullptr;
	}
	InitOptions.ViewFamily = ViewFamily;
	InitOptions.ViewElementDrawer = ViewDrawer;
	InitOptions.FOV = ViewInfo.FOV;
	InitOptions.DesiredFOV = ViewInfo.DesiredFOV;
	InitOptions.StereoViewIndex = StereoViewIndex;

	OutViewLocation = ViewInfo.Location;
	OutViewRotation = ViewInfo.Rotation;

	FSceneView* const View = new FSceneView(InitOptions);
	View->ViewLocation = OutViewLocation;
	View->ViewRotation = OutViewRotation;
	ViewFamily->Views.Add(View);

	for (const TSharedRef<ISceneViewExtension, ESPMode::ThreadSafe>& Extension : ViewFamily->ViewExtensions)
	{
		Extension->SetupView(*ViewFamily, *View);
	}
	return View;
}
