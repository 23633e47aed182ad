#include "EngineTesting.h"
#include "SlateTesting.h"
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
#include "Framework/Application/SlateApplication.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "LevelEditor.h"
#include "Misc/CoreDelegates.h"
#include "SLevelViewport.h"
#include "Modules/ModuleManager.h"
#include "Slate/SceneViewport.h"
#include "Styling/AppStyle.h"
#include "Widgets/SWindow.h"

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

// The stand-in's own access to the level editor's viewport, which the editor's Slate UI would create.
struct FLevelViewportAccess
{
	static TSharedPtr<SLevelViewport> Create()
	{
		TSharedPtr<SLevelViewport> LevelViewport(new SLevelViewport());
		LevelViewport->ActiveViewport = MakeShared<FSceneViewport>(nullptr, nullptr);
		FSceneViewportAccess::SetSize(*LevelViewport->ActiveViewport, FIntPoint(1280, 720), EWindowMode::Windowed);
		return LevelViewport;
	}
	static void SetFirstActiveLevelViewport(FLevelEditorModule& Module, TSharedPtr<SLevelViewport> LevelViewport)
	{
		Module.FirstActiveLevelViewport = LevelViewport;
	}
	static TSharedPtr<SLevelViewport> GetFirstActiveLevelViewport(FLevelEditorModule& Module) { return Module.FirstActiveLevelViewport; }
	static TSharedPtr<FSceneViewport> GetEditorViewport(const SLevelViewport& LevelViewport)
	{
		return LevelViewport.InactiveViewport.IsValid() ? LevelViewport.InactiveViewport : LevelViewport.ActiveViewport;
	}
};

namespace
{

const FName LevelEditorModuleName(TEXT("LevelEditor"));

// Scene viewports of ended play-in-editor sessions, kept until the engine stops so that a later session never
// gets a viewport at the same address (the engine's window teardown is deferred as well).
TArray<TSharedPtr<FSceneViewport>>& RetiredViewports()
{
	static TArray<TSharedPtr<FSceneViewport>>* Viewports = new TArray<TSharedPtr<FSceneViewport>>();
	return *Viewports;
}

USceneComponent* AddRoot(AActor* Actor, const FTransform& Transform)
{
	USceneComponent* Root = NewObject<USceneComponent>(Actor, TEXT("Root"));
	Actor->SetRootComponent(Root);
	Root->RegisterComponent();
	Actor->SetActorTransform(Transform);
	return Root;
}

// The editor's main window, which holds the level editor and its level viewports (made at editor start).
TSharedPtr<SWindow>& EditorMainWindow()
{
	static TSharedPtr<SWindow>* Window = new TSharedPtr<SWindow>();
	return *Window;
}

// Slate comes up early in the engine's start, before any input device is asked for.
void EnsureSlate()
{
	if (!FSlateApplication::IsInitialized())
	{
		SlateTesting::InitializeSlate();
	}
}

// A top-level window added to Slate, so the current platform application makes its native window.
TSharedPtr<SWindow> AddGameWindow()
{
	return FSlateApplication::Get().AddWindow(MakeShared<SWindow>());
}

void DestroyGameWindow(const TSharedPtr<SWindow>& Window)
{
	if (Window.IsValid() && FSlateApplication::IsInitialized())
	{
		FSlateApplication::Get().DestroyWindowImmediately(Window.ToSharedRef());
	}
}

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

	APawn* Pawn = EngineTesting::SpawnPawn(World, FTransform::Identity, true);
	UCameraComponent* Camera = Pawn->FindComponentByClass<UCameraComponent>();
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
	EnsureSlate();
	GIsEditor = false;
	UGameEngine* Engine = NewObject<UGameEngine>(GetTransientPackageAsObject());
	FinishEngineStart(Engine);
	return Engine;
}

