// FViewport, FViewportClient and FViewportFrame of the stand-in engine (module Engine): the engine's
// render target of a window, what draws into it, and the window frame around it.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"

class FCanvas;
class FViewport;

/** Something the renderer draws into: a viewport, a texture. */
class ENGINE_API FRenderTarget
{
public:
	virtual ~FRenderTarget() = default;

	/** The size of the target in pixels. */
	virtual FIntPoint GetSizeXY() const = 0;
};

/** Receives a viewport's input and draws into it. */
class FViewportClient
{
public:
	virtual ~FViewportClient() = default;

	/** Draws the client's view of the world into Viewport. */
	virtual void Draw(FViewport* /*Viewport*/, FCanvas* /*Canvas*/) {}
};

/**
 * A rectangle the engine renders into. Its size and window mode are what the engine last gave it; in the
 * stand-in they are set by the engine loop test controls (StandIn/Testing/EngineTesting.h).
 */
class ENGINE_API FViewport : public FRenderTarget
{
public:
	explicit FViewport(FViewportClient* InViewportClient);
	virtual ~FViewport();

	FViewport(const FViewport&) = delete;
	FViewport& operator=(const FViewport&) = delete;

	/** The native window of the viewport, or null. */
	virtual void* GetWindow() = 0;

	/** The viewport's size in pixels. */
	virtual FIntPoint GetSizeXY() const override { return FIntPoint(static_cast<int32>(SizeX), static_cast<int32>(SizeY)); }

	/** The aspect ratio the viewport wants to be shown at: its own width / height. */
	virtual float GetDesiredAspectRatio() const
	{
		const FIntPoint Size = GetSizeXY();
		return static_cast<float>(Size.X) / static_cast<float>(Size.Y);
	}

	/**
	 * The part of ViewRect that shows AspectRatio: ViewRect narrowed and centred (black bars) when its own
	 * aspect differs from AspectRatio by more than 0.01, else ViewRect itself.
	 */
	FIntRect CalculateViewExtents(float AspectRatio, const FIntRect& ViewRect);

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
