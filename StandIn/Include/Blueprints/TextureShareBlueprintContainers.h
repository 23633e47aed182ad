// The UObject interface of the stand-in TextureShare plug-in (module TextureShare).
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Blueprints/TextureShareBlueprintContainersBase.h"
#include "TextureShareBlueprintContainers.generated.h"

/**
 * TextureShare UObject container: one named share object. While it is enabled (and its UTextureShare is),
 * every rendered frame advances its frame number and delivers its CustomData.SendParameters to the other
 * processes.
 */
UCLASS(Blueprintable)
class TEXTURESHARE_API UTextureShareObject : public UObject
{
	GENERATED_BODY()

public:
	UTextureShareObject(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Enable this texture share object. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	bool bEnable = false;

	/** Object description. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	FTextureShareObjectDesc Desc;

	/** Shared custom data. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	FTextureShareCustomData CustomData;

	/** Override CustomData SendParameters. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare")
	void SendCustomData(const TMap<FString, FString>& InSendParameters);

	/** Whether the object is enabled. */
	bool IsEnabled() const { return bEnable; }
};

/**
 * TextureShare UObject interface: the share objects of one world. A world's TextureShare subsystem creates
 * one only while the TextureShare setting "bCreateDefaults" (section "/Script/Plugins.TextureShare" of the
 * project's game configuration) is true, which it is unless configured otherwise; it starts with one object
 * named "DefaultShareName".
 */
UCLASS(Blueprintable)
class TEXTURESHARE_API UTextureShare : public UObject
{
	GENERATED_BODY()

public:
	UTextureShare(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Enable sharing for all objects. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	bool bEnable = true;

	/** Unique process name (optional). When empty, the default name is used. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	FString ProcessName;

	/** Objects for sharing. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	TArray<TObjectPtr<UTextureShareObject>> TextureShareObjects;

	/** Create new or get exist UTextureShare object. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare", meta = (DisplayName = "Get or Create TextureShare Object"))
	UTextureShareObject* GetOrCreateTextureShareObject(const FString& InShareName);

	/** Remove Texture Share Object; false when there is none of that name. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare", meta = (DisplayName = "Remove TextureShare Object"))
	bool RemoveTextureShareObject(const FString& InShareName);

	/** Return enabled UObject by name. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare", meta = (DisplayName = "Get TextureShare Object"))
	UTextureShareObject* GetTextureShareObject(const FString& InShareName) const;

	/** Get All TextureShare Objects. */
	UFUNCTION(BlueprintCallable, Category = "TextureShare", meta = (DisplayName = "Get All TextureShare Objects"))
	const TArray<UTextureShareObject*> GetTextureShareObjects() const;

	/** Return existing textureshare object names (duplicates are ignored). */
	TSet<FString> GetTextureShareObjectNames() const;

	/** Whether sharing is enabled. */
	bool IsEnabled() const { return bEnable; }
};
