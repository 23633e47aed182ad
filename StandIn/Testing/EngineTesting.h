// Test controls of the stand-in engine: start a game or editor engine, create worlds, start and stop play
// (standalone and in the editor), run frames, and read back what the plug-in asked of the engine.
//
// A typical standalone run:
//
// @code
//   EngineTesting::StartGameEngine();                 // GEngine, GIsEditor = false, TextureShare loaded
//   UWorld* World = EngineTesting::CreateGameWorld();
//   EngineTesting::FPlaySession Play = EngineTesting::StartPlay(World);
//   EngineTesting::RunFrame();                        // begin frame, ticks, render, end frame
//   EngineTesting::StopPlay();
//   EngineTesting::StopEngine();
// @endcode
//
// A frame (RunFrame) is: FCoreDelegates::OnBeginFrame; when Slate is initialised, the poll of the platform
// application's game devices (FSlateApplication::PollGameDeviceState, then FinishedInputThisFrame; the first
// poll creates the input devices of input-device modules, see SlateTesting.h); the tick of every world that has begun play (its
// registered components, by tick group, then each player controller's camera manager update, which caches
// the point of view the frame renders with); the tick of every tickable object; the draw of every world
// context's game viewport (the standalone game's, each play-in-editor session's), in world-context order, as
// UGameViewportClient::Draw does it: the view extensions active for the viewport are gathered (highest
// priority first) and get SetupViewFamily, each local player of the viewport's world that views through the
// client makes its view (ULocalPlayer::CalcSceneView, which calls SetupView of each extension), and when at
// least one view was made the family goes to the renderer, which calls each extension's BeginRenderViewFamily
// and is recorded (GetRenderedViewports); the render of the TextureShare
// objects (each enabled object advances its frame number, and one whose SendParameters are not empty
// delivers them through the channel of TextureShareTesting.h and empties them: parameters wait in the map
// until the next rendered frame, and the newest value of each key is the one delivered);
// FCoreDelegates::OnEndFrame; GFrameCounter advances.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"
#include "Widgets/SWindow.h"

class AActor;
class APawn;
class FViewport;
class ISceneViewExtension;
class SLevelViewport;
class APlayerCameraManager;
class APlayerController;
class FSceneViewport;
class FViewportFrame;
class UCameraComponent;
class UEditorEngine;
class UGameEngine;
class UGameViewportClient;
class ULocalPlayer;
class SWindow;
class UWorld;

