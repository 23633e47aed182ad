// What a plug-in's own engine classes get from the stand-in: component ticks in tick-group order with begin
// play, and a local player class taken from its script path when the engine resolves its references.
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
};

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

} // namespace
