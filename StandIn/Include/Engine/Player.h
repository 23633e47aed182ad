// UPlayer of the stand-in engine (module Engine): a player, local or remote.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Player.generated.h"

class APlayerController;

/** A player: the controller it uses. */
UCLASS(MinimalAPI, Transient, Config = Engine)
class ENGINE_API UPlayer : public UObject
{
	GENERATED_BODY()

public:
	UPlayer(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The controller of this player. */
	TObjectPtr<APlayerController> PlayerController;

	/** The controller of this player in World, or null. */
	APlayerController* GetPlayerController(const UWorld* const InWorld) const;
};
