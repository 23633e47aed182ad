// Runs the plug-in's runtime module inside the stand-in engine the way Unreal runs it: the module is loaded
// from its library by the module manager, the engine starts (post-engine-init), frames run in the engine's
// order (begin frame, world and object ticks, render, end frame), play starts and stops, worlds are created,
// and the engine shuts down (pre-exit, then module shut-down).
#pragma once

#include "CoreMinimal.h"
#include "EngineTesting.h"

class FKorvatPlugin;
class UWorld;

namespace Korvat::Sandbox
{

struct FSandboxOptions
{
	/** Name of the dynamic RHI, as the engine reports it ("D3D11", "D3D12", "Vulkan"). */
	FString RhiName = TEXT("D3D11");
	/** Run as the editor (play-in-editor) rather than as a packaged game. */
	bool bEditor = false;
	/** The module library; empty for the one built beside this program. */
	FString ModulePath;
	/** How games are started: viewport size and desktop position, the player. */
	EngineTesting::FPlayOptions PlayOptions;
};

class FSandboxEngine
{
public:
	explicit FSandboxEngine(FSandboxOptions InOptions = FSandboxOptions());
	~FSandboxEngine();
	FSandboxEngine(const FSandboxEngine&) = delete;
	FSandboxEngine& operator=(const FSandboxEngine&) = delete;

	/** Loads the module and starts the engine; false with a reason when the module cannot be loaded. */
	bool Start(FString& OutError);
	/** Runs Count engine frames. */
	void RunFrames(int32 Count = 1, float DeltaSeconds = 1.0f / 60.0f);
	/** Starts a game (a standalone game, or play-in-editor in the editor). */
	void StartPlay();
	/** Stops the game; the next frame finds no game viewport. */
	void StopPlay();
	bool IsPlaying() const { return bPlaying; }
	/** Creates a new world (as loading a level does), which the engine announces to the module. */
	UWorld* CreateWorld();
	/** Pre-exit, then module shut-down; the module object is gone afterwards. */
	void Shutdown();
	bool IsRunning() const { return bRunning; }

	/** The loaded module object, or null before Start and after Shutdown. */
	FKorvatPlugin* GetModule() const;

	/** The module library built beside the sandbox. */
	static FString DefaultModulePath();

private:
	FSandboxOptions Options;
	UWorld* GameWorld = nullptr;
	bool bRunning = false;
	bool bPlaying = false;
};

} // namespace Korvat::Sandbox
