// CPU profiler scopes. When scope recording is enabled (from the stand-in's test controls) each scope
// entered is recorded by name; otherwise a scope costs one flag test.
#pragma once

#include "HAL/Platform.h"

struct FCpuProfilerTrace
{
	/** Marks one named scope for as long as it lives. */
	class FEventScope
	{
	public:
		FORCEINLINE explicit FEventScope(const ANSICHAR* InEventName)
		{
			if (IsRecording())
			{
				OutputBeginEvent(InEventName);
			}
		}

		FORCEINLINE explicit FEventScope(const TCHAR* InEventName)
		{
			if (IsRecording())
			{
				OutputBeginEvent(InEventName);
			}
		}

		FEventScope(const FEventScope&) = delete;
		FEventScope& operator=(const FEventScope&) = delete;
	};

	static CORE_API bool IsRecording();
	static CORE_API void OutputBeginEvent(const ANSICHAR* Name);
	static CORE_API void OutputBeginEvent(const TCHAR* Name);
};

#define TRACE_CPUPROFILER_EVENT_SCOPE(NameStr) FCpuProfilerTrace::FEventScope PREPROCESSOR_JOIN(__CpuProfilerEventScope, __LINE__)(#NameStr);
#define TRACE_CPUPROFILER_EVENT_SCOPE_STR(NameStr) FCpuProfilerTrace::FEventScope PREPROCESSOR_JOIN(__CpuProfilerEventScope, __LINE__)(NameStr);
#define TRACE_CPUPROFILER_EVENT_SCOPE_TEXT(Name) FCpuProfilerTrace::FEventScope PREPROCESSOR_JOIN(__CpuProfilerEventScope, __LINE__)(Name);
#define SCOPED_NAMED_EVENT(Name, Color) TRACE_CPUPROFILER_EVENT_SCOPE(Name)
