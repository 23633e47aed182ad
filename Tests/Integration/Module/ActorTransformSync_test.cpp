// The actor transform sync component in the sandbox engine: its reflected surface and defaults, actors that
// follow the host's transform nodes (in the world or relative to their parent), and actors whose transforms the
// host reads from the share channel, matched by the value id of the node name.
#include "ModuleTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Modules/ModuleManager.h"
#include "ShareChannel.h"
#include "StandInTesting.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

#include "KorvatActorTransformSync.h"
#include "KorvatPluginModule.h"

#include <array>
#include <limits>
#include <optional>
#include <type_traits>

namespace Korvat::ModuleTesting
{
namespace
{
using Korvat::UE4::Tag::MTXV;
using FHostMatrix = std::array<float, 16>;
using FSentMatrix = std::array<double, 16>;

static_assert(sizeof(KorvatCommunicationDirection) == 4 &&
	std::is_signed_v<std::underlying_type_t<KorvatCommunicationDirection>>);

// Value ids of the node names used here: CRC-32 of the lower-cased name with the lowest bit inverted.
constexpr std::uint32_t CamId = 0xFA35EB69;            // "cam"
constexpr std::uint32_t ArmId = 0x985E7E95;            // "arm"
constexpr std::uint32_t KorvatAxisNodeId = 0x80257598; // "korvataxisnode"

constexpr double Cos10 = 0.984807753012208;
constexpr double Sin10 = 0.17364817766693033;

/** An MTXV payload: id, 16 zero identifier bytes, the matrix as 16 singles. */
std::vector<std::uint8_t> MatrixPayload(std::uint32_t Id, const FHostMatrix& Matrix)
{
	std::vector<std::uint8_t> Payload(4 + 16 + sizeof(Matrix), 0);
	std::memcpy(Payload.data(), &Id, 4);
	std::memcpy(Payload.data() + 20, Matrix.data(), sizeof(Matrix));
	return Payload;
}

void ExpectMatrixNear(const FSentMatrix& Actual, const FSentMatrix& Expected)
{
	for (int Index = 0; Index < 16; ++Index)
	{
		EXPECT_NEAR(Actual[Index], Expected[Index], 1e-9) << "element " << Index;
	}
}

void ExpectVectorNear(const FVector& Actual, const FVector& Expected)
{
	EXPECT_TRUE(Actual.Equals(Expected, 1e-4)) << TCHAR_TO_UTF8(*Actual.ToString());
}

/** The lines the module logged since the last call. */
std::vector<std::string> TakeModuleLog()
{
	std::vector<std::string> Lines;
	for (const StandInTesting::FCapturedLogLine& Line : StandInTesting::GetLogLines())
	{
		if (Line.Category == FName(TEXT("LogKorvatPlugin")))
		{
			Lines.push_back(TCHAR_TO_UTF8(*Line.Text));
		}
	}
	StandInTesting::ClearLogLines();
	return Lines;
}

class ActorTransformSyncTest : public ModuleTest
{
protected:
	/** Host, engine, connection and a running game. */
	void StartPlaying()
	{
		StartHost();
		StartEngine();
		ASSERT_TRUE(RunUntilConnected());
		Engine->StartPlay();
		RunFrames(2);
	}

	static UWorld* GameWorld() { return GEngine->GameViewport->GetWorld(); }

	/** An actor of the game world named Name, with a root component at WorldTransform. */
	static AActor* SpawnWithRoot(const TCHAR* Name, const FTransform& WorldTransform)
	{
		FActorSpawnParameters Parameters;
		Parameters.Name = FName(Name);
		AActor* Actor = GameWorld()->SpawnActor<AActor>(Parameters);
		USceneComponent* Root = NewObject<USceneComponent>(Actor);
		Actor->SetRootComponent(Root);
		Root->RegisterComponent();
		Root->SetWorldTransform(WorldTransform);
		return Actor;
	}

	/** Adds a registered sync component to Actor (it begins play at once in the running game). */
	static UKorvatActorTransformSync* AddSync(AActor* Actor, KorvatCommunicationDirection Direction, const FString& NodeName,
		bool bRelative)
	{
		UKorvatActorTransformSync* Sync = NewObject<UKorvatActorTransformSync>(Actor);
		Sync->syncDirection = Direction;
		Sync->korvatAxisNodeName = NodeName;
		Sync->relativeTransform = bRelative;
		Sync->RegisterComponent();
		return Sync;
	}

