// The platform application interface (ApplicationCore): what Slate asks of the operating system.
// Evidence for the class: the 5.5 API pages of GenericApplication (constructor, Cursor, GetMessageHandler,
// SetCapture, ... at application_version=5.5) and the engine's header [SRC: identical virtual lists in the UE 5.2
// header and in the current one, so 5.5 has them too]. The current header also declares
// RequiresPerWindowTooltips() and OnClipboardContentChanged(); neither is in 5.2 and neither could be confirmed
// for 5.5, so neither is declared here (UNCONFIRMED for 5.5).
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericApplicationMessageHandler.h"
#include "GenericPlatform/GenericWindow.h"
#include "GenericPlatform/GenericWindowDefinition.h"

class FGenericAccessibleMessageHandler;
class FSlateApplication;
class IAnalyticsProvider;
class ICursor;
class IInputInterface;
class ITextInputMethodSystem;

/** Modifier keys of input gestures. */
namespace EModifierKey
{
	typedef uint8 Type;

	inline const Type None = 0;
	inline const Type Control = 1 << 0;
	inline const Type Alt = 1 << 1;
	inline const Type Shift = 1 << 2;
	inline const Type Command = 1 << 3;

	inline EModifierKey::Type FromBools(const bool bControl, const bool bAlt, const bool bShift, const bool bCommand)
	{
		EModifierKey::Type ModifierMask = EModifierKey::None;
		if (bControl) ModifierMask |= EModifierKey::Control;
		if (bAlt) ModifierMask |= EModifierKey::Alt;
		if (bShift) ModifierMask |= EModifierKey::Shift;
		if (bCommand) ModifierMask |= EModifierKey::Command;
		return ModifierMask;
	}
}

namespace EPopUpOrientation
{
	enum Type
	{
		Horizontal,
		Vertical,
	};
}

/** The pressed state of the modifier keys. */
class FModifierKeysState
{
public:
	FModifierKeysState(const bool bInIsLeftShiftDown, const bool bInIsRightShiftDown, const bool bInIsLeftControlDown,
		const bool bInIsRightControlDown, const bool bInIsLeftAltDown, const bool bInIsRightAltDown,
		const bool bInIsLeftCommandDown, const bool bInIsRightCommandDown, const bool bInAreCapsLocked)
		: bIsLeftShiftDown(bInIsLeftShiftDown), bIsRightShiftDown(bInIsRightShiftDown)
		, bIsLeftControlDown(bInIsLeftControlDown), bIsRightControlDown(bInIsRightControlDown)
		, bIsLeftAltDown(bInIsLeftAltDown), bIsRightAltDown(bInIsRightAltDown)
		, bIsLeftCommandDown(bInIsLeftCommandDown), bIsRightCommandDown(bInIsRightCommandDown)
		, bAreCapsLocked(bInAreCapsLocked)
	{
	}

	FModifierKeysState()
		: bIsLeftShiftDown(false), bIsRightShiftDown(false), bIsLeftControlDown(false), bIsRightControlDown(false)
		, bIsLeftAltDown(false), bIsRightAltDown(false), bIsLeftCommandDown(false), bIsRightCommandDown(false)
		, bAreCapsLocked(false)
	{
	}

	bool IsShiftDown() const { return bIsLeftShiftDown || bIsRightShiftDown; }
	bool IsLeftShiftDown() const { return bIsLeftShiftDown; }
	bool IsRightShiftDown() const { return bIsRightShiftDown; }
	bool IsControlDown() const { return bIsLeftControlDown || bIsRightControlDown; }
	bool IsLeftControlDown() const { return bIsLeftControlDown; }
	bool IsRightControlDown() const { return bIsRightControlDown; }
	bool IsAltDown() const { return bIsLeftAltDown || bIsRightAltDown; }
	bool IsLeftAltDown() const { return bIsLeftAltDown; }
	bool IsRightAltDown() const { return bIsRightAltDown; }
	bool IsCommandDown() const { return bIsLeftCommandDown || bIsRightCommandDown; }
	bool IsLeftCommandDown() const { return bIsLeftCommandDown; }
	bool IsRightCommandDown() const { return bIsRightCommandDown; }
	bool AreCapsLocked() const { return bAreCapsLocked; }

