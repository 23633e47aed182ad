#include "UObject/NameTypes.h"
#include "Containers/Map.h"
#include "Misc/Char.h"

#include <cwctype>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace
{
	wchar_t FoldCase(wchar_t Character)
	{
		return FChar::ToLower(Character);
	}

	/** Case-insensitive hashing and equality that also take a view, so looking a name up never allocates. */
	struct FNoCaseHash
	{
		using is_transparent = void;
		std::size_t operator()(std::wstring_view Text) const noexcept
		{
			std::size_t Hash = 1469598103934665603ull;
			for (const wchar_t Character : Text)
			{
				Hash = (Hash ^ static_cast<std::size_t>(FoldCase(Character))) * 1099511628211ull;
			}
			return Hash;
		}
	};

	struct FNoCaseEqual
	{
		using is_transparent = void;
		bool operator()(std::wstring_view A, std::wstring_view B) const noexcept
		{
			if (A.size() != B.size())
			{
				return false;
			}
			for (std::size_t Index = 0; Index < A.size(); ++Index)
			{
				if (FoldCase(A[Index]) != FoldCase(B[Index]))
				{
					return false;
				}
			}
			return true;
		}
	};

	/** The process-wide name table: one entry per case-insensitive spelling, first spelling kept. */
	struct FNameTable
	{
		std::mutex Mutex;
		TArray<FString> Entries;
		std::unordered_map<std::wstring, int32, FNoCaseHash, FNoCaseEqual> Lookup;

		FNameTable()
		{
			Entries.Add(FString(TEXT("None")));
			Lookup.emplace(L"None", 0);
		}

		static FNameTable& Get()
		{
			static FNameTable* Table = new FNameTable(); // never destroyed: names outlive static teardown
			return *Table;
		}

		int32 FindOrAdd(std::wstring_view Name, EFindName FindType)
		{
			if (Name.empty())
			{
				return 0;
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			if (const auto Existing = Lookup.find(Name); Existing != Lookup.end())
			{
				if (FindType == FNAME_Replace_Not_Safe_For_Threading)
				{
					Entries[Existing->second] = FString(static_cast<int32>(Name.size()), Name.data());
				}
				return Existing->second;
			}
			if (FindType == FNAME_Find)
			{
				return 0;
			}
			const int32 NewIndex = Entries.Add(FString(static_cast<int32>(Name.size()), Name.data()));
			Lookup.emplace(std::wstring(Name), NewIndex);
			return NewIndex;
		}

		FString GetEntry(int32 Index)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return Entries[Index];
		}
	};

	std::wstring_view ViewOf(const FString& Text)
	{
		return std::wstring_view(*Text, static_cast<std::size_t>(Text.Len()));
	}
}

FName::FName(const WIDECHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(Name ? std::wstring_view(Name) : std::wstring_view(), FindType))
{
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(ViewOf(FString(Name)), FindType))
{
}

FName::FName(const FString& Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(ViewOf(Name), FindType))
{
}

FName::FName(int32 Len, const TCHAR* Name, EFindName FindType)
	: Index(FNameTable::Get().FindOrAdd(Name && Len > 0 ? std::wstring_view(Name, static_cast<std::size_t>(Len)) : std::wstring_view(), FindType))
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
