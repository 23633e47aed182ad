// <windows.h> as engine code includes it: the engine's own macros survive, and the Windows macros that
// clash with engine names are removed again.
#pragma once

#include "HAL/Platform.h"

#if PLATFORM_WINDOWS
	#ifdef WINDOWS_H_WRAPPER_GUARD
		#error WINDOWS_H_WRAPPER_GUARD already defined
	#endif
	#define WINDOWS_H_WRAPPER_GUARD

	#include "Windows/PreWindowsApi.h"
	#ifndef STRICT
		#define STRICT
	#endif
	#include "Windows/MinWindows.h"
	#include "Windows/PostWindowsApi.h"

	#undef WINDOWS_H_WRAPPER_GUARD
#endif