	bool AnyModifiersDown() const { return IsControlDown() || IsCommandDown() || IsShiftDown() || IsAltDown(); }

private:
	uint16 bIsLeftShiftDown : 1;
	uint16 bIsRightShiftDown : 1;
	uint16 bIsLeftControlDown : 1;
	uint16 bIsRightControlDown : 1;
	uint16 bIsLeftAltDown : 1;
	uint16 bIsRightAltDown : 1;
	uint16 bIsLeftCommandDown : 1;
	uint16 bIsRightCommandDown : 1;
	uint16 bAreCapsLocked : 1;
};

struct FPlatformRect
{
	int32 Left;
	int32 Top;
	int32 Right;
	int32 Bottom;

	FPlatformRect() : Left(0), Top(0), Right(0), Bottom(0) {}
	FPlatformRect(int32 InLeft, int32 InTop, int32 InRight, int32 InBottom) : Left(InLeft), Top(InTop), Right(InRight), Bottom(InBottom) {}

	bool operator==(const FPlatformRect& Other) const
	{
		return Left == Other.Left && Top == Other.Top && Right == Other.Right && Bottom == Other.Bottom;
	}
};

/** A physical monitor. */
struct FMonitorInfo
{
	FString Name;
	FString ID;
	int32 NativeWidth = 0;
	int32 NativeHeight = 0;
	FIntPoint MaxResolution = FIntPoint(0, 0);
	FPlatformRect DisplayRect;
	FPlatformRect WorkArea;
	bool bIsPrimary = false;
	int32 DPI = 0;
};

/** The desktop's metrics. */
struct FDisplayMetrics
{
	/** Size of the primary display in pixels. */
	int32 PrimaryDisplayWidth = 0;
	int32 PrimaryDisplayHeight = 0;

	/** The connected monitors. */
	TArray<FMonitorInfo> MonitorInfo;

	/** Part of the primary display not covered by task bars and docked windows. */
	FPlatformRect PrimaryDisplayWorkAreaRect;

	/** The virtual desktop (every display). */
	FPlatformRect VirtualDisplayRect;

	/**
	 * Fills OutDisplayMetrics from the platform. The stand-in's "platform" is one 1920 by 1080 primary monitor at
	 * (0, 0) whose work area leaves out a 40-pixel task bar at the bottom.
	 */
	APPLICATIONCORE_API static void RebuildDisplayMetrics(FDisplayMetrics& OutDisplayMetrics);
};

/** Horizontal alignment of window titles. */
namespace EWindowTitleAlignment
{
	enum Type
	{
		Left,
		Center,
		Right
	};
}

/** Generic platform application interface. */
class APPLICATIONCORE_API GenericApplication
{
public:
	DECLARE_MULTICAST_DELEGATE_OneParam(FOnConsoleCommandAdded, const FString& /*Command*/);
	typedef FOnConsoleCommandAdded::FDelegate FOnConsoleCommandListener;

	GenericApplication(const TSharedPtr<ICursor>& InCursor);
	virtual ~GenericApplication();

	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) { MessageHandler = InMessageHandler; }

	TSharedRef<FGenericApplicationMessageHandler> GetMessageHandler() { return MessageHandler; }

#if WITH_ACCESSIBILITY
	virtual void SetAccessibleMessageHandler(const TSharedRef<FGenericAccessibleMessageHandler>& InAccessibleMessageHandler);
	TSharedRef<FGenericAccessibleMessageHandler> GetAccessibleMessageHandler() const;
