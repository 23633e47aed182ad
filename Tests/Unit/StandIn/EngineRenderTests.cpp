// What the stand-in engine renders each frame: the view extension registry (weak references, priority order,
// activity per viewport), the order of the extension calls around the local players' views, the local
// player's reversed-Z projection and aspect-ratio bars, which class new local players get, and the viewports
// of play-in-editor sessions.
#include "EngineTestSupport.h"

#include "EngineFixtureClasses.h"

#include "Camera/CameraComponent.h"
#include "Camera/PlayerCameraManager.h"
#include "Editor/EditorEngine.h"
#include "Engine/Engine.h"
#include "Engine/LocalPlayer.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "LevelEditor.h"
#include "Modules/ModuleManager.h"
#include "SLevelViewport.h"
#include "SceneView.h"
#include "SceneViewExtension.h"
#include "Slate/SceneViewport.h"

#include <cmath>

namespace
{
using EngineTestSupport::EngineFixture;

class EngineRender_test : public EngineFixture
{
};

/** Logs its calls and what the family held at each; active only for its viewport when it has one. */
class FLoggingExtension : public FSceneViewExtensionBase
{
public:
	FLoggingExtension(const FAutoRegister& AutoRegister, TArray<FString>* InLog, int32 InPriority, FViewport* InViewport = nullptr)
		: FSceneViewExtensionBase(AutoRegister)
		, Log(InLog)
		, Priority(InPriority)
		, Viewport(InViewport)
	{
	}

	virtual void SetupViewFamily(FSceneViewFamily& InViewFamily) override { Add(TEXT("SetupViewFamily"), InViewFamily); }
	virtual void SetupView(FSceneViewFamily& InViewFamily, FSceneView& /*InView*/) override { Add(TEXT("SetupView"), InViewFamily); }
	virtual void BeginRenderViewFamily(FSceneViewFamily& InViewFamily) override { Add(TEXT("BeginRenderViewFamily"), InViewFamily); }
	virtual int32 GetPriority() const override { return Priority; }

protected:
	virtual bool IsActiveThisFrame_Internal(const FSceneViewExtensionContext& Context) const override
	{
		return Viewport == nullptr || Context.Viewport == Viewport;
	}

private:
	void Add(const TCHAR* Call, const FSceneViewFamily& Family)
	{
		if (Log != nullptr)
		{
			Log->Add(FString::Printf(TEXT("%d:%s:%d"), Priority, Call, Family.Views.Num()));
		}
	}

	TArray<FString>* Log;
	int32 Priority;
	FViewport* Viewport;
};

using FLoggingExtensionRef = TSharedRef<FLoggingExtension, ESPMode::ThreadSafe>;

TArray<const ISceneViewExtension*> Gather(FViewport* Viewport)
{
	TArray<const ISceneViewExtension*> Result;
	for (const FSceneViewExtensionRef& Extension : GEngine->ViewExtensions->GatherActiveExtensions(FSceneViewExtensionContext(Viewport)))
	{
		Result.Add(&Extension.Get());
	}
	return Result;
}

void ExpectMatrixNear(const FMatrix& Actual, const double (&Expected)[4][4], double Tolerance = 1e-6)
{
	for (int32 Row = 0; Row < 4; ++Row)
	{
		for (int32 Column = 0; Column < 4; ++Column)
		{
			EXPECT_NEAR(Actual.M[Row][Column], Expected[Row][Column], Tolerance) << "M[" << Row << "][" << Column << "]";
		}
	}
}

EngineTesting::FRenderedViewport LastRenderOf(const FViewport* Viewport)
{
	const TArray<EngineTesting::FRenderedViewport> Renders = EngineTesting::GetRenderedViewports();
	for (int32 Index = Renders.Num() - 1; Index >= 0; --Index)
	{
		if (Renders[Index].Viewport == Viewport)
		{
			return Renders[Index];
		}
	}
	return EngineTesting::FRenderedViewport();
}

} // namespace

