// The frame marker of a share object (module TextureShareCore, Private folder).
#pragma once

#include "CoreMinimal.h"

/** The frame a share object is handling: counted once per frame in which the object took part. */
struct FTextureShareCoreFrameMarker
{
	uint32 CustomFrameIndex1 = 0;
	uint64 CustomFrameIndex2 = 0;

	void NextFrame()
	{
		CustomFrameIndex1++;
		CustomFrameIndex2++;
	}
};
