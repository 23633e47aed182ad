// The stand-in's own access to a world's internals (UWorld befriends FWorldAccess). Internal to the library.
#pragma once

#include "Engine/World.h"

struct FWorldAccess
{
	/** The world's controllers, in the order they were added. */
	static const TArray<AController*>& GetControllers(const UWorld& World) { return World.Controllers; }
};
