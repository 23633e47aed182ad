// UEditorPerformanceSettings of the stand-in editor (module UnrealEd): the editor's performance options.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Engine/DeveloperSettings.h"
#include "EditorPerformanceSettings.generated.h"

/**
 * The editor's performance settings, read and changed through the class default object
 * (GetMutableDefault<UEditorPerformanceSettings>()). Each PostEditChangeProperty notification is recorded for
 * tests (StandIn/Testing/EngineTesting.h); SaveConfig writes the config properties to the configuration system.
 */
UCLASS(MinimalAPI, Config = EditorPerProjectUserSettings, meta = (DisplayName = "Performance", ToolTip = "Settings to tweak the performance of the editor"))
class UNREALED_API UEditorPerformanceSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UEditorPerformanceSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** When turned on, the editor uses less CPU while it is not the foreground application. */
	UPROPERTY(EditAnywhere, Config, Category = EditorPerformance, meta = (DisplayName = "Use Less CPU when in Background"))
	uint32 bThrottleCPUWhenNotForeground : 1;

	//~ Begin UObject Interface
#if WITH_EDITOR
	virtual void PostEditChangeProperty(struct FPropertyChangedEvent& PropertyChangedEvent) override;
#endif
	//~ End UObject Interface
};
