// APlayerController of the stand-in engine (module Engine): the controller of a human player.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Controller.h"
#include "Camera/PlayerCameraManager.h"
#include "PlayerController.generated.h"

class UPlayer;

/** The controller of a player: owns the player's camera manager and view target. */
UCLASS(Config = Game, BlueprintType, Blueprintable, MinimalAPI)
class ENGINE_API APlayerController : public AController
{
	GENERATED_BODY()

public:
	APlayerController(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The player this controller belongs to (a local player in a game), or null. */
	TObjectPtr<UPlayer> Player;

	/** The camera manager of this player, or null. */
	TObjectPtr<APlayerCameraManager> PlayerCameraManager;

	/** The actor the player views through: the camera manager's view target, else the controller itself. */
	virtual AActor* GetViewTarget() const;

	/** Makes NewViewTarget the camera manager's view target. */
	virtual void SetViewTarget(class AActor* NewViewTarget, FViewTargetTransitionParams TransitionParams = FViewTargetTransitionParams());

	/** Updates the camera manager's cached point of view; the world does this at the end of each tick. */
	virtual void UpdateCameraManager(float DeltaSeconds);

	//~ Begin AController Interface
	/**
	 * The camera manager's cached point of view once it has updated, else the view target's location and
	 * rotation.
	 */
	virtual void GetPlayerViewPoint(FVector& out_Location, FRotator& out_Rotation) const override;
	//~ End AController Interface

	/** The local player of this controller, or null. */
	class ULocalPlayer* GetLocalPlayer() const;

protected:
	//~ Begin AController Interface
	virtual void OnPossess(APawn* InPawn) override;
	//~ End AController Interface
};
