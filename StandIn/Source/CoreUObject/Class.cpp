// Reflection types (UField, UStruct, UClass, UFunction, UScriptStruct, UEnum, FField, FProperty) and
// the construction of them from the header tool's registration records.
#include <cstring>
#include <cwctype>
#include <vector>

#include "UObject/Class.h"
#include "UObject/Interface.h"
#include "UObject/Package.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/Stack.h"
#include "UObject/UnrealType.h"
#include "UObjectArrayPrivate.h"

using namespace CoreUObjectPrivate;

namespace
{
	const FString& EmptyString()
	{
		static const FString* Empty = new FString();
		return *Empty;
	}

	bool IsTrueString(const FString& Value)
	{
		return Value.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Value.Equals(TEXT("1"));
	}
}

// -- FField ---------------------------------------------------------------------------------------

FFieldClass::FFieldClass(const TCHAR* InCPPName)
	: Name(InCPPName)
{
}

FField::FField(UStruct* InOwner, FName InName)
	: Next(nullptr)
	, ClassPrivate(nullptr)
	, Owner(InOwner)
	, NamePrivate(InName)
{
}

FField::~FField() = default;

UClass* FField::GetOwnerClass() const
{
	return Owner ? (Owner->IsA(UClass::StaticClass()) ? (UClass*)Owner : Owner->GetOwnerClass()) : nullptr;
}

bool FField::HasMetaData(const TCHAR* Key) const { return FindMetaData(Key) != nullptr; }
bool FField::HasMetaData(const FName& Key) const { return FindMetaData(Key) != nullptr; }
const FString* FField::FindMetaData(const TCHAR* Key) const { return FindMetaData(FName(Key, FNAME_Find)); }
const FString* FField::FindMetaData(const FName& Key) const { return Key.IsNone() ? nullptr : MetaDataMap.Find(Key); }

const FString& FField::GetMetaData(const TCHAR* Key) const
{
	const FString* Value = FindMetaData(Key);
	return Value ? *Value : EmptyString();
}

const FString& FField::GetMetaData(const FName& Key) const
{
	const FString* Value = FindMetaData(Key);
	return Value ? *Value : EmptyString();
}

void FField::SetMetaData(const TCHAR* Key, const TCHAR* InValue) { MetaDataMap.Add(FName(Key), FString(InValue)); }
void FField::SetMetaData(const FName& Key, FString&& InValue) { MetaDataMap.Add(Key, MoveTemp(InValue)); }
bool FField::GetBoolMetaData(const TCHAR* Key) const { return IsTrueString(GetMetaData(Key)); }

// -- FProperty ------------------------------------------------------------------------------------

static FFieldClass* FieldClassOf(UECodeGen_Private::EPropertyKind Kind)
{
	using UECodeGen_Private::EPropertyKind;
	static const TCHAR* const Names[] = {
		TEXT("BoolProperty"), TEXT("BoolProperty"), TEXT("Int8Property"), TEXT("Int16Property"), TEXT("IntProperty"),
		TEXT("Int64Property"), TEXT("ByteProperty"), TEXT("UInt16Property"), TEXT("UInt32Property"), TEXT("UInt64Property"),
		TEXT("FloatProperty"), TEXT("DoubleProperty"), TEXT("StrProperty"), TEXT("NameProperty"), TEXT("TextProperty"),
		TEXT("EnumProperty"), TEXT("StructProperty"), TEXT("ObjectProperty"), TEXT("WeakObjectProperty"),
		TEXT("SoftObjectProperty"), TEXT("SoftClassProperty"), TEXT("ClassProperty"), TEXT("ArrayProperty"),
		TEXT("MapProperty"), TEXT("SetProperty"), TEXT("DelegateProperty"), TEXT("MulticastInlineDelegateProperty"),
		TEXT("Property"), TEXT("Property"),
	};
	static FFieldClass* Classes[UE_ARRAY_COUNT(Names)] = {};
	const int32 Index = (int32)Kind;
	if (!Classes[Index])
	{
		Classes[Index] = new FFieldClass(Names[Index]);
	}
	return Classes[Index];
}

