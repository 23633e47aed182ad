#include "Misc/DateTime.h"
#include "HAL/PlatformTime.h"
#include "Misc/AssertionMacros.h"

namespace
{
	const int32 DaysPerMonth[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	const int32 DaysToMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
}

FDateTime::FDateTime(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond)
{
	check(Validate(Year, Month, Day, Hour, Minute, Second, Millisecond));

	int32 TotalDays = 0;
	if (Month > 2 && IsLeapYear(Year))
	{
		++TotalDays;
	}
	--Year;  // the current year is not a full year yet
	--Month; // the current month is not a full month yet
	TotalDays += Year * 365;
	TotalDays += Year / 4;   // leap year day every four years...
	TotalDays -= Year / 100; // ...except every 100 years...
	TotalDays += Year / 400; // ...but also every 400 years
	TotalDays += DaysToMonth[Month];
	TotalDays += Day - 1;

	Ticks = TotalDays * TicksPerDay + Hour * TicksPerHour + Minute * TicksPerMinute + Second * TicksPerSecond
		+ Millisecond * TicksPerMillisecond;
}

FDateTime FDateTime::GetDate() const
{
	return FDateTime(Ticks - (Ticks % TicksPerDay));
}

void FDateTime::GetDate(int32& OutYear, int32& OutMonth, int32& OutDay) const
{
	// Days since January 1, 0001 to a Gregorian date, through the Julian day number (Fliegel and Van Flandern).
	int32 I, J, K, L, N;
	L = static_cast<int32>(Ticks / TicksPerDay) + 1721426 + 68569; // 1721425.5 is the Julian day of January 1, 0001
	N = 4 * L / 146097;
	L = L - (146097 * N + 3) / 4;
	I = 4000 * (L + 1) / 1461001;
	L = L - 1461 * I / 4 + 31;
	J = 80 * L / 2447;
	K = L - 2447 * J / 80;
	L = J / 11;
	J = J + 2 - 12 * L;
	I = 100 * (N - 49) + I + L;
	OutYear = I;
	OutMonth = J;
	OutDay = K;
}

int32 FDateTime::GetDay() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Day;
}

EDayOfWeek FDateTime::GetDayOfWeek() const
{
	// January 1, 0001 was a Monday.
	return static_cast<EDayOfWeek>((Ticks / TicksPerDay) % 7);
}

int32 FDateTime::GetDayOfYear() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	for (int32 CurrentMonth = 1; CurrentMonth < Month; ++CurrentMonth)
	{
		Day += DaysInMonth(Year, CurrentMonth);
	}
	return Day;
}

int32 FDateTime::GetHour12() const
{
	const int32 Hour = GetHour();
	if (Hour < 1)
	{
		return 12;
	}
	if (Hour > 12)
	{
		return Hour - 12;
	}
	return Hour;
}

int32 FDateTime::GetMonth() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Month;
}

int32 FDateTime::GetYear() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Year;
}

FString FDateTime::ToString() const
{
	return ToString(TEXT("%Y.%m.%d-%H.%M.%S"));
}

FString FDateTime::ToString(const TCHAR* Format) const
{
	FString Result;
	if (Format == nullptr)
	{
		return Result;
	}
	while (*Format != TCHAR('\0'))
	{
		if (*Format == TCHAR('%'))
		{
			++Format;
			if (*Format == TCHAR('\0'))
			{
				// A '%' at the very end is kept (the engine reads past the terminator here).
				Result += TCHAR('%');
				break;
			}
			switch (*Format)
			{
			case TCHAR('a'): Result += IsMorning() ? TEXT("am") : TEXT("pm"); break;
			case TCHAR('A'): Result += IsMorning() ? TEXT("AM") : TEXT("PM"); break;
			case TCHAR('d'): Result += FString::Printf(TEXT("%02i"), GetDay()); break;
			case TCHAR('D'): Result += FString::Printf(TEXT("%03i"), GetDayOfYear()); break;
			case TCHAR('m'): Result += FString::Printf(TEXT("%02i"), GetMonth()); break;
			case TCHAR('y'): Result += FString::Printf(TEXT("%02i"), GetYear() % 100); break;
			case TCHAR('Y'): Result += FString::Printf(TEXT("%04i"), GetYear()); break;
			case TCHAR('h'): Result += FString::Printf(TEXT("%02i"), GetHour12()); break;
			case TCHAR('H'): Result += FString::Printf(TEXT("%02i"), GetHour()); break;
			case TCHAR('M'): Result += FString::Printf(TEXT("%02i"), GetMinute()); break;
			case TCHAR('S'): Result += FString::Printf(TEXT("%02i"), GetSecond()); break;
			case TCHAR('s'): Result += FString::Printf(TEXT("%03i"), GetMillisecond()); break;
			default: Result += *Format;
			}
		}
		else
		{
			Result += *Format;
		}
		++Format;
	}
	return Result;
}

FString FDateTime::ToIso8601() const
{
	return ToString(TEXT("%Y-%m-%dT%H:%M:%S.%sZ"));
}

int32 FDateTime::DaysInMonth(int32 Year, int32 Month)
{
	check(Month >= 1 && Month <= 12);
	if (Month == 2 && IsLeapYear(Year))
	{
		return 29;
	}
	return DaysPerMonth[Month];
}

int32 FDateTime::DaysInYear(int32 Year)
{
	return IsLeapYear(Year) ? 366 : 365;
}

bool FDateTime::IsLeapYear(int32 Year)
{
	if ((Year % 4) == 0)
	{
		return (Year % 100) != 0 || (Year % 400) == 0;
	}
	return false;
}

FDateTime FDateTime::Now()
{
	int32 Year, Month, Day, DayOfWeek;
	int32 Hour, Minute, Second, Millisecond;
	FPlatformTime::SystemTime(Year, Month, DayOfWeek, Day, Hour, Minute, Second, Millisecond);
	return FDateTime(Year, Month, Day, Hour, Minute, Second, Millisecond);
}

FDateTime FDateTime::UtcNow()
{
	int32 Year, Month, Day, DayOfWeek;
	int32 Hour, Minute, Second, Millisecond;
	FPlatformTime::UtcTime(Year, Month, DayOfWeek, Day, Hour, Minute, Second, Millisecond);
	return FDateTime(Year, Month, Day, Hour, Minute, Second, Millisecond);
}

bool FDateTime::Validate(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond)
{
	return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 && Day <= DaysInMonth(Year, Month)
		&& Hour >= 0 && Hour <= 23 && Minute >= 0 && Minute <= 59 && Second >= 0 && Second <= 59
		&& Millisecond >= 0 && Millisecond <= 999;
}
