// The host's camera and projection in the sandbox engine: the first player follows the host camera, the camera
// manager takes its field of view, aspect and projection kind, the local player renders through the host's
// projection, and every rendering viewport reports its view size to the host.
#include "ModuleTestSupport.h"

#include "Camera/CameraComponent.h"
#include "Camera/PlayerCameraManager.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"
#include "EngineTesting.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "SceneViewExtension.h"

#include "KorvatLocalPlayer.h"
#include "KorvatPluginModule.h"

#include <array>
#include <optional>

namespace
{
using namespace Korvat::ModuleTesting;
using Korvat::UE4::Tag::CAMR;
using Korvat::UE4::Tag::PROJ;
using Korvat::UE4::Tag::RESN;
using Korvat::UE4::Tag::VIEW;

using FHostMatrix = std::array<float, 16>;

constexpr FHostMatrix IdentityAt(float X, float Y, float Z)
{
	return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, X, Y, Z, 1};
}

/** A perspective projection as the host sends it: focal terms, off-centre terms, right-handed depth. */
constexpr FHostMatrix Perspective(float FocalX, float FocalY, float OffsetX = 0.0f, float OffsetY = 0.0f)
{
	return {FocalX, 0, 0, 0, 0, FocalY, 0, 0, OffsetX, OffsetY, -1.0001f, -1, 0, 0, -0.10001f, 0};
}

std::vector<std::uint8_t> Payload(const FHostMatrix& Matrix)
{
	std::vector<std::uint8_t> Bytes(sizeof(Matrix));
	std::memcpy(Bytes.data(), Matrix.data(), sizeof(Matrix));
	return Bytes;
}

void ExpectVectorNear(const FVector& Actual, const FVector& Expected, const char* What)
{
	EXPECT_NEAR(Actual.X, Expected.X, 1e-3) << What;
	EXPECT_NEAR(Actual.Y, Expected.Y, 1e-3) << What;
	EXPECT_NEAR(Actual.Z, Expected.Z, 1e-3) << What;
}

void ExpectRotatorNear(const FRotator& Actual, const FRotator& Expected, const char* What)
{
	EXPECT_NEAR(Actual.Pitch, Expected.Pitch, 1e-3) << What;
	EXPECT_NEAR(Actual.Yaw, Expected.Yaw, 1e-3) << What;
	EXPECT_NEAR(Actual.Roll, Expected.Roll, 1e-3) << What;
}

class CameraTest : public ModuleTest
{
protected:
	/** Host, engine, connection and a running game whose first player has a pawn with a camera. */
	void StartPlaying(bool bEditor = false)
	{
		StartHost();
		StartEngine(SandboxOptions(TEXT("D3D11"), bEditor));
		ASSERT_TRUE(RunUntilConnected());
		Engine->StartPlay();
		RunFrames(2);
		ASSERT_NE(Controller(), nullptr);
	}

	static APlayerController* Controller()
	{
		UWorld* World = GEngine->GameViewport ? GEngine->GameViewport->GetWorld() : nullptr;
		return World ? World->GetFirstPlayerController() : nullptr;
	}

	static UWorld* GameWorld() { return GEngine->GameViewport->GetWorld(); }

	void SendMatrix(std::uint32_t MatrixTag, const FHostMatrix& Matrix) { Send(MatrixTag, Payload(Matrix)); }

	/** The newest view the renderer received, or nothing. */
	static std::optional<EngineTesting::FRenderedView> LastRenderedView()
	{
		const TArray<EngineTesting::FRenderedViewport> Rendered = EngineTesting::GetRenderedViewports();
		if (Rendered.Num() == 0 || Rendered.Last().Views.Num() == 0)
		{
			return std::nullopt;
		}
		return Rendered.Last().Views[0];
	}
};

TEST_F(CameraTest, LocalPlayersAreOfTheModulesClassFromTheFirstGameOn)
{
	StartEngine();
	// Resolved when the engine started; the module makes the class itself take effect, not only its name.
	EXPECT_EQ(GEngine->LocalPlayerClass.Get(), UKorvatLocalPlayer::StaticClass());
	EXPECT_EQ(GEngine->LocalPlayerClassName.ToString(), FString(TEXT("/Script/KorvatPlugin.KorvatLocalPlayer")));
	Engine->StartPlay();
	RunFrames(1);
	ASSERT_NE(Controller(), nullptr);
	EXPECT_TRUE(Cast<UKorvatLocalPlayer>(Controller()->GetLocalPlayer()) != nullptr);
}