FProperty::FProperty(UStruct* InOwner, const UECodeGen_Private::FPropertyParams& Params)
	: FField(InOwner, FName(Params.NameUTF8))
	, ArrayDim(Params.ArrayDim)
	, ElementSize(Params.ElementSize)
	, PropertyFlags(Params.PropertyFlags)
	, Offset_Internal(Params.Offset)
	, Alignment(Params.Alignment)
	, CppType(Params.CppType)
	, Kind(Params.Kind)
	, RelatedTypeFunc(Params.RelatedTypeFunc)
	, CopyFunc(Params.CopyFunc)
	, GetBoolFunc(Params.GetBoolFunc)
	, SetBoolFunc(Params.SetBoolFunc)
	, ValueOps(Params.ValueOps)
{
	ClassPrivate = FieldClassOf(Kind);
	for (int32 Index = 0; Index < Params.NumMetaData; ++Index)
	{
		SetMetaData(Params.MetaDataArray[Index].NameUTF8, Params.MetaDataArray[Index].ValueUTF8);
	}
}

FString FProperty::GetCPPType(FString* ExtendedTypeText, uint32) const
{
	int32 Open = INDEX_NONE;
	if (CppType.FindChar(TEXT('<'), Open))
	{
		if (ExtendedTypeText)
		{
			*ExtendedTypeText = CppType.Mid(Open);
		}
		return CppType.Left(Open);
	}
	return CppType;
}

void FProperty::CopyCompleteValue_InContainer(void* Dest, const void* Src) const
{
	if (CopyFunc)
	{
		CopyFunc(Dest, Src);
	}
	else if (Offset_Internal >= 0)
	{
		std::memcpy((uint8*)Dest + Offset_Internal, (const uint8*)Src + Offset_Internal, (size_t)GetSize());
	}
}

void FProperty::InitializeValue(void* Dest) const
{
	if (Kind == UECodeGen_Private::EPropertyKind::BitfieldBool)
	{
		return;
	}
	checkf(ValueOps, TEXT("Property %s has no value operations"), *GetName());
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		ValueOps->Construct((uint8*)Dest + Index * ElementSize);
	}
}

void FProperty::DestroyValue(void* Dest) const
{
	if (Kind == UECodeGen_Private::EPropertyKind::BitfieldBool)
	{
		return;
	}
	checkf(ValueOps, TEXT("Property %s has no value operations"), *GetName());
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		ValueOps->Destruct((uint8*)Dest + Index * ElementSize);
	}
}

void FProperty::CopySingleValue(void* Dest, const void* Src) const
{
	if (Dest == Src)
	{
		return;
	}
	checkf(ValueOps, TEXT("Property %s has no value operations"), *GetName());
	ValueOps->Copy(Dest, Src);
}

void FProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	if (Dest == Src)
	{
		return;
	}
	checkf(ValueOps, TEXT("Property %s has no value operations"), *GetName());
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		ValueOps->Copy((uint8*)Dest + Index * ElementSize, (const uint8*)Src + Index * ElementSize);
	}
}

FArrayProperty::FArrayProperty(UStruct* InOwner, const UECodeGen_Private::FPropertyParams& Params)
	: FProperty(InOwner, Params)
	, Inner(nullptr)
	, ArrayOps(Params.ValueOps)
{
	checkf(Params.InnerParams, TEXT("Array property %s has no element record"), *GetName());
	checkf(ArrayOps && ArrayOps->ArrayNum, TEXT("Array property %s has no array operations"), *GetName());
	Inner = new FProperty(InOwner, *Params.InnerParams);
}

FArrayProperty::~FArrayProperty()
{
	delete Inner;
}

FScriptArrayHelper::FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray)
	: Ops(InProperty->ArrayOps)
	, Array(const_cast<void*>(InArray))
{
	check(Ops && Array);
}

int32 FScriptArrayHelper::Num() const
{
	return Ops->ArrayNum(Array);
}

uint8* FScriptArrayHelper::GetRawPtr(int32 Index)
{
	if (Num() == 0)
	{
		return nullptr;
	}
	checkf(IsValidIndex(Index), TEXT("Array index %d out of bounds (%d elements)"), Index, Num());
	return static_cast<uint8*>(Ops->ArrayElement(Array, Index));
}

int32 FScriptArrayHelper::AddValue()
{
	return AddValues(1);
}

int32 FScriptArrayHelper::AddValues(int32 Count)
{
	const int32 First = Num();
	Ops->ArrayInsertDefaulted(Array, First, Count);
	return First;
}

