// Object construction and lookup: UObjectBase/UObject, StaticConstructObject_Internal (NewObject),
// class default objects, packages, name lookups and GetObjectsOfClass.
#include <cstring>
#include <new>
#include <vector>

#include "CoreUObjectTesting.h"
#include "Misc/ConfigCacheIni.h"
#include "UObject/Class.h"
#include "UObject/Interface.h"
#include "UObject/Package.h"
#include "UObject/Stack.h"
#include "UObject/UObjectHash.h"
#include "UObject/UnrealType.h"
#include "UObjectArrayPrivate.h"

using namespace CoreUObjectPrivate;

struct FUObjectArrayAccess
{
	static void Set(UObjectBase* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags, int32 Index)
	{
		Object->ClassPrivate = Class;
		Object->OuterPrivate = Outer;
		Object->NamePrivate = Name;
		Object->ObjectFlags = Flags;
		Object->InternalIndex = Index;
	}
	static void SetClass(UObjectBase* Object, UClass* Class) { Object->ClassPrivate = Class; }
	static void SetOuter(UObjectBase* Object, UObject* Outer) { Object->OuterPrivate = Outer; }
};

namespace
{
	/** The object StaticConstructObject_Internal is about to construct on this thread. */
	struct FPendingObject
	{
		void* Memory = nullptr;
		UClass* Class = nullptr;
		UObject* Outer = nullptr;
		FName Name;
		EObjectFlags Flags = RF_NoFlags;
		int32 Index = -1;
	};
	thread_local FPendingObject* GPendingObject = nullptr;
	thread_local FObjectInitializer* GTopInitializer = nullptr;

	UObject* ConstructAt(UClass* Class, int32 Size, int32 Alignment, void (*Constructor)(const FObjectInitializer&), UObject* Outer, FName Name, EObjectFlags Flags, UObject* Archetype)
	{
		void* Memory = AllocateObjectMemory(Size, Alignment);
		FPendingObject Pending;
		Pending.Memory = Memory;
		Pending.Class = Class;
		Pending.Outer = Outer;
		Pending.Name = Name;
		Pending.Flags = Flags;
		Pending.Index = FObjectArray::Get().Add((UObjectBase*)Memory, Alignment);
		FPendingObject* PreviousPending = GPendingObject;
		GPendingObject = &Pending;
		{
			FObjectInitializer Initializer((UObject*)Memory, Archetype);
			Constructor(Initializer);
		}
		GPendingObject = PreviousPending;
		UObject* Object = (UObject*)Memory;
		// The array holds the address of the constructed object (same address, now a live object).
		FObjectArray::Get().Items[Pending.Index].Object = Object;
		return Object;
	}
}

// -- UObjectBase / UObject ---------------------------------------------------------------------

UObjectBase::UObjectBase()
{
	checkf(GPendingObject && GPendingObject->Memory == (void*)this,
		TEXT("Objects must be created with NewObject, not with new or on the stack"));
	FUObjectArrayAccess::Set(this, GPendingObject->Class, GPendingObject->Outer, GPendingObject->Name, GPendingObject->Flags, GPendingObject->Index);
}

UObjectBase::~UObjectBase() = default;

UObject::UObject() = default;

UObject::UObject(const FObjectInitializer&)
{
}

void UObject::PostInitProperties()
{
}

void UObject::PostLoad()
{
}

void UObject::BeginDestroy()
{
}

bool UObject::IsReadyForFinishDestroy()
{
	return true;
}

void UObject::FinishDestroy()
{
}

bool UObject::ConditionalBeginDestroy()
{
	if (HasAnyFlags(RF_BeginDestroyed))
	{
		return false;
	}
	SetFlags(RF_BeginDestroyed);
	BeginDestroy();
	return true;
}

bool UObject::ConditionalFinishDestroy()
{
	if (HasAnyFlags(RF_FinishDestroyed))
	{
		return false;
	}
	SetFlags(RF_FinishDestroyed);
	FinishDestroy();
	return true;
}

UWorld* UObject::GetWorld() const
{
	if (UObject* Outer = GetOuter(); Outer && !HasAnyFlags(RF_ClassDefaultObject) && !Outer->HasAnyFlags(RF_BeginDestroyed))
	{
		return Outer->GetWorld();
	}
	return nullptr;
}

UFunction* UObject::FindFunction(FName InName) const
{
	return GetClass()->FindFunctionByName(InName);
}

