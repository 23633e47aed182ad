// The data records of the stand-in TextureShareCore module (Private folder, as in the engine).
#pragma once

#include "Containers/TextureShareCoreContainers_FrameMarker.h"
#include "Containers/TextureShareCoreContainers_Data.h"
