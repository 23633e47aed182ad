// TSharedRef / TSharedPtr / TWeakPtr / TSharedFromThis. Reference counting is std::shared_ptr's
// (always atomic, which is what ESPMode::ThreadSafe means); the NotThreadSafe mode shares it.
#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Templates/SharedPointerFwd.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

#include <memory>
#include <type_traits>

namespace UE::SharedPointer::Private
{
	/** Reaches the std::shared_ptr held by the shared pointer types, for conversions between them. */
	struct FAccess
	{
		template <typename PointerType>
		static auto& Get(PointerType& Pointer) { return Pointer.Storage; }
		template <typename PointerType>
		static const auto& Get(const PointerType& Pointer) { return Pointer.Storage; }
		template <typename PointerType, typename StorageType>
		static PointerType Make(StorageType&& Storage)
		{
			PointerType Result;
			Result.Storage = Forward<StorageType>(Storage);
			return Result;
		}
	};
}

template <class ObjectType, ESPMode Mode>
class TSharedPtr
{
	friend struct UE::SharedPointer::Private::FAccess;
	template <class, ESPMode> friend class TSharedPtr;

public:
	using ElementType = ObjectType;

	TSharedPtr() = default;
	TSharedPtr(std::nullptr_t) {}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	explicit TSharedPtr(OtherType* InObject)
		: Storage(InObject)
	{
	}

	template <typename OtherType, typename DeleterType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(OtherType* InObject, DeleterType&& InDeleter)
		: Storage(InObject, Forward<DeleterType>(InDeleter))
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other)
		: Storage(Other.Storage)
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(TSharedPtr<OtherType, Mode>&& Other)
		: Storage(MoveTemp(Other.Storage))
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other)
		: Storage(UE::SharedPointer::Private::FAccess::Get(Other))
	{
	}

	TSharedPtr& operator=(std::nullptr_t)
	{
		Reset();
		return *this;
	}

	FORCEINLINE TSharedRef<ObjectType, Mode> ToSharedRef() const&
	{
		check(IsValid());
		return UE::SharedPointer::Private::FAccess::Make<TSharedRef<ObjectType, Mode>>(Storage);
	}

	FORCEINLINE TSharedRef<ObjectType, Mode> ToSharedRef() &&
	{
		check(IsValid());
		return UE::SharedPointer::Private::FAccess::Make<TSharedRef<ObjectType, Mode>>(MoveTemp(Storage));
	}

	FORCEINLINE TWeakPtr<ObjectType, Mode> ToWeakPtr() const { return TWeakPtr<ObjectType, Mode>(*this); }

	FORCEINLINE ObjectType* Get() const { return Storage.get(); }
	FORCEINLINE explicit operator bool() const { return Storage != nullptr; }
	FORCEINLINE bool IsValid() const { return Storage != nullptr; }
	FORCEINLINE ObjectType& operator*() const
	{
		check(IsValid());
		return *Storage;
	}
	FORCEINLINE ObjectType* operator->() const
	{
		check(IsValid());
		return Storage.get();
	}
	FORCEINLINE void Reset() { Storage.reset(); }
	FORCEINLINE int32 GetSharedReferenceCount() const { return static_cast<int32>(Storage.use_count()); }
	FORCEINLINE bool IsUnique() const { return Storage.use_count() == 1; }

private:
	std::shared_ptr<ObjectType> Storage;
};

/** A shared reference: like TSharedPtr but never null. */
template <class ObjectType, ESPMode Mode>
class TSharedRef
{
	friend struct UE::SharedPointer::Private::FAccess;
	template <class, ESPMode> friend class TSharedRef;

public:
	using ElementType = ObjectType;

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	explicit TSharedRef(OtherType* InObject)
		: Storage(InObject)
	{
		check(InObject != nullptr);
	}

	template <typename OtherType, typename DeleterType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedRef(OtherType* InObject, DeleterType&& InDeleter)
		: Storage(InObject, Forward<DeleterType>(InDeleter))
	{
		check(InObject != nullptr);
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other)
		: Storage(Other.Storage)
	{
	}

	FORCEINLINE TSharedPtr<ObjectType, Mode> ToSharedPtr() const { return TSharedPtr<ObjectType, Mode>(*this); }
	FORCEINLINE TWeakPtr<ObjectType, Mode> ToWeakPtr() const { return TWeakPtr<ObjectType, Mode>(*this); }
	FORCEINLINE ObjectType& Get() const { return *Storage; }
	FORCEINLINE ObjectType& operator*() const { return *Storage; }
	FORCEINLINE ObjectType* operator->() const { return Storage.get(); }
	FORCEINLINE bool IsValid() const { return true; }
	FORCEINLINE int32 GetSharedReferenceCount() const { return static_cast<int32>(Storage.use_count()); }
	FORCEINLINE bool IsUnique() const { return Storage.use_count() == 1; }

private:
	TSharedRef() = default; // only for conversions that are known to hold an object

