// FDateTime: a date and time as 100-nanosecond ticks since midnight, January 1, 0001 (proleptic Gregorian
// calendar), at millisecond resolution from Now() and UtcNow().
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"

/** Days of the week in 7-day calendars. */
enum class EDayOfWeek
{
	Monday = 0,
	Tuesday,
	Wednesday,
	Thursday,
	Friday,
	Saturday,
	Sunday
};

/** Months of the year in 12-month calendars. */
enum class EMonthOfYear : uint8
{
	January = 1,
	February,
	March,
	April,
	May,
	June,
	July,
	August,
	September,
	October,
	November,
	December
};

struct FDateTime
{
public:
	FDateTime() {}
	FDateTime(int64 InTicks)
		: Ticks(InTicks)
	{
	}
	/** The components must make a valid date (see Validate). */
	CORE_API FDateTime(int32 Year, int32 Month, int32 Day, int32 Hour = 0, int32 Minute = 0, int32 Second = 0, int32 Millisecond = 0);

	bool operator==(const FDateTime& Other) const { return Ticks == Other.Ticks; }
	bool operator!=(const FDateTime& Other) const { return Ticks != Other.Ticks; }
	bool operator>(const FDateTime& Other) const { return Ticks > Other.Ticks; }
	bool operator>=(const FDateTime& Other) const { return Ticks >= Other.Ticks; }
	bool operator<(const FDateTime& Other) const { return Ticks < Other.Ticks; }
	bool operator<=(const FDateTime& Other) const { return Ticks <= Other.Ticks; }

	/** The date alone (time of day zero). */
	CORE_API FDateTime GetDate() const;
	CORE_API void GetDate(int32& OutYear, int32& OutMonth, int32& OutDay) const;
	CORE_API int32 GetDay() const;
	CORE_API EDayOfWeek GetDayOfWeek() const;
	CORE_API int32 GetDayOfYear() const;
	int32 GetHour() const { return static_cast<int32>((Ticks / TicksPerHour) % 24); }
	/** 12-hour clock: 12 for midnight and noon. */
	CORE_API int32 GetHour12() const;
	int32 GetMillisecond() const { return static_cast<int32>((Ticks / TicksPerMillisecond) % 1000); }
	int32 GetMinute() const { return static_cast<int32>((Ticks / TicksPerMinute) % 60); }
	CORE_API int32 GetMonth() const;
	EMonthOfYear GetMonthOfYear() const { return static_cast<EMonthOfYear>(GetMonth()); }
	int32 GetSecond() const { return static_cast<int32>((Ticks / TicksPerSecond) % 60); }
	int64 GetTicks() const { return Ticks; }
	CORE_API int32 GetYear() const;
	bool IsAfternoon() const { return GetHour() >= 12; }
	bool IsMorning() const { return GetHour() < 12; }

	/** "%Y.%m.%d-%H.%M.%S", e.g. 2025.03.14-09.26.53. */
	CORE_API FString ToString() const;
	/**
	 * %a am/pm, %A AM/PM, %d day (01-31), %D day of the year (001-366), %m month (01-12), %y year (00-99), %Y year
	 * (4 digits), %h hour (01-12), %H hour (00-23), %M minute, %S second, %s millisecond (000-999); '%' before any
	 * other character writes that character.
	 */
	CORE_API FString ToString(const TCHAR* Format) const;
	/** "%Y-%m-%dT%H:%M:%S.%sZ" (the value is not converted to UTC). */
	CORE_API FString ToIso8601() const;

	static CORE_API int32 DaysInMonth(int32 Year, int32 Month);
	static CORE_API int32 DaysInYear(int32 Year);
	static CORE_API bool IsLeapYear(int32 Year);
	static FDateTime MaxValue() { return FDateTime(3652059 * TicksPerDay - 1); }
	static FDateTime MinValue() { return FDateTime(0); }
	/** The local date and time. */
	static CORE_API FDateTime Now();
	/** The date and time in UTC. */
	static CORE_API FDateTime UtcNow();
	static CORE_API bool Validate(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond);

private:
	static constexpr int64 TicksPerMillisecond = 10000;
	static constexpr int64 TicksPerSecond = 10000000;
	static constexpr int64 TicksPerMinute = 600000000;
	static constexpr int64 TicksPerHour = 36000000000;
	static constexpr int64 TicksPerDay = 864000000000;

	int64 Ticks = 0;
};
