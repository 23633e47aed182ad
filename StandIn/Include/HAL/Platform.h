// Platform types, character types and export macros of the stand-in engine (Windows x64 conventions).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
	#define PLATFORM_WINDOWS 1
	#define PLATFORM_LINUX 0
#else
	#define PLATFORM_WINDOWS 0
	#define PLATFORM_LINUX 1
#endif
#define PLATFORM_64BITS 1
#define PLATFORM_LITTLE_ENDIAN 1

typedef std::uint8_t uint8;
typedef std::uint16_t uint16;
typedef std::uint32_t uint32;
typedef std::uint64_t uint64;
typedef std::int8_t int8;
typedef std::int16_t int16;
typedef std::int32_t int32;
typedef std::int64_t int64;
typedef std::size_t SIZE_T;
typedef std::ptrdiff_t SSIZE_T;
typedef std::uintptr_t UPTRINT;
typedef std::intptr_t PTRINT;

// TCHAR is wchar_t as on Windows. Its width differs by target (16 bits on Windows, 32 on Linux), so
// code written against it must not assume either.
typedef char ANSICHAR;
typedef wchar_t WIDECHAR;
typedef wchar_t TCHAR;
enum UTF8CHAR : unsigned char {};
typedef char16_t UTF16CHAR;
typedef char32_t UTF32CHAR;

#define TEXT_PASTE(x) L##x
#define TEXT(x) TEXT_PASTE(x)

#define FORCEINLINE inline __attribute__((always_inline))
#define FORCENOINLINE __attribute__((noinline))
#define UNLIKELY(x) __builtin_expect(!!(x), 0)
#define LIKELY(x) __builtin_expect(!!(x), 1)

#define PREPROCESSOR_JOIN_INNER(x, y) x##y
#define PREPROCESSOR_JOIN(x, y) PREPROCESSOR_JOIN_INNER(x, y)
#define PREPROCESSOR_TO_STRING_INNER(x) #x
#define PREPROCESSOR_TO_STRING(x) PREPROCESSOR_TO_STRING_INNER(x)

#if defined(_WIN32)
	#define DLLEXPORT __declspec(dllexport)
	#define DLLIMPORT __declspec(dllimport)
#else
	#define DLLEXPORT __attribute__((visibility("default")))
	#define DLLIMPORT __attribute__((visibility("default")))
#endif

// Every engine module of the stand-in lives in the one shared library UnrealStandIn, so all module
// API macros export while that library builds and import everywhere else.
#if defined(STANDIN_BUILDING_ENGINE)
	#define STANDIN_ENGINE_API DLLEXPORT
#else
	#define STANDIN_ENGINE_API DLLIMPORT
#endif
#define CORE_API STANDIN_ENGINE_API
#define COREUOBJECT_API STANDIN_ENGINE_API
#define ENGINE_API STANDIN_ENGINE_API
#define RHI_API STANDIN_ENGINE_API
#define RENDERER_API STANDIN_ENGINE_API
#define RENDERCORE_API STANDIN_ENGINE_API
#define APPLICATIONCORE_API STANDIN_ENGINE_API
#define INPUTCORE_API STANDIN_ENGINE_API
#define INPUTDEVICE_API STANDIN_ENGINE_API
#define SLATE_API STANDIN_ENGINE_API
#define SLATECORE_API STANDIN_ENGINE_API
#define PROJECTS_API STANDIN_ENGINE_API
#define TEXTURESHARE_API STANDIN_ENGINE_API
#define UNREALED_API STANDIN_ENGINE_API
#define LEVELEDITOR_API STANDIN_ENGINE_API
#define BLUEPRINTGRAPH_API STANDIN_ENGINE_API
#define KISMETCOMPILER_API STANDIN_ENGINE_API
#define PROPERTYEDITOR_API STANDIN_ENGINE_API
#define KISMET_API STANDIN_ENGINE_API
#define EDITORSTYLE_API STANDIN_ENGINE_API
#define TOOLMENUS_API STANDIN_ENGINE_API

#ifndef WITH_EDITOR
	#define WITH_EDITOR 1
#endif
#ifndef WITH_ACCESSIBILITY
	// ApplicationCore's rules define it for the desktop platforms (accessibility on in editor and game builds).
	#define WITH_ACCESSIBILITY 1
#endif
#ifndef WITH_EDITORONLY_DATA
	#define WITH_EDITORONLY_DATA 1
#endif
#ifndef UE_BUILD_SHIPPING
	#define UE_BUILD_SHIPPING 0
#endif
#ifndef UE_BUILD_DEBUG
	#define UE_BUILD_DEBUG 0
#endif
#ifndef UE_BUILD_DEVELOPMENT
	#define UE_BUILD_DEVELOPMENT 1
#endif
#ifndef STATS
	#define STATS 1
#endif
#ifndef DO_CHECK
	#define DO_CHECK 1
#endif

#define MAX_uint8 ((uint8)0xff)
#define MAX_uint16 ((uint16)0xffff)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_int32 ((int32)0x7fffffff)
#define MIN_int32 ((int32)0x80000000)
#define MAX_int64 ((int64)0x7fffffffffffffff)
#define MAX_flt (3.402823466e+38F)
