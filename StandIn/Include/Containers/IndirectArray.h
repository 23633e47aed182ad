#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"

/** An array of heap-allocated elements that it owns; element addresses stay stable as it grows. */
template <typename T, typename Allocator = FDefaultAllocator>
class TIndirectArray
{
public:
	typedef T ElementType;

	TIndirectArray() = default;
	TIndirectArray(const TIndirectArray& Other)
	{
		for (const T* Element : Other.Array)
		{
			Add(new T(*Element));
		}
	}
	TIndirectArray(TIndirectArray&& Other) noexcept : Array(MoveTemp(Other.Array)) {}
	TIndirectArray& operator=(const TIndirectArray& Other)
	{
		if (this != &Other)
		{
			Empty();
			for (const T* Element : Other.Array)
			{
				Add(new T(*Element));
			}
		}
		return *this;
	}
	TIndirectArray& operator=(TIndirectArray&& Other) noexcept
	{
		if (this != &Other)
		{
			Empty();
			Array = MoveTemp(Other.Array);
		}
		return *this;
	}
	~TIndirectArray() { Empty(); }

	FORCEINLINE int32 Num() const { return Array.Num(); }
	FORCEINLINE bool IsEmpty() const { return Array.IsEmpty(); }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Array.IsValidIndex(Index); }
	FORCEINLINE T& operator[](int32 Index) { return *Array[Index]; }
	FORCEINLINE const T& operator[](int32 Index) const { return *Array[Index]; }
	T& Last(int32 IndexFromTheEnd = 0) { return *Array.Last(IndexFromTheEnd); }
	const T& Last(int32 IndexFromTheEnd = 0) const { return *Array.Last(IndexFromTheEnd); }
	T** GetData() { return Array.GetData(); }
	const T* const* GetData() const { return Array.GetData(); }

	/** Takes ownership of Item; returns its index. */
	int32 Add(T* Item) { return Array.Add(Item); }
	void Insert(T* Item, int32 Index) { Array.Insert(Item, Index); }

	void RemoveAt(int32 Index, int32 Count = 1)
	{
		check(Index >= 0 && Count >= 0 && Index + Count <= Array.Num());
		for (int32 I = Index; I < Index + Count; ++I)
		{
			delete Array[I];
		}
		Array.RemoveAt(Index, Count);
	}

	void Empty(int32 Slack = 0)
	{
		for (T* Element : Array)
		{
			delete Element;
		}
		Array.Empty(Slack);
	}

	void Reset(int32 NewSize = 0)
	{
		for (T* Element : Array)
		{
			delete Element;
		}
		Array.Reset(NewSize);
	}

	void Reserve(int32 Number) { Array.Reserve(Number); }

	/** Iterates the elements themselves. */
	template <typename ElementPtrType, typename RefType>
	class TDereferencingIterator
	{
	public:
		explicit TDereferencingIterator(ElementPtrType* InPtr) : Ptr(InPtr) {}
		RefType operator*() const { return **Ptr; }
		TDereferencingIterator& operator++() { ++Ptr; return *this; }
		bool operator!=(const TDereferencingIterator& Other) const { return Ptr != Other.Ptr; }

	private:
		ElementPtrType* Ptr;
	};

	TDereferencingIterator<T* const, T&> begin() { return TDereferencingIterator<T* const, T&>(Array.begin()); }
	TDereferencingIterator<T* const, T&> end() { return TDereferencingIterator<T* const, T&>(Array.end()); }
	TDereferencingIterator<T* const, const T&> begin() const { return TDereferencingIterator<T* const, const T&>(Array.begin()); }
	TDereferencingIterator<T* const, const T&> end() const { return TDereferencingIterator<T* const, const T&>(Array.end()); }

private:
	TArray<T*, Allocator> Array;
};
