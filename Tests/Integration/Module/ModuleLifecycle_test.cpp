// The module's life in the engine: what start-up leaves in the engine, the tickable's answers, the slot
// handed back at pre-exit, no notification reaching the module after shut-down, a second engine in the same
// process, and a new world while connected.
#include "ModuleTestSupport.h"

#include "Engine/Engine.h"
#include "Engine/World.h"
#include "EngineTesting.h"
#include "GameFramework/GameUserSettings.h"
#include "Features/IModularFeatures.h"
#include "IInputDeviceModule.h"
#include "Misc/CoreDelegates.h"
#include "StandInTesting.h"
#include "TextureShareTesting.h"

#include "KorvatPluginModule.h"

namespace Korvat::ModuleTesting
{
namespace
{
using Korvat::UE4::Tag::QLTY;
using Korvat::UE4::Tag::TSHR;
using Korvat::UE4::Tag::VERR;
using Korvat::UE4::Tag::VINT;

bool IsInputDeviceRegistered(FKorvatPlugin* Plugin)
{
	const TArray<IInputDeviceModule*> Devices =
		IModularFeatures::Get().GetModularFeatureImplementations<IInputDeviceModule>(IInputDeviceModule::GetModularFeatureName());
	return Devices.Contains(static_cast<IInputDeviceModule*>(Plugin));
}

using ModuleLifecycleTest = ModuleTest;

TEST_F(ModuleLifecycleTest, StartupConfiguresTextureShareAndRegistersAsInputDevice)
{
	StartEngine();
	FKorvatPlugin* Plugin = Engine->GetModule();

	// The engine's own default share objects are switched off, and the engine configuration file written out.
	bool bWritten = false;
	for (const StandInTesting::FConfigWrite& Write : StandInTesting::GetConfigWrites())
	{
		if (Write.Section == TEXT("/Script/TextureShare.TextureShareSettings") && Write.Key == TEXT("bCreateDefaults"))
		{
			EXPECT_EQ(Write.Filename, GEngineIni);
			EXPECT_EQ(Write.Value, TEXT("False"));
			bWritten = true;
		}
	}
	EXPECT_TRUE(bWritten);
	bool bFlushed = false;
	for (const StandInTesting::FConfigFlush& Flush : StandInTesting::GetConfigFlushes())
	{
		if (Flush.Filename == GEngineIni)
		{
			EXPECT_FALSE(Flush.bRemoveFromCache);
			bFlushed = true;
		}
	}
	EXPECT_TRUE(bFlushed);

	EXPECT_EQ(IInputDeviceModule::GetModularFeatureName(), FName(TEXT("InputDevice")));
	EXPECT_TRUE(IsInputDeviceRegistered(Plugin));

	// Post-engine-init forced FXAA, applying the user's settings but the resolution.
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 1);
	EXPECT_TRUE(EngineTesting::GetApplySettingsCalls().IsEmpty());
	ASSERT_NE(GEngine->GetGameUserSettings(), nullptr);
	EXPECT_EQ(GEngine->GetGameUserSettings()->GetAntiAliasingQuality(), 1);

