#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"

#include <functional>

template <typename FuncType>
class TFunction;

/** A copyable callable wrapper; calling an unset TFunction is a fatal error. */
template <typename Ret, typename... ParamTypes>
class TFunction<Ret(ParamTypes...)>
{
public:
	TFunction() = default;
	TFunction(std::nullptr_t) {}

	template <typename FunctorType, typename = std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TFunction> && std::is_invocable_r_v<Ret, FunctorType&, ParamTypes...>>>
	TFunction(FunctorType&& InFunc)
		: Callable(Forward<FunctorType>(InFunc))
	{
	}

	Ret operator()(ParamTypes... Params) const
	{
		checkf(static_cast<bool>(Callable), TEXT("Attempting to call an unbound TFunction!"));
		return Callable(Forward<ParamTypes>(Params)...);
	}

	FORCEINLINE bool IsSet() const { return static_cast<bool>(Callable); }
	FORCEINLINE explicit operator bool() const { return IsSet(); }
	void Reset() { Callable = nullptr; }

private:
	std::function<Ret(ParamTypes...)> Callable;
};
