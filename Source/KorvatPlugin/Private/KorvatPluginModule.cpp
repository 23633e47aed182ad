#include "KorvatPluginModule.h"

#include "Engine/Engine.h"
#include "Engine/World.h"
#include "Features/IModularFeatures.h"
#include "IInputDevice.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/CoreDelegates.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"

#include "Input/KorvatInputDevice.h"
#include "KorvatLaunchId.h"
#include "KorvatPluginLog.h"
#include "KorvatTrace.h"

DEFINE_LOG_CATEGORY(LogKorvatPlugin);

FKorvatPlugin::FKorvatPlugin() = default;

FKorvatPlugin::~FKorvatPlugin() = default;

void FKorvatPlugin::StartupModule()
{
	// The module creates its own share object per game; the engine's default ones would only compete for the
	// host. The TextureShare plug-in itself reads its "bCreateDefaults" from the project's game configuration
	// ([/Script/Plugins.TextureShare]), where false would leave worlds without any UTextureShare, so this key
	// in the engine configuration suppresses nothing there: the default object is removed at game start.
	GConfig->SetBool(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("bCreateDefaults"), false, GEngineIni);
	GConfig->Flush(false, GEngineIni);

	IModularFeatures::Get().RegisterModularFeature(IInputDeviceModule::GetModularFeatureName(), this);

	FWorldDelegates::OnPostWorldCreation.AddRaw(this, &FKorvatPlugin::OnPostWorldCreation);

	LaunchId = Korvat::DetermineLaunchId(bLaunchIdGenerated);
	KorvatShareName = FormatShareName(LaunchId);

	FCoreDelegates::OnBeginFrame.AddRaw(this, &FKorvatPlugin::OnBeginFrame);
	FCoreDelegates::OnEndFrame.AddRaw(this, &FKorvatPlugin::OnEndFrame);
	FCoreDelegates::OnEnginePreExit.AddRaw(this, &FKorvatPlugin::OnEnginePreExit);
	FCoreDelegates::OnPostEngineInit.AddRaw(this, &FKorvatPlugin::OnPostEngineInit);

	RegisterConsoleCommands();
}

void FKorvatPlugin::ShutdownModule()
{
	// Slate must not keep an object of a module that is going away.
	RestorePlatformApplication();
	if (InputDevice.IsValid())
	{
		InputDevice->Detach();
	}
	if (Link.IsConnected())
	{
		Link.Release();
		ReportLinkChanges();
	}
	UnregisterConsoleCommands();
	// Closes a trace still recording, with its last line.
	Trace.Reset();

	IModularFeatures::Get().UnregisterModularFeature(IInputDeviceModule::GetModularFeatureName(), this);

	FWorldDelegates::OnPostWorldCreation.RemoveAll(this);
	FCoreDelegates::OnBeginFrame.RemoveAll(this);
	FCoreDelegates::OnEndFrame.RemoveAll(this);
	FCoreDelegates::OnEnginePreExit.RemoveAll(this);
	// Engine initialisation may still be ahead when the module goes away early; its notification must not reach a dead module.
	FCoreDelegates::OnPostEngineInit.RemoveAll(this);
}

void FKorvatPlugin::Tick(float DeltaTime)
{
	RefreshFrameMarker();
}

TStatId FKorvatPlugin::GetStatId() const
{
	RETURN_QUICK_DECLARE_CYCLE_STAT(FKorvatPlugin, STATGROUP_Tickables);
}

bool FKorvatPlugin::IsTickableWhenPaused() const
{
	return true;
}

bool FKorvatPlugin::IsTickableInEditor() const
{
	return true;
}

bool FKorvatPlugin::IsConnected() const
{
	return Link.IsConnected();
}

Korvat::UE4::GUID FKorvatPlugin::GetKorvatLaunchID() const
{
	return LaunchId;
}

Korvat::UE4::FromKorvatClock FKorvatPlugin::GetClusterClock() const
{
	return Link.GetClock();
}

void FKorvatPlugin::OnEndFrame()
{
}

void FKorvatPlugin::OnEnginePreExit()
{
	TRACE_CPUPROFILER_EVENT_SCOPE(FKorvatPlugin::OnBeginPreExit);
	RestorePlatformApplication();
	// Give the slot back before the engine tears down, so the host sees it freed even without a module shut-down.
	if (Link.IsConnected())
	{
		Link.Release();
		ReportLinkChanges();
	}
}

void FKorvatPlugin::OnPostEngineInit()
{
	DisableEditorCPUThrottling();
	ForceFXAA();
	// Before any play-in-editor session makes its local player.
	if (GEngine != nullptr)
	{
		UseKorvatLocalPlayer();
	}
}

void FKorvatPlugin::OnPostWorldCreation(UWorld* World)
{
	// Values and method registrations of a previous world must never reach the Blueprints of the next one.
	Link.ClearInbound();
	RegisteredEvents.Empty();
}

void FKorvatPlugin::TickAnc()
{
	using namespace Korvat::UE4;

	if (Link.Connect(LaunchId, bLaunchIdGenerated) != LinkResult::Ok || !Link.IsConnected())
	{
		return;
	}
	Link.ReadMessages(
		[](IKorvatNodeFieldSync* Requester, const std::vector<FieldDescriptor>& Fields) { Requester->UpdateNodeFields(Fields); },
		FieldListRequests,
		[this](RenderQuality Quality) { SetRenderQuality(Quality); },
		[this](const DecodedMessage& Message) { EchoAcceptedMessage(Message); });
}

IMPLEMENT_MODULE(FKorvatPlugin, KorvatPlugin)