TEST_F(EngineRender_test, RegistryKeepsWeakReferencesGathersByPriorityAndAsksEachExtensionAboutTheViewport)
{
	EngineTesting::StartGameEngine();
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	const TSharedRef<FSceneViewport> OtherViewport = MakeShared<FSceneViewport>(nullptr, nullptr);
	FViewport* Other = &OtherViewport.Get();

	FLoggingExtensionRef Low = FSceneViewExtensions::NewExtension<FLoggingExtension>(nullptr, -1);
	TSharedPtr<FLoggingExtension, ESPMode::ThreadSafe> High = FSceneViewExtensions::NewExtension<FLoggingExtension>(nullptr, 5);
	FLoggingExtensionRef Middle = FSceneViewExtensions::NewExtension<FLoggingExtension>(nullptr, 0, Play.Viewport);

	const TArray<const ISceneViewExtension*> ForGame = Gather(Play.Viewport);
	ASSERT_EQ(ForGame.Num(), 3);
	EXPECT_EQ(ForGame[0], High.Get());
	EXPECT_EQ(ForGame[1], &Middle.Get());
	EXPECT_EQ(ForGame[2], &Low.Get());

	const TArray<const ISceneViewExtension*> ForOther = Gather(Other);
	ASSERT_EQ(ForOther.Num(), 2) << "an extension bound to one viewport is not active for another";
	EXPECT_EQ(ForOther[0], High.Get());
	EXPECT_EQ(ForOther[1], &Low.Get());

	// The registry holds no reference of its own: dropping the last shared pointer ends the extension.
	TWeakPtr<FLoggingExtension, ESPMode::ThreadSafe> WeakHigh = High;
	High.Reset();
	EXPECT_FALSE(WeakHigh.IsValid());
	const TArray<const ISceneViewExtension*> AfterDrop = Gather(Play.Viewport);
	ASSERT_EQ(AfterDrop.Num(), 2);
	EXPECT_EQ(AfterDrop[0], &Middle.Get());

	// A functor's definite answer comes before the extension's own test.
	FSceneViewExtensionIsActiveFunctor Never;
	Never.IsActiveFunction = [](const ISceneViewExtension*, const FSceneViewExtensionContext&) { return TOptional<bool>(false); };
	Low->IsActiveThisFrameFunctions.Add(Never);
	EXPECT_EQ(Gather(Play.Viewport).Num(), 1);
}

TEST_F(EngineRender_test, FrameCallsExtensionsAroundThePlayerViewInTheEngineOrderForTheirViewportOnly)
{
	EngineTesting::StartGameEngine();
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	TArray<FString> Log;
	FLoggingExtensionRef First = FSceneViewExtensions::NewExtension<FLoggingExtension>(&Log, 2, Play.Viewport);
	FLoggingExtensionRef Second = FSceneViewExtensions::NewExtension<FLoggingExtension>(&Log, 1);
	const TSharedRef<FSceneViewport> OtherViewport = MakeShared<FSceneViewport>(nullptr, nullptr);
	FLoggingExtensionRef Elsewhere = FSceneViewExtensions::NewExtension<FLoggingExtension>(&Log, 3, &OtherViewport.Get());

	EngineTesting::RunFrame();

	// "priority:call:views in the family": the family is set up empty, the player's view is made and set up,
	// then the renderer starts the family with its view.
	const TArray<FString> Expected = {TEXT("2:SetupViewFamily:0"), TEXT("1:SetupViewFamily:0"), TEXT("2:SetupView:1"), TEXT("1:SetupView:1"),
		TEXT("2:BeginRenderViewFamily:1"), TEXT("1:BeginRenderViewFamily:1")};
	EXPECT_EQ(Log, Expected);

	const EngineTesting::FRenderedViewport Render = LastRenderOf(Play.Viewport);
	ASSERT_EQ(Render.Views.Num(), 1);
	ASSERT_EQ(Render.BegunExtensions.Num(), 2);
	EXPECT_EQ(Render.BegunExtensions[0], &First.Get());
	EXPECT_EQ(Render.BegunExtensions[1], &Second.Get());

	// Without a player there is no view, and the renderer (with BeginRenderViewFamily) is skipped. The new
	// game has a new viewport, for which only the unbound extension is active.
	EngineTesting::StopPlay();
	Log.Reset();
	EngineTesting::ResetRecords();
	EngineTesting::StartPlay(EngineTesting::CreateGameWorld(), [] { EngineTesting::FPlayOptions Options; Options.bSpawnPlayer = false; return Options; }());
	EngineTesting::RunFrame();
	EXPECT_EQ(Log, (TArray<FString>{TEXT("1:SetupViewFamily:0")}));
	EXPECT_EQ(EngineTesting::GetRenderedViewports().Num(), 0);
}

