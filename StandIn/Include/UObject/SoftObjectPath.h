// FSoftObjectPath / FSoftClassPath: an object referred to by its path name ("/Script/Engine.LocalPlayer"),
// resolved on demand. The stand-in loads nothing from disk, so resolving finds live objects only.
#pragma once

#include "Containers/UnrealString.h"
#include "UObject/Class.h"
#include "UObject/UObjectGlobals.h"

struct FSoftObjectPath
{
public:
	FSoftObjectPath() = default;
	FSoftObjectPath(const FString& Path) : PathString(Path) {}
	FSoftObjectPath(const TCHAR* Path) : PathString(Path ? Path : TEXT("")) {}
	FSoftObjectPath(const UObject* Object) { SetPath(Object ? Object->GetPathName() : FString()); }

	void SetPath(const FString& Path) { PathString = Path; }
	void Reset() { PathString.Empty(); }
	FString ToString() const { return PathString; }
	FString GetAssetPathString() const { return PathString; }
	bool IsValid() const { return !PathString.IsEmpty(); }
	bool IsNull() const { return PathString.IsEmpty(); }

	/** The live object at this path, or null. */
	UObject* ResolveObject() const { return IsValid() ? StaticFindObject(UObject::StaticClass(), nullptr, *PathString) : nullptr; }
	UObject* TryLoad() const { return ResolveObject(); }

	bool operator==(const FSoftObjectPath& Other) const { return PathString.Equals(Other.PathString, ESearchCase::IgnoreCase); }
	bool operator!=(const FSoftObjectPath& Other) const { return !(*this == Other); }

private:
	FString PathString;
};

struct FSoftClassPath : public FSoftObjectPath
{
public:
	FSoftClassPath() = default;
	FSoftClassPath(const FString& Path) : FSoftObjectPath(Path) {}
	FSoftClassPath(const TCHAR* Path) : FSoftObjectPath(Path) {}
	FSoftClassPath(const UClass* Class) : FSoftObjectPath((const UObject*)Class) {}

	template<class T>
	UClass* ResolveClass() const
	{
		UObject* Object = ResolveObject();
		UClass* Class = Object && Object->IsA(UClass::StaticClass()) ? (UClass*)Object : nullptr;
		return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr;
	}
	UClass* ResolveClass() const { return ResolveClass<UObject>(); }

	template<class T>
	UClass* TryLoadClass() const { return ResolveClass<T>(); }
};
