// The shared precompiled header of modules that depend on Engine: UnrealBuildTool force-includes it
// before every source file of such a module. Only what the engine's own shared header certainly holds
// is here, so a source file that forgets an include fails here as well.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "Engine/EngineBaseTypes.h"