	/** The matrix the host reads under Id from the module's share object, with the frame marker it carries. */
	std::optional<FSentMatrix> HostReadsMatrix(std::uint32_t Id, std::int32_t* OutFrameMarker = nullptr)
	{
		Korvat::Host::ShareChannelFrame Frame;
		const std::string ShareName = ShareNameOf(Module().GetKorvatLaunchID());
		if (Korvat::Host::ReadShareObject(ChannelDirectory, ShareName, Frame) != Korvat::Host::ShareChannelResult::Ok)
		{
			return std::nullopt;
		}
		for (const auto& [Key, Value] : Frame.Parameters)
		{
			Korvat::Host::ShareParameter Parameter;
			if (Korvat::Host::DecodeShareParameter(Key, Value, Parameter) && Parameter.Tag == MTXV && Parameter.Id == Id &&
				Parameter.Payload.size() == sizeof(FSentMatrix))
			{
				FSentMatrix Matrix;
				std::memcpy(Matrix.data(), Parameter.Payload.data(), sizeof(Matrix));
				if (OutFrameMarker != nullptr)
				{
					*OutFrameMarker = Parameter.FrameMarker;
				}
				return Matrix;
			}
		}
		return std::nullopt;
	}
};

TEST_F(ActorTransformSyncTest, NewComponentHasItsDefaultsAndItsReflectedSurface)
{
	UClass* Class = UKorvatActorTransformSync::StaticClass();
	EXPECT_TRUE(Class->IsChildOf(UActorComponent::StaticClass()));
	EXPECT_TRUE(Class->HasMetaData(TEXT("BlueprintSpawnableComponent")));
	EXPECT_EQ(Class->GetMetaData(TEXT("ClassGroupNames")), TEXT("Korvat"));

	const std::tuple<const TCHAR*, const TCHAR*, const TCHAR*> Properties[] = {
		{TEXT("syncDirection"), TEXT("KorvatCommunicationDirection"), TEXT("Direction of the data transfer")},
		{TEXT("korvatAxisNodeName"), TEXT("FString"), TEXT("Name of the Axis UE4 node in Korvat to sync with")},
		{TEXT("relativeTransform"), TEXT("bool"), TEXT("Only sync the transformation relative to the actor's parent")},
	};
	for (const auto& [Name, Type, ToolTip] : Properties)
	{
		SCOPED_TRACE(TCHAR_TO_UTF8(Name));
		const FProperty* Property = Class->FindPropertyByName(FName(Name));
		ASSERT_NE(Property, nullptr);
		EXPECT_EQ(Property->GetCPPType(), Type);
		EXPECT_TRUE(Property->HasAllPropertyFlags(CPF_Edit));
		EXPECT_FALSE(Property->HasAnyPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly | CPF_EditConst));
		EXPECT_FALSE(Property->HasAnyPropertyFlags(CPF_DisableEditOnInstance | CPF_DisableEditOnTemplate));
		EXPECT_EQ(Property->GetMetaData(TEXT("Category")), TEXT("Korvat"));
		EXPECT_EQ(Property->GetMetaData(TEXT("ToolTip")), ToolTip);
	}
	const FProperty* Direction = Class->FindPropertyByName(TEXT("syncDirection"));
	EXPECT_EQ(Direction->GetSize(), 4);
	UEnum* Enum = StaticEnum<KorvatCommunicationDirection>();
	ASSERT_EQ(Direction->GetEnum(), Enum);
	EXPECT_EQ(Enum->GetCppForm(), UEnum::ECppForm::EnumClass);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("ToKorvat")), 0);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("FromKorvat")), 1);
	EXPECT_FALSE(Enum->HasMetaData(TEXT("BlueprintType")));

	const TArray<const UKorvatActorTransformSync*> Fresh = {
		GetDefault<UKorvatActorTransformSync>(), NewObject<UKorvatActorTransformSync>(GetTransientPackage())};
	for (const UKorvatActorTransformSync* Sync : Fresh)
	{
		EXPECT_EQ(Sync->syncDirection, KorvatCommunicationDirection::FromKorvat);
		EXPECT_EQ(Sync->korvatAxisNodeName, TEXT("KorvatAxisNode"));
		EXPECT_FALSE(Sync->relativeTransform);
		EXPECT_TRUE(Sync->PrimaryComponentTick.bCanEverTick);
		EXPECT_EQ(Sync->PrimaryComponentTick.TickGroup, TG_PrePhysics);
	}
}

