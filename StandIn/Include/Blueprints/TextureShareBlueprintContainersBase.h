// Data containers of the stand-in TextureShare plug-in (module TextureShare).
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "TextureShareBlueprintContainersBase.generated.h"

/** Custom data for sharing. */
USTRUCT(BlueprintType)
struct FTextureShareCustomData
{
	GENERATED_BODY()

	/** Parameters to send to the other processes. They are delivered with the next rendered frame. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	TMap<FString, FString> SendParameters;

	/** Parameters received from the other processes. Updated every frame tick. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	TMap<FString, FString> ReceivedParameters;
};

/** Object descriptor. */
USTRUCT(BlueprintType)
struct FTextureShareObjectDesc
{
	GENERATED_BODY()

	/** Unique share name (case insensitive). When empty, the default name is used. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "TextureShare")
	FString ShareName;

	/** The share name in effect: ShareName, or "DefaultShareName" when it is empty. */
	TEXTURESHARE_API FString GetTextureShareObjectName() const;
};
