#include "Logging/LogMacros.h"
#include "Misc/AssertionMacros.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Containers/StringConv.h"
#include "CoreGlobals.h"
#include "StandInState.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY_STATIC(LogOutputDevice, Log, All);

namespace
{
	/** The devices added to GLog, in the order they were added. Never destroyed, so logging works during exit. */
	struct FRedirections
	{
		std::recursive_mutex Mutex;
		std::vector<FOutputDevice*> Devices;
	};

	FRedirections& Redirections()
	{
		static FRedirections* Instance = new FRedirections();
		return *Instance;
	}

	/** Hands a line to every device added to GLog (outside any lock held while recording). */
	void RedirectToDevices(const TCHAR* Text, ELogVerbosity::Type Verbosity, const FName& Category)
	{
		std::vector<FOutputDevice*> Devices;
		{
			std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
			Devices = Redirections().Devices;
		}
		for (FOutputDevice* Device : Devices)
		{
			Device->Serialize(Text, Verbosity, Category);
		}
	}

	/**
	 * Writes "Category: Verbosity: Text" to stderr (no verbosity at Log), records it for tests and passes it to the
	 * devices added to GLog: the route every UE_LOG line and everything serialized to GLog takes.
	 */
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
		RedirectToDevices(*Text, Verbosity, Category);
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

FOutputDeviceRedirector::FOutputDeviceRedirector() = default;
FOutputDeviceRedirector::~FOutputDeviceRedirector() = default;

FOutputDeviceRedirector* FOutputDeviceRedirector::Get()
{
	// Never destroyed: static objects log while the process exits.
	static FOutputDeviceRedirector* Singleton = new FOutputDeviceRedirector();
	return Singleton;
}

FOutputDeviceRedirector* GetGlobalLogSingleton()
{
	return FOutputDeviceRedirector::Get();
}

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* OutputDevice)
{
	if (OutputDevice)
	{
		std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
		std::vector<FOutputDevice*>& Devices = Redirections().Devices;
		for (FOutputDevice* Device : Devices)
		{
			if (Device == OutputDevice)
			{
				return;
			}
		}
		Devices.push_back(OutputDevice);
	}
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
	std::vector<FOutputDevice*>& Devices = Redirections().Devices;
	for (auto It = Devices.begin(); It != Devices.end(); ++It)
	{
		if (*It == OutputDevice)
		{
			Devices.erase(It);
			return;
		}
	}
}

bool FOutputDeviceRedirector::IsRedirectingTo(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
	for (FOutputDevice* Device : Redirections().Devices)
	{
		if (Device == OutputDevice)
		{
			return true;
		}
	}
	return false;
}

void FOutputDeviceRedirector::Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category, const double Time)
{
	(void)Time;
	Serialize(Data, Verbosity, Category);
}

void FOutputDeviceRedirector::Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category)
{
	// A Fatal line written to GLog is only logged: ending the process is the business of the fatal-error path.
	EmitLine(Category, Verbosity, FString(Data ? Data : TEXT("")));
}

void FOutputDeviceRedirector::RedirectLog(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Data)
{
	Serialize(Data, Verbosity, Category);
}

void FOutputDeviceRedirector::Flush()
{
	std::vector<FOutputDevice*> Devices;
	{
		std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
		Devices = Redirections().Devices;
	}
	for (FOutputDevice* Device : Devices)
	{
		Device->Flush();
	}
}

void FOutputDeviceRedirector::TearDown()
{
	std::vector<FOutputDevice*> Devices;
	{
		std::lock_guard<std::recursive_mutex> Lock(Redirections().Mutex);
		Devices.swap(Redirections().Devices);
	}
	for (FOutputDevice* Device : Devices)
	{
		Device->Flush();
		Device->TearDown();
	}
}
