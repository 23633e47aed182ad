// SLevelViewport of the stand-in editor (module LevelEditor): one viewport of the level editor.
#pragma once

#include "CoreMinimal.h"
#include "IAssetViewport.h"

class FSceneViewport;
class UGameViewportClient;

/**
 * A viewport of the level editor. It shows the edited world through its own scene viewport; while a
 * play-in-editor session plays in it, a new scene viewport shown by the session's game viewport client is
 * the active one, and the editor's own comes back when the session ends. In the engine a Slate widget
 * (SAssetEditorViewport); the stand-in creates it with the editor (StandIn/Testing/EngineTesting.h).
 */
class LEVELEDITOR_API SLevelViewport : public IAssetViewport
{
public:
	virtual ~SLevelViewport() override;

	//~ Begin IAssetViewport Interface
	virtual void StartPlayInEditorSession(UGameViewportClient* PlayClient, const bool bInSimulateInEditor) override;
	virtual void EndPlayInEditorSession() override;
	virtual bool HasPlayInEditorViewport() const override;
	virtual TSharedPtr<FSceneViewport> GetSharedActiveViewport() const override { return ActiveViewport; }
	virtual FViewport* GetActiveViewport() override;
	//~ End IAssetViewport Interface

private:
	friend struct FLevelViewportAccess;

	SLevelViewport();

	/** The scene viewport shown now. */
	TSharedPtr<FSceneViewport> ActiveViewport;

	/** The editor's own scene viewport while a play session is active here, else null. */
	TSharedPtr<FSceneViewport> InactiveViewport;
};
