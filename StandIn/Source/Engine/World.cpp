#include "Engine/World.h"

#include "Engine/Engine.h"
#include "GameFramework/Actor.h"
#include "GameFramework/PlayerController.h"
#include "Components/ActorComponent.h"
#include "UObject/UObjectHash.h"
#include "UObject/Package.h"

UWorldProxy GWorld;
FWorldDelegates::FWorldEvent FWorldDelegates::OnPostWorldCreation;
FWorldDelegates::FWorldEvent FWorldDelegates::OnPreWorldFinishDestroy;

UWorld::UWorld(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, WorldType(EWorldType::None)
{
}

UWorld* UWorld::CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName, UPackage* InWorldPackage, bool bAddToRoot)
{
	UObject* Outer = InWorldPackage != nullptr ? static_cast<UObject*>(InWorldPackage) : GetTransientPackageAsObject();
	UWorld* NewWorld = NewObject<UWorld>(Outer, UWorld::StaticClass(), WorldName);
	NewWorld->WorldType = InWorldType;
	if (bAddToRoot)
	{
		NewWorld->AddToRoot();
	}
	// Initialising a world creates its subsystems; the creation notification follows.
	NewWorld->SubsystemCollection.Initialize(NewWorld);
	for (UWorldSubsystem* Subsystem : NewWorld->GetSubsystemArrayCopy<UWorldSubsystem>())
	{
		Subsystem->PostInitialize();
	}
	if (bInformEngineOfWorld && GEngine != nullptr)
	{
		GEngine->CreateNewWorldContext(InWorldType).SetCurrentWorld(NewWorld);
		GEngine->WorldAdded(NewWorld);
	}
	FWorldDelegates::OnPostWorldCreation.Broadcast(NewWorld);
	return NewWorld;
}

void UWorld::DestroyWorld(bool bInformEngineOfWorld, UWorld* NewWorld)
{
	if (bTornDown)
	{
		return;
	}
	bTornDown = true;
	FWorldDelegates::OnPreWorldFinishDestroy.Broadcast(this);
	const TArray<AActor*> ActorsToDestroy = Actors;
	for (int32 Index = ActorsToDestroy.Num() - 1; Index >= 0; --Index)
	{
		DestroyActor(ActorsToDestroy[Index]);
	}
	SubsystemCollection.Deinitialize();
	if (GWorld == this)
	{
		GWorld = NewWorld;
	}
	if (bInformEngineOfWorld && GEngine != nullptr)
	{
		GEngine->WorldDestroyed(this);
		GEngine->DestroyWorldContext(this);
	}
	RemoveFromRoot();
	MarkAsGarbage();
}

bool UWorld::IsGameWorld() const
{
	return WorldType == EWorldType::Game || WorldType == EWorldType::PIE || WorldType == EWorldType::GamePreview ||
		WorldType == EWorldType::GameRPC;
}

void UWorld::BeginPlay()
{
	if (bBegunPlay || bTornDown)
	{
		return;
	}
	bBegunPlay = true;
	for (UWorldSubsystem* Subsystem : GetSubsystemArrayCopy<UWorldSubsystem>())
	{
		Subsystem->OnWorldBeginPlay(*this);
	}
	const TArray<AActor*> ActorsToStart = Actors;
	for (AActor* Actor : ActorsToStart)
	{
		Actor->DispatchBeginPlay();
	}
}

APlayerController* UWorld::GetFirstPlayerController() const
{
	for (AController* Controller : Controllers)
	{
		if (APlayerController* PlayerController = Cast<APlayerController>(Controller))
		{
			return PlayerController;
		}
	}
	return nullptr;
}

void UWorld::AddController(AController* Controller)
{
	if (Controller != nullptr && !Controllers.Contains(Controller))
	{
		Controllers.Add(Controller);
	}
}

void UWorld::RemoveController(AController* Controller)
{
	Controllers.Remove(Controller);
}

AActor* UWorld::SpawnActor(UClass* Class, FVector const* Location, FRotator const* Rotation, const FActorSpawnParameters& SpawnParameters)
{
	if (Class == nullptr || !Class->IsChildOf(AActor::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract) || bTornDown)
	{
		return nullptr;
	}
	AActor* Actor = NewObject<AActor>(this, Class, SpawnParameters.Name);
	Actor->SetOwner(SpawnParameters.Owner);
	Actors.Add(Actor);
	if (USceneComponent* Root = Actor->GetRootComponent())
	{
		FTransform SpawnTransform = Root->GetComponentTransform();
		if (Location != nullptr)
		{
			SpawnTransform.SetTranslation(*Location);
		}
		if (Rotation != nullptr)
		{
			SpawnTransform.SetRotation(Rotation->Quaternion());
		}
		Root->SetWorldTransform(SpawnTransform);
	}
	Actor->RegisterAllComponents();
	if (AController* Controller = Cast<AController>(Actor))
	{
		AddController(Controller);
	}
	if (bBegunPlay)
	{
		Actor->DispatchBeginPlay();
	}
	return Actor;
}

bool UWorld::DestroyActor(AActor* Actor, bool /*bNetForce*/, bool /*bShouldModifyLevel*/)
{
	if (Actor == nullptr || !Actors.Contains(Actor))
	{
		return false;
	}
	if (Actor->HasActorBegunPlay())
	{
		Actor->EndPlay(EEndPlayReason::Destroyed);
	}
	for (UActorComponent* Component : Actor->OwnedComponents)
	{
		Component->UnregisterComponent();
	}
	if (AController* Controller = Cast<AController>(Actor))
	{
		RemoveController(Controller);
	}
	Actors.Remove(Actor);
	Actor->MarkAsGarbage();
	return true;
}

void UWorld::Tick(ELevelTick TickType, float DeltaSeconds)
{
	if (bTornDown)
	{
		return;
	}
	// Components tick group by group, in spawn and registration order within a group.
	TArray<UActorComponent*> Ticking;
	for (AActor* Actor : Actors)
	{
		for (UActorComponent* Component : Actor->OwnedComponents)
		{
			if (Component->IsRegistered() && Component->PrimaryComponentTick.bCanEverTick && Component->IsComponentTickEnabled())
			{
				Ticking.Add(Component);
			}
		}
	}
	for (int32 Group = TG_PrePhysics; Group < TG_MAX; ++Group)
	{
		for (UActorComponent* Component : Ticking)
		{
			if (Component->PrimaryComponentTick.TickGroup == Group && IsValid(Component))
			{
				Component->TickComponent(DeltaSeconds, TickType, &Component->PrimaryComponentTick);
			}
		}
	}
	// After every tick group, each player's camera manager computes and caches the point of view the
	// frame renders with.
	const TArray<AController*> TickedControllers = Controllers;
	for (AController* Controller : TickedControllers)
	{
		if (APlayerController* PlayerController = Cast<APlayerController>(Controller))
		{
			PlayerController->UpdateCameraManager(DeltaSeconds);
		}
	}
}

UWorld* UWorld::GetWorld() const
{
	return const_cast<UWorld*>(this);
}
