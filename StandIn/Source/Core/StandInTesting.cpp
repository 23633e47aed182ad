#include "StandInTesting.h"
#include "Misc/CommandLine.h"
#include "Tickable.h"
#include "StandInState.h"

namespace StandInTesting
{
	TArray<FCapturedLogLine> GetLogLines()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.LogLines;
	}

	void ClearLogLines()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.LogLines.Empty();
	}

	void SetLogEchoToStderr(bool bEcho)
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.bEchoLogToStderr = bEcho;
	}

	TArray<FConfigWrite> GetConfigWrites()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.ConfigWrites;
	}

	TArray<FConfigFlush> GetConfigFlushes()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.ConfigFlushes;
	}

	void ClearConfigRecords()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.ConfigWrites.Empty();
		Records.ConfigFlushes.Empty();
	}

	TArray<FResolutionRequest> GetResolutionRequests()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.ResolutionRequests;
	}

	void ClearResolutionRequests()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.ResolutionRequests.Empty();
	}

	void ApplyPendingResolutionChange()
	{
		StandInState::ApplyPendingResolutionChange();
	}

	TArray<FScalabilityApplication> GetScalabilityApplications()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.ScalabilityApplications;
	}

	void ClearScalabilityApplications()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.ScalabilityApplications.Empty();
	}

	void ResetQualityLevels()
	{
		StandInState::ResetQualityLevels();
	}

	void SetDynamicRHIName(const TCHAR* Name)
	{
		StandInState::SetDynamicRHIName(Name);
	}

	void RegisterModuleLibrary(const FName ModuleName, const FString& LibraryPath)
	{
		StandInState::RegisterModuleLibrary(ModuleName, LibraryPath);
	}

	void RegisterModuleFactory(const FName ModuleName, TFunction<IModuleInterface*()> Factory)
	{
		FModuleManager::Get().RegisterStaticallyLinkedModule(ModuleName, FInitializeStaticallyLinkedModule::CreateLambda(MoveTemp(Factory)));
	}

	TArray<FName> GetLoadedModules()
	{
		return StandInState::GetLoadedModules();
	}

	void ShutdownAllModules()
	{
		FModuleManager::Get().UnloadModulesAtShutdown();
	}

	void TickAllTickables(float DeltaSeconds, bool bIsPaused)
	{
		FTickableGameObject::TickObjects(nullptr, 0, bIsPaused, DeltaSeconds);
	}

	int32 GetNumTickables()
	{
		return StandInState::GetNumTickables();
	}

	void SetGameThreadToCurrent()
	{
		StandInState::SetGameThreadToCurrent();
	}

	void SetCommandLine(const TCHAR* CommandLine)
	{
		FCommandLine::Set(CommandLine);
	}

	void SetEngineVersionPatch(uint16 Patch)
	{
		StandInState::SetEngineVersionPatch(Patch);
	}

	void SetCpuProfilerRecording(bool bEnabled)
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.bCpuProfilerRecording = bEnabled;
	}

	TArray<FString> GetCpuProfilerScopes()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		return Records.CpuProfilerScopes;
	}

	void ClearCpuProfilerScopes()
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.CpuProfilerScopes.Empty();
	}

	FStatInfo GetStatInfo(TStatId StatId)
	{
		return StandInState::GetStatInfo(StatId);
	}

	int32 GetStatRegistrationCount(const FString& StatName)
	{
		return StandInState::GetStatRegistrationCount(StatName);
	}
}