TEST_F(CameraTest, HostCameraMovesThePawnItsControllerAndItsCamera)
{
	StartPlaying();
	APawn* Pawn = Controller()->GetPawn();
	ASSERT_NE(Pawn, nullptr);
	UCameraComponent* Camera = Pawn->FindComponentByClass<UCameraComponent>();
	ASSERT_NE(Camera, nullptr);
	Pawn->BaseEyeHeight = 64.0f;

	// The host camera at (1, 2, 3) metres looking along its own axes: (x, y, z) becomes (x, -z, y) in centimetres.
	SendMatrix(PROJ, Perspective(1.0f, 1.7777778f));
	SendMatrix(CAMR, IdentityAt(1, 2, 3));
	RunFrames(2);

	const FTransform Expected = Module().GetKorvatCameraTransform();
	ExpectVectorNear(Expected.GetTranslation(), FVector(-100, 300, -200), "camera transform");
	// Rows (1, 0, 0), (0, 0, 1), (0, -1, 0): no pitch or yaw, a quarter turn of roll.
	ExpectRotatorNear(Expected.Rotator(), FRotator(0, 0, -90), "camera rotation");
	EXPECT_NEAR(Expected.GetScale3D().X, 1.0, 1e-12);

	ExpectVectorNear(Pawn->GetActorLocation(), FVector(-100, 300, -200), "pawn");
	EXPECT_EQ(Pawn->BaseEyeHeight, 0.0f);
	ExpectRotatorNear(Controller()->GetControlRotation(), FRotator(0, 0, -90), "control rotation");
	ExpectVectorNear(Camera->GetComponentTransform().GetTranslation(), FVector(-100, 300, -200), "camera component");

	APlayerCameraManager* Manager = Controller()->PlayerCameraManager;
	ASSERT_NE(Manager, nullptr);
	EXPECT_FALSE(Manager->bIsOrthographic);
	EXPECT_FLOAT_EQ(Manager->GetFOVAngle(), 90.0f);
	EXPECT_FLOAT_EQ(Manager->ViewPitchMin, -179.9999f);
	EXPECT_FLOAT_EQ(Manager->ViewPitchMax, 180.0f);
	EXPECT_FLOAT_EQ(Manager->ViewYawMin, 0.0f);
	EXPECT_FLOAT_EQ(Manager->ViewYawMax, 359.9999f);
	EXPECT_FLOAT_EQ(Manager->ViewRollMin, -179.9999f);
	EXPECT_FLOAT_EQ(Manager->ViewRollMax, 180.0f);

	// Moved again only when the host sends a camera again.
	Pawn->SetActorLocation(FVector(5, 5, 5));
	RunFrames(2);
	ExpectVectorNear(Pawn->GetActorLocation(), FVector(5, 5, 5), "pawn between cameras");
}

TEST_F(CameraTest, CameraBeforeAnyProjectionLeavesUnrealsFieldOfView)
{
	StartPlaying();
	APlayerCameraManager* Manager = Controller()->PlayerCameraManager;
	ASSERT_NE(Manager, nullptr);
	const float UnrealFov = Manager->GetFOVAngle();

	SendMatrix(CAMR, IdentityAt(0, 0, 0));
	RunFrames(2);
	// An all-zero projection stands for 180 degrees; it is not applied.
	EXPECT_FLOAT_EQ(Module().GetKorvatCameraFov(), 180.0f);
	EXPECT_FLOAT_EQ(Manager->GetFOVAngle(), UnrealFov);
	ExpectVectorNear(Controller()->GetPawn()->GetActorLocation(), FVector(0, 0, 0), "pawn");
}

