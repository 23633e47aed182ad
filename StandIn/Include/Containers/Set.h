// TSet: a hashed set over a sparse element array. Elements keep their slot for life; a removal leaves
// a hole that the next addition fills (most recently freed first), so iteration follows insertion
// order until something is removed. Each hash bucket chains its newest element first.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/ContainerAllocationPolicies.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

#include <optional>
#include <type_traits>

/** Key behaviour of a TSet whose elements are their own keys. */
template <typename ElementType, bool bInAllowDuplicateKeys = false>
struct DefaultKeyFuncs
{
	typedef ElementType KeyType;
	typedef const ElementType& KeyInitType;
	typedef const ElementType& ElementInitType;
	static constexpr bool bAllowDuplicateKeys = bInAllowDuplicateKeys;

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element) { return Element; }
	template <typename ComparableKey>
	static FORCEINLINE bool Matches(KeyInitType A, const ComparableKey& B) { return A == B; }
	template <typename ComparableKey>
	static FORCEINLINE uint32 GetKeyHash(const ComparableKey& Key) { return GetTypeHash(Key); }
};

/** Identifies an element of a TSet by its slot. */
class FSetElementId
{
public:
	FSetElementId() = default;
	FORCEINLINE bool IsValidId() const { return Index != INDEX_NONE; }
	FORCEINLINE int32 AsInteger() const { return Index; }
	FORCEINLINE static FSetElementId FromInteger(int32 Integer) { return FSetElementId(Integer); }
	FORCEINLINE bool operator==(const FSetElementId& Other) const { return Index == Other.Index; }
	FORCEINLINE bool operator!=(const FSetElementId& Other) const { return Index != Other.Index; }

private:
	explicit FSetElementId(int32 InIndex)
		: Index(InIndex)
	{
	}

	int32 Index = INDEX_NONE;
};

template <typename InElementType, typename KeyFuncs = DefaultKeyFuncs<InElementType>, typename Allocator = FDefaultSetAllocator>
class TSet
{
public:
	typedef InElementType ElementType;
	typedef typename KeyFuncs::KeyInitType KeyInitType;
	typedef typename KeyFuncs::ElementInitType ElementInitType;

	TSet() = default;
	TSet(const TSet&) = default;
	TSet(TSet&&) = default;
	TSet& operator=(const TSet&) = default;
	TSet& operator=(TSet&&) = default;

	TSet(std::initializer_list<ElementType> InitList)
	{
		for (const ElementType& Element : InitList)
		{
			Add(Element);
		}
	}

	explicit TSet(const TArray<ElementType>& InArray)
	{
		for (const ElementType& Element : InArray)
		{
			Add(Element);
		}
	}

	FORCEINLINE int32 Num() const { return NumElements; }
	FORCEINLINE bool IsEmpty() const { return NumElements == 0; }

	void Empty(int32 ExpectedNumElements = 0)
	{
		Slots.Empty(ExpectedNumElements);
		Buckets.Empty();
		FirstFree = INDEX_NONE;
		NumElements = 0;
	}

	void Reset()
	{
		Slots.Reset();
		Buckets.Reset();
		FirstFree = INDEX_NONE;
		NumElements = 0;
	}

	void Reserve(int32 Number) { Slots.Reserve(Number); }

	/** Adds Element; without duplicate keys an element with an equal key is replaced in its slot. */
	FSetElementId Add(const ElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return Emplace(InElement, bIsAlreadyInSetPtr); }
	FSetElementId Add(ElementType&& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return Emplace(MoveTempIfPossible(InElement), bIsAlreadyInSetPtr); }

