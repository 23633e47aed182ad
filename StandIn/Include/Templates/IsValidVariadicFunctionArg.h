#pragma once

#include <cstddef>
#include <type_traits>

/** True for the types that may be passed through a C variadic argument list (the printf family). */
template <typename T>
struct TIsValidVariadicFunctionArg
{
private:
	using Decayed = std::decay_t<T>;

public:
	static constexpr bool Value = std::is_arithmetic_v<Decayed> || std::is_pointer_v<Decayed> || std::is_enum_v<Decayed>
		|| std::is_same_v<Decayed, std::nullptr_t>;
};
