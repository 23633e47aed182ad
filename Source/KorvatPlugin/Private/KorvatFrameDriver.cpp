// The per-frame driver: keeps the engine configured the way the host needs it, keeps the link connected,
// and applies what the host sent.
#include "KorvatPluginModule.h"

#include "KorvatLocalPlayer.h"

#include "Camera/PlayerCameraManager.h"
#include "Components/PrimitiveComponent.h"
#include "DynamicRHI.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "Engine/World.h"
#include "GameFramework/GameUserSettings.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "Misc/EngineVersion.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "Slate/SceneViewport.h"
#include "UnrealClient.h"
#include "UnrealEngine.h"

#if WITH_EDITOR
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "Editor/EditorPerformanceSettings.h"
#endif

#include <cmath>

namespace
{
using Korvat::UE4::LinkResult;
using Korvat::UE4::RenderQuality;

/** Sent to the host every frame while the engine renders through anything but Direct3D 11. */
const std::string RenderBackEndErrorText =
	"ERROR: Unreal D2I requires using the DirectX 11 rendering backend, please switch your Unreal project to it.\n";

/** The single scalability level of a render quality; unknown values act as VeryHigh. */
int32 SingleQualityLevelOf(RenderQuality Quality)
{
	switch (Quality)
	{
	case RenderQuality::Low: return 0;
	case RenderQuality::Medium: return 1;
	case RenderQuality::High: return 2;
	case RenderQuality::VeryHigh: return 3;
	case RenderQuality::Cinematic: return 4;
	default: return 3;
	}
}

/** Components is scratch space, kept by the caller so that the per-frame call does not allocate. */
template <typename ActorType>
void DisablePhysicsSimulation(ActorType* Actor, TArray<UPrimitiveComponent*>& Components)
{
	Actor->GetComponents(Components);
	for (UPrimitiveComponent* Component : Components)
	{
		Component->SetSimulatePhysics(false);
	}
}
} // namespace

UGameViewportClient* FKorvatPlugin::GameViewportClient()
{
	return GEngine ? GEngine->GameViewport.Get() : nullptr;
}

UWorld* FKorvatPlugin::GameViewportWorld()
{
	UGameViewportClient* ViewportClient = GameViewportClient();
	return ViewportClient ? ViewportClient->GetWorld() : nullptr;
}

bool FKorvatPlugin::IsRenderBackEndD3D11()
{
	return GDynamicRHI != nullptr && FCString::Stristr(GDynamicRHI->GetName(), TEXT("D3D11")) != nullptr;
}

void FKorvatPlugin::UseKorvatLocalPlayer()
{
	static const FSoftClassPath ClassPath(TEXT("/Script/KorvatPlugin.KorvatLocalPlayer"));
	GEngine->LocalPlayerClassName = ClassPath;
	// The engine resolves the name into the class it creates local players of only once, at its start.
	GEngine->LocalPlayerClass = UKorvatLocalPlayer::StaticClass();
}

void FKorvatPlugin::OnBeginFrame()
{
	TRACE_CPUPROFILER_EVENT_SCOPE(FKorvatPlugin::OnBeginFrame);

	if (!IsRenderBackEndD3D11())
	{
		// Fails quietly while no host is connected.
		Link.SendErrorText(RenderBackEndErrorText);
	}

	if (UWorld* ViewportWorld = GameViewportWorld())
	{
		UseKorvatLocalPlayer();
		DisableEditorCPUThrottling();
		if (FSceneViewport* SceneViewport = FindActiveSceneViewport())
		{
			FindOrAddDisplayConfiguration(SceneViewport);
		}
		SetGameRunning(ViewportWorld);
	}
	else
	{
		DisplayConfigurations.Empty();
		SetGameRunning(nullptr);
	}

	// Without a game viewport the host's pointer has nothing to steer: the real platform application goes back.
	if (InputDevice.IsValid() && GameViewportClient() == nullptr)
	{
		RestorePlatformApplication();
	}

	if (!Link.IsConnected())
	{
		const FEngineVersion& Version = FEngineVersion::Current();
		Link.SetEngineVersion(Version.GetMajor(), Version.GetMinor(), Version.GetPatch());
	}

	const LinkResult ConnectResult = Link.Connect(LaunchId, bLaunchIdGenerated);
	ReportLinkChanges();
	if (ConnectResult != LinkResult::Ok)
	{
		bTextureShareListSent = false;
		return;
	}

	const bool bConnected = Link.IsConnected();
	if (!bConnected)
	{
		bTextureShareListSent = false;
	}
	else
	{
		if (!bTextureShareListSent)
		{
			SendTextureShareList();
			bTextureShareListSent = true;
		}
		{
			TRACE_CPUPROFILER_EVENT_SCOPE(FKorvatPlugin::TickANC);
			TickAnc();
		}
		ProcessKorvatInputs();
		DeliverHostEvents();
		ApplyPendingResolution();
	}

	ConfigurePlayerController(bConnected);
	ApplyHostCamera();
}

