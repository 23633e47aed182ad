// Internals of the stand-in object system shared by its sources.
#pragma once

#include <vector>

#include "UObject/Object.h"

namespace CoreUObjectPrivate
{
	struct FObjectItem
	{
		UObjectBase* Object = nullptr;
		int32 SerialNumber = 0;
		EInternalObjectFlags Flags = EInternalObjectFlags::None;
		int32 Alignment = 16;
	};

	struct FObjectArray
	{
		static FObjectArray& Get();
		int32 Add(UObjectBase* Object, int32 Alignment);
		FObjectItem* Find(int32 Index);
		void Remove(int32 Index);

		std::vector<FObjectItem> Items;
		std::vector<int32> FreeList;
		int32 NextSerialNumber = 1;
	};

	void* AllocateObjectMemory(int32 Size, int32 Alignment);
	void DestroyObjects(const std::vector<UObject*>& Roots);
	/** Runs the registrations of modules loaded since the last call. */
	void ProcessCompiledInRegistrations();
	/** Creates an intrinsic or registered type object (UClass, UFunction, ...) of Class. */
	UObject* ConstructTypeObject(UClass* Class, UObject* Outer, FName Name);
}
