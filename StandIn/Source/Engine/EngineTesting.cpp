#include "EngineTesting.h"
#include "StandInTesting.h"

#include "Camera/CameraComponent.h"
#include "Camera/PlayerCameraManager.h"
#include "CoreGlobals.h"
#include "Editor.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "Misc/CoreDelegates.h"
#include "Modules/ModuleManager.h"
#include "Slate/SceneViewport.h"

#include "EngineRecord.h"
#include "../TextureShare/TextureShareState.h"

// The stand-in's own access to viewport internals that the window system would set.
struct FSceneViewportAccess
{
	static void SetSize(FSceneViewport& Viewport, FIntPoint Size, EWindowMode::Type WindowMode)
	{
		Viewport.SizeX = static_cast<uint32>(FMath::Max(Size.X, 0));
		Viewport.SizeY = static_cast<uint32>(FMath::Max(Size.Y, 0));
		Viewport.WindowMode = WindowMode;
	}
	static void SetDesktopPosition(FSceneViewport& Viewport, FIntPoint Position) { Viewport.DesktopPosition = Position; }
};

namespace
{

void FinishEngineStart(UEngine* Engine)
{
	Engine->AddToRoot();
	GEngine = Engine;
	FModuleManager::Get().LoadModuleChecked(TEXT("TextureShare"));
	Engine->InitializeObjectReferences();
	FCoreDelegates::OnPostEngineInit.Broadcast();
}

TSharedPtr<FSceneViewport> MakeViewport(UGameViewportClient* Client, const EngineTesting::FPlayOptions& Options)
{
	TSharedPtr<FSceneViewport> Viewport = MakeShared<FSceneViewport>(Client, nullptr);
	FSceneViewportAccess::SetSize(*Viewport, Options.ViewportSize, Options.WindowMode);
	FSceneViewportAccess::SetDesktopPosition(*Viewport, Options.DesktopPosition);
	return Viewport;
}

// A local player of the engine's local player class with a controller, camera manager and pawn; the pawn has
// a scene root and a camera component attached to it.
void SpawnPlayer(UWorld* World, UGameViewportClient* Client, EngineTesting::FPlaySession& Session)
{
	UClass* PlayerClass = GEngine->LocalPlayerClass.Get() != nullptr ? GEngine->LocalPlayerClass.Get() : ULocalPlayer::StaticClass();
	ULocalPlayer* LocalPlayer = NewObject<ULocalPlayer>(GEngine, PlayerClass);
	LocalPlayer->ViewportClient = Client;

	APlayerController* Controller = World->SpawnActor<APlayerController>();
	APlayerCameraManager* CameraManager = World->SpawnActor<APlayerCameraManager>();
	CameraManager->SetOwner(Controller);
	CameraManager->PCOwner = Controller;
	Controller->PlayerCameraManager = CameraManager;
	Controller->Player = LocalPlayer;
	LocalPlayer->PlayerController = Controller;

	APawn* Pawn = World->SpawnActor<APawn>();
	USceneComponent* Root = NewObject<USceneComponent>(Pawn, TEXT("PawnRoot"));
	Pawn->SetRootComponent(Root);
	Root->RegisterComponent();
	UCameraComponent* Camera = NewObject<UCameraComponent>(Pawn, TEXT("PawnCamera"));
	Camera->SetupAttachment(Root);
	Camera->RegisterComponent();
	Controller->Possess(Pawn);

	Session.LocalPlayer = LocalPlayer;
	Session.PlayerController = Controller;
	Session.CameraManager = CameraManager;
	Session.Pawn = Pawn;
	Session.CameraComponent = Camera;
}

} // namespace