#endif

	virtual void PollGameDeviceState(const float TimeDelta) {}

	virtual void PumpMessages(const float TimeDelta) {}

	virtual void ProcessDeferredEvents(const float TimeDelta) {}

	virtual void Tick(const float TimeDelta) {}

	virtual TSharedRef<FGenericWindow> MakeWindow() { return MakeShareable(new FGenericWindow()); }

	virtual void InitializeWindow(const TSharedRef<FGenericWindow>& Window, const TSharedRef<FGenericWindowDefinition>& InDefinition, const TSharedPtr<FGenericWindow>& InParent, const bool bShowImmediately) {}

	virtual void SetCapture(const TSharedPtr<FGenericWindow>& InWindow) {}

	virtual void* GetCapture(void) const { return nullptr; }

	virtual FModifierKeysState GetModifierKeys() const { return FModifierKeysState(); }

	/** @return true if the system cursor is currently directly over a slate window. */
	virtual bool IsCursorDirectlyOverSlateWindow() const { return true; }

	/** @return Native window under the mouse cursor. */
	virtual TSharedPtr<FGenericWindow> GetWindowUnderCursor() { return TSharedPtr<FGenericWindow>(nullptr); }

	virtual bool IsMinimized() const { return false; }

	virtual void SetHighPrecisionMouseMode(const bool Enable, const TSharedPtr<FGenericWindow>& InWindow) {}

	virtual bool IsUsingHighPrecisionMouseMode() const { return false; }

	virtual bool IsUsingTrackpad() const { return false; }

	virtual bool IsMouseAttached() const { return true; }

	virtual bool IsGamepadAttached() const { return false; }

	virtual void RegisterConsoleCommandListener(const FOnConsoleCommandListener& InListener) {}

	virtual void AddPendingConsoleCommand(const FString& InCommand) {}

	virtual FPlatformRect GetWorkArea(const FPlatformRect& CurrentWindow) const
	{
		FPlatformRect OutRect;
		OutRect.Left = 0;
		OutRect.Top = 0;
		OutRect.Right = 0;
		OutRect.Bottom = 0;
		return OutRect;
	}

	virtual bool TryCalculatePopupWindowPosition(const FPlatformRect& InAnchor, const FVector2D& InSize, const FVector2D& ProposedPlacement, const EPopUpOrientation::Type Orientation, /*OUT*/ FVector2D* const CalculatedPopUpPosition) const { return false; }

	DECLARE_EVENT_OneParam(GenericApplication, FOnDisplayMetricsChanged, const FDisplayMetrics&);

	/** Notifies subscribers when any of the display metrics change. */
	FOnDisplayMetricsChanged& OnDisplayMetricsChanged() { return OnDisplayMetricsChangedEvent; }

	virtual void GetInitialDisplayMetrics(FDisplayMetrics& OutDisplayMetrics) const { FDisplayMetrics::RebuildDisplayMetrics(OutDisplayMetrics); }

	/** Delegates for the virtual keyboard being shown / hidden. */
	DECLARE_EVENT_OneParam(FSlateApplication, FVirtualKeyboardShownEvent, FPlatformRect);
	FVirtualKeyboardShownEvent& OnVirtualKeyboardShown() { return VirtualKeyboardShownEvent; }

	DECLARE_EVENT(FSlateApplication, FVirtualKeyboardHiddenEvent);
	FVirtualKeyboardHiddenEvent& OnVirtualKeyboardHidden() { return VirtualKeyboardHiddenEvent; }

	/** Gets the horizontal alignment of the window title bar's title text. */
	virtual EWindowTitleAlignment::Type GetWindowTitleAlignment() const { return EWindowTitleAlignment::Left; }

	virtual EWindowTransparency GetWindowTransparencySupport() const { return EWindowTransparency::None; }

	virtual void DestroyApplication() {}

	virtual IInputInterface* GetInputInterface() { return nullptr; }

	/** The current implementation of the text input method system. */
	virtual ITextInputMethodSystem* GetTextInputMethodSystem() { return nullptr; }

	/** Send any analytics captured by the application. */
	virtual void SendAnalytics(IAnalyticsProvider* Provider) {}

	virtual bool SupportsSystemHelp() const { return false; }

	virtual void ShowSystemHelp() {}

	virtual bool ApplicationLicenseValid(FPlatformUserId PlatformUser = PLATFORMUSERID_NONE) { return true; }

	virtual bool IsAllowedToRender() const { return true; }

	virtual void FinishedInputThisFrame() {}

public:
	const TSharedPtr<ICursor> Cursor;

protected:
	TSharedRef<class FGenericApplicationMessageHandler> MessageHandler;

#if WITH_ACCESSIBILITY
	TSharedRef<FGenericAccessibleMessageHandler> AccessibleMessageHandler;
#endif

	/** Triggers OnDisplayMetricsChanged with InMetrics. */
	void BroadcastDisplayMetricsChanged(const FDisplayMetrics& InMetrics) { OnDisplayMetricsChangedEvent.Broadcast(InMetrics); }

	FOnDisplayMetricsChanged OnDisplayMetricsChangedEvent;
	FVirtualKeyboardShownEvent VirtualKeyboardShownEvent;
	FVirtualKeyboardHiddenEvent VirtualKeyboardHiddenEvent;
};
