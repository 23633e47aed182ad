// TMap and TMultiMap: key/value pairs in a TSet keyed on the pair's Key. Keys hash with GetTypeHash
// and compare with operator==, so FString keys ignore case.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/Set.h"
#include "Templates/Tuple.h"

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapKeyFuncs
{
	typedef const KeyType& KeyInitType;
	typedef const TPair<KeyType, ValueType>& ElementInitType;
	static constexpr bool bAllowDuplicateKeys = bInAllowDuplicateKeys;

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element) { return Element.Key; }
	template <typename ComparableKey>
	static FORCEINLINE bool Matches(KeyInitType A, const ComparableKey& B) { return A == B; }
	template <typename ComparableKey>
	static FORCEINLINE uint32 GetKeyHash(const ComparableKey& Key) { return GetTypeHash(Key); }
};

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapHashableKeyFuncs : TDefaultMapKeyFuncs<KeyType, ValueType, bInAllowDuplicateKeys>
{
};

template <typename KeyType, typename ValueType, typename SetAllocator, typename KeyFuncs>
class TMapBase
{
public:
	typedef TPair<KeyType, ValueType> ElementType;
	typedef const KeyType& KeyConstPointerType;
	typedef const KeyType& KeyInitType;
	typedef const ValueType& ValueInitType;

protected:
	struct FPairKeyFuncs
	{
		typedef const KeyType& KeyInitType;
		typedef const ElementType& ElementInitType;
		static constexpr bool bAllowDuplicateKeys = KeyFuncs::bAllowDuplicateKeys;

		static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element) { return Element.Key; }
		static FORCEINLINE bool Matches(KeyInitType A, KeyInitType B) { return KeyFuncs::Matches(A, B); }
		static FORCEINLINE uint32 GetKeyHash(KeyInitType Key) { return KeyFuncs::GetKeyHash(Key); }
	};

	typedef TSet<ElementType, FPairKeyFuncs, SetAllocator> ElementSetType;

