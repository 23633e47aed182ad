// The process-wide state of the stand-in TextureShare plug-in: the world subsystems, the API's share objects,
// the per-frame delivery and its record for tests. Internal to the stand-in library.
#pragma once

#include "CoreMinimal.h"
#include "ITextureShareAPI.h"

class UTextureShareWorldSubsystem;

namespace TextureShareState
{
/** One frame delivered by one share object. */
struct FDelivery
{
	FString ShareName;
	uint32 Frame = 0;
	TArray<TPair<FString, FString>> Parameters;
};

void AddSubsystem(UTextureShareWorldSubsystem* Subsystem);
void RemoveSubsystem(UTextureShareWorldSubsystem* Subsystem);

/** Makes the API's share objects follow the enabled UTextureShareObjects of all subsystems. */
void SyncObjects();

/**
 * Renders one frame: SyncObjects, then every share object advances its frame number and, when its
 * SendParameters are not empty, delivers them (channel file and record) and empties the map.
 */
void RenderFrame();

ITextureShareAPI& GetAPI();

TArray<FDelivery>& GetDeliveries();

/** Forgets every share object of the API and every delivery (their channel files are removed); the
 *  subsystems stay, so enabled objects come back with frame numbers from 0. */
void Reset();
} // namespace TextureShareState
