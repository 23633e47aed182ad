#include "HAL/PlatformTime.h"

#include <chrono>
#include <ctime>

namespace
{
	using FMonotonicClock = std::chrono::steady_clock;

	/** The counter counts nanoseconds of the steady clock. */
	constexpr double SecondsPerCycle = 1.0e-9;

	struct FBrokenDownTime
	{
		std::tm Fields{};
		int32 Milliseconds = 0;
	};

	FBrokenDownTime Now(bool bUtc)
	{
		const auto Point = std::chrono::system_clock::now();
		const std::time_t Seconds = std::chrono::system_clock::to_time_t(Point);
		FBrokenDownTime Result;
		Result.Milliseconds = static_cast<int32>(std::chrono::duration_cast<std::chrono::milliseconds>(Point.time_since_epoch()).count() % 1000);
		if (Result.Milliseconds < 0)
		{
			Result.Milliseconds += 1000;
		}
#if PLATFORM_WINDOWS
		bUtc ? gmtime_s(&Result.Fields, &Seconds) : localtime_s(&Result.Fields, &Seconds);
#else
		bUtc ? gmtime_r(&Seconds, &Result.Fields) : localtime_r(&Seconds, &Result.Fields);
#endif
		return Result;
	}

	void Split(const FBrokenDownTime& Time, int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec)
	{
		Year = Time.Fields.tm_year + 1900;
		Month = Time.Fields.tm_mon + 1;
		DayOfWeek = Time.Fields.tm_wday;
		Day = Time.Fields.tm_mday;
		Hour = Time.Fields.tm_hour;
		Min = Time.Fields.tm_min;
		Sec = Time.Fields.tm_sec;
		MSec = Time.Milliseconds;
	}
}

double FPlatformTime::InitTiming()
{
	return Seconds();
}

double FPlatformTime::Seconds()
{
	// Add big number to make bugs apparent where the return value is kept in a float.
	return static_cast<double>(Cycles64()) * SecondsPerCycle + 16777216.0;
}

uint32 FPlatformTime::Cycles()
{
	return static_cast<uint32>(Cycles64());
}

uint64 FPlatformTime::Cycles64()
{
	return static_cast<uint64>(std::chrono::duration_cast<std::chrono::nanoseconds>(FMonotonicClock::now().time_since_epoch()).count());
}

double FPlatformTime::GetSecondsPerCycle()
{
	return SecondsPerCycle;
}

double FPlatformTime::GetSecondsPerCycle64()
{
	return SecondsPerCycle;
}

void FPlatformTime::SystemTime(int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec)
{
	Split(Now(false), Year, Month, DayOfWeek, Day, Hour, Min, Sec, MSec);
}

void FPlatformTime::UtcTime(int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec)
{
	Split(Now(true), Year, Month, DayOfWeek, Day, Hour, Min, Sec, MSec);
}
