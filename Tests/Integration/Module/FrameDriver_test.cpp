// The frame driver against the host: render quality, resolution requests, the rendering back-end error, the
// settings forced while a game runs, the game-running byte of the slot and the profiler scopes.
#include "ModuleTestSupport.h"

#include "Editor/EditorPerformanceSettings.h"
#include "Engine/Engine.h"
#include "EngineTesting.h"
#include "GameFramework/GameUserSettings.h"
#include "Misc/ConfigCacheIni.h"
#include "Scalability.h"
#include "StandInTesting.h"
#include "TextureShareTesting.h"
#include "UObject/UObjectGlobals.h"

#include "KorvatPluginModule.h"

#include <string>

namespace Korvat::ModuleTesting
{
namespace
{
using Korvat::UE4::Tag::QLTY;
using Korvat::UE4::Tag::RESN;
using Korvat::UE4::Tag::VERR;

const TCHAR* const KorvatLocalPlayerPath = TEXT("/Script/KorvatPlugin.KorvatLocalPlayer");

/** Levels no render quality produces: all high with low shadows and reduced resolution. */
Scalability::FQualityLevels ProjectLevels()
{
	Scalability::FQualityLevels Levels;
	Levels.SetFromSingleQualityLevel(2);
	Levels.SetShadowQuality(0);
	Levels.ResolutionQuality = 75.0f;
	return Levels;
}

using FrameDriverTest = ModuleTest;

TEST_F(FrameDriverTest, RenderQualityAppliesOnlyWhileTheGameRuns)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	// The project's levels as the running engine has them (start-up forced the anti-aliasing already).
	Scalability::SetQualityLevels(ProjectLevels());
	StandInTesting::ClearScalabilityApplications();

	// Before the game: remembered, nothing applied.
	Send(QLTY, Words({2}));
	RunFrames(3);
	EXPECT_TRUE(StandInTesting::GetScalabilityApplications().IsEmpty());
	EXPECT_EQ(Scalability::GetQualityLevels(), ProjectLevels());

	// Game start: medium everywhere, applied after the user's settings (which the forced anti-aliasing applies).
	Engine->StartPlay();
	RunFrames(1);
	TArray<StandInTesting::FScalabilityApplication> Applied = StandInTesting::GetScalabilityApplications();
	ASSERT_GE(Applied.Num(), 1);
	EXPECT_EQ(Applied.Last().Levels.GetSingleQualityLevel(), 1);
	EXPECT_FALSE(Applied.Last().bForce);
	EXPECT_EQ(Scalability::GetQualityLevels().GetSingleQualityLevel(), 1);

	// Default: the levels in force when the game started.
	StandInTesting::ClearScalabilityApplications();
	Send(QLTY, Words({0}));
	RunFrames(1);
	Applied = StandInTesting::GetScalabilityApplications();
	ASSERT_EQ(Applied.Num(), 1);
	EXPECT_EQ(Applied[0].Levels, ProjectLevels());
	EXPECT_EQ(Applied[0].Levels.ResolutionQuality, 75.0f);

	// Out of range: as very high.
	for (const std::int32_t Quality : {7, -1})
	{
		StandInTesting::ClearScalabilityApplications();
		Send(QLTY, Words({Quality}));
		RunFrames(1);
		Applied = StandInTesting::GetScalabilityApplications();
		ASSERT_EQ(Applied.Num(), 1) << Quality;
		EXPECT_EQ(Applied[0].Levels.GetSingleQualityLevel(), 3) << Quality;
	}
	StandInTesting::ClearScalabilityApplications();
	Send(QLTY, Words({5}));
	RunFrames(1);
	Applied = StandInTesting::GetScalabilityApplications();
	ASSERT_EQ(Applied.Num(), 1);
	EXPECT_EQ(Applied[0].Levels.GetSingleQualityLevel(), 4);

