// Test controls and inspection of the stand-in engine. Only tests and the sandbox include this;
// plug-in code never does.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"
#include "Modules/ModuleManager.h"
#include "Scalability.h"
#include "Stats/Stats.h"

namespace StandInTesting
{
	// --- Logging -------------------------------------------------------------------------------

	struct FCapturedLogLine
	{
		FName Category;
		ELogVerbosity::Type Verbosity;
		FString Text;
	};

	/** Every line logged (and not suppressed by its category) since the last clear, oldest first. */
	STANDIN_ENGINE_API TArray<FCapturedLogLine> GetLogLines();
	STANDIN_ENGINE_API void ClearLogLines();
	/** Whether log lines are also written to stderr (on by default). */
	STANDIN_ENGINE_API void SetLogEchoToStderr(bool bEcho);

	// --- Configuration -------------------------------------------------------------------------

	struct FConfigWrite
	{
		FString Filename;
		FString Section;
		FString Key;
		FString Value;
	};

	struct FConfigFlush
	{
		bool bRemoveFromCache;
		FString Filename;
	};

	STANDIN_ENGINE_API TArray<FConfigWrite> GetConfigWrites();
	STANDIN_ENGINE_API TArray<FConfigFlush> GetConfigFlushes();
	/** Forgets the recorded writes and flushes (the values stay in the cache). */
	STANDIN_ENGINE_API void ClearConfigRecords();

	// --- Resolution and scalability -------------------------------------------------------------

	struct FResolutionRequest
	{
		int32 ResX;
		int32 ResY;
		EWindowMode::Type WindowMode;
	};

	STANDIN_ENGINE_API TArray<FResolutionRequest> GetResolutionRequests();
	STANDIN_ENGINE_API void ClearResolutionRequests();
	/** Does what the engine's console-variable sink does later in the frame: GSystemResolution takes the last request. */
	STANDIN_ENGINE_API void ApplyPendingResolutionChange();

	struct FScalabilityApplication
	{
		Scalability::FQualityLevels Levels;
		bool bForce;
	};

	/** Every SetQualityLevels call with its arguments as given. */
	STANDIN_ENGINE_API TArray<FScalabilityApplication> GetScalabilityApplications();
	STANDIN_ENGINE_API void ClearScalabilityApplications();
	/** Current levels back to the engine defaults. */
	STANDIN_ENGINE_API void ResetQualityLevels();

	// --- RHI -----------------------------------------------------------------------------------

	/** Makes GDynamicRHI a back end with this name ("D3D11", "D3D12", "Vulkan", ...); null removes it. */
	STANDIN_ENGINE_API void SetDynamicRHIName(const TCHAR* Name);

	// --- Modules -------------------------------------------------------------------------------

	/** Where the shared library of a module lives, for loading it by name. */
	STANDIN_ENGINE_API void RegisterModuleLibrary(const FName ModuleName, const FString& LibraryPath);
	/** Registers a module factory directly (as a statically linked module). */
	STANDIN_ENGINE_API void RegisterModuleFactory(const FName ModuleName, TFunction<IModuleInterface*()> Factory);
	/** Loaded modules, in load order. */
	STANDIN_ENGINE_API TArray<FName> GetLoadedModules();
	/** Shuts down and destroys all modules in reverse load order (as the engine does at exit). */
	STANDIN_ENGINE_API void ShutdownAllModules();

	// --- Ticking, frames and threads ------------------------------------------------------------

	STANDIN_ENGINE_API void TickAllTickables(float DeltaSeconds, bool bIsPaused = false);
	STANDIN_ENGINE_API int32 GetNumTickables();
	/** Makes the calling thread the game thread. */
	STANDIN_ENGINE_API void SetGameThreadToCurrent();

	// --- Command line and version ---------------------------------------------------------------

	/** Sets what FCommandLine::Get() returns. */
	STANDIN_ENGINE_API void SetCommandLine(const TCHAR* CommandLine);
	STANDIN_ENGINE_API void SetEngineVersionPatch(uint16 Patch);

	// --- Profiling and stats --------------------------------------------------------------------

	STANDIN_ENGINE_API void SetCpuProfilerRecording(bool bEnabled);
	/** Names of the CPU profiler scopes entered while recording, in order. */
	STANDIN_ENGINE_API TArray<FString> GetCpuProfilerScopes();
	STANDIN_ENGINE_API void ClearCpuProfilerScopes();

	struct FStatInfo
	{
		FString StatName;
		FString Description;
		FString GroupName;
		FString GroupCategory;
		FString GroupDescription;
	};

	/** What a stat id was registered with; all empty for an invalid id. */
	STANDIN_ENGINE_API FStatInfo GetStatInfo(TStatId StatId);
	/** How many times a stat of this name has been registered (1 if created once and cached). */
	STANDIN_ENGINE_API int32 GetStatRegistrationCount(const FString& StatName);
}
