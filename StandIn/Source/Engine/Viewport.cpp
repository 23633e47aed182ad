#include "UnrealClient.h"
#include "Slate/SceneViewport.h"

#include "EngineRecord.h"

FViewport::FViewport(FViewportClient* InViewportClient)
	: ViewportClient(InViewportClient)
{
}

FViewport::~FViewport() = default;

FSceneViewport::FSceneViewport(FViewportClient* InViewportClient, TSharedPtr<SViewport> InViewportWidget)
	: FViewport(InViewportClient)
	, ViewportWidget(InViewportWidget)
{
}

FSceneViewport::~FSceneViewport() = default;

FIntPoint FSceneViewport::ViewportToVirtualDesktopPixel(FVector2D ViewportCoordinate) const
{
	// As the engine: the normalised coordinate scaled by the viewport's size, moved to the viewport's place on
	// the desktop (its cached geometry, at a DPI scale of 1), each axis truncated toward zero. (0,0) is the
	// viewport's top-left pixel; (1,1) is one past its bottom-right pixel.
	const double X = DesktopPosition.X + ViewportCoordinate.X * SizeX;
	const double Y = DesktopPosition.Y + ViewportCoordinate.Y * SizeY;
	return FIntPoint(FMath::TruncToInt32(X), FMath::TruncToInt32(Y));
}

FVector2D FSceneViewport::VirtualDesktopPixelToViewport(FIntPoint VirtualDesktopPointPx) const
{
	// The inverse: the desktop pixel relative to the viewport's top-left, over the viewport's size.
	return FVector2D(static_cast<double>(VirtualDesktopPointPx.X - DesktopPosition.X) / SizeX,
		static_cast<double>(VirtualDesktopPointPx.Y - DesktopPosition.Y) / SizeY);
}

void FSceneViewport::ResizeFrame(uint32 NewSizeX, uint32 NewSizeY, EWindowMode::Type NewWindowMode)
{
	// No window system here: the request is recorded and the viewport keeps its size, as a real frame
	// resize reaches the viewport only later, through the window.
	GetEngineRecord().FrameResizes.Add(FEngineRecord::FFrameResize{this, NewSizeX, NewSizeY, NewWindowMode});
}
