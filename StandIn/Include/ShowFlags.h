// FEngineShowFlags of the stand-in engine (module Engine): what a view family draws. The stand-in draws
// nothing, so the flags carry only how they were initialised.
#pragma once

#include "CoreMinimal.h"

enum EShowFlagInitMode
{
	ESFIM_Game,
	ESFIM_Editor,
	ESFIM_VREditing,
	ESFIM_All0
};

/** The engine's show flags (hundreds of bits in the engine); the stand-in keeps the init mode only. */
struct FEngineShowFlags
{
	explicit FEngineShowFlags(EShowFlagInitMode InInitMode)
		: InitMode(InInitMode)
	{
	}

private:
	EShowFlagInitMode InitMode;
};
