// TArrayView: a non-owning view of contiguous elements (a TArray's, or a C array's).
#pragma once

#include <type_traits>

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Containers/Array.h"

template <typename InElementType>
class TArrayView
{
public:
	using ElementType = InElementType;
	using SizeType = int32;

	TArrayView() = default;

	TArrayView(ElementType* InData, SizeType InCount)
		: DataPtr(InData)
		, ArrayNum(InCount)
	{
		check(InCount >= 0);
	}

	template <typename OtherElementType, typename AllocatorType,
		typename = std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>>
	TArrayView(TArray<OtherElementType, AllocatorType>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	template <typename OtherElementType, typename AllocatorType,
		typename = std::enable_if_t<std::is_convertible_v<const OtherElementType (*)[], ElementType (*)[]>>>
	TArrayView(const TArray<OtherElementType, AllocatorType>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	template <typename OtherElementType, typename = std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>>
	TArrayView(const TArrayView<OtherElementType>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	FORCEINLINE ElementType* GetData() const { return DataPtr; }
	FORCEINLINE SizeType Num() const { return ArrayNum; }
	FORCEINLINE bool IsEmpty() const { return ArrayNum == 0; }
	FORCEINLINE bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }

	FORCEINLINE ElementType& operator[](SizeType Index) const
	{
		check(IsValidIndex(Index));
		return DataPtr[Index];
	}

	FORCEINLINE ElementType* begin() const { return DataPtr; }
	FORCEINLINE ElementType* end() const { return DataPtr + ArrayNum; }

private:
	ElementType* DataPtr = nullptr;
	SizeType ArrayNum = 0;
};

template <typename ElementType, typename AllocatorType>
TArrayView<ElementType> MakeArrayView(TArray<ElementType, AllocatorType>& Other)
{
	return TArrayView<ElementType>(Other);
}

template <typename ElementType, typename AllocatorType>
TArrayView<const ElementType> MakeArrayView(const TArray<ElementType, AllocatorType>& Other)
{
	return TArrayView<const ElementType>(Other);
}

template <typename ElementType>
TArrayView<ElementType> MakeArrayView(ElementType* Pointer, int32 Size)
{
	return TArrayView<ElementType>(Pointer, Size);
}