	template <typename ArgsType>
	FSetElementId Emplace(ArgsType&& Args, bool* bIsAlreadyInSetPtr = nullptr)
	{
		ElementType Element(Forward<ArgsType>(Args));
		const uint32 KeyHash = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Element));
		if constexpr (!KeyFuncs::bAllowDuplicateKeys)
		{
			const int32 Existing = FindIndexByHash(KeyHash, KeyFuncs::GetSetKey(Element));
			if (Existing != INDEX_NONE)
			{
				Slots[Existing].Element.emplace(MoveTempIfPossible(Element));
				if (bIsAlreadyInSetPtr)
				{
					*bIsAlreadyInSetPtr = true;
				}
				return FSetElementId::FromInteger(Existing);
			}
		}
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = false;
		}
		return FSetElementId::FromInteger(AddNew(MoveTempIfPossible(Element), KeyHash));
	}

	template <typename OtherRange>
	void Append(const OtherRange& Other)
	{
		for (const auto& Element : Other)
		{
			Add(Element);
		}
	}

	FSetElementId FindId(KeyInitType Key) const
	{
		return FSetElementId::FromInteger(FindIndexByHash(KeyFuncs::GetKeyHash(Key), Key));
	}

	ElementType* Find(KeyInitType Key)
	{
		const int32 Index = FindIndexByHash(KeyFuncs::GetKeyHash(Key), Key);
		return Index != INDEX_NONE ? &*Slots[Index].Element : nullptr;
	}

	const ElementType* Find(KeyInitType Key) const
	{
		const int32 Index = FindIndexByHash(KeyFuncs::GetKeyHash(Key), Key);
		return Index != INDEX_NONE ? &*Slots[Index].Element : nullptr;
	}

	bool Contains(KeyInitType Key) const { return FindIndexByHash(KeyFuncs::GetKeyHash(Key), Key) != INDEX_NONE; }

	/** Removes every element with this key; returns how many were removed. */
	int32 Remove(KeyInitType Key)
	{
		// Copy the key: it may live in an element that is about to go.
		const std::decay_t<KeyInitType> KeyCopy(Key);
		return RemoveIf(KeyFuncs::GetKeyHash(KeyCopy), [&KeyCopy](const ElementType& Element) { return KeyFuncs::Matches(KeyFuncs::GetSetKey(Element), KeyCopy); });
	}

	void Remove(FSetElementId ElementId)
	{
		check(IsValidId(ElementId));
		RemoveSlot(ElementId.AsInteger());
	}

	bool IsValidId(FSetElementId Id) const
	{
		return Id.IsValidId() && Id.AsInteger() < Slots.Num() && Slots[Id.AsInteger()].Element.has_value();
	}

	ElementType& operator[](FSetElementId Id)
	{
		check(IsValidId(Id));
		return *Slots[Id.AsInteger()].Element;
	}

	const ElementType& operator[](FSetElementId Id) const
	{
		check(IsValidId(Id));
		return *Slots[Id.AsInteger()].Element;
	}

	TArray<ElementType> Array() const
	{
		TArray<ElementType> Result;
		Result.Reserve(NumElements);
		for (const ElementType& Element : *this)
		{
			Result.Add(Element);
		}
		return Result;
	}

	template <typename PredicateType>
	void Sort(const PredicateType& Predicate)
	{
		TArray<ElementType> Sorted;
		Sorted.Reserve(NumElements);
		for (ElementType& Element : *this)
		{
			Sorted.Add(MoveTempIfPossible(Element));
		}
		Sorted.Sort(Predicate);
		Empty(Sorted.Num());
		for (ElementType& Element : Sorted)
		{
			const uint32 KeyHash = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Element));
			AddNew(MoveTempIfPossible(Element), KeyHash);
		}
	}

	/** Calls Visitor(ElementType&) for each element with Key, newest first within one hash chain. */
	template <typename VisitorType>
	void ForEachWithKey(KeyInitType Key, VisitorType&& Visitor)
	{
		const uint32 KeyHash = KeyFuncs::GetKeyHash(Key);
		for (int32 Index = FirstInBucket(KeyHash); Index != INDEX_NONE; Index = Slots[Index].HashNext)
		{
			if (Slots[Index].Hash == KeyHash && KeyFuncs::Matches(KeyFuncs::GetSetKey(*Slots[Index].Element), Key))
			{
				Visitor(*Slots[Index].Element);
			}
		}
	}

	template <typename VisitorType>
	void ForEachWithKey(KeyInitType Key, VisitorType&& Visitor) const
	{
		const uint32 KeyHash = KeyFuncs::GetKeyHash(Key);
		for (int32 Index = FirstInBucket(KeyHash); Index != INDEX_NONE; Index = Slots[Index].HashNext)
		{
			if (Slots[Index].Hash == KeyHash && KeyFuncs::Matches(KeyFuncs::GetSetKey(*Slots[Index].Element), Key))
			{
				Visitor(static_cast<const ElementType&>(*Slots[Index].Element));
			}
		}
	}

	/** Removes the elements with this key hash that Predicate accepts; returns how many. */
	template <typename PredicateType>
	int32 RemoveIf(uint32 KeyHash, const PredicateType& Predicate)
	{
		int32 NumRemoved = 0;
		int32 Index = FirstInBucket(KeyHash);
		while (Index != INDEX_NONE)
		{
			const int32 Next = Slots[Index].HashNext;
			if (Slots[Index].Hash == KeyHash && Predicate(*Slots[Index].Element))
			{
				RemoveSlot(Index);
				++NumRemoved;
			}
			Index = Next;
		}
		return NumRemoved;
	}

	template <bool bConst>
	class TBaseIterator
	{
	public:
		using SetType = std::conditional_t<bConst, const TSet, TSet>;
		using ItElementType = std::conditional_t<bConst, const ElementType, ElementType>;

		explicit TBaseIterator(SetType& InSet, int32 StartIndex = 0)
			: Set(&InSet)
			, Index(StartIndex)
		{
			SkipFree();
		}

		TBaseIterator& operator++()
		{
			++Index;
			SkipFree();
			return *this;
		}

		ItElementType& operator*() const { return *Set->Slots[Index].Element; }
		ItElementType* operator->() const { return &*Set->Slots[Index].Element; }
		explicit operator bool() const { return Index < Set->Slots.Num(); }
		bool operator!=(const TBaseIterator& Other) const { return Index != Other.Index; }
		bool operator==(const TBaseIterator& Other) const { return Index == Other.Index; }
		FSetElementId GetId() const { return FSetElementId::FromInteger(Index); }

		/** Removes the current element; the iterator then moves on with the next ++. */
		void RemoveCurrent()
		{
			static_assert(!bConst, "RemoveCurrent needs a mutable iterator");
			Set->RemoveSlot(Index);
		}

	private:
		void SkipFree()
		{
			while (Index < Set->Slots.Num() && !Set->Slots[Index].Element.has_value())
			{
				++Index;
			}
		}

		SetType* Set;
		int32 Index;
	};

	typedef TBaseIterator<false> TIterator;
	typedef TBaseIterator<true> TConstIterator;

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	TIterator begin() { return TIterator(*this); }
	TIterator end() { return TIterator(*this, Slots.Num()); }
	TConstIterator begin() const { return TConstIterator(*this); }
	TConstIterator end() const { return TConstIterator(*this, Slots.Num()); }