namespace EngineTesting
{
/** How StartPlay and StartPlayInEditor set up the player and the viewport. */
struct FPlayOptions
{
	/** Size of the game or play-in-editor viewport. */
	FIntPoint ViewportSize = FIntPoint(1280, 720);
	/** Window mode of the viewport. */
	EWindowMode::Type WindowMode = EWindowMode::Windowed;
	/** Position of the viewport's upper-left pixel on the virtual desktop. */
	FIntPoint DesktopPosition = FIntPoint(0, 0);
	/** Spawn a player controller with a camera manager and a pawn carrying a camera component. */
	bool bSpawnPlayer = true;
	/**
	 * Play-in-editor only: play in the level editor's viewport (the session's viewport is a new scene viewport
	 * of the level viewport's size, which becomes the level viewport's active one, and
	 * FSlatePlayInEditorInfo::DestinationSlateViewport is the level viewport) instead of a window of its own
	 * (FSlatePlayInEditorInfo::SlatePlayInEditorWindowViewport, of ViewportSize).
	 */
	bool bPlayInLevelViewport = false;
};

/** What StartPlay or StartPlayInEditor made. Members are null when not made (bSpawnPlayer false). */
struct FPlaySession
{
	UWorld* World = nullptr;
	UGameViewportClient* ViewportClient = nullptr;
	FSceneViewport* Viewport = nullptr;
	/**
	 * The window of the viewport client (UGameViewportClient::GetWindow), added to Slate
	 * (FSlateApplication::AddWindow), so it has a native window made by the platform application current then.
	 * A standalone game's window is also UGameEngine::GameViewportWindow; a play-in-editor session in a window of
	 * its own has a new window (FSlatePlayInEditorInfo::SlatePlayInEditorWindow); one in the level viewport has the
	 * editor's main window (made at StartEditorEngine).
	 */
	TSharedPtr<SWindow> Window;
	ULocalPlayer* LocalPlayer = nullptr;
	APlayerController* PlayerController = nullptr;
	APlayerCameraManager* CameraManager = nullptr;
	APawn* Pawn = nullptr;
	UCameraComponent* CameraComponent = nullptr;
};

/**
 * Makes a UGameEngine the engine (GEngine) with GIsEditor false, loads the TextureShare module, resolves the
 * engine's class references (LocalPlayerClass from LocalPlayerClassName) and broadcasts
 * FCoreDelegates::OnPostEngineInit. Load the plug-in's modules before, as the engine does. Slate is initialised
 * first (SlateTesting::InitializeSlate) unless a test has done it already; input-device modules are asked for
 * their devices in the first frame (RunFrame), see StandIn/Testing/SlateTesting.h.
 */
ENGINE_API UGameEngine* StartGameEngine();

/**
 * Makes a UEditorEngine the engine (GEngine and GEditor) with GIsEditor true, creates the edited world (an
 * editor world, current in GWorld), loads the "LevelEditor" module and gives the level editor one level
 * viewport (FLevelEditorModule::GetFirstActiveLevelViewport) showing the edited world through a scene viewport
 * of its own (1280 by 720, resize it with SetViewportSize), and does the rest as StartGameEngine.
 */
ENGINE_API UEditorEngine* StartEditorEngine();

/**
 * Stops play, broadcasts FCoreDelegates::OnEnginePreExit, destroys every world, clears GEngine/GEditor/GWorld and
 * shuts Slate down (which releases the input devices).
 */
ENGINE_API void StopEngine();

/** Creates a game world (with its world subsystems, among them the TextureShare subsystem), known to GEngine. */
ENGINE_API UWorld* CreateGameWorld();

/** Creates an editor world, known to GEngine. */
ENGINE_API UWorld* CreateEditorWorld();

/** Destroys World and its world context. */
ENGINE_API void DestroyWorld(UWorld* World);

/**
 * Starts a standalone game in World (engine must be a game engine): a game viewport client showing World
 * becomes GEngine->GameViewport, a scene viewport becomes the game engine's SceneViewport, the player is
 * spawned (a local player of GEngine->LocalPlayerClass) and World begins play. World becomes GWorld.
 */
ENGINE_API FPlaySession StartPlay(UWorld* World, const FPlayOptions& Options = FPlayOptions());

/** Ends the standalone game: no game viewport client, no scene viewport. The world stays (DestroyWorld it). */
ENGINE_API void StopPlay();

/**
 * Starts a play-in-editor session (engine must be the editor engine): a PIE world with its own world context
 * (PIEInstance 0), PlayWorld, a game viewport client, and a play-in-editor entry in SlatePlayInEditorMap
 * that shows the session in a window of its own (its scene viewport). GWorld stays the edited world.
 */
ENGINE_API FPlaySession StartPlayInEditor(const FPlayOptions& Options = FPlayOptions());

/**
 * Ends the play-in-editor session: the PIE world, its context, PlayWorld, the map entry and the game viewport
 * go; a level viewport it played in shows the editor's own scene viewport again. The session's scene viewport
 * object is kept (unused) until StopEngine, so the next session's viewport is always a different object.
 */
ENGINE_API void StopPlayInEditor();

/** Runs one engine frame (see the file comment). */
ENGINE_API void RunFrame(float DeltaSeconds = 1.0f / 60.0f);

/** Sets a scene viewport's size and window mode, as the window system would after a resize. */
ENGINE_API void SetViewportSize(FSceneViewport& Viewport, FIntPoint Size, EWindowMode::Type WindowMode);

/** Sets a scene viewport's position on the virtual desktop. */
ENGINE_API void SetViewportDesktopPosition(FSceneViewport& Viewport, FIntPoint Position);

/** The level editor's first level viewport, or null outside the editor. */
ENGINE_API TSharedPtr<SLevelViewport> GetLevelViewport();

/**
 * Spawns a pawn at Transform with a scene root and, if bWithCamera, an active camera component attached to it
 * (find it with GetComponents). No controller possesses it.
 */
ENGINE_API APawn* SpawnPawn(UWorld* World, const FTransform& Transform = FTransform::Identity, bool bWithCamera = true);

/** Spawns a plain actor (not a pawn) at Transform with a scene root and no camera component. */
ENGINE_API AActor* SpawnViewTargetActor(UWorld* World, const FTransform& Transform = FTransform::Identity);

/** Adds a registered camera component attached to Actor's root; deactivated unless bActive. */
ENGINE_API UCameraComponent* AddCameraComponent(AActor* Actor, bool bActive = true);

/** One view of a rendered view family, as the renderer received it (after CalcSceneView and SetupView). */
struct FRenderedView
{
	FMatrix ProjectionMatrix = FMatrix::Identity;
	FMatrix ViewMatrix = FMatrix::Identity;
	FMatrix ViewProjectionMatrix = FMatrix::Identity;
	FIntRect UnscaledViewRect;
	FIntRect UnconstrainedViewRect;
	FVector ViewLocation = FVector(0.0, 0.0, 0.0);
	FRotator ViewRotation = FRotator(0.0, 0.0, 0.0);
	float FOV = 0.f;
};

/** One view family handed to the renderer: the viewport, its views, and the extensions told (in call order). */
struct FRenderedViewport
{
	/** GFrameCounter of the frame that rendered it. */
	uint64 FrameNumber = 0;
	FViewport* Viewport = nullptr;
	TArray<FRenderedView> Views;
	/** The extensions that got BeginRenderViewFamily for this family, highest priority first. */
	TArray<const ISceneViewExtension*> BegunExtensions;
};

/** Every view family handed to the renderer since the last ResetRecords, oldest first. */
ENGINE_API TArray<FRenderedViewport> GetRenderedViewports();

/** One FViewportFrame::ResizeFrame call. */
struct FFrameResizeRequest
{
	FViewportFrame* Frame = nullptr;
	uint32 SizeX = 0;
	uint32 SizeY = 0;
	EWindowMode::Type WindowMode = EWindowMode::Windowed;
};

/** Every ResizeFrame call on a scene viewport since the last ResetRecords, oldest first. */
ENGINE_API TArray<FFrameResizeRequest> GetFrameResizeRequests();

/** The bCheckForCommandLineOverrides argument of every UGameUserSettings::ApplySettings call, oldest first. */
ENGINE_API TArray<bool> GetApplySettingsCalls();

/** Number of UGameUserSettings::ApplyNonResolutionSettings calls, ApplySettings' own included. */
ENGINE_API int32 GetNonResolutionSettingsApplicationCount();

/** Number of PostEditChangeProperty notifications the editor performance settings received. */
ENGINE_API int32 GetPerformanceSettingsChangeCount();

/** Forgets the records above. */
ENGINE_API void ResetRecords();
} // namespace EngineTesting