UFunction* UObject::FindFunctionChecked(FName InName) const
{
	UFunction* Result = FindFunction(InName);
	checkf(Result, TEXT("Failed to find function %ls in %ls"), *InName.ToString(), *GetFullName());
	return Result;
}

void UObject::ProcessEvent(UFunction* Function, void* Parms)
{
	check(Function);
	checkf(!IsUnreachable(), TEXT("%ls Function: '%ls'"), *GetFullName(), *Function->GetName());
	UClass* Owner = Function->GetOwnerClass();
	checkf(!Owner || IsA(Owner) || GetClass()->ImplementsInterface(Owner),
		TEXT("ProcessEvent: %ls is not a function of %ls"), *Function->GetName(), *GetFullName());
	if (!Function->HasAnyFunctionFlags(FUNC_Native) || !Function->GetNativeFunc())
	{
		// No script virtual machine: a function only a Blueprint could implement has nothing to run.
		return;
	}
	FFrame Stack(this, Function, Parms);
	uint8* ReturnValueAddress = Function->ReturnValueOffset != 0xFFFF ? (uint8*)Parms + Function->ReturnValueOffset : nullptr;
	Function->Invoke(this, Stack, ReturnValueAddress);
}

UObject* UObject::CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient)
{
	(void)ReturnType;
	(void)bIsRequired;
	FStaticConstructObjectParameters Params(ClassToCreateByDefault);
	Params.Outer = this;
	Params.Name = SubobjectFName;
	Params.SetFlags = RF_DefaultSubObject | (HasAnyFlags(RF_ClassDefaultObject) ? RF_ArchetypeObject | RF_Public : RF_NoFlags) | (bIsTransient ? RF_Transient : RF_NoFlags);
	return StaticConstructObject_Internal(Params);
}

bool UObject::Modify(bool)
{
	return false;
}

#if WITH_EDITOR
void UObject::PreEditChange(FProperty*)
{
}

void UObject::SaveConfig(uint64 RequiredPropertyFlags, const TCHAR* Filename, FConfigCacheIni* Config, bool /*bAllowCopyToDefaultObject*/)
{
	if (Config == nullptr)
	{
		return;
	}
	const UClass* Class = GetClass();
	const FString ConfigFile = Filename != nullptr ? FString(Filename) : Class->ClassConfigName.ToString();
	const FString Section = Class->GetPathName();
	for (FProperty* Property : TFieldRange<FProperty>(Class))
	{
		if ((static_cast<uint64>(Property->GetPropertyFlags()) & RequiredPropertyFlags) == 0)
		{
			continue;
		}
		const FString Key = Property->GetName();
		switch (Property->GetKind())
		{
		case UECodeGen_Private::EPropertyKind::Bool:
		case UECodeGen_Private::EPropertyKind::BitfieldBool:
			Config->SetBool(*Section, *Key, Property->GetBoolValue_InContainer(this), ConfigFile);
			break;
		case UECodeGen_Private::EPropertyKind::Int:
			Config->SetString(*Section, *Key, *FString::Printf(TEXT("%d"), *Property->ContainerPtrToValuePtr<int32>(this)), ConfigFile);
			break;
		case UECodeGen_Private::EPropertyKind::Float:
			Config->SetString(*Section, *Key, *FString::Printf(TEXT("%f"), *Property->ContainerPtrToValuePtr<float>(this)), ConfigFile);
			break;
		case UECodeGen_Private::EPropertyKind::Str:
			Config->SetString(*Section, *Key, **Property->ContainerPtrToValuePtr<FString>(this), ConfigFile);
			break;
		default:
			break;
		}
	}
	Config->Flush(false, ConfigFile);
}

void UObject::PostEditChange()
{
	FPropertyChangedEvent EmptyPropertyEvent(nullptr);
	PostEditChangeProperty(EmptyPropertyEvent);
}

void UObject::PostEditChangeProperty(FPropertyChangedEvent&)
{
}

void UObject::PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent)
{
	PostEditChangeProperty(PropertyChangedEvent);
}
#endif

