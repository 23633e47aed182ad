#pragma once

#include "HAL/Platform.h"
#include "Templates/UnrealTemplate.h"

#include <memory>

template <typename T>
struct TDefaultDelete
{
	TDefaultDelete() = default;
	template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TDefaultDelete(const TDefaultDelete<U>&) {}
	void operator()(T* Ptr) const { delete Ptr; }
};

template <typename T>
struct TDefaultDelete<T[]>
{
	void operator()(T* Ptr) const { delete[] Ptr; }
};

/** Sole ownership of an object. */
template <typename T, typename Deleter = TDefaultDelete<T>>
class TUniquePtr
{
	template <typename, typename> friend class TUniquePtr;

public:
	using ElementType = std::remove_extent_t<T>;

	TUniquePtr() = default;
	TUniquePtr(std::nullptr_t) {}
	explicit TUniquePtr(ElementType* InPtr) : Storage(InPtr) {}
	TUniquePtr(TUniquePtr&&) = default;
	TUniquePtr& operator=(TUniquePtr&&) = default;

	template <typename OtherT, typename OtherDeleter, typename = std::enable_if_t<std::is_convertible_v<OtherT*, T*>>>
	TUniquePtr(TUniquePtr<OtherT, OtherDeleter>&& Other)
		: Storage(Other.Release())
	{
	}

	template <typename OtherT, typename OtherDeleter, typename = std::enable_if_t<std::is_convertible_v<OtherT*, T*>>>
	TUniquePtr& operator=(TUniquePtr<OtherT, OtherDeleter>&& Other)
	{
		Storage.reset(Other.Release());
		return *this;
	}

	TUniquePtr& operator=(std::nullptr_t)
	{
		Storage.reset();
		return *this;
	}

	FORCEINLINE bool IsValid() const { return Storage != nullptr; }
	FORCEINLINE explicit operator bool() const { return IsValid(); }
	FORCEINLINE ElementType* Get() const { return Storage.get(); }
	FORCEINLINE ElementType* operator->() const { return Storage.get(); }
	FORCEINLINE ElementType& operator*() const { return *Storage; }
	FORCEINLINE ElementType* Release() { return Storage.release(); }
	FORCEINLINE void Reset(ElementType* InPtr = nullptr) { Storage.reset(InPtr); }
	FORCEINLINE Deleter& GetDeleter() { return Storage.get_deleter(); }

	template <typename U = T, typename = std::enable_if_t<std::is_array_v<U>>>
	ElementType& operator[](SIZE_T Index) const { return Storage.get()[Index]; }

	friend bool operator==(const TUniquePtr& A, std::nullptr_t) { return !A.IsValid(); }
	friend bool operator!=(const TUniquePtr& A, std::nullptr_t) { return A.IsValid(); }

private:
	std::unique_ptr<T, Deleter> Storage;
};

template <typename T, typename... TArgs>
FORCEINLINE std::enable_if_t<!std::is_array_v<T>, TUniquePtr<T>> MakeUnique(TArgs&&... Args)
{
	return TUniquePtr<T>(new T(Forward<TArgs>(Args)...));
}

template <typename T>
FORCEINLINE std::enable_if_t<std::is_array_v<T>, TUniquePtr<T>> MakeUnique(SIZE_T Size)
{
	return TUniquePtr<T>(new std::remove_extent_t<T>[Size]());
}
