// UGameUserSettings of the stand-in engine (module Engine): the user's graphics settings.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "GameUserSettings.generated.h"

/**
 * The user's game settings. Setters change the pending values; ApplySettings applies them to the engine and
 * saves them to permanent storage. The stand-in applies the anti-aliasing quality to the engine's
 * scalability levels and records every ApplySettings call for tests (StandIn/Testing/EngineTesting.h).
 */
UCLASS(Config = GameUserSettings, ConfigDoNotCheckDefaults, MinimalAPI)
class ENGINE_API UGameUserSettings : public UObject
{
	GENERATED_BODY()

public:
	UGameUserSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Sets the anti-aliasing quality (0 low .. 4 cinematic; clamped). */
	UFUNCTION(BlueprintCallable, Category = Settings)
	void SetAntiAliasingQuality(int32 Value);

	/** The pending anti-aliasing quality. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	int32 GetAntiAliasingQuality() const;

	/** Applies all current user settings to the game and saves them to permanent storage. */
	UFUNCTION(BlueprintCallable, Category = Settings, meta = (bCheckForCommandLineOverrides = true))
	virtual void ApplySettings(bool bCheckForCommandLineOverrides);

	/** Saves the settings to permanent storage. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	virtual void SaveSettings();

private:
	int32 AntiAliasingQuality = 3;
};
