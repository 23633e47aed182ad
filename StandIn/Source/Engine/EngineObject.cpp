#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/LocalPlayer.h"
#include "GameFramework/GameUserSettings.h"
#include "GameFramework/PlayerController.h"
#include "Misc/ConfigCacheIni.h"
#include "Scalability.h"
#include "SceneViewExtension.h"
#include "Slate/SceneViewport.h"
#include "UnrealEngine.h"

#include "EngineRecord.h"

UEngine* GEngine = nullptr;

FEngineRecord& GetEngineRecord()
{
	static FEngineRecord Record;
	return Record;
}

void FWorldContext::SetCurrentWorld(UWorld* World)
{
	ThisCurrentWorld = World;
}

UEngine::UEngine(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, LocalPlayerClassName(TEXT("/Script/Engine.LocalPlayer"))
	, ViewExtensions(MakeShareable(new FSceneViewExtensions()))
{
}

void UEngine::InitializeObjectReferences()
{
	UClass* Resolved = LocalPlayerClassName.IsValid() ? LocalPlayerClassName.TryLoadClass<ULocalPlayer>() : nullptr;
	LocalPlayerClass = Resolved != nullptr ? Resolved : ULocalPlayer::StaticClass();
}

FWorldContext& UEngine::CreateNewWorldContext(EWorldType::Type WorldType)
{
	FWorldContext* Context = new FWorldContext();
	Context->WorldType = WorldType;
	Context->ContextHandle = FName(*FString::Printf(TEXT("Context_%d"), NextWorldContextHandle++));
	WorldList.Add(Context);
	return *Context;
}

void UEngine::DestroyWorldContext(UWorld* InWorld)
{
	for (int32 Index = 0; Index < WorldList.Num(); ++Index)
	{
		if (WorldList[Index].World() == InWorld)
		{
			WorldList.RemoveAt(Index);
			return;
		}
	}
}

FWorldContext* UEngine::GetWorldContextFromWorld(const UWorld* InWorld)
{
	for (FWorldContext& Context : WorldList)
	{
		if (Context.World() == InWorld)
		{
			return &Context;
		}
	}
	return nullptr;
}

FWorldContext* UEngine::GetWorldContextFromGameViewport(const UGameViewportClient* InViewport)
{
	for (FWorldContext& Context : WorldList)
	{
		if (Context.GameViewport == InViewport)
		{
			return &Context;
		}
	}
	return nullptr;
}

UGameUserSettings* UEngine::GetGameUserSettings()
{
	if (!GameUserSettings)
	{
		GameUserSettings = NewObject<UGameUserSettings>(this);
		GameUserSettings->LoadSettings();
	}
	return GameUserSettings;
}

const UGameUserSettings* UEngine::GetGameUserSettings() const
{
	return const_cast<UEngine*>(this)->GetGameUserSettings();
}

ULocalPlayer* UEngine::GetDebugLocalPlayer()
{
	// The stand-in has no game instances: a world's local player is found through its first player controller.
	for (const FWorldContext& Context : WorldList)
	{
		UWorld* World = Context.World();
		APlayerController* Controller = World != nullptr ? World->GetFirstPlayerController() : nullptr;
		if (ULocalPlayer* Player = Controller != nullptr ? Controller->GetLocalPlayer() : nullptr)
		{
			return Player;
		}
	}
	return nullptr;
}

UGameEngine::UGameEngine(const FObjectInitializer& ObjectInitializer)
	: UEngine(ObjectInitializer)
{
}

UGameUserSettings::UGameUserSettings(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

void UGameUserSettings::SetAntiAliasingQuality(int32 Value)
{
	ScalabilityQuality.SetAntiAliasingQuality(Value);
}

int32 UGameUserSettings::GetAntiAliasingQuality() const
{
	return ScalabilityQuality.AntiAliasingQuality;
}

FIntPoint UGameUserSettings::GetScreenResolution() const
{
	return FIntPoint(static_cast<int32>(ResolutionSizeX), static_cast<int32>(ResolutionSizeY));
}

void UGameUserSettings::SetScreenResolution(FIntPoint Resolution)
{
	ResolutionSizeX = static_cast<uint32>(Resolution.X);
	ResolutionSizeY = static_cast<uint32>(Resolution.Y);
}

EWindowMode::Type UGameUserSettings::GetFullscreenMode() const
{
	return EWindowMode::ConvertIntToWindowMode(FullscreenMode);
}

void UGameUserSettings::ApplySettings(bool bCheckForCommandLineOverrides)
{
	GetEngineRecord().ApplySettingsCalls.Add(bCheckForCommandLineOverrides);
	ApplyResolutionSettings(bCheckForCommandLineOverrides);
	ApplyNonResolutionSettings();
	SaveSettings();
}

void UGameUserSettings::ApplyResolutionSettings(bool /*bCheckForCommandLineOverrides*/)
{
	// The stand-in has no command line of its own to override the saved size with.
	FSystemResolution::RequestResolutionChange(static_cast<int32>(ResolutionSizeX), static_cast<int32>(ResolutionSizeY), GetFullscreenMode());
}

void UGameUserSettings::ApplyNonResolutionSettings()
{
	GetEngineRecord().NonResolutionApplications += 1;
	// The user's levels replace whatever levels are in force.
	Scalability::SetQualityLevels(ScalabilityQuality);
}

void UGameUserSettings::LoadSettings(bool /*bForceReload*/)
{
	ScalabilityQuality = Scalability::GetQualityLevels();
}

void UGameUserSettings::SaveSettings()
{
	Scalability::SaveState(GGameUserSettingsIni);
	GConfig->Flush(false, GGameUserSettingsIni);
}
