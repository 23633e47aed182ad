// UPackage: the outermost object; reflected types live in "/Script/<Module>", new objects without
// an outer in the transient package.
#pragma once

#include "UObject/Object.h"

class COREUOBJECT_API UPackage : public UObject
{
	DECLARE_CLASS(UPackage, UObject, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UPackage)

public:
	UPackage() = default;
};

/** Finds or creates the package named PackageName. */
COREUOBJECT_API UPackage* CreatePackage(const TCHAR* PackageName);
COREUOBJECT_API UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName);
