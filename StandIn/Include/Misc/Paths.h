// FPaths: the engine's path helpers. The stand-in's project directory is the environment variable
// KORVAT_PROJECT_DIR if set, else the current directory, with '/' separators and a trailing '/'. Like the engine,
// the project directory and ProjectSavedDir are worked out once, on first use, and kept for the process.
// Relative paths are made full against the current directory (the engine uses the executable's directory, which
// is the current directory of a launched game).
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Templates/UnrealTemplate.h"

#include <type_traits>

class FPaths
{
public:
	/** The project directory, ending in '/'. */
	static CORE_API FString ProjectDir();
	/** The root of the files the user's runs of the project make (the project directory here). */
	static CORE_API FString ProjectUserDir();
	static CORE_API FString ProjectContentDir();
	static CORE_API FString ProjectConfigDir();
	/** ProjectUserDir() + "Saved/". */
	static CORE_API const FString& ProjectSavedDir();
	static CORE_API FString ProjectIntermediateDir();
	static CORE_API FString ProjectPluginsDir();
	/** ProjectSavedDir() + "Logs/". */
	static CORE_API FString ProjectLogDir();

	/** The extension after the last '.' of the file name, with or without the dot; empty if there is none. */
	static CORE_API FString GetExtension(const FString& InPath, bool bIncludeDot = false);
	/** The file name with extension, without the path (empty for a path that ends in a separator). */
	static CORE_API FString GetCleanFilename(const FString& InPath);
	static CORE_API FString GetBaseFilename(const FString& InPath, bool bRemovePath = true);
	/** Everything before the last '/' or '\' (empty if there is none). */
	static CORE_API FString GetPath(const FString& InPath);
	/** The last element of the path, ignoring trailing separators. */
	static CORE_API FString GetPathLeaf(const FString& InPath);
	static CORE_API FString ChangeExtension(const FString& InPath, const FString& InNewExtension);
	static CORE_API FString SetExtension(const FString& InPath, const FString& InNewExtension);

	static CORE_API bool FileExists(const FString& InPath);
	static CORE_API bool DirectoryExists(const FString& InPath);

	/** False for "/...", "\\...", and "<letter>:..." paths; true otherwise. */
	static CORE_API bool IsRelative(const FString& InPath);
	/** Turns every '\' into '/'. */
	static CORE_API void NormalizeFilename(FString& InPath);
	/** Normalizes the separators and removes one trailing '/' (not of "//" or ":/"). */
	static CORE_API void NormalizeDirectoryName(FString& InPath);
	/** Removes "." elements and folds "dir/.." pairs; false (path unchanged past that point) if a ".." cannot be folded. */
	static CORE_API bool CollapseRelativeDirectories(FString& InPath);
	static CORE_API void RemoveDuplicateSlashes(FString& InPath);
	static CORE_API FString RemoveDuplicateSlashes(const FString& InPath);

	/** The full path of InPath relative to the current directory, '/' separated, with "." and ".." folded. */
	static CORE_API FString ConvertRelativePathToFull(const FString& InPath);
	/** The full path of InPath relative to BasePath (InPath is kept if it is not relative). */
	static CORE_API FString ConvertRelativePathToFull(const FString& BasePath, const FString& InPath);

	/**
	 * Joins the pieces with '/', as FString's operator/= does: no '/' is added after a piece ending in '/' or '\' or
	 * before a piece starting with '/', and an empty piece after a non-empty one adds a trailing '/'.
	 */
	template <typename... PathTypes>
	FORCEINLINE static FString Combine(PathTypes&&... InPaths)
	{
		const FString Pieces[] = {FString(Forward<PathTypes>(InPaths))...};
		return CombineInternal(Pieces, static_cast<int32>(sizeof...(PathTypes)));
	}

protected:
	static CORE_API FString CombineInternal(const FString* Paths, int32 NumPaths);
};
