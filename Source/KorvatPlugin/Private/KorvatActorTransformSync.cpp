#include "KorvatActorTransformSync.h"

#include "Components/SceneComponent.h"
#include "GameFramework/Actor.h"
#include "KorvatNameHash.h"
#include "KorvatPluginLog.h"
#include "KorvatPluginModule.h"

namespace KorvatActorTransformSync
{
/** The world transform of Actor's root component; the identity without one. */
FTransform RootWorldTransform(const AActor& Actor)
{
	const USceneComponent* Root = Actor.GetRootComponent();
	return Root != nullptr ? Root->GetComponentTransform() : FTransform::Identity;
}

/** Moves Actor to the host's transform of ValueId, in the world or relative to its attach parent. */
void ApplyHostTransform(const FKorvatPlugin& Module, AActor& Actor, uint32 ValueId, const FString& NodeName, bool bRelative)
{
	bool bAvailable = false;
	const FTransform HostTransform = Module.GetTransformValue(ValueId, bAvailable);
	if (!bAvailable)
	{
		return;
	}
	// The host's matrix is outside data: a non-finite one would carry the actor and everything attached to it
	// off to NaN.
	if (HostTransform.ContainsNaN())
	{
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Korvat node '%s' holds a transform that is not finite; '%s' keeps its transform."),
			*NodeName, *Actor.GetName());
		return;
	}
	if (bRelative)
	{
		Actor.SetActorRelativeTransform(HostTransform, false, nullptr, ETeleportType::None);
	}
	else
	{
		Actor.SetActorTransform(HostTransform, false, nullptr, ETeleportType::None);
	}
}

/** Publishes Actor's transform under ValueId: its world transform, or the one relative to its parent actor's root. */
void SendActorTransform(FKorvatPlugin& Module, const AActor& Actor, uint32 ValueId, bool bRelative)
{
	FTransform ActorTransform = RootWorldTransform(Actor);
	if (bRelative)
	{
		if (const AActor* Parent = Actor.GetAttachParentActor())
		{
			ActorTransform = ActorTransform.GetRelativeTransform(RootWorldTransform(*Parent));
		}
	}
	Module.SendTransformValue(ValueId, ActorTransform);
}
} // namespace KorvatActorTransformSync

UKorvatActorTransformSync::UKorvatActorTransformSync(const FObjectInitializer& ObjectInitializer)
	: UActorComponent(ObjectInitializer)
{
	PrimaryComponentTick.bCanEverTick = true;
}

void UKorvatActorTransformSync::BeginPlay()
{
	Super::BeginPlay();
	// After physics: the host's transform is not overwritten by this frame's simulation, and the transform sent is
	// where the simulation left the actor.
	SetTickGroup(TG_PostPhysics);
}

void UKorvatActorTransformSync::TickComponent(float DeltaTime, ELevelTick TickType, FActorComponentTickFunction* ThisTickFunction)
{
	Super::TickComponent(DeltaTime, TickType, ThisTickFunction);

	AActor* Owner = GetOwner();
	FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	if (Owner == nullptr || Module == nullptr)
	{
		return;
	}
	// Recomputed every tick: the name may be edited while the game runs.
	const uint32 ValueId = KorvatNameHash::ValueIdOfName(korvatAxisNodeName);
	switch (syncDirection)
	{
	case KorvatCommunicationDirection::FromKorvat:
		KorvatActorTransformSync::ApplyHostTransform(*Module, *Owner, ValueId, korvatAxisNodeName, relativeTransform);
		break;
	case KorvatCommunicationDirection::ToKorvat:
		KorvatActorTransformSync::SendActorTransform(*Module, *Owner, ValueId, relativeTransform);
		break;
	}
}
