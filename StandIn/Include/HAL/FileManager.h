// IFileManager: files and directories on disk. File archives read and write through the C library (wide paths
// on Windows); writes are buffered until Flush, TotalSize, Seek, Close or destruction. Relative paths are taken
// from the current directory.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"

class FArchive;

enum EFileWrite
{
	FILEWRITE_None = 0x00,
	/** A file that cannot be created is a fatal error. */
	FILEWRITE_NoFail = 0x01,
	/** Only honoured by Copy (CreateFileWriter ignores it, as the engine's generic file manager does). */
	FILEWRITE_NoReplaceExisting = 0x02,
	/** Clears the read-only attribute of an existing file first. */
	FILEWRITE_EvenIfReadOnly = 0x04,
	/** Keeps the existing contents and writes after them. */
	FILEWRITE_Append = 0x08,
	/** Lets other handles read the file while it is written. */
	FILEWRITE_AllowRead = 0x10,
	FILEWRITE_Silent = 0x20
};

enum EFileRead
{
	FILEREAD_None = 0x00,
	/** A file that cannot be opened is a fatal error. */
	FILEREAD_NoFail = 0x01,
	/** Read errors are not logged. */
	FILEREAD_Silent = 0x02,
	FILEREAD_AllowWrite = 0x04,
};

enum ECopyResult
{
	COPY_OK = 0x00,
	COPY_Fail = 0x01,
	COPY_Canceled = 0x02,
};

class IFileManager
{
protected:
	IFileManager() {}

public:
	/** The file manager singleton. */
	static CORE_API IFileManager& Get();

	/**
	 * Opens a file for reading. The caller deletes the archive.
	 * @return the archive, or nullptr if the file cannot be opened
	 */
	virtual FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags = 0) = 0;

	/**
	 * Opens a file for writing, creating the directories on its path if needed; without FILEWRITE_Append an
	 * existing file is emptied. The caller deletes the archive.
	 * @return the archive, or nullptr if the file cannot be created
	 */
	virtual FArchive* CreateFileWriter(const TCHAR* Filename, uint32 WriteFlags = 0) = 0;

	virtual bool IsReadOnly(const TCHAR* Filename) = 0;

	/** Deletes a file; true if it is gone (or, without RequireExists, was never there). */
	virtual bool Delete(const TCHAR* Filename, bool RequireExists = 0, bool EvenReadOnly = 0, bool Quiet = 0) = 0;

	/** Moves or renames a file, creating the destination's directories. */
	virtual bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace = 1, bool EvenIfReadOnly = 0, bool Attributes = 0, bool bDoNotRetryOrError = 0) = 0;

	/** Whether a file (not a directory) exists. */
	virtual bool FileExists(const TCHAR* Filename) = 0;
	virtual bool DirectoryExists(const TCHAR* InDirectory) = 0;

	/** Creates a directory (with Tree, also its missing parents); true if it exists afterwards. */
	virtual bool MakeDirectory(const TCHAR* Path, bool Tree = 0) = 0;

	/** Deletes a directory (with Tree, also its contents); without RequireExists a missing directory counts as deleted. */
	virtual bool DeleteDirectory(const TCHAR* Path, bool RequireExists = 0, bool Tree = 0) = 0;

	/** Names (without path) of the files and/or directories matching Filename's wildcard (* and ?) in its directory. */
	virtual void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories) = 0;

	virtual FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename) = 0;
	virtual FString ConvertToAbsolutePathForExternalAppForWrite(const TCHAR* Filename) = 0;

	/** Size of a file in bytes, or INDEX_NONE if there is no such file. */
	virtual int64 FileSize(const TCHAR* Filename) = 0;

protected:
	virtual ~IFileManager() {}
};
