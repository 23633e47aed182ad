// Iteration over live objects of a class.
#pragma once

#include "Containers/Array.h"
#include "UObject/UObjectHash.h"

/** Iterates the live objects of T and its subclasses (class default objects excluded by default). */
template<class T>
class TObjectIterator
{
public:
	explicit TObjectIterator(EObjectFlags AdditionalExclusionFlags = RF_ClassDefaultObject, bool bIncludeDerivedClasses = true, EInternalObjectFlags InInternalExclusionFlags = EInternalObjectFlags::None)
		: Index(-1)
	{
		GetObjectsOfClass(T::StaticClass(), ObjectArray, bIncludeDerivedClasses, AdditionalExclusionFlags, InInternalExclusionFlags);
		Advance();
	}

	FORCEINLINE void operator++() { Advance(); }
	FORCEINLINE explicit operator bool() const { return ObjectArray.IsValidIndex(Index); }
	FORCEINLINE bool operator!() const { return !(bool)*this; }
	FORCEINLINE T* operator*() const { return (T*)ObjectArray[Index]; }
	FORCEINLINE T* operator->() const { return (T*)ObjectArray[Index]; }

private:
	void Advance()
	{
		while (++Index < ObjectArray.Num() && !ObjectArray[Index]->IsValidLowLevel())
		{
		}
	}

	TArray<UObject*> ObjectArray;
	int32 Index;
};
