// The lowest layer of every object: its class, name, outer, flags and its index in the object array.
#pragma once

#include "HAL/Platform.h"
#include "UObject/NameTypes.h"
#include "UObject/ObjectMacros.h"

class UClass;
class UObject;
class UPackage;

class COREUOBJECT_API UObjectBase
{
public:
	/** Takes class, outer, name and flags from the object being constructed by StaticConstructObject_Internal. */
	UObjectBase();
	virtual ~UObjectBase();

	UObjectBase(const UObjectBase&) = delete;
	UObjectBase& operator=(const UObjectBase&) = delete;

	FORCEINLINE UClass* GetClass() const { return ClassPrivate; }
	FORCEINLINE UObject* GetOuter() const { return OuterPrivate; }
	FORCEINLINE FName GetFName() const { return NamePrivate; }
	FORCEINLINE EObjectFlags GetFlags() const { return ObjectFlags; }
	FORCEINLINE uint32 GetUniqueID() const { return (uint32)InternalIndex; }

	/** True if this pointer still refers to a live, registered object. */
	bool IsValidLowLevel() const;
	bool IsValidLowLevelFast(bool bRecursive = true) const;

protected:
	FORCEINLINE void SetFlagsTo(EObjectFlags NewFlags) { ObjectFlags = NewFlags; }

private:
	friend class UObjectBaseUtility;
	friend struct FUObjectArrayAccess;

	EObjectFlags ObjectFlags;
	int32 InternalIndex;
	UClass* ClassPrivate;
	FName NamePrivate;
	UObject* OuterPrivate;
};
