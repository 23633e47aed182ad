// What the plug-in asked of the stand-in engine, kept for tests (read through StandIn/Testing/EngineTesting.h).
// Internal to the stand-in library.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"
#include "EngineTesting.h"

class FViewportFrame;

struct FEngineRecord
{
	struct FFrameResize
	{
		FViewportFrame* Frame = nullptr;
		uint32 SizeX = 0;
		uint32 SizeY = 0;
		EWindowMode::Type WindowMode = EWindowMode::Windowed;
	};

	/** Every FViewportFrame::ResizeFrame call on a scene viewport, oldest first. */
	TArray<FFrameResize> FrameResizes;
	/** The argument of every UGameUserSettings::ApplySettings call, oldest first. */
	TArray<bool> ApplySettingsCalls;
	/** Number of UGameUserSettings::ApplyNonResolutionSettings calls (ApplySettings makes one as well). */
	int32 NonResolutionApplications = 0;
	/** Number of PostEditChangeProperty notifications of the editor performance settings. */
	int32 PerformanceSettingsChanges = 0;
	/** Every view family handed to the renderer, oldest first. */
	TArray<EngineTesting::FRenderedViewport> RenderedViewports;
};

/** The record of this process. */
FEngineRecord& GetEngineRecord();
