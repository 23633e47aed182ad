#include "Misc/OutputDevice.h"
#include "Internationalization/Text.h"
#include "UObject/NameTypes.h"

#include <cstdarg>

FOutputDevice::FOutputDevice()
	: bSuppressEventTag(false)
	, bAutoEmitLineTerminator(true)
{
}

FOutputDevice::FOutputDevice(FOutputDevice&&) = default;
FOutputDevice::FOutputDevice(const FOutputDevice&) = default;
FOutputDevice& FOutputDevice::operator=(FOutputDevice&&) = default;
FOutputDevice& FOutputDevice::operator=(const FOutputDevice&) = default;
FOutputDevice::~FOutputDevice() = default;

// Text without a verbosity or category goes out at Log with NAME_None: what the engine's scoped category and
// verbosity override holds when no override is active.
void FOutputDevice::Log(const TCHAR* S)
{
	Serialize(S, ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::Log(ELogVerbosity::Type Verbosity, const TCHAR* S)
{
	Serialize(S, Verbosity, NAME_None);
}

void FOutputDevice::Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str)
{
	Serialize(Str, Verbosity, Category);
}

void FOutputDevice::Log(const FString& S)
{
	Serialize(*S, ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::Log(const FText& S)
{
	Serialize(*S.ToString(), ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::Log(ELogVerbosity::Type Verbosity, const FString& S)
{
	Serialize(*S, Verbosity, NAME_None);
}

void FOutputDevice::Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& S)
{
	Serialize(*S, Verbosity, Category);
}

void FOutputDevice::LogfImpl(const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	const FString Text = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	Serialize(*Text, ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::LogfImpl(ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	const FString Text = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	Serialize(*Text, Verbosity, NAME_None);
}

void FOutputDevice::CategorizedLogfImpl(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	const FString Text = UE::String::Private::FormatV(Fmt, Args);
	va_end(Args);
	Serialize(*Text, Verbosity, Category);
}
