// The engine behaviour the plug-in relies on: worlds and their subsystems, the game and play-in-editor
// sessions, the gameplay classes it drives, and the frame.
#include "EngineTestSupport.h"

#include "Camera/CameraComponent.h"
#include "Camera/PlayerCameraManager.h"
#include "CoreGlobals.h"
#include "Editor.h"
#include "Editor/EditorPerformanceSettings.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"
#include "GameFramework/GameUserSettings.h"
#include "Misc/ConfigCacheIni.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "Misc/CoreDelegates.h"
#include "Scalability.h"
#include "Slate/SceneViewport.h"
#include "TextureShareWorldSubsystem.h"
#include "UObject/UnrealType.h"

#include <vector>

namespace
{
using EngineTestSupport::EngineFixture;

class EngineWorld_test : public EngineFixture
{
};

TEST_F(EngineWorld_test, WorldKindsAnswerIsGameWorld)
{
	EngineTesting::StartGameEngine();

	UWorld* Game = UWorld::CreateWorld(EWorldType::Game, true);
	UWorld* Pie = UWorld::CreateWorld(EWorldType::PIE, true);
	UWorld* Editor = UWorld::CreateWorld(EWorldType::Editor, true);
	UWorld* Preview = UWorld::CreateWorld(EWorldType::EditorPreview, true);

	EXPECT_TRUE(Game->IsGameWorld());
	EXPECT_TRUE(Pie->IsGameWorld());
	EXPECT_FALSE(Editor->IsGameWorld());
	EXPECT_FALSE(Preview->IsGameWorld());
	EXPECT_EQ(GEngine->GetWorldContexts().Num(), 4);
	EXPECT_EQ(GEngine->GetWorldContextFromWorld(Pie)->WorldType, EWorldType::PIE);
}

TEST_F(EngineWorld_test, NewWorldIsAnnouncedWithItsSubsystemsInPlace)
{
	EngineTesting::StartGameEngine();
	std::vector<UWorld*> Announced;
	bool bSubsystemPresentAtAnnouncement = false;
	const FDelegateHandle Handle = FWorldDelegates::OnPostWorldCreation.AddLambda([&](UWorld* World) {
		Announced.push_back(World);
		bSubsystemPresentAtAnnouncement = World->GetSubsystem<UTextureShareWorldSubsystem>() != nullptr;
	});

	UWorld* World = EngineTesting::CreateGameWorld();
	FWorldDelegates::OnPostWorldCreation.Remove(Handle);

	ASSERT_EQ(Announced.size(), 1u);
	EXPECT_EQ(Announced[0], World);
	EXPECT_TRUE(bSubsystemPresentAtAnnouncement);
}

TEST_F(EngineWorld_test, WorldSubsystemsAreFoundByClassNameAndGetTextureShareRunsThroughReflection)
{
	EngineTesting::StartGameEngine();
	UWorld* World = EngineTesting::CreateGameWorld();

	// What the plug-in does: walk the world subsystems, pick one by class name, call its function by name.
	UWorldSubsystem* Found = nullptr;
	for (UWorldSubsystem* Subsystem : World->GetSubsystemArrayCopy<UWorldSubsystem>())
	{
		if (Subsystem->GetClass()->GetName().Equals(TEXT("texturesharewORLDsubsystem"), ESearchCase::IgnoreCase))
		{
			Found = Subsystem;
		}
	}
	ASSERT_NE(Found, nullptr);
	EXPECT_EQ(Found, World->GetSubsystem<UTextureShareWorldSubsystem>());
	EXPECT_EQ(World->GetSubsystemArray<UWorldSubsystem>().Num(), World->GetSubsystemArrayCopy<UWorldSubsystem>().Num());
	EXPECT_EQ(Found->GetWorld(), World);

	UFunction* Function = Found->FindFunction(FName(TEXT("GetTextureShare")));
	ASSERT_NE(Function, nullptr);
	std::vector<uint8> Parms(Function->ParmsSize, 0);
	Found->ProcessEvent(Function, Parms.data());
	UObject* Returned = nullptr;
	ASSERT_GE(Parms.size(), sizeof(UObject*));
	std::memcpy(&Returned, Parms.data(), sizeof(UObject*));

	ASSERT_NE(Returned, nullptr);
	EXPECT_NE(Cast<UTextureShare>(Returned), nullptr);
	EXPECT_EQ(Returned, CastChecked<UTextureShareWorldSubsystem>(Found)->GetTextureShare());
}

TEST_F(EngineWorld_test, StandaloneGameHasViewportClientPlayerAndViewTargetUntilItStops)
{
	UGameEngine* Engine = EngineTesting::StartGameEngine();
	EXPECT_FALSE(GIsEditor);
	UWorld* World = EngineTesting::CreateGameWorld();
	EngineTesting::FPlayOptions Options;
	Options.ViewportSize = FIntPoint(1920, 1080);
	Options.WindowMode = EWindowMode::WindowedFullscreen;

	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(World, Options);

	ASSERT_NE(GEngine->GameViewport, nullptr);
	EXPECT_EQ(GEngine->GameViewport->GetWorld(), World);
	EXPECT_EQ(GEngine->GameViewport->GetGameViewport(), Engine->SceneViewport.Get());
	EXPECT_EQ(static_cast<FViewport*>(Engine->SceneViewport.Get()), GEngine->GameViewport->Viewport);
	EXPECT_EQ(Engine->SceneViewport->GetSizeXY(), FIntPoint(1920, 1080));
	EXPECT_EQ(GEngine->GameViewport->Viewport->GetWindowMode(), EWindowMode::WindowedFullscreen);
	EXPECT_EQ(GEngine->GetWorldContextFromGameViewport(GEngine->GameViewport)->World(), World);

	APlayerController* Controller = World->GetFirstPlayerController();
	ASSERT_EQ(Controller, Play.PlayerController);
	ASSERT_NE(Controller->PlayerCameraManager, nullptr);
	EXPECT_EQ(Controller->GetViewTarget(), Play.Pawn);
	EXPECT_EQ(Play.Pawn->GetController(), Controller);
	EXPECT_EQ(GEngine->GetDebugLocalPlayer(), Play.LocalPlayer);
	EXPECT_TRUE(Play.Pawn->HasActorBegunPlay());

	TArray<UCameraComponent*> Cameras;
	Controller->GetViewTarget()->GetComponents(Cameras);
	ASSERT_EQ(Cameras.Num(), 1);
	EXPECT_TRUE(Cameras[0]->IsActive());

	EngineTesting::StopPlay();
	EXPECT_EQ(GEngine->GameViewport, nullptr);
	EXPECT_FALSE(Engine->SceneViewport.IsValid());
}

TEST_F(EngineWorld_test, ViewTargetPawnFollowsTransformsRotationAndPhysicsRequests)
{
	EngineTesting::StartGameEngine();
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	const FTransform Target(FRotator(10.0, 20.0, 30.0), FVector(1.0, 2.0, 3.0));

	Play.CameraComponent->SetWorldTransform(Target);
	EXPECT_TRUE(Play.CameraComponent->GetComponentTransform().Equals(Target, 1e-9));

	// The camera is attached to the pawn's root, so it moves with the pawn.
	Play.Pawn->SetActorLocation(FVector(100.0, 0.0, 0.0));
	EXPECT_TRUE(Play.Pawn->GetActorLocation().Equals(FVector(100.0, 0.0, 0.0), 1e-9));
	EXPECT_TRUE(Play.CameraComponent->GetComponentLocation().Equals(FVector(101.0, 2.0, 3.0), 1e-9));

	Play.PlayerController->ClientSetRotation(FRotator(5.0, 45.0, 0.0));
	EXPECT_TRUE(Play.PlayerController->GetControlRotation().Equals(FRotator(5.0, 45.0, 0.0), 1e-9));
	// A pawn follows the controller's yaw only, by default.
	EXPECT_NEAR(Play.Pawn->GetActorRotation().Yaw, 45.0, 1e-3);
	EXPECT_NEAR(Play.Pawn->GetActorRotation().Pitch, 0.0, 1e-3);

	APlayerCameraManager* Manager = Play.CameraManager;
	Manager->SetFOV(70.0f);
	EXPECT_FLOAT_EQ(Manager->GetFOVAngle(), 70.0f);
	EXPECT_FLOAT_EQ(Manager->DefaultFOV, 90.0f);
}

TEST_F(EngineWorld_test, PlayInEditorSwitchesWorldsAndRecordsFrameResize)
{
	UEditorEngine* Editor = EngineTesting::StartEditorEngine();
	EXPECT_TRUE(GIsEditor);
	EXPECT_EQ(GEditor, Editor);
	UWorld* EditedWorld = GWorld;
	ASSERT_NE(EditedWorld, nullptr);
	EXPECT_EQ(EditedWorld->WorldType, EWorldType::Editor);
	EXPECT_EQ(GEngine->GameViewport, nullptr);

	const EngineTesting::FPlaySession Play = EngineTesting::StartPlayInEditor();

	ASSERT_NE(Editor->PlayWorld, nullptr);
	EXPECT_EQ(Editor->PlayWorld, Play.World);
	EXPECT_TRUE(Play.World->IsGameWorld());
	EXPECT_EQ(GEngine->GameViewport->GetWorld(), Play.World);
	EXPECT_EQ(GWorld, EditedWorld);
	const FWorldContext* PieContext = Editor->GetPIEWorldContext();
	ASSERT_NE(PieContext, nullptr);
	const FSlatePlayInEditorInfo* Info = Editor->SlatePlayInEditorMap.Find(PieContext->ContextHandle);
	ASSERT_NE(Info, nullptr);
	EXPECT_FALSE(Info->DestinationSlateViewport.IsValid());
	EXPECT_EQ(Info->SlatePlayInEditorWindowViewport.Get(), Play.Viewport);

	UWorld* Previous = SetPlayInEditorWorld(Editor->PlayWorld);
	EXPECT_EQ(Previous, EditedWorld);
	EXPECT_EQ(GWorld, Play.World);
	EXPECT_TRUE(GIsPlayInEditorWorld);
	ULocalPlayer* Player = GEngine->GetDebugLocalPlayer();
	ASSERT_NE(Player, nullptr);
	ASSERT_NE(Player->ViewportClient, nullptr);
	ASSERT_NE(Player->ViewportClient->ViewportFrame, nullptr);
	Player->ViewportClient->ViewportFrame->ResizeFrame(1930, 1114, EWindowMode::Windowed);
	RestoreEditorWorld(Previous);
	EXPECT_EQ(GWorld, EditedWorld);
	EXPECT_FALSE(GIsPlayInEditorWorld);

	const TArray<EngineTesting::FFrameResizeRequest> Resizes = EngineTesting::GetFrameResizeRequests();
	ASSERT_EQ(Resizes.Num(), 1);
	EXPECT_EQ(Resizes[0].Frame, static_cast<FViewportFrame*>(Play.Viewport));
	EXPECT_EQ(Resizes[0].SizeX, 1930u);
	EXPECT_EQ(Resizes[0].SizeY, 1114u);

	EngineTesting::StopPlayInEditor();
	EXPECT_EQ(Editor->PlayWorld, nullptr);
	EXPECT_EQ(GEngine->GameViewport, nullptr);
	EXPECT_EQ(Editor->SlatePlayInEditorMap.Num(), 0);
	EXPECT_EQ(Editor->GetPIEWorldContext(), nullptr);
}

TEST_F(EngineWorld_test, FrameBroadcastsBeginTicksAndEndInOrder)
{
	EngineTesting::StartGameEngine();
	EngineTesting::StartPlay(EngineTesting::CreateGameWorld());
	std::vector<std::string> Events;
	const FDelegateHandle Begin = FCoreDelegates::OnBeginFrame.AddLambda([&] { Events.push_back("begin"); });
	const FDelegateHandle End = FCoreDelegates::OnEndFrame.AddLambda([&] { Events.push_back("end"); });
	const uint64 FrameBefore = GFrameCounter;

	EngineTesting::RunFrame();
	EngineTesting::RunFrame();

	FCoreDelegates::OnBeginFrame.Remove(Begin);
	FCoreDelegates::OnEndFrame.Remove(End);
	EXPECT_EQ(Events, (std::vector<std::string>{"begin", "end", "begin", "end"}));
	EXPECT_EQ(GFrameCounter, FrameBefore + 2);
}

TEST_F(EngineWorld_test, GameUserSettingsApplyEverythingTheUserSavedAndSaveIt)
{
	EngineTesting::StartGameEngine();
	StandInTesting::ResetQualityLevels();
	// The user's levels are those in force when the settings are loaded.
	Scalability::FQualityLevels UserLevels = Scalability::GetQualityLevels();
	UserLevels.ShadowQuality = 0;
	Scalability::SetQualityLevels(UserLevels);
	UGameUserSettings* Settings = GEngine->GetGameUserSettings();
	ASSERT_EQ(Settings, GEngine->GetGameUserSettings());

	Settings->SetAntiAliasingQuality(9);
	EXPECT_EQ(Settings->GetAntiAliasingQuality(), 4);
	Settings->SetAntiAliasingQuality(1);

	// Levels set since are replaced by the user's on apply.
	Scalability::FQualityLevels Other;
	Other.SetFromSingleQualityLevel(4);
	Scalability::SetQualityLevels(Other);
	StandInTesting::ClearResolutionRequests();
	Settings->ApplySettings(false);

	EXPECT_EQ(Scalability::GetQualityLevels().AntiAliasingQuality, 1);
	EXPECT_EQ(Scalability::GetQualityLevels().ShadowQuality, 0);
	EXPECT_EQ(Scalability::GetQualityLevels().TextureQuality, UserLevels.TextureQuality);
	EXPECT_EQ(EngineTesting::GetApplySettingsCalls(), TArray<bool>({false}));
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 1);

