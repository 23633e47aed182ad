#include "Tickable.h"
#include "CoreGlobals.h"
#include "../Core/StandInState.h"

namespace
{
	/** Registered tickables in registration order; a removed entry becomes null until the next tick compacts. */
	struct FTickableRegistry
	{
		TArray<FTickableGameObject*> Objects;
		int32 TickDepth = 0;
	};

	FTickableRegistry& Registry()
	{
		static FTickableRegistry* Instance = new FTickableRegistry();
		return *Instance;
	}
}

FTickableGameObject::FTickableGameObject()
{
	Registry().Objects.Add(this);
}

FTickableGameObject::~FTickableGameObject()
{
	FTickableRegistry& Tickables = Registry();
	const int32 Index = Tickables.Objects.Find(this);
	if (Index != INDEX_NONE)
	{
		if (Tickables.TickDepth > 0)
		{
			Tickables.Objects[Index] = nullptr;
		}
		else
		{
			Tickables.Objects.RemoveAt(Index);
		}
	}
}

void FTickableGameObject::TickObjects(UWorld* World, int32 TickType, bool bIsPaused, float DeltaSeconds)
{
	(void)TickType;
	FTickableRegistry& Tickables = Registry();
	++Tickables.TickDepth;
	// Objects registered during this pass wait for the next one.
	const int32 NumAtStart = Tickables.Objects.Num();
	for (int32 Index = 0; Index < NumAtStart; ++Index)
	{
		FTickableGameObject* Object = Tickables.Objects[Index];
		if (!Object)
		{
			continue;
		}
		const ETickableTickType TickableType = Object->GetTickableTickType();
		if (TickableType == ETickableTickType::Never || (TickableType == ETickableTickType::Conditional && !Object->IsTickable()) || !Object->IsAllowedToTick())
		{
			continue;
		}
		if ((bIsPaused && !Object->IsTickableWhenPaused()) || (GIsEditor && !Object->IsTickableInEditor()))
		{
			continue;
		}
		UWorld* ObjectWorld = Object->GetTickableGameObjectWorld();
		if (World && ObjectWorld && ObjectWorld != World)
		{
			continue;
		}
		Object->Tick(DeltaSeconds);
	}
	if (--Tickables.TickDepth == 0)
	{
		Tickables.Objects.Remove(nullptr);
	}
}

namespace StandInState
{
	int32 GetNumTickables()
	{
		int32 Count = 0;
		for (const FTickableGameObject* Object : Registry().Objects)
		{
			Count += Object ? 1 : 0;
		}
		return Count;
	}
}
