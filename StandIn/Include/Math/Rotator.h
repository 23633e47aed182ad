#pragma once

// The math types are defined together, in dependency order.
#include "Math/UnrealMath.h"