	// Game stop: the project's own levels return, and a later quality waits for the next game.
	StandInTesting::ClearScalabilityApplications();
	Engine->StopPlay();
	RunFrames(1);
	Applied = StandInTesting::GetScalabilityApplications();
	ASSERT_EQ(Applied.Num(), 1);
	EXPECT_EQ(Applied[0].Levels, ProjectLevels());
	EXPECT_EQ(Scalability::GetQualityLevels(), ProjectLevels());
	Send(QLTY, Words({1}));
	RunFrames(2);
	EXPECT_EQ(StandInTesting::GetScalabilityApplications().Num(), 1);

	StandInTesting::ClearScalabilityApplications();
	Engine->StartPlay();
	RunFrames(1);
	const Scalability::FQualityLevels Low = Scalability::GetQualityLevels();
	EXPECT_EQ(Low.ShadowQuality, 0);
	EXPECT_EQ(Low.TextureQuality, 0);
	EXPECT_EQ(Low.AntiAliasingQuality, 1) << "the game start forces FXAA's anti-aliasing over the host's level";
}

TEST_F(FrameDriverTest, TheHostQualityStandsAtGameStartAndIsNeverSavedAsTheUsers)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	// The user's own saved levels: low shadows, cinematic textures.
	Scalability::FQualityLevels UserLevels;
	UserLevels.SetShadowQuality(0);
	UserLevels.SetTextureQuality(4);
	Scalability::SetQualityLevels(UserLevels);
	GEngine->GetGameUserSettings()->LoadSettings(true);
	StandInTesting::ClearResolutionRequests();

	Send(QLTY, Words({3}));
	RunFrames(2);
	Engine->StartPlay();
	RunFrames(2);

	// The host's high levels, with FXAA's anti-aliasing: the user's settings, applied at the game start,
	// did not put the user's levels back over them.
	const Scalability::FQualityLevels InForce = Scalability::GetQualityLevels();
	EXPECT_EQ(InForce.ShadowQuality, 2);
	EXPECT_EQ(InForce.TextureQuality, 2);
	EXPECT_EQ(InForce.EffectsQuality, 2);
	EXPECT_EQ(InForce.AntiAliasingQuality, 1);

	// What was saved as the user's is the user's (with the forced anti-aliasing), never the host's.
	int32 SavedShadow = -1;
	int32 SavedTexture = -1;
	int32 SavedAntiAliasing = -1;
	EXPECT_TRUE(GConfig->GetInt(TEXT("ScalabilityGroups"), TEXT("sg.ShadowQuality"), SavedShadow, GGameUserSettingsIni));
	EXPECT_TRUE(GConfig->GetInt(TEXT("ScalabilityGroups"), TEXT("sg.TextureQuality"), SavedTexture, GGameUserSettingsIni));
	EXPECT_TRUE(GConfig->GetInt(TEXT("ScalabilityGroups"), TEXT("sg.AntiAliasingQuality"), SavedAntiAliasing, GGameUserSettingsIni));
	EXPECT_EQ(SavedShadow, 0);
	EXPECT_EQ(SavedTexture, 4);
	EXPECT_EQ(SavedAntiAliasing, 1);

	// And the user's saved window size was not requested over the host's.
	EXPECT_TRUE(StandInTesting::GetResolutionRequests().IsEmpty());

	// Game stop: the levels in force before the game return.
	Engine->StopPlay();
	RunFrames(1);
	EXPECT_EQ(Scalability::GetQualityLevels().ShadowQuality, 0);
	EXPECT_EQ(Scalability::GetQualityLevels().TextureQuality, 4);
}

