#include "HAL/FileManager.h"
#include "Serialization/Archive.h"
#include "Misc/Paths.h"
#include "Misc/OutputDevice.h"
#include "Containers/StringConv.h"
#include "Logging/LogMacros.h"

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if PLATFORM_WINDOWS
	#include <io.h>
	#include <sys/stat.h>
	#include <sys/types.h>
#else
	#include <sys/stat.h>
	#include <unistd.h>
#endif

DEFINE_LOG_CATEGORY_STATIC(LogFileManager, Log, All);

// --- FArchive ----------------------------------------------------------------------------------

FArchive::FArchive() = default;
FArchive::FArchive(const FArchive&) = default;
FArchive& FArchive::operator=(const FArchive&) = default;
FArchive::~FArchive() = default;

FString FArchive::GetArchiveName() const
{
	return TEXT("FArchive");
}

FArchive& FArchive::operator<<(bool& D)
{
	uint32 OldUBoolValue = D ? 1 : 0;
	Serialize(&OldUBoolValue, sizeof(OldUBoolValue));
	if (OldUBoolValue > 1)
	{
		UE_LOG(LogFileManager, Error, TEXT("Invalid boolean encountered while reading archive %s - stream is most likely corrupted."), *GetArchiveName());
		SetError();
	}
	D = !!OldUBoolValue;
	return *this;
}

void FArchive::LogfImpl(const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	const FString Text = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	for (int32 Index = 0; Index < Text.Len(); ++Index)
	{
		const uint32 Code = static_cast<uint32>(Text[Index]);
		ANSICHAR Char = Code < 0x80 ? static_cast<ANSICHAR>(Code) : '?';
		Serialize(&Char, 1);
	}
	for (const ANSICHAR* Terminator = LINE_TERMINATOR_ANSI; *Terminator; ++Terminator)
	{
		ANSICHAR Char = *Terminator;
		Serialize(&Char, 1);
	}
}

// --- Files through the C library ----------------------------------------------------------------

namespace
{
	std::FILE* OpenFile(const TCHAR* Filename, const TCHAR* Mode)
	{
#if PLATFORM_WINDOWS
		return _wfopen(Filename, Mode);
#else
		const FTCHARToUTF8 Path(Filename);
		const FTCHARToUTF8 NarrowMode(Mode);
		return std::fopen(Path.Get(), NarrowMode.Get());
#endif
	}

	std::filesystem::path ToPath(const TCHAR* Filename)
	{
#if PLATFORM_WINDOWS
		return std::filesystem::path(std::wstring(Filename));
#else
		// Narrow paths are UTF-8 here.
		const FTCHARToUTF8 Utf8(Filename);
		return std::filesystem::path(std::string(Utf8.Get()));
#endif
	}

	FString FromPath(const std::filesystem::path& Path)
	{
#if PLATFORM_WINDOWS
		return FString(Path.wstring().c_str());
#else
		const std::string Utf8 = Path.string();
		return FString(reinterpret_cast<const UTF8CHAR*>(Utf8.c_str()));
#endif
	}

	int64 SizeOfOpenFile(std::FILE* File)
	{
#if PLATFORM_WINDOWS
		struct _stat64 Info;
		return _fstat64(_fileno(File), &Info) == 0 ? static_cast<int64>(Info.st_size) : static_cast<int64>(INDEX_NONE);
#else
		struct stat Info;
		return fstat(fileno(File), &Info) == 0 ? static_cast<int64>(Info.st_size) : static_cast<int64>(INDEX_NONE);
#endif
	}

	bool SeekFile(std::FILE* File, int64 Pos, int Origin)
	{
#if PLATFORM_WINDOWS
		return _fseeki64(File, Pos, Origin) == 0;
#else
		return fseeko(File, static_cast<off_t>(Pos), Origin) == 0;
#endif
	}

	/** Reads a whole file's worth of requests, failing (and setting the error) past its end. */
	class FArchiveFileReader final : public FArchive
	{
	public:
		FArchiveFileReader(std::FILE* InFile, const TCHAR* InFilename, int64 InSize, uint32 InFlags)
			: File(InFile)
			, Filename(InFilename)
			, Size(InSize)
			, Flags(InFlags)
		{
			SetIsLoading(true);
			SetIsPersistent(true);
		}

