#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"

#include <optional>

/** An optional value. */
template <typename OptionalType>
struct TOptional
{
public:
	using ElementType = OptionalType;

	TOptional() = default;
	TOptional(const OptionalType& InValue) : Value(InValue) {}
	TOptional(OptionalType&& InValue) : Value(MoveTemp(InValue)) {}

	template <typename... ArgTypes>
	OptionalType& Emplace(ArgTypes&&... Args) { return Value.emplace(Forward<ArgTypes>(Args)...); }

	void Reset() { Value.reset(); }
	FORCEINLINE bool IsSet() const { return Value.has_value(); }
	FORCEINLINE explicit operator bool() const { return IsSet(); }

	OptionalType& GetValue()
	{
		checkf(IsSet(), TEXT("It is an error to call GetValue() on an unset TOptional. Please either check IsSet() or use Get(DefaultValue) instead."));
		return *Value;
	}

	const OptionalType& GetValue() const
	{
		checkf(IsSet(), TEXT("It is an error to call GetValue() on an unset TOptional. Please either check IsSet() or use Get(DefaultValue) instead."));
		return *Value;
	}

	OptionalType* operator->() { return &GetValue(); }
	const OptionalType* operator->() const { return &GetValue(); }
	OptionalType& operator*() { return GetValue(); }
	const OptionalType& operator*() const { return GetValue(); }

	const OptionalType& Get(const OptionalType& DefaultValue) const { return IsSet() ? *Value : DefaultValue; }
	OptionalType* GetPtrOrNull() { return IsSet() ? &*Value : nullptr; }
	const OptionalType* GetPtrOrNull() const { return IsSet() ? &*Value : nullptr; }

	friend bool operator==(const TOptional& Lhs, const TOptional& Rhs) { return Lhs.Value == Rhs.Value; }
	friend bool operator!=(const TOptional& Lhs, const TOptional& Rhs) { return !(Lhs == Rhs); }

private:
	std::optional<OptionalType> Value;
};

template <typename T>
TOptional<std::decay_t<T>> MakeOptional(T&& Value)
{
	return TOptional<std::decay_t<T>>(Forward<T>(Value));
}
