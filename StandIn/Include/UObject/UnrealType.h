// Properties (FProperty), iteration over a struct's fields, and property change events.
#pragma once

#include "Containers/ArrayView.h"
#include "UObject/Class.h"
#include "UObject/Field.h"
#include "UObject/UObjectGlobals.h"

/** A reflected member or function parameter: where it lives in its container, its C++ type and its flags. */
class COREUOBJECT_API FProperty : public FField
{
public:
	FProperty(UStruct* InOwner, const UECodeGen_Private::FPropertyParams& Params);

	int32 ArrayDim;
	int32 ElementSize;
	EPropertyFlags PropertyFlags;

	FORCEINLINE int32 GetSize() const { return ArrayDim * ElementSize; }
	FORCEINLINE int32 GetMinAlignment() const { return Alignment; }
	FORCEINLINE int32 GetOffset_ForInternal() const { return Offset_Internal; }
	FORCEINLINE int32 GetOffset_ForUFunction() const { return Offset_Internal; }
	FORCEINLINE int32 GetOffset_ForDebug() const { return Offset_Internal; }
	FORCEINLINE EPropertyFlags GetPropertyFlags() const { return PropertyFlags; }
	FORCEINLINE bool HasAnyPropertyFlags(EPropertyFlags FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) != 0; }
	FORCEINLINE bool HasAllPropertyFlags(EPropertyFlags FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) == FlagsToCheck; }
	bool IsInContainer(int32 ContainerSize) const { return Offset_Internal + GetSize() <= ContainerSize; }

	/** The C++ type; for templates the template name, with the arguments in ExtendedTypeText. */
	FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const;

	template<typename ValueType>
	FORCEINLINE ValueType* ContainerPtrToValuePtr(void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		check(Offset_Internal >= 0);
		return (ValueType*)((uint8*)ContainerPtr + Offset_Internal + ElementSize * ArrayIndex);
	}
	template<typename ValueType>
	FORCEINLINE const ValueType* ContainerPtrToValuePtr(const void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		check(Offset_Internal >= 0);
		return (const ValueType*)((const uint8*)ContainerPtr + Offset_Internal + ElementSize * ArrayIndex);
	}

	/** Copies this property's whole value from one container to another of the owner's type. */
	void CopyCompleteValue_InContainer(void* Dest, const void* Src) const;

	/** Constructs the property's value (every element of a fixed-size array) at Dest, a value address. */
	void InitializeValue(void* Dest) const;
	void InitializeValue_InContainer(void* Dest) const { InitializeValue(ContainerPtrToValuePtr<void>(Dest)); }
	/** Destroys the value at Dest, a value address. */
	void DestroyValue(void* Dest) const;
	void DestroyValue_InContainer(void* Dest) const { DestroyValue(ContainerPtrToValuePtr<void>(Dest)); }
	/** Assigns one element (CopySingleValue) or the whole value between two value addresses. */
	void CopySingleValue(void* Dest, const void* Src) const;
	void CopyCompleteValue(void* Dest, const void* Src) const;

	/** The related reflected type: the class of an object property, the struct of a struct property,
	 *  the enum of an enum property, the signature of a delegate property; otherwise null. */
	UObject* GetRelatedType() const;
	UClass* GetPropertyClass() const;
	UScriptStruct* GetStruct() const;
	UEnum* GetEnum() const;
	UFunction* GetSignatureFunction() const;
	UECodeGen_Private::EPropertyKind GetKind() const { return Kind; }

	/** Value of a bool property (plain or bit-field) in a container. */
	bool GetBoolValue_InContainer(const void* Container) const;
	void SetBoolValue_InContainer(void* Container, bool bValue) const;

private:
	int32 Offset_Internal;
	int32 Alignment;
	FString CppType;
	UECodeGen_Private::EPropertyKind Kind;
	UObject* (*RelatedTypeFunc)();
	UECodeGen_Private::FCopyValueFunc CopyFunc;
	UECodeGen_Private::FGetBoolFunc GetBoolFunc;
	UECodeGen_Private::FSetBoolFunc SetBoolFunc;
	const UECodeGen_Private::FStructOps* ValueOps;
};

