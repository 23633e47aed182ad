// The shared precompiled header of editor modules that depend on UnrealEd: UnrealBuildTool force-includes
// it before every source file of such a module.
#pragma once

#include "EngineSharedPCH.h"
