// Native single-cast (TDelegate) and multicast (TMulticastDelegate) delegates.
//
// A binding to a shared-pointer object holds it weakly: once the object is gone the binding is not
// bound any more and a broadcast skips it. Raw bindings are never checked. UObject bindings
// (BindUObject/AddUObject/...WeakLambda) hold the object weakly through TWeakObjectPtr, which the
// object system defines (UObject/WeakObjectPtrTemplates.h).
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Delegates/IDelegateInstance.h"
#include "Misc/AssertionMacros.h"
#include "Templates/SharedPointer.h"
#include "Templates/UnrealTemplate.h"

#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <type_traits>

struct FWeakObjectPtr;
template <class T, class TWeakObjectPtrBase>
struct TWeakObjectPtr;

namespace UE::Delegates::Private
{
	/**
	 * Weak reference to a UObject for delegate bindings (the object system's TWeakObjectPtr, complete
	 * wherever UObject bindings are made): Get() is null once the object is gone.
	 */
	template <typename UserClass, typename Enable = void>
	struct TUObjectWeakHandle
	{
		explicit TUObjectWeakHandle(UserClass* Object) : Weak(Object) {}
		UserClass* Get() const { return Weak.Get(); }

		TWeakObjectPtr<UserClass, FWeakObjectPtr> Weak;
	};

	/** One binding: how to call it, whom it is bound to, and whether that object still lives. */
	template <typename RetType, typename... ParamTypes>
	struct TBinding
	{
		// Returns false without calling when the bound object is gone.
		// A result is constructed in place: return types need not be default-constructible (FReply is not).
		std::function<bool(std::conditional_t<std::is_void_v<RetType>, int, std::optional<RetType>>* OutResult, ParamTypes... Params)> Call;
		std::function<bool()> IsAlive;
		const void* UserObject = nullptr;
		FDelegateHandle Handle;

		bool IsSafeToExecute() const { return Call && (!IsAlive || IsAlive()); }
	};

	template <typename RetType, typename... ParamTypes>
	struct TBindingFactory
	{
		using FBinding = TBinding<RetType, ParamTypes...>;
		using ResultSlot = std::conditional_t<std::is_void_v<RetType>, int, std::optional<RetType>>;

		template <typename CallableType>
		static FBinding MakeAlwaysAlive(CallableType&& Callable, const void* UserObject)
		{
			FBinding Binding;
			Binding.Call = [Callable = Forward<CallableType>(Callable)](ResultSlot* OutResult, ParamTypes... Params) mutable -> bool {
				if constexpr (std::is_void_v<RetType>)
				{
					(void)OutResult;
					Callable(Forward<ParamTypes>(Params)...);
				}
				else
				{
					OutResult->emplace(Callable(Forward<ParamTypes>(Params)...));
				}
				return true;
			};
			Binding.UserObject = UserObject;
			Binding.Handle = FDelegateHandle(FDelegateHandle::GenerateNewHandle);
			return Binding;
		}

		/** Lock() yields a pointer-like object (null when the target is gone) that keeps it alive during the call. */
		template <typename LockType, typename CallableType>
		static FBinding MakeWeak(LockType&& Lock, CallableType&& Callable, const void* UserObject)
		{
			FBinding Binding;
			Binding.Call = [Lock, Callable = Forward<CallableType>(Callable)](ResultSlot* OutResult, ParamTypes... Params) mutable -> bool {
				auto Pinned = Lock();
				if (!Pinned)
				{
					return false;
				}
				if constexpr (std::is_void_v<RetType>)
				{
					(void)OutResult;
					Callable(&*Pinned, Forward<ParamTypes>(Params)...);
				}
				else
				{
					OutResult->emplace(Callable(&*Pinned, Forward<ParamTypes>(Params)...));
				}
				return true;
			};
			Binding.IsAlive = [Lock]() { return static_cast<bool>(Lock()); };
			Binding.UserObject = UserObject;
			Binding.Handle = FDelegateHandle(FDelegateHandle::GenerateNewHandle);
			return Binding;
		}
	};

	template <typename UserClass, ESPMode Mode>
	auto SharedLock(const TSharedRef<UserClass, Mode>& Object)
	{
		TWeakPtr<UserClass, Mode> Weak(Object);
		return [Weak]() { return Weak.Pin(); };
	}

