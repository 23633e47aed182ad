// Queries over all live objects.
#pragma once

#include "Containers/Array.h"
#include "UObject/ObjectMacros.h"

class UObject;
class UClass;

/** Live objects of ClassToLookFor (and its subclasses), without class default objects by default. */
COREUOBJECT_API void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses = true, EObjectFlags ExcludeFlags = RF_ClassDefaultObject, EInternalObjectFlags ExclusionInternalFlags = EInternalObjectFlags::None);

/** Objects whose outer is Outer (and, with bIncludeNestedObjects, their inner objects). */
COREUOBJECT_API void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects = true, EObjectFlags ExclusionFlags = RF_NoFlags, EInternalObjectFlags ExclusionInternalFlags = EInternalObjectFlags::None);

/** Classes derived from ClassToLookFor (its direct children only unless bRecursive). */
COREUOBJECT_API void GetDerivedClasses(const UClass* ClassToLookFor, TArray<UClass*>& Results, bool bRecursive = true);
