// Slate's application (module Slate): the message handler of the platform application, which routes platform
// input to widgets. Evidence: the 5.5 API pages of FSlateApplication (OverridePlatformApplication "Replace the
// current platform application with a custom version", OnCursorSet override) and the engine's source [SRC:
// SlateApplication.cpp Create / Shutdown / SetPlatformApplication / OverridePlatformApplication].
//
// The stand-in has no widgets: the input handlers record each call (read them through
// StandIn/Testing/SlateTesting.h) and report the event as not handled; OnCursorSet reports it handled, as the
// engine's does.
#pragma once

#include "CoreMinimal.h"
#include "Application/SlateApplicationBase.h"
#include "GenericPlatform/GenericApplicationMessageHandler.h"
#include "Widgets/SWindow.h"

class SLATE_API FSlateApplication : public FSlateApplicationBase, public FGenericApplicationMessageHandler
{
public:
	virtual ~FSlateApplication() override;

	/**
	 * Creates Slate's application on InPlatformApplication: it becomes the platform application and gets the new
	 * application as its message handler.
	 */
	static TSharedRef<FSlateApplication> Create(const TSharedRef<class GenericApplication>& InPlatformApplication);

	/**
	 * Ends Slate: with bShutdownPlatform the platform application is destroyed (DestroyApplication); then the
	 * platform application and the application are released.
	 */
	static void Shutdown(bool bShutdownPlatform = true);

	/** Whether Slate is initialised. */
	static bool IsInitialized() { return CurrentApplication.IsValid(); }

	/** The application; Slate must be initialised. */
	static FSlateApplication& Get()
	{
		checkf(CurrentApplication.IsValid(), TEXT("Slate is not initialised"));
		return *CurrentApplication;
	}

	/**
	 * Makes InPlatformApplication the platform application: the previous one gets a fresh, empty message
	 * handler, the new one gets this application as its message handler.
	 */
	void SetPlatformApplication(const TSharedRef<class GenericApplication>& InPlatformApplication);

	/**
	 * Replaces the current platform application with a custom version. Only the platform application and the
	 * cursor Slate's cursor user reads (the new application's Cursor, when it has one; otherwise a warning is
	 * logged and the cursor stays) change: the message handler of either application is left as it is.
	 */
	void OverridePlatformApplication(TSharedPtr<class GenericApplication> InPlatformApplication);

	/** Polls the platform application's game devices (GenericApplication::PollGameDeviceState). */
	void PollGameDeviceState();

	/** Tells the platform application that this frame's input is done (GenericApplication::FinishedInputThisFrame). */
	void FinishedInputThisFrame();

	/**
	 * Adds a top-level window: the platform application makes its native window (MakeWindow, then
	 * InitializeWindow with bShowImmediately) and the window keeps it. Slate holds the window until it is
	 * destroyed.
	 */
	TSharedRef<SWindow> AddWindow(TSharedRef<SWindow> InSlateWindow, const bool bShowImmediately = true);

	/** Destroys a window and its native window now. */
	void DestroyWindowImmediately(const TSharedRef<SWindow>& WindowToDestroy);

	/**
	 * The position of the cursor of Slate's cursor user (the platform application's cursor, or the one installed
	 * by OverridePlatformApplication), in desktop pixels. The engine returns UE::Slate::FDeprecateVector2DResult,
	 * which converts to FVector2D and FVector2f; the stand-in returns FVector2D only.
	 */
	FVector2D GetCursorPos() const;

	/** Moves the cursor of Slate's cursor user. */
	virtual void SetCursorPos(const FVector2D& MouseCoordinate) override;

	/** The application was activated or deactivated (one of its windows gained or lost the system focus). */
	void ProcessApplicationActivationEvent(bool InAppActivated);

	/** Whether the application is active; true from creation until deactivated. */
	virtual bool IsActive() const override { return bAppIsActive; }

	//~ Begin FGenericApplicationMessageHandler Interface
	virtual bool ShouldProcessUserInputMessages(const TSharedPtr<FGenericWindow>& PlatformWindow) const override;
	virtual bool OnKeyChar(const TCHAR Character, const bool IsRepeat) override;
	virtual bool OnKeyDown(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) override;
	virtual bool OnKeyUp(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) override;
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button) override;
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button, const FVector2D CursorPos) override;
	virtual bool OnMouseUp(const EMouseButtons::Type Button) override;
	virtual bool OnMouseUp(const EMouseButtons::Type Button, const FVector2D CursorPos) override;
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button) override;
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button, const FVector2D CursorPos) override;
	virtual bool OnMouseWheel(const float Delta) override;
	virtual bool OnMouseWheel(const float Delta, const FVector2D CursorPos) override;
	virtual bool OnMouseMove() override;
	virtual bool OnRawMouseMove(const int32 X, const int32 Y) override;
	virtual bool OnCursorSet() override;
	// Only the platform-user touch forms, as in the engine: the controller-id forms of the base forward to them.
	virtual bool OnTouchStarted(const TSharedPtr<FGenericWindow>& PlatformWindow, const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override;
	virtual bool OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override;
	virtual bool OnTouchEnded(const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override;
	virtual bool OnApplicationActivationChanged(const bool IsActive) override;
	//~ End FGenericApplicationMessageHandler Interface

protected:
	FSlateApplication();

private:
	static TSharedPtr<FSlateApplication> CurrentApplication;

	/** The windows Slate holds (AddWindow), oldest first. */
	TArray<TSharedRef<SWindow>> SlateWindows;

	/** The cursor of Slate's cursor user. */
	TSharedPtr<ICursor> CursorUserCursor;

	bool bAppIsActive = true;
};
