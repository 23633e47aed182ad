// The module interface of the stand-in TextureShare plug-in (module TextureShare).
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

class ITextureShareAPI;

/** TextureShare module public API. */
class ITextureShare : public IModuleInterface
{
public:
	static constexpr auto ModuleName = TEXT("TextureShare");

	/** The module, loaded if necessary (fatal when it cannot be). */
	static ITextureShare& Get()
	{
		return FModuleManager::LoadModuleChecked<ITextureShare>(ModuleName);
	}

	/** Whether the module is loaded. */
	static bool IsAvailable()
	{
		return FModuleManager::Get().IsModuleLoaded(ModuleName);
	}

	/** The TextureShare API. */
	virtual ITextureShareAPI& GetTextureShareAPI() = 0;
};