/** A TArray property; Inner describes one element. */
class COREUOBJECT_API FArrayProperty : public FProperty
{
public:
	FArrayProperty(UStruct* InOwner, const UECodeGen_Private::FPropertyParams& Params);
	virtual ~FArrayProperty();

	FProperty* Inner;

private:
	friend class FScriptArrayHelper;
	const UECodeGen_Private::FStructOps* ArrayOps;
};

/** Reads and changes the array a TArray property describes, without knowing its element type. */
class COREUOBJECT_API FScriptArrayHelper
{
public:
	FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray);

	/** Number of elements. */
	int32 Num() const;
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	/** Address of an element. */
	uint8* GetRawPtr(int32 Index = 0);
	/** Adds one default element at the end; returns its index. */
	int32 AddValue();
	/** Adds Count default elements at the end; returns the index of the first. */
	int32 AddValues(int32 Count);
	/** Inserts Count default elements at Index. */
	void InsertValues(int32 Index, int32 Count = 1);
	/** Removes Count elements from Index. */
	void RemoveValues(int32 Index, int32 Count = 1);
	/** Removes every element. */
	void EmptyValues(int32 Slack = 0);

private:
	const UECodeGen_Private::FStructOps* Ops;
	void* Array;
};

/** Whether field iteration includes fields of super structs. */
namespace EFieldIteratorFlags
{
	enum SuperClassFlags
	{
		ExcludeSuper = 0,
		IncludeSuper
	};
	enum DeprecatedPropertyFlags
	{
		ExcludeDeprecated = 0,
		IncludeDeprecated
	};
	enum InterfaceClassFlags
	{
		ExcludeInterfaces = 0,
		IncludeInterfaces
	};
}

namespace StandInFieldIteration
{
	template<typename T> struct TFieldKind;
	template<> struct TFieldKind<FProperty> { static constexpr bool bProperty = true; };
	template<> struct TFieldKind<FField> { static constexpr bool bProperty = true; };
	template<> struct TFieldKind<UFunction> { static constexpr bool bProperty = false; };
	template<> struct TFieldKind<UField> { static constexpr bool bProperty = false; };
}

/** Iterates the properties (FProperty) or functions (UFunction) of a struct in declaration order,
 *  then those of its super structs. */
template<class T>
class TFieldIterator
{
public:
	TFieldIterator(const UStruct* InStruct,
		EFieldIteratorFlags::SuperClassFlags InSuperClassFlags = EFieldIteratorFlags::IncludeSuper,
		EFieldIteratorFlags::DeprecatedPropertyFlags InDeprecatedFieldFlags = EFieldIteratorFlags::IncludeDeprecated,
		EFieldIteratorFlags::InterfaceClassFlags InInterfaceFieldFlags = EFieldIteratorFlags::IncludeInterfaces)
		: Struct(InStruct)
		, Field(nullptr)
		, bIncludeSuper(InSuperClassFlags == EFieldIteratorFlags::IncludeSuper)
	{
		(void)InDeprecatedFieldFlags;
		(void)InInterfaceFieldFlags;
		Field = First(Struct);
		SkipToValid();
	}

	FORCEINLINE explicit operator bool() const { return Field != nullptr; }
	FORCEINLINE bool operator!() const { return Field == nullptr; }
	FORCEINLINE bool operator==(const TFieldIterator& Rhs) const { return Field == Rhs.Field; }
	FORCEINLINE bool operator!=(const TFieldIterator& Rhs) const { return Field != Rhs.Field; }

	FORCEINLINE void operator++()
	{
		Advance();
		SkipToValid();
	}
	FORCEINLINE T* operator*() const { return (T*)Field; }
	FORCEINLINE T* operator->() const { return (T*)Field; }
	FORCEINLINE const UStruct* GetStruct() const { return Struct; }

private:
	static const void* First(const UStruct* S)
	{
		if (!S)
		{
			return nullptr;
		}
		if constexpr (StandInFieldIteration::TFieldKind<T>::bProperty)
		{
			return S->ChildProperties;
		}
		else
		{
			return S->Children;
		}
	}