private:
	struct FSlot
	{
		std::optional<ElementType> Element;
		uint32 Hash = 0;
		int32 HashNext = INDEX_NONE;
		int32 NextFree = INDEX_NONE;
	};

	int32 FirstInBucket(uint32 KeyHash) const
	{
		return Buckets.Num() ? Buckets[static_cast<int32>(KeyHash & static_cast<uint32>(Buckets.Num() - 1))] : INDEX_NONE;
	}

	template <typename ComparableKey>
	int32 FindIndexByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		for (int32 Index = FirstInBucket(KeyHash); Index != INDEX_NONE; Index = Slots[Index].HashNext)
		{
			if (Slots[Index].Hash == KeyHash && KeyFuncs::Matches(KeyFuncs::GetSetKey(*Slots[Index].Element), Key))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	static int32 DesiredBucketCount(int32 NumHashed)
	{
		if (NumHashed < 4)
		{
			return 1;
		}
		int32 Count = 1;
		while (Count < NumHashed / 2 + 8)
		{
			Count <<= 1;
		}
		return Count;
	}

	void LinkIntoBucket(int32 Index)
	{
		int32& Head = Buckets[static_cast<int32>(Slots[Index].Hash & static_cast<uint32>(Buckets.Num() - 1))];
		Slots[Index].HashNext = Head;
		Head = Index;
	}

	void Rehash(int32 BucketCount)
	{
		Buckets.Reset();
		Buckets.Reserve(BucketCount);
		for (int32 I = 0; I < BucketCount; ++I)
		{
			Buckets.Add(INDEX_NONE);
		}
		for (int32 Index = 0; Index < Slots.Num(); ++Index)
		{
			if (Slots[Index].Element.has_value())
			{
				LinkIntoBucket(Index);
			}
		}
	}

	int32 AddNew(ElementType&& Element, uint32 KeyHash)
	{
		int32 Index = FirstFree;
		if (Index != INDEX_NONE)
		{
			FirstFree = Slots[Index].NextFree;
		}
		else
		{
			Index = Slots.AddDefaulted();
		}
		FSlot& Slot = Slots[Index];
		Slot.Element.emplace(MoveTempIfPossible(Element));
		Slot.Hash = KeyHash;
		Slot.NextFree = INDEX_NONE;
		++NumElements;
		const int32 WantedBuckets = DesiredBucketCount(NumElements);
		if (WantedBuckets > Buckets.Num())
		{
			Rehash(WantedBuckets);
		}
		else
		{
			LinkIntoBucket(Index);
		}
		return Index;
	}

	void RemoveSlot(int32 Index)
	{
		FSlot& Slot = Slots[Index];
		check(Slot.Element.has_value());
		int32* Link = &Buckets[static_cast<int32>(Slot.Hash & static_cast<uint32>(Buckets.Num() - 1))];
		while (*Link != Index)
		{
			Link = &Slots[*Link].HashNext;
		}
		*Link = Slot.HashNext;
		Slot.Element.reset();
		Slot.HashNext = INDEX_NONE;
		Slot.NextFree = FirstFree;
		FirstFree = Index;
		--NumElements;
	}

	TArray<FSlot> Slots;
	TArray<int32> Buckets;
	int32 FirstFree = INDEX_NONE;
	int32 NumElements = 0;
};
