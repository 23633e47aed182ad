// A native (operating-system) window as ApplicationCore sees it. Slate's SWindow holds one
// (SWindow::GetNativeWindow); platform applications make them (GenericApplication::MakeWindow).
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindowDefinition.h"

/**
 * The engine's base class gives every operation an empty or neutral default; platform windows override them.
 * The stand-in declares a subset of those virtuals (the engine's class has more: reshape, move, minimise, focus,
 * opacity, DPI, ...), with the engine's defaults.
 */
class APPLICATIONCORE_API FGenericWindow
{
public:
	FGenericWindow();
	virtual ~FGenericWindow();

	/** Destroys the native window. */
	virtual void Destroy() {}

	/** Shows / hides the window. */
	virtual void Show() {}
	virtual void Hide() {}

	/** Whether the window is visible. */
	virtual bool IsVisible() const { return false; }

	/** Changes / reports the window's mode. */
	virtual void SetWindowMode(EWindowMode::Type InNewWindowMode) {}
	virtual EWindowMode::Type GetWindowMode() const { return EWindowMode::Windowed; }

	/** The operating system's handle of the window (an HWND on Windows), or null. */
	virtual void* GetOSWindowHandle() const { return nullptr; }

	/** The window's DPI scale. */
	virtual float GetDPIScaleFactor() const { return 1.0f; }
};
