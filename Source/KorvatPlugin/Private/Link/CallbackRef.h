// A non-owning reference to a callable, for callbacks that live only as long as the call they are passed to.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace Korvat::UE4
{

template <typename Signature>
class CallbackRef;

/**
 * Refers to a callable object without owning or copying it: constructing one costs two pointer stores and
 * never allocates, which keeps the per-frame calls that take callbacks free of type-erasure costs. The
 * callable must outlive the reference, which holds for a lambda written in the argument list of the call
 * that receives it. Do not keep a CallbackRef in a variable initialised from a temporary.
 *
 * @code
 *   Link.DrainEvents([&](std::int32_t Id, std::int32_t Argument) { ... });
 * @endcode
 */
template <typename Result, typename... Args>
class CallbackRef<Result(Args...)>
{
public:
	/** An empty reference: calling it is an error, test with operator bool. */
	constexpr CallbackRef() noexcept = default;
	constexpr CallbackRef(std::nullptr_t) noexcept {}

	template <typename Callable,
		typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<Callable>, CallbackRef> &&
			std::is_invocable_r_v<Result, Callable&, Args...>>>
	CallbackRef(Callable&& Target) noexcept
		: Object(const_cast<void*>(static_cast<const void*>(std::addressof(Target))))
		, Invoker(&Invoke<std::remove_reference_t<Callable>>)
	{
	}

	explicit operator bool() const noexcept { return Invoker != nullptr; }

	Result operator()(Args... Arguments) const { return Invoker(Object, std::forward<Args>(Arguments)...); }

private:
	template <typename Callable>
	static Result Invoke(void* Target, Args... Arguments)
	{
		return (*static_cast<Callable*>(Target))(std::forward<Args>(Arguments)...);
	}

	void* Object = nullptr;
	Result (*Invoker)(void*, Args...) = nullptr;
};

} // namespace Korvat::UE4