TEST_F(ActorTransformSyncTest, FromKorvatTicksAfterPhysicsAndMovesTheActorOnlyToItsNodesHostTransform)
{
	StartPlaying();
	const FTransform Start(FRotator(0.0, 30.0, 0.0), FVector(100.0, 200.0, 300.0));
	AActor* Upper = SpawnWithRoot(TEXT("Upper"), Start);
	AActor* Lower = SpawnWithRoot(TEXT("Lower"), Start);
	const UKorvatActorTransformSync* Sync = AddSync(Upper, KorvatCommunicationDirection::FromKorvat, TEXT("Cam"), false);
	AddSync(Lower, KorvatCommunicationDirection::FromKorvat, TEXT("cam"), false);
	// Registered in a running game, it began play and moved its tick after physics.
	EXPECT_TRUE(Sync->HasBegunPlay());
	EXPECT_EQ(Sync->PrimaryComponentTick.TickGroup, TG_PostPhysics);
	// An int under the node's id and a transform of another node are not this node's transform.
	Send(Korvat::UE4::Tag::VINT, Words({static_cast<std::int32_t>(CamId), 5}));
	Send(MTXV, MatrixPayload(ArmId, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1}));
	StandInTesting::ClearLogLines();
	RunFrames(3);
	EXPECT_TRUE(Upper->GetActorTransform().Equals(Start, 0.0));
	EXPECT_TRUE(Lower->GetActorTransform().Equals(Start, 0.0));
	EXPECT_EQ(TakeModuleLog(), std::vector<std::string>());

	// Yaw 90 with scale 2 at (10, 20, 30): both spellings of the name follow it in the next world tick.
	Send(MTXV, MatrixPayload(CamId, {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 10, 20, 30, 1}));
	EXPECT_TRUE(Upper->GetActorTransform().Equals(Start, 0.0));
	RunFrames(1);
	for (const AActor* Actor : {Upper, Lower})
	{
		ExpectVectorNear(Actor->GetActorLocation(), FVector(10.0, 20.0, 30.0));
		EXPECT_NEAR(Actor->GetActorRotation().Yaw, 90.0, 1e-4);
		ExpectVectorNear(Actor->GetActorTransform().GetScale3D(), FVector(2.0, 2.0, 2.0));
	}
	Send(MTXV, MatrixPayload(CamId, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -5, 0, 0, 1}));
	RunFrames(1);
	ExpectVectorNear(Upper->GetActorLocation(), FVector(-5.0, 0.0, 0.0));
}