	Engine->Shutdown();
	EXPECT_FALSE(IsInputDeviceRegistered(Plugin));
}

TEST_F(ModuleLifecycleTest, TickableAnswersAndStatId)
{
	const int32 TickablesBefore = StandInTesting::GetNumTickables();
	StartEngine();
	FKorvatPlugin& Plugin = Module();
	EXPECT_EQ(StandInTesting::GetNumTickables(), TickablesBefore + 1);
	EXPECT_TRUE(Plugin.IsTickableWhenPaused());
	EXPECT_TRUE(Plugin.IsTickableInEditor());

	const StandInTesting::FStatInfo Info = StandInTesting::GetStatInfo(Plugin.GetStatId());
	EXPECT_EQ(Info.StatName, TEXT("FKorvatPlugin"));
	EXPECT_EQ(Info.GroupName, TEXT("STATGROUP_Tickables"));
	EXPECT_EQ(Info.GroupCategory, TEXT("STATCAT_Advanced"));
	EXPECT_EQ(Info.GroupDescription, TEXT("Tickables"));
	(void)Plugin.GetStatId();
	EXPECT_EQ(StandInTesting::GetStatRegistrationCount(TEXT("FKorvatPlugin")), 1);

	Engine->Shutdown();
	EXPECT_EQ(StandInTesting::GetNumTickables(), TickablesBefore);
}

TEST_F(ModuleLifecycleTest, PreExitHandsTheSlotBackBeforeModuleShutdown)
{
	StartHost();
	StandInTesting::SetCpuProfilerRecording(true);
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	ASSERT_EQ(Host->ReadSlot(Slot).State, 3);

	// The engine's pre-exit, without the module shut-down that follows it.
	EngineTesting::StopEngine();
	ASSERT_NE(Engine->GetModule(), nullptr);
	EXPECT_FALSE(Module().IsConnected());
	EXPECT_EQ(Host->ReadSlot(Slot).State, 0);
	EXPECT_TRUE(StandInTesting::GetCpuProfilerScopes().Contains(TEXT("FKorvatPlugin::OnBeginPreExit")));
}

TEST_F(ModuleLifecycleTest, NoEngineNotificationReachesTheModuleAfterShutdown)
{
	StartHost();
	// A back end other than D3D11 makes every begin-frame that reached the module write VERR.
	StartEngine(SandboxOptions(TEXT("D3D12")));
	ASSERT_TRUE(RunUntilConnected());
	const std::uint32_t ConnectedSlot = Slot;
	const int32 TickablesWhileLoaded = StandInTesting::GetNumTickables();

	Engine->Shutdown();
	Host->Poll();
	EXPECT_EQ(Host->ReadSlot(ConnectedSlot).State, 0);
	ForgetReceived();
	EXPECT_EQ(StandInTesting::GetNumTickables(), TickablesWhileLoaded - 1);

	// Under the address sanitizer a binding left behind would be a use after free here.
	FCoreDelegates::OnBeginFrame.Broadcast();
	FCoreDelegates::OnEndFrame.Broadcast();
	FCoreDelegates::OnEnginePreExit.Broadcast();
	FCoreDelegates::OnPostEngineInit.Broadcast();
	FWorldDelegates::OnPostWorldCreation.Broadcast(nullptr);
	StandInTesting::TickAllTickables(1.0f / 60.0f);
	Host->Poll();

	EXPECT_TRUE(PayloadsOf(VERR).empty());
	EXPECT_TRUE(PayloadsOf(TSHR).empty());
	EXPECT_TRUE(Received.empty());
	EXPECT_EQ(Host->ReadSlot(ConnectedSlot).State, 0);
}

TEST_F(ModuleLifecycleTest, ASecondEngineInTheSameProcessLoadsTheModuleAgain)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	const GUID FirstLaunchId = Module().GetKorvatLaunchID();
	ASSERT_EQ(PayloadsOf(TSHR).size(), 1u);
	Engine->Shutdown();
	Engine.reset();
	Host->Poll();
	ForgetReceived();
	StandInTesting::ClearConfigRecords();
	EngineTesting::ResetRecords();

	StartEngine();
	EXPECT_FALSE(StandInTesting::GetConfigWrites().IsEmpty());
	EXPECT_EQ(EngineTesting::GetNonResolutionSettingsApplicationCount(), 1);
	ASSERT_TRUE(RunUntilConnected());
	// The new module object generated its own launch id and announced its share list on its own connection.
	EXPECT_FALSE(Module().GetKorvatLaunchID() == FirstLaunchId);
	EXPECT_EQ(Host->ReadSlot(Slot).LaunchId, Module().GetKorvatLaunchID());
	EXPECT_EQ(PayloadsOf(TSHR).size(), 1u);

	Engine->StartPlay();
	RunFrames(2);
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 1);
}

TEST_F(ModuleLifecycleTest, NewWorldKeepsTheConnectionAndLaterValuesStillEcho)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	Engine->StartPlay();
	RunFrames(2);
	Send(VINT, Words({1, 5}));
	RunFrames(1);

	// Values and events received before belong to the old world; the new world must not end the connection.
	ASSERT_NE(Engine->CreateWorld(), nullptr);
	RunFrames(2);
	EXPECT_TRUE(Module().IsConnected());
	EXPECT_EQ(Host->ReadSlot(Slot).State, 3);
	for (const Korvat::Host::SlotNotice& Notice : Notices)
	{
		EXPECT_NE(Notice.Kind, Korvat::Host::SlotNotice::EKind::ClientGone);
	}

	// Quality still reaches the engine after the store was emptied.
	StandInTesting::ClearScalabilityApplications();
	Send(QLTY, Words({1}));
	RunFrames(1);
	const TArray<StandInTesting::FScalabilityApplication> Applied = StandInTesting::GetScalabilityApplications();
	ASSERT_EQ(Applied.Num(), 1);
	EXPECT_EQ(Applied[0].Levels.GetSingleQualityLevel(), 0);

	// A value the host sends for the new world is taken and echoed to it.
	Send(VINT, Words({1, 6}));
	RunFrames(1);
	const TArray<TextureShareTesting::FDelivery> Deliveries = TextureShareTesting::GetDeliveries();
	ASSERT_FALSE(Deliveries.IsEmpty());
	ASSERT_EQ(Deliveries.Last().Parameters.Num(), 1);
	EXPECT_EQ(Deliveries.Last().Parameters[0].Key, TEXT("56494E541A74B8F200000000000000000000000000000000"));
	EXPECT_TRUE(Deliveries.Last().Parameters[0].Value.EndsWith(TEXT("06000000")));
}

} // namespace
} // namespace Korvat::ModuleTesting
