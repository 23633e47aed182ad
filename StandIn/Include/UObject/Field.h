// FField: the base of properties, which are not objects. Each knows its owner, its name and its metadata.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"

class UStruct;
class UClass;
class UField;

/** The kind of a field ("IntProperty", "StrProperty", ...). */
class COREUOBJECT_API FFieldClass
{
public:
	explicit FFieldClass(const TCHAR* InCPPName);
	FORCEINLINE FName GetFName() const { return Name; }
	FString GetName() const { return Name.ToString(); }

private:
	FName Name;
};

class COREUOBJECT_API FField
{
public:
	FField(UStruct* InOwner, FName InName);
	virtual ~FField();

	FField(const FField&) = delete;
	FField& operator=(const FField&) = delete;

	FORCEINLINE FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	FORCEINLINE FFieldClass* GetClass() const { return ClassPrivate; }
	/** The struct, class or function that declares this field. */
	FORCEINLINE UStruct* GetOwnerStruct() const { return Owner; }
	UClass* GetOwnerClass() const;

	bool HasMetaData(const TCHAR* Key) const;
	bool HasMetaData(const FName& Key) const;
	/** The metadata value for Key, or an empty string. */
	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	const FString* FindMetaData(const TCHAR* Key) const;
	const FString* FindMetaData(const FName& Key) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, FString&& InValue);
	bool GetBoolMetaData(const TCHAR* Key) const;
	const TMap<FName, FString>* GetMetaDataMap() const { return &MetaDataMap; }

	/** The next field of the same owner, in declaration order. */
	FField* Next;

protected:
	FFieldClass* ClassPrivate;

private:
	UStruct* Owner;
	FName NamePrivate;
	TMap<FName, FString> MetaDataMap;
};