TEST_F(ActorTransformSyncTest, FromKorvatRelativeMakesTheHostTransformAnOffsetFromTheParent)
{
	StartPlaying();
	AActor* Parent = SpawnWithRoot(TEXT("Boom"), FTransform(FRotator(0.0, 90.0, 0.0), FVector(100.0, 0.0, 0.0)));
	AActor* Relative = SpawnWithRoot(TEXT("Head"), FTransform::Identity);
	AActor* Absolute = SpawnWithRoot(TEXT("Tail"), FTransform::Identity);
	ASSERT_TRUE(Relative->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	ASSERT_TRUE(Absolute->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	AddSync(Relative, KorvatCommunicationDirection::FromKorvat, TEXT("arm"), true);
	AddSync(Absolute, KorvatCommunicationDirection::FromKorvat, TEXT("arm"), false);

	Send(MTXV, MatrixPayload(ArmId, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}));
	RunFrames(1);
	ExpectVectorNear(Relative->GetRootComponent()->GetRelativeTransform().GetTranslation(), FVector(10.0, 0.0, 0.0));
	ExpectVectorNear(Relative->GetActorLocation(), FVector(100.0, 10.0, 0.0));
	EXPECT_NEAR(Relative->GetActorRotation().Yaw, 90.0, 1e-4);
	ExpectVectorNear(Absolute->GetActorLocation(), FVector(10.0, 0.0, 0.0));

	Parent->SetActorLocation(FVector(200.0, 0.0, 0.0));
	RunFrames(1);
	ExpectVectorNear(Relative->GetActorLocation(), FVector(200.0, 10.0, 0.0));
	ExpectVectorNear(Absolute->GetActorLocation(), FVector(10.0, 0.0, 0.0));
}

TEST_F(ActorTransformSyncTest, ToKorvatSendsTheWorldTransformEveryTickOrTheIdentityWithoutRoot)
{
	StartPlaying();
	AActor* Crane = SpawnWithRoot(TEXT("Crane"), FTransform(FRotator(0.0, 90.0, 0.0), FVector(10.0, 20.0, 30.0)));
	// Without a parent, relativeTransform changes nothing.
	UKorvatActorTransformSync* Sync = AddSync(Crane, KorvatCommunicationDirection::ToKorvat, TEXT("KorvatAxisNode"), true);
	AActor* Rootless = GameWorld()->SpawnActor<AActor>();
	AddSync(Rootless, KorvatCommunicationDirection::ToKorvat, TEXT("Cam"), false);
	RunFrames(1);

	std::int32_t FirstMarker = 0;
	const std::optional<FSentMatrix> World = HostReadsMatrix(KorvatAxisNodeId, &FirstMarker);
	ASSERT_TRUE(World.has_value());
	ExpectMatrixNear(*World, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1});
	EXPECT_EQ(HostReadsMatrix(CamId), (FSentMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

	// Unchanged, it is sent again with the next frame's marker; the node name is read every tick.
	RunFrames(1);
	std::int32_t SecondMarker = 0;
	ASSERT_TRUE(HostReadsMatrix(KorvatAxisNodeId, &SecondMarker).has_value());
	EXPECT_GT(SecondMarker, FirstMarker);
	Sync->korvatAxisNodeName = TEXT("ARM");
	Crane->SetActorLocation(FVector(1.0, 2.0, 3.0));
	RunFrames(1);
	const std::optional<FSentMatrix> Renamed = HostReadsMatrix(ArmId);
	ASSERT_TRUE(Renamed.has_value());
	ExpectMatrixNear(*Renamed, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1});
}

TEST_F(ActorTransformSyncTest, ToKorvatRelativeSendsTheTransformRelativeToTheParentActorsRoot)
{
	StartPlaying();
	AActor* Parent = SpawnWithRoot(TEXT("Boom"), FTransform(FRotator(0.0, 90.0, 0.0), FVector(100.0, 0.0, 0.0)));
	AActor* Head = SpawnWithRoot(TEXT("Head"), FTransform::Identity);
	ASSERT_TRUE(Head->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	Head->SetActorRelativeTransform(FTransform(FRotator(0.0, 10.0, 0.0), FVector(0.0, 5.0, 0.0)));
	// Attached below another component of the parent, the offset still counts from the parent's root.
	USceneComponent* Mount = NewObject<USceneComponent>(Parent);
	Mount->RegisterComponent();
	ASSERT_TRUE(Mount->AttachToComponent(Parent->GetRootComponent(), FAttachmentTransformRules::KeepRelativeTransform));
	Mount->SetRelativeTransform(FTransform(FVector(0.0, 0.0, 50.0)));
	AActor* Tail = SpawnWithRoot(TEXT("Tail"), FTransform::Identity);
	ASSERT_TRUE(Tail->AttachToComponent(Mount, FAttachmentTransformRules::KeepRelativeTransform));
	Tail->SetActorRelativeTransform(FTransform(FVector(0.0, 5.0, 0.0)));
	AddSync(Head, KorvatCommunicationDirection::ToKorvat, TEXT("head"), true);
	AddSync(Tail, KorvatCommunicationDirection::ToKorvat, TEXT("arm"), true);
	RunFrames(1);

	const std::optional<FSentMatrix> HeadSent = HostReadsMatrix(0xA7F3F69D); // "head"
	ASSERT_TRUE(HeadSent.has_value());
	ExpectMatrixNear(*HeadSent, {Cos10, Sin10, 0, 0, -Sin10, Cos10, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1});
	const std::optional<FSentMatrix> TailSent = HostReadsMatrix(ArmId);
	ASSERT_TRUE(TailSent.has_value());
	ExpectMatrixNear(*TailSent, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 5, 50, 1});
}

TEST_F(ActorTransformSyncTest, EmptyNodeNameUsesIdZeroAndWarnsEveryTick)
{
	StartPlaying();
	AActor* Sender = SpawnWithRoot(TEXT("Crane"), FTransform(FVector(1.0, 2.0, 3.0)));
	AActor* Follower = SpawnWithRoot(TEXT("Head"), FTransform(FVector(4.0, 5.0, 6.0)));
	// Emptied by assignment, a name keeps its character buffer; emptied by Empty, it has none. Both are empty.
	AddSync(Sender, KorvatCommunicationDirection::ToKorvat, FString(), false);
	AddSync(Follower, KorvatCommunicationDirection::FromKorvat, TEXT("Cam"), false)->korvatAxisNodeName.Empty();
	// The host's matrices under id 0 are never stored, so nothing follows them.
	Send(MTXV, MatrixPayload(0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 70, 80, 90, 1}));
	StandInTesting::ClearLogLines();
	RunFrames(2);

	const std::string Warning = "Null pointer string passed to string hasher!";
	EXPECT_EQ(TakeModuleLog(), std::vector<std::string>(4, Warning));
	ExpectVectorNear(Follower->GetActorLocation(), FVector(4.0, 5.0, 6.0));
	EXPECT_EQ(HostReadsMatrix(0), (FSentMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
}

TEST_F(ActorTransformSyncTest, NonFiniteHostTransformIsNotApplied)
{
	StartPlaying();
	AActor* Parent = SpawnWithRoot(TEXT("Boom"), FTransform(FVector(100.0, 0.0, 0.0)));
	AActor* Head = SpawnWithRoot(TEXT("Head"), FTransform::Identity);
	ASSERT_TRUE(Head->AttachToActor(Parent, FAttachmentTransformRules::KeepRelativeTransform));
	AddSync(Head, KorvatCommunicationDirection::FromKorvat, TEXT("Cam"), true);
	const float NaN = std::numeric_limits<float>::quiet_NaN();
	Send(MTXV, MatrixPayload(CamId, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, NaN, 0, 0, 1}));
	StandInTesting::ClearLogLines();
	RunFrames(1);

	ExpectVectorNear(Head->GetActorLocation(), FVector(100.0, 0.0, 0.0));
	EXPECT_EQ(TakeModuleLog(),
		std::vector<std::string>({"Korvat node 'Cam' holds a transform that is not finite; 'Head' keeps its transform."}));
}

TEST_F(ActorTransformSyncTest, TickWithoutOwnerOrModuleDoesNothing)
{
	StartPlaying();
	UTextureShareObject* Object = NewObject<UTextureShareObject>(GetTransientPackage());
	Module().RegisterTextureShare(MakeGuid(0x51, 0, 0, {}), Object);
	UKorvatActorTransformSync* Ownerless = NewObject<UKorvatActorTransformSync>(GetTransientPackage());
	Ownerless->syncDirection = KorvatCommunicationDirection::ToKorvat;
	Ownerless->TickComponent(0.1f, LEVELTICK_All, &Ownerless->PrimaryComponentTick);
	EXPECT_EQ(Object->CustomData.SendParameters.Num(), 0);

	// An actor outside any world, ticked by hand after the module shut down: the module is not loaded again.
	AActor* Loose = NewObject<AActor>(GetTransientPackage());
	USceneComponent* Root = NewObject<USceneComponent>(Loose);
	Loose->SetRootComponent(Root);
	UKorvatActorTransformSync* Sync = NewObject<UKorvatActorTransformSync>(Loose);
	Sync->syncDirection = KorvatCommunicationDirection::ToKorvat;
	Sync->TickComponent(0.1f, LEVELTICK_All, &Sync->PrimaryComponentTick);
	EXPECT_EQ(Object->CustomData.SendParameters.Num(), 1);
	Engine->Shutdown();
	ASSERT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("KorvatPlugin")));
	Sync->TickComponent(0.1f, LEVELTICK_All, &Sync->PrimaryComponentTick);
	Sync->syncDirection = KorvatCommunicationDirection::FromKorvat;
	Sync->TickComponent(0.1f, LEVELTICK_All, &Sync->PrimaryComponentTick);
	EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("KorvatPlugin")));
	EXPECT_TRUE(Loose->GetActorTransform().Equals(FTransform::Identity, 0.0));
}

} // namespace
} // namespace Korvat::ModuleTesting