TEST_F(EngineRender_test, PlayerViewUsesTheReversedZProjectionOfTheCameraFieldOfView)
{
	EngineTesting::StartGameEngine();
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	Play.Pawn->SetActorLocation(FVector(100.0, 0.0, 0.0));

	EngineTesting::RunFrame();
	const EngineTesting::FRenderedViewport Render = LastRenderOf(Play.Viewport);
	ASSERT_EQ(Render.Views.Num(), 1);
	// 90 degrees: 1 / tan(45) = 1; the vertical term keeps the horizontal FOV: 1280 / 720; near plane 10.
	const double Wide[4][4] = {{1, 0, 0, 0}, {0, 1280.0 / 720.0, 0, 0}, {0, 0, 0, 1}, {0, 0, 10, 0}};
	ExpectMatrixNear(Render.Views[0].ProjectionMatrix, Wide);
	EXPECT_EQ(Render.Views[0].UnconstrainedViewRect, FIntRect(0, 0, 1280, 720));
	EXPECT_EQ(Render.Views[0].UnscaledViewRect, FIntRect(0, 0, 1280, 720));
	// The view is the camera component's: world X forward becomes view Z, and the origin moves to the camera.
	EXPECT_TRUE(Render.Views[0].ViewLocation.Equals(FVector(100.0, 0.0, 0.0), 1e-9));
	EXPECT_TRUE(Render.Views[0].ViewMatrix.TransformPosition(FVector(110.0, 0.0, 0.0)).Equals(FVector(0.0, 0.0, 10.0), 1e-9));

	// A locked FOV of 60 degrees: 1 / tan(30) = sqrt(3).
	Play.CameraManager->SetFOV(60.0f);
	EngineTesting::RunFrame();
	const FMatrix Locked = LastRenderOf(Play.Viewport).Views[0].ProjectionMatrix;
	EXPECT_NEAR(Locked.M[0][0], std::sqrt(3.0), 1e-6);
	EXPECT_NEAR(Locked.M[1][1], std::sqrt(3.0) * 1280.0 / 720.0, 1e-5);

	// Replacing the projection refreshes the derived matrices.
	FSceneViewFamilyContext Family(FSceneViewFamily::ConstructionValues(Play.Viewport, nullptr, FEngineShowFlags(ESFIM_Game)));
	FVector Location;
	FRotator Rotation;
	FSceneView* View = Play.LocalPlayer->CalcSceneView(&Family, Location, Rotation, Play.Viewport);
	ASSERT_NE(View, nullptr);
	ASSERT_EQ(Family.Views.Num(), 1);
	FMatrix Replaced = View->ViewMatrices.GetProjectionMatrix();
	Replaced.M[2][0] = 0.25;
	View->UpdateProjectionMatrix(Replaced);
	EXPECT_EQ(View->ViewMatrices.GetProjectionMatrix().M[2][0], 0.25);
	EXPECT_TRUE(View->ViewMatrices.GetViewProjectionMatrix().Equals(View->ViewMatrices.GetViewMatrix() * Replaced, 1e-9));
	EXPECT_TRUE((Replaced * View->ViewMatrices.GetInvProjectionMatrix()).Equals(FMatrix::Identity, 1e-9));
}

TEST_F(EngineRender_test, ConstrainedAspectNarrowsTheViewWithCentredBarsFromTheViewTargetsCamera)
{
	EngineTesting::StartGameEngine();
	UWorld* World = EngineTesting::CreateGameWorld();
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(World);

	// A camera component decides the aspect: the manager's defaults do not apply to its view target.
	Play.CameraManager->DefaultAspectRatio = 1.0f;
	Play.CameraManager->bDefaultConstrainAspectRatio = true;
	Play.CameraComponent->bConstrainAspectRatio = true;
	Play.CameraComponent->AspectRatio = 2.0f;
	EngineTesting::RunFrame();
	EngineTesting::FRenderedView View = LastRenderOf(Play.Viewport).Views[0];
	EXPECT_EQ(View.UnconstrainedViewRect, FIntRect(0, 0, 1280, 720));
	EXPECT_EQ(View.UnscaledViewRect, FIntRect(0, 40, 1280, 680)) << "1280 / 2 = 640 rows, 40 above and below";
	EXPECT_NEAR(View.ProjectionMatrix.M[1][1], 2.0, 1e-6);

	// An inactive camera leaves the view to the manager's defaults and the pawn's eyes.
	Play.CameraComponent->Deactivate();
	Play.Pawn->BaseEyeHeight = 50.0f;
	EngineTesting::RunFrame();
	View = LastRenderOf(Play.Viewport).Views[0];
	EXPECT_EQ(View.UnscaledViewRect, FIntRect(280, 0, 1000, 720)) << "720 columns for aspect 1, centred";
	EXPECT_TRUE(View.ViewLocation.Equals(FVector(0.0, 0.0, 50.0), 1e-9));

	// A view target that is not a pawn is seen from its own location; orthographic by the manager's flag.
	AActor* Target = EngineTesting::SpawnViewTargetActor(World, FTransform(FVector(5.0, 6.0, 7.0)));
	Play.PlayerController->SetViewTarget(Target);
	Play.CameraManager->bIsOrthographic = true;
	EngineTesting::RunFrame();
	View = LastRenderOf(Play.Viewport).Views[0];
	EXPECT_TRUE(View.ViewLocation.Equals(FVector(5.0, 6.0, 7.0), 1e-9));
	EXPECT_EQ(View.ProjectionMatrix.M[3][3], 1.0);
	EXPECT_NEAR(View.ProjectionMatrix.M[0][0], 1.0 / 256.0, 1e-9) << "half of the default ortho width 512";
}

