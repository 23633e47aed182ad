#pragma once

#include "HAL/Platform.h"

/** Names hard-wired into the name table at fixed indices. */
enum EName : uint32
{
	NAME_None = 0,
};

#define NAME_NO_NUMBER_INTERNAL 0
