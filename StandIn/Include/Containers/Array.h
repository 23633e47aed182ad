// TArray: a contiguous, growable array with the engine's interface and int32 indices.
#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CoreMiscDefines.h"
#include "Containers/AllowShrinking.h"
#include "Containers/ContainerAllocationPolicies.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>

template <typename InElementType, typename InAllocatorType = FDefaultAllocator>
class TArray
{
	template <typename OtherElementType, typename OtherAllocatorType>
	friend class TArray;

public:
	typedef int32 SizeType;
	typedef InElementType ElementType;
	typedef InAllocatorType AllocatorType;

	TArray() = default;

	TArray(const ElementType* Ptr, SizeType Count)
	{
		check(Count >= 0 && (Ptr != nullptr || Count == 0));
		AppendCopies(Ptr, Count);
	}

	TArray(std::initializer_list<ElementType> InitList)
	{
		AppendCopies(InitList.begin(), static_cast<SizeType>(InitList.size()));
	}

	TArray(const TArray& Other)
	{
		AppendCopies(Other.Data, Other.ArrayNum);
	}

	template <typename OtherAllocator>
	explicit TArray(const TArray<ElementType, OtherAllocator>& Other)
	{
		AppendCopies(Other.Data, Other.ArrayNum);
	}

	TArray(TArray&& Other) noexcept
		: Data(Other.Data)
		, ArrayNum(Other.ArrayNum)
		, ArrayMax(Other.ArrayMax)
	{
		Other.Data = nullptr;
		Other.ArrayNum = 0;
		Other.ArrayMax = 0;
	}

	~TArray()
	{
		DestroyRange(0, ArrayNum);
		::operator delete(static_cast<void*>(Data));
	}

	TArray& operator=(const TArray& Other)
	{
		if (this != &Other)
		{
			Reset(Other.ArrayNum);
			AppendCopies(Other.Data, Other.ArrayNum);
		}
		return *this;
	}

	TArray& operator=(TArray&& Other) noexcept
	{
		if (this != &Other)
		{
			DestroyRange(0, ArrayNum);
			::operator delete(static_cast<void*>(Data));
			Data = Other.Data;
			ArrayNum = Other.ArrayNum;
			ArrayMax = Other.ArrayMax;
			Other.Data = nullptr;
			Other.ArrayNum = 0;
			Other.ArrayMax = 0;
		}
		return *this;
	}

	TArray& operator=(std::initializer_list<ElementType> InitList)
	{
		Reset(static_cast<SizeType>(InitList.size()));
		AppendCopies(InitList.begin(), static_cast<SizeType>(InitList.size()));
		return *this;
	}

