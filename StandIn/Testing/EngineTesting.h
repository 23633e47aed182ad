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
// A frame (RunFrame) is: FCoreDelegates::OnBeginFrame; the tick of every world that has begun play (its
// registered components, by tick group); the tick of every tickable object; the render of the TextureShare
// objects (each enabled object advances its frame number, and one whose SendParameters are not empty
// delivers them through the channel of TextureShareTesting.h and empties them: parameters wait in the map
// until the next rendered frame, and the newest value of each key is the one delivered);
// FCoreDelegates::OnEndFrame; GFrameCounter advances.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"

class APawn;
class APlayerCameraManager;
class APlayerController;
class FSceneViewport;
class FViewportFrame;
class UCameraComponent;
class UEditorEngine;
class UGameEngine;
class UGameViewportClient;
class ULocalPlayer;
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
};

/** What StartPlay or StartPlayInEditor made. Members are null when not made (bSpawnPlayer false). */
struct FPlaySession
{
	UWorld* World = nullptr;
	UGameViewportClient* ViewportClient = nullptr;
	FSceneViewport* Viewport = nullptr;
	ULocalPlayer* LocalPlayer = nullptr;
	APlayerController* PlayerController = nullptr;
	APlayerCameraManager* CameraManager = nullptr;
	APawn* Pawn = nullptr;
	UCameraComponent* CameraComponent = nullptr;
};

/**
 * Makes a UGameEngine the engine (GEngine) with GIsEditor false, loads the TextureShare module, resolves the
 * engine's class references (LocalPlayerClass from LocalPlayerClassName) and broadcasts
 * FCoreDelegates::OnPostEngineInit. Load the plug-in's modules before, as the engine does.
 */
ENGINE_API UGameEngine* StartGameEngine();

/**
 * Makes a UEditorEngine the engine (GEngine and GEditor) with GIsEditor true, creates the edited world (an
 * editor world, current in GWorld) and does the rest as StartGameEngine.
 */
ENGINE_API UEditorEngine* StartEditorEngine();

/** Stops play, broadcasts FCoreDelegates::OnEnginePreExit, destroys every world and clears GEngine/GEditor/GWorld. */
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

/** Ends the play-in-editor session: the PIE world, its context, PlayWorld, the map entry and the game viewport go. */
ENGINE_API void StopPlayInEditor();

/** Runs one engine frame (see the file comment). */
ENGINE_API void RunFrame(float DeltaSeconds = 1.0f / 60.0f);

/** Sets a scene viewport's size and window mode, as the window system would after a resize. */
ENGINE_API void SetViewportSize(FSceneViewport& Viewport, FIntPoint Size, EWindowMode::Type WindowMode);

/** Sets a scene viewport's position on the virtual desktop. */
ENGINE_API void SetViewportDesktopPosition(FSceneViewport& Viewport, FIntPoint Position);

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
