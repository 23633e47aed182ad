#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/Player.h"
#include "Engine/Engine.h"
#include "Engine/World.h"
#include "GameFramework/PlayerController.h"
#include "Slate/SceneViewport.h"

UPlayer::UPlayer(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

APlayerController* UPlayer::GetPlayerController(const UWorld* const InWorld) const
{
	if (InWorld == nullptr || (PlayerController && PlayerController->GetWorld() == InWorld))
	{
		return PlayerController;
	}
	return nullptr;
}

ULocalPlayer::ULocalPlayer(const FObjectInitializer& ObjectInitializer)
	: UPlayer(ObjectInitializer)
{
}

UGameViewportClient::UGameViewportClient(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

void UGameViewportClient::Init(FWorldContext& WorldContext, UGameInstance* /*OwningGameInstance*/, bool /*bCreateNewAudioDevice*/)
{
	WorldContext.GameViewport = this;
	World = WorldContext.World();
}

void UGameViewportClient::SetViewportFrame(FViewportFrame* InViewportFrame)
{
	ViewportFrame = InViewportFrame;
	SetViewport(ViewportFrame != nullptr ? ViewportFrame->GetViewport() : nullptr);
}

void UGameViewportClient::SetViewport(FViewport* InViewportFrame)
{
	Viewport = InViewportFrame;
}

void UGameViewportClient::SetWindow(TSharedPtr<SWindow> InWindow)
{
	Window = InWindow;
}

FSceneViewport* UGameViewportClient::GetGameViewport()
{
	return static_cast<FSceneViewport*>(Viewport);
}

const FSceneViewport* UGameViewportClient::GetGameViewport() const
{
	return static_cast<const FSceneViewport*>(Viewport);
}

void UGameViewportClient::GetViewportSize(FVector2D& out_ViewportSize) const
{
	const FIntPoint Size = Viewport != nullptr ? Viewport->GetSizeXY() : FIntPoint(0, 0);
	out_ViewportSize = FVector2D(Size.X, Size.Y);
}

UWorld* UGameViewportClient::GetWorld() const
{
	return World;
}
