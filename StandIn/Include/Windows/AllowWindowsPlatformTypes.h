// Opens a region in which Windows' own type names may be used; HideWindowsPlatformTypes.h closes it.
// (No include guard: each inclusion opens one region, and regions do not nest.)
#include "Windows/WindowsHWrapper.h"

#ifndef WINDOWS_PLATFORM_TYPES_GUARD
	#define WINDOWS_PLATFORM_TYPES_GUARD
#else
	#error Nesting AllowWindowsPlatformTypes.h is not allowed!
#endif

#define INT ::INT
#define UINT ::UINT
#define DWORD ::DWORD
#define FLOAT ::FLOAT

#define TRUE 1
#define FALSE 0
