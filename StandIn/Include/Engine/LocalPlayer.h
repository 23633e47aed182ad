// ULocalPlayer of the stand-in engine (module Engine): a player on this machine with a viewport.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Player.h"
#include "LocalPlayer.generated.h"

class FSceneView;
class FSceneViewFamily;
class FViewElementDrawer;
class FViewport;
class UGameViewportClient;

/**
 * A player on this machine: the viewport client it views through and the scene view it renders.
 * The engine creates local players of UEngine::LocalPlayerClass.
 */
UCLASS(Within = Engine, Config = Engine, Transient, MinimalAPI)
class ENGINE_API ULocalPlayer : public UPlayer
{
	GENERATED_BODY()

public:
	ULocalPlayer(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The viewport client this player views through. */
	TObjectPtr<UGameViewportClient> ViewportClient;

	/**
	 * Computes the player's scene view for ViewFamily and adds it to the family.
	 *
	 * @return the view, or null when no view can be made. The stand-in renders no scenes and its base
	 *         implementation always returns null; a subclass that wraps it sees "no view" and must pass that on.
	 */
	virtual FSceneView* CalcSceneView(class FSceneViewFamily* ViewFamily, FVector& OutViewLocation, FRotator& OutViewRotation,
		FViewport* Viewport, class FViewElementDrawer* ViewDrawer = nullptr, int32 StereoViewIndex = INDEX_NONE);
};
