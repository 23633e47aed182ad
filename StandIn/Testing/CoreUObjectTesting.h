// Test controls of the stand-in object system: garbage collection and resetting the object registry.
#pragma once

#include "HAL/Platform.h"

class UObject;

namespace CoreUObjectTesting
{
	/** Destroys Object (and the objects inside it) now, as garbage collection would once nothing
	 *  referenced it: BeginDestroy, FinishDestroy, destructor. Weak pointers to it read as null after. */
	COREUOBJECT_API void DestroyObject(UObject* Object);

	/** Destroys every object marked as garbage (MarkAsGarbage) that is not rooted, with the objects
	 *  inside them. Returns how many objects were destroyed. */
	COREUOBJECT_API int32 CollectGarbage();

	/** Destroys every object except packages and reflection types (classes, functions, structs,
	 *  enums), class default objects included, so the next test starts from fresh defaults. */
	COREUOBJECT_API void ResetObjects();

	/** Number of live objects, reflection types included. */
	COREUOBJECT_API int32 NumLiveObjects();
}
