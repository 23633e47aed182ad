#include "Logging/LogMacros.h"
#include "Misc/AssertionMacros.h"
#include "Containers/StringConv.h"
#include "StandInState.h"

#include <cstdio>
#include <cstdlib>

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY_STATIC(LogOutputDevice, Log, All);

namespace
{
	/** Writes "Category: Verbosity: Text" to stderr (no verbosity at Log) and records it for tests. */
	void EmitLine(const FName& Category, ELogVerbosity::Type Verbosity, const FString& Text)
	{
		StandInState::FRecords& Records = StandInState::Records();
		bool bEcho = true;
		{
			std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
			Records.LogLines.Add(StandInTesting::FCapturedLogLine{Category, Verbosity, Text});
			bEcho = Records.bEchoLogToStderr || Verbosity == ELogVerbosity::Fatal;
		}
		if (bEcho)
		{
			FString Line = Category.ToString() + TEXT(": ");
			if ((Verbosity & ELogVerbosity::VerbosityMask) != ELogVerbosity::Log)
			{
				Line += ToString(Verbosity);
				Line += TEXT(": ");
			}
			Line += Text;
			const FTCHARToUTF8 Utf8(*Line);
			std::fprintf(stderr, "%s\n", Utf8.Get());
			std::fflush(stderr);
		}
	}
}

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity & ELogVerbosity::VerbosityMask)
	{
	case ELogVerbosity::NoLogging: return TEXT("NoLogging");
	case ELogVerbosity::Fatal: return TEXT("Fatal");
	case ELogVerbosity::Error: return TEXT("Error");
	case ELogVerbosity::Warning: return TEXT("Warning");
	case ELogVerbosity::Display: return TEXT("Display");
	case ELogVerbosity::Log: return TEXT("Log");
	case ELogVerbosity::Verbose: return TEXT("Verbose");
	case ELogVerbosity::VeryVerbose: return TEXT("VeryVerbose");
	default: return TEXT("UknownVerbosity");
	}
}

FLogCategoryBase::FLogCategoryBase(const FLogCategoryName& InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: Verbosity(static_cast<uint8>(InDefaultVerbosity & ELogVerbosity::VerbosityMask))
	, DefaultVerbosity(static_cast<uint8>(InDefaultVerbosity & ELogVerbosity::VerbosityMask))
	, CompileTimeVerbosity(InCompileTimeVerbosity)
	, CategoryName(InCategoryName)
{
}

FLogCategoryBase::FLogCategoryBase(const TCHAR* InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: FLogCategoryBase(FName(InCategoryName), InDefaultVerbosity, InCompileTimeVerbosity)
{
}

FLogCategoryBase::~FLogCategoryBase() = default;

void FLogCategoryBase::SetVerbosity(ELogVerbosity::Type NewVerbosity)
{
	// Never beyond what was compiled in; Fatal messages always get through.
	uint8 Wanted = static_cast<uint8>(NewVerbosity & ELogVerbosity::VerbosityMask);
	if (Wanted > CompileTimeVerbosity)
	{
		Wanted = static_cast<uint8>(CompileTimeVerbosity);
	}
	Verbosity = Wanted;
}

void FLogCategoryBase::ResetToDefault()
{
	SetVerbosity(static_cast<ELogVerbosity::Type>(DefaultVerbosity));
}

void FMsg::LogfImpl(const ANSICHAR* File, int32 Line, const FLogCategoryName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	const FString Text = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	EmitLine(Category, Verbosity, Text);
	if ((Verbosity & ELogVerbosity::VerbosityMask) == ELogVerbosity::Fatal)
	{
		std::fprintf(stderr, "Fatal error at %s:%d\n", File, Line);
		std::fflush(stderr);
		std::abort();
	}
}

void FDebug::AssertFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, ...)
{
	va_list Args;
	va_start(Args, Format);
	const FString Message = UE::String::Private::FormatV(Format ? Format : TEXT(""), Args);
	va_end(Args);
	EmitLine(FName(TEXT("LogAssert")), ELogVerbosity::Fatal,
		FString::Printf(TEXT("Assertion failed: %hs [File:%hs] [Line: %d] %s"), Expr, File, Line, *Message));
	std::abort();
}

bool FDebug::OptionallyLogFormattedEnsureMessageReturningFalse(bool bLog, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* FormattedMsg, ...)
{
	if (bLog)
	{
		va_list Args;
		va_start(Args, FormattedMsg);
		const FString Message = UE::String::Private::FormatV(FormattedMsg ? FormattedMsg : TEXT(""), Args);
		va_end(Args);
		EmitLine(FName(TEXT("LogOutputDevice")), ELogVerbosity::Error,
			FString::Printf(TEXT("Ensure condition failed: %hs [File:%hs] [Line: %d] %s"), Expr, File, Line, *Message));
	}
	return false;
}