	std::shared_ptr<ObjectType> Storage;
};

template <class ObjectType, ESPMode Mode>
class TWeakPtr
{
	friend struct UE::SharedPointer::Private::FAccess;
	template <class, ESPMode> friend class TWeakPtr;

public:
	using ElementType = ObjectType;

	TWeakPtr() = default;
	TWeakPtr(std::nullptr_t) {}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedPtr<OtherType, Mode>& Shared)
		: Storage(UE::SharedPointer::Private::FAccess::Get(Shared))
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedRef<OtherType, Mode>& Shared)
		: Storage(UE::SharedPointer::Private::FAccess::Get(Shared))
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TWeakPtr<OtherType, Mode>& Other)
		: Storage(Other.Storage)
	{
	}

	TWeakPtr& operator=(std::nullptr_t)
	{
		Reset();
		return *this;
	}

	/** A shared pointer to the object, or null if it is gone. */
	FORCEINLINE TSharedPtr<ObjectType, Mode> Pin() const&
	{
		return UE::SharedPointer::Private::FAccess::Make<TSharedPtr<ObjectType, Mode>>(Storage.lock());
	}

	FORCEINLINE bool IsValid() const { return !Storage.expired(); }
	FORCEINLINE void Reset() { Storage.reset(); }
	FORCEINLINE bool HasSameObject(const void* InOtherPtr) const { return Pin().Get() == InOtherPtr; }

	friend bool operator==(const TWeakPtr& A, const TWeakPtr& B) { return !A.Storage.owner_before(B.Storage) && !B.Storage.owner_before(A.Storage); }
	friend bool operator!=(const TWeakPtr& A, const TWeakPtr& B) { return !(A == B); }
	friend uint32 GetTypeHash(const TWeakPtr& WeakPtr) { return GetTypeHash(static_cast<const void*>(WeakPtr.Pin().Get())); }

private:
	std::weak_ptr<ObjectType> Storage;
};

/**
 * Lets an object reach the shared pointer that owns it. The link is made when the object is first
 * owned by a TSharedRef/TSharedPtr (MakeShared, MakeShareable or the pointer constructors).
 */
template <class ObjectType, ESPMode Mode>
class TSharedFromThis : public std::enable_shared_from_this<ObjectType>
{
public:
	TSharedRef<ObjectType, Mode> AsShared()
	{
		return UE::SharedPointer::Private::FAccess::Make<TSharedRef<ObjectType, Mode>>(this->shared_from_this());
	}

	TSharedRef<const ObjectType, Mode> AsShared() const
	{
		return UE::SharedPointer::Private::FAccess::Make<TSharedRef<const ObjectType, Mode>>(std::shared_ptr<const ObjectType>(this->shared_from_this()));
	}

	TWeakPtr<ObjectType, Mode> AsWeak()
	{
		return UE::SharedPointer::Private::FAccess::Make<TWeakPtr<ObjectType, Mode>>(this->weak_from_this());
	}

	bool DoesSharedInstanceExist() const { return !this->weak_from_this().expired(); }

protected:
	TSharedFromThis() = default;
	TSharedFromThis(const TSharedFromThis&) {}
	TSharedFromThis& operator=(const TSharedFromThis&) { return *this; }
	~TSharedFromThis() = default;

	template <class OtherType>
	static TSharedRef<OtherType, Mode> SharedThis(OtherType* ThisPtr)
	{
		return StaticCastSharedRef<OtherType>(ThisPtr->AsShared());
	}

	template <class OtherType>
	static TSharedRef<const OtherType, Mode> SharedThis(const OtherType* ThisPtr)
	{
		return StaticCastSharedRef<const OtherType>(ThisPtr->AsShared());
	}
};

template <typename InObjectType, ESPMode InMode = ESPMode::ThreadSafe, typename... InArgTypes>
FORCEINLINE TSharedRef<InObjectType, InMode> MakeShared(InArgTypes&&... Args)
{
	return UE::SharedPointer::Private::FAccess::Make<TSharedRef<InObjectType, InMode>>(std::make_shared<InObjectType>(Forward<InArgTypes>(Args)...));
}

