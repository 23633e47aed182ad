// A top-level Slate window (SlateCore) and its native window. The engine's SWindow is a compound widget with
// content, sizing and many properties; the stand-in has no widgets and keeps the window's native window only.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericWindow.h"

class SLATECORE_API SWindow : public TSharedFromThis<SWindow>
{
public:
	SWindow();
	virtual ~SWindow();

	/** The native window of this Slate window, null until Slate has made one (FSlateApplication::AddWindow). */
	TSharedPtr<FGenericWindow> GetNativeWindow() { return NativeWindow; }
	TSharedPtr<const FGenericWindow> GetNativeWindow() const { return NativeWindow; }

	/** Sets the native window; Slate does this when it makes the native window. */
	void SetNativeWindow(TSharedRef<FGenericWindow> InNativeWindow);

	/** Destroys the native window (FGenericWindow::Destroy) and drops it. */
	void DestroyWindowImmediately();

private:
	TSharedPtr<FGenericWindow> NativeWindow;
};
