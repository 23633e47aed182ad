// The stand-in TextureShare API (module TextureShare).
//
// GUESS: the engine declares this interface in the TextureShare plug-in's Internal folder, which is not
// documented. The names here (ITextureShareAPI, GetObject, IsObjectExist) are plausible stand-ins, not the
// engine's confirmed API.
#pragma once

#include "CoreMinimal.h"
#include "ITextureShareObject.h"

/** GUESS (see the file comment): access to the share objects of this process by name. */
class ITextureShareAPI
{
public:
	virtual ~ITextureShareAPI() = default;

	/**
	 * The share object named ShareName (case insensitive), or null. An object exists from the first engine
	 * tick or rendered frame at which its UTextureShareObject (and that object's UTextureShare) is enabled,
	 * until the first one at which it is not.
	 */
	virtual TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> GetObject(const FString& ShareName) const = 0;

	/** Whether a share object named ShareName exists. */
	virtual bool IsObjectExist(const FString& ShareName) const = 0;
};
