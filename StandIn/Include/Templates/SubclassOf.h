// TSubclassOf: a class pointer restricted to T and its subclasses.
#pragma once

#include "UObject/Class.h"

template<class T>
class TSubclassOf
{
public:
	TSubclassOf() : Class(nullptr) {}
	TSubclassOf(UClass* From) : Class(From) {}
	template<class U, typename = decltype((T*)(U*)nullptr)>
	TSubclassOf(const TSubclassOf<U>& From) : Class(*From) {}

	TSubclassOf& operator=(UClass* From)
	{
		Class = From;
		return *this;
	}

	/** The class, or null when it is not T or a subclass of T. */
	FORCEINLINE UClass* Get() const
	{
		return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr;
	}
	FORCEINLINE UClass* operator*() const { return Get(); }
	FORCEINLINE UClass* operator->() const { return Get(); }
	FORCEINLINE operator UClass*() const { return Get(); }
	FORCEINLINE T* GetDefaultObject() const
	{
		UClass* Result = Get();
		return Result ? (T*)Result->GetDefaultObject() : nullptr;
	}

private:
	UClass* Class;
};