/** Wraps a raw pointer for conversion into a TSharedPtr or TSharedRef (which then owns it). */
template <class ObjectType>
struct TRawPtrProxy
{
	ObjectType* Object;

	template <class OtherType, ESPMode Mode>
	operator TSharedPtr<OtherType, Mode>() const { return TSharedPtr<OtherType, Mode>(Object); }

	template <class OtherType, ESPMode Mode>
	operator TSharedRef<OtherType, Mode>() const { return TSharedRef<OtherType, Mode>(Object); }
};

template <class ObjectType, class DeleterType>
struct TRawPtrProxyWithDeleter
{
	ObjectType* Object;
	DeleterType Deleter;

	template <class OtherType, ESPMode Mode>
	operator TSharedPtr<OtherType, Mode>() const { return TSharedPtr<OtherType, Mode>(Object, Deleter); }

	template <class OtherType, ESPMode Mode>
	operator TSharedRef<OtherType, Mode>() const { return TSharedRef<OtherType, Mode>(Object, Deleter); }
};

template <class ObjectType>
FORCEINLINE TRawPtrProxy<ObjectType> MakeShareable(ObjectType* InObject)
{
	return TRawPtrProxy<ObjectType>{InObject};
}

template <class ObjectType, class DeleterType>
FORCEINLINE TRawPtrProxyWithDeleter<ObjectType, std::decay_t<DeleterType>> MakeShareable(ObjectType* InObject, DeleterType&& InDeleter)
{
	return TRawPtrProxyWithDeleter<ObjectType, std::decay_t<DeleterType>>{InObject, Forward<DeleterType>(InDeleter)};
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedRef<CastToType, Mode> StaticCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return UE::SharedPointer::Private::FAccess::Make<TSharedRef<CastToType, Mode>>(std::static_pointer_cast<CastToType>(UE::SharedPointer::Private::FAccess::Get(InSharedRef)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedPtr<CastToType, Mode> StaticCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return UE::SharedPointer::Private::FAccess::Make<TSharedPtr<CastToType, Mode>>(std::static_pointer_cast<CastToType>(UE::SharedPointer::Private::FAccess::Get(InSharedPtr)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedRef<CastToType, Mode> ConstCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return UE::SharedPointer::Private::FAccess::Make<TSharedRef<CastToType, Mode>>(std::const_pointer_cast<CastToType>(UE::SharedPointer::Private::FAccess::Get(InSharedRef)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedPtr<CastToType, Mode> ConstCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return UE::SharedPointer::Private::FAccess::Make<TSharedPtr<CastToType, Mode>>(std::const_pointer_cast<CastToType>(UE::SharedPointer::Private::FAccess::Get(InSharedPtr)));
}

template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator==(const TSharedPtr<ObjectTypeA, Mode>& A, const TSharedPtr<ObjectTypeB, Mode>& B) { return A.Get() == B.Get(); }
template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator!=(const TSharedPtr<ObjectTypeA, Mode>& A, const TSharedPtr<ObjectTypeB, Mode>& B) { return A.Get() != B.Get(); }
template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator==(const TSharedRef<ObjectTypeA, Mode>& A, const TSharedRef<ObjectTypeB, Mode>& B) { return &A.Get() == &B.Get(); }
template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator!=(const TSharedRef<ObjectTypeA, Mode>& A, const TSharedRef<ObjectTypeB, Mode>& B) { return &A.Get() != &B.Get(); }
template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator==(const TSharedPtr<ObjectTypeA, Mode>& A, const TSharedRef<ObjectTypeB, Mode>& B) { return A.Get() == &B.Get(); }
template <class ObjectTypeA, class ObjectTypeB, ESPMode Mode>
FORCEINLINE bool operator==(const TSharedRef<ObjectTypeA, Mode>& A, const TSharedPtr<ObjectTypeB, Mode>& B) { return &A.Get() == B.Get(); }
template <class ObjectType, ESPMode Mode>
FORCEINLINE bool operator==(const TSharedPtr<ObjectType, Mode>& A, std::nullptr_t) { return !A.IsValid(); }
template <class ObjectType, ESPMode Mode>
FORCEINLINE bool operator!=(const TSharedPtr<ObjectType, Mode>& A, std::nullptr_t) { return A.IsValid(); }

template <class ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedPtr<ObjectType, Mode>& InSharedPtr) { return GetTypeHash(static_cast<const void*>(InSharedPtr.Get())); }
template <class ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedRef<ObjectType, Mode>& InSharedRef) { return GetTypeHash(static_cast<const void*>(&InSharedRef.Get())); }
