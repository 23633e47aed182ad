// Helpers the generated headers and native thunks use.
#pragma once

#include "UObject/Script.h"
#include "UObject/Stack.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/ScriptDelegates.h"
