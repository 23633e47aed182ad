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

/** How a window may be transparent (GenericPlatform/GenericWindowDefinition.h). */
enum class EWindowTransparency
{
	/** The window does not support transparency. */
	None,
	/** The window's opacity is applied to the whole window. */
	PerWindow,
	/** The window supports per-pixel alpha (only where the platform allows it). */
	PerPixel,
};

/**
 * What a native window is made from. The engine's structure has many more members (type, position, size,
 * decorations, title, ...); the stand-in keeps the few it uses.
 */
struct FGenericWindowDefinition
{
	/** Top-left corner of the window on the desktop, in screen pixels. */
	float XDesiredPositionOnScreen = 0.0f;
	float YDesiredPositionOnScreen = 0.0f;
	/** Size of the window's client area, in pixels. */
	float WidthDesiredOnScreen = 0.0f;
	float HeightDesiredOnScreen = 0.0f;
	/** The window's transparency support. */
	EWindowTransparency TransparencySupport = EWindowTransparency::None;
};