TEST_F(CameraTest, AspectFollowsTheHostResolutionAndFallsBackToTheProjection)
{
	StartPlaying();
	APlayerCameraManager* Manager = Controller()->PlayerCameraManager;
	ASSERT_NE(Manager, nullptr);
	// Nothing from the host yet: the manager keeps its own aspect.
	const float OwnAspect = Manager->DefaultAspectRatio;
	RunFrames(1);
	EXPECT_EQ(Manager->DefaultAspectRatio, OwnAspect);
	EXPECT_TRUE(Manager->bDefaultConstrainAspectRatio);

	SendMatrix(PROJ, Perspective(1.0f, 2.0f));
	RunFrames(2);
	EXPECT_FLOAT_EQ(Manager->DefaultAspectRatio, 2.0f);

	Send(RESN, Words({1920, 1080}));
	RunFrames(2);
	EXPECT_NEAR(Manager->DefaultAspectRatio, 1.7778f, 1e-4f);

	// A new game: the resolution counts again only once the host repeats it; until then the projection's.
	Engine->StopPlay();
	RunFrames(1);
	Engine->StartPlay();
	RunFrames(2);
	ASSERT_NE(Controller(), nullptr);
	EXPECT_FLOAT_EQ(Controller()->PlayerCameraManager->DefaultAspectRatio, 2.0f);
}

TEST_F(CameraTest, PerspectiveProjectionKeepsUnrealsTermsButTheHostsOffCentre)
{
	StartPlaying();
	SendMatrix(PROJ, Perspective(1.0f, 1.7777778f, 0.25f, -0.125f));
	SendMatrix(CAMR, IdentityAt(0, 0, 0));
	RunFrames(2);

	EXPECT_FALSE(Module().IsKorvatCameraOrtho());
	EXPECT_EQ(Module().GetKorvatProjectionOffset(), FVector2D(0.25, -0.125));
	const std::optional<EngineTesting::FRenderedView> View = LastRenderedView();
	ASSERT_TRUE(View);
	EXPECT_DOUBLE_EQ(View->ProjectionMatrix.M[2][0], 0.25);
	EXPECT_DOUBLE_EQ(View->ProjectionMatrix.M[2][1], -0.125);
	EXPECT_DOUBLE_EQ(View->ProjectionMatrix.M[3][3], 0.0);
	// Unreal's own reversed depth stays (the host's right-handed depth would have -1 here).
	EXPECT_DOUBLE_EQ(View->ProjectionMatrix.M[2][3], 1.0);
	// The field of view follows the host through the camera manager: 90 degrees across.
	EXPECT_NEAR(View->ProjectionMatrix.M[0][0], 1.0, 1e-6);
}

TEST_F(CameraTest, OrthographicProjectionIsTheHostsInCentimetres)
{
	StartPlaying();
	// A 4 by 2 metre view from 0 to 10 metres.
	const FHostMatrix Ortho = {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -0.1f, 0, 0, 0, 0, 1};
	SendMatrix(PROJ, Ortho);
	SendMatrix(CAMR, IdentityAt(0, 0, 0));
	RunFrames(2);

	EXPECT_TRUE(Module().IsKorvatCameraOrtho());
	EXPECT_TRUE(Controller()->PlayerCameraManager->bIsOrthographic);
	const std::optional<EngineTesting::FRenderedView> View = LastRenderedView();
	ASSERT_TRUE(View);
	// Depth turned for Unreal's reversed depth (-z, then 1 - w), everything scaled by the float 0.01.
	const double Scale = static_cast<double>(0.01f);
	const double Expected[4][4] = {{0.5 * Scale, 0, 0, 0}, {0, Scale, 0, 0}, {0, 0, static_cast<double>(0.1f) * Scale, 0}, {0, 0, 1, 1}};
	for (int Row = 0; Row < 4; ++Row)
	{
		for (int Column = 0; Column < 4; ++Column)
		{
			EXPECT_DOUBLE_EQ(View->ProjectionMatrix.M[Row][Column], Expected[Row][Column]) << Row << "," << Column;
		}
	}
}

