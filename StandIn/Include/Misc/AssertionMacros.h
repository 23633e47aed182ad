// check, checkf, verify, ensure and friends. A failed check or verify logs the failure and aborts the
// process, as a fatal assertion ends the engine; a failed ensure logs once per call site and returns false.
#pragma once

#include "HAL/Platform.h"

struct FDebug
{
	/** Logs a failed check (Expr, File, Line and an optional printf-style message) and aborts. */
	[[noreturn]] static CORE_API void AssertFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format = TEXT(""), ...);
	/** Logs a failed ensure and returns false (so the caller's condition stays false). */
	static CORE_API bool OptionallyLogFormattedEnsureMessageReturningFalse(bool bLog, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* FormattedMsg, ...);
};

#define check(expr) do { if (UNLIKELY(!(expr))) { FDebug::AssertFailed(#expr, __FILE__, __LINE__); } } while (false)
#define checkf(expr, format, ...) do { if (UNLIKELY(!(expr))) { FDebug::AssertFailed(#expr, __FILE__, __LINE__, format __VA_OPT__(,) __VA_ARGS__); } } while (false)
#define verify(expr) do { if (UNLIKELY(!(expr))) { FDebug::AssertFailed(#expr, __FILE__, __LINE__); } } while (false)
#define verifyf(expr, format, ...) do { if (UNLIKELY(!(expr))) { FDebug::AssertFailed(#expr, __FILE__, __LINE__, format __VA_OPT__(,) __VA_ARGS__); } } while (false)
#define checkNoEntry() FDebug::AssertFailed("Enclosing block should never be called", __FILE__, __LINE__)
#define checkSlow(expr) check(expr)
#define checkfSlow(expr, format, ...) checkf(expr, format __VA_OPT__(,) __VA_ARGS__)
#define unimplemented() FDebug::AssertFailed("Unimplemented function called", __FILE__, __LINE__)

#define UE_ENSURE_IMPL(bAlways, InExpression, ...) \
	(LIKELY(!!(InExpression)) || ([&]() -> bool { \
		static bool bExecuted = false; \
		const bool bLog = (bAlways) || !bExecuted; \
		bExecuted = true; \
		return FDebug::OptionallyLogFormattedEnsureMessageReturningFalse(bLog, #InExpression, __FILE__, __LINE__ __VA_OPT__(,) __VA_ARGS__); \
	}()))

#define ensure(InExpression) UE_ENSURE_IMPL(false, InExpression, TEXT(""))
#define ensureMsgf(InExpression, InFormat, ...) UE_ENSURE_IMPL(false, InExpression, InFormat __VA_OPT__(,) __VA_ARGS__)
#define ensureAlways(InExpression) UE_ENSURE_IMPL(true, InExpression, TEXT(""))
#define ensureAlwaysMsgf(InExpression, InFormat, ...) UE_ENSURE_IMPL(true, InExpression, InFormat __VA_OPT__(,) __VA_ARGS__)

namespace UEAsserts_Private
{
	// Lets sizeof be applied to a member that may be a bitfield.
	template <typename T>
	bool GetMemberNameCheckedJunk(const T&);
	template <typename T>
	bool GetMemberNameCheckedJunk(const volatile T&);
	template <typename R, typename... Args>
	bool GetMemberNameCheckedJunk(R (*)(Args...));
}

/** FName(TEXT("MemberName")), after checking at compile time that ClassName has the member. */
#define GET_MEMBER_NAME_CHECKED(ClassName, MemberName) \
	((void)sizeof(UEAsserts_Private::GetMemberNameCheckedJunk(((ClassName*)0)->MemberName)), FName(TEXT(#MemberName)))

/** FName(TEXT("FunctionName")), after checking at compile time that ClassName has the function. */
#define GET_FUNCTION_NAME_CHECKED(ClassName, FunctionName) \
	((void)sizeof(&ClassName::FunctionName), FName(TEXT(#FunctionName)))
