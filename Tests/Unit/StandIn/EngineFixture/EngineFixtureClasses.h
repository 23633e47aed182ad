// Classes the engine tests derive from the stand-in's engine classes, as a plug-in does: a ticking component
// that records its calls and a local player subclass found by its script path.
#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Engine/LocalPlayer.h"
#include "EngineFixtureClasses.generated.h"

/** Records BeginPlay and every tick it receives. */
UCLASS()
class ENGINEFIXTURE_API UEngineFixtureTickingComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	UEngineFixtureTickingComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	virtual void BeginPlay() override;
	virtual void TickComponent(float DeltaTime, enum ELevelTick TickType, FActorComponentTickFunction* ThisTickFunction) override;

	int32 BeginPlayCount = 0;
	TArray<float> TickDeltas;
	/** Shared log of ticks across components, to see the order. */
	TArray<FString>* TickLog = nullptr;
};

/** A local player class of its own, resolved from "/Script/EngineFixture.EngineFixtureLocalPlayer". */
UCLASS()
class ENGINEFIXTURE_API UEngineFixtureLocalPlayer : public ULocalPlayer
{
	GENERATED_BODY()

public:
	UEngineFixtureLocalPlayer(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