UInterface::UInterface(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

// -- names, outers, classes -----------------------------------------------------------------------

FString UObjectBaseUtility::GetName() const
{
	return GetFName().ToString();
}

FString UObjectBaseUtility::GetPathName(const UObject* StopOuter) const
{
	if (this == (const UObjectBaseUtility*)StopOuter)
	{
		return FString(TEXT("None"));
	}
	FString Result;
	UObject* Outer = GetOuter();
	if (Outer && Outer != StopOuter)
	{
		Result = Outer->GetPathName(StopOuter);
		// A sub-object of an object that lives directly in a package is separated by ':', others by '.'.
		const bool bSubobject = !Outer->IsA(UPackage::StaticClass()) && Outer->GetOuter() && Outer->GetOuter()->IsA(UPackage::StaticClass());
		Result += bSubobject ? TEXT(":") : TEXT(".");
	}
	Result += GetName();
	return Result;
}

FString UObjectBaseUtility::GetFullName(const UObject* StopOuter) const
{
	FString Result = GetClass() ? GetClass()->GetName() : FString(TEXT("None"));
	Result += TEXT(" ");
	Result += GetPathName(StopOuter);
	return Result;
}

UPackage* UObjectBaseUtility::GetOutermost() const
{
	const UObjectBaseUtility* Top = this;
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return (UPackage*)Top;
}

UPackage* UObjectBaseUtility::GetPackage() const
{
	return GetOutermost();
}

bool UObjectBaseUtility::IsIn(const UObject* SomeOuter) const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer == SomeOuter)
		{
			return true;
		}
	}
	return SomeOuter == nullptr;
}

bool UObjectBaseUtility::IsTemplate(EObjectFlags TemplateTypes) const
{
	for (const UObjectBaseUtility* Test = this; Test; Test = Test->GetOuter())
	{
		if (Test->HasAnyFlags(TemplateTypes))
		{
			return true;
		}
	}
	return false;
}

bool UObjectBaseUtility::IsA(const UClass* SomeBase) const
{
	return SomeBase && GetClass() && GetClass()->IsChildOf(SomeBase);
}

UObject* UObjectBaseUtility::GetTypedOuter(UClass* Target) const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer->IsA(Target))
		{
			return Outer;
		}
	}
	return nullptr;
}

void* UObjectBaseUtility::GetInterfaceAddress(UClass* InterfaceClass)
{
	if (!InterfaceClass || !InterfaceClass->HasAnyClassFlags(CLASS_Interface) || InterfaceClass == UInterface::StaticClass())
	{
		return nullptr;
	}
	for (UClass* Class = GetClass(); Class; Class = Class->GetSuperClass())
	{
		for (const FImplementedInterface& Interface : Class->Interfaces)
		{
			if (Interface.Class && Interface.Class->IsChildOf(InterfaceClass))
			{
				return (uint8*)this + Interface.PointerOffset;
			}
		}
	}
	return nullptr;
}

// -- construction ---------------------------------------------------------------------------------

FObjectInitializer::FObjectInitializer()
	: Obj(nullptr)
	, ObjectArchetype(nullptr)
	, bCopyTransientsFromClassDefaults(false)
	, PreviousInitializer(GTopInitializer)
{
	GTopInitializer = this;
}

FObjectInitializer::FObjectInitializer(UObject* InObj, UObject* InObjectArchetype, bool bInCopyTransientsFromClassDefaults)
	: Obj(InObj)
	, ObjectArchetype(InObjectArchetype)
	, bCopyTransientsFromClassDefaults(bInCopyTransientsFromClassDefaults)
	, PreviousInitializer(GTopInitializer)
{
	GTopInitializer = this;
}

FObjectInitializer::~FObjectInitializer()
{
	GTopInitializer = PreviousInitializer;
}

UClass* FObjectInitializer::GetClass() const
{
	return Obj ? Obj->GetClass() : nullptr;
}

FObjectInitializer& FObjectInitializer::Get()
{
	checkf(GTopInitializer, TEXT("No object initializer found. Objects must be created with NewObject."));
	return *GTopInitializer;
}

UObject* FObjectInitializer::CreateDefaultSubobject(UObject* Outer, FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient) const
{
	check(Outer);
	return Outer->CreateDefaultSubobject(SubobjectFName, ReturnType, ClassToCreateByDefault, bIsRequired, bIsTransient);
}

FStaticConstructObjectParameters::FStaticConstructObjectParameters(const UClass* InClass)
	: Class(InClass)
	, Outer(nullptr)
	, Name(NAME_None)
{
}

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	check(Class);
	const FString Base = BaseName.IsNone() ? Class->GetName() : BaseName.ToString();
	static TMap<FName, int32>* Counters = new TMap<FName, int32>();
	int32& Counter = Counters->FindOrAdd(FName(*Base));
	for (;;)
	{
		FString Candidate = Base + TEXT("_") + FString::FromInt(Counter++);
		if (!StaticFindObject(nullptr, Outer ? Outer : GetTransientPackageAsObject(), *Candidate, false))
		{
			return FName(*Candidate);
		}
	}
}

