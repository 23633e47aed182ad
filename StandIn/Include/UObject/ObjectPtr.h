// TObjectPtr: the engine's wrapper for object pointer members; here a plain pointer wrapper.
#pragma once

#include "HAL/Platform.h"

template<typename T>
struct TObjectPtr
{
public:
	using ElementType = T;

	TObjectPtr() : Ptr(nullptr) {}
	TObjectPtr(decltype(nullptr)) : Ptr(nullptr) {}
	template<typename U, typename = decltype((T*)(U*)nullptr)>
	TObjectPtr(U* Object) : Ptr(Object) {}
	template<typename U, typename = decltype((T*)(U*)nullptr)>
	TObjectPtr(const TObjectPtr<U>& Other) : Ptr(Other.Get()) {}
	TObjectPtr(const TObjectPtr&) = default;
	TObjectPtr& operator=(const TObjectPtr&) = default;
	template<typename U, typename = decltype((T*)(U*)nullptr)>
	TObjectPtr& operator=(U* Object)
	{
		Ptr = Object;
		return *this;
	}
	TObjectPtr& operator=(decltype(nullptr))
	{
		Ptr = nullptr;
		return *this;
	}

	FORCEINLINE T* Get() const { return Ptr; }
	FORCEINLINE operator T*() const { return Ptr; }
	template<typename U, typename = decltype((U*)(T*)nullptr)>
	FORCEINLINE explicit operator U*() const { return (U*)Ptr; }
	FORCEINLINE T* operator->() const { return Ptr; }
	FORCEINLINE T& operator*() const { return *Ptr; }
	FORCEINLINE explicit operator bool() const { return Ptr != nullptr; }
	FORCEINLINE bool operator!() const { return Ptr == nullptr; }

	template<typename U>
	friend FORCEINLINE bool operator==(const TObjectPtr& Lhs, const TObjectPtr<U>& Rhs) { return Lhs.Get() == Rhs.Get(); }
	template<typename U, typename = decltype((const T*)nullptr == (const U*)nullptr)>
	friend FORCEINLINE bool operator==(const TObjectPtr& Lhs, U* Rhs) { return Lhs.Get() == Rhs; }
	friend FORCEINLINE bool operator==(const TObjectPtr& Lhs, decltype(nullptr)) { return Lhs.Get() == nullptr; }

	friend FORCEINLINE uint32 GetTypeHash(const TObjectPtr& Object) { return (uint32)(((UPTRINT)Object.Ptr) >> 4); }

private:
	T* Ptr;
};

template<typename T>
FORCEINLINE T* ToRawPtr(const TObjectPtr<T>& Ptr)
{
	return Ptr.Get();
}

template<typename T>
FORCEINLINE T* ToRawPtr(T* Ptr)
{
	return Ptr;
}
