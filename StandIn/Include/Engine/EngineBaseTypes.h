// Tick types of the stand-in engine (module Engine): tick groups, level tick kinds and the tick functions
// that actor components carry.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"

/** What a world tick updates. */
enum ELevelTick
{
	LEVELTICK_TimeOnly = 0,
	LEVELTICK_ViewportsOnly = 1,
	LEVELTICK_All = 2,
	LEVELTICK_PauseTick = 3,
};

/** The group of a tick function within a frame, in tick order. */
enum ETickingGroup : int
{
	TG_PrePhysics,
	TG_StartPhysics,
	TG_DuringPhysics,
	TG_EndPhysics,
	TG_PostPhysics,
	TG_PostUpdateWork,
	TG_LastDemotable,
	TG_NewlySpawned,
	TG_MAX,
};

/** The tick settings of one ticking object. */
struct FTickFunction
{
	/** The group this tick function runs in. */
	TEnumAsByte<enum ETickingGroup> TickGroup = TG_PrePhysics;
	/** The group this tick function ends in (the stand-in runs every tick function to completion in TickGroup). */
	TEnumAsByte<enum ETickingGroup> EndTickGroup = TG_PrePhysics;
	/** Whether the owner ticks when the game is paused. */
	uint8 bTickEvenWhenPaused : 1;
	/** Whether the owner can tick at all; checked when it registers. */
	uint8 bCanEverTick : 1;
	/** Whether ticking starts enabled. */
	uint8 bStartWithTickEnabled : 1;

	FTickFunction()
		: bTickEvenWhenPaused(false)
		, bCanEverTick(false)
		, bStartWithTickEnabled(true)
	{
	}
	virtual ~FTickFunction() = default;

	/** Enables or disables this tick function. */
	void SetTickFunctionEnable(bool bInEnabled) { bTickEnabled = bInEnabled; }
	/** Whether the tick function is enabled. */
	bool IsTickFunctionEnabled() const { return bTickEnabled; }

private:
	bool bTickEnabled = true;
};

/** The tick function of an actor component. */
struct FActorComponentTickFunction : public FTickFunction
{
	/** The component this tick function belongs to. */
	class UActorComponent* Target = nullptr;
};