	FORCEINLINE ElementType* GetData() { return Data; }
	FORCEINLINE const ElementType* GetData() const { return Data; }
	FORCEINLINE SizeType Num() const { return ArrayNum; }
	FORCEINLINE SizeType Max() const { return ArrayMax; }
	FORCEINLINE bool IsEmpty() const { return ArrayNum == 0; }
	FORCEINLINE bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }
	FORCEINLINE static constexpr uint32 GetTypeSize() { return sizeof(ElementType); }
	SIZE_T GetAllocatedSize() const { return static_cast<SIZE_T>(ArrayMax) * sizeof(ElementType); }

	FORCEINLINE void RangeCheck(SizeType Index) const
	{
		checkf(Index >= 0 && Index < ArrayNum, TEXT("Array index out of bounds: %d into an array of size %d"), Index, ArrayNum);
	}

	FORCEINLINE ElementType& operator[](SizeType Index)
	{
		RangeCheck(Index);
		return Data[Index];
	}

	FORCEINLINE const ElementType& operator[](SizeType Index) const
	{
		RangeCheck(Index);
		return Data[Index];
	}

	ElementType& Last(SizeType IndexFromTheEnd = 0)
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	const ElementType& Last(SizeType IndexFromTheEnd = 0) const
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	ElementType Pop(EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		RangeCheck(0);
		ElementType Result = MoveTempIfPossible(Data[ArrayNum - 1]);
		RemoveAt(ArrayNum - 1, 1, AllowShrinking);
		return Result;
	}

	void Push(const ElementType& Item) { Add(Item); }
	void Push(ElementType&& Item) { Add(MoveTempIfPossible(Item)); }

	template <typename... ArgsType>
	SizeType Emplace(ArgsType&&... Args)
	{
		const SizeType Index = ArrayNum;
		if (ArrayNum == ArrayMax)
		{
			// Construct first: an argument may refer to an element of this array.
			ElementType Temp(Forward<ArgsType>(Args)...);
			Grow(ArrayNum + 1);
			::new (static_cast<void*>(Data + Index)) ElementType(MoveTempIfPossible(Temp));
		}
		else
		{
			::new (static_cast<void*>(Data + Index)) ElementType(Forward<ArgsType>(Args)...);
		}
		++ArrayNum;
		return Index;
	}

	template <typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args)
	{
		const SizeType Index = Emplace(Forward<ArgsType>(Args)...);
		return Data[Index];
	}

	template <typename... ArgsType>
	void EmplaceAt(SizeType Index, ArgsType&&... Args)
	{
		ElementType Temp(Forward<ArgsType>(Args)...);
		Insert(MoveTempIfPossible(Temp), Index);
	}

	/** Inserts Count default-constructed elements at Index. */
	void InsertDefaulted(SizeType Index, SizeType Count = 1)
	{
		check(Index >= 0 && Index <= ArrayNum && Count >= 0);
		for (SizeType Offset = 0; Offset < Count; ++Offset)
		{
			EmplaceAt(Index + Offset);
		}
	}

	FORCEINLINE SizeType Add(const ElementType& Item) { return Emplace(Item); }
	FORCEINLINE SizeType Add(ElementType&& Item) { return Emplace(MoveTempIfPossible(Item)); }
	// The index is taken first: Data is read after the add may have moved the elements.
	ElementType& Add_GetRef(const ElementType& Item)
	{
		const SizeType Index = Emplace(Item);
		return Data[Index];
	}
	ElementType& Add_GetRef(ElementType&& Item)
	{
		const SizeType Index = Emplace(MoveTempIfPossible(Item));
		return Data[Index];
	}

	SizeType AddUnique(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(Item);
	}

	SizeType AddUnique(ElementType&& Item)
	{
		const SizeType Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(MoveTempIfPossible(Item));
	}

	SizeType AddDefaulted(SizeType Count = 1)
	{
		check(Count >= 0);
		const SizeType Index = ArrayNum;
		Grow(ArrayNum + Count);
		for (SizeType I = 0; I < Count; ++I)
		{
			::new (static_cast<void*>(Data + ArrayNum)) ElementType();
			++ArrayNum;
		}
		return Index;
	}

	ElementType& AddDefaulted_GetRef()
	{
		const SizeType Index = AddDefaulted(1);
		return Data[Index];
	}

	SizeType AddZeroed(SizeType Count = 1)
	{
		static_assert(std::is_trivially_copyable_v<ElementType>, "AddZeroed needs a trivially copyable element type");
		check(Count >= 0);
		const SizeType Index = ArrayNum;
		if (Count > 0)
		{
			Grow(ArrayNum + Count);
			std::memset(static_cast<void*>(Data + ArrayNum), 0, sizeof(ElementType) * static_cast<SIZE_T>(Count));
			ArrayNum += Count;
		}
		return Index;
	}

	SizeType AddUninitialized(SizeType Count = 1)
	{
		static_assert(std::is_trivially_copyable_v<ElementType>, "AddUninitialized needs a trivially copyable element type");
		return AddZeroed(Count);
	}

	SizeType Insert(const ElementType& Item, SizeType Index)
	{
		ElementType Temp(Item);
		return Insert(MoveTempIfPossible(Temp), Index);
	}

	SizeType Insert(ElementType&& Item, SizeType Index)
	{
		check(Index >= 0 && Index <= ArrayNum);
		Emplace(MoveTempIfPossible(Item));
		std::rotate(Data + Index, Data + ArrayNum - 1, Data + ArrayNum);
		return Index;
	}

	SizeType Insert(std::initializer_list<ElementType> InitList, SizeType InIndex)
	{
		SizeType Index = InIndex;
		for (const ElementType& Element : InitList)
		{
			Insert(Element, Index++);
		}
		return InIndex;
	}

	template <typename OtherAllocator>
	void Append(const TArray<ElementType, OtherAllocator>& Source)
	{
		if (static_cast<const void*>(&Source) == static_cast<const void*>(this))
		{
			TArray Copy(Source);
			AppendCopies(Copy.Data, Copy.ArrayNum);
		}
		else
		{
			AppendCopies(Source.Data, Source.ArrayNum);
		}
	}

	void Append(TArray&& Source)
	{
		Grow(ArrayNum + Source.ArrayNum);
		for (SizeType I = 0; I < Source.ArrayNum; ++I)
		{
			Emplace(MoveTempIfPossible(Source.Data[I]));
		}
		Source.Empty();
	}

	void Append(const ElementType* Ptr, SizeType Count)
	{
		check(Count >= 0 && (Ptr != nullptr || Count == 0));
		AppendCopies(Ptr, Count);
	}

	void Append(std::initializer_list<ElementType> InitList)
	{
		AppendCopies(InitList.begin(), static_cast<SizeType>(InitList.size()));
	}

	TArray& operator+=(const TArray& Other)
	{
		Append(Other);
		return *this;
	}

	TArray& operator+=(TArray&& Other)
	{
		Append(MoveTemp(Other));
		return *this;
	}

	void RemoveAt(SizeType Index)
	{
		RemoveAt(Index, 1, EAllowShrinking::Yes);
	}

	void RemoveAt(SizeType Index, SizeType Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		if (Count == 0)
		{
			return;
		}
		check(Count > 0 && Index >= 0 && Index + Count <= ArrayNum);
		std::move(Data + Index + Count, Data + ArrayNum, Data + Index);
		DestroyRange(ArrayNum - Count, ArrayNum);
		ArrayNum -= Count;
		if (AllowShrinking == EAllowShrinking::Yes && ArrayNum == 0)
		{
			Reallocate(0);
		}
	}

	/** Removes Count elements at Index by moving the last elements into the hole (order not kept). */
	void RemoveAtSwap(SizeType Index, SizeType Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		if (Count == 0)
		{
			return;
		}
		check(Count > 0 && Index >= 0 && Index + Count <= ArrayNum);
		const SizeType NumAfterHole = ArrayNum - (Index + Count);
		const SizeType NumToMove = NumAfterHole < Count ? NumAfterHole : Count;
		for (SizeType I = 0; I < NumToMove; ++I)
		{
			Data[Index + I] = MoveTempIfPossible(Data[ArrayNum - NumToMove + I]);
		}
		DestroyRange(ArrayNum - Count, ArrayNum);
		ArrayNum -= Count;
		if (AllowShrinking == EAllowShrinking::Yes && ArrayNum == 0)
		{
			Reallocate(0);
		}
	}

	template <typename PredicateType>
	SizeType RemoveAll(const PredicateType& Predicate)
	{
		SizeType Write = 0;
		for (SizeType Read = 0; Read < ArrayNum; ++Read)
		{
			if (!Predicate(Data[Read]))
			{
				if (Write != Read)
				{
					Data[Write] = MoveTempIfPossible(Data[Read]);
				}
				++Write;
			}
		}
		const SizeType Removed = ArrayNum - Write;
		DestroyRange(Write, ArrayNum);
		ArrayNum = Write;
		return Removed;
	}

	template <typename PredicateType>
	SizeType RemoveAllSwap(const PredicateType& Predicate, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const SizeType Removed = RemoveAll(Predicate);
		if (AllowShrinking == EAllowShrinking::Yes && ArrayNum == 0)
		{
			Reallocate(0);
		}
		return Removed;
	}

	/** Removes every element equal to Item; returns how many were removed. */
	SizeType Remove(const ElementType& Item)
	{
		const ElementType Copy(Item); // Item may be an element of this array
		return RemoveAll([&Copy](const ElementType& Element) { return Element == Copy; });
	}

	SizeType RemoveSingle(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index);
		return 1;
	}

	SizeType RemoveSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const ElementType Copy(Item);
		return RemoveAllSwap([&Copy](const ElementType& Element) { return Element == Copy; }, AllowShrinking);
	}

	SizeType RemoveSingleSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAtSwap(Index, 1, AllowShrinking);
		return 1;
	}

	/** Destroys all elements and keeps room for Slack elements. */
	void Empty(SizeType Slack = 0)
	{
		DestroyRange(0, ArrayNum);
		ArrayNum = 0;
		if (ArrayMax != Slack)
		{
			Reallocate(Slack);
		}
	}

	/** Destroys all elements and keeps the allocation if it holds at least NewSize elements. */
	void Reset(SizeType NewSize = 0)
	{
		if (NewSize <= ArrayMax)
		{
			DestroyRange(0, ArrayNum);
			ArrayNum = 0;
		}
		else
		{
			Empty(NewSize);
		}
	}

	void SetNum(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(NewNum >= 0);
		if (NewNum > ArrayNum)
		{
			AddDefaulted(NewNum - ArrayNum);
		}
		else if (NewNum < ArrayNum)
		{
			RemoveAt(NewNum, ArrayNum - NewNum, AllowShrinking);
		}
	}

	void SetNumZeroed(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		if (NewNum > ArrayNum)
		{
			AddZeroed(NewNum - ArrayNum);
		}
		else
		{
			SetNum(NewNum, AllowShrinking);
		}
	}

	void SetNumUninitialized(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		SetNumZeroed(NewNum, AllowShrinking);
	}

	void Reserve(SizeType Number)
	{
		if (Number > ArrayMax)
		{
			Reallocate(Number);
		}
	}

	void Shrink()
	{
		if (ArrayMax != ArrayNum)
		{
			Reallocate(ArrayNum);
		}
	}

	SizeType Find(const ElementType& Item) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Data[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	bool Find(const ElementType& Item, SizeType& Index) const
	{
		Index = Find(Item);
		return Index != INDEX_NONE;
	}

	SizeType FindLast(const ElementType& Item) const
	{
		for (SizeType Index = ArrayNum - 1; Index >= 0; --Index)
		{
			if (Data[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	SizeType IndexOfByKey(const KeyType& Key) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Data[Index] == Key)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	SizeType IndexOfByPredicate(Predicate Pred) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Pred(Data[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	ElementType* FindByKey(const KeyType& Key)
	{
		const SizeType Index = IndexOfByKey(Key);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename KeyType>
	const ElementType* FindByKey(const KeyType& Key) const
	{
		const SizeType Index = IndexOfByKey(Key);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename Predicate>
	ElementType* FindByPredicate(Predicate Pred)
	{
		const SizeType Index = IndexOfByPredicate(Pred);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename Predicate>
	const ElementType* FindByPredicate(Predicate Pred) const
	{
		const SizeType Index = IndexOfByPredicate(Pred);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename Predicate>
	TArray FilterByPredicate(Predicate Pred) const
	{
		TArray Result;
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Pred(Data[Index]))
			{
				Result.Add(Data[Index]);
			}
		}
		return Result;
	}

	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Data[Index] == Item)
			{
				return true;
			}
		}
		return false;
	}

	template <typename Predicate>
	bool ContainsByPredicate(Predicate Pred) const
	{
		return IndexOfByPredicate(Pred) != INDEX_NONE;
	}

	void Sort()
	{
		std::sort(Data, Data + ArrayNum, [](const ElementType& A, const ElementType& B) { return A < B; });
	}

	template <typename PredicateType>
	void Sort(const PredicateType& Predicate)
	{
		std::sort(Data, Data + ArrayNum, [&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A, B); });
	}

	void StableSort()
	{
		std::stable_sort(Data, Data + ArrayNum, [](const ElementType& A, const ElementType& B) { return A < B; });
	}

	template <typename PredicateType>
	void StableSort(const PredicateType& Predicate)
	{
		std::stable_sort(Data, Data + ArrayNum, [&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A, B); });
	}

	void Swap(SizeType FirstIndex, SizeType SecondIndex)
	{
		RangeCheck(FirstIndex);
		RangeCheck(SecondIndex);
		std::swap(Data[FirstIndex], Data[SecondIndex]);
	}

	bool operator==(const TArray& Other) const
	{
		if (ArrayNum != Other.ArrayNum)
		{
			return false;
		}
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (!(Data[Index] == Other.Data[Index]))
			{
				return false;
			}
		}
		return true;
	}

	bool operator!=(const TArray& Other) const { return !(*this == Other); }

	FORCEINLINE ElementType* begin() { return Data; }
	FORCEINLINE ElementType* end() { return Data + ArrayNum; }
	FORCEINLINE const ElementType* begin() const { return Data; }
	FORCEINLINE const ElementType* end() const { return Data + ArrayNum; }

	/** Index-based iterator with RemoveCurrent, as the engine's CreateIterator gives. */
	template <typename ContainerType, typename ItElementType>
	class TIndexedContainerIterator
	{
	public:
		explicit TIndexedContainerIterator(ContainerType& InContainer, SizeType StartIndex = 0)
			: Container(InContainer)
			, Index(StartIndex)
		{
		}

		TIndexedContainerIterator& operator++() { ++Index; return *this; }
		ItElementType& operator*() const { return Container[Index]; }
		ItElementType* operator->() const { return &Container[Index]; }
		explicit operator bool() const { return Container.IsValidIndex(Index); }
		SizeType GetIndex() const { return Index; }
		void Reset() { Index = 0; }
		void RemoveCurrent()
		{
			Container.RemoveAt(Index);
			--Index;
		}

	private:
		ContainerType& Container;
		SizeType Index;
	};

	typedef TIndexedContainerIterator<TArray, ElementType> TIterator;
	typedef TIndexedContainerIterator<const TArray, const ElementType> TConstIterator;

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

private:
	void DestroyRange(SizeType From, SizeType To)
	{
		if constexpr (!std::is_trivially_destructible_v<ElementType>)
		{
			for (SizeType Index = From; Index < To; ++Index)
			{
				Data[Index].~ElementType();
			}
		}
	}

	void Reallocate(SizeType NewMax)
	{
		check(NewMax >= ArrayNum);
		ElementType* NewData = NewMax > 0 ? static_cast<ElementType*>(::operator new(sizeof(ElementType) * static_cast<SIZE_T>(NewMax))) : nullptr;
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			::new (static_cast<void*>(NewData + Index)) ElementType(MoveTempIfPossible(Data[Index]));
			Data[Index].~ElementType();
		}
		::operator delete(static_cast<void*>(Data));
		Data = NewData;
		ArrayMax = NewMax;
	}

	void Grow(SizeType MinMax)
	{
		if (MinMax > ArrayMax)
		{
			SizeType NewMax = ArrayMax < 4 ? 4 : ArrayMax + ArrayMax / 2 + 16;
			Reallocate(NewMax < MinMax ? MinMax : NewMax);
		}
	}

	template <typename SourceType>
	void AppendCopies(const SourceType* Source, SizeType Count)
	{
		if (Count <= 0)
		{
			return;
		}
		Grow(ArrayNum + Count);
		for (SizeType Index = 0; Index < Count; ++Index)
		{
			::new (static_cast<void*>(Data + ArrayNum)) ElementType(Source[Index]);
			++ArrayNum;
		}
	}

	ElementType* Data = nullptr;
	SizeType ArrayNum = 0;
	SizeType ArrayMax = 0;
};

template <typename ElementType, typename AllocatorType>
uint32 GetTypeHash(const TArray<ElementType, AllocatorType>& Array)
{
	uint32 Hash = 0;
	for (const ElementType& Element : Array)
	{
		Hash = HashCombine(Hash, GetTypeHash(Element));
	}
	return Hash;
}