void FScriptArrayHelper::InsertValues(int32 Index, int32 Count)
{
	check(Index >= 0 && Index <= Num());
	Ops->ArrayInsertDefaulted(Array, Index, Count);
}

void FScriptArrayHelper::RemoveValues(int32 Index, int32 Count)
{
	check(Index >= 0 && Count >= 0 && Index + Count <= Num());
	Ops->ArrayRemoveAt(Array, Index, Count);
}

void FScriptArrayHelper::EmptyValues(int32)
{
	Ops->ArrayRemoveAt(Array, 0, Num());
}

UObject* FProperty::GetRelatedType() const { return RelatedTypeFunc ? RelatedTypeFunc() : nullptr; }

UClass* FProperty::GetPropertyClass() const
{
	UObject* Related = GetRelatedType();
	return Related && Related->IsA(UClass::StaticClass()) ? (UClass*)Related : nullptr;
}

UScriptStruct* FProperty::GetStruct() const
{
	UObject* Related = GetRelatedType();
	return Related && Related->IsA(UScriptStruct::StaticClass()) ? (UScriptStruct*)Related : nullptr;
}

UEnum* FProperty::GetEnum() const
{
	UObject* Related = GetRelatedType();
	return Related && Related->IsA(UEnum::StaticClass()) ? (UEnum*)Related : nullptr;
}

UFunction* FProperty::GetSignatureFunction() const
{
	UObject* Related = GetRelatedType();
	return Related && Related->IsA(UFunction::StaticClass()) ? (UFunction*)Related : nullptr;
}

bool FProperty::GetBoolValue_InContainer(const void* Container) const
{
	if (GetBoolFunc)
	{
		return GetBoolFunc(Container);
	}
	return *ContainerPtrToValuePtr<bool>(Container);
}

void FProperty::SetBoolValue_InContainer(void* Container, bool bValue) const
{
	if (SetBoolFunc)
	{
		SetBoolFunc(Container, bValue);
		return;
	}
	*ContainerPtrToValuePtr<bool>(Container) = bValue;
}

// -- UField -----------------------------------------------------------------------------------------

UClass* UField::GetOwnerClass() const
{
	for (const UObject* Object = this; Object; Object = Object->GetOuter())
	{
		if (Object->IsA(UClass::StaticClass()))
		{
			return (UClass*)Object;
		}
	}
	return nullptr;
}

UStruct* UField::GetOwnerStruct() const
{
	for (const UObject* Object = this; Object; Object = Object->GetOuter())
	{
		if (Object->IsA(UStruct::StaticClass()))
		{
			return (UStruct*)Object;
		}
	}
	return nullptr;
}

bool UField::HasMetaData(const TCHAR* Key) const { return FindMetaData(Key) != nullptr; }
bool UField::HasMetaData(const FName& Key) const { return FindMetaData(Key) != nullptr; }
const FString* UField::FindMetaData(const TCHAR* Key) const { return FindMetaData(FName(Key, FNAME_Find)); }
const FString* UField::FindMetaData(const FName& Key) const { return Key.IsNone() ? nullptr : MetaDataMap.Find(Key); }

const FString& UField::GetMetaData(const TCHAR* Key) const
{
	const FString* Value = FindMetaData(Key);
	return Value ? *Value : EmptyString();
}

const FString& UField::GetMetaData(const FName& Key) const
{
	const FString* Value = FindMetaData(Key);
	return Value ? *Value : EmptyString();
}

void UField::SetMetaData(const TCHAR* Key, const TCHAR* InValue) { MetaDataMap.Add(FName(Key), FString(InValue)); }
void UField::SetMetaData(const FName& Key, const TCHAR* InValue) { MetaDataMap.Add(Key, FString(InValue)); }
void UField::RemoveMetaData(const TCHAR* Key) { MetaDataMap.Remove(FName(Key)); }
bool UField::GetBoolMetaData(const TCHAR* Key) const { return IsTrueString(GetMetaData(Key)); }
bool UField::GetBoolMetaData(const FName& Key) const { return IsTrueString(GetMetaData(Key)); }

FText UField::GetDisplayNameText() const
{
	const FString* DisplayName = FindMetaData(TEXT("DisplayName"));
	return FText::FromString(DisplayName ? *DisplayName : GetName());
}

