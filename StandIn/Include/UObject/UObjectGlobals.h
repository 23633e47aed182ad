// Object creation (NewObject, class default objects), lookup by name, and the registration entry
// points the header tool's generated code calls.
#pragma once

#include <new>

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ReflectedTypeAccessors.h"
#include "UObject/Script.h"

class UObject;
class UClass;
class UPackage;
class UFunction;
class UEnum;
class UScriptStruct;
class FObjectInstancingGraph;
template <typename InElementType, typename InAllocatorType> class TArray;

/** The package objects are created in when no outer is given. */
COREUOBJECT_API UPackage* GetTransientPackage();
COREUOBJECT_API UObject* GetTransientPackageAsObject();

/** What an object under construction is made from; passed to every UObject constructor. */
class COREUOBJECT_API FObjectInitializer
{
public:
	FObjectInitializer();
	FObjectInitializer(UObject* InObj, UObject* InObjectArchetype, bool bInCopyTransientsFromClassDefaults = false);
	~FObjectInitializer();

	FObjectInitializer(const FObjectInitializer&) = delete;
	FObjectInitializer& operator=(const FObjectInitializer&) = delete;

	FORCEINLINE UObject* GetObj() const { return Obj; }
	FORCEINLINE UObject* GetArchetype() const { return ObjectArchetype; }
	UClass* GetClass() const;

	/** Creates a sub-object of Outer while Outer is being constructed. */
	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(UObject* Outer, FName SubobjectName, bool bTransient = false) const
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(Outer, SubobjectName, TReturnType::StaticClass(), TReturnType::StaticClass(), true, bTransient));
	}
	UObject* CreateDefaultSubobject(UObject* Outer, FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient) const;

	/** The initializer of the object currently under construction on this thread. */
	static FObjectInitializer& Get();

private:
	friend COREUOBJECT_API UObject* StaticConstructObject_Internal(const struct FStaticConstructObjectParameters& Params);

	UObject* Obj;
	UObject* ObjectArchetype;
	bool bCopyTransientsFromClassDefaults;
	FObjectInitializer* PreviousInitializer;
};

/** Everything NewObject passes to the object system. */
struct FStaticConstructObjectParameters
{
	const UClass* Class;
	UObject* Outer;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;
	EInternalObjectFlags InternalSetFlags = EInternalObjectFlags::None;
	bool bCopyTransientsFromClassDefaults = false;
	bool bAssumeTemplateIsArchetype = false;
	UObject* Template = nullptr;
	FObjectInstancingGraph* InstanceGraph = nullptr;
	UPackage* ExternalPackage = nullptr;

	COREUOBJECT_API explicit FStaticConstructObjectParameters(const UClass* InClass);
};

/** Allocates, registers and constructs an object as Params describe. */
COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);

/** A name of the form ClassName_N that no object in Outer uses yet. */
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);