	template <typename UserClass>
	auto UObjectLock(UserClass* Object)
	{
		using FHandle = TUObjectWeakHandle<std::remove_const_t<UserClass>, void>;
		FHandle Weak(const_cast<std::remove_const_t<UserClass>*>(Object));
		return [Weak]() { return Weak.Get(); };
	}

	template <typename MethodType, typename... VarTypes>
	auto BindMethod(MethodType InFunc, VarTypes&&... Vars)
	{
		return [InFunc, Payload = std::make_tuple(Forward<VarTypes>(Vars)...)](auto* Object, auto&&... Params) mutable -> decltype(auto) {
			return std::apply([&](auto&... PayloadValues) -> decltype(auto) {
				return std::invoke(InFunc, Object, Forward<decltype(Params)>(Params)..., PayloadValues...);
			}, Payload);
		};
	}

	template <typename FunctorType, typename... VarTypes>
	auto BindFunctor(FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return [Functor = Forward<FunctorType>(InFunctor), Payload = std::make_tuple(Forward<VarTypes>(Vars)...)](auto&&... Params) mutable -> decltype(auto) {
			return std::apply([&](auto&... PayloadValues) -> decltype(auto) {
				return std::invoke(Functor, Forward<decltype(Params)>(Params)..., PayloadValues...);
			}, Payload);
		};
	}

	template <typename FunctorType>
	auto BindWeakFunctor(FunctorType&& InFunctor)
	{
		return [Functor = Forward<FunctorType>(InFunctor)](auto*, auto&&... Params) mutable -> decltype(auto) {
			return Functor(Forward<decltype(Params)>(Params)...);
		};
	}
}

struct FDefaultDelegateUserPolicy
{
};

template <typename DelegateSignature, typename UserPolicy = FDefaultDelegateUserPolicy>
class TDelegate;

template <typename InRetValType, typename... ParamTypes, typename UserPolicy>
class TDelegate<InRetValType(ParamTypes...), UserPolicy>
{
	template <typename, typename> friend class TMulticastDelegate;
	using FFactory = UE::Delegates::Private::TBindingFactory<InRetValType, ParamTypes...>;
	using FBinding = typename FFactory::FBinding;

public:
	using RetValType = InRetValType;
	using TFuncType = InRetValType(ParamTypes...);

	TDelegate() = default;
	TDelegate(std::nullptr_t) {}

	template <typename... VarTypes>
	[[nodiscard]] static TDelegate CreateStatic(RetValType (*InFunc)(ParamTypes..., std::decay_t<VarTypes>...), VarTypes&&... Vars)
	{
		return TDelegate(FFactory::MakeAlwaysAlive(UE::Delegates::Private::BindFunctor(InFunc, Forward<VarTypes>(Vars)...), nullptr));
	}

	template <typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateLambda(FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return TDelegate(FFactory::MakeAlwaysAlive(UE::Delegates::Private::BindFunctor(Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...), nullptr));
	}

	template <typename UserClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(UserClass* InUserObject, MethodType InFunc, VarTypes&&... Vars)
	{
		auto Method = UE::Delegates::Private::BindMethod(InFunc, Forward<VarTypes>(Vars)...);
		return TDelegate(FFactory::MakeAlwaysAlive(
			[InUserObject, Method](auto&&... Params) mutable -> decltype(auto) { return Method(InUserObject, Forward<decltype(Params)>(Params)...); },
			InUserObject));
	}