FText UField::GetToolTipText(bool bShortTooltip) const
{
	const FString* ToolTip = FindMetaData(TEXT("ToolTip"));
	if (!ToolTip || ToolTip->IsEmpty())
	{
		return FText::FromString(GetName());
	}
	FString Text = *ToolTip;
	int32 LineEnd = INDEX_NONE;
	if (bShortTooltip && Text.FindChar(TEXT('\n'), LineEnd))
	{
		Text = Text.Left(LineEnd);
	}
	return FText::FromString(Text);
}

// -- UStruct ----------------------------------------------------------------------------------------

UStruct::~UStruct()
{
	for (FField* Field = ChildProperties; Field;)
	{
		FField* NextField = Field->Next;
		delete Field;
		Field = NextField;
	}
}

void UStruct::SetSuperStruct(UStruct* NewSuperStruct)
{
	SuperStruct = NewSuperStruct;
}

bool UStruct::IsChildOf(const UStruct* SomeBase) const
{
	if (!SomeBase)
	{
		return false;
	}
	for (const UStruct* Struct = this; Struct; Struct = Struct->GetSuperStruct())
	{
		if (Struct == SomeBase)
		{
			return true;
		}
	}
	return false;
}

FProperty* UStruct::FindPropertyByName(FName InName) const
{
	for (const UStruct* Struct = this; Struct; Struct = Struct->GetSuperStruct())
	{
		for (FField* Field = Struct->ChildProperties; Field; Field = Field->Next)
		{
			if (Field->GetFName() == InName)
			{
				return (FProperty*)Field;
			}
		}
	}
	return nullptr;
}

// -- UScriptStruct ------------------------------------------------------------------------------------

void UScriptStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	const auto* Ops = (const UECodeGen_Private::FStructOps*)StructOps;
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		Ops->Construct((uint8*)Dest + Index * GetStructureSize());
	}
}

void UScriptStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	const auto* Ops = (const UECodeGen_Private::FStructOps*)StructOps;
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		Ops->Destruct((uint8*)Dest + Index * GetStructureSize());
	}
}

void UScriptStruct::CopyScriptStruct(void* Dest, const void* Src, int32 ArrayDim) const
{
	const auto* Ops = (const UECodeGen_Private::FStructOps*)StructOps;
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		Ops->Copy((uint8*)Dest + Index * GetStructureSize(), (const uint8*)Src + Index * GetStructureSize());
	}
}

// -- UFunction ----------------------------------------------------------------------------------------

FProperty* UFunction::GetReturnProperty() const
{
	for (FField* Field = ChildProperties; Field; Field = Field->Next)
	{
		if (((FProperty*)Field)->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			return (FProperty*)Field;
		}
	}
	return nullptr;
}

void UFunction::Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL)
{
	checkf(Func, TEXT("Function %ls has no native implementation"), *GetName());
	Func(Obj, Stack, RESULT_PARAM);
}

// -- UClass ---------------------------------------------------------------------------------------------

UFunction* UClass::FindFunctionByName(FName InName, EIncludeSuperFlag::Type IncludeSuper) const
{
	if (InName.IsNone())
	{
		return nullptr;
	}
	for (const UClass* Class = this; Class; Class = Class->GetSuperClass())
	{
		if (UFunction* const* Found = Class->FuncMap.Find(InName))
		{
			return *Found;
		}
		for (const FImplementedInterface& Interface : Class->Interfaces)
		{
			if (UFunction* Found = Interface.Class ? Interface.Class->FindFunctionByName(InName) : nullptr)
			{
				return Found;
			}
		}
		if (IncludeSuper == EIncludeSuperFlag::ExcludeSuper)
		{
			break;
		}
	}
	return nullptr;
}

bool UClass::ImplementsInterface(const UClass* SomeInterface) const
{
	if (!SomeInterface || !SomeInterface->HasAnyClassFlags(CLASS_Interface) || SomeInterface == UInterface::StaticClass())
	{
		return false;
	}
	for (const UClass* Class = this; Class; Class = Class->GetSuperClass())
	{
		for (const FImplementedInterface& Interface : Class->Interfaces)
		{
			if (Interface.Class && Interface.Class->IsChildOf(SomeInterface))
			{
				return true;
			}
		}
	}
	return false;
}

void UClass::AddFunctionToFunctionMap(UFunction* Function, FName FuncName)
{
	FuncMap.Add(FuncName, Function);
}

// -- UEnum ---------------------------------------------------------------------------------------------

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : NAME_None;
}

