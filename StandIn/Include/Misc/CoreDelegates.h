#pragma once

#include "HAL/Platform.h"
#include "Delegates/Delegate.h"

class CORE_API FCoreDelegates
{
public:
	/** Called at the beginning of a frame. */
	static FSimpleMulticastDelegate OnBeginFrame;
	/** Called at the end of a frame. */
	static FSimpleMulticastDelegate OnEndFrame;
	/** Called at the beginning of a frame on the render thread. */
	static FSimpleMulticastDelegate OnBeginFrameRT;
	/** Called at the end of a frame on the render thread. */
	static FSimpleMulticastDelegate OnEndFrameRT;
	/** Called before the engine exits, before any core module shuts down. */
	static FSimpleMulticastDelegate OnEnginePreExit;
	/** Called when the application is about to exit. */
	static FSimpleMulticastDelegate OnPreExit;
	/** Called when the application is exiting. */
	static FSimpleMulticastDelegate OnExit;
	/** Called at the end of UEngine::Init, right before the PostEngineInit modules load. */
	static FSimpleMulticastDelegate OnPostEngineInit;
	/** Called after the engine loop has finished initialising. */
	static FSimpleMulticastDelegate OnFEngineLoopInitComplete;
};
