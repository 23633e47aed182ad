// A share object of the stand-in TextureShare API (module TextureShare, Private folder, as in the engine).
#pragma once

#include "CoreMinimal.h"
#include "Containers/TextureShareCoreContainers.h"

/** One share object as the TextureShare API sees it. */
class ITextureShareObject
{
public:
	virtual ~ITextureShareObject() = default;

	/** The share name (as given to UTextureShare::GetOrCreateTextureShareObject). */
	virtual const FString& GetName() const = 0;

	/** Whether the object takes part in the current frame. */
	virtual bool IsActive() const = 0;

	/** What this process shares through the object, with the marker of the frame it is handling. */
	virtual const FTextureShareCoreData& GetCoreData() const = 0;
};