FString UEnum::GetNameStringByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	FString Name = Names[Index].Key.ToString();
	int32 Separator = Name.Find(TEXT("::"), ESearchCase::CaseSensitive);
	return Separator == INDEX_NONE ? Name : Name.RightChop(Separator + 2);
}

FString UEnum::GetAuthoredNameStringByIndex(int32 Index) const
{
	return GetNameStringByIndex(Index);
}

FText UEnum::GetDisplayNameTextByIndex(int32 Index) const
{
	const FString Name = GetNameStringByIndex(Index);
	if (Name.IsEmpty())
	{
		return FText::GetEmpty();
	}
	if (HasMetaData(TEXT("DisplayName"), Index))
	{
		return FText::FromString(GetMetaData(TEXT("DisplayName"), Index));
	}
	return FText::FromString(Name);
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : (int64)INDEX_NONE;
}

int32 UEnum::GetIndexByValue(int64 InValue) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Value == InValue)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

FName UEnum::GetNameByValue(int64 InValue) const { return GetNameByIndex(GetIndexByValue(InValue)); }
FString UEnum::GetNameStringByValue(int64 InValue) const { return GetNameStringByIndex(GetIndexByValue(InValue)); }
FText UEnum::GetDisplayNameTextByValue(int64 InValue) const { return GetDisplayNameTextByIndex(GetIndexByValue(InValue)); }
FString UEnum::GetAuthoredNameStringByValue(int64 InValue) const { return GetAuthoredNameStringByIndex(GetIndexByValue(InValue)); }

int32 UEnum::GetIndexByName(FName InName) const
{
	return GetIndexByNameString(InName.ToString());
}

int32 UEnum::GetIndexByNameString(const FString& SearchString) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Key.ToString().Equals(SearchString, ESearchCase::IgnoreCase)
			|| GetNameStringByIndex(Index).Equals(SearchString, ESearchCase::IgnoreCase))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

int64 UEnum::GetValueByName(FName InName) const { return GetValueByIndex(GetIndexByName(InName)); }
int64 UEnum::GetValueByNameString(const FString& SearchString) const { return GetValueByIndex(GetIndexByNameString(SearchString)); }

int64 UEnum::GetMaxEnumValue() const
{
	int64 Max = 0;
	for (const TPair<FName, int64>& Entry : Names)
	{
		Max = Entry.Value > Max ? Entry.Value : Max;
	}
	return Max;
}

bool UEnum::IsValidEnumValue(int64 InValue) const { return GetIndexByValue(InValue) != INDEX_NONE; }
bool UEnum::IsValidEnumName(FName InName) const { return GetIndexByName(InName) != INDEX_NONE; }

static FString EnumMetaDataKey(const UEnum* Enum, const TCHAR* Key, int32 NameIndex)
{
	return NameIndex == INDEX_NONE ? FString(Key) : Enum->GetNameStringByIndex(NameIndex) + TEXT(".") + Key;
}

FString UEnum::GetMetaData(const TCHAR* Key, int32 NameIndex, bool) const
{
	return UField::GetMetaData(*EnumMetaDataKey(this, Key, NameIndex));
}

bool UEnum::HasMetaData(const TCHAR* Key, int32 NameIndex) const
{
	return UField::HasMetaData(*EnumMetaDataKey(this, Key, NameIndex));
}

void UEnum::SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex)
{
	UField::SetMetaData(*EnumMetaDataKey(this, Key, NameIndex), InValue);
}

bool UEnum::SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, uint32, bool bAddMaxKeyIfMissing)
{
	Names = InNames;
	CppForm = InCppForm;
	if (bAddMaxKeyIfMissing)
	{
		const FString Prefix = CppForm == ECppForm::Regular ? FString() : GetName() + TEXT("::");
		const FString MaxName = Prefix + GetName() + TEXT("_MAX");
		if (GetIndexByNameString(MaxName) == INDEX_NONE)
		{
			const int64 MaxValue = Names.Num() ? GetMaxEnumValue() + 1 : 0;
			Names.Add(TPair<FName, int64>(FName(*MaxName), MaxValue));
		}
	}
	return true;
}

// -- registration ------------------------------------------------------------------------------------

namespace
{
	thread_local UClass* GClassUnderConstruction = nullptr;
	/** Type construction in progress: registrations wait, since they would re-enter it. */
	int32 GTypeConstructionDepth = 0;

