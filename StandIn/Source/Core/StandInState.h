// Process-wide state of the stand-in engine shared between its sources and the test controls.
#pragma once

#include "StandInTesting.h"

#include <atomic>
#include <mutex>

namespace StandInState
{
	struct FRecords
	{
		std::recursive_mutex Mutex;
		TArray<StandInTesting::FCapturedLogLine> LogLines;
		bool bEchoLogToStderr = true;
		TArray<StandInTesting::FConfigWrite> ConfigWrites;
		TArray<StandInTesting::FConfigFlush> ConfigFlushes;
		TArray<StandInTesting::FResolutionRequest> ResolutionRequests;
		TArray<StandInTesting::FScalabilityApplication> ScalabilityApplications;
		// Read on every profiler scope, so without taking the records lock.
		std::atomic<bool> bCpuProfilerRecording{false};
		TArray<FString> CpuProfilerScopes;
	};

	/** Never destroyed, so records stay usable during static teardown. */
	FRecords& Records();

	void SetEngineVersionPatch(uint16 Patch);
	void RegisterModuleLibrary(const FName ModuleName, const FString& LibraryPath);
	TArray<FName> GetLoadedModules();
	void ResetQualityLevels();
	void SetDynamicRHIName(const TCHAR* Name);
	void ApplyPendingResolutionChange();
	StandInTesting::FStatInfo GetStatInfo(TStatId StatId);
	int32 GetStatRegistrationCount(const FString& StatName);
	int32 GetNumTickables();
	void SetGameThreadToCurrent();
}