/** Copies the reflected properties of Archetype into Object (both of Object's class chain), skipping
 *  references to the archetype's own sub-objects, which belong to the archetype. */
static void InitPropertiesFromArchetype(UObject* Object, UObject* Archetype)
{
	for (UClass* Class = Object->GetClass(); Class; Class = Class->GetSuperClass())
	{
		if (!Archetype->IsA(Class))
		{
			continue;
		}
		for (FField* Field = Class->ChildProperties; Field; Field = Field->Next)
		{
			FProperty* Property = (FProperty*)Field;
			if (Property->HasAnyPropertyFlags(CPF_Transient))
			{
				continue;
			}
			if (Property->GetKind() == UECodeGen_Private::EPropertyKind::Object && Property->ArrayDim == 1)
			{
				UObject* Value = *Property->ContainerPtrToValuePtr<UObject*>(Archetype);
				if (Value && Value->IsIn(Archetype))
				{
					continue;
				}
			}
			Property->CopyCompleteValue_InContainer(Object, Archetype);
		}
	}
}

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params)
{
	UClass* Class = const_cast<UClass*>(Params.Class);
	checkf(Class, TEXT("StaticConstructObject_Internal called with a null class"));
	const bool bIsDefault = (Params.SetFlags & RF_ClassDefaultObject) != 0;
	checkf(bIsDefault || !Class->HasAnyClassFlags(CLASS_Abstract),
		TEXT("Class which was marked abstract was trying to be loaded in Outer %ls. It will be nulled out."), *Class->GetName());
	UObject* Outer = Params.Outer;
	checkf(Outer || Class->IsChildOf(UPackage::StaticClass()), TEXT("Object of class %ls must have an outer"), *Class->GetName());
	if (!bIsDefault && Class->ClassWithin && Outer)
	{
		checkf(Outer->IsA(Class->ClassWithin), TEXT("Object of class %ls created in %ls should be in %ls"),
			*Class->GetName(), *Outer->GetFullName(), *Class->ClassWithin->GetName());
	}
	const FName Name = Params.Name.IsNone() ? MakeUniqueObjectName(Outer, Class) : Params.Name;
	UObject* Archetype = Params.Template;
	if (!Archetype && !bIsDefault)
	{
		Archetype = Class->GetDefaultObject();
	}
	UObject* Object = ConstructAt(Class, Class->GetPropertiesSize(), Class->GetMinAlignment(), Class->ClassConstructor, Outer, Name, Params.SetFlags, Archetype);
	if (Archetype && Archetype != Object && Archetype->IsA(Class))
	{
		InitPropertiesFromArchetype(Object, Archetype);
	}
	Object->PostInitProperties();
	return Object;
}

UObject* CoreUObjectPrivate::ConstructTypeObject(UClass* Class, UObject* Outer, FName Name)
{
	return ConstructAt(Class, Class->GetPropertiesSize(), Class->GetMinAlignment(), Class->ClassConstructor, Outer, Name, RF_Public | RF_Standalone | RF_MarkAsNative, nullptr);
}

UObject* UClass::GetDefaultObject(bool bCreateIfNeeded) const
{
	if (!ClassDefaultObject && bCreateIfNeeded)
	{
		if (UClass* SuperClass = GetSuperClass())
		{
			SuperClass->GetDefaultObject();
		}
		FStaticConstructObjectParameters Params(this);
		Params.Outer = GetOuter();
		Params.Name = GetDefaultObjectName();
		Params.SetFlags = RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject;
		const_cast<UClass*>(this)->ClassDefaultObject = StaticConstructObject_Internal(Params);
	}
	return ClassDefaultObject;
}

FName UClass::GetDefaultObjectName() const
{
	return FName(*(FString(TEXT("Default__")) + GetName()));
}

// -- intrinsic classes --------------------------------------------------------------------------

namespace
{
	enum EIntrinsic
	{
		I_Object, I_Field, I_Struct, I_ScriptStruct, I_Function, I_Class, I_Enum, I_Package, I_Interface, I_Count
	};

	struct FIntrinsicInfo
	{
		const TCHAR* Name;
		int32 Super;
		EClassFlags Flags;
		int32 Size;
		int32 Alignment;
		void (*Constructor)(const FObjectInitializer&);
	};

	UClass* GIntrinsicClasses[I_Count];

