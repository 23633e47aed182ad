// Test controls of the stand-in TextureShare plug-in: what its share objects delivered.
//
// The channel: each delivered frame of a share object rewrites the file <share name>.params in
// $KORVAT_TEXTURESHARE_DIR (default <system temporary folder>/korvat-textureshare), first line "frame <N>",
// then "<key>=<value>" per parameter in map order (backslash escapes for '\\', line breaks and '='). The file
// is removed when the share object goes away. Host/Simulator/ShareChannel.h reads it.
#pragma once

#include "CoreMinimal.h"

namespace TextureShareTesting
{
/** One frame delivered by one share object. */
struct FDelivery
{
	FString ShareName;
	uint32 Frame = 0;
	TArray<TPair<FString, FString>> Parameters;
};

/** Every delivery since the last Reset, oldest first. */
TEXTURESHARE_API TArray<FDelivery> GetDeliveries();

/** The channel folder deliveries go to now (it follows the environment variable). */
TEXTURESHARE_API FString GetChannelDirectory();

/** Forgets every share object of the API and every delivery, removing their channel files. */
TEXTURESHARE_API void Reset();
} // namespace TextureShareTesting