TEST_F(CameraTest, ViewTargetThatIsNotAPawnTakesTheWholeTransform)
{
	StartPlaying();
	AActor* Target = EngineTesting::SpawnViewTargetActor(GameWorld());
	Controller()->SetViewTarget(Target);
	const FVector PawnBefore = Controller()->GetPawn()->GetActorLocation();

	SendMatrix(CAMR, IdentityAt(1, 2, 3));
	RunFrames(2);
	ExpectVectorNear(Target->GetActorLocation(), FVector(-100, 300, -200), "view target");
	ExpectRotatorNear(Target->GetActorRotation(), FRotator(0, 0, -90), "view target");
	ExpectVectorNear(Controller()->GetPawn()->GetActorLocation(), PawnBefore, "the pawn is not the view target");
}

TEST_F(CameraTest, PawnWithoutControllerMovesAndOnlyActiveCamerasFollow)
{
	StartPlaying();
	APawn* Pawn = EngineTesting::SpawnPawn(GameWorld(), FTransform::Identity, true);
	UCameraComponent* Active = Pawn->FindComponentByClass<UCameraComponent>();
	UCameraComponent* Inactive = EngineTesting::AddCameraComponent(Pawn, false);
	ASSERT_NE(Active, nullptr);
	const FVector InactiveBefore = Inactive->GetComponentTransform().GetTranslation();
	const FRotator PawnRotationBefore = Pawn->GetActorRotation();
	Controller()->SetViewTarget(Pawn);

	SendMatrix(CAMR, IdentityAt(1, 2, 3));
	RunFrames(2);
	ExpectVectorNear(Pawn->GetActorLocation(), FVector(-100, 300, -200), "pawn");
	ExpectRotatorNear(Pawn->GetActorRotation(), PawnRotationBefore, "nobody turns a pawn without controller");
	ExpectVectorNear(Active->GetComponentTransform().GetTranslation(), FVector(-100, 300, -200), "active camera");
	ExpectRotatorNear(Active->GetComponentTransform().Rotator(), FRotator(0, 0, -90), "active camera");
	// Attached to the root, the inactive camera moves with the pawn but keeps the pawn's rotation.
	ExpectVectorNear(Inactive->GetComponentTransform().GetTranslation(), InactiveBefore + FVector(-100, 300, -200), "inactive camera");
	ExpectRotatorNear(Inactive->GetComponentTransform().Rotator(), PawnRotationBefore, "inactive camera");
}

TEST_F(CameraTest, TheRenderingViewportReportsItsViewSize)
{
	StartPlaying();
	ForgetReceived();
	RunFrames(3);
	const std::vector<std::vector<std::uint8_t>> Views = PayloadsOf(VIEW);
	ASSERT_GE(Views.size(), 2u) << "one report per rendered frame";
	EXPECT_EQ(Views.back(), Words({0, 0, 1280, 720, 1280, 720}));

	// Without a connection nothing is sent, although the viewport still renders.
	Host.reset();
	RunFrames(2);
	EXPECT_FALSE(EngineTesting::GetRenderedViewports().IsEmpty());
}

TEST_F(CameraTest, EachPlayInEditorSessionHasItsOwnExtensionAndOnlyARenderingOneReports)
{
	StartPlaying(true);
	const TArray<EngineTesting::FRenderedViewport> First = EngineTesting::GetRenderedViewports();
	ASSERT_FALSE(First.IsEmpty());
	ASSERT_EQ(First.Last().BegunExtensions.Num(), 1);
	const FViewport* FirstViewport = First.Last().Viewport;

	// Between sessions nothing renders and the extension is released.
	Engine->StopPlay();
	RunFrames(1);
	EngineTesting::ResetRecords();
	ForgetReceived();
	RunFrames(2);
	EXPECT_TRUE(EngineTesting::GetRenderedViewports().IsEmpty());
	EXPECT_TRUE(PayloadsOf(VIEW).empty());

	Engine->StartPlay();
	RunFrames(3);
	const TArray<EngineTesting::FRenderedViewport> Second = EngineTesting::GetRenderedViewports();
	ASSERT_FALSE(Second.IsEmpty());
	EXPECT_NE(Second.Last().Viewport, FirstViewport) << "the second session has a viewport of its own";
	// Only the new session's extension is told: the first one went with its session.
	ASSERT_EQ(Second.Last().BegunExtensions.Num(), 1);
	EXPECT_FALSE(PayloadsOf(VIEW).empty());
}
} // namespace
