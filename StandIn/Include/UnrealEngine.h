#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"

/** The resolution and window mode the engine runs at. */
struct FSystemResolution
{
	int32 ResX;
	int32 ResY;
	EWindowMode::Type WindowMode;
	bool bForceRefresh;

	FSystemResolution()
		: ResX(0)
		, ResY(0)
		, WindowMode(EWindowMode::Windowed)
		, bForceRefresh(false)
	{
	}

	/** Asks for a resolution change; it takes effect later, when the console variable sinks run. */
	static ENGINE_API void RequestResolutionChange(int32 InResX, int32 InResY, EWindowMode::Type InWindowMode);
	static ENGINE_API void ForceRefresh();
};

extern ENGINE_API FSystemResolution GSystemResolution;
