// FLevelEditorModule of the stand-in editor (module LevelEditor, loaded by name "LevelEditor").
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"

class IAssetViewport;
class SLevelViewport;

/** The level editor: its viewports. */
class LEVELEDITOR_API FLevelEditorModule : public IModuleInterface
{
public:
	/** The first active viewport of the level editor, or null when the editor has none. */
	virtual TSharedPtr<class SLevelViewport> GetFirstActiveLevelViewport();

	/** The first active viewport of the level editor as an asset viewport, or null. */
	virtual TSharedPtr<class IAssetViewport> GetFirstActiveViewport();

private:
	friend struct FLevelViewportAccess;

	TSharedPtr<SLevelViewport> FirstActiveLevelViewport;
};