	template<typename T>
	FIntrinsicInfo Info(const TCHAR* Name, int32 Super)
	{
		return { Name, Super, T::StaticClassFlags, (int32)sizeof(T), (int32)alignof(T), &T::__DefaultConstructor };
	}

	void CreateIntrinsicClasses()
	{
		const FIntrinsicInfo Infos[I_Count] = {
			Info<UObject>(TEXT("Object"), -1),
			Info<UField>(TEXT("Field"), I_Object),
			Info<UStruct>(TEXT("Struct"), I_Field),
			Info<UScriptStruct>(TEXT("ScriptStruct"), I_Struct),
			Info<UFunction>(TEXT("Function"), I_Struct),
			Info<UClass>(TEXT("Class"), I_Struct),
			Info<UEnum>(TEXT("Enum"), I_Field),
			Info<UPackage>(TEXT("Package"), I_Object),
			Info<UInterface>(TEXT("Interface"), I_Object),
		};
		// UClass objects of the intrinsic classes first (their own class is filled in after), then the package.
		for (int32 Index = 0; Index < I_Count; ++Index)
		{
			UClass* Class = (UClass*)ConstructAt(nullptr, (int32)sizeof(UClass), (int32)alignof(UClass), &UClass::__DefaultConstructor, nullptr, FName(Infos[Index].Name), RF_Public | RF_Standalone | RF_MarkAsNative, nullptr);
			Class->ClassFlags = Infos[Index].Flags | CLASS_Constructed;
			Class->PropertiesSize = Infos[Index].Size;
			Class->MinAlignment = Infos[Index].Alignment;
			Class->ClassConstructor = Infos[Index].Constructor;
			GIntrinsicClasses[Index] = Class;
		}
		for (int32 Index = 0; Index < I_Count; ++Index)
		{
			UClass* Class = GIntrinsicClasses[Index];
			FUObjectArrayAccess::SetClass(Class, GIntrinsicClasses[I_Class]);
			Class->SuperStruct = Infos[Index].Super >= 0 ? GIntrinsicClasses[Infos[Index].Super] : nullptr;
			Class->ClassWithin = GIntrinsicClasses[I_Object];
		}
		UObject* Package = ConstructAt(GIntrinsicClasses[I_Package], (int32)sizeof(UPackage), (int32)alignof(UPackage), &UPackage::__DefaultConstructor, nullptr, FName(TEXT("/Script/CoreUObject")), RF_Public | RF_Standalone, nullptr);
		for (UClass* Class : GIntrinsicClasses)
		{
			FUObjectArrayAccess::SetOuter(Class, Package);
		}
	}

	UClass* IntrinsicClass(EIntrinsic Which)
	{
		static const bool bCreated = (CreateIntrinsicClasses(), true);
		(void)bCreated;
		return GIntrinsicClasses[Which];
	}
}

UClass* UObject::GetPrivateStaticClass() { return IntrinsicClass(I_Object); }
UClass* UField::GetPrivateStaticClass() { return IntrinsicClass(I_Field); }
UClass* UStruct::GetPrivateStaticClass() { return IntrinsicClass(I_Struct); }
UClass* UScriptStruct::GetPrivateStaticClass() { return IntrinsicClass(I_ScriptStruct); }
UClass* UFunction::GetPrivateStaticClass() { return IntrinsicClass(I_Function); }
UClass* UClass::GetPrivateStaticClass() { return IntrinsicClass(I_Class); }
UClass* UEnum::GetPrivateStaticClass() { return IntrinsicClass(I_Enum); }
UClass* UPackage::GetPrivateStaticClass() { return IntrinsicClass(I_Package); }
UClass* UInterface::GetPrivateStaticClass() { return IntrinsicClass(I_Interface); }

template<> COREUOBJECT_API UClass* StaticClass<UObject>() { return UObject::StaticClass(); }
template<> COREUOBJECT_API UClass* StaticClass<UClass>() { return UClass::StaticClass(); }
template<> COREUOBJECT_API UClass* StaticClass<UInterface>() { return UInterface::StaticClass(); }

// -- packages ---------------------------------------------------------------------------------------

UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName)
{
	return (UPackage*)StaticFindObject(UPackage::StaticClass(), InOuter, PackageName, true);
}

UPackage* CreatePackage(const TCHAR* PackageName)
{
	if (UPackage* Existing = FindPackage(nullptr, PackageName))
	{
		return Existing;
	}
	FStaticConstructObjectParameters Params(UPackage::StaticClass());
	Params.Name = FName(PackageName);
	Params.SetFlags = RF_Public;
	return (UPackage*)StaticConstructObject_Internal(Params);
}

