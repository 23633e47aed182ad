// Flag, name, outer and class queries every object offers.
#pragma once

#include "UObject/UObjectBase.h"
#include "Containers/UnrealString.h"

class COREUOBJECT_API UObjectBaseUtility : public UObjectBase
{
public:
	UObjectBaseUtility() = default;

	FORCEINLINE void SetFlags(EObjectFlags NewFlags) { SetFlagsTo(GetFlags() | NewFlags); }
	FORCEINLINE void ClearFlags(EObjectFlags FlagsToClear) { SetFlagsTo(GetFlags() & ~FlagsToClear); }
	FORCEINLINE bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) != 0; }
	FORCEINLINE bool HasAllFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) == FlagsToCheck; }
	FORCEINLINE EObjectFlags GetMaskedFlags(EObjectFlags Mask = RF_AllFlags) const { return GetFlags() & Mask; }

	/** Marks the object as garbage: weak pointers and IsValid stop reporting it; the next collection destroys it. */
	void MarkAsGarbage();
	void ClearGarbage();
	/** Keeps the object alive through collections. */
	void AddToRoot();
	void RemoveFromRoot();
	bool IsRooted() const;
	bool IsUnreachable() const;
	bool HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const;

	FString GetName() const;
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	FString GetFullName(const UObject* StopOuter = nullptr) const;
	UPackage* GetOutermost() const;
	UPackage* GetPackage() const;
	bool IsIn(const UObject* SomeOuter) const;
	bool IsTemplate(EObjectFlags TemplateTypes = RF_ArchetypeObject | RF_ClassDefaultObject) const;

	bool IsA(const UClass* SomeBase) const;
	template<typename OtherClassType>
	FORCEINLINE bool IsA() const
	{
		return IsA(OtherClassType::StaticClass());
	}

	UObject* GetTypedOuter(UClass* Target) const;
	template<typename T>
	T* GetTypedOuter() const
	{
		return (T*)GetTypedOuter(T::StaticClass());
	}

	/** Address of the native interface part of this object for an interface class, or null. */
	void* GetInterfaceAddress(UClass* InterfaceClass);
	const void* GetInterfaceAddress(UClass* InterfaceClass) const
	{
		return const_cast<UObjectBaseUtility*>(this)->GetInterfaceAddress(InterfaceClass);
	}
};