template<class T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr, UPackage* ExternalPackage = nullptr)
{
	checkf(Class, TEXT("NewObject called with a nullptr class object"));
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	Params.Template = Template;
	Params.bCopyTransientsFromClassDefaults = bCopyTransientsFromClassDefaults;
	Params.InstanceGraph = InInstanceGraph;
	Params.ExternalPackage = ExternalPackage;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template<class T>
T* NewObject(UObject* Outer = GetTransientPackageAsObject())
{
	FStaticConstructObjectParameters Params(T::StaticClass());
	Params.Outer = Outer;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template<class T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr)
{
	FStaticConstructObjectParameters Params(T::StaticClass());
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	Params.Template = Template;
	Params.bCopyTransientsFromClassDefaults = bCopyTransientsFromClassDefaults;
	Params.InstanceGraph = InInstanceGraph;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

/** The class default object of T, for changing defaults. */
template<class T>
inline T* GetMutableDefault()
{
	return (T*)T::StaticClass()->GetDefaultObject();
}

template<class T>
inline const T* GetDefault()
{
	return (const T*)T::StaticClass()->GetDefaultObject();
}

/** Finds an object by name inside InOuter, or by path ("/Script/Package.Name") when InOuter is null. */
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass = false);

template<class T>
inline T* FindObject(UObject* Outer, const TCHAR* Name, bool ExactClass = false)
{
	return (T*)StaticFindObject(T::StaticClass(), Outer, Name, ExactClass);
}

enum class EFindFirstObjectOptions
{
	None = 0,
	ExactClass = 1 << 1,
	NativeFirst = 1 << 2,
	EnsureIfAmbiguous = 1 << 3
};

/** Finds the first object of class T named Name (a short name or a path) in any package. */
COREUOBJECT_API UObject* StaticFindFirstObject(UClass* Class, const TCHAR* Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None);

template<class T>
inline T* FindFirstObject(const TCHAR* Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None)
{
	return (T*)StaticFindFirstObject(T::StaticClass(), Name, Options);
}

/** Registration of the header tool's output. The layouts are the stand-in's own. */
namespace UECodeGen_Private
{
	struct FMetaDataPairParam
	{
		const TCHAR* NameUTF8;
		const TCHAR* ValueUTF8;
	};

	enum class EPropertyKind : uint8
	{
		Bool, BitfieldBool, Int8, Int16, Int, Int64, Byte, UInt16, UInt32, UInt64, Float, Double,
		Str, Name, Text, Enum, Struct, Object, WeakObject, SoftObject, SoftClass, Class, Array, Map, Set,
		Delegate, MulticastDelegate, Pointer, Other
	};

	template<typename T>
	struct TIsReflectedArray
	{
		static constexpr bool Value = false;
	};

	template<typename ElementType, typename AllocatorType>
	struct TIsReflectedArray<TArray<ElementType, AllocatorType>>
	{
		static constexpr bool Value = true;
	};

	/**
	 * Construction, destruction and assignment of one value of a type (a structure's, or a property's), and
	 * for a TArray the element operations a script array helper needs (null for other types).
	 */
	struct FStructOps
	{
		void (*Construct)(void* Dest);
		void (*Destruct)(void* Dest);
		void (*Copy)(void* Dest, const void* Src);
		int32 (*ArrayNum)(const void* Array);
		void* (*ArrayElement)(void* Array, int32 Index);
		void (*ArrayInsertDefaulted)(void* Array, int32 Index, int32 Count);
		void (*ArrayRemoveAt)(void* Array, int32 Index, int32 Count);
	};

	template<typename T>
	const FStructOps* MakeStructOps()
	{
		if constexpr (TIsReflectedArray<T>::Value)
		{
			static const FStructOps Ops = {
				[](void* Dest) { new (Dest) T(); },
				[](void* Dest) { static_cast<T*>(Dest)->~T(); },
				[](void* Dest, const void* Src) { *static_cast<T*>(Dest) = *static_cast<const T*>(Src); },
				[](const void* Array) -> int32 { return static_cast<const T*>(Array)->Num(); },
				[](void* Array, int32 Index) -> void* { return &(*static_cast<T*>(Array))[Index]; },
				[](void* Array, int32 Index, int32 Count) { static_cast<T*>(Array)->InsertDefaulted(Index, Count); },
				[](void* Array, int32 Index, int32 Count) { static_cast<T*>(Array)->RemoveAt(Index, Count); },
			};
			return &Ops;
		}
		else
		{
			static const FStructOps Ops = {
				[](void* Dest) { new (Dest) T(); },
				[](void* Dest) { static_cast<T*>(Dest)->~T(); },
				[](void* Dest, const void* Src) { *static_cast<T*>(Dest) = *static_cast<const T*>(Src); },
				nullptr,
				nullptr,
				nullptr,
				nullptr,
			};
			return &Ops;
		}
	}

	typedef void (*FCopyValueFunc)(void* DestContainer, const void* SrcContainer);
	typedef bool (*FGetBoolFunc)(const void* Container);
	typedef void (*FSetBoolFunc)(void* Container, bool Value);

	struct FPropertyParams
	{
		const TCHAR* NameUTF8;
		EPropertyFlags PropertyFlags;
		const TCHAR* CppType;
		EPropertyKind Kind;
		int32 Offset;
		int32 ElementSize;
		int32 Alignment;
		UObject* (*RelatedTypeFunc)();
		FCopyValueFunc CopyFunc;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
		FGetBoolFunc GetBoolFunc;
		FSetBoolFunc SetBoolFunc;
		int32 ArrayDim;
		/** One value of the property's type (one element of a fixed-size array); none for bit-field bools. */
		const FStructOps* ValueOps;
		/** The element of an array property. */
		const FPropertyParams* InnerParams;
	};

	struct FFunctionParams
	{
		UObject* (*OuterFunc)();
		UFunction* (*SuperFunc)();
		const TCHAR* NameUTF8;
		EFunctionFlags FunctionFlags;
		FNativeFuncPtr NativeFunc;
		const FPropertyParams* PropertyArray;
		int32 NumProperties;
		uint16 StructureSize;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FImplementedInterfaceParams
	{
		UClass* (*ClassFunc)();
		int32 Offset;
	};

	struct FClassParams
	{
		UClass* (*SuperClassFunc)();
		UClass* (*WithinClassFunc)();
		UObject* (*OuterFunc)();
		const TCHAR* NameUTF8;
		EClassFlags ClassFlags;
		const TCHAR* ClassConfigNameUTF8;
		int32 PropertiesSize;
		int32 MinAlignment;
		void (*ClassConstructor)(const FObjectInitializer&);
		UFunction* (*const* FunctionLinkArray)();
		int32 NumFunctions;
		const FPropertyParams* PropertyArray;
		int32 NumProperties;
		const FImplementedInterfaceParams* ImplementedInterfaceArray;
		int32 NumImplementedInterfaces;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FEnumeratorParam
	{
		const TCHAR* NameUTF8;
		int64 Value;
	};

	struct FStructParams
	{
		UObject* (*OuterFunc)();
		UScriptStruct* (*SuperFunc)();
		const TCHAR* NameUTF8;
		int32 SizeOf;
		int32 AlignOf;
		const FStructOps* StructOps;
		const FPropertyParams* PropertyArray;
		int32 NumProperties;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FEnumParams
	{
		UObject* (*OuterFunc)();
		const TCHAR* NameUTF8;
		const TCHAR* CppTypeUTF8;
		const FEnumeratorParam* EnumeratorParams;
		int32 NumEnumerators;
		uint8 CppForm;
		bool bIsFlags;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	/** Copies one member from a source container to a destination container of the same type. */
	template<typename OwnerType, auto Member>
	void CopyMember(void* DestContainer, const void* SrcContainer)
	{
		static_cast<OwnerType*>(DestContainer)->*Member = static_cast<const OwnerType*>(SrcContainer)->*Member;
	}

	/** The reflected structure of T when T is one (has a StaticStruct), else null. */
	template<typename T>
	UScriptStruct* StructOrNull()
	{
		if constexpr (requires { T::StaticStruct(); })
		{
			return T::StaticStruct();
		}
		else
		{
			return nullptr;
		}
	}

	COREUOBJECT_API UPackage* FindOrCreatePackage(const TCHAR* PackageName);
	COREUOBJECT_API UClass* ConstructUClass(const FClassParams& Params);
	COREUOBJECT_API UFunction* ConstructUFunction(const FFunctionParams& Params);
	COREUOBJECT_API UEnum* ConstructUEnum(const FEnumParams& Params);
	COREUOBJECT_API UScriptStruct* ConstructUScriptStruct(const FStructParams& Params);

	/** A module's deferred registration: linked at load time, run before the object system answers
	 *  queries about all objects, so types are known once their module is loaded. */
	struct COREUOBJECT_API FCompiledInRegistration
	{
		explicit FCompiledInRegistration(void (*InRegister)());
		void (*Register)();
		FCompiledInRegistration* Next;
	};
}
