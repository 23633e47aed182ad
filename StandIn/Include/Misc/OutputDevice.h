// FOutputDevice: the engine's text sink. Log(...) and Logf(...) end in Serialize(Text, Verbosity, Category); text
// without a category is serialized with NAME_None at Log verbosity, as the engine does outside a scoped category
// override.
#pragma once

#include "HAL/Platform.h"
#include "Logging/LogVerbosity.h"
#include "Containers/UnrealString.h"
#include "Templates/IsValidVariadicFunctionArg.h"

class FName;
class FText;
class FArchive;

// The engine defines the line terminator with the platform types: CR LF on Windows, LF elsewhere.
#ifndef LINE_TERMINATOR
	#if PLATFORM_WINDOWS
		#define LINE_TERMINATOR TEXT("\r\n")
		#define LINE_TERMINATOR_ANSI "\r\n"
	#else
		#define LINE_TERMINATOR TEXT("\n")
		#define LINE_TERMINATOR_ANSI "\n"
	#endif
#endif

class CORE_API FOutputDevice
{
public:
	FOutputDevice();
	FOutputDevice(FOutputDevice&&);
	FOutputDevice(const FOutputDevice&);
	FOutputDevice& operator=(FOutputDevice&&);
	FOutputDevice& operator=(const FOutputDevice&);
	virtual ~FOutputDevice();

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, const double Time)
	{
		(void)Time;
		Serialize(V, Verbosity, Category);
	}

	virtual void Flush() {}

	/** Closes the device; not done in the destructor because static devices may not delete at exit. */
	virtual void TearDown() {}

	void SetSuppressEventTag(bool bInSuppressEventTag) { bSuppressEventTag = bInSuppressEventTag; }
	FORCEINLINE bool GetSuppressEventTag() const { return bSuppressEventTag; }
	void SetAutoEmitLineTerminator(bool bInAutoEmitLineTerminator) { bAutoEmitLineTerminator = bInAutoEmitLineTerminator; }
	FORCEINLINE bool GetAutoEmitLineTerminator() const { return bAutoEmitLineTerminator; }

	/** Dumps a memory buffer to an archive (only devices that keep one do anything). */
	virtual void Dump(FArchive& Ar) { (void)Ar; }
	virtual bool IsMemoryOnly() const { return false; }
	virtual bool CanBeUsedOnAnyThread() const { return false; }
	virtual bool CanBeUsedOnMultipleThreads() const { return false; }
	virtual bool CanBeUsedOnPanicThread() const { return false; }

	void Log(const TCHAR* S);
	void Log(ELogVerbosity::Type Verbosity, const TCHAR* S);
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str);
	void Log(const FString& S);
	void Log(const FText& S);
	void Log(ELogVerbosity::Type Verbosity, const FString& S);
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& S);

private:
	void LogfImpl(const TCHAR* Fmt, ...);
	void LogfImpl(ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...);
	void CategorizedLogfImpl(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...);

public:
	/** A format without arguments is logged as it is (a '%' in it is not a conversion). */
	template <typename FmtType>
	void Logf(const FmtType& Fmt)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		Log(static_cast<const TCHAR*>(Fmt));
	}

	template <typename FmtType, typename... Types>
	void Logf(const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FOutputDevice::Logf");
		LogfImpl(static_cast<const TCHAR*>(Fmt), Args...);
	}

	template <typename FmtType, typename... Types>
	void Logf(ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FOutputDevice::Logf");
		LogfImpl(Verbosity, static_cast<const TCHAR*>(Fmt), Args...);
	}

	template <typename FmtType, typename... Types>
	void CategorizedLogf(const FName& Category, ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FOutputDevice::CategorizedLogf");
		CategorizedLogfImpl(Category, Verbosity, static_cast<const TCHAR*>(Fmt), Args...);
	}

protected:
	/** Whether to leave out the "Log: " style prefix. */
	bool bSuppressEventTag;
	/** Whether to write a line terminator after each call. */
	bool bAutoEmitLineTerminator;
};