	void Advance()
	{
		if constexpr (StandInFieldIteration::TFieldKind<T>::bProperty)
		{
			Field = ((const FField*)Field)->Next;
		}
		else
		{
			Field = ((const UField*)Field)->Next;
		}
	}

	void SkipToValid()
	{
		while (!Field && Struct && bIncludeSuper)
		{
			Struct = Struct->GetSuperStruct();
			Field = First(Struct);
		}
	}

	const UStruct* Struct;
	const void* Field;
	bool bIncludeSuper;
};

template<typename T>
struct TFieldRange
{
	TFieldRange(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags = EFieldIteratorFlags::IncludeSuper)
		: Begin(InStruct, InSuperClassFlags)
	{
	}
	friend TFieldIterator<T> begin(const TFieldRange& Range) { return Range.Begin; }
	friend TFieldIterator<T> end(const TFieldRange&) { return TFieldIterator<T>(nullptr); }
	TFieldIterator<T> Begin;
};

/** How a property was changed in the editor. */
namespace EPropertyChangeType
{
	typedef uint32 Type;
	const Type Unspecified = 1 << 0;
	const Type ArrayAdd = 1 << 1;
	const Type ArrayRemove = 1 << 2;
	const Type ArrayClear = 1 << 3;
	const Type ValueSet = 1 << 4;
	const Type Duplicate = 1 << 5;
	const Type Interactive = 1 << 6;
	const Type Redirected = 1 << 7;
	const Type ArrayMove = 1 << 8;
	const Type ToggleEditable = 1 << 9;
}

/** What changed in an edit: the property, the outermost member property containing it, and how. */
struct FPropertyChangedEvent
{
	explicit FPropertyChangedEvent(FProperty* InProperty, EPropertyChangeType::Type InChangeType = EPropertyChangeType::Unspecified)
		: Property(InProperty)
		, MemberProperty(InProperty)
		, ChangeType(InChangeType)
		, ObjectIteratorIndex(INDEX_NONE)
	{
	}

	void SetActiveMemberProperty(FProperty* InActiveMemberProperty) { MemberProperty = InActiveMemberProperty; }
	FName GetPropertyName() const { return Property ? Property->GetFName() : NAME_None; }
	FName GetMemberPropertyName() const { return MemberProperty ? MemberProperty->GetFName() : NAME_None; }
	int32 GetNumObjectsBeingEdited() const { return 1; }

	/** For each edited object, the array index of each array property (by name) on the path to the change. */
	void SetArrayIndexPerObject(TArrayView<const TMap<FString, int32>> InArrayIndices) { ArrayIndicesPerObject = InArrayIndices; }

	/** The index of the changed element in the array property named InName, for the object of
	 *  ObjectIteratorIndex; INDEX_NONE when no index was recorded. */
	int32 GetArrayIndex(const FString& InName) const
	{
		if (ArrayIndicesPerObject.IsValidIndex(ObjectIteratorIndex))
		{
			if (const int32* Index = ArrayIndicesPerObject[ObjectIteratorIndex].Find(InName))
			{
				return *Index;
			}
		}
		return INDEX_NONE;
	}

	FProperty* Property;
	FProperty* MemberProperty;
	EPropertyChangeType::Type ChangeType;
	int32 ObjectIteratorIndex;

private:
	TArrayView<const TMap<FString, int32>> ArrayIndicesPerObject;
};

/** The chain of properties from the edited object to the changed property, outermost first. */
class FEditPropertyChain
{
public:
	void AddHead(FProperty* InNode) { Nodes.Insert(InNode, 0); }
	void AddTail(FProperty* InNode) { Nodes.Add(InNode); }
	int32 Num() const { return Nodes.Num(); }

private:
	TArray<FProperty*> Nodes;
};

struct FPropertyChangedChainEvent : public FPropertyChangedEvent
{
	FPropertyChangedChainEvent(FEditPropertyChain& InPropertyChain, const FPropertyChangedEvent& SrcChangeEvent)
		: FPropertyChangedEvent(SrcChangeEvent)
		, PropertyChain(InPropertyChain)
	{
	}

	FEditPropertyChain& PropertyChain;
};
