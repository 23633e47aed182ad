#pragma once

#include "HAL/Platform.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

#include <cstddef>

template <typename... Types>
struct TTuple;

/** The two-element tuple, whose elements are named Key and Value (it is TPair, the element of TMap). */
template <typename KeyType, typename ValueType>
struct TTuple<KeyType, ValueType>
{
	KeyType Key;
	ValueType Value;

	TTuple() = default;

	template <typename KeyArgType, typename ValueArgType>
	TTuple(KeyArgType&& InKey, ValueArgType&& InValue)
		: Key(Forward<KeyArgType>(InKey))
		, Value(Forward<ValueArgType>(InValue))
	{
	}

	template <std::size_t Index>
	auto& Get()
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return Key;
		}
		else
		{
			return Value;
		}
	}

	template <std::size_t Index>
	const auto& Get() const
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return Key;
		}
		else
		{
			return Value;
		}
	}

	bool operator==(const TTuple& Other) const { return Key == Other.Key && Value == Other.Value; }
	bool operator!=(const TTuple& Other) const { return !(*this == Other); }
};

template <typename KeyType, typename ValueType>
using TPair = TTuple<KeyType, ValueType>;

template <typename KeyType, typename ValueType>
uint32 GetTypeHash(const TTuple<KeyType, ValueType>& Tuple)
{
	return HashCombine(GetTypeHash(Tuple.Key), GetTypeHash(Tuple.Value));
}

template <typename KeyType, typename ValueType>
TTuple<std::decay_t<KeyType>, std::decay_t<ValueType>> MakeTuple(KeyType&& Key, ValueType&& Value)
{
	return TTuple<std::decay_t<KeyType>, std::decay_t<ValueType>>(Forward<KeyType>(Key), Forward<ValueType>(Value));
}