public:
	FORCEINLINE int32 Num() const { return Pairs.Num(); }
	FORCEINLINE bool IsEmpty() const { return Pairs.IsEmpty(); }
	void Empty(int32 ExpectedNumElements = 0) { Pairs.Empty(ExpectedNumElements); }
	void Reset() { Pairs.Reset(); }
	void Reserve(int32 Number) { Pairs.Reserve(Number); }

	/** The value of the first pair found with Key (with duplicate keys, the most recently added), or null. */
	ValueType* Find(KeyConstPointerType Key)
	{
		ElementType* Pair = Pairs.Find(Key);
		return Pair ? &Pair->Value : nullptr;
	}

	const ValueType* Find(KeyConstPointerType Key) const
	{
		const ElementType* Pair = Pairs.Find(Key);
		return Pair ? &Pair->Value : nullptr;
	}

	/** A copy of the value for Key, or a default-constructed value. */
	ValueType FindRef(KeyConstPointerType Key) const
	{
		const ElementType* Pair = Pairs.Find(Key);
		return Pair ? Pair->Value : ValueType();
	}

	ValueType& FindChecked(KeyConstPointerType Key)
	{
		ElementType* Pair = Pairs.Find(Key);
		check(Pair != nullptr);
		return Pair->Value;
	}

	const ValueType& FindChecked(KeyConstPointerType Key) const
	{
		const ElementType* Pair = Pairs.Find(Key);
		check(Pair != nullptr);
		return Pair->Value;
	}

	const KeyType* FindKey(ValueInitType Value) const
	{
		for (const ElementType& Pair : Pairs)
		{
			if (Pair.Value == Value)
			{
				return &Pair.Key;
			}
		}
		return nullptr;
	}

	ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ElementType* Pair = Pairs.Find(Key))
		{
			return Pair->Value;
		}
		return Pairs[Pairs.Emplace(ElementType(Key, ValueType()))].Value;
	}

	ValueType& FindOrAdd(KeyType&& Key)
	{
		if (ElementType* Pair = Pairs.Find(Key))
		{
			return Pair->Value;
		}
		return Pairs[Pairs.Emplace(ElementType(MoveTempIfPossible(Key), ValueType()))].Value;
	}

	template <typename ValueArgType>
	ValueType& FindOrAdd(const KeyType& Key, ValueArgType&& Value)
	{
		if (ElementType* Pair = Pairs.Find(Key))
		{
			return Pair->Value;
		}
		return Pairs[Pairs.Emplace(ElementType(Key, Forward<ValueArgType>(Value)))].Value;
	}

	FORCEINLINE bool Contains(KeyConstPointerType Key) const { return Pairs.Contains(Key); }

	/** Fills OutKeys with each distinct key once; returns their number. */
	template <typename Allocator>
	int32 GetKeys(TArray<KeyType, Allocator>& OutKeys) const
	{
		OutKeys.Reset();
		TSet<KeyType> Seen;
		for (const ElementType& Pair : Pairs)
		{
			bool bAlreadySeen = false;
			Seen.Add(Pair.Key, &bAlreadySeen);
			if (!bAlreadySeen)
			{
				OutKeys.Add(Pair.Key);
			}
		}
		return OutKeys.Num();
	}

	template <typename Allocator>
	void GenerateKeyArray(TArray<KeyType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Key);
		}
	}

	template <typename Allocator>
	void GenerateValueArray(TArray<ValueType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Value);
		}
	}

	template <typename PredicateType>
	void KeySort(const PredicateType& Predicate)
	{
		Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Key, B.Key); });
	}

	template <typename PredicateType>
	void ValueSort(const PredicateType& Predicate)
	{
		Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Value, B.Value); });
	}

	template <bool bConst>
	class TBaseIterator
	{
	public:
		using SetIteratorType = std::conditional_t<bConst, typename ElementSetType::TConstIterator, typename ElementSetType::TIterator>;
		using ItElementType = std::conditional_t<bConst, const ElementType, ElementType>;

		explicit TBaseIterator(const SetIteratorType& InIterator)
			: It(InIterator)
		{
		}

		TBaseIterator& operator++()
		{
			++It;
			return *this;
		}

		explicit operator bool() const { return !!It; }
		bool operator!=(const TBaseIterator& Other) const { return It != Other.It; }
		bool operator==(const TBaseIterator& Other) const { return It == Other.It; }
		ItElementType& operator*() const { return *It; }
		ItElementType* operator->() const { return &*It; }
		const KeyType& Key() const { return It->Key; }
		std::conditional_t<bConst, const ValueType&, ValueType&> Value() const { return It->Value; }
		void RemoveCurrent() { It.RemoveCurrent(); }

	private:
		SetIteratorType It;
	};

	typedef TBaseIterator<false> TIterator;
	typedef TBaseIterator<true> TConstIterator;

	TIterator CreateIterator() { return TIterator(Pairs.CreateIterator()); }
	TConstIterator CreateConstIterator() const { return TConstIterator(Pairs.CreateConstIterator()); }

	TIterator begin() { return TIterator(Pairs.begin()); }
	TIterator end() { return TIterator(Pairs.end()); }
	TConstIterator begin() const { return TConstIterator(Pairs.begin()); }
	TConstIterator end() const { return TConstIterator(Pairs.end()); }

protected:
	ElementSetType Pairs;
};

template <typename InKeyType, typename InValueType, typename SetAllocator = FDefaultSetAllocator,
	typename KeyFuncs = TDefaultMapHashableKeyFuncs<InKeyType, InValueType, false>>
class TMap : public TMapBase<InKeyType, InValueType, SetAllocator, KeyFuncs>
{
	typedef TMapBase<InKeyType, InValueType, SetAllocator, KeyFuncs> Super;

public:
	typedef InKeyType KeyType;
	typedef InValueType ValueType;
	typedef typename Super::ElementType ElementType;
	typedef typename Super::KeyConstPointerType KeyConstPointerType;

	TMap() = default;

	TMap(std::initializer_list<TPair<KeyType, ValueType>> InitList)
	{
		for (const TPair<KeyType, ValueType>& Pair : InitList)
		{
			Add(Pair.Key, Pair.Value);
		}
	}