TEST_F(FrameDriverTest, ResolutionIsRequestedEveryFrameUntilTheHostRepeatsTheSize)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	Engine->StartPlay();
	RunFrames(1);
	StandInTesting::ClearResolutionRequests();

	Send(RESN, Words({1920, 1080}));
	RunFrames(3);
	TArray<StandInTesting::FResolutionRequest> Requests = StandInTesting::GetResolutionRequests();
	ASSERT_EQ(Requests.Num(), 3);
	for (const StandInTesting::FResolutionRequest& Request : Requests)
	{
		EXPECT_EQ(Request.ResX, 1920);
		EXPECT_EQ(Request.ResY, 1080);
		EXPECT_EQ(Request.WindowMode, EWindowMode::Windowed);
	}
	// Outside the editor there is no play window frame to resize.
	EXPECT_TRUE(EngineTesting::GetFrameResizeRequests().IsEmpty());

	Send(RESN, Words({1920, 1080}));
	RunFrames(1);
	StandInTesting::ClearResolutionRequests();
	RunFrames(2);
	EXPECT_TRUE(StandInTesting::GetResolutionRequests().IsEmpty());

	// A different size is a new request.
	Send(RESN, Words({800, 600}));
	RunFrames(1);
	Requests = StandInTesting::GetResolutionRequests();
	ASSERT_EQ(Requests.Num(), 1);
	EXPECT_EQ(Requests[0].ResX, 800);
	EXPECT_EQ(Requests[0].ResY, 600);
}

TEST_F(FrameDriverTest, PlayInEditorWindowFrameGrowsWithTheRequestedResolution)
{
	StartHost();
	StartEngine(SandboxOptions(TEXT("D3D11"), true));
	ASSERT_TRUE(RunUntilConnected());
	Engine->StartPlay();
	RunFrames(1);
	StandInTesting::ClearResolutionRequests();
	EngineTesting::ResetRecords();

	Send(RESN, Words({1920, 1080}));
	RunFrames(2);
	const TArray<EngineTesting::FFrameResizeRequest> Resizes = EngineTesting::GetFrameResizeRequests();
	ASSERT_EQ(Resizes.Num(), 2);
	for (const EngineTesting::FFrameResizeRequest& Resize : Resizes)
	{
		EXPECT_NE(Resize.Frame, nullptr);
		EXPECT_EQ(Resize.SizeX, 1930u);
		EXPECT_EQ(Resize.SizeY, 1114u);
		EXPECT_EQ(Resize.WindowMode, EWindowMode::Windowed);
	}
	const TArray<StandInTesting::FResolutionRequest> Requests = StandInTesting::GetResolutionRequests();
	ASSERT_EQ(Requests.Num(), 2);
	EXPECT_EQ(Requests[0].ResX, 1920);
	EXPECT_EQ(Requests[0].ResY, 1080);
	// The editor's world is current again after the frame was resized in the play world's context.
	EXPECT_FALSE(GIsPlayInEditorWorld);
}

TEST_F(FrameDriverTest, OtherRenderBackEndSendsTheErrorEveryFrameAndSharesNothing)
{
	StartHost();
	StartEngine(SandboxOptions(TEXT("D3D12")));
	ASSERT_TRUE(RunUntilConnected());
	ForgetReceived();

	RunFrames(4);
	const std::string Expected =
		"ERROR: Unreal D2I requires using the DirectX 11 rendering backend, please switch your Unreal project to it.\n";
	ASSERT_EQ(Expected.size(), 108u);
	const std::vector<std::vector<std::uint8_t>> Errors = PayloadsOf(VERR);
	ASSERT_EQ(Errors.size(), 4u);
	for (const std::vector<std::uint8_t>& Payload : Errors)
	{
		EXPECT_EQ(std::string(Payload.begin(), Payload.end()), Expected);
	}

	const FString LogText = TEXT("Korvat texture share requires using the DirectX 11 rendering backend, please switch your project to it.");
	const auto CountLogLines = [&LogText] {
		int Count = 0;
		for (const StandInTesting::FCapturedLogLine& Line : StandInTesting::GetLogLines())
		{
			if (Line.Text == LogText)
			{
				EXPECT_EQ(Line.Category, FName(TEXT("LogKorvatPlugin")));
				EXPECT_EQ(Line.Verbosity, ELogVerbosity::Error);
				++Count;
			}
		}
		return Count;
	};
	EXPECT_EQ(CountLogLines(), 0);
	for (int Game = 1; Game <= 2; ++Game)
	{
		Engine->StartPlay();
		RunFrames(3);
		EXPECT_EQ(CountLogLines(), Game);
		EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 1);
		Engine->StopPlay();
		RunFrames(1);
	}

	// The share list of the connection stayed empty: no share object was made or announced.
	const std::vector<std::vector<std::uint8_t>> Lists = PayloadsOf(Korvat::UE4::Tag::TSHR);
	EXPECT_TRUE(Lists.empty());
	EXPECT_TRUE(TextureShareTesting::GetDeliveries().IsEmpty());
}

