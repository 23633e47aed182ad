// FWeakObjectPtr: refers to an object by its index and serial number in the object array, so it
// reads as null once the object is destroyed or marked as garbage.
#pragma once

#include "HAL/Platform.h"
#include "Templates/TypeHash.h"

class UObject;

struct COREUOBJECT_API FWeakObjectPtr
{
public:
	FORCEINLINE FWeakObjectPtr() { Reset(); }
	FORCEINLINE FWeakObjectPtr(decltype(nullptr)) { Reset(); }
	FWeakObjectPtr(const UObject* Object) { (*this) = Object; }
	FWeakObjectPtr(const FWeakObjectPtr& Other) = default;
	FWeakObjectPtr& operator=(const FWeakObjectPtr& Other) = default;

	void operator=(const UObject* Object);

	FORCEINLINE void Reset()
	{
		ObjectIndex = -1;
		ObjectSerialNumber = 0;
	}

	/** The object, or null if it is gone or (unless bEvenIfPendingKill) marked as garbage. */
	UObject* Get(bool bEvenIfPendingKill) const;
	UObject* Get() const;
	UObject* GetEvenIfUnreachable() const;
	bool IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest = false) const;
	bool IsValid() const;
	/** True if this once pointed at an object that is now gone. */
	bool IsStale(bool bIncludingIfPendingKill = true, bool bThreadsafeTest = false) const;
	FORCEINLINE bool IsExplicitlyNull() const { return ObjectIndex == -1 && ObjectSerialNumber == 0; }

	FORCEINLINE bool operator==(const FWeakObjectPtr& Other) const
	{
		return (ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber) || (!IsValid() && !Other.IsValid());
	}
	FORCEINLINE bool operator!=(const FWeakObjectPtr& Other) const { return !(*this == Other); }

	FORCEINLINE uint32 GetTypeHash() const { return ::GetTypeHash((uint32)ObjectIndex) ^ ::GetTypeHash((uint32)ObjectSerialNumber); }
	friend FORCEINLINE uint32 GetTypeHash(const FWeakObjectPtr& WeakObjectPtr) { return WeakObjectPtr.GetTypeHash(); }

private:
	int32 ObjectIndex;
	int32 ObjectSerialNumber;
};
