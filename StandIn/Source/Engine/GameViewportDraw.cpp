// UGameViewportClient::Draw and the renderer's start of a view family, as the engine runs them on the game
// thread each frame; what reaches the renderer is recorded for tests.
#include "CoreGlobals.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"
#include "GameFramework/PlayerController.h"
#include "SceneView.h"
#include "SceneViewExtension.h"
#include "SceneViewExtensionContext.h"
#include "ShowFlags.h"
#include "UnrealClient.h"

#include "EngineRecord.h"
#include "WorldAccess.h"

namespace
{
// The renderer's BeginRenderingViewFamily, on the game thread: each of the family's extensions is told the
// family is about to be rendered; the stand-in then records what would be rendered.
void BeginRenderingViewFamily(FSceneViewFamily& ViewFamily)
{
	for (const TSharedRef<ISceneViewExtension, ESPMode::ThreadSafe>& Extension : ViewFamily.ViewExtensions)
	{
		Extension->BeginRenderViewFamily(ViewFamily);
	}

	EngineTesting::FRenderedViewport Record;
	Record.FrameNumber = GFrameCounter;
	// The family of a game viewport renders into that viewport.
	Record.Viewport = const_cast<FViewport*>(static_cast<const FViewport*>(ViewFamily.RenderTarget));
	for (const TSharedRef<ISceneViewExtension, ESPMode::ThreadSafe>& Extension : ViewFamily.ViewExtensions)
	{
		Record.BegunExtensions.Add(&Extension.Get());
	}
	for (const FSceneView* View : ViewFamily.Views)
	{
		EngineTesting::FRenderedView ViewRecord;
		ViewRecord.ProjectionMatrix = View->ViewMatrices.GetProjectionMatrix();
		ViewRecord.ViewMatrix = View->ViewMatrices.GetViewMatrix();
		ViewRecord.ViewProjectionMatrix = View->ViewMatrices.GetViewProjectionMatrix();
		ViewRecord.UnscaledViewRect = View->UnscaledViewRect;
		ViewRecord.UnconstrainedViewRect = View->UnconstrainedViewRect;
		ViewRecord.ViewLocation = View->ViewLocation;
		ViewRecord.ViewRotation = View->ViewRotation;
		ViewRecord.FOV = View->FOV;
		Record.Views.Add(ViewRecord);
	}
	GetEngineRecord().RenderedViewports.Add(Record);
}
} // namespace

void UGameViewportClient::Draw(FViewport* InViewport, FCanvas* /*SceneCanvas*/)
{
	UWorld* const MyWorld = GetWorld();
	if (InViewport == nullptr || MyWorld == nullptr || GEngine == nullptr || !GEngine->ViewExtensions.IsValid())
	{
		return;
	}

	FSceneViewFamilyContext ViewFamily(FSceneViewFamily::ConstructionValues(InViewport, nullptr, FEngineShowFlags(ESFIM_Game)).SetRealtimeUpdate(true));
	ViewFamily.ViewExtensions = GEngine->ViewExtensions->GatherActiveExtensions(FSceneViewExtensionContext(InViewport));
	for (const TSharedRef<ISceneViewExtension, ESPMode::ThreadSafe>& Extension : ViewFamily.ViewExtensions)
	{
		Extension->SetupViewFamily(ViewFamily);
	}

	// The world's local players that view through this client, in the order their controllers joined.
	int32 NumPlayerViews = 0;
	const TArray<AController*> Controllers = FWorldAccess::GetControllers(*MyWorld);
	for (AController* Controller : Controllers)
	{
		APlayerController* PlayerController = Cast<APlayerController>(Controller);
		ULocalPlayer* LocalPlayer = PlayerController != nullptr ? PlayerController->GetLocalPlayer() : nullptr;
		if (LocalPlayer == nullptr || LocalPlayer->ViewportClient != this)
		{
			continue;
		}
		FVector ViewLocation;
		FRotator ViewRotation;
		if (LocalPlayer->CalcSceneView(&ViewFamily, ViewLocation, ViewRotation, InViewport, nullptr, INDEX_NONE) != nullptr)
		{
			++NumPlayerViews;
		}
	}

	// Without a player view the engine skips the renderer for this viewport.
	if (NumPlayerViews > 0)
	{
		BeginRenderingViewFamily(ViewFamily);
	}
}
