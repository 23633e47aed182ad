// The actor component that keeps its actor's transform in step with a transform node of the host.
#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "UObject/ObjectMacros.h"

#include "KorvatActorTransformSync.generated.h"

/**
 * Which way a transform travels between Unreal and Korvat. Stored as 32 bits, so it is not a Blueprint type
 * (the engine only allows byte-sized Blueprint enums); it is still editable in the details panel.
 */
UENUM()
enum class KorvatCommunicationDirection : int32
{
	/** Unreal publishes the actor's transform to Korvat. */
	ToKorvat = 0,
	/** Korvat's transform drives the actor. */
	FromKorvat = 1,
};

/**
 * Ties its actor's transform to a transform node of Korvat every frame, after physics: either the actor follows
 * the transform Korvat publishes under the node's name, or the actor's transform is published under that name.
 */
UCLASS(ClassGroup = "Korvat", meta = (BlueprintSpawnableComponent))
class KORVATPLUGIN_API UKorvatActorTransformSync : public UActorComponent
{
	GENERATED_BODY()

public:
	UKorvatActorTransformSync(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Direction of the data transfer */
	UPROPERTY(EditAnywhere, Category = "Korvat")
	KorvatCommunicationDirection syncDirection = KorvatCommunicationDirection::FromKorvat;

	/** Name of the Axis UE4 node in Korvat to sync with */
	UPROPERTY(EditAnywhere, Category = "Korvat")
	FString korvatAxisNodeName = TEXT("KorvatAxisNode");

	/** Only sync the transformation relative to the actor's parent */
	UPROPERTY(EditAnywhere, Category = "Korvat")
	bool relativeTransform = false;

	//~ Begin UActorComponent Interface
	virtual void BeginPlay() override;
	virtual void TickComponent(float DeltaTime, enum ELevelTick TickType, FActorComponentTickFunction* ThisTickFunction) override;
	//~ End UActorComponent Interface
};