namespace EngineTesting
{

UGameEngine* StartGameEngine()
{
	checkf(GEngine == nullptr, TEXT("An engine is running already"));
	GIsEditor = false;
	UGameEngine* Engine = NewObject<UGameEngine>(GetTransientPackageAsObject());
	FinishEngineStart(Engine);
	return Engine;
}

UEditorEngine* StartEditorEngine()
{
	checkf(GEngine == nullptr, TEXT("An engine is running already"));
	GIsEditor = true;
	UEditorEngine* Editor = NewObject<UEditorEngine>(GetTransientPackageAsObject());
	GEditor = Editor;
	GEngine = Editor;
	GWorld = CreateEditorWorld();
	FinishEngineStart(Editor);
	return Editor;
}

void StopEngine()
{
	if (GEngine == nullptr)
	{
		return;
	}
	if (GEditor != nullptr && GEditor->PlayWorld)
	{
		StopPlayInEditor();
	}
	if (GEngine->GameViewport)
	{
		StopPlay();
	}
	FCoreDelegates::OnEnginePreExit.Broadcast();
	TArray<UWorld*> Worlds;
	for (const FWorldContext& Context : GEngine->GetWorldContexts())
	{
		if (Context.World() != nullptr)
		{
			Worlds.Add(Context.World());
		}
	}
	for (UWorld* World : Worlds)
	{
		World->DestroyWorld(true);
	}
	GEngine->RemoveFromRoot();
	GEngine->MarkAsGarbage();
	GEngine = nullptr;
	GEditor = nullptr;
	GWorld = nullptr;
	GIsEditor = false;
	GIsPlayInEditorWorld = false;
}

UWorld* CreateGameWorld()
{
	return UWorld::CreateWorld(EWorldType::Game, true);
}

UWorld* CreateEditorWorld()
{
	return UWorld::CreateWorld(EWorldType::Editor, true);
}

void DestroyWorld(UWorld* World)
{
	if (World != nullptr)
	{
		World->DestroyWorld(true);
	}
}

FPlaySession StartPlay(UWorld* World, const FPlayOptions& Options)
{
	UGameEngine* Engine = CastChecked<UGameEngine>(GEngine);
	FWorldContext* Context = Engine->GetWorldContextFromWorld(World);
	if (Context == nullptr)
	{
		Context = &Engine->CreateNewWorldContext(EWorldType::Game);
		Context->SetCurrentWorld(World);
	}
	FPlaySession Session;
	Session.World = World;
	Session.ViewportClient = NewObject<UGameViewportClient>(Engine);
	Session.ViewportClient->Init(*Context, nullptr, true);
	Engine->GameViewport = Session.ViewportClient;
	Engine->SceneViewport = MakeViewport(Session.ViewportClient, Options);
	Session.ViewportClient->SetViewportFrame(Engine->SceneViewport.Get());
	Session.Viewport = Engine->SceneViewport.Get();
	GWorld = World;
	if (Options.bSpawnPlayer)
	{
		SpawnPlayer(World, Session.ViewportClient, Session);
	}
	World->BeginPlay();
	return Session;
}

void StopPlay()
{
	UGameEngine* Engine = Cast<UGameEngine>(GEngine);
	if (Engine == nullptr || !Engine->GameViewport)
	{
		return;
	}
	if (FWorldContext* Context = Engine->GetWorldContextFromGameViewport(Engine->GameViewport))
	{
		Context->GameViewport = nullptr;
	}
	Engine->GameViewport = nullptr;
	Engine->SceneViewport.Reset();
}

FPlaySession StartPlayInEditor(const FPlayOptions& Options)
{
	checkf(GEditor != nullptr && !GEditor->PlayWorld, TEXT("Play in editor needs the editor engine and no session running"));
	UWorld* PlayWorld = UWorld::CreateWorld(EWorldType::PIE, true, FName(TEXT("UEDPIE_0")));
	FWorldContext* Context = GEditor->GetWorldContextFromWorld(PlayWorld);
	Context->PIEInstance = 0;
	GEditor->PlayWorld = PlayWorld;

	FPlaySession Session;
	Session.World = PlayWorld;
	Session.ViewportClient = NewObject<UGameViewportClient>(GEditor);
	Session.ViewportClient->Init(*Context, nullptr, true);
	GEditor->GameViewport = Session.ViewportClient;

	FSlatePlayInEditorInfo Info;
	Info.SlatePlayInEditorWindowViewport = MakeViewport(Session.ViewportClient, Options);
	Info.SlatePlayInEditorWindowViewport->SetPlayInEditorViewport(true);
	Session.ViewportClient->SetViewportFrame(Info.SlatePlayInEditorWindowViewport.Get());
	Session.Viewport = Info.SlatePlayInEditorWindowViewport.Get();
	if (Options.bSpawnPlayer)
	{
		SpawnPlayer(PlayWorld, Session.ViewportClient, Session);
		Info.EditorPlayer = Session.LocalPlayer;
	}
	GEditor->SlatePlayInEditorMap.Add(Context->ContextHandle, Info);

	// The editor begins play with the play world current, then makes the edited world current again.
	UWorld* EditedWorld = SetPlayInEditorWorld(PlayWorld);
	PlayWorld->BeginPlay();
	RestoreEditorWorld(EditedWorld);
	return Session;
}

void StopPlayInEditor()
{
	if (GEditor == nullptr || !GEditor->PlayWorld)
	{
		return;
	}
	UWorld* PlayWorld = GEditor->PlayWorld;
	if (FWorldContext* Context = GEditor->GetWorldContextFromWorld(PlayWorld))
	{
		GEditor->SlatePlayInEditorMap.Remove(Context->ContextHandle);
	}
	GEditor->GameViewport = nullptr;
	GEditor->PlayWorld = nullptr;
	PlayWorld->DestroyWorld(true);
}

void RunFrame(float DeltaSeconds)
{
	FCoreDelegates::OnBeginFrame.Broadcast();
	if (GEngine != nullptr)
	{
		TArray<UWorld*> Worlds;
		for (const FWorldContext& Context : GEngine->GetWorldContexts())
		{
			if (Context.World() != nullptr && Context.World()->HasBegunPlay())
			{
				Worlds.Add(Context.World());
			}
		}
		for (UWorld* World : Worlds)
		{
			World->Tick(LEVELTICK_All, DeltaSeconds);
		}
	}
	StandInTesting::TickAllTickables(DeltaSeconds);
	TextureShareState::RenderFrame();
	FCoreDelegates::OnEndFrame.Broadcast();
	++GFrameCounter;
}

void SetViewportSize(FSceneViewport& Viewport, FIntPoint Size, EWindowMode::Type WindowMode)
{
	FSceneViewportAccess::SetSize(Viewport, Size, WindowMode);
}

void SetViewportDesktopPosition(FSceneViewport& Viewport, FIntPoint Position)
{
	FSceneViewportAccess::SetDesktopPosition(Viewport, Position);
}

TArray<FFrameResizeRequest> GetFrameResizeRequests()
{
	TArray<FFrameResizeRequest> Requests;
	for (const FEngineRecord::FFrameResize& Resize : GetEngineRecord().FrameResizes)
	{
		Requests.Add(FFrameResizeRequest{Resize.Frame, Resize.SizeX, Resize.SizeY, Resize.WindowMode});
	}
	return Requests;
}

TArray<bool> GetApplySettingsCalls()
{
	return GetEngineRecord().ApplySettingsCalls;
}

int32 GetNonResolutionSettingsApplicationCount()
{
	return GetEngineRecord().NonResolutionApplications;
}

int32 GetPerformanceSettingsChangeCount()
{
	return GetEngineRecord().PerformanceSettingsChanges;
}

void ResetRecords()
{
	GetEngineRecord() = FEngineRecord();
}

} // namespace EngineTesting
