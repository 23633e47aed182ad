// Public interface of the Korvat runtime module.
#pragma once

#include "CoreMinimal.h"
#include "IInputDeviceModule.h"
#include "Modules/ModuleManager.h"

/**
 * The runtime module that couples this Unreal process to the Korvat host. It is also the engine's factory
 * of the Korvat input device, which is why it is an input-device module.
 */
class IKorvatPlugin : public IInputDeviceModule
{
public:
	/** The loaded module; loads it if needed. Check IsAvailable first during shut-down. */
	static inline IKorvatPlugin& Get()
	{
		return FModuleManager::LoadModuleChecked<IKorvatPlugin>(TEXT("KorvatPlugin"));
	}

	/** True while the module is loaded. */
	static inline bool IsAvailable()
	{
		return FModuleManager::Get().IsModuleLoaded(TEXT("KorvatPlugin"));
	}
};