	struct FTypeConstructionScope
	{
		FTypeConstructionScope() { ++GTypeConstructionDepth; }
		~FTypeConstructionScope() { --GTypeConstructionDepth; }
	};
	UECodeGen_Private::FCompiledInRegistration* GPendingRegistrations = nullptr;

	template<typename FieldType>
	void AddMetaData(FieldType* Field, const UECodeGen_Private::FMetaDataPairParam* Array, int32 Num)
	{
		for (int32 Index = 0; Index < Num; ++Index)
		{
			Field->SetMetaData(Array[Index].NameUTF8, Array[Index].ValueUTF8);
		}
	}

	void AddProperties(UStruct* Struct, const UECodeGen_Private::FPropertyParams* Array, int32 Num)
	{
		FField** Tail = &Struct->ChildProperties;
		while (*Tail)
		{
			Tail = &(*Tail)->Next;
		}
		for (int32 Index = 0; Index < Num; ++Index)
		{
			FProperty* Property = Array[Index].Kind == UECodeGen_Private::EPropertyKind::Array && Array[Index].InnerParams
				? new FArrayProperty(Struct, Array[Index])
				: new FProperty(Struct, Array[Index]);
			*Tail = Property;
			Tail = &Property->Next;
		}
	}
}

namespace UECodeGen_Private
{
	FCompiledInRegistration::FCompiledInRegistration(void (*InRegister)())
		: Register(InRegister)
		, Next(GPendingRegistrations)
	{
		GPendingRegistrations = this;
	}

	UPackage* FindOrCreatePackage(const TCHAR* PackageName)
	{
		if (UPackage* Existing = FindPackage(nullptr, PackageName))
		{
			return Existing;
		}
		UPackage* Package = (UPackage*)ConstructTypeObject(UPackage::StaticClass(), nullptr, FName(PackageName));
		return Package;
	}

	UFunction* ConstructUFunction(const FFunctionParams& Params)
	{
		FTypeConstructionScope Scope;
		UObject* Outer = Params.OuterFunc ? Params.OuterFunc() : GClassUnderConstruction;
		checkf(Outer, TEXT("Function %ls has no outer"), Params.NameUTF8);
		UFunction* Function = (UFunction*)ConstructTypeObject(UFunction::StaticClass(), Outer, FName(Params.NameUTF8));
		Function->FunctionFlags = Params.FunctionFlags;
		Function->SetNativeFunc(Params.NativeFunc);
		Function->SetSuperStruct(Params.SuperFunc ? (UStruct*)Params.SuperFunc() : nullptr);
		AddProperties(Function, Params.PropertyArray, Params.NumProperties);
		int32 ParmsSize = 0;
		for (int32 Index = 0; Index < Params.NumProperties; ++Index)
		{
			const FPropertyParams& Property = Params.PropertyArray[Index];
			if (Property.PropertyFlags & CPF_Parm)
			{
				++Function->NumParms;
				ParmsSize = Property.Offset + Property.ElementSize * Property.ArrayDim > ParmsSize ? Property.Offset + Property.ElementSize * Property.ArrayDim : ParmsSize;
			}
			if (Property.PropertyFlags & CPF_ReturnParm)
			{
				Function->ReturnValueOffset = (uint16)Property.Offset;
			}
		}
		Function->ParmsSize = (uint16)ParmsSize;
		Function->PropertiesSize = Params.StructureSize;
		AddMetaData(Function, Params.MetaDataArray, Params.NumMetaData);
		return Function;
	}

