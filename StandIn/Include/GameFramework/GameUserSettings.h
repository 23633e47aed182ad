// UGameUserSettings of the stand-in engine (module Engine): the user's graphics settings.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "GenericPlatform/GenericWindowDefinition.h"
#include "Math/IntPoint.h"
#include "Scalability.h"
#include "GameUserSettings.generated.h"

/**
 * The user's game settings, loaded when the engine creates the object. Setters change the pending values;
 * ApplySettings applies all of them to the engine (the saved resolution and window mode, then everything
 * else, the scalability levels included) and saves them to permanent storage, as the engine does. The
 * stand-in records every apply call for tests (StandIn/Testing/EngineTesting.h).
 */
UCLASS(Config = GameUserSettings, ConfigDoNotCheckDefaults, MinimalAPI)
class ENGINE_API UGameUserSettings : public UObject
{
	GENERATED_BODY()

public:
	UGameUserSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Sets the anti-aliasing quality (0 low .. 4 cinematic; clamped). Takes effect when applied. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	void SetAntiAliasingQuality(int32 Value);

	/** The pending anti-aliasing quality. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	int32 GetAntiAliasingQuality() const;

	/** The pending screen resolution. */
	FIntPoint GetScreenResolution() const;

	/** Sets the pending screen resolution. */
	void SetScreenResolution(FIntPoint Resolution);

	/** The pending window mode. */
	EWindowMode::Type GetFullscreenMode() const;

	/** Applies all current user settings to the game and saves them to permanent storage. */
	UFUNCTION(BlueprintCallable, Category = Settings, meta = (bCheckForCommandLineOverrides = true))
	virtual void ApplySettings(bool bCheckForCommandLineOverrides);

	/** Requests the pending resolution and window mode. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	void ApplyResolutionSettings(bool bCheckForCommandLineOverrides);

	/** Applies every pending setting but the resolution: the scalability levels among them. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	virtual void ApplyNonResolutionSettings();

	/** Loads the settings; the scalability levels are those in force (loaded by the engine at start-up). */
	virtual void LoadSettings(bool bForceReload = false);

	/** Saves the settings (and the scalability levels in force) to permanent storage. */
	UFUNCTION(BlueprintCallable, Category = Settings)
	virtual void SaveSettings();

protected:
	/** The user's scalability levels. */
	Scalability::FQualityLevels ScalabilityQuality;

	uint32 ResolutionSizeX = 1280;

	uint32 ResolutionSizeY = 720;

	int32 FullscreenMode = 2;
};
