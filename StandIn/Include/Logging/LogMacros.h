// UE_LOG and the log category macros. A message is written to stderr as "Category: Verbosity: Text"
// (the verbosity is left out at Log, as the engine prints it); a Fatal message ends the process.
#pragma once

#include "HAL/Platform.h"
#include "Logging/LogCategory.h"
#include "Logging/LogVerbosity.h"
#include "Containers/UnrealString.h"
#include "Templates/IsValidVariadicFunctionArg.h"

struct FMsg
{
	/** Formats and emits one log line; a Fatal line aborts the process after it is written. */
	static CORE_API void LogfImpl(const ANSICHAR* File, int32 Line, const FLogCategoryName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...);

	template <typename FmtType, typename... Types>
	static void Logf(const ANSICHAR* File, int32 Line, const FLogCategoryName& Category, ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		static_assert(UE::String::Private::TIsTCHARArray<const FmtType&>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FMsg::Logf");
		LogfImpl(File, Line, Category, Verbosity, Fmt, Args...);
	}
};

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	extern struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	static struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DECLARE_LOG_CATEGORY_CLASS(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)

#define UE_LOG(CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		static_assert(ELogVerbosity::Verbosity != ELogVerbosity::NoLogging, "NoLogging is not a valid verbosity for UE_LOG"); \
		if constexpr ((ELogVerbosity::Verbosity & ELogVerbosity::VerbosityMask) <= std::decay_t<decltype(CategoryName)>::CompileTimeVerbosity) \
		{ \
			if (ELogVerbosity::Verbosity == ELogVerbosity::Fatal || !CategoryName.IsSuppressed(ELogVerbosity::Verbosity)) \
			{ \
				FMsg::Logf(__FILE__, __LINE__, CategoryName.GetCategoryName(), ELogVerbosity::Verbosity, Format __VA_OPT__(,) __VA_ARGS__); \
			} \
		} \
	} while (false)

#define UE_CLOG(Condition, CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		if (Condition) \
		{ \
			UE_LOG(CategoryName, Verbosity, Format __VA_OPT__(,) __VA_ARGS__); \
		} \
	} while (false)

#define UE_SUPPRESS(CategoryName, Verbosity, ExecuteIfUnsuppressed) \
	do \
	{ \
		if (!CategoryName.IsSuppressed(ELogVerbosity::Verbosity)) \
		{ \
			ExecuteIfUnsuppressed; \
		} \
	} while (false)

#define UE_LOG_ACTIVE(CategoryName, Verbosity) (!CategoryName.IsSuppressed(ELogVerbosity::Verbosity))

/** The engine's general-purpose category. */
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All);
