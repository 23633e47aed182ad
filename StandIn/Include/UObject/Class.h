// The reflection types: UField, UStruct, UClass, UScriptStruct, UFunction and UEnum.
#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "Internationalization/Text.h"
#include "Templates/Tuple.h"
#include "UObject/Field.h"
#include "UObject/Object.h"
#include "UObject/Script.h"

class FProperty;
class UFunction;
struct FFrame;

/** Base of the reflected types that are objects: functions, structs, classes and enums. */
class COREUOBJECT_API UField : public UObject
{
	DECLARE_CLASS(UField, UObject, CLASS_Abstract | CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UField)

public:
	UField() = default;

	/** The class this field belongs to: itself for a class, the owning class for a function. */
	UClass* GetOwnerClass() const;
	UStruct* GetOwnerStruct() const;

	bool HasMetaData(const TCHAR* Key) const;
	bool HasMetaData(const FName& Key) const;
	/** The metadata value for Key, or an empty string. */
	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	const FString* FindMetaData(const TCHAR* Key) const;
	const FString* FindMetaData(const FName& Key) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, const TCHAR* InValue);
	void RemoveMetaData(const TCHAR* Key);
	bool GetBoolMetaData(const TCHAR* Key) const;
	bool GetBoolMetaData(const FName& Key) const;
	/** The DisplayName metadata, or the field's name. */
	FText GetDisplayNameText() const;
	/** The ToolTip metadata, or the field's name; the short form is its first line. */
	FText GetToolTipText(bool bShortTooltip = false) const;

	/** The next field of the same owner. */
	UField* Next = nullptr;

private:
	TMap<FName, FString> MetaDataMap;
};

/** A type with properties: the base of functions, script structs and classes. */
class COREUOBJECT_API UStruct : public UField
{
	DECLARE_CLASS(UStruct, UField, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UStruct)

public:
	UStruct() = default;
	virtual ~UStruct();

	FORCEINLINE UStruct* GetSuperStruct() const { return SuperStruct; }
	void SetSuperStruct(UStruct* NewSuperStruct);
	/** True if this is SomeBase or derives from it. */
	bool IsChildOf(const UStruct* SomeBase) const;
	template<class T>
	bool IsChildOf() const
	{
		return IsChildOf(T::StaticClass());
	}

	FORCEINLINE int32 GetPropertiesSize() const { return PropertiesSize; }
	FORCEINLINE int32 GetMinAlignment() const { return MinAlignment; }
	FORCEINLINE int32 GetStructureSize() const { return PropertiesSize; }

	/** A property of this struct or its super structs, by name. */
	FProperty* FindPropertyByName(FName InName) const;

	/** Functions declared by this struct, in declaration order. */
	UField* Children = nullptr;
	/** Properties declared by this struct (not its super structs), in declaration order. */
	FField* ChildProperties = nullptr;

	UStruct* SuperStruct = nullptr;
	int32 PropertiesSize = 0;
	int32 MinAlignment = 1;
};

/** A reflected structure (USTRUCT). */
class COREUOBJECT_API UScriptStruct : public UStruct
{
	DECLARE_CLASS(UScriptStruct, UStruct, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UScriptStruct)

public:
	UScriptStruct() = default;

	/** Constructs ArrayDim default values at Dest. */
	void InitializeStruct(void* Dest, int32 ArrayDim = 1) const;
	void DestroyStruct(void* Dest, int32 ArrayDim = 1) const;
	/** Assigns ArrayDim values from Src to Dest. */
	void CopyScriptStruct(void* Dest, const void* Src, int32 ArrayDim = 1) const;

	UScriptStruct* GetSuperStruct() const { return (UScriptStruct*)UStruct::GetSuperStruct(); }

	const void* StructOps = nullptr;
};

/** A reflected function (UFUNCTION), with its parameters as properties. */
class COREUOBJECT_API UFunction : public UStruct
{
	DECLARE_CLASS(UFunction, UStruct, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UFunction)

public:
	UFunction() = default;

	EFunctionFlags FunctionFlags = FUNC_None;
	uint8 NumParms = 0;
	/** Bytes of the parameter block: end of the last parameter. */
	uint16 ParmsSize = 0;
	/** Offset of the return value in the parameter block, or MAX_uint16 without one. */
	uint16 ReturnValueOffset = 0xFFFF;

	FORCEINLINE bool HasAnyFunctionFlags(EFunctionFlags FlagsToCheck) const { return (FunctionFlags & FlagsToCheck) != 0; }
	FORCEINLINE bool HasAllFunctionFlags(EFunctionFlags FlagsToCheck) const { return (FunctionFlags & FlagsToCheck) == FlagsToCheck; }
	FORCEINLINE FNativeFuncPtr GetNativeFunc() const { return Func; }
	FORCEINLINE void SetNativeFunc(FNativeFuncPtr InFunc) { Func = InFunc; }
	/** The ReturnValue property, or null for a function without a result. */
	FProperty* GetReturnProperty() const;
	UFunction* GetSuperFunction() const { return (UFunction*)GetSuperStruct(); }
	/** Runs the native implementation with Stack's parameter block. */
	void Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL);

