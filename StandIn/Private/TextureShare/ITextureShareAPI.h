// The TextureShare API of the stand-in engine (module TextureShare, a header of the module's Private
// folder, as in the engine: outside modules reach it only by adding that folder to their include paths).
#pragma once

#include "CoreMinimal.h"
#include "ITextureShareObject.h"

/** Access to the share objects of this process by name. */
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

	/** Whether a share object named ShareName (case insensitive) exists. */
	virtual bool IsObjectExist(const FString& ShareName) const = 0;
};
