// A share object of the stand-in TextureShare API (module TextureShare).
//
// GUESS: the engine declares its share-object interface in the TextureShare plug-in's Internal folder, which
// is not documented. The names here (ITextureShareObject, GetName, IsActive, GetFrameMarker,
// FTextureShareCoreObjectFrameMarker, FrameIndex) are plausible stand-ins, not the engine's confirmed API.
#pragma once

#include "CoreMinimal.h"

/** GUESS (see the file comment): the frame a share object is currently handling. */
struct FTextureShareCoreObjectFrameMarker
{
	/** The number of the frame, counted from 1 for the first frame the object took part in; 0 before that. */
	uint32 FrameIndex = 0;
};

/** GUESS (see the file comment): one share object as the TextureShare API sees it. */
class ITextureShareObject
{
public:
	virtual ~ITextureShareObject() = default;

	/** The share name (as given to UTextureShare::GetOrCreateTextureShareObject). */
	virtual const FString& GetName() const = 0;

	/** Whether the object takes part in the current frame. */
	virtual bool IsActive() const = 0;

	/** The frame the object is currently handling. */
	virtual const FTextureShareCoreObjectFrameMarker& GetFrameMarker() const = 0;
};
