// UDeveloperSettings of the stand-in engine (module DeveloperSettings): the base of settings classes shown in
// the project and editor settings.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "DeveloperSettings.generated.h"

#ifndef DEVELOPERSETTINGS_API
	#define DEVELOPERSETTINGS_API STANDIN_ENGINE_API
#endif

/** A settings object whose class default object holds the settings, loaded from and saved to its config. */
UCLASS(Abstract, MinimalAPI)
class DEVELOPERSETTINGS_API UDeveloperSettings : public UObject
{
	GENERATED_BODY()

public:
	UDeveloperSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The settings container the class is shown in ("Project" or "Editor"). */
	virtual FName GetContainerName() const;

	/** The category the class is shown in. */
	virtual FName GetCategoryName() const;
};
