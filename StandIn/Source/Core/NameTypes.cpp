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

	/**
	 * The process-wide name table: one comparison entry per case-insensitive spelling (its first spelling), and one
	 * display entry per exact spelling, which knows its comparison entry.
	 */
	struct FNameTable
	{
		std::mutex Mutex;
		TArray<FString> Entries;
		TArray<int32> ComparisonOf;
		std::unordered_map<std::wstring, int32, FNoCaseHash, FNoCaseEqual> Lookup;
		std::unordered_map<std::wstring, int32> ExactLookup;

		FNameTable()
		{
			Entries.Add(FString(TEXT("None")));
			ComparisonOf.Add(0);
			Lookup.emplace(L"None", 0);
			ExactLookup.emplace(L"None", 0);
		}

		static FNameTable& Get()
		{
			static FNameTable* Table = new FNameTable(); // never destroyed: names outlive static teardown
			return *Table;
		}

		int32 AddEntry(std::wstring_view Name, int32 Comparison)
		{
			const int32 NewIndex = Entries.Add(FString(static_cast<int32>(Name.size()), Name.data()));
			ComparisonOf.Add(Comparison < 0 ? NewIndex : Comparison);
			ExactLookup.emplace(std::wstring(Name), NewIndex);
			return NewIndex;
		}

		/** The comparison and display entries of a spelling; {0, 0} when FindType is FNAME_Find and it is unknown. */
		std::pair<int32, int32> FindOrAdd(std::wstring_view Name, EFindName FindType)
		{
			if (Name.empty())
			{
				return {0, 0};
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			const auto Existing = Lookup.find(Name);
			if (Existing == Lookup.end())
			{
				if (FindType == FNAME_Find)
				{
					return {0, 0};
				}
				const int32 NewIndex = AddEntry(Name, -1);
				Lookup.emplace(std::wstring(Name), NewIndex);
				return {NewIndex, NewIndex};
			}
			const int32 Comparison = Existing->second;
			if (FindType == FNAME_Replace_Not_Safe_For_Threading)
			{
				Entries[Comparison] = FString(static_cast<int32>(Name.size()), Name.data());
				return {Comparison, Comparison};
			}
			if (const auto Exact = ExactLookup.find(std::wstring(Name)); Exact != ExactLookup.end())
			{
				return {Comparison, Exact->second};
			}
			return {Comparison, AddEntry(Name, Comparison)};
		}

		FString GetEntry(int32 Index)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return Entries[Index];
		}
	};
}

FName::FIndices FName::IndicesOf(const TCHAR* Name, int32 Len, EFindName FindType)
{
	const std::wstring_view View = Name && Len > 0 ? std::wstring_view(Name, static_cast<std::size_t>(Len)) : std::wstring_view();
	const std::pair<int32, int32> Found = FNameTable::Get().FindOrAdd(View, FindType);
	return {Found.first, Found.second};
}

FName::FName(const WIDECHAR* Name, EFindName FindType)
	: FName(IndicesOf(Name, Name ? static_cast<int32>(std::wstring_view(Name).size()) : 0, FindType))
{
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
	: FName(FString(Name), FindType)
{
}

FName::FName(const FString& Name, EFindName FindType)
	: FName(IndicesOf(*Name, Name.Len(), FindType))
{
}

FName::FName(int32 Len, const TCHAR* Name, EFindName FindType)
	: FName(IndicesOf(Name, Len, FindType))
{
}

FString FName::ToString() const
{
	return FNameTable::Get().GetEntry(DisplayIndex);
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
