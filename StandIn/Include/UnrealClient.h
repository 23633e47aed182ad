// FViewport, FViewportClient and FViewportFrame of the stand-in engine (module Engine): the engine's
// render target of a window, what draws into it, and the window frame around it.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"

/** Receives a viewport's input and draws into it. The stand-in keeps only the base type. */
class FViewportClient
{
public:
	virtual ~FViewportClient() = default;
};

/**
 * A rectangle the engine renders into. Its size and window mode are what the engine last gave it; in the
 * stand-in they are set by the engine loop test controls (StandIn/Testing/EngineTesting.h).
 */
class ENGINE_API FViewport
{
public:
	explicit FViewport(FViewportClient* InViewportClient);
	virtual ~FViewport();

	FViewport(const FViewport&) = delete;
	FViewport& operator=(const FViewport&) = delete;

	/** The native window of the viewport, or null. */
	virtual void* GetWindow() = 0;

	/** The viewport's size in pixels. */
	virtual FIntPoint GetSizeXY() const { return FIntPoint(static_cast<int32>(SizeX), static_cast<int32>(SizeY)); }

	/** The window mode the viewport is shown in. */
	virtual EWindowMode::Type GetWindowMode() const { return WindowMode; }

	/**
	 * @param ViewportCoordinate normalised position in the viewport: (0,0) upper left, (1,1) lower right.
	 * @return the position in virtual-desktop pixels.
	 */
	virtual FIntPoint ViewportToVirtualDesktopPixel(FVector2D ViewportCoordinate) const = 0;

	/** @return the normalised viewport position of a virtual-desktop pixel. */
	virtual FVector2D VirtualDesktopPixelToViewport(FIntPoint VirtualDesktopPointPx) const = 0;

	FViewportClient* GetClient() const { return ViewportClient; }

	bool IsPlayInEditorViewport() const { return bIsPlayInEditorViewport; }
	void SetPlayInEditorViewport(bool bInPlayInEditorViewport) { bIsPlayInEditorViewport = bInPlayInEditorViewport; }

protected:
	FViewportClient* ViewportClient;
	uint32 SizeX = 0;
	uint32 SizeY = 0;
	EWindowMode::Type WindowMode = EWindowMode::Windowed;
	bool bIsPlayInEditorViewport = false;
};

/** The window frame that holds a viewport. */
class FViewportFrame
{
public:
	virtual ~FViewportFrame() = default;

	virtual FViewport* GetViewport() = 0;

	/** Resizes the window that holds the viewport (frame size, borders included). */
	virtual void ResizeFrame(uint32 NewSizeX, uint32 NewSizeY, EWindowMode::Type NewWindowMode) = 0;
};
