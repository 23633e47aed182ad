#include "Misc/Paths.h"
#include "HAL/FileManager.h"
#include "Containers/StringConv.h"

#include <cstdlib>
#include <mutex>

#if PLATFORM_WINDOWS
	#include <direct.h>
#else
	#include <unistd.h>
#endif

namespace
{
	bool IsSlashOrBackslash(TCHAR C)
	{
		return C == TCHAR('/') || C == TCHAR('\\');
	}

	int32 FindLastSeparator(const FString& InPath, int32 Before)
	{
		for (int32 Index = (Before < InPath.Len() ? Before : InPath.Len()) - 1; Index >= 0; --Index)
		{
			if (IsSlashOrBackslash(InPath[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	int32 FindLastNonSeparator(const FString& InPath)
	{
		for (int32 Index = InPath.Len() - 1; Index >= 0; --Index)
		{
			if (!IsSlashOrBackslash(InPath[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	FString CurrentDirectory()
	{
#if PLATFORM_WINDOWS
		wchar_t* Buffer = _wgetcwd(nullptr, 0);
		FString Result(Buffer ? Buffer : L"");
		std::free(Buffer);
#else
		char* Buffer = getcwd(nullptr, 0);
		FString Result(reinterpret_cast<const UTF8CHAR*>(Buffer ? Buffer : ""));
		std::free(Buffer);
#endif
		FPaths::NormalizeFilename(Result);
		return Result;
	}

	FString ProjectDirectoryFromEnvironment()
	{
#if PLATFORM_WINDOWS
		const wchar_t* Value = _wgetenv(L"KORVAT_PROJECT_DIR");
		FString Result(Value ? Value : L"");
#else
		const char* Value = std::getenv("KORVAT_PROJECT_DIR");
		FString Result(reinterpret_cast<const UTF8CHAR*>(Value ? Value : ""));
#endif
		return Result;
	}

	/** The engine appends with operator/=: a '/' between pieces unless one side already has it. */
	void PathAppend(FString& Out, const FString& Piece)
	{
		if (Piece.IsEmpty())
		{
			if (!Out.IsEmpty() && !IsSlashOrBackslash(Out[Out.Len() - 1]))
			{
				Out += TEXT("/");
			}
			return;
		}
		if (!Out.IsEmpty() && !IsSlashOrBackslash(Out[Out.Len() - 1]) && Piece[0] != TCHAR('/'))
		{
			Out += TEXT("/");
		}
		Out += Piece;
	}
}

FString FPaths::ProjectDir()
{
	// Worked out once, as the engine's platform layer does.
	static const FString Directory = []() {
		FString Result = ProjectDirectoryFromEnvironment();
		if (Result.IsEmpty())
		{
			Result = CurrentDirectory();
		}
		NormalizeFilename(Result);
		if (!Result.EndsWith(TEXT("/"), ESearchCase::CaseSensitive))
		{
			Result += TEXT("/");
		}
		return Result;
	}();
	return Directory;
}

FString FPaths::ProjectUserDir()
{
	return ProjectDir();
}

FString FPaths::ProjectContentDir()
{
	return ProjectDir() + TEXT("Content/");
}

FString FPaths::ProjectConfigDir()
{
	return ProjectDir() + TEXT("Config/");
}

const FString& FPaths::ProjectSavedDir()
{
	static const FString SavedDir = ProjectUserDir() + TEXT("Saved/");
	return SavedDir;
}

FString FPaths::ProjectIntermediateDir()
{
	return ProjectUserDir() + TEXT("Intermediate/");
}

FString FPaths::ProjectPluginsDir()
{
	return ProjectDir() + TEXT("Plugins/");
}

FString FPaths::ProjectLogDir()
{
	return ProjectSavedDir() + TEXT("Logs/");
}

FString FPaths::GetExtension(const FString& InPath, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(InPath);
	const int32 DotPos = Filename.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (DotPos != INDEX_NONE)
	{
		return Filename.Mid(DotPos + (bIncludeDot ? 0 : 1));
	}
	return FString();
}

FString FPaths::GetCleanFilename(const FString& InPath)
{
	const int32 EndPos = FindLastNonSeparator(InPath) + 1;
	const int32 StartPos = FindLastSeparator(InPath, InPath.Len()) + 1;
	return StartPos <= EndPos ? InPath.Mid(StartPos, EndPos - StartPos) : FString();
}

FString FPaths::GetBaseFilename(const FString& InPath, bool bRemovePath)
{
	FString Wk = bRemovePath ? GetCleanFilename(InPath) : InPath;
	const int32 ExtPos = Wk.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (ExtPos != INDEX_NONE)
	{
		const int32 LeafPos = bRemovePath ? INDEX_NONE : FindLastSeparator(Wk, Wk.Len());
		if (LeafPos == INDEX_NONE || ExtPos > LeafPos)
		{
			Wk.LeftInline(ExtPos);
		}
	}
	return Wk;
}

FString FPaths::GetPath(const FString& InPath)
{
	const int32 Pos = FindLastSeparator(InPath, InPath.Len());
	return Pos != INDEX_NONE ? InPath.Left(Pos) : FString();
}

FString FPaths::GetPathLeaf(const FString& InPath)
{
	const int32 EndPos = FindLastNonSeparator(InPath) + 1;
	const int32 StartPos = FindLastSeparator(InPath, EndPos) + 1;
	return InPath.Mid(StartPos, EndPos - StartPos);
}

FString FPaths::ChangeExtension(const FString& InPath, const FString& InNewExtension)
{
	int32 Pos = INDEX_NONE;
	if (InPath.FindLastChar(TCHAR('.'), Pos))
	{
		const int32 PathEndPos = FindLastSeparator(InPath, InPath.Len());
		if (PathEndPos != INDEX_NONE && PathEndPos > Pos)
		{
			// The dot is in the path, not the name.
			Pos = INDEX_NONE;
		}
	}
	if (Pos == INDEX_NONE)
	{
		return InPath;
	}
	FString Result = InPath.Left(Pos);
	if (InNewExtension.Len() && InNewExtension[0] != TCHAR('.'))
	{
		Result += TEXT(".");
	}
	Result += InNewExtension;
	return Result;
}

FString FPaths::SetExtension(const FString& InPath, const FString& InNewExtension)
{
	int32 Pos = INDEX_NONE;
	if (InPath.FindLastChar(TCHAR('.'), Pos))
	{
		const int32 PathEndPos = FindLastSeparator(InPath, InPath.Len());
		if (PathEndPos != INDEX_NONE && PathEndPos > Pos)
		{
			Pos = INDEX_NONE;
		}
	}
	FString Result = Pos == INDEX_NONE ? InPath : InPath.Left(Pos);
	if (InNewExtension.Len() && InNewExtension[0] != TCHAR('.'))
	{
		Result += TEXT(".");
	}
	Result += InNewExtension;
	return Result;
}

bool FPaths::FileExists(const FString& InPath)
{
	return IFileManager::Get().FileExists(*InPath);
}

bool FPaths::DirectoryExists(const FString& InPath)
{
	return IFileManager::Get().DirectoryExists(*InPath);
}

bool FPaths::IsRelative(const FString& InPath)
{
	const int32 PathLen = InPath.Len();
	const bool bIsRooted = PathLen
		&& ((InPath[0] == TCHAR('/'))
			|| (PathLen >= 2 && ((InPath[0] == TCHAR('\\') && InPath[1] == TCHAR('\\')) || (InPath[1] == TCHAR(':') && FChar::IsAlpha(InPath[0])))));
	return !bIsRooted;
}

void FPaths::NormalizeFilename(FString& InPath)
{
	InPath.ReplaceCharInline(TCHAR('\\'), TCHAR('/'), ESearchCase::CaseSensitive);
}

void FPaths::NormalizeDirectoryName(FString& InPath)
{
	NormalizeFilename(InPath);
	if (InPath.EndsWith(TEXT("/"), ESearchCase::CaseSensitive) && !InPath.EndsWith(TEXT("//"), ESearchCase::CaseSensitive)
		&& !InPath.EndsWith(TEXT(":/"), ESearchCase::CaseSensitive))
	{
		InPath.LeftChopInline(1);
	}
}

bool FPaths::CollapseRelativeDirectories(FString& InPath)
{
	// Element by element: "." goes, "name/.." folds away. A leading ".." (or one that would eat a drive) cannot fold.
	TArray<FString> Elements;
	int32 Start = 0;
	for (int32 Index = 0; Index <= InPath.Len(); ++Index)
	{
		if (Index == InPath.Len() || InPath[Index] == TCHAR('/'))
		{
			Elements.Add(InPath.Mid(Start, Index - Start));
			Start = Index + 1;
		}
	}

	TArray<FString> Kept;
	bool bAllCollapsed = true;
	for (int32 Index = 0; Index < Elements.Num(); ++Index)
	{
		const FString& Element = Elements[Index];
		if (Element == TEXT(".") && !(Index == 0 && Elements.Num() == 1))
		{
			continue;
		}
		if (Element.Equals(TEXT(".."), ESearchCase::CaseSensitive))
		{
			const bool bCanFold = Kept.Num() > 0 && !Kept.Last().IsEmpty() && !Kept.Last().Equals(TEXT(".."), ESearchCase::CaseSensitive)
				&& !Kept.Last().EndsWith(TEXT(":"), ESearchCase::CaseSensitive);
			if (bCanFold)
			{
				// "a/b/.." is "a", "a/b/../" is "a/".
				Kept.Pop();
				continue;
			}
			bAllCollapsed = false;
		}
		Kept.Add(Element);
	}
	if (bAllCollapsed)
	{
		InPath = FString::Join(Kept, TEXT("/"));
	}
	return bAllCollapsed;
}

void FPaths::RemoveDuplicateSlashes(FString& InPath)
{
	while (InPath.ReplaceInline(TEXT("//"), TEXT("/"), ESearchCase::CaseSensitive) > 0)
	{
	}
}

FString FPaths::RemoveDuplicateSlashes(const FString& InPath)
{
	FString Result = InPath;
	RemoveDuplicateSlashes(Result);
	return Result;
}

FString FPaths::ConvertRelativePathToFull(const FString& InPath)
{
	return ConvertRelativePathToFull(CurrentDirectory(), InPath);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& InPath)
{
	FString FullyPathed;
	if (IsRelative(InPath))
	{
		FullyPathed = BasePath;
		PathAppend(FullyPathed, InPath);
	}
	else
	{
		FullyPathed = InPath;
	}
	NormalizeFilename(FullyPathed);
	CollapseRelativeDirectories(FullyPathed);
	if (FullyPathed.Len() == 0)
	{
		// An empty path is not absolute; '/' is the best guess on every platform.
		FullyPathed = TEXT("/");
	}
	return FullyPathed;
}

FString FPaths::CombineInternal(const FString* Paths, int32 NumPaths)
{
	check(Paths && NumPaths > 0);
	FString CombinedPath = Paths[0];
	for (int32 Index = 1; Index < NumPaths; ++Index)
	{
		PathAppend(CombinedPath, Paths[Index]);
	}
	return CombinedPath;
}
