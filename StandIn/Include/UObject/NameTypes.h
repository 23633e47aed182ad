// FName: an interned, case-insensitive name that keeps the spelling it was made from, as the engine's names do in
// editor builds (WITH_CASE_PRESERVING_NAME): names compare and hash by their case-insensitive entry and display
// their own spelling. The empty string and "None" are NAME_None.
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "UObject/UnrealNames.h"

enum EFindName
{
	/** Find a name; return NAME_None if it does not exist. */
	FNAME_Find,
	/** Find a name or add it if it does not exist. */
	FNAME_Add,
	FNAME_Replace_Not_Safe_For_Threading,
};

class CORE_API FName
{
public:
	FORCEINLINE FName()
		: Index(0)
		, DisplayIndex(0)
	{
	}

	FORCEINLINE FName(EName N)
		: Index(static_cast<int32>(N))
		, DisplayIndex(static_cast<int32>(N))
	{
	}

	FName(const WIDECHAR* Name, EFindName FindType = FNAME_Add);
	FName(const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	FName(const FString& Name, EFindName FindType = FNAME_Add);
	FName(int32 Len, const TCHAR* Name, EFindName FindType = FNAME_Add);

	/** The display spelling ("None" for NAME_None). */
	FString ToString() const;
	void ToString(FString& Out) const;
	void AppendString(FString& Out) const;
	FString GetPlainNameString() const;

	FORCEINLINE bool IsNone() const { return Index == 0; }
	FORCEINLINE bool IsValid() const { return Index >= 0; }

	FORCEINLINE bool operator==(FName Other) const { return Index == Other.Index; }
	FORCEINLINE bool operator!=(FName Other) const { return Index != Other.Index; }
	FORCEINLINE bool operator==(EName Other) const { return Index == static_cast<int32>(Other); }
	FORCEINLINE bool operator!=(EName Other) const { return Index != static_cast<int32>(Other); }
	/** Case-insensitive comparison with a spelling. */
	bool operator==(const TCHAR* Other) const;
	bool operator!=(const TCHAR* Other) const { return !(*this == Other); }

	/** Lexical, case-insensitive ordering. */
	int32 Compare(const FName& Other) const;
	FORCEINLINE bool LexicalLess(const FName& Other) const { return Compare(Other) < 0; }
	FORCEINLINE bool FastLess(const FName& Other) const { return Index < Other.Index; }
	FORCEINLINE int32 GetComparisonIndex() const { return Index; }
	FORCEINLINE int32 GetDisplayIndex() const { return DisplayIndex; }
	FORCEINLINE int32 GetNumber() const { return NAME_NO_NUMBER_INTERNAL; }

	friend FORCEINLINE uint32 GetTypeHash(FName Name) { return static_cast<uint32>(Name.Index); }

private:
	struct FIndices
	{
		int32 Comparison;
		int32 Display;
	};
	explicit FName(FIndices Indices)
		: Index(Indices.Comparison)
		, DisplayIndex(Indices.Display)
	{
	}
	static FIndices IndicesOf(const TCHAR* Name, int32 Len, EFindName FindType);

	/** The case-insensitive entry: equality, hashing and ordering use it. */
	int32 Index;
	/** The spelling this name was made from. */
	int32 DisplayIndex;
};

/** Orders names lexically. */
struct FNameLexicalLess
{
	FORCEINLINE bool operator()(const FName& A, const FName& B) const { return A.LexicalLess(B); }
};

FORCEINLINE FString LexToString(const FName& Name) { return Name.ToString(); }
FORCEINLINE void LexFromString(FName& OutValue, const TCHAR* Buffer) { OutValue = FName(Buffer); }