private:
	FNativeFuncPtr Func = nullptr;
};

/** One interface a class implements and where its native part sits in an instance. */
struct FImplementedInterface
{
	UClass* Class;
	int32 PointerOffset;
	bool bImplementedByK2;
};

/** A reflected class (UCLASS). */
class COREUOBJECT_API UClass : public UStruct
{
	DECLARE_CLASS(UClass, UStruct, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UClass)

public:
	typedef void (*ClassConstructorType)(const FObjectInitializer&);

	UClass() = default;

	ClassConstructorType ClassConstructor = nullptr;
	EClassFlags ClassFlags = CLASS_None;
	UClass* ClassWithin = nullptr;
	FName ClassConfigName;
	TArray<FImplementedInterface> Interfaces;

	FORCEINLINE UClass* GetSuperClass() const { return (UClass*)GetSuperStruct(); }
	FORCEINLINE bool HasAnyClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) != 0; }
	FORCEINLINE bool HasAllClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) == FlagsToCheck; }
	FORCEINLINE EClassFlags GetClassFlags() const { return ClassFlags; }

	/** The class default object, created on first request (with its super classes' first). */
	UObject* GetDefaultObject(bool bCreateIfNeeded = true) const;
	template<class T>
	T* GetDefaultObject() const
	{
		return (T*)GetDefaultObject();
	}
	FName GetDefaultObjectName() const;

	UFunction* FindFunctionByName(FName InName, EIncludeSuperFlag::Type IncludeSuper = EIncludeSuperFlag::IncludeSuper) const;
	bool ImplementsInterface(const UClass* SomeInterface) const;

	/** Adds a function to the lookup table (registration). */
	void AddFunctionToFunctionMap(UFunction* Function, FName FuncName);

	/** The object the class default object was (for the object system's bookkeeping). */
	UObject* ClassDefaultObject = nullptr;

private:
	TMap<FName, UFunction*> FuncMap;
};

/** A reflected enumeration (UENUM). Entry names are "Enum::Entry" for enum classes. */
class COREUOBJECT_API UEnum : public UField
{
	DECLARE_CLASS(UEnum, UField, CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UEnum)

public:
	enum class ECppForm : uint8
	{
		Regular,
		Namespaced,
		EnumClass
	};

	UEnum() = default;

	/** Number of entries, including the generated _MAX entry. */
	FORCEINLINE int32 NumEnums() const { return Names.Num(); }
	FName GetNameByIndex(int32 Index) const;
	/** The entry's name without the "Enum::" qualifier. */
	FString GetNameStringByIndex(int32 Index) const;
	/** The entry's name as written in C++. */
	FString GetAuthoredNameStringByIndex(int32 Index) const;
	/** The DisplayName metadata of the entry, or its name. */
	FText GetDisplayNameTextByIndex(int32 Index) const;
	int64 GetValueByIndex(int32 Index) const;
	int32 GetIndexByValue(int64 InValue) const;
	FName GetNameByValue(int64 InValue) const;
	FString GetNameStringByValue(int64 InValue) const;
	FText GetDisplayNameTextByValue(int64 InValue) const;
	FString GetAuthoredNameStringByValue(int64 InValue) const;
	/** Index of an entry by its full or short name, or INDEX_NONE. */
	int32 GetIndexByName(FName InName) const;
	int32 GetIndexByNameString(const FString& SearchString) const;
	int64 GetValueByName(FName InName) const;
	int64 GetValueByNameString(const FString& SearchString) const;
	int64 GetMaxEnumValue() const;
	bool IsValidEnumValue(int64 InValue) const;
	bool IsValidEnumName(FName InName) const;
	FORCEINLINE ECppForm GetCppForm() const { return CppForm; }
	FORCEINLINE const FString& CppType_Get() const { return CppType; }

	/** Metadata of the enum (NameIndex INDEX_NONE) or of one entry. */
	FString GetMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE, bool bAllowRemap = true) const;
	bool HasMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex = INDEX_NONE);

	/** Sets the entries; appends the _MAX entry when bAddMaxKeyIfMissing is set. */
	virtual bool SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, uint32 InFlags = 0, bool bAddMaxKeyIfMissing = true);

	/** The name of an enumerator value, e.g. "EMyEnum::First". */
	template<typename T>
	static FString GetValueAsString(const T EnumeratorValue)
	{
		return StaticEnum<T>()->GetNameByValue((int64)EnumeratorValue).ToString();
	}
	template<typename T>
	static FText GetDisplayValueAsText(const T EnumeratorValue)
	{
		return StaticEnum<T>()->GetDisplayNameTextByValue((int64)EnumeratorValue);
	}

	FString CppType;

protected:
	TArray<TPair<FName, int64>> Names;
	ECppForm CppForm = ECppForm::Regular;
};