		virtual ~FArchiveFileReader() override { Close(); }

		virtual void Serialize(void* V, int64 Length) override
		{
			if (Pos + Length > Size)
			{
				SetError();
				UE_CLOG(!IsSilent(), LogFileManager, Error, TEXT("Requested read of %lld bytes when %lld bytes remain (file=%s, size=%lld)"),
					Length, Size - Pos, *Filename, Size);
				return;
			}
			if (Length > 0 && std::fread(V, 1, static_cast<size_t>(Length), File) != static_cast<size_t>(Length))
			{
				SetError();
				UE_CLOG(!IsSilent(), LogFileManager, Warning, TEXT("ReadFile failed: Length=%lld for file %s"), Length, *Filename);
			}
			Pos += Length;
		}

		virtual int64 Tell() override { return Pos; }
		virtual int64 TotalSize() override { return Size; }

		virtual void Seek(int64 InPos) override
		{
			checkf(InPos >= 0, TEXT("Attempted to seek to a negative location (%lld/%lld), file: %s. The file is most likely corrupt."), InPos, Size, *Filename);
			checkf(InPos <= Size, TEXT("Attempted to seek past the end of file (%lld/%lld), file: %s. The file is most likely corrupt."), InPos, Size, *Filename);
			if (!SeekFile(File, InPos, SEEK_SET))
			{
				SetError();
				UE_CLOG(!IsSilent(), LogFileManager, Error, TEXT("SetFilePointer on %s Failed %lld/%lld: %lld"), *Filename, InPos, Size, Pos);
			}
			Pos = InPos;
		}

		virtual bool Close() override
		{
			if (File)
			{
				std::fclose(File);
				File = nullptr;
			}
			return !IsError();
		}

		virtual FString GetArchiveName() const override { return Filename; }

	private:
		bool IsSilent() const { return (Flags & FILEREAD_Silent) != 0; }

		std::FILE* File;
		FString Filename;
		int64 Size;
		int64 Pos = 0;
		uint32 Flags;
	};

	/** Writes through the C library's buffer: bytes reach the file on Flush, TotalSize, Seek, Close or destruction. */
	class FArchiveFileWriter final : public FArchive
	{
	public:
		FArchiveFileWriter(std::FILE* InFile, const TCHAR* InFilename, int64 InPos)
			: File(InFile)
			, Filename(InFilename)
			, Pos(InPos)
		{
			SetIsSaving(true);
			SetIsPersistent(true);
		}

		virtual ~FArchiveFileWriter() override { Close(); }

		virtual void Serialize(void* V, int64 Length) override
		{
			Pos += Length;
			if (Length > 0 && std::fwrite(V, 1, static_cast<size_t>(Length), File) != static_cast<size_t>(Length))
			{
				SetError();
				LogWriteError(TEXT("Error writing to file"));
			}
		}

		virtual int64 Tell() override { return Pos; }

		virtual int64 TotalSize() override
		{
			// Everything written so far counts.
			Flush();
			return SizeOfOpenFile(File);
		}

		virtual void Seek(int64 InPos) override
		{
			std::fflush(File);
			if (!SeekFile(File, InPos, SEEK_SET))
			{
				SetError();
				LogWriteError(TEXT("Error seeking file"));
			}
			Pos = InPos;
		}

		virtual void Flush() override
		{
			if (File && std::fflush(File) != 0)
			{
				SetError();
				LogWriteError(TEXT("Error flushing file"));
			}
		}

		virtual bool Close() override
		{
			if (File)
			{
				if (std::fclose(File) != 0)
				{
					SetError();
					LogWriteError(TEXT("Error closing file"));
				}
				File = nullptr;
			}
			return !IsError();
		}

		virtual FString GetArchiveName() const override { return Filename; }

	private:
		void LogWriteError(const TCHAR* Message)
		{
			// No re-entry when the log itself writes a file that fails.
			if (!bLoggingError)
			{
				bLoggingError = true;
				UE_LOG(LogFileManager, Error, TEXT("%s: %s"), Message, *Filename);
				bLoggingError = false;
			}
		}

		std::FILE* File;
		FString Filename;
		int64 Pos;
		bool bLoggingError = false;
	};

