#pragma once

#include "HAL/Platform.h"

/** The engine's copy of the process command line (executable name removed). */
struct CORE_API FCommandLine
{
	static const TCHAR* Get();
	static const TCHAR* GetOriginal();
	static bool IsInitialized();
	static bool Set(const TCHAR* NewCommandLine);
	static void Append(const TCHAR* AppendString);
};
