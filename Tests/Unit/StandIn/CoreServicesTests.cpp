// Engine services of the stand-in that the plug-in calls and tests inspect: logging, asserts,
// configuration, delegates, the module manager, modular features, tickables, stats and profiler
// scopes, scalability, resolution requests, RHI name, command line, engine version, game thread.
#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "DynamicRHI.h"
#include "Features/IModularFeatures.h"
#include "Misc/CommandLine.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/CoreDelegates.h"
#include "Misc/EngineVersion.h"
#include "Modules/ModuleManager.h"
#include "Scalability.h"
#include "StandInTesting.h"
#include "Tickable.h"
#include "UnrealEngine.h"
#include "CoreUObjectTesting.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"
#include "Components/SceneComponent.h"

#include <thread>

DEFINE_LOG_CATEGORY_STATIC(LogCoreServicesTest, Log, All);

namespace
{
	class CoreServices_test : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			StandInTesting::SetLogEchoToStderr(false);
			StandInTesting::ClearLogLines();
		}

		void TearDown() override
		{
			StandInTesting::SetLogEchoToStderr(true);
			LogCoreServicesTest.ResetToDefault();
			GIsEditor = false;
		}
	};

	TEST_F(CoreServices_test, LogLinesAreCapturedWithCategoryVerbosityAndText)
	{
		UE_LOG(LogCoreServicesTest, Warning, TEXT("Value %s is %d"), TEXT("Speed"), 12);
		UE_LOG(LogCoreServicesTest, Verbose, TEXT("suppressed by default"));
		UE_CLOG(false, LogCoreServicesTest, Error, TEXT("not logged"));
		UE_LOG(LogTemp, Display, TEXT("shown"));

		TArray<StandInTesting::FCapturedLogLine> Lines = StandInTesting::GetLogLines();
		ASSERT_EQ(Lines.Num(), 2);
		EXPECT_EQ(Lines[0].Category, FName(TEXT("LogCoreServicesTest")));
		EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
		EXPECT_TRUE(Lines[0].Text.Equals(TEXT("Value Speed is 12"), ESearchCase::CaseSensitive));
		EXPECT_EQ(Lines[1].Category, FName(TEXT("LogTemp")));

		LogCoreServicesTest.SetVerbosity(ELogVerbosity::VeryVerbose);
		UE_LOG(LogCoreServicesTest, Verbose, TEXT("now visible"));
		EXPECT_EQ(StandInTesting::GetLogLines().Num(), 3);
		EXPECT_FALSE(LogCoreServicesTest.IsSuppressed(ELogVerbosity::VeryVerbose));
	}

	TEST_F(CoreServices_test, FatalLogsAndFailedChecksEndTheProcess)
	{
		GTEST_FLAG_SET(death_test_style, "threadsafe");
		EXPECT_DEATH(UE_LOG(LogCoreServicesTest, Fatal, TEXT("fatal %d"), 7), "LogCoreServicesTest: Fatal: fatal 7");
		EXPECT_DEATH(check(1 + 1 == 3), "Assertion failed: 1 \\+ 1 == 3");
		EXPECT_DEATH(checkf(false, TEXT("reason %s"), TEXT("given")), "reason given");
		EXPECT_FALSE(ensure(1 == 2));
		EXPECT_TRUE(ensure(2 == 2));
		EXPECT_EQ(StandInTesting::GetLogLines().Last().Verbosity, ELogVerbosity::Error);
	}

	TEST_F(CoreServices_test, ConfigWritesAndFlushesAreRecorded)
	{
		ASSERT_NE(GConfig, nullptr);
		EXPECT_TRUE(GEngineIni.Equals(TEXT("Engine"), ESearchCase::CaseSensitive));
		StandInTesting::ClearConfigRecords();

		GConfig->SetBool(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("bCreateDefaults"), false, GEngineIni);
		GConfig->Flush(false, GEngineIni);

		bool bValue = true;
		EXPECT_TRUE(GConfig->GetBool(TEXT("/script/textureshare.texturesharesettings"), TEXT("bcreatedefaults"), bValue, GEngineIni));
		EXPECT_FALSE(bValue);
		FString Text;
		EXPECT_TRUE(GConfig->GetString(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("bCreateDefaults"), Text, GEngineIni));
		EXPECT_TRUE(Text.Equals(TEXT("False"), ESearchCase::CaseSensitive));
		EXPECT_FALSE(GConfig->GetBool(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("Missing"), bValue, GEngineIni));

		const TArray<StandInTesting::FConfigWrite> Writes = StandInTesting::GetConfigWrites();
		ASSERT_EQ(Writes.Num(), 1);
		EXPECT_TRUE(Writes[0].Section.Equals(TEXT("/Script/TextureShare.TextureShareSettings"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Writes[0].Key.Equals(TEXT("bCreateDefaults"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Writes[0].Value.Equals(TEXT("False"), ESearchCase::CaseSensitive));
		EXPECT_EQ(Writes[0].Filename, GEngineIni);
		const TArray<StandInTesting::FConfigFlush> Flushes = StandInTesting::GetConfigFlushes();
		ASSERT_EQ(Flushes.Num(), 1);
		EXPECT_FALSE(Flushes[0].bRemoveFromCache);
		EXPECT_EQ(Flushes[0].Filename, GEngineIni);
	}

	struct FListener
	{
		TArray<FString>* Calls;
		FString Name;
		void OnEvent() { Calls->Add(Name); }
		void OnEventWithPayload(int32 Value, FString Payload) { Calls->Add(FString::Printf(TEXT("%s:%d:%s"), *Name, Value, *Payload)); }
	};

	struct FSharedListener : public TSharedFromThis<FSharedListener>
	{
		int32 Count = 0;
		void OnEvent() { ++Count; }
	};

	void StaticCallback(TArray<FString>* Calls) { Calls->Add(TEXT("static")); }

	TEST_F(CoreServices_test, MulticastDelegatesBindRemoveAndBroadcastNewestFirst)
	{
		TArray<FString> Calls;
		FListener First{&Calls, TEXT("first")};
		FListener Second{&Calls, TEXT("second")};
		FSimpleMulticastDelegate Event;
		EXPECT_FALSE(Event.IsBound());

		Event.AddRaw(&First, &FListener::OnEvent);
		const FDelegateHandle LambdaHandle = Event.AddLambda([&Calls]() { Calls.Add(TEXT("lambda")); });
		Event.AddStatic(&StaticCallback, &Calls);
		Event.AddRaw(&Second, &FListener::OnEvent);
		Event.AddRaw(&First, &FListener::OnEvent);
		EXPECT_TRUE(Event.IsBound());
		EXPECT_TRUE(Event.IsBoundToObject(&Second));

		Event.Broadcast();
		EXPECT_EQ(Calls, (TArray<FString>{TEXT("first"), TEXT("second"), TEXT("static"), TEXT("lambda"), TEXT("first")}));

		EXPECT_EQ(Event.RemoveAll(&First), 2);
		EXPECT_TRUE(Event.Remove(LambdaHandle));
		EXPECT_FALSE(Event.Remove(LambdaHandle));
		Calls.Reset();
		Event.Broadcast();
		EXPECT_EQ(Calls.Num(), 2);
		EXPECT_FALSE(Calls.Contains(TEXT("first")));
		EXPECT_FALSE(Calls.Contains(TEXT("lambda")));

		DECLARE_MULTICAST_DELEGATE_OneParam(FOnValue, int32);
		FOnValue OnValue;
		OnValue.AddRaw(&Second, &FListener::OnEventWithPayload, FString(TEXT("extra")));
		Calls.Reset();
		OnValue.Broadcast(5);
		EXPECT_EQ(Calls, (TArray<FString>{TEXT("second:5:extra")}));
	}

	TEST_F(CoreServices_test, DelegatesSkipDeadSharedObjectsAndSurviveRemovalDuringBroadcast)
	{
		FSimpleMulticastDelegate Event;
		TSharedPtr<FSharedListener> Listener = MakeShared<FSharedListener>();
		Event.AddSP(Listener.ToSharedRef(), &FSharedListener::OnEvent);
		Event.Broadcast();
		EXPECT_EQ(Listener->Count, 1);
		TWeakPtr<FSharedListener> Weak = Listener;
		Listener.Reset();
		EXPECT_FALSE(Weak.IsValid());
		EXPECT_FALSE(Event.IsBound());
		Event.Broadcast(); // skips the dead binding

		int32 Calls = 0;
		FDelegateHandle SelfRemoving;
		SelfRemoving = Event.AddLambda([&]() { ++Calls; Event.Remove(SelfRemoving); });
		Event.AddLambda([&]() { ++Calls; });
		Event.Broadcast();
		Event.Broadcast();
		EXPECT_EQ(Calls, 3);

		DECLARE_DELEGATE_RetVal_OneParam(int32, FDoubler, int32);
		FDoubler Doubler;
		EXPECT_FALSE(Doubler.IsBound());
		Doubler.BindLambda([](int32 Value) { return Value * 2; });
		EXPECT_EQ(Doubler.Execute(21), 42);
		FSimpleDelegate Single;
		EXPECT_FALSE(Single.ExecuteIfBound());
		Single.BindLambda([&Calls]() { Calls = 100; });
		EXPECT_TRUE(Single.ExecuteIfBound());
		EXPECT_EQ(Calls, 100);
	}

	TEST_F(CoreServices_test, UObjectBindingsStopWhenTheObjectIsDestroyed)
	{
		UObject* Object = NewObject<USceneComponent>(); // any concrete object class
		int32 Calls = 0;
		FSimpleMulticastDelegate Event;
		Event.AddWeakLambda(Object, [&Calls]() { ++Calls; });
		FSimpleDelegate Single = FSimpleDelegate::CreateWeakLambda(Object, [&Calls]() { Calls += 10; });
		Event.Broadcast();
		EXPECT_TRUE(Single.ExecuteIfBound());
		EXPECT_EQ(Calls, 11);
		EXPECT_TRUE(Event.IsBoundToObject(Object));

		CoreUObjectTesting::DestroyObject(Object);
		EXPECT_FALSE(Event.IsBound());
		EXPECT_FALSE(Single.IsBound());
		Event.Broadcast();
		EXPECT_FALSE(Single.ExecuteIfBound());
		EXPECT_EQ(Calls, 11);
	}

	TEST_F(CoreServices_test, CoreDelegatesAreProcessWideMulticastDelegates)
	{
		TArray<FString> Calls;
		FListener Listener{&Calls, TEXT("frame")};
		FCoreDelegates::OnBeginFrame.AddRaw(&Listener, &FListener::OnEvent);
		FCoreDelegates::OnEndFrame.AddRaw(&Listener, &FListener::OnEvent);
		FCoreDelegates::OnBeginFrame.Broadcast();
		FCoreDelegates::OnEndFrame.Broadcast();
		FCoreDelegates::OnBeginFrame.RemoveAll(&Listener);
		FCoreDelegates::OnEndFrame.RemoveAll(&Listener);
		FCoreDelegates::OnBeginFrame.Broadcast();
		EXPECT_EQ(Calls.Num(), 2);
		EXPECT_FALSE(FCoreDelegates::OnEnginePreExit.IsBoundToObject(&Listener));
	}

	TArray<FString>& ModuleEvents()
	{
		static TArray<FString> Events;
		return Events;
	}

	class FRecordingModule : public IModuleInterface
	{
	public:
		explicit FRecordingModule(const TCHAR* InName) : Name(InName) {}
		virtual void StartupModule() override { ModuleEvents().Add(TEXT("start ") + Name); }
		virtual void ShutdownModule() override { ModuleEvents().Add(TEXT("stop ") + Name); }
		FString Name;
	};

	TEST_F(CoreServices_test, ModulesLoadByNameAndShutDownInReverseOrder)
	{
		ModuleEvents().Reset();
		StandInTesting::RegisterModuleFactory(TEXT("CoreTestAlpha"), []() -> IModuleInterface* { return new FRecordingModule(TEXT("Alpha")); });
		StandInTesting::RegisterModuleFactory(TEXT("CoreTestBeta"), []() -> IModuleInterface* { return new FRecordingModule(TEXT("Beta")); });

		EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("CoreTestAlpha")));
		FRecordingModule& Alpha = FModuleManager::LoadModuleChecked<FRecordingModule>(TEXT("CoreTestAlpha"));
		EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("coretestalpha")));
		EXPECT_EQ(&FModuleManager::Get().LoadModuleChecked(TEXT("CoreTestAlpha")), &Alpha); // loaded once
		EXPECT_EQ(&FModuleManager::GetModuleChecked<FRecordingModule>(TEXT("CoreTestAlpha")), &Alpha);
		EXPECT_NE(FModuleManager::LoadModulePtr<FRecordingModule>(TEXT("CoreTestBeta")), nullptr);
		EXPECT_EQ(FModuleManager::Get().LoadModule(TEXT("CoreTestMissing")), nullptr);
		EXPECT_EQ(FModuleManager::Get().GetModule(TEXT("CoreTestMissing")), nullptr);

		// A module in its own library registers itself when the library is opened.
		StandInTesting::RegisterModuleLibrary(TEXT("CoreTestModule"), FString(UTF8_TO_TCHAR(CORE_TEST_MODULE_PATH)));
		ASSERT_NE(FModuleManager::Get().LoadModule(TEXT("CoreTestModule"), ELoadModuleFlags::LogFailures), nullptr);
		EXPECT_TRUE(StandInTesting::GetLogLines().ContainsByPredicate(
			[](const StandInTesting::FCapturedLogLine& Line) { return Line.Text == TEXT("CoreTestModule started"); }));

		const TArray<FName> Loaded = StandInTesting::GetLoadedModules();
		EXPECT_EQ(Loaded.Last(), FName(TEXT("CoreTestModule")));
		StandInTesting::ShutdownAllModules();
		EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("CoreTestAlpha")));
		EXPECT_EQ(ModuleEvents(), (TArray<FString>{TEXT("start Alpha"), TEXT("start Beta"), TEXT("stop Beta"), TEXT("stop Alpha")}));
		EXPECT_TRUE(StandInTesting::GetLogLines().Last().Text.Equals(TEXT("CoreTestModule shut down"), ESearchCase::CaseSensitive)
			|| StandInTesting::GetLogLines().ContainsByPredicate([](const StandInTesting::FCapturedLogLine& Line) { return Line.Text == TEXT("CoreTestModule shut down"); }));
		EXPECT_DEATH(FModuleManager::Get().LoadModuleChecked(TEXT("CoreTestMissing")), "CoreTestMissing");
	}

	struct FInputFeature : public IModularFeature
	{
	};

	TEST_F(CoreServices_test, ModularFeaturesRegisterWithoutOwnership)
	{
		FInputFeature First;
		FInputFeature Second;
		const FName Type(TEXT("CoreTestInputDevice"));
		IModularFeatures& Features = IModularFeatures::Get();
		EXPECT_FALSE(Features.IsModularFeatureAvailable(Type));
		Features.RegisterModularFeature(Type, &First);
		Features.RegisterModularFeature(Type, &Second);
		EXPECT_EQ(Features.GetModularFeatureImplementationCount(Type), 2);
		EXPECT_EQ(&Features.GetModularFeature<FInputFeature>(Type), &First);
		EXPECT_EQ(Features.GetModularFeatureImplementations<FInputFeature>(Type), (TArray<FInputFeature*>{&First, &Second}));
		Features.UnregisterModularFeature(Type, &First);
		EXPECT_EQ(Features.GetModularFeatureImplementation(Type, 0), &Second);
		Features.UnregisterModularFeature(Type, &Second);
		EXPECT_FALSE(Features.IsModularFeatureAvailable(Type));
	}

	class FCountingTickable : public FTickableGameObject
	{
	public:
		FCountingTickable(bool bInWhenPaused, bool bInInEditor, ETickableTickType InType = ETickableTickType::Conditional)
			: bWhenPaused(bInWhenPaused), bInEditor(bInInEditor), Type(InType)
		{
		}
		virtual void Tick(float DeltaTime) override { ++Ticks; LastDelta = DeltaTime; }
		virtual TStatId GetStatId() const override { RETURN_QUICK_DECLARE_CYCLE_STAT(FCountingTickable, STATGROUP_Tickables); }
		virtual bool IsTickableWhenPaused() const override { return bWhenPaused; }
		virtual bool IsTickableInEditor() const override { return bInEditor; }
		virtual ETickableTickType GetTickableTickType() const override { return Type; }

		int32 Ticks = 0;
		float LastDelta = 0.f;
		bool bWhenPaused;
		bool bInEditor;
		ETickableTickType Type;
	};

	TEST_F(CoreServices_test, TickablesRegisterOnConstructionAndTickByTheirAnswers)
	{
		const int32 Before = StandInTesting::GetNumTickables();
		FCountingTickable Always(true, true);
		FCountingTickable GameOnly(false, false);
		FCountingTickable Never(true, true, ETickableTickType::Never);
		{
			FCountingTickable Gone(true, true);
			EXPECT_EQ(StandInTesting::GetNumTickables(), Before + 4);
		}
		EXPECT_EQ(StandInTesting::GetNumTickables(), Before + 3);

		StandInTesting::TickAllTickables(0.5f);
		StandInTesting::TickAllTickables(0.25f, true);
		GIsEditor = true;
		StandInTesting::TickAllTickables(0.125f);
		EXPECT_EQ(Always.Ticks, 3);
		EXPECT_FLOAT_EQ(Always.LastDelta, 0.125f);
		EXPECT_EQ(GameOnly.Ticks, 1);
		EXPECT_EQ(Never.Ticks, 0);
	}

	TEST_F(CoreServices_test, QuickCycleStatsAreCreatedOnceWithTheirGroup)
	{
		FCountingTickable Tickable(false, false);
		const TStatId Id = Tickable.GetStatId();
		EXPECT_TRUE(Id.IsValidStat());
		EXPECT_EQ(Tickable.GetStatId(), Id);
		EXPECT_EQ(StandInTesting::GetStatRegistrationCount(TEXT("FCountingTickable")), 1);
		const StandInTesting::FStatInfo Info = StandInTesting::GetStatInfo(Id);
		EXPECT_TRUE(Info.StatName.Equals(TEXT("FCountingTickable"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Info.GroupName.Equals(TEXT("STATGROUP_Tickables"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Info.GroupCategory.Equals(TEXT("STATCAT_Advanced"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Info.GroupDescription.Equals(TEXT("Tickables"), ESearchCase::CaseSensitive));
		EXPECT_FALSE(TStatId().IsValidStat());
	}

	void ProfiledFunction()
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(FKorvatPlugin::OnBeginFrame);
	}

	TEST_F(CoreServices_test, CpuProfilerScopesAreRecordedByNameWhenEnabled)
	{
		StandInTesting::ClearCpuProfilerScopes();
		ProfiledFunction();
		EXPECT_EQ(StandInTesting::GetCpuProfilerScopes().Num(), 0);
		StandInTesting::SetCpuProfilerRecording(true);
		ProfiledFunction();
		{
			TRACE_CPUPROFILER_EVENT_SCOPE_STR("Literal scope");
		}
		StandInTesting::SetCpuProfilerRecording(false);
		EXPECT_EQ(StandInTesting::GetCpuProfilerScopes(), (TArray<FString>{TEXT("FKorvatPlugin::OnBeginFrame"), TEXT("Literal scope")}));
	}

	TEST_F(CoreServices_test, ScalabilityLevelsAndApplicationsAreRecorded)
	{
		StandInTesting::ResetQualityLevels();
		StandInTesting::ClearScalabilityApplications();
		Scalability::FQualityLevels Defaults;
		EXPECT_EQ(Defaults.GetSingleQualityLevel(), 3);
		EXPECT_EQ(Scalability::GetQualityLevels(), Defaults);

		Scalability::FQualityLevels Levels;
		Levels.SetFromSingleQualityLevel(7);
		EXPECT_EQ(Levels.GetSingleQualityLevel(), 4);
		Levels.SetFromSingleQualityLevel(1);
		EXPECT_EQ(Levels.ShadowQuality, 1);
		EXPECT_EQ(Levels.GetSingleQualityLevel(), 1);
		Levels.SetAntiAliasingQuality(2);
		EXPECT_EQ(Levels.GetSingleQualityLevel(), -1);

		Scalability::SetQualityLevels(Levels, true);
		EXPECT_EQ(Scalability::GetQualityLevels(), Levels);
		const TArray<StandInTesting::FScalabilityApplication> Applied = StandInTesting::GetScalabilityApplications();
		ASSERT_EQ(Applied.Num(), 1);
		EXPECT_TRUE(Applied[0].bForce);
		EXPECT_EQ(Applied[0].Levels.AntiAliasingQuality, 2);
		StandInTesting::ResetQualityLevels();
	}

	TEST_F(CoreServices_test, ResolutionRequestsAreDeferredAndRecorded)
	{
		StandInTesting::ClearResolutionRequests();
		FSystemResolution::RequestResolutionChange(1280, 720, EWindowMode::Windowed);
		FSystemResolution::RequestResolutionChange(1920, 1080, EWindowMode::WindowedFullscreen);
		const TArray<StandInTesting::FResolutionRequest> Requests = StandInTesting::GetResolutionRequests();
		ASSERT_EQ(Requests.Num(), 2);
		EXPECT_EQ(Requests[1].ResX, 1920);
		EXPECT_EQ(Requests[1].WindowMode, EWindowMode::WindowedFullscreen);
		EXPECT_NE(GSystemResolution.ResX, 1920);
		StandInTesting::ApplyPendingResolutionChange();
		EXPECT_EQ(GSystemResolution.ResX, 1920);
		EXPECT_EQ(GSystemResolution.ResY, 1080);
		EXPECT_EQ(EWindowMode::ConvertIntToWindowMode(0), EWindowMode::Fullscreen);
	}

	TEST_F(CoreServices_test, RhiCommandLineVersionAndGameThread)
	{
		EXPECT_EQ(GDynamicRHI, nullptr);
		StandInTesting::SetDynamicRHIName(TEXT("D3D12"));
		ASSERT_NE(GDynamicRHI, nullptr);
		EXPECT_TRUE(FString(GDynamicRHI->GetName()).Equals(TEXT("D3D12"), ESearchCase::CaseSensitive));
		EXPECT_EQ(RHIGetInterfaceType(), ERHIInterfaceType::D3D12);
		StandInTesting::SetDynamicRHIName(nullptr);
		EXPECT_EQ(GDynamicRHI, nullptr);

		StandInTesting::SetCommandLine(TEXT("-KorvatLaunchID={01234567-89AB-CDEF-0123-456789ABCDEF} -log"));
		EXPECT_TRUE(FString(FCommandLine::Get()).StartsWith(TEXT("-KorvatLaunchID="), ESearchCase::CaseSensitive));

		EXPECT_EQ(FEngineVersion::Current().GetMajor(), 5);
		EXPECT_EQ(FEngineVersion::Current().GetMinor(), 5);
		StandInTesting::SetEngineVersionPatch(2);
		EXPECT_EQ(FEngineVersion::Current().GetPatch(), 2);
		EXPECT_TRUE(FEngineVersion::Current().ToString(EVersionComponent::Patch).Equals(TEXT("5.5.2"), ESearchCase::CaseSensitive));

		EXPECT_TRUE(IsInGameThread());
		bool bOtherThreadIsGameThread = true;
		std::thread Other([&bOtherThreadIsGameThread]() { bOtherThreadIsGameThread = IsInGameThread(); });
		Other.join();
		EXPECT_FALSE(bOtherThreadIsGameThread);
	}
}
