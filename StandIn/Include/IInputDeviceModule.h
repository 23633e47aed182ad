// The interface of modules that create input devices (module InputDevice). The engine asks every module
// registered as the modular feature "InputDevice" for its device when it initialises its input.
#pragma once

#include "CoreMinimal.h"
#include "Features/IModularFeature.h"
#include "Features/IModularFeatures.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

class FGenericApplicationMessageHandler;
class IInputDevice;

/** How the engine creates a device: for which user, and whether it is that user's primary device. */
struct FInputDeviceCreationParameters
{
	int32 InitialPlatformUserIndex = 0;
	bool bInitAsPrimaryDevice = false;
};

class IInputDeviceModule : public IModuleInterface, public IModularFeature
{
public:
	static FName GetModularFeatureName()
	{
		static FName FeatureName = FName(TEXT("InputDevice"));
		return FeatureName;
	}

	virtual void StartupModule() override
	{
		IModularFeatures::Get().RegisterModularFeature(GetModularFeatureName(), this);
	}

	static inline IInputDeviceModule& Get()
	{
		return FModuleManager::LoadModuleChecked<IInputDeviceModule>(TEXT("InputDevice"));
	}

	static inline bool IsAvailable()
	{
		return FModuleManager::Get().IsModuleLoaded(TEXT("InputDevice"));
	}

	/** Creates the module's device, which sends its events to InMessageHandler. */
	virtual TSharedPtr<IInputDevice> CreateInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) = 0;

	virtual TSharedPtr<IInputDevice> CreateInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler,
		FInputDeviceCreationParameters InParams)
	{
		return CreateInputDevice(InMessageHandler);
	}
};