	class FFileManagerGeneric final : public IFileManager
	{
	public:
		virtual FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags) override
		{
			std::FILE* File = DirectoryExists(Filename) ? nullptr : OpenFile(Filename, TEXT("rb"));
			if (!File)
			{
				if (ReadFlags & FILEREAD_NoFail)
				{
					UE_LOG(LogFileManager, Fatal, TEXT("Failed to read file: %s"), Filename);
				}
				return nullptr;
			}
			return new FArchiveFileReader(File, Filename, SizeOfOpenFile(File), ReadFlags);
		}

		virtual FArchive* CreateFileWriter(const TCHAR* Filename, uint32 WriteFlags) override
		{
			if (WriteFlags & FILEWRITE_EvenIfReadOnly)
			{
				SetReadOnly(Filename, false);
			}
			std::FILE* File = OpenForWrite(Filename, (WriteFlags & FILEWRITE_Append) != 0);
			if (!File)
			{
				// The directories on the path may be missing.
				MakeDirectory(*FPaths::GetPath(Filename), true);
				File = OpenForWrite(Filename, (WriteFlags & FILEWRITE_Append) != 0);
			}
			if (!File)
			{
				if (WriteFlags & FILEWRITE_NoFail)
				{
					UE_LOG(LogFileManager, Fatal, TEXT("Failed to create file: %s"), Filename);
				}
				return nullptr;
			}
			const int64 StartPos = (WriteFlags & FILEWRITE_Append) ? SizeOfOpenFile(File) : 0;
			return new FArchiveFileWriter(File, Filename, StartPos);
		}

		virtual bool IsReadOnly(const TCHAR* Filename) override
		{
			std::error_code Error;
			const std::filesystem::file_status Status = std::filesystem::status(ToPath(Filename), Error);
			if (Error || !std::filesystem::exists(Status))
			{
				return false;
			}
			return (Status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
		}

		virtual bool Delete(const TCHAR* Filename, bool RequireExists, bool EvenReadOnly, bool Quiet) override
		{
			const bool bExists = FileExists(Filename);
			if (RequireExists && !bExists)
			{
				if (!Quiet)
				{
					UE_LOG(LogFileManager, Warning, TEXT("Could not delete %s because it doesn't exist."), Filename);
				}
				return false;
			}
			if (bExists)
			{
				if (EvenReadOnly)
				{
					SetReadOnly(Filename, false);
				}
				std::error_code Error;
				if (!std::filesystem::remove(ToPath(Filename), Error))
				{
					if (!Quiet)
					{
						UE_LOG(LogFileManager, Warning, TEXT("Error deleting file: %s (Error Code %i)"), Filename, Error.value());
					}
					return false;
				}
			}
			return true;
		}

		virtual bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes, bool bDoNotRetryOrError) override
		{
			(void)Attributes;
			MakeDirectory(*FPaths::GetPath(Dest), true);
			std::error_code Error;
			if (FileExists(Dest))
			{
				if (!Replace)
				{
					return false;
				}
				if (EvenIfReadOnly)
				{
					SetReadOnly(Dest, false);
				}
				std::filesystem::remove(ToPath(Dest), Error);
			}
			std::filesystem::rename(ToPath(Src), ToPath(Dest), Error);
			if (Error)
			{
				if (!bDoNotRetryOrError)
				{
					UE_LOG(LogFileManager, Error, TEXT("Error moving file '%s' to '%s'."), Src, Dest);
				}
				return false;
			}
			return true;
		}

		virtual bool FileExists(const TCHAR* Filename) override
		{
			std::error_code Error;
			return std::filesystem::is_regular_file(ToPath(Filename), Error);
		}

		virtual bool DirectoryExists(const TCHAR* InDirectory) override
		{
			std::error_code Error;
			return std::filesystem::is_directory(ToPath(InDirectory), Error);
		}

		virtual bool MakeDirectory(const TCHAR* Path, bool Tree) override
		{
			if (!Path || !*Path)
			{
				return false;
			}
			std::error_code Error;
			const std::filesystem::path Target = ToPath(Path);
			if (Tree)
			{
				std::filesystem::create_directories(Target, Error);
			}
			else
			{
				std::filesystem::create_directory(Target, Error);
			}
			return std::filesystem::is_directory(Target, Error);
		}

