// UGameViewportClient of the stand-in engine (module Engine): the engine's interface to the game viewport.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "UnrealClient.h"
#include "GameViewportClient.generated.h"

class FSceneViewport;
class SWindow;
class UGameInstance;
class UWorld;
struct FWorldContext;

/**
 * The client of the game viewport: the world it shows, the viewport and its frame, and the window holding
 * them. A game engine has one while a game runs; the editor has one per play-in-editor session.
 */
UCLASS(Within = Engine, Transient, Config = Engine, MinimalAPI)
class ENGINE_API UGameViewportClient : public UObject, public FViewportClient
{
	GENERATED_BODY()

public:
	UGameViewportClient(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The viewport the client draws into, or null. */
	FViewport* Viewport = nullptr;

	/** The frame (window) of Viewport, or null. */
	FViewportFrame* ViewportFrame = nullptr;

	/** Sets the world shown from WorldContext and links the context to this client. */
	virtual void Init(struct FWorldContext& WorldContext, UGameInstance* OwningGameInstance, bool bCreateNewAudioDevice = true);

	/** Sets the viewport frame and, through it, the viewport. */
	virtual void SetViewportFrame(FViewportFrame* InViewportFrame);

	/** Sets the viewport. */
	virtual void SetViewport(FViewport* InViewportFrame);

	/** Sets the window that holds the viewport. */
	void SetWindow(TSharedPtr<SWindow> InWindow);

	/** The game viewport (the viewport as a scene viewport), or null. */
	FSceneViewport* GetGameViewport();
	const FSceneViewport* GetGameViewport() const;

	/** The window that holds the viewport, or null. */
	TSharedPtr<SWindow> GetWindow() { return Window.Pin(); }

	//~ Begin FViewportClient Interface
	/**
	 * Renders the world into InViewport: gathers the view extensions active for the viewport and calls their
	 * SetupViewFamily, makes each of the world's local players' views (ULocalPlayer::CalcSceneView, which calls
	 * SetupView), then, when at least one view was made, hands the family to the renderer, which calls each
	 * extension's BeginRenderViewFamily.
	 */
	virtual void Draw(FViewport* InViewport, FCanvas* SceneCanvas) override;
	//~ End FViewportClient Interface

	/** The viewport's size in pixels, (0,0) without one. */
	virtual void GetViewportSize(FVector2D& out_ViewportSize) const;

	//~ Begin UObject Interface
	virtual UWorld* GetWorld() const override;
	//~ End UObject Interface

private:
	TObjectPtr<UWorld> World;
	TWeakPtr<SWindow> Window;
};
