#include "CoreGlobals.h"
#include "Misc/ConfigCacheIni.h"
#include "Delegates/IDelegateInstance.h"
#include "Misc/CoreDelegates.h"
#include "StandInState.h"

#include <atomic>
#include <functional>
#include <thread>

namespace
{
	uint32 CurrentThreadId()
	{
		return static_cast<uint32>(std::hash<std::thread::id>()(std::this_thread::get_id()));
	}

	FConfigCacheIni& ConfigCache()
	{
		static FConfigCacheIni* Cache = new FConfigCacheIni(EConfigCacheType::Temporary);
		return *Cache;
	}

	bool GIsRequestingExitFlag = false;
}

FConfigCacheIni* GConfig = &ConfigCache();
FString GEngineIni(TEXT("Engine"));
FString GGameIni(TEXT("Game"));
FString GGameUserSettingsIni(TEXT("GameUserSettings"));
FString GEditorPerProjectIni(TEXT("EditorPerProjectUserSettings"));
bool GIsEditor = false;
bool GIsPlayInEditorWorld = false;
bool GIsRunning = false;
uint64 GFrameCounter = 0;
// The engine library is loaded by the main thread, which is the game thread.
uint32 GGameThreadId = CurrentThreadId();

bool IsInGameThread()
{
	return CurrentThreadId() == GGameThreadId;
}

bool IsEngineExitRequested()
{
	return GIsRequestingExitFlag;
}

void RequestEngineExit(const TCHAR* ReasonString)
{
	UE_LOG(LogTemp, Log, TEXT("Engine exit requested (reason: %s)"), ReasonString ? ReasonString : TEXT(""));
	GIsRequestingExitFlag = true;
}

uint64 FDelegateHandle::GenerateNewID()
{
	static std::atomic<uint64> NextID{1};
	uint64 Result = NextID++;
	if (Result == 0)
	{
		Result = NextID++; // zero means "unset"
	}
	return Result;
}

FSimpleMulticastDelegate FCoreDelegates::OnBeginFrame;
FSimpleMulticastDelegate FCoreDelegates::OnEndFrame;
FSimpleMulticastDelegate FCoreDelegates::OnBeginFrameRT;
FSimpleMulticastDelegate FCoreDelegates::OnEndFrameRT;
FSimpleMulticastDelegate FCoreDelegates::OnEnginePreExit;
FSimpleMulticastDelegate FCoreDelegates::OnPreExit;
FSimpleMulticastDelegate FCoreDelegates::OnExit;
FSimpleMulticastDelegate FCoreDelegates::OnPostEngineInit;
FSimpleMulticastDelegate FCoreDelegates::OnFEngineLoopInitComplete;

namespace StandInState
{
	FRecords& Records()
	{
		static FRecords* Instance = new FRecords();
		return *Instance;
	}

	void SetGameThreadToCurrent()
	{
		GGameThreadId = CurrentThreadId();
	}
}