UPackage* GetTransientPackage()
{
	static UPackage* Transient = nullptr;
	if (!Transient || !Transient->IsValidLowLevel())
	{
		Transient = CreatePackage(TEXT("/Engine/Transient"));
		Transient->SetFlags(RF_Transient);
		Transient->AddToRoot();
	}
	return Transient;
}

UObject* GetTransientPackageAsObject()
{
	return GetTransientPackage();
}

// -- lookups ------------------------------------------------------------------------------------------

template<typename Visitor>
static void ForEachLiveObject(Visitor&& Visit)
{
	ProcessCompiledInRegistrations();
	FObjectArray& Array = FObjectArray::Get();
	for (size_t Index = 0; Index < Array.Items.size(); ++Index)
	{
		FObjectItem Item = Array.Items[Index];
		if (Item.Object && (Item.Flags & EInternalObjectFlags::Unreachable) == EInternalObjectFlags::None)
		{
			Visit((UObject*)Item.Object, Item.Flags);
		}
	}
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass)
{
	FString Path(Name);
	if (!InOuter)
	{
		// "/Script/Package.Object" names an object inside a package; a bare name is a package.
		FString PackageName, ObjectName;
		if (Path.Split(TEXT("."), &PackageName, &ObjectName))
		{
			UObject* Package = StaticFindObject(UPackage::StaticClass(), nullptr, *PackageName, true);
			return Package ? StaticFindObject(Class, Package, *ObjectName, ExactClass) : nullptr;
		}
	}
	const FName ObjectName(*Path, FNAME_Find);
	if (ObjectName.IsNone())
	{
		return nullptr;
	}
	UObject* Found = nullptr;
	ForEachLiveObject([&](UObject* Object, EInternalObjectFlags) {
		if (!Found && Object->GetFName() == ObjectName && Object->GetOuter() == InOuter
			&& (!Class || (ExactClass ? Object->GetClass() == Class : Object->IsA(Class))))
		{
			Found = Object;
		}
	});
	return Found;
}

UObject* StaticFindFirstObject(UClass* Class, const TCHAR* Name, EFindFirstObjectOptions Options)
{
	const bool bExact = ((int32)Options & (int32)EFindFirstObjectOptions::ExactClass) != 0;
	FString Path(Name);
	if (Path.StartsWith(TEXT("/")))
	{
		return StaticFindObject(Class, nullptr, Name, bExact);
	}
	const FName ObjectName(Name, FNAME_Find);
	if (ObjectName.IsNone())
	{
		return nullptr;
	}
	UObject* Found = nullptr;
	ForEachLiveObject([&](UObject* Object, EInternalObjectFlags) {
		if (!Found && Object->GetFName() == ObjectName && (!Class || (bExact ? Object->GetClass() == Class : Object->IsA(Class))))
		{
			Found = Object;
		}
	});
	return Found;
}

void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses, EObjectFlags ExcludeFlags, EInternalObjectFlags ExclusionInternalFlags)
{
	ForEachLiveObject([&](UObject* Object, EInternalObjectFlags Flags) {
		if (Object->HasAnyFlags(ExcludeFlags) || (Flags & ExclusionInternalFlags) != EInternalObjectFlags::None)
		{
			return;
		}
		if (bIncludeDerivedClasses ? Object->IsA(ClassToLookFor) : Object->GetClass() == ClassToLookFor)
		{
			Results.Add(Object);
		}
	});
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags, EInternalObjectFlags ExclusionInternalFlags)
{
	ForEachLiveObject([&](UObject* Object, EInternalObjectFlags Flags) {
		if (Object->HasAnyFlags(ExclusionFlags) || (Flags & ExclusionInternalFlags) != EInternalObjectFlags::None)
		{
			return;
		}
		if (bIncludeNestedObjects ? (Object != Outer && Object->IsIn(Outer)) : Object->GetOuter() == Outer)
		{
			Results.Add(Object);
		}
	});
}

void GetDerivedClasses(const UClass* ClassToLookFor, TArray<UClass*>& Results, bool bRecursive)
{
	ForEachLiveObject([&](UObject* Object, EInternalObjectFlags) {
		if (Object->GetClass() == UClass::StaticClass())
		{
			UClass* Class = (UClass*)Object;
			if (Class != ClassToLookFor && (bRecursive ? Class->IsChildOf(ClassToLookFor) : Class->GetSuperClass() == ClassToLookFor))
			{
				Results.Add(Class);
			}
		}
	});
}
