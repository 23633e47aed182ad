// The object array: every live object has a slot (index) and a serial number, so weak pointers can
// tell a live object from a destroyed one whose slot was reused. Also object destruction, which the
// stand-in runs only when a test asks (there is no reachability analysis).
#include "UObjectArrayPrivate.h"

#include <cstring>
#include <new>
#include <vector>

#include "CoreUObjectTesting.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/WeakObjectPtr.h"

namespace CoreUObjectPrivate
{
	FObjectArray& FObjectArray::Get()
	{
		// Never destroyed: objects may be touched during static teardown.
		static FObjectArray* Array = new FObjectArray();
		return *Array;
	}

	int32 FObjectArray::Add(UObjectBase* Object, int32 Alignment)
	{
		int32 Index;
		if (!FreeList.empty())
		{
			Index = FreeList.back();
			FreeList.pop_back();
		}
		else
		{
			Index = (int32)Items.size();
			Items.emplace_back();
		}
		FObjectItem& Item = Items[Index];
		Item.Object = Object;
		Item.SerialNumber = NextSerialNumber++;
		Item.Flags = EInternalObjectFlags::None;
		Item.Alignment = Alignment;
		return Index;
	}

	FObjectItem* FObjectArray::Find(int32 Index)
	{
		return Index >= 0 && Index < (int32)Items.size() && Items[Index].Object ? &Items[Index] : nullptr;
	}

	void FObjectArray::Remove(int32 Index)
	{
		Items[Index] = FObjectItem();
		FreeList.push_back(Index);
	}

	void* AllocateObjectMemory(int32 Size, int32 Alignment)
	{
		void* Memory = ::operator new((size_t)Size, std::align_val_t((size_t)Alignment));
		// Object memory starts zeroed, as in the engine: members without initialisers read as zero.
		std::memset(Memory, 0, (size_t)Size);
		return Memory;
	}

	static bool IsInsideAny(UObject* Object, const std::vector<UObject*>& Outers)
	{
		for (UObject* Outer = Object->GetOuter(); Outer; Outer = Outer->GetOuter())
		{
			for (UObject* Candidate : Outers)
			{
				if (Candidate == Outer)
				{
					return true;
				}
			}
		}
		return false;
	}

	void DestroyObjects(const std::vector<UObject*>& Roots)
	{
		FObjectArray& Array = FObjectArray::Get();
		// The objects inside a destroyed object go with it.
		std::vector<UObject*> Doomed = Roots;
		for (FObjectItem& Item : Array.Items)
		{
			UObject* Object = (UObject*)Item.Object;
			if (Object && IsInsideAny(Object, Roots))
			{
				bool bAlready = false;
				for (UObject* D : Doomed)
				{
					bAlready |= D == Object;
				}
				if (!bAlready)
				{
					Doomed.push_back(Object);
				}
			}
		}
		for (UObject* Object : Doomed)
		{
			if (FObjectItem* Item = Array.Find((int32)Object->GetUniqueID()))
			{
				Item->Flags |= EInternalObjectFlags::Unreachable;
			}
		}
		for (UObject* Object : Doomed)
		{
			Object->ConditionalBeginDestroy();
		}
		for (UObject* Object : Doomed)
		{
			Object->ConditionalFinishDestroy();
		}
		for (UObject* Object : Doomed)
		{
			if (Object->HasAnyFlags(RF_ClassDefaultObject) && Object->GetClass() && Object->GetClass()->ClassDefaultObject == Object)
			{
				Object->GetClass()->ClassDefaultObject = nullptr;
			}
			const int32 Index = (int32)Object->GetUniqueID();
			const int32 Alignment = Array.Items[Index].Alignment;
			static_cast<UObjectBase*>(Object)->~UObjectBase();
			::operator delete((void*)Object, std::align_val_t((size_t)Alignment));
			Array.Remove(Index);
		}
	}
}

using namespace CoreUObjectPrivate;

// -- weak pointers ------------------------------------------------------------------------------

void FWeakObjectPtr::operator=(const UObject* Object)
{
	if (Object)
	{
		ObjectIndex = (int32)Object->GetUniqueID();
		FObjectItem* Item = FObjectArray::Get().Find(ObjectIndex);
		checkf(Item && Item->Object == Object, TEXT("Weak pointer to an object that is not in the object array"));
		ObjectSerialNumber = Item->SerialNumber;
	}
	else
	{
		Reset();
	}
}

static FObjectItem* FindLiveItem(int32 ObjectIndex, int32 ObjectSerialNumber)
{
	if (ObjectSerialNumber == 0)
	{
		return nullptr;
	}
	FObjectItem* Item = FObjectArray::Get().Find(ObjectIndex);
	return Item && Item->SerialNumber == ObjectSerialNumber ? Item : nullptr;
}

