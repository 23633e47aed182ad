// The stand-in's platform application and cursor: what the engine's Windows application is to Slate, recording
// every call. Internal to the stand-in library; tests reach them through StandIn/Testing/SlateTesting.h.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericApplication.h"
#include "GenericPlatform/ICursor.h"
#include "SlateTesting.h"

class IInputDevice;

/** A cursor on the virtual desktop: its position is what SetPosition last set, (0, 0) at first. */
class FStandInCursor : public ICursor
{
public:
	virtual FVector2D GetPosition() const override { return Position; }
	virtual void SetPosition(const int32 X, const int32 Y) override { Position = FVector2D(X, Y); }
	virtual void SetType(const EMouseCursor::Type InNewCursor) override { Type = InNewCursor; }
	virtual EMouseCursor::Type GetType() const override { return Type; }
	virtual void GetSize(int32& Width, int32& Height) const override
	{
		Width = 32;
		Height = 32;
	}
	virtual void Show(bool /*bShow*/) override {}
	virtual void Lock(const RECT* const /*Bounds*/) override {}
	virtual void SetTypeShape(EMouseCursor::Type /*InCursorType*/, void* /*CursorHandle*/) override {}

private:
	FVector2D Position = FVector2D(0.0, 0.0);
	EMouseCursor::Type Type = EMouseCursor::Default;
};

/**
 * The platform application: records every GenericApplication call, answers as a Windows desktop application
 * where that differs from the generic answers, and creates the devices of input-device modules at its first
 * PollGameDeviceState, as the engine's Windows application does.
 */
class FStandInPlatformApplication : public GenericApplication
{
public:
	FStandInPlatformApplication();
	virtual ~FStandInPlatformApplication() override;

	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override;
#if WITH_ACCESSIBILITY
	virtual void SetAccessibleMessageHandler(const TSharedRef<FGenericAccessibleMessageHandler>& InAccessibleMessageHandler) override;
#endif
	virtual void PollGameDeviceState(const float TimeDelta) override;
	virtual void PumpMessages(const float TimeDelta) override;
	virtual void ProcessDeferredEvents(const float TimeDelta) override;
	virtual void Tick(const float TimeDelta) override;
	virtual TSharedRef<FGenericWindow> MakeWindow() override;
	virtual void InitializeWindow(const TSharedRef<FGenericWindow>& Window, const TSharedRef<FGenericWindowDefinition>& InDefinition, const TSharedPtr<FGenericWindow>& InParent, const bool bShowImmediately) override;
	virtual void SetCapture(const TSharedPtr<FGenericWindow>& InWindow) override;
	virtual void* GetCapture(void) const override;
	virtual FModifierKeysState GetModifierKeys() const override;
	virtual bool IsCursorDirectlyOverSlateWindow() const override;
	virtual TSharedPtr<FGenericWindow> GetWindowUnderCursor() override;
	virtual bool IsMinimized() const override;
	virtual void SetHighPrecisionMouseMode(const bool Enable, const TSharedPtr<FGenericWindow>& InWindow) override;
	virtual bool IsUsingHighPrecisionMouseMode() const override;
	virtual bool IsUsingTrackpad() const override;
	virtual bool IsMouseAttached() const override;
	virtual bool IsGamepadAttached() const override;
	virtual void RegisterConsoleCommandListener(const FOnConsoleCommandListener& InListener) override;
	virtual void AddPendingConsoleCommand(const FString& InCommand) override;
	virtual FPlatformRect GetWorkArea(const FPlatformRect& CurrentWindow) const override;
	virtual bool TryCalculatePopupWindowPosition(const FPlatformRect& InAnchor, const FVector2D& InSize, const FVector2D& ProposedPlacement, const EPopUpOrientation::Type Orientation, FVector2D* const CalculatedPopUpPosition) const override;
	virtual void GetInitialDisplayMetrics(FDisplayMetrics& OutDisplayMetrics) const override;
	virtual EWindowTitleAlignment::Type GetWindowTitleAlignment() const override;
	virtual EWindowTransparency GetWindowTransparencySupport() const override;
	virtual void DestroyApplication() override;
	virtual IInputInterface* GetInputInterface() override;
	virtual ITextInputMethodSystem* GetTextInputMethodSystem() override;
	virtual void SendAnalytics(IAnalyticsProvider* Provider) override;
	virtual bool SupportsSystemHelp() const override;
	virtual void ShowSystemHelp() override;
	virtual bool ApplicationLicenseValid(FPlatformUserId PlatformUser = PLATFORMUSERID_NONE) override;
	virtual bool IsAllowedToRender() const override;
	virtual void FinishedInputThisFrame() override;

private:
	/** Appends a call to the record when this is the application tests follow, and returns it. */
	SlateTesting::FPlatformApplicationCall& Record(const TCHAR* Function) const;

	/** Devices of input-device modules, created at the first poll. */
	TArray<TSharedPtr<IInputDevice>> ExternalInputDevices;
	bool bHasLoadedInputPlugins = false;
};