void FKorvatPlugin::DeliverHostEvents()
{
	Link.DrainEvents([this](int32 Id, int32 Argument) {
		// A copy: a callback that registers further methods must not disturb this delivery.
		TArray<FKorvatEventCallback> Callbacks;
		RegisteredEvents.MultiFind(static_cast<uint32>(Id), Callbacks);
		for (const FKorvatEventCallback& Callback : Callbacks)
		{
			// A bound object may be gone, or its Blueprint recompiled without the function.
			const UObject* Object = Callback.GetUObject();
			if (Object != nullptr && Object->FindFunction(Callback.GetFunctionName()) != nullptr)
			{
				Callback.ExecuteIfBound(Argument);
			}
		}
	});
}

void FKorvatPlugin::ApplyPendingResolution()
{
	UGameViewportClient* ViewportClient = GameViewportClient();
	int32 Width = 0;
	int32 Height = 0;
	if (ViewportClient == nullptr || !Link.GetPendingResolution(Width, Height))
	{
		return;
	}

	const FSceneViewport* SceneViewport = ViewportClient->GetGameViewport();
	const EWindowMode::Type WindowMode = SceneViewport ? SceneViewport->GetWindowMode() : EWindowMode::Windowed;
	// The engine applies the request later; repeating it every frame until the host confirms the size is harmless.
	FSystemResolution::RequestResolutionChange(Width, Height, WindowMode);

#if WITH_EDITOR
	// In play-in-editor the window frame around the viewport must grow with it: 10 by 34 pixels of border and title.
	if (GIsEditor && GEditor != nullptr && GEditor->PlayWorld != nullptr && !GIsPlayInEditorWorld)
	{
		UWorld* PreviousWorld = SetPlayInEditorWorld(GEditor->PlayWorld);
		ULocalPlayer* DebugPlayer = GEngine->GetDebugLocalPlayer();
		if (DebugPlayer != nullptr && DebugPlayer->ViewportClient != nullptr && DebugPlayer->ViewportClient->ViewportFrame != nullptr)
		{
			DebugPlayer->ViewportClient->ViewportFrame->ResizeFrame(static_cast<uint32>(Width + 10), static_cast<uint32>(Height + 34), WindowMode);
		}
		RestoreEditorWorld(PreviousWorld);
	}
#endif
}

void FKorvatPlugin::ConfigurePlayerController(bool bConnected)
{
	UWorld* World = GameViewportWorld();
	APlayerController* Controller = World ? World->GetFirstPlayerController() : nullptr;
	if (Controller == nullptr)
	{
		return;
	}

	// The host moves the camera; physics must not move it back.
	DisablePhysicsSimulation(Controller, ComponentScratch);
	if (APawn* Pawn = Controller->GetPawn())
	{
		DisablePhysicsSimulation(Pawn, ComponentScratch);
	}

	if (bConnected && Controller->PlayerCameraManager != nullptr)
	{
		// Before the host named a size or a projection the aspect is 0/0; keep the manager's own until then.
		const float Aspect = Link.GetCameraAspect();
		if (std::isfinite(Aspect) && Aspect > 0.0f)
		{
			Controller->PlayerCameraManager->DefaultAspectRatio = Aspect;
		}
		Controller->PlayerCameraManager->bDefaultConstrainAspectRatio = true;
	}
}

