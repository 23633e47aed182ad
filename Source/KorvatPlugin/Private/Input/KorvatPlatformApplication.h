// The platform application Slate uses while the host's pointer is over its output: the real one in every
// respect but the cursor, which is virtual.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericApplication.h"

/**
 * Forwards every operation to the platform application it wraps, with the same arguments and result, except
 * the cursor (a FKorvatVirtualCursor the host's pointer moves) and four mouse queries answered here, since the
 * pointer is the host's: a mouse is attached and over a Slate window, and there is no high-precision mode to
 * enter (it would capture the system cursor the host does not move).
 */
class FKorvatPlatformApplication : public GenericApplication
{
public:
	explicit FKorvatPlatformApplication(const TSharedPtr<GenericApplication>& InWrapped);

	/** The platform application that was current when the wrapper was made. */
	const TSharedPtr<GenericApplication>& GetWrapped() const { return Wrapped; }

	//~ Begin GenericApplication Interface
	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override;
	virtual void PollGameDeviceState(const float TimeDelta) override { Wrapped->PollGameDeviceState(TimeDelta); }
	virtual void PumpMessages(const float TimeDelta) override { Wrapped->PumpMessages(TimeDelta); }
	virtual void ProcessDeferredEvents(const float TimeDelta) override { Wrapped->ProcessDeferredEvents(TimeDelta); }
	virtual void Tick(const float TimeDelta) override { Wrapped->Tick(TimeDelta); }
	virtual TSharedRef<FGenericWindow> MakeWindow() override { return Wrapped->MakeWindow(); }
	virtual void InitializeWindow(const TSharedRef<FGenericWindow>& Window, const TSharedRef<FGenericWindowDefinition>& InDefinition,
		const TSharedPtr<FGenericWindow>& InParent, const bool bShowImmediately) override
	{
		Wrapped->InitializeWindow(Window, InDefinition, InParent, bShowImmediately);
	}
	virtual void SetCapture(const TSharedPtr<FGenericWindow>& InWindow) override { Wrapped->SetCapture(InWindow); }
	virtual void* GetCapture(void) const override { return Wrapped->GetCapture(); }
	virtual FModifierKeysState GetModifierKeys() const override { return Wrapped->GetModifierKeys(); }
	virtual bool IsCursorDirectlyOverSlateWindow() const override { return true; }
	virtual TSharedPtr<FGenericWindow> GetWindowUnderCursor() override { return Wrapped->GetWindowUnderCursor(); }
	virtual bool IsMinimized() const override { return Wrapped->IsMinimized(); }
	virtual void SetHighPrecisionMouseMode(const bool Enable, const TSharedPtr<FGenericWindow>& InWindow) override {}
	virtual bool IsUsingHighPrecisionMouseMode() const override { return false; }
	virtual bool IsUsingTrackpad() const override { return Wrapped->IsUsingTrackpad(); }
	virtual bool IsMouseAttached() const override { return true; }
	virtual bool IsGamepadAttached() const override { return Wrapped->IsGamepadAttached(); }
	virtual void RegisterConsoleCommandListener(const FOnConsoleCommandListener& InListener) override
	{
		Wrapped->RegisterConsoleCommandListener(InListener);
	}
	virtual void AddPendingConsoleCommand(const FString& InCommand) override { Wrapped->AddPendingConsoleCommand(InCommand); }
	virtual FPlatformRect GetWorkArea(const FPlatformRect& CurrentWindow) const override { return Wrapped->GetWorkArea(CurrentWindow); }
	virtual bool TryCalculatePopupWindowPosition(const FPlatformRect& InAnchor, const FVector2D& InSize, const FVector2D& ProposedPlacement,
		const EPopUpOrientation::Type Orientation, FVector2D* const CalculatedPopUpPosition) const override
	{
		return Wrapped->TryCalculatePopupWindowPosition(InAnchor, InSize, ProposedPlacement, Orientation, CalculatedPopUpPosition);
	}
	virtual void GetInitialDisplayMetrics(FDisplayMetrics& OutDisplayMetrics) const override { Wrapped->GetInitialDisplayMetrics(OutDisplayMetrics); }
	virtual EWindowTitleAlignment::Type GetWindowTitleAlignment() const override { return Wrapped->GetWindowTitleAlignment(); }
	virtual EWindowTransparency GetWindowTransparencySupport() const override { return Wrapped->GetWindowTransparencySupport(); }
	virtual void DestroyApplication() override { Wrapped->DestroyApplication(); }
	virtual IInputInterface* GetInputInterface() override { return Wrapped->GetInputInterface(); }
	virtual ITextInputMethodSystem* GetTextInputMethodSystem() override { return Wrapped->GetTextInputMethodSystem(); }
	virtual void SendAnalytics(IAnalyticsProvider* Provider) override { Wrapped->SendAnalytics(Provider); }
	virtual bool SupportsSystemHelp() const override { return Wrapped->SupportsSystemHelp(); }
	virtual void ShowSystemHelp() override { Wrapped->ShowSystemHelp(); }
	virtual bool ApplicationLicenseValid(FPlatformUserId PlatformUser = PLATFORMUSERID_NONE) override
	{
		return Wrapped->ApplicationLicenseValid(PlatformUser);
	}
	virtual bool IsAllowedToRender() const override { return Wrapped->IsAllowedToRender(); }
	virtual void FinishedInputThisFrame() override { Wrapped->FinishedInputThisFrame(); }
	//~ End GenericApplication Interface

private:
	TSharedPtr<GenericApplication> Wrapped;
};
