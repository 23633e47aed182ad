// FArchive: the engine's base class for loading and saving bytes. The base does nothing with the bytes; archives
// made by IFileManager read and write real files. Values are serialized in the platform's (little-endian) byte order.
// The engine keeps the flags in a private FArchiveState base; here they live in FArchive itself.
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Templates/IsValidVariadicFunctionArg.h"

class CORE_API FArchive
{
public:
	FArchive();
	FArchive(const FArchive&);
	FArchive& operator=(const FArchive&);
	virtual ~FArchive();

	/** Loads into or saves from V, Length bytes. */
	virtual void Serialize(void* V, int64 Length)
	{
		(void)V;
		(void)Length;
	}

	/** A name for the archive, for messages. */
	virtual FString GetArchiveName() const;

	/** The current position, or INDEX_NONE if the archive has none. */
	virtual int64 Tell() { return INDEX_NONE; }
	/** The total size, or INDEX_NONE if the archive has none. */
	virtual int64 TotalSize() { return INDEX_NONE; }
	virtual bool AtEnd()
	{
		const int64 Pos = Tell();
		return Pos != INDEX_NONE && Pos >= TotalSize();
	}
	virtual void Seek(int64 InPos) { (void)InPos; }
	/** Writes buffered data out. */
	virtual void Flush() {}
	/** Finishes the archive; returns whether no error happened. */
	virtual bool Close() { return !IsError(); }

	FORCEINLINE bool IsLoading() const { return ArIsLoading; }
	FORCEINLINE bool IsSaving() const { return ArIsSaving; }
	FORCEINLINE bool IsPersistent() const { return ArIsPersistent; }
	FORCEINLINE bool IsError() const { return ArIsError; }
	FORCEINLINE bool GetError() const { return ArIsError; }
	void SetError() { ArIsError = true; }
	void ClearError() { ArIsError = false; }

	virtual void SetIsLoading(bool bInIsLoading) { ArIsLoading = bInIsLoading; }
	virtual void SetIsSaving(bool bInIsSaving) { ArIsSaving = bInIsSaving; }
	virtual void SetIsPersistent(bool bInIsPersistent) { ArIsPersistent = bInIsPersistent; }

	FORCEINLINE FArchive& operator<<(ANSICHAR& Value) { Serialize(&Value, 1); return *this; }
	FORCEINLINE FArchive& operator<<(uint8& Value) { Serialize(&Value, 1); return *this; }
	FORCEINLINE FArchive& operator<<(int8& Value) { Serialize(&Value, 1); return *this; }
	FORCEINLINE FArchive& operator<<(uint16& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(int16& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(uint32& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(int32& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(uint64& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(int64& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(float& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	FORCEINLINE FArchive& operator<<(double& Value) { Serialize(&Value, sizeof(Value)); return *this; }
	/** A bool takes four bytes (0 or 1), as the engine stores it. */
	FArchive& operator<<(bool& D);

	/** Writes the formatted text as ANSI characters ('?' for others) followed by LINE_TERMINATOR. */
	template <typename FmtType, typename... Types>
	void Logf(const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FArchive::Logf");
		LogfImpl(static_cast<const TCHAR*>(Fmt), Args...);
	}

private:
	void LogfImpl(const TCHAR* Fmt, ...);

protected:
	bool ArIsLoading = false;
	bool ArIsSaving = false;
	bool ArIsPersistent = false;
	bool ArIsError = false;
};
