// What a plug-in's own engine classes get from the stand-in: component ticks in tick-group order with begin
// play, a local player class taken from its script path when the engine resolves its references, and actors
// attached to actors, whose transforms compose with their parent's.
#include "EngineTestSupport.h"

#include "EngineFixtureClasses.h"

#include "Engine/Engine.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"

namespace
{
using EngineTestSupport::EngineFixture;

class EngineGameplay_test : public EngineFixture
{
protected:
	/** An actor in a new game world whose root scene component is at WorldTransform. */
	AActor* SpawnWithRoot(const FTransform& WorldTransform)
	{
		if (GameWorld == nullptr)
		{
			EngineTesting::StartGameEngine();
			GameWorld = EngineTesting::CreateGameWorld();
		}
		AActor* Actor = GameWorld->SpawnActor<AActor>();
		USceneComponent* Root = NewObject<USceneComponent>(Actor);
		Actor->SetRootComponent(Root);
		Root->RegisterComponent();
		Root->SetWorldTransform(WorldTransform);
		return Actor;
	}

	UWorld* GameWorld = nullptr;
};

void ExpectVectorNear(const FVector& Actual, const FVector& Expected)
{
	EXPECT_TRUE(Actual.Equals(Expected, 1e-9)) << TCHAR_TO_UTF8(*Actual.ToString());
}

TEST_F(EngineGameplay_test, RegisteredComponentsBeginPlayAndTickEveryFrameInTickGroupOrder)
{
	EngineTesting::StartGameEngine();
	UWorld* World = EngineTesting::CreateGameWorld();
	AActor* Actor = World->SpawnActor<AActor>();
	ASSERT_NE(Actor, nullptr);
	TArray<FString> TickLog;
	UEngineFixtureTickingComponent* Late = NewObject<UEngineFixtureTickingComponent>(Actor, TEXT("Late"));
	Late->SetTickGroup(TG_PostPhysics);
	UEngineFixtureTickingComponent* Early = NewObject<UEngineFixtureTickingComponent>(Actor, TEXT("Early"));
	UEngineFixtureTickingComponent* Quiet = NewObject<UEngineFixtureTickingComponent>(Actor, TEXT("Quiet"));
	Quiet->PrimaryComponentTick.bCanEverTick = false;
	for (UEngineFixtureTickingComponent* Component : {Late, Early, Quiet})
	{
		Component->TickLog = &TickLog;
	}
	Actor->RegisterAllComponents();

	TArray<UEngineFixtureTickingComponent*> Found;
	Actor->GetComponents(Found);
	EXPECT_EQ(Found, TArray<UEngineFixtureTickingComponent*>({Late, Early, Quiet}));
	EXPECT_EQ(Early->GetOwner(), Actor);

	EngineTesting::RunFrame(0.5f);
	EXPECT_EQ(TickLog.Num(), 0) << "nothing ticks before play begins";

	EngineTesting::StartPlay(World);
	EXPECT_EQ(Early->BeginPlayCount, 1);
	EXPECT_EQ(Quiet->BeginPlayCount, 1);
	EngineTesting::RunFrame(0.5f);
	EXPECT_EQ(TickLog, TArray<FString>({TEXT("Early"), TEXT("Late")}));
	EXPECT_EQ(Early->TickDeltas, TArray<float>({0.5f}));

	Early->SetComponentTickEnabled(false);
	EngineTesting::RunFrame(0.25f);
	EXPECT_EQ(TickLog, TArray<FString>({TEXT("Early"), TEXT("Late"), TEXT("Late")}));

	Actor->Destroy();
	EngineTesting::RunFrame(0.25f);
	EXPECT_EQ(TickLog.Num(), 3);
	EXPECT_EQ(Quiet->TickDeltas.Num(), 0);
}

TEST_F(EngineGameplay_test, LocalPlayerClassIsTakenFromItsPathWhenTheEngineResolvesReferences)
{
	EngineTesting::StartGameEngine();
	ASSERT_EQ(GEngine->LocalPlayerClass.Get(), ULocalPlayer::StaticClass());

	GEngine->LocalPlayerClassName = FSoftClassPath(TEXT("/Script/EngineFixture.EngineFixtureLocalPlayer"));
	EXPECT_EQ(GEngine->LocalPlayerClass.Get(), ULocalPlayer::StaticClass()) << "writing the path alone changes nothing";
	GEngine->InitializeObjectReferences();
	EXPECT_EQ(GEngine->LocalPlayerClass.Get(), UEngineFixtureLocalPlayer::StaticClass());

	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	ASSERT_NE(Play.LocalPlayer, nullptr);
	EXPECT_TRUE(Play.LocalPlayer->IsA<UEngineFixtureLocalPlayer>());
	EXPECT_EQ(GEngine->GetDebugLocalPlayer(), Play.LocalPlayer);
}

TEST_F(EngineGameplay_test, AttachedActorsComposeTheirRelativeTransformWithTheirParentsWorldTransform)
{
	AActor* Parent = SpawnWithRoot(FTransform(FRotator(0.0, 90.0, 0.0), FVector(100.0, 0.0, 0.0)));
	AActor* Child = SpawnWithRoot(FTransform(FVector(10.0, 0.0, 0.0)));
	EXPECT_EQ(Child->GetAttachParentActor(), nullptr);

	ASSERT_TRUE(Child->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_EQ(Child->GetAttachParentActor(), Parent);
	EXPECT_EQ(Child->GetRootComponent()->GetAttachParent(), Parent->GetRootComponent());
	ExpectVectorNear(Child->GetRootComponent()->GetRelativeTransform().GetTranslation(), FVector(10.0, 0.0, 0.0));
	// Relative first, then the parent's world transform: the parent's yaw turns the offset onto Y.
	ExpectVectorNear(Child->GetActorLocation(), FVector(100.0, 10.0, 0.0));
	EXPECT_NEAR(Child->GetActorRotation().Yaw, 90.0, 1e-9);

	Parent->SetActorLocation(FVector(200.0, 0.0, 0.0));
	ExpectVectorNear(Child->GetActorLocation(), FVector(200.0, 10.0, 0.0));

	Child->SetActorRelativeTransform(FTransform(FVector(0.0, 5.0, 0.0)));
	ExpectVectorNear(Child->GetActorLocation(), FVector(195.0, 0.0, 0.0));

	// A world transform is kept as the relative transform that gives it under the parent.
	EXPECT_TRUE(Child->SetActorTransform(FTransform(FVector(0.0, 0.0, 50.0))));
	ExpectVectorNear(Child->GetActorLocation(), FVector(0.0, 0.0, 50.0));
	ExpectVectorNear(Child->GetRootComponent()->GetRelativeTransform().GetTranslation(), FVector(0.0, 200.0, 50.0));

	// Attaching again to the same parent changes nothing.
	EXPECT_TRUE(Child->AttachToActor(Parent, FAttachmentTransformRules::KeepWorldTransform));
	EXPECT_EQ(Parent->GetRootComponent()->GetAttachChildren().Num(), 1);
	ExpectVectorNear(Child->GetRootComponent()->GetRelativeTransform().GetTranslation(), FVector(0.0, 200.0, 50.0));
}

TEST_F(EngineGameplay_test, AttachmentAndDetachmentRulesKeepOrSnapEachPartOfTheTransform)
{
	AActor* Parent = SpawnWithRoot(FTransform(FRotator(0.0, 90.0, 0.0), FVector(100.0, 0.0, 0.0)));
	AActor* Kept = SpawnWithRoot(FTransform(FVector(10.0, 0.0, 0.0)));
	ASSERT_TRUE(Kept->AttachToActor(Parent, FAttachmentTransformRules::KeepWorldTransform));
	ExpectVectorNear(Kept->GetActorLocation(), FVector(10.0, 0.0, 0.0));
	ExpectVectorNear(Kept->GetRootComponent()->GetRelativeTransform().GetTranslation(), FVector(0.0, 90.0, 0.0));
	EXPECT_NEAR(Kept->GetRootComponent()->GetRelativeTransform().Rotator().Yaw, -90.0, 1e-9);

	AActor* Snapped = SpawnWithRoot(FTransform(FQuat::Identity, FVector(10.0, 0.0, 0.0), FVector(2.0, 2.0, 2.0)));
	ASSERT_TRUE(Snapped->AttachToComponent(Parent->GetRootComponent(), FAttachmentTransformRules::SnapToTargetNotIncludingScale));
	ExpectVectorNear(Snapped->GetActorLocation(), FVector(100.0, 0.0, 0.0));
	EXPECT_NEAR(Snapped->GetActorRotation().Yaw, 90.0, 1e-9);
	ExpectVectorNear(Snapped->GetActorTransform().GetScale3D(), FVector(2.0, 2.0, 2.0));

	Parent->SetActorLocation(FVector(0.0, 0.0, 0.0));
	Kept->DetachFromActor(FDetachmentTransformRules::KeepWorldTransform);
	EXPECT_EQ(Kept->GetAttachParentActor(), nullptr);
	ExpectVectorNear(Kept->GetActorLocation(), FVector(-90.0, 0.0, 0.0));
	// Keeping the relative transform makes it the world transform.
	Snapped->DetachFromActor(FDetachmentTransformRules::KeepRelativeTransform);
	ExpectVectorNear(Snapped->GetActorLocation(), FVector(0.0, 0.0, 0.0));
	EXPECT_NEAR(Snapped->GetActorRotation().Yaw, 0.0, 1e-9);
	EXPECT_EQ(Parent->GetRootComponent()->GetAttachChildren().Num(), 0);
}

TEST_F(EngineGameplay_test, AttachmentsThatCannotBeAreRefusedWithoutChange)
{
	AActor* Parent = SpawnWithRoot(FTransform(FVector(100.0, 0.0, 0.0)));
	AActor* Child = SpawnWithRoot(FTransform(FVector(10.0, 0.0, 0.0)));
	AActor* Rootless = GameWorld->SpawnActor<AActor>();

	EXPECT_FALSE(Child->AttachToActor(nullptr, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_FALSE(Child->AttachToActor(Child, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_FALSE(Child->AttachToActor(Rootless, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_FALSE(Rootless->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	// A root cannot hang below a component of its own actor.
	USceneComponent* Own = NewObject<USceneComponent>(Child);
	Own->RegisterComponent();
	EXPECT_FALSE(Child->AttachToComponent(Own, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_EQ(Child->GetAttachParentActor(), nullptr);
	ExpectVectorNear(Child->GetActorLocation(), FVector(10.0, 0.0, 0.0));

	ASSERT_TRUE(Child->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	// The parent below its own child would be a cycle.
	EXPECT_FALSE(Parent->AttachToActor(Child, FAttachmentTransformRules::KeepRelativeTransform));
	EXPECT_EQ(Parent->GetAttachParentActor(), nullptr);
	EXPECT_TRUE(Child->GetRootComponent()->IsAttachedTo(Parent->GetRootComponent()));
	EXPECT_FALSE(Parent->GetRootComponent()->IsAttachedTo(Child->GetRootComponent()));
	EXPECT_FALSE(Child->GetRootComponent()->IsAttachedTo(Child->GetRootComponent()));
	ExpectVectorNear(Parent->GetActorLocation(), FVector(100.0, 0.0, 0.0));
}

} // namespace
