#include "LevelEditor.h"
#include "SLevelViewport.h"
#include "Engine/GameViewportClient.h"
#include "Modules/ModuleManager.h"
#include "Slate/SceneViewport.h"

IMPLEMENT_MODULE(FLevelEditorModule, LevelEditor)

TSharedPtr<SLevelViewport> FLevelEditorModule::GetFirstActiveLevelViewport()
{
	return FirstActiveLevelViewport;
}

TSharedPtr<IAssetViewport> FLevelEditorModule::GetFirstActiveViewport()
{
	return FirstActiveLevelViewport;
}

SLevelViewport::SLevelViewport() = default;

SLevelViewport::~SLevelViewport() = default;

void SLevelViewport::StartPlayInEditorSession(UGameViewportClient* PlayClient, const bool /*bInSimulateInEditor*/)
{
	// The editor's own viewport is kept aside; a new scene viewport of the same size shows the play session.
	check(!InactiveViewport.IsValid());
	InactiveViewport = ActiveViewport;
	ActiveViewport = MakeShared<FSceneViewport>(PlayClient, nullptr);
	ActiveViewport->SetPlayInEditorViewport(true);
	if (PlayClient != nullptr)
	{
		PlayClient->SetViewportFrame(ActiveViewport.Get());
	}
}

void SLevelViewport::EndPlayInEditorSession()
{
	if (InactiveViewport.IsValid())
	{
		ActiveViewport = InactiveViewport;
		InactiveViewport.Reset();
	}
}

bool SLevelViewport::HasPlayInEditorViewport() const
{
	return InactiveViewport.IsValid();
}

FViewport* SLevelViewport::GetActiveViewport()
{
	return ActiveViewport.Get();
}