		virtual bool DeleteDirectory(const TCHAR* Path, bool RequireExists, bool Tree) override
		{
			std::error_code Error;
			const std::filesystem::path Target = ToPath(Path);
			bool bSucceeded = false;
			if (std::filesystem::is_directory(Target, Error))
			{
				if (Tree)
				{
					bSucceeded = std::filesystem::remove_all(Target, Error) != static_cast<std::uintmax_t>(-1) && !Error;
				}
				else
				{
					bSucceeded = std::filesystem::remove(Target, Error);
				}
			}
			if (!bSucceeded && !RequireExists)
			{
				bSucceeded = !std::filesystem::is_directory(Target, Error);
			}
			return bSucceeded;
		}

		virtual void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories) override
		{
			FString Pattern(Filename);
			FPaths::NormalizeFilename(Pattern);
			FString Wildcard = FPaths::GetCleanFilename(Pattern);
			if (Wildcard == TEXT("*.*"))
			{
				Wildcard = TEXT("*");
			}
			const FString Directory = FPaths::GetPath(Pattern);
			std::error_code Error;
			for (std::filesystem::directory_iterator It(ToPath(Directory.IsEmpty() ? TEXT(".") : *Directory), Error), End; !Error && It != End; It.increment(Error))
			{
				const bool bIsDirectory = It->is_directory(Error);
				if ((bIsDirectory && Directories) || (!bIsDirectory && Files))
				{
					const FString Name = FromPath(It->path().filename());
					if (MatchesWildcard(*Name, *Wildcard))
					{
						FileNames.Add(Name);
					}
				}
			}
		}

		virtual FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename) override
		{
			return FPaths::ConvertRelativePathToFull(Filename);
		}

		virtual FString ConvertToAbsolutePathForExternalAppForWrite(const TCHAR* Filename) override
		{
			return FPaths::ConvertRelativePathToFull(Filename);
		}

		virtual int64 FileSize(const TCHAR* Filename) override
		{
			std::error_code Error;
			const std::filesystem::path Target = ToPath(Filename);
			if (!std::filesystem::is_regular_file(Target, Error))
			{
				return INDEX_NONE;
			}
			const std::uintmax_t Size = std::filesystem::file_size(Target, Error);
			return Error ? static_cast<int64>(INDEX_NONE) : static_cast<int64>(Size);
		}

	private:
		static std::FILE* OpenForWrite(const TCHAR* Filename, bool bAppend)
		{
			if (!bAppend)
			{
				return OpenFile(Filename, TEXT("wb"));
			}
			// Keep the contents and start at their end; seeking back and overwriting stays possible (no "a" mode).
			std::FILE* File = OpenFile(Filename, TEXT("r+b"));
			if (!File)
			{
				File = OpenFile(Filename, TEXT("w+b"));
			}
			if (File && !SeekFile(File, 0, SEEK_END))
			{
				std::fclose(File);
				File = nullptr;
			}
			return File;
		}

		static void SetReadOnly(const TCHAR* Filename, bool bReadOnly)
		{
			std::error_code Error;
			std::filesystem::permissions(ToPath(Filename), std::filesystem::perms::owner_write,
				bReadOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add, Error);
		}

		/** '*' matches any run of characters, '?' any one; letter case is ignored, as on Windows. */
		static bool MatchesWildcard(const TCHAR* Name, const TCHAR* Wildcard)
		{
			if (*Wildcard == 0)
			{
				return *Name == 0;
			}
			if (*Wildcard == TCHAR('*'))
			{
				for (const TCHAR* Rest = Name;; ++Rest)
				{
					if (MatchesWildcard(Rest, Wildcard + 1))
					{
						return true;
					}
					if (*Rest == 0)
					{
						return false;
					}
				}
			}
			if (*Name == 0)
			{
				return false;
			}
			if (*Wildcard == TCHAR('?') || FChar::ToLower(*Wildcard) == FChar::ToLower(*Name))
			{
				return MatchesWildcard(Name + 1, Wildcard + 1);
			}
			return false;
		}
	};
}

IFileManager& IFileManager::Get()
{
	static FFileManagerGeneric Singleton;
	return Singleton;
}
