#include "UObject/NameTypes.h"
#include "Containers/Map.h"

#include <mutex>

namespace
{
	/** The process-wide name table: one entry per case-insensitive spelling, first spelling kept. */
	struct FNameTable
	{
		std::mutex Mutex;
		TArray<FString> Entries;
		TMap<FString, int32> Lookup; // FString keys compare without case

		FNameTable()
		{
			Entries.Add(FString(TEXT("None")));
			Lookup.Add(FString(TEXT("None")), 0);
		}

		static FNameTable& Get()
		{
			static FNameTable* Table = new FNameTable(); // never destroyed: names outlive static teardown
			return *Table;
		}

		int32 FindOrAdd(const FString& Name, EFindName FindType)
		{
			if (Name.IsEmpty())
			{
				return 0;
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			if (const int32* Existing = Lookup.Find(Name))
			{
				if (FindType == FNAME_Replace_Not_Safe_For_Threading)
				{
					Entries[*Existing] = Name;
				}
				return *Existing;
			}
			if (FindType == FNAME_Find)
			{
				return 0;
			}
			const int32 NewIndex = Entries.Add(Name);
			Lookup.Add(Name, NewIndex);
			return NewIndex;
		}

		FString GetEntry(int32 Index)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return Entries[Index];
		}
	};
}

FName::FName(const WIDECHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(FString(Name), FindType))
{
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(FString(Name), FindType))
{
}

FName::FName(const FString& Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(Name, FindType))
{
}

FName::FName(int32 Len, const TCHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(FString(Len, Name), FindType))
{
}

FString FName::ToString() const
{
	return FNameTable::Get().GetEntry(Index);
}

void FName::ToString(FString& Out) const
{
	Out = ToString();
}

void FName::AppendString(FString& Out) const
{
	Out += ToString();
}

FString FName::GetPlainNameString() const
{
	return ToString();
}

bool FName::operator==(const TCHAR* Other) const
{
	return ToString() == FString(Other ? (*Other ? Other : TEXT("None")) : TEXT("None"));
}

int32 FName::Compare(const FName& Other) const
{
	return Index == Other.Index ? 0 : FCString::Stricmp(*ToString(), *Other.ToString());
}
