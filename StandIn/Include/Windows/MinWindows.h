// <windows.h> with the parts the engine never uses left out, and without min and max.
#pragma once

#if !defined(WINDOWS_H_WRAPPER_GUARD)
	#error Include "Windows/WindowsHWrapper.h" instead of MinWindows.h
#endif
#ifdef _WINDOWS_
	#pragma message(" ")
	#pragma message("You have included windows.h before MinWindows.h")
	#pragma message("All useless stuff from the windows headers won't be excluded !!!")
	#pragma message(" ")
#endif

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define NOGDICAPMASKS
#define OEMRESOURCE
#define NOATOM
#define NODRAWTEXT
#define NOKERNEL
#define NOMEMMGR
#define NOMETAFILE
#define NOOPENFILE
#define NOSCROLL
#define NOSERVICE
#define NOSOUND
#define NOCOMM
#define NOKANJI
#define NOHELP
#define NOPROFILER
#define NODEFERWINDOWPOS
#define NOMCX
#define NOCRYPT
#define NOTAPE
#define NOIMAGE
#define NOPROXYSTUB
#define NORPC

struct IUnknown;

#include <windows.h>
