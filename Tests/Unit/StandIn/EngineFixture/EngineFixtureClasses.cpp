#include "EngineFixtureClasses.h"

UEngineFixtureTickingComponent::UEngineFixtureTickingComponent(const FObjectInitializer& ObjectInitializer)
	: UActorComponent(ObjectInitializer)
{
	PrimaryComponentTick.bCanEverTick = true;
}

void UEngineFixtureTickingComponent::BeginPlay()
{
	Super::BeginPlay();
	BeginPlayCount += 1;
}

void UEngineFixtureTickingComponent::TickComponent(float DeltaTime, ELevelTick TickType, FActorComponentTickFunction* ThisTickFunction)
{
	Super::TickComponent(DeltaTime, TickType, ThisTickFunction);
	TickDeltas.Add(DeltaTime);
	if (TickLog != nullptr)
	{
		TickLog->Add(GetName());
	}
}

UEngineFixtureLocalPlayer::UEngineFixtureLocalPlayer(const FObjectInitializer& ObjectInitializer)
	: ULocalPlayer(ObjectInitializer)
{
}
