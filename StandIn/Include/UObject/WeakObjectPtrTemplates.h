// TWeakObjectPtr: a typed weak reference to an object.
#pragma once

#include <type_traits>

#include "UObject/WeakObjectPtr.h"

template<class T = UObject, class TWeakObjectPtrBase = FWeakObjectPtr>
struct TWeakObjectPtr : private TWeakObjectPtrBase
{
	template<class, class> friend struct TWeakObjectPtr;

public:
	using ElementType = T;

	TWeakObjectPtr() = default;
	TWeakObjectPtr(const TWeakObjectPtr&) = default;
	TWeakObjectPtr& operator=(const TWeakObjectPtr&) = default;

	FORCEINLINE TWeakObjectPtr(decltype(nullptr)) : TWeakObjectPtrBase((const UObject*)nullptr) {}

	template<typename U, typename = decltype((T*)(U*)nullptr)>
	FORCEINLINE TWeakObjectPtr(U* Object) : TWeakObjectPtrBase((const UObject*)(T*)Object) {}

	template<typename U, typename = decltype((T*)(U*)nullptr)>
	FORCEINLINE TWeakObjectPtr(const TWeakObjectPtr<U, TWeakObjectPtrBase>& Other) : TWeakObjectPtrBase(static_cast<const TWeakObjectPtrBase&>(Other)) {}

	template<typename U, typename = decltype((T*)(U*)nullptr)>
	FORCEINLINE TWeakObjectPtr& operator=(U* Object)
	{
		TWeakObjectPtrBase::operator=((const UObject*)(T*)Object);
		return *this;
	}

	template<typename U, typename = decltype((T*)(U*)nullptr)>
	FORCEINLINE TWeakObjectPtr& operator=(const TWeakObjectPtr<U, TWeakObjectPtrBase>& Other)
	{
		TWeakObjectPtrBase::operator=(static_cast<const TWeakObjectPtrBase&>(Other));
		return *this;
	}

	FORCEINLINE void Reset() { TWeakObjectPtrBase::Reset(); }

	FORCEINLINE T* Get(bool bEvenIfPendingKill) const { return (T*)TWeakObjectPtrBase::Get(bEvenIfPendingKill); }
	FORCEINLINE T* Get() const { return (T*)TWeakObjectPtrBase::Get(); }
	FORCEINLINE T* GetEvenIfUnreachable() const { return (T*)TWeakObjectPtrBase::GetEvenIfUnreachable(); }
	FORCEINLINE T& operator*() const { return *Get(); }
	FORCEINLINE T* operator->() const { return Get(); }

	FORCEINLINE bool IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest = false) const { return TWeakObjectPtrBase::IsValid(bEvenIfPendingKill, bThreadsafeTest); }
	FORCEINLINE bool IsValid() const { return TWeakObjectPtrBase::IsValid(); }
	FORCEINLINE bool IsStale(bool bIncludingIfPendingKill = true, bool bThreadsafeTest = false) const { return TWeakObjectPtrBase::IsStale(bIncludingIfPendingKill, bThreadsafeTest); }
	FORCEINLINE bool IsExplicitlyNull() const { return TWeakObjectPtrBase::IsExplicitlyNull(); }
	FORCEINLINE explicit operator bool() const { return TWeakObjectPtrBase::IsValid(); }

	FORCEINLINE uint32 GetWeakPtrTypeHash() const { return TWeakObjectPtrBase::GetTypeHash(); }
	friend FORCEINLINE uint32 GetTypeHash(const TWeakObjectPtr& WeakObjectPtr) { return WeakObjectPtr.GetWeakPtrTypeHash(); }

	template<typename U>
	FORCEINLINE bool operator==(const TWeakObjectPtr<U, TWeakObjectPtrBase>& Rhs) const
	{
		return static_cast<const TWeakObjectPtrBase&>(*this) == static_cast<const TWeakObjectPtrBase&>(Rhs);
	}
	template<typename U>
	FORCEINLINE bool operator!=(const TWeakObjectPtr<U, TWeakObjectPtrBase>& Rhs) const { return !(*this == Rhs); }
	template<typename U>
	FORCEINLINE bool operator==(const U* Rhs) const { return Get() == Rhs; }
	template<typename U>
	FORCEINLINE bool operator!=(const U* Rhs) const { return Get() != Rhs; }
	FORCEINLINE bool operator==(decltype(nullptr)) const { return !IsValid(); }
	FORCEINLINE bool operator!=(decltype(nullptr)) const { return IsValid(); }
};

template<class T>
FORCEINLINE TWeakObjectPtr<T> MakeWeakObjectPtr(T* Object)
{
	return TWeakObjectPtr<T>(Object);
}