TEST_F(FrameDriverTest, GameStartForcesSettingsAndTheSlotFollowsPlay)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 0);
	// Set after engine init already, before any game makes its local player.
	EXPECT_EQ(GEngine->LocalPlayerClassName.ToString(), KorvatLocalPlayerPath);
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 1);

	// Something changed the anti-aliasing in between; the game start forces it again.
	GEngine->GetGameUserSettings()->SetAntiAliasingQuality(3);
	Engine->StartPlay();
	RunFrames(1);
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 1);
	EXPECT_EQ(GEngine->LocalPlayerClassName.ToString(), KorvatLocalPlayerPath);
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 2);
	EXPECT_EQ(GEngine->GetGameUserSettings()->GetAntiAliasingQuality(), 1);

	// Forced once per game start, not every frame, and never with the user's resolution.
	RunFrames(3);
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 2);
	EXPECT_TRUE(EngineTesting::GetApplySettingsCalls().IsEmpty());

	Engine->StopPlay();
	RunFrames(1);
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 0);
	Engine->StartPlay();
	RunFrames(1);
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 1);
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 3);
}

TEST_F(FrameDriverTest, EditorCpuThrottlingIsTurnedOffAfterInitAndWhilePlaying)
{
	StartEngine(SandboxOptions(TEXT("D3D11"), true));
	UEditorPerformanceSettings* Settings = GetMutableDefault<UEditorPerformanceSettings>();
	EXPECT_FALSE(Settings->bThrottleCPUWhenNotForeground);

	// Only frames with a game world force it again.
	Settings->bThrottleCPUWhenNotForeground = true;
	RunFrames(2);
	EXPECT_TRUE(Settings->bThrottleCPUWhenNotForeground);
	const int32 ChangesBefore = EngineTesting::GetPerformanceSettingsChangeCount();
	Engine->StartPlay();
	RunFrames(1);
	EXPECT_FALSE(Settings->bThrottleCPUWhenNotForeground);
	EXPECT_GT(EngineTesting::GetPerformanceSettingsChangeCount(), ChangesBefore);
	EXPECT_EQ(GEngine->LocalPlayerClassName.ToString(), KorvatLocalPlayerPath);
}

TEST_F(FrameDriverTest, ProfilerScopesOfTheAncTickOnlyWhileConnected)
{
	StandInTesting::SetCpuProfilerRecording(true);
	StartEngine();
	RunFrames(3);
	const auto KorvatScopes = [] {
		TArray<FString> Scopes;
		for (const FString& Scope : StandInTesting::GetCpuProfilerScopes())
		{
			if (Scope.StartsWith(TEXT("FKorvatPlugin::")))
			{
				Scopes.Add(Scope);
			}
		}
		return Scopes;
	};
	EXPECT_EQ(KorvatScopes(), TArray<FString>({TEXT("FKorvatPlugin::OnBeginFrame"), TEXT("FKorvatPlugin::OnBeginFrame"),
	                                           TEXT("FKorvatPlugin::OnBeginFrame")}));

	StartHost();
	ASSERT_TRUE(RunUntilConnected());
	StandInTesting::ClearCpuProfilerScopes();
	RunFrames(2);
	EXPECT_EQ(KorvatScopes(), TArray<FString>({TEXT("FKorvatPlugin::OnBeginFrame"), TEXT("FKorvatPlugin::TickANC"),
	                                           TEXT("FKorvatPlugin::OnBeginFrame"), TEXT("FKorvatPlugin::TickANC")}));
}

} // namespace
} // namespace Korvat::ModuleTesting
