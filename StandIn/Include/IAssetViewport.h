// IAssetViewport of the stand-in editor (module UnrealEd): a level editing viewport as the play-in-editor
// code sees it.
#pragma once

#include "CoreMinimal.h"

class FSceneViewport;
class FViewport;
class UGameViewportClient;

/** A viewport of the level editor that a play-in-editor session can play in. */
class IAssetViewport
{
public:
	virtual ~IAssetViewport() {}

	/** Starts playing in this viewport: the viewport's active scene viewport becomes a new one shown by PlayClient. */
	virtual void StartPlayInEditorSession(UGameViewportClient* PlayClient, const bool bInSimulateInEditor) = 0;

	/** Ends playing in this viewport: the editor's own scene viewport is active again. */
	virtual void EndPlayInEditorSession() = 0;

	/** Whether a play-in-editor session plays in this viewport. */
	virtual bool HasPlayInEditorViewport() const = 0;

	/** The scene viewport currently shown: the play session's while one plays here, else the editor's. */
	virtual TSharedPtr<FSceneViewport> GetSharedActiveViewport() const = 0;

	/** The viewport currently shown. */
	virtual FViewport* GetActiveViewport() = 0;
};
