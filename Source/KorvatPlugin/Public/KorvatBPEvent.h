// Blueprint-facing types of the Korvat runtime module.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "KorvatBPEvent.generated.h"

/** Called when the host calls a method of a Korvat node; Argument is the call's integer argument. */
DECLARE_DYNAMIC_DELEGATE_OneParam(FKorvatEventCallback, int32, Argument);