	template <typename UserClass, ESPMode Mode, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, MethodType InFunc, VarTypes&&... Vars)
	{
		return TDelegate(FFactory::MakeWeak(UE::Delegates::Private::SharedLock(InUserObjectRef),
			UE::Delegates::Private::BindMethod(InFunc, Forward<VarTypes>(Vars)...), &InUserObjectRef.Get()));
	}

	template <typename UserClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(UserClass* InUserObject, MethodType InFunc, VarTypes&&... Vars)
	{
		return CreateSP(StaticCastSharedRef<UserClass>(InUserObject->AsShared()), InFunc, Forward<VarTypes>(Vars)...);
	}

	template <typename UserClass, ESPMode Mode, typename FunctorType>
	[[nodiscard]] static TDelegate CreateSPLambda(const TSharedRef<UserClass, Mode>& InUserObjectRef, FunctorType&& InFunctor)
	{
		return TDelegate(FFactory::MakeWeak(UE::Delegates::Private::SharedLock(InUserObjectRef),
			UE::Delegates::Private::BindWeakFunctor(Forward<FunctorType>(InFunctor)), &InUserObjectRef.Get()));
	}

	template <typename UserClass, typename FunctorType>
	[[nodiscard]] static TDelegate CreateSPLambda(UserClass* InUserObject, FunctorType&& InFunctor)
	{
		return CreateSPLambda(StaticCastSharedRef<UserClass>(InUserObject->AsShared()), Forward<FunctorType>(InFunctor));
	}

	template <typename UserClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateUObject(UserClass* InUserObject, MethodType InFunc, VarTypes&&... Vars)
	{
		return TDelegate(FFactory::MakeWeak(UE::Delegates::Private::UObjectLock(InUserObject),
			UE::Delegates::Private::BindMethod(InFunc, Forward<VarTypes>(Vars)...), InUserObject));
	}

	template <typename UserClass, typename FunctorType>
	[[nodiscard]] static TDelegate CreateWeakLambda(UserClass* InUserObject, FunctorType&& InFunctor)
	{
		return TDelegate(FFactory::MakeWeak(UE::Delegates::Private::UObjectLock(InUserObject),
			UE::Delegates::Private::BindWeakFunctor(Forward<FunctorType>(InFunctor)), InUserObject));
	}

	template <typename... ArgTypes>
	void BindStatic(ArgTypes&&... Args) { *this = CreateStatic(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindLambda(ArgTypes&&... Args) { *this = CreateLambda(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindRaw(ArgTypes&&... Args) { *this = CreateRaw(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindSP(ArgTypes&&... Args) { *this = CreateSP(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindThreadSafeSP(ArgTypes&&... Args) { *this = CreateSP(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindSPLambda(ArgTypes&&... Args) { *this = CreateSPLambda(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindUObject(ArgTypes&&... Args) { *this = CreateUObject(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindWeakLambda(ArgTypes&&... Args) { *this = CreateWeakLambda(Forward<ArgTypes>(Args)...); }

	/** Bound, and the bound object (if tracked) still lives. */
	FORCEINLINE bool IsBound() const { return Binding && Binding->IsSafeToExecute(); }
	FORCEINLINE bool IsBoundToObject(const void* InUserObject) const { return Binding && InUserObject && Binding->UserObject == InUserObject; }
	FORCEINLINE void Unbind() { Binding.reset(); }
	FORCEINLINE FDelegateHandle GetHandle() const { return Binding ? Binding->Handle : FDelegateHandle(); }

	/** Calls the binding; calling an unbound delegate is a fatal error. */
	RetValType Execute(ParamTypes... Params) const
	{
		checkf(IsBound(), TEXT("Attempted to execute an unbound delegate"));
		typename FFactory::ResultSlot Result{};
		const bool bCalled = Binding->Call(&Result, Forward<ParamTypes>(Params)...);
		if constexpr (!std::is_void_v<RetValType>)
		{
			checkf(bCalled && Result.has_value(), TEXT("Attempted to execute a delegate whose object is gone"));
			return MoveTemp(*Result);
		}
		else
		{
			(void)bCalled;
		}
	}

	/** Calls the binding if it is bound; returns whether it was called. */
	template <typename R = RetValType, typename = std::enable_if_t<std::is_void_v<R>>>
	bool ExecuteIfBound(ParamTypes... Params) const
	{
		if (!Binding)
		{
			return false;
		}
		int Unused = 0;
		return Binding->Call(&Unused, Forward<ParamTypes>(Params)...);
	}

private:
	explicit TDelegate(FBinding&& InBinding)
		: Binding(std::make_shared<FBinding>(MoveTemp(InBinding)))
	{
	}

	// Shared, immutable once made: copies of a delegate share one binding and its handle.
	std::shared_ptr<const FBinding> Binding;
};

template <typename DelegateSignature, typename UserPolicy = FDefaultDelegateUserPolicy>
class TMulticastDelegate;

template <typename... ParamTypes, typename UserPolicy>
class TMulticastDelegate<void(ParamTypes...), UserPolicy>
{
	using FFactory = UE::Delegates::Private::TBindingFactory<void, ParamTypes...>;
	using FBinding = typename FFactory::FBinding;

public:
	using FDelegate = TDelegate<void(ParamTypes...), UserPolicy>;

	TMulticastDelegate() = default;

	/** Adds a copy of a single-cast delegate; returns its handle. */
	FDelegateHandle Add(const FDelegate& InNewDelegate)
	{
		if (!InNewDelegate.Binding)
		{
			return FDelegateHandle();
		}
		InvocationList.Add(InNewDelegate.Binding);
		return InNewDelegate.Binding->Handle;
	}

	template <typename... ArgTypes>
	FDelegateHandle AddStatic(ArgTypes&&... Args) { return Add(FDelegate::CreateStatic(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddLambda(ArgTypes&&... Args) { return Add(FDelegate::CreateLambda(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddRaw(ArgTypes&&... Args) { return Add(FDelegate::CreateRaw(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddSP(ArgTypes&&... Args) { return Add(FDelegate::CreateSP(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddThreadSafeSP(ArgTypes&&... Args) { return Add(FDelegate::CreateSP(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddSPLambda(ArgTypes&&... Args) { return Add(FDelegate::CreateSPLambda(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddUObject(ArgTypes&&... Args) { return Add(FDelegate::CreateUObject(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddWeakLambda(ArgTypes&&... Args) { return Add(FDelegate::CreateWeakLambda(Forward<ArgTypes>(Args)...)); }

	/** Removes the binding with this handle; returns whether one was removed. */
	bool Remove(FDelegateHandle Handle)
	{
		if (!Handle.IsValid())
		{
			return false;
		}
		for (int32 Index = 0; Index < InvocationList.Num(); ++Index)
		{
			if (InvocationList[Index] && InvocationList[Index]->Handle == Handle)
			{
				RemoveEntry(Index);
				return true;
			}
		}
		return false;
	}

	/** Removes every binding to InUserObject; returns how many were removed. */
	int32 RemoveAll(const void* InUserObject)
	{
		int32 NumRemoved = 0;
		if (!InUserObject)
		{
			return 0;
		}
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			if (InvocationList[Index] && InvocationList[Index]->UserObject == InUserObject)
			{
				RemoveEntry(Index);
				++NumRemoved;
			}
		}
		return NumRemoved;
	}

	void Clear()
	{
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			RemoveEntry(Index);
		}
	}

	/** Whether any binding is bound to a live object. */
	bool IsBound() const
	{
		for (const auto& Entry : InvocationList)
		{
			if (Entry && Entry->IsSafeToExecute())
			{
				return true;
			}
		}
		return false;
	}

	bool IsBoundToObject(const void* InUserObject) const
	{
		for (const auto& Entry : InvocationList)
		{
			if (Entry && InUserObject && Entry->UserObject == InUserObject)
			{
				return true;
			}
		}
		return false;
	}

	/**
	 * Calls every binding, last added first (as the engine does, so bindings added by a callee are
	 * not called in the same broadcast). Bindings removed during the broadcast are not called; those
	 * whose object is gone are skipped and dropped afterwards.
	 */
	void Broadcast(ParamTypes... Params) const
	{
		bool bNeedsCompaction = false;
		++LockCount;
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			// Hold the binding: a callee may remove it while it runs.
			const std::shared_ptr<const FBinding> Entry = InvocationList[Index];
			int Unused = 0;
			if (!Entry || !Entry->Call(&Unused, Params...))
			{
				bNeedsCompaction = true;
			}
		}
		--LockCount;
		if (bNeedsCompaction && LockCount == 0)
		{
			InvocationList.RemoveAllSwap([](const std::shared_ptr<const FBinding>& Entry) { return !Entry || !Entry->IsSafeToExecute(); }, EAllowShrinking::No);
		}
	}

private:
	void RemoveEntry(int32 Index)
	{
		if (LockCount > 0)
		{
			InvocationList[Index].reset(); // compacted after the broadcast
		}
		else
		{
			InvocationList.RemoveAtSwap(Index, 1, EAllowShrinking::No);
		}
	}

	mutable TArray<std::shared_ptr<const FBinding>> InvocationList;
	mutable int32 LockCount = 0;
};

#include "Delegates/DelegateCombinations.h"
// The weak object pointer that UObject bindings hold (light: it needs only platform types).
#include "UObject/WeakObjectPtrTemplates.h"

DECLARE_DELEGATE(FSimpleDelegate);
DECLARE_MULTICAST_DELEGATE(FSimpleMulticastDelegate);