	/** Sets the value for Key, replacing the pair already held for an equal key. */
	template <typename KeyArgType, typename ValueArgType>
	ValueType& Add(KeyArgType&& InKey, ValueArgType&& InValue)
	{
		return this->Pairs[this->Pairs.Emplace(ElementType(Forward<KeyArgType>(InKey), Forward<ValueArgType>(InValue)))].Value;
	}

	ValueType& Add(const KeyType& InKey) { return Add(InKey, ValueType()); }
	ValueType& Add(KeyType&& InKey) { return Add(MoveTempIfPossible(InKey), ValueType()); }
	ValueType& Add(const TPair<KeyType, ValueType>& InPair) { return Add(InPair.Key, InPair.Value); }

	template <typename KeyArgType, typename ValueArgType>
	ValueType& Emplace(KeyArgType&& InKey, ValueArgType&& InValue)
	{
		return Add(Forward<KeyArgType>(InKey), Forward<ValueArgType>(InValue));
	}

	template <typename KeyArgType>
	ValueType& Emplace(KeyArgType&& InKey)
	{
		return Add(Forward<KeyArgType>(InKey), ValueType());
	}

	/** Removes the pair with Key; returns the number removed (0 or 1). */
	FORCEINLINE int32 Remove(KeyConstPointerType InKey) { return this->Pairs.Remove(InKey); }

	bool RemoveAndCopyValue(KeyConstPointerType Key, ValueType& OutRemovedValue)
	{
		const FSetElementId PairId = this->Pairs.FindId(Key);
		if (!PairId.IsValidId())
		{
			return false;
		}
		OutRemovedValue = MoveTempIfPossible(this->Pairs[PairId].Value);
		this->Pairs.Remove(PairId);
		return true;
	}

	ValueType FindAndRemoveChecked(KeyConstPointerType Key)
	{
		const FSetElementId PairId = this->Pairs.FindId(Key);
		check(PairId.IsValidId());
		ValueType Result = MoveTempIfPossible(this->Pairs[PairId].Value);
		this->Pairs.Remove(PairId);
		return Result;
	}

	void Append(const TMap& OtherMap)
	{
		for (const ElementType& Pair : OtherMap)
		{
			Add(Pair.Key, Pair.Value);
		}
	}

	ValueType& operator[](KeyConstPointerType Key) { return this->FindChecked(Key); }
	const ValueType& operator[](KeyConstPointerType Key) const { return this->FindChecked(Key); }
};

template <typename KeyType, typename ValueType, typename SetAllocator = FDefaultSetAllocator,
	typename KeyFuncs = TDefaultMapHashableKeyFuncs<KeyType, ValueType, true>>
class TMultiMap : public TMapBase<KeyType, ValueType, SetAllocator, KeyFuncs>
{
	static_assert(KeyFuncs::bAllowDuplicateKeys, "TMultiMap cannot be instantiated with a KeyFuncs which disallows duplicate keys");
	typedef TMapBase<KeyType, ValueType, SetAllocator, KeyFuncs> Super;

public:
	typedef typename Super::ElementType ElementType;
	typedef typename Super::KeyConstPointerType KeyConstPointerType;
	typedef typename Super::KeyInitType KeyInitType;
	typedef typename Super::ValueInitType ValueInitType;

	/** Adds a pair, keeping any pairs already held for the key. */
	template <typename KeyArgType, typename ValueArgType>
	ValueType& Add(KeyArgType&& InKey, ValueArgType&& InValue)
	{
		return this->Pairs[this->Pairs.Emplace(ElementType(Forward<KeyArgType>(InKey), Forward<ValueArgType>(InValue)))].Value;
	}

	/** Adds the pair unless an equal pair is already held; returns the held value. */
	ValueType& AddUnique(const KeyType& InKey, const ValueType& InValue)
	{
		if (ValueType* Found = FindPair(InKey, InValue))
		{
			return *Found;
		}
		return Add(InKey, InValue);
	}

	template <typename KeyArgType, typename ValueArgType>
	ValueType& Emplace(KeyArgType&& InKey, ValueArgType&& InValue)
	{
		return Add(Forward<KeyArgType>(InKey), Forward<ValueArgType>(InValue));
	}