	// The saved window size is requested again, and the levels are saved with the user's settings.
	const TArray<StandInTesting::FResolutionRequest> Requests = StandInTesting::GetResolutionRequests();
	ASSERT_EQ(Requests.Num(), 1);
	EXPECT_EQ(Requests[0].ResX, Settings->GetScreenResolution().X);
	EXPECT_EQ(Requests[0].ResY, Settings->GetScreenResolution().Y);
	int32 SavedShadow = -1;
	EXPECT_TRUE(GConfig->GetInt(TEXT("ScalabilityGroups"), TEXT("sg.ShadowQuality"), SavedShadow, GGameUserSettingsIni));
	EXPECT_EQ(SavedShadow, 0);
}

TEST_F(EngineWorld_test, EditorPerformanceSettingsChangeIsNotified)
{
	EngineTesting::StartEditorEngine();
	UEditorPerformanceSettings* Settings = GetMutableDefault<UEditorPerformanceSettings>();
	ASSERT_NE(Settings, nullptr);
	EXPECT_TRUE(Settings->bThrottleCPUWhenNotForeground);

	Settings->bThrottleCPUWhenNotForeground = false;
	Settings->PostEditChange();

	EXPECT_EQ(EngineTesting::GetPerformanceSettingsChangeCount(), 1);
	EXPECT_FALSE(GetDefault<UEditorPerformanceSettings>()->bThrottleCPUWhenNotForeground);
}

} // namespace