UObject* FWeakObjectPtr::Get(bool bEvenIfPendingKill) const
{
	FObjectItem* Item = FindLiveItem(ObjectIndex, ObjectSerialNumber);
	if (!Item || (Item->Flags & EInternalObjectFlags::Unreachable) != EInternalObjectFlags::None)
	{
		return nullptr;
	}
	if (!bEvenIfPendingKill && (Item->Flags & EInternalObjectFlags::Garbage) != EInternalObjectFlags::None)
	{
		return nullptr;
	}
	return (UObject*)Item->Object;
}

UObject* FWeakObjectPtr::Get() const
{
	return Get(false);
}

UObject* FWeakObjectPtr::GetEvenIfUnreachable() const
{
	FObjectItem* Item = FindLiveItem(ObjectIndex, ObjectSerialNumber);
	return Item ? (UObject*)Item->Object : nullptr;
}

bool FWeakObjectPtr::IsValid(bool bEvenIfPendingKill, bool) const
{
	return Get(bEvenIfPendingKill) != nullptr;
}

bool FWeakObjectPtr::IsValid() const
{
	return Get(false) != nullptr;
}

bool FWeakObjectPtr::IsStale(bool bIncludingIfPendingKill, bool) const
{
	if (ObjectSerialNumber == 0)
	{
		return false;
	}
	return Get(!bIncludingIfPendingKill) == nullptr;
}

// -- flags kept in the object array ---------------------------------------------------------------

static FObjectItem& ItemOf(const UObjectBase* Object)
{
	FObjectItem* Item = FObjectArray::Get().Find((int32)Object->GetUniqueID());
	checkf(Item && Item->Object == Object, TEXT("Object is not in the object array"));
	return *Item;
}

void UObjectBaseUtility::MarkAsGarbage()
{
	checkf(!IsRooted(), TEXT("Cannot mark a rooted object as garbage"));
	ItemOf(this).Flags |= EInternalObjectFlags::Garbage;
}

void UObjectBaseUtility::ClearGarbage()
{
	ItemOf(this).Flags &= ~EInternalObjectFlags::Garbage;
}

void UObjectBaseUtility::AddToRoot()
{
	ItemOf(this).Flags |= EInternalObjectFlags::RootSet;
}

void UObjectBaseUtility::RemoveFromRoot()
{
	ItemOf(this).Flags &= ~EInternalObjectFlags::RootSet;
}

bool UObjectBaseUtility::IsRooted() const
{
	return HasAnyInternalFlags(EInternalObjectFlags::RootSet);
}

bool UObjectBaseUtility::IsUnreachable() const
{
	return HasAnyInternalFlags(EInternalObjectFlags::Unreachable);
}

bool UObjectBaseUtility::HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const
{
	FObjectItem* Item = FObjectArray::Get().Find((int32)GetUniqueID());
	return Item && Item->Object == this && (Item->Flags & FlagsToCheck) != EInternalObjectFlags::None;
}

bool UObjectBase::IsValidLowLevel() const
{
	FObjectItem* Item = FObjectArray::Get().Find(InternalIndex);
	return Item && Item->Object == this && ClassPrivate != nullptr;
}

bool UObjectBase::IsValidLowLevelFast(bool) const
{
	return IsValidLowLevel();
}

// -- test controls --------------------------------------------------------------------------------

namespace CoreUObjectTesting
{
	void DestroyObject(UObject* Object)
	{
		check(Object && Object->IsValidLowLevel());
		DestroyObjects({ Object });
	}

	int32 CollectGarbage()
	{
		FObjectArray& Array = FObjectArray::Get();
		std::vector<UObject*> Garbage;
		for (FObjectItem& Item : Array.Items)
		{
			if (Item.Object && (Item.Flags & EInternalObjectFlags::Garbage) != EInternalObjectFlags::None
				&& (Item.Flags & EInternalObjectFlags::RootSet) == EInternalObjectFlags::None)
			{
				Garbage.push_back((UObject*)Item.Object);
			}
		}
		const int32 Before = NumLiveObjects();
		if (!Garbage.empty())
		{
			DestroyObjects(Garbage);
		}
		return Before - NumLiveObjects();
	}

	void ResetObjects()
	{
		FObjectArray& Array = FObjectArray::Get();
		std::vector<UObject*> Doomed;
		for (FObjectItem& Item : Array.Items)
		{
			UObject* Object = (UObject*)Item.Object;
			if (Object && !Object->IsA(UField::StaticClass()) && !Object->IsA(UPackage::StaticClass()))
			{
				Doomed.push_back(Object);
			}
		}
		if (!Doomed.empty())
		{
			DestroyObjects(Doomed);
		}
	}

	int32 NumLiveObjects()
	{
		int32 Count = 0;
		for (const FObjectItem& Item : FObjectArray::Get().Items)
		{
			Count += Item.Object != nullptr;
		}
		return Count;
	}
}