TEST_F(EngineRender_test, NewLocalPlayersTakeTheClassResolvedAtStartNotALaterName)
{
	EngineTesting::StartGameEngine();
	GEngine->LocalPlayerClassName = FSoftClassPath(TEXT("/Script/EngineFixture.EngineFixtureLocalPlayer"));
	EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	EXPECT_FALSE(Play.LocalPlayer->IsA<UEngineFixtureLocalPlayer>()) << "the name alone is read only at start";
	EngineTesting::StopPlay();

	GEngine->LocalPlayerClass = UEngineFixtureLocalPlayer::StaticClass();
	Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	EXPECT_TRUE(Play.LocalPlayer->IsA<UEngineFixtureLocalPlayer>());
}

TEST_F(EngineRender_test, PlayInEditorSessionsGetTheirOwnViewportsInAWindowOrInTheLevelViewport)
{
	UEditorEngine* Editor = EngineTesting::StartEditorEngine();
	FLevelEditorModule& LevelEditor = FModuleManager::LoadModuleChecked<FLevelEditorModule>(TEXT("LevelEditor"));
	const TSharedPtr<SLevelViewport> LevelViewport = LevelEditor.GetFirstActiveLevelViewport();
	ASSERT_TRUE(LevelViewport.IsValid());
	const TSharedPtr<FSceneViewport> EditorViewport = LevelViewport->GetSharedActiveViewport();
	ASSERT_TRUE(EditorViewport.IsValid());
	EXPECT_EQ(EditorViewport->GetSizeXY(), FIntPoint(1280, 720));

	const EngineTesting::FPlaySession First = EngineTesting::StartPlayInEditor();
	EXPECT_EQ(LevelViewport->GetSharedActiveViewport(), EditorViewport) << "a session in its own window leaves the level viewport";
	EngineTesting::RunFrame();
	EXPECT_EQ(LastRenderOf(First.Viewport).Views.Num(), 1);
	FViewport* const FirstViewport = First.Viewport;
	EngineTesting::StopPlayInEditor();

	const EngineTesting::FPlaySession Second = EngineTesting::StartPlayInEditor();
	EXPECT_NE(static_cast<FViewport*>(Second.Viewport), FirstViewport);
	EngineTesting::StopPlayInEditor();

	EngineTesting::FPlayOptions InLevel;
	InLevel.bPlayInLevelViewport = true;
	const EngineTesting::FPlaySession Third = EngineTesting::StartPlayInEditor(InLevel);
	const FSlatePlayInEditorInfo* Info = Editor->SlatePlayInEditorMap.Find(Editor->GetPIEWorldContext()->ContextHandle);
	ASSERT_NE(Info, nullptr);
	EXPECT_EQ(Info->DestinationSlateViewport.Pin(), StaticCastSharedPtr<IAssetViewport>(LevelViewport));
	EXPECT_FALSE(Info->SlatePlayInEditorWindowViewport.IsValid());
	EXPECT_EQ(LevelViewport->GetSharedActiveViewport().Get(), Third.Viewport);
	EXPECT_NE(Third.Viewport, EditorViewport.Get());
	EXPECT_EQ(Third.Viewport->GetSizeXY(), FIntPoint(1280, 720));
	EngineTesting::RunFrame();
	EXPECT_EQ(LastRenderOf(Third.Viewport).Views.Num(), 1);

	EngineTesting::StopPlayInEditor();
	EXPECT_EQ(LevelViewport->GetSharedActiveViewport(), EditorViewport);
}
