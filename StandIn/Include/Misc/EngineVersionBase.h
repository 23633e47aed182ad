#pragma once

#include "HAL/Platform.h"

/** Components of a version, in increasing detail. */
enum class EVersionComponent
{
	Major,
	Minor,
	Patch,
	Changelist,
	Branch,
};

class FEngineVersionBase
{
public:
	FEngineVersionBase()
		: Major(0), Minor(0), Patch(0), Changelist(0)
	{
	}

	FEngineVersionBase(uint16 InMajor, uint16 InMinor, uint16 InPatch = 0, uint32 InChangelist = 0)
		: Major(InMajor), Minor(InMinor), Patch(InPatch), Changelist(InChangelist)
	{
	}

	FORCEINLINE uint16 GetMajor() const { return Major; }
	FORCEINLINE uint16 GetMinor() const { return Minor; }
	FORCEINLINE uint16 GetPatch() const { return Patch; }
	FORCEINLINE uint32 GetChangelist() const { return Changelist & 0x7fffffffu; }
	FORCEINLINE bool IsLicenseeVersion() const { return (Changelist & 0x80000000u) != 0; }
	FORCEINLINE bool IsEmpty() const { return Major == 0 && Minor == 0 && Patch == 0; }
	FORCEINLINE bool HasChangelist() const { return GetChangelist() != 0; }

protected:
	uint16 Major;
	uint16 Minor;
	uint16 Patch;
	uint32 Changelist;
};
