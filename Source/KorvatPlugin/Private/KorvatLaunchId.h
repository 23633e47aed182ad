// The launch id: the GUID by which the host recognises the Unreal process it started.
#pragma once

#include "CoreMinimal.h"
#include "UE4ComCommon.h"

namespace Korvat
{

/** The switch with which the host names the instance: "-KorvatLaunchID=<guid>". */
inline constexpr const TCHAR* LaunchIdSwitch = TEXT("-KorvatLaunchID=");

/**
 * Finds the launch id in a command line. Tokens are separated by white space (quotes are not interpreted);
 * a token carries the switch when it starts with it, in any letter case; the last such token decides. Its
 * GUID text is parsed with the engine's GUID parser: the GUID on success, all zero on failure.
 * @return true when some token carried the switch; false when the command line names no launch id.
 */
bool FindLaunchId(const FString& CommandLine, Korvat::UE4::GUID& OutLaunchId);

/** A GUID as the system formats it, for people to read: braces, upper-case hexadecimal, 38 characters. */
FString GuidToString(const Korvat::UE4::GUID& Guid);

/** The engine GUID's four words in the Windows layout: A, high and low half of B, then C and D big-endian. */
Korvat::UE4::GUID ToWindowsGuid(const FGuid& Guid);

/**
 * The launch id of this process: from its command line (as the system gives it, in the ANSI code page),
 * or a new GUID when the host named none. bOutGenerated tells which.
 */
Korvat::UE4::GUID DetermineLaunchId(bool& bOutGenerated);

} // namespace Korvat
