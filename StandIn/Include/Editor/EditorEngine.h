// UEditorEngine of the stand-in editor (module UnrealEd): the engine while the editor runs.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "PlayInEditorDataTypes.h"
#include "EditorEngine.generated.h"

/**
 * The engine of the editor: the edited world's context plus, during a play-in-editor session, the play
 * world and where each session is shown (SlatePlayInEditorMap, keyed by world-context handle).
 */
UCLASS(Config = Engine, Transient)
class UNREALED_API UEditorEngine : public UEngine
{
	GENERATED_BODY()

public:
	UEditorEngine(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The world of the play-in-editor session, or null when none runs. */
	TObjectPtr<UWorld> PlayWorld;

	/** The play-in-editor session simulates (no player) instead of playing. */
	uint32 bIsSimulatingInEditor : 1;

	/** Where each play-in-editor world context is shown, by the context's handle. */
	TMap<FName, FSlatePlayInEditorInfo> SlatePlayInEditorMap;

	/** The world context of the edited world. */
	FWorldContext& GetEditorWorldContext(bool bEnsureIsGWorld = false);

	/** The world context of the first play-in-editor world, or null. */
	FWorldContext* GetPIEWorldContext(int32 WorldPIEInstance = 0);
};