bool FKorvatPlugin::ShouldCreateTextureShareAtGameStart() const
{
#if WITH_EDITOR
	// Simulate-in-editor runs the game world without a player view for the host to receive.
	if (const UEditorEngine* EditorEngine = Cast<UEditorEngine>(GEngine))
	{
		return !EditorEngine->bIsSimulatingInEditor;
	}
#endif
	return true;
}

void FKorvatPlugin::SetGameRunning(UWorld* World)
{
	const bool bRunning = World != nullptr && World->IsGameWorld();

	if (Link.IsConnected())
	{
		Link.WriteGameRunning(bRunning);
	}

	if (bRunning == bGameRunning)
	{
		return;
	}

	// The next host size counts as new, and the aspect falls back to the projection until it arrives.
	Link.ResetLastResolution();
	// Set before applying the quality, which takes effect only while the game runs.
	bGameRunning = bRunning;

	if (bRunning)
	{
		SavedQualityLevels = Scalability::GetQualityLevels();
		// Applying the user's settings puts the user's own scalability levels back in force, so it comes
		// first: the host's levels go on top, with the anti-aliasing the user's settings now hold, and are
		// never saved as the user's.
		ForceFXAA();
		Scalability::FQualityLevels Levels = RenderQualityLevels(CurrentRenderQuality);
		Levels.SetAntiAliasingQuality(ForcedAntiAliasingQuality);
		Scalability::SetQualityLevels(Levels);
		if (ShouldCreateTextureShareAtGameStart())
		{
			CreateKorvatTextureShare(World);
		}
	}
	else
	{
		Scalability::SetQualityLevels(SavedQualityLevels);
		DestroyKorvatTextureShare(World);
	}
}

Scalability::FQualityLevels FKorvatPlugin::RenderQualityLevels(RenderQuality Quality) const
{
	Scalability::FQualityLevels Levels;
	if (Quality == RenderQuality::Default)
	{
		Levels = SavedQualityLevels;
	}
	else
	{
		Levels.SetFromSingleQualityLevel(SingleQualityLevelOf(Quality));
	}
	return Levels;
}

void FKorvatPlugin::SetRenderQuality(RenderQuality Quality)
{
	if (bGameRunning)
	{
		Scalability::SetQualityLevels(RenderQualityLevels(Quality));
	}
	CurrentRenderQuality = Quality;
}

void FKorvatPlugin::ForceFXAA()
{
	if (GEngine == nullptr)
	{
		return;
	}
	if (UGameUserSettings* Settings = GEngine->GetGameUserSettings())
	{
		Settings->SetAntiAliasingQuality(ForcedAntiAliasingQuality);
		// Everything but the resolution: the user's saved resolution would replace the host's.
		Settings->ApplyNonResolutionSettings();
		Settings->SaveSettings();
	}
}

void FKorvatPlugin::DisableEditorCPUThrottling()
{
#if WITH_EDITOR
	UEditorPerformanceSettings* Settings = GetMutableDefault<UEditorPerformanceSettings>();
	check(Settings);
	// Saving writes the configuration file: do it only when the setting needs changing, not every frame.
	if (Settings->bThrottleCPUWhenNotForeground)
	{
		Settings->bThrottleCPUWhenNotForeground = false;
		Settings->PostEditChange();
		Settings->SaveConfig();
	}
#endif
}

void FKorvatPlugin::SetViewports(int32 A, int32 B, int32 C, int32 D, int32 E, int32 F)
{
	if (Link.IsConnected())
	{
		Link.SendViewports(A, B, C, D, E, F);
	}
}

void FKorvatPlugin::SetAlphaPropagation(int32 Mode)
{
	if (Link.IsConnected())
	{
		Link.SendAlphaPropagation(Mode == 2 ? 2 : 0);
	}
}
