// FSceneViewport of the stand-in engine (module Engine): the viewport of a game or play-in-editor window,
// which is also that window's frame.
#pragma once

#include "CoreMinimal.h"
#include "UnrealClient.h"

class SViewport;

/**
 * A viewport shown in a Slate window. The stand-in has no windows: the viewport's size, window mode and
 * desktop position are set by the engine loop test controls, and every ResizeFrame request is recorded for
 * tests (StandIn/Testing/EngineTesting.h) without changing the viewport, as a real resize reaches the
 * viewport only later, through the window system.
 */
class ENGINE_API FSceneViewport : public FViewportFrame, public FViewport
{
public:
	FSceneViewport(FViewportClient* InViewportClient, TSharedPtr<SViewport> InViewportWidget);
	virtual ~FSceneViewport() override;

	//~ Begin FViewport Interface
	virtual void* GetWindow() override { return nullptr; }
	virtual FIntPoint ViewportToVirtualDesktopPixel(FVector2D ViewportCoordinate) const override;
	virtual FVector2D VirtualDesktopPixelToViewport(FIntPoint VirtualDesktopPointPx) const override;
	//~ End FViewport Interface

	//~ Begin FViewportFrame Interface
	virtual FViewport* GetViewport() override { return this; }
	virtual void ResizeFrame(uint32 NewSizeX, uint32 NewSizeY, EWindowMode::Type NewWindowMode) override;
	//~ End FViewportFrame Interface

	/** The viewport's size in pixels. */
	FIntPoint GetSize() const { return GetSizeXY(); }

	TSharedPtr<SViewport> GetViewportWidget() const { return ViewportWidget.Pin(); }

private:
	friend struct FSceneViewportAccess;

	TWeakPtr<SViewport> ViewportWidget;
	FIntPoint DesktopPosition = FIntPoint(0, 0);
};
