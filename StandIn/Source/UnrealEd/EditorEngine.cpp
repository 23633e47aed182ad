#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "Editor/EditorPerformanceSettings.h"
#include "Engine/DeveloperSettings.h"
#include "CoreGlobals.h"

#include "../Engine/EngineRecord.h"

UEditorEngine* GEditor = nullptr;

UWorld* SetPlayInEditorWorld(UWorld* PlayInEditorWorld)
{
	UWorld* Previous = GWorld;
	GWorld = PlayInEditorWorld;
	GIsPlayInEditorWorld = true;
	return Previous;
}

void RestoreEditorWorld(UWorld* EditorWorld)
{
	GWorld = EditorWorld;
	GIsPlayInEditorWorld = false;
}

UEditorEngine::UEditorEngine(const FObjectInitializer& ObjectInitializer)
	: UEngine(ObjectInitializer)
	, bIsSimulatingInEditor(false)
{
}

FWorldContext& UEditorEngine::GetEditorWorldContext(bool /*bEnsureIsGWorld*/)
{
	for (FWorldContext& Context : WorldList)
	{
		if (Context.WorldType == EWorldType::Editor)
		{
			return Context;
		}
	}
	checkf(false, TEXT("The editor has no editor world context"));
	return WorldList[0];
}

FWorldContext* UEditorEngine::GetPIEWorldContext(int32 WorldPIEInstance)
{
	for (FWorldContext& Context : WorldList)
	{
		if (Context.WorldType == EWorldType::PIE && Context.PIEInstance == WorldPIEInstance)
		{
			return &Context;
		}
	}
	return nullptr;
}

UDeveloperSettings::UDeveloperSettings(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

FName UDeveloperSettings::GetContainerName() const
{
	return FName(TEXT("Project"));
}

FName UDeveloperSettings::GetCategoryName() const
{
	return FName(TEXT("General"));
}

UEditorPerformanceSettings::UEditorPerformanceSettings(const FObjectInitializer& ObjectInitializer)
	: UDeveloperSettings(ObjectInitializer)
	, bThrottleCPUWhenNotForeground(true)
{
}

#if WITH_EDITOR
void UEditorPerformanceSettings::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	GetEngineRecord().PerformanceSettingsChanges += 1;
}
#endif
