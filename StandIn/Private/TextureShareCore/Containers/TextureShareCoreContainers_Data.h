// What one process shares through a share object (module TextureShareCore, Private folder). The stand-in
// carries only the frame marker; the views, resources and projections of the engine's record are left out.
#pragma once

#include "Containers/TextureShareCoreContainers_FrameMarker.h"

struct FTextureShareCoreData
{
	FTextureShareCoreFrameMarker FrameMarker;
};
