#include "KorvatLocalPlayer.h"

#include "Math/ScaleMatrix.h"
#include "SceneView.h"

#include "KorvatPluginModule.h"

UKorvatLocalPlayer::UKorvatLocalPlayer(const FObjectInitializer& ObjectInitializer)
	: ULocalPlayer(ObjectInitializer)
{
}

FSceneView* UKorvatLocalPlayer::CalcSceneView(FSceneViewFamily* ViewFamily, FVector& OutViewLocation, FRotator& OutViewRotation,
	FViewport* Viewport, FViewElementDrawer* ViewDrawer, int32 StereoViewIndex)
{
	FSceneView* View = Super::CalcSceneView(ViewFamily, OutViewLocation, OutViewRotation, Viewport, ViewDrawer, StereoViewIndex);
	if (View == nullptr || !IKorvatPlugin::IsAvailable())
	{
		return View;
	}

	const FKorvatPlugin& Plugin = FKorvatPlugin::GetLoaded();
	FMatrix Projection = View->ViewMatrices.GetProjectionMatrix();
	FMatrix HostProjection = Plugin.GetKorvatProjectionMatrix();
	if (HostProjection.M[3][3] != 1.0)
	{
		// Perspective: Unreal's own projection with the host's off-centre terms.
		Projection.M[2][0] = HostProjection.M[2][0];
		Projection.M[2][1] = HostProjection.M[2][1];
		Projection.M[3][3] = HostProjection.M[3][3];
	}
	else
	{
		// Orthographic: the host's projection for Unreal's reversed depth, and centimetres for the host's metres.
		HostProjection.M[2][2] = -HostProjection.M[2][2];
		HostProjection.M[3][2] = 1.0 - HostProjection.M[3][2];
		const double MetresToCentimetres = static_cast<double>(0.01f);
		Projection = FScaleMatrix(FVector(MetresToCentimetres)) * HostProjection;
	}
	View->UpdateProjectionMatrix(Projection);
	return View;
}
