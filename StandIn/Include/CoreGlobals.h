#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Logging/LogMacros.h"

class FConfigCacheIni;
class FOutputDeviceRedirector;

/** The global log (created on first use); GLog is how the engine spells it. */
CORE_API FOutputDeviceRedirector* GetGlobalLogSingleton();
#define GLog GetGlobalLogSingleton()

/** The engine configuration cache (never null in the stand-in). */
extern CORE_API FConfigCacheIni* GConfig;
/** Name of the engine configuration file ("Engine"). */
extern CORE_API FString GEngineIni;
extern CORE_API FString GGameIni;
extern CORE_API FString GGameUserSettingsIni;
extern CORE_API FString GEditorPerProjectIni;

/** True when running the editor (false for a game). */
extern CORE_API bool GIsEditor;
/** Whether GWorld points to the play-in-editor world. */
extern CORE_API bool GIsPlayInEditorWorld;
extern CORE_API bool GIsRunning;
extern CORE_API uint64 GFrameCounter;
extern CORE_API uint32 GGameThreadId;

/** True on the game thread (the thread that loaded the engine, unless tests moved it). */
CORE_API bool IsInGameThread();
CORE_API bool IsEngineExitRequested();
CORE_API void RequestEngineExit(const TCHAR* ReasonString);
