#include "UnrealClient.h"
#include "Slate/SceneViewport.h"

#include "EngineRecord.h"

#include <cmath>

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
	// The viewport covers SizeX by SizeY pixels from its desktop position; the last pixel is at Size - 1,
	// so (1,1) maps onto the lower-right pixel rather than one past it.
	const double X = DesktopPosition.X + ViewportCoordinate.X * (SizeX > 0 ? SizeX - 1 : 0);
	const double Y = DesktopPosition.Y + ViewportCoordinate.Y * (SizeY > 0 ? SizeY - 1 : 0);
	return FIntPoint(static_cast<int32>(std::lround(X)), static_cast<int32>(std::lround(Y)));
}

FVector2D FSceneViewport::VirtualDesktopPixelToViewport(FIntPoint VirtualDesktopPointPx) const
{
	const double Width = SizeX > 1 ? SizeX - 1 : 1;
	const double Height = SizeY > 1 ? SizeY - 1 : 1;
	return FVector2D((VirtualDesktopPointPx.X - DesktopPosition.X) / Width, (VirtualDesktopPointPx.Y - DesktopPosition.Y) / Height);
}

void FSceneViewport::ResizeFrame(uint32 NewSizeX, uint32 NewSizeY, EWindowMode::Type NewWindowMode)
{
	// No window system here: the request is recorded and the viewport keeps its size, as a real frame
	// resize reaches the viewport only later, through the window.
	GetEngineRecord().FrameResizes.Add(FEngineRecord::FFrameResize{this, NewSizeX, NewSizeY, NewWindowMode});
}
