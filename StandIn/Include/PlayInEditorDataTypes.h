// Play-in-editor information of the stand-in editor (module UnrealEd).
#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtrTemplates.h"

class IAssetViewport;
class SWindow;
class FSceneViewport;
class ULocalPlayer;

/** Where a play-in-editor session shows its world: a level viewport, or a window of its own. */
struct FSlatePlayInEditorInfo
{
	/** The level viewport the session plays in, or empty when it has its own window. */
	TWeakPtr<class IAssetViewport> DestinationSlateViewport;

	/** The local player of the session. */
	TWeakObjectPtr<ULocalPlayer> EditorPlayer;

	/** The session's own window, or empty when it plays in a level viewport. */
	TWeakPtr<SWindow> SlatePlayInEditorWindow;

	/** The viewport of the session's own window, or null when it plays in a level viewport. */
	TSharedPtr<FSceneViewport> SlatePlayInEditorWindowViewport;
};
