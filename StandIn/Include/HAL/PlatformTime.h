// FPlatformTime: the monotonic high-resolution clock and the wall clock of the platform.
#pragma once

#include "HAL/Platform.h"

struct FPlatformTime
{
	/** Starts the clock; called on first use, returns Seconds(). */
	static CORE_API double InitTiming();

	/**
	 * Monotonic seconds. Like the engine, a large constant (2^24) is added so that code keeping the value in a float
	 * shows its loss of precision at once.
	 */
	static CORE_API double Seconds();
	/** The monotonic counter (truncated to 32 bits). */
	static CORE_API uint32 Cycles();
	/** The monotonic counter. */
	static CORE_API uint64 Cycles64();

	static CORE_API double GetSecondsPerCycle();
	static CORE_API double GetSecondsPerCycle64();

	static float ToMilliseconds(const uint32 Cycles) { return static_cast<float>(GetSecondsPerCycle() * 1000.0 * Cycles); }
	static float ToSeconds(const uint32 Cycles) { return static_cast<float>(GetSecondsPerCycle() * Cycles); }
	static double ToMilliseconds64(const uint64 Cycles) { return ToSeconds64(Cycles) * 1000.0; }
	static double ToSeconds64(const uint64 Cycles) { return GetSecondsPerCycle64() * static_cast<double>(Cycles); }

	/** Local time (DayOfWeek: 0 is Sunday). */
	static CORE_API void SystemTime(int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec);
	/** Coordinated universal time (DayOfWeek: 0 is Sunday). */
	static CORE_API void UtcTime(int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec);
};
