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
struct FMinimalViewInfo;

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

	/** Upper-left corner of the player's part of the viewport, as a fraction of the viewport (0,0 = whole). */
	FVector2D Origin = FVector2D(0.0, 0.0);

	/** Size of the player's part of the viewport, as a fraction of the viewport ((1,1) = whole). */
	FVector2D Size = FVector2D(1.0, 1.0);

	/**
	 * The player's point of view: the camera manager's last cached view with the manager's field of view
	 * (GetFOVAngle) and the controller's view point (GetPlayerViewPoint).
	 */
	virtual void GetViewPoint(FMinimalViewInfo& OutViewInfo) const;

	/**
	 * Computes the player's scene view for ViewFamily, adds it to the family, and calls SetupView of each of
	 * the family's view extensions on it.
	 *
	 * The view point comes from GetViewPoint. The unconstrained view rectangle is the player's part of
	 * Viewport; with a constrained aspect ratio the view rectangle is narrowed and centred (black bars) and the
	 * projection uses that aspect, else the horizontal field of view is kept and the vertical one follows the
	 * rectangle. Projections are reversed-Z with an infinite far plane at GNearClippingPlane (perspective) or
	 * reversed-Z orthographic.
	 *
	 * @return the view, or null when no view can be made (no player controller, no viewport or an empty one).
	 */
	virtual FSceneView* CalcSceneView(class FSceneViewFamily* ViewFamily, FVector& OutViewLocation, FRotator& OutViewRotation,
		FViewport* Viewport, class FViewElementDrawer* ViewDrawer = nullptr, int32 StereoViewIndex = INDEX_NONE);
};