	/**
	 * Collects the values held for Key. Without bMaintainOrder they come most recently added first;
	 * with it, in the order of the map's pairs.
	 */
	template <typename Allocator>
	void MultiFind(KeyInitType Key, TArray<ValueType, Allocator>& OutValues, bool bMaintainOrder = false) const
	{
		const int32 FirstAdded = OutValues.Num();
		this->Pairs.ForEachWithKey(Key, [&OutValues](const ElementType& Pair) { OutValues.Add(Pair.Value); });
		if (bMaintainOrder)
		{
			ReverseFrom(OutValues, FirstAdded);
		}
	}

	template <typename Allocator>
	void MultiFindPointer(KeyInitType Key, TArray<const ValueType*, Allocator>& OutValues, bool bMaintainOrder = false) const
	{
		const int32 FirstAdded = OutValues.Num();
		this->Pairs.ForEachWithKey(Key, [&OutValues](const ElementType& Pair) { OutValues.Add(&Pair.Value); });
		if (bMaintainOrder)
		{
			ReverseFrom(OutValues, FirstAdded);
		}
	}

	template <typename Allocator>
	void MultiFindPointer(KeyInitType Key, TArray<ValueType*, Allocator>& OutValues, bool bMaintainOrder = false)
	{
		const int32 FirstAdded = OutValues.Num();
		this->Pairs.ForEachWithKey(Key, [&OutValues](ElementType& Pair) { OutValues.Add(&Pair.Value); });
		if (bMaintainOrder)
		{
			ReverseFrom(OutValues, FirstAdded);
		}
	}

	ValueType* FindPair(KeyInitType Key, ValueInitType Value)
	{
		ValueType* Result = nullptr;
		this->Pairs.ForEachWithKey(Key, [&Result, &Value](ElementType& Pair) {
			if (!Result && Pair.Value == Value)
			{
				Result = &Pair.Value;
			}
		});
		return Result;
	}

	const ValueType* FindPair(KeyInitType Key, ValueInitType Value) const
	{
		return const_cast<TMultiMap*>(this)->FindPair(Key, Value);
	}

	/** Removes all pairs with Key; returns how many. */
	FORCEINLINE int32 Remove(KeyConstPointerType InKey) { return this->Pairs.Remove(InKey); }

	/** Removes all pairs with Key and Value; returns how many. */
	int32 Remove(KeyInitType InKey, ValueInitType InValue)
	{
		const KeyType KeyCopy(InKey);
		const ValueType ValueCopy(InValue);
		return this->Pairs.RemoveIf(KeyFuncs::GetKeyHash(KeyCopy),
			[&KeyCopy, &ValueCopy](const ElementType& Pair) { return KeyFuncs::Matches(Pair.Key, KeyCopy) && Pair.Value == ValueCopy; });
	}

	/** Removes the first pair found with Key and Value; returns how many (0 or 1). */
	int32 RemoveSingle(KeyInitType InKey, ValueInitType InValue)
	{
		const KeyType KeyCopy(InKey);
		const ValueType ValueCopy(InValue);
		bool bRemoved = false;
		return this->Pairs.RemoveIf(KeyFuncs::GetKeyHash(KeyCopy), [&KeyCopy, &ValueCopy, &bRemoved](const ElementType& Pair) {
			if (!bRemoved && KeyFuncs::Matches(Pair.Key, KeyCopy) && Pair.Value == ValueCopy)
			{
				bRemoved = true;
				return true;
			}
			return false;
		});
	}

	/** Number of pairs held for Key. */
	int32 Num(KeyInitType Key) const
	{
		int32 Count = 0;
		this->Pairs.ForEachWithKey(Key, [&Count](const ElementType&) { ++Count; });
		return Count;
	}

	FORCEINLINE int32 Num() const { return Super::Num(); }

private:
	template <typename ArrayType>
	static void ReverseFrom(ArrayType& Values, int32 First)
	{
		for (int32 Low = First, High = Values.Num() - 1; Low < High; ++Low, --High)
		{
			Values.Swap(Low, High);
		}
	}
};
