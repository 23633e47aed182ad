// Editor globals of the stand-in editor (module UnrealEd): GEditor and switching the current world between
// the edited world and the play-in-editor world.
#pragma once

#include "CoreMinimal.h"
#include "Engine/World.h"
#include "Editor/EditorEngine.h"

/** The editor engine, or null outside the editor. */
extern UNREALED_API class UEditorEngine* GEditor;

/**
 * Makes PlayInEditorWorld the current world (GWorld) and sets GIsPlayInEditorWorld.
 *
 * @return the world that was current before, to hand to RestoreEditorWorld.
 */
UNREALED_API UWorld* SetPlayInEditorWorld(UWorld* PlayInEditorWorld);

/** Makes EditorWorld the current world again and clears GIsPlayInEditorWorld. */
UNREALED_API void RestoreEditorWorld(UWorld* EditorWorld);
