// The world subsystem of the stand-in TextureShare plug-in (module TextureShare).
#pragma once

#include "CoreMinimal.h"
#include "Subsystems/WorldSubsystem.h"
#include "Blueprints/TextureShareBlueprintContainers.h"
#include "TextureShareWorldSubsystem.generated.h"

/**
 * The TextureShare subsystem of a world: holds the world's UTextureShare, created when the subsystem is
 * initialised. Each tick makes the TextureShare API's share objects follow the enabled UTextureShareObjects.
 */
UCLASS(MinimalAPI)
class TEXTURESHARE_API UTextureShareWorldSubsystem : public UTickableWorldSubsystem
{
	GENERATED_BODY()

public:
	UTextureShareWorldSubsystem();

	/** The world's UTextureShare; null before the subsystem is initialised, and when the settings ask for no defaults. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare", meta = (DisplayName = "TextureShareAPI"))
	UTextureShare* GetTextureShare() const;

	//~ Begin USubsystem Interface
	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
	virtual void Deinitialize() override;
	//~ End USubsystem Interface

	//~ Begin FTickableGameObject Interface
	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;
	//~ End FTickableGameObject Interface

private:
	UPROPERTY(Transient)
	TObjectPtr<UTextureShare> TextureShare;
};
