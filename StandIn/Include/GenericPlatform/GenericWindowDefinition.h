#pragma once

#include "HAL/Platform.h"

namespace EWindowMode
{
	enum Type : int
	{
		/** The window is in true fullscreen mode. */
		Fullscreen,
		/** The window has no border and takes up the entire area of the screen. */
		WindowedFullscreen,
		/** The window has a border and may not take up the entire screen area. */
		Windowed,
		/** The total number of supported window modes. */
		NumWindowModes
	};

	static inline Type ConvertIntToWindowMode(int32 InWindowMode)
	{
		switch (InWindowMode)
		{
		case 0: return Fullscreen;
		case 1: return WindowedFullscreen;
		case 2:
		default: return Windowed;
		}
	}

	static inline const TCHAR* ToString(Type WindowMode)
	{
		switch (WindowMode)
		{
		case Fullscreen: return TEXT("Fullscreen");
		case WindowedFullscreen: return TEXT("WindowedFullscreen");
		case Windowed: return TEXT("Windowed");
		default: return TEXT("Unknown");
		}
	}
}