	UClass* ConstructUClass(const FClassParams& Params)
	{
		FTypeConstructionScope Scope;
		UClass* Super = Params.SuperClassFunc ? Params.SuperClassFunc() : nullptr;
		UClass* Within = Params.WithinClassFunc ? Params.WithinClassFunc() : nullptr;
		UObject* Package = Params.OuterFunc();
		UClass* Class = (UClass*)ConstructTypeObject(UClass::StaticClass(), Package, FName(Params.NameUTF8));
		Class->SetSuperStruct(Super);
		EClassFlags Inherited = CLASS_None;
		if (Super)
		{
			Inherited = Super->ClassFlags & (CLASS_Transient | CLASS_Optional | CLASS_DefaultConfig | CLASS_Config
			| CLASS_PerObjectConfig | CLASS_ConfigDoNotCheckDefaults | CLASS_NotPlaceable | CLASS_Const | CLASS_HasInstancedReference
			| CLASS_Deprecated | CLASS_DefaultToInstanced | CLASS_GlobalUserConfig | CLASS_ProjectUserConfig);
		}
		Class->ClassFlags = Params.ClassFlags | Inherited | CLASS_Constructed;
		Class->ClassWithin = Within ? Within : (Super ? Super->ClassWithin : UObject::StaticClass());
		Class->ClassConfigName = Params.ClassConfigNameUTF8 ? FName(Params.ClassConfigNameUTF8) : (Super ? Super->ClassConfigName : FName());
		Class->PropertiesSize = Params.PropertiesSize;
		Class->MinAlignment = Params.MinAlignment;
		Class->ClassConstructor = Params.ClassConstructor;
		AddProperties(Class, Params.PropertyArray, Params.NumProperties);
		for (int32 Index = 0; Index < Params.NumImplementedInterfaces; ++Index)
		{
			Class->Interfaces.Add(FImplementedInterface{ Params.ImplementedInterfaceArray[Index].ClassFunc(), Params.ImplementedInterfaceArray[Index].Offset, false });
		}
		AddMetaData(Class, Params.MetaDataArray, Params.NumMetaData);
		UClass* PreviousClass = GClassUnderConstruction;
		GClassUnderConstruction = Class;
		UField** Tail = &Class->Children;
		for (int32 Index = 0; Index < Params.NumFunctions; ++Index)
		{
			UFunction* Function = Params.FunctionLinkArray[Index]();
			Class->AddFunctionToFunctionMap(Function, Function->GetFName());
			*Tail = Function;
			Tail = &Function->Next;
		}
		GClassUnderConstruction = PreviousClass;
		return Class;
	}

	UEnum* ConstructUEnum(const FEnumParams& Params)
	{
		FTypeConstructionScope Scope;
		UEnum* Enum = (UEnum*)ConstructTypeObject(UEnum::StaticClass(), Params.OuterFunc(), FName(Params.NameUTF8));
		Enum->CppType = Params.CppTypeUTF8;
		TArray<TPair<FName, int64>> Entries;
		for (int32 Index = 0; Index < Params.NumEnumerators; ++Index)
		{
			Entries.Add(TPair<FName, int64>(FName(Params.EnumeratorParams[Index].NameUTF8), Params.EnumeratorParams[Index].Value));
		}
		Enum->SetEnums(Entries, (UEnum::ECppForm)Params.CppForm, Params.bIsFlags ? 1u : 0u, !Params.bIsFlags);
		AddMetaData(Enum, Params.MetaDataArray, Params.NumMetaData);
		return Enum;
	}

	UScriptStruct* ConstructUScriptStruct(const FStructParams& Params)
	{
		FTypeConstructionScope Scope;
		UScriptStruct* Super = Params.SuperFunc ? Params.SuperFunc() : nullptr;
		UScriptStruct* Struct = (UScriptStruct*)ConstructTypeObject(UScriptStruct::StaticClass(), Params.OuterFunc(), FName(Params.NameUTF8));
		Struct->SetSuperStruct(Super);
		Struct->PropertiesSize = Params.SizeOf;
		Struct->MinAlignment = Params.AlignOf;
		Struct->StructOps = Params.StructOps;
		AddProperties(Struct, Params.PropertyArray, Params.NumProperties);
		AddMetaData(Struct, Params.MetaDataArray, Params.NumMetaData);
		return Struct;
	}
}

void CoreUObjectPrivate::ProcessCompiledInRegistrations()
{
	if (GTypeConstructionDepth > 0)
	{
		return;
	}
	FTypeConstructionScope Scope;
	while (GPendingRegistrations)
	{
		UECodeGen_Private::FCompiledInRegistration* Registration = GPendingRegistrations;
		GPendingRegistrations = Registration->Next;
		Registration->Register();
	}
}

FName UE::Delegates::Private::GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName)
{
	FString Name(InMacroFunctionName);
	int32 Separator = Name.Find(TEXT("::"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (Separator != INDEX_NONE)
	{
		Name = Name.RightChop(Separator + 2);
	}
	Name.TrimStartAndEndInline();
	if (Name.StartsWith(TEXT("&")))
	{
		Name = Name.RightChop(1);
	}
	return FName(*Name);
}
