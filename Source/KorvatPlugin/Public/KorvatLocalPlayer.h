// The local player class the module installs: Unreal's view with the host's projection.
#pragma once

#include "CoreMinimal.h"
#include "Engine/LocalPlayer.h"

#include "KorvatLocalPlayer.generated.h"

/**
 * A local player whose scene view takes the host's projection: the off-centre terms of a perspective
 * projection (Unreal keeps its own field of view, which follows the host through the camera manager), or the
 * host's whole orthographic projection.
 */
UCLASS()
class KORVATPLUGIN_API UKorvatLocalPlayer : public ULocalPlayer
{
	GENERATED_BODY()

public:
	UKorvatLocalPlayer(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	//~ Begin ULocalPlayer Interface
	virtual FSceneView* CalcSceneView(class FSceneViewFamily* ViewFamily, FVector& OutViewLocation, FRotator& OutViewRotation,
		FViewport* Viewport, class FViewElementDrawer* ViewDrawer = nullptr, int32 StereoViewIndex = INDEX_NONE) override;
	//~ End ULocalPlayer Interface
};
