#include "KorvatLaunchId.h"

#include "Platform/System.h"

#include <string>
#include <vector>

namespace Korvat
{

FString GuidToString(const UE4::GUID& Guid)
{
	return FString(UE4::Platform::FormatGuid(Guid).c_str());
}

UE4::GUID ToWindowsGuid(const FGuid& Guid)
{
	UE4::GUID Result;
	Result.Data1 = Guid.A;
	Result.Data2 = static_cast<uint16>(Guid.B >> 16);
	Result.Data3 = static_cast<uint16>(Guid.B & 0xFFFFu);
	for (int32 Index = 0; Index < 4; ++Index)
	{
		const int32 Shift = 24 - 8 * Index;
		Result.Data4[Index] = static_cast<uint8>(Guid.C >> Shift);
		Result.Data4[4 + Index] = static_cast<uint8>(Guid.D >> Shift);
	}
	return Result;
}

bool FindLaunchId(const FString& CommandLine, UE4::GUID& OutLaunchId)
{
	TArray<FString> Tokens;
	CommandLine.ParseIntoArrayWS(Tokens);

	const FString Switch(LaunchIdSwitch);
	const FString* LastSwitchToken = nullptr;
	for (const FString& Token : Tokens)
	{
		if (Token.Find(Switch, ESearchCase::IgnoreCase) == 0)
		{
			LastSwitchToken = &Token;
		}
	}
	if (LastSwitchToken == nullptr)
	{
		return false;
	}

	FGuid Parsed;
	OutLaunchId = FGuid::Parse(LastSwitchToken->Mid(Switch.Len()), Parsed) ? ToWindowsGuid(Parsed) : UE4::GUID{};
	return true;
}

UE4::GUID DetermineLaunchId(bool& bOutGenerated)
{
	// The system's narrow command line is in the ANSI code page; widen it with that code page, not byte by byte.
	const std::string Narrow = UE4::Platform::GetProcessCommandLine();
	FString CommandLine;
	const int32 Count = UE4::Platform::AnsiToWide(Narrow.data(), static_cast<int>(Narrow.size()), nullptr, 0);
	if (Count > 0)
	{
		std::vector<wchar_t> Wide(static_cast<size_t>(Count) + 1, L'\0');
		UE4::Platform::AnsiToWide(Narrow.data(), static_cast<int>(Narrow.size()), Wide.data(), Count);
		CommandLine = FString(Wide.data());
	}

	UE4::GUID LaunchId;
	if (FindLaunchId(CommandLine, LaunchId))
	{
		bOutGenerated = false;
		return LaunchId;
	}
	bOutGenerated = true;
	UE4::Platform::CreateGuid(LaunchId);
	return LaunchId;
}

} // namespace Korvat
