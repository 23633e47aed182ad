// UGameEngine of the stand-in engine (module Engine): the engine of a standalone game.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "GameEngine.generated.h"

class FSceneViewport;
class SWindow;

/** The engine of a standalone game: one game window and its scene viewport. */
UCLASS(Config = Engine, Transient)
class ENGINE_API UGameEngine : public UEngine
{
	GENERATED_BODY()

public:
	UGameEngine(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The window of the game. */
	TWeakPtr<SWindow> GameViewportWindow;

	/** The viewport of the game window, or null while no game window exists. */
	TSharedPtr<FSceneViewport> SceneViewport;
};