UEditorEngine* StartEditorEngine()
{
	checkf(GEngine == nullptr, TEXT("An engine is running already"));
	EnsureSlate();
	GIsEditor = true;
	UEditorEngine* Editor = NewObject<UEditorEngine>(GetTransientPackageAsObject());
	GEditor = Editor;
	GEngine = Editor;
	GWorld = CreateEditorWorld();
	FinishEngineStart(Editor);
	// The editor's style becomes the application's, and the property editor is loaded before any plug-in's
	// editor module (so it outlives them at shut-down), as the editor's start does.
	FAppStyle::SetAppStyleSetName(FName(TEXT("EditorStyle")));
	FModuleManager::Get().LoadModuleChecked(FName(TEXT("PropertyEditor")));
	// The editor's UI: the level editor with one level viewport on the edited world.
	FLevelEditorModule& LevelEditor = FModuleManager::LoadModuleChecked<FLevelEditorModule>(LevelEditorModuleName);
	FLevelViewportAccess::SetFirstActiveLevelViewport(LevelEditor, FLevelViewportAccess::Create());
	EditorMainWindow() = AddGameWindow();
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
	if (FLevelEditorModule* LevelEditor = FModuleManager::GetModulePtr<FLevelEditorModule>(LevelEditorModuleName))
	{
		FLevelViewportAccess::SetFirstActiveLevelViewport(*LevelEditor, nullptr);
	}
	RetiredViewports().Reset();
	DestroyGameWindow(EditorMainWindow());
	EditorMainWindow().Reset();
	GEngine->RemoveFromRoot();
	GEngine->MarkAsGarbage();
	GEngine = nullptr;
	GEditor = nullptr;
	GWorld = nullptr;
	GIsEditor = false;
	GIsPlayInEditorWorld = false;
	FAppStyle::SetAppStyleSetName(FName(TEXT("CoreStyle")));
	SlateTesting::ShutdownSlate();
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
	Session.Window = AddGameWindow();
	Engine->GameViewportWindow = Session.Window;
	Session.ViewportClient->SetWindow(Session.Window);
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
	DestroyGameWindow(Engine->GameViewportWindow.Pin());
	Engine->GameViewportWindow.Reset();
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
	FLevelEditorModule& LevelEditor = FModuleManager::LoadModuleChecked<FLevelEditorModule>(LevelEditorModuleName);
	TSharedPtr<SLevelViewport> LevelViewport = FLevelViewportAccess::GetFirstActiveLevelViewport(LevelEditor);
	if (Options.bPlayInLevelViewport && LevelViewport.IsValid())
	{
		// The level viewport shows the session through a new scene viewport of its own size.
		LevelViewport->StartPlayInEditorSession(Session.ViewportClient, false);
		TSharedPtr<FSceneViewport> PlayViewport = LevelViewport->GetSharedActiveViewport();
		const TSharedPtr<FSceneViewport> EditorViewport = FLevelViewportAccess::GetEditorViewport(*LevelViewport);
		FSceneViewportAccess::SetSize(*PlayViewport, EditorViewport->GetSizeXY(), EditorViewport->GetWindowMode());
		FSceneViewportAccess::SetDesktopPosition(*PlayViewport, Options.DesktopPosition);
		Info.DestinationSlateViewport = LevelViewport;
		Session.Viewport = PlayViewport.Get();
		Session.Window = EditorMainWindow();
	}
	else
	{
		Info.SlatePlayInEditorWindowViewport = MakeViewport(Session.ViewportClient, Options);
		Info.SlatePlayInEditorWindowViewport->SetPlayInEditorViewport(true);
		Session.ViewportClient->SetViewportFrame(Info.SlatePlayInEditorWindowViewport.Get());
		Session.Viewport = Info.SlatePlayInEditorWindowViewport.Get();
		Session.Window = AddGameWindow();
		Info.SlatePlayInEditorWindow = Session.Window;
	}
	Session.ViewportClient->SetWindow(Session.Window);
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
		if (FSlatePlayInEditorInfo* Info = GEditor->SlatePlayInEditorMap.Find(Context->ContextHandle))
		{
			if (TSharedPtr<IAssetViewport> Destination = Info->DestinationSlateViewport.Pin())
			{
				RetiredViewports().Add(Destination->GetSharedActiveViewport());
				Destination->EndPlayInEditorSession();
			}
			if (Info->SlatePlayInEditorWindowViewport.IsValid())
			{
				RetiredViewports().Add(Info->SlatePlayInEditorWindowViewport);
			}
			DestroyGameWindow(Info->SlatePlayInEditorWindow.Pin());
		}
		GEditor->SlatePlayInEditorMap.Remove(Context->ContextHandle);
	}
	GEditor->GameViewport = nullptr;
	GEditor->PlayWorld = nullptr;
	PlayWorld->DestroyWorld(true);
}

void RunFrame(float DeltaSeconds)
{
	FCoreDelegates::OnBeginFrame.Broadcast();
	if (FSlateApplication::IsInitialized())
	{
		// The engine loop polls the game devices before the engine ticks.
		FSlateApplication::Get().PollGameDeviceState();
		FSlateApplication::Get().FinishedInputThisFrame();
	}
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
	if (GEngine != nullptr)
	{
		// Each game viewport draws its world (the engine redraws its viewports after the ticks).
		TArray<UGameViewportClient*> Clients;
		for (const FWorldContext& Context : GEngine->GetWorldContexts())
		{
			if (Context.GameViewport && Context.GameViewport->Viewport != nullptr)
			{
				Clients.Add(Context.GameViewport);
			}
		}
		for (UGameViewportClient* Client : Clients)
		{
			Client->Draw(Client->Viewport, nullptr);
		}
	}
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

TSharedPtr<SLevelViewport> GetLevelViewport()
{
	FLevelEditorModule* LevelEditor = GIsEditor ? FModuleManager::GetModulePtr<FLevelEditorModule>(LevelEditorModuleName) : nullptr;
	return LevelEditor != nullptr ? FLevelViewportAccess::GetFirstActiveLevelViewport(*LevelEditor) : nullptr;
}

APawn* SpawnPawn(UWorld* World, const FTransform& Transform, bool bWithCamera)
{
	APawn* Pawn = World->SpawnActor<APawn>();
	AddRoot(Pawn, Transform);
	if (bWithCamera)
	{
		AddCameraComponent(Pawn, true);
	}
	return Pawn;
}

AActor* SpawnViewTargetActor(UWorld* World, const FTransform& Transform)
{
	AActor* Actor = World->SpawnActor<AActor>();
	AddRoot(Actor, Transform);
	return Actor;
}

UCameraComponent* AddCameraComponent(AActor* Actor, bool bActive)
{
	UCameraComponent* Camera = NewObject<UCameraComponent>(Actor);
	Camera->SetupAttachment(Actor->GetRootComponent());
	Camera->RegisterComponent();
	if (!bActive)
	{
		Camera->Deactivate();
	}
	return Camera;
}

TArray<FRenderedViewport> GetRenderedViewports()
{
	return GetEngineRecord().RenderedViewports;
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
