#include "StandInPlatformApplication.h"

#include "Features/IModularFeatures.h"
#include "Framework/Application/SlateApplication.h"
#include "IInputDevice.h"
#include "IInputDeviceModule.h"

#include "SlateRecord.h"

FStandInPlatformApplication::FStandInPlatformApplication()
	: GenericApplication(MakeShareable(new FStandInCursor()))
{
}

FStandInPlatformApplication::~FStandInPlatformApplication() = default;

SlateTesting::FPlatformApplicationCall& FStandInPlatformApplication::Record(const TCHAR* Function) const
{
	SlateTesting::FPlatformApplicationCall Call;
	Call.Function = Function;
	TArray<SlateTesting::FPlatformApplicationCall>& Calls = GetSlateRecord().PlatformApplicationCalls;
	Calls.Add(Call);
	return Calls.Last();
}

void FStandInPlatformApplication::SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler)
{
	Record(TEXT("SetMessageHandler")).MessageHandler = InMessageHandler;
	GenericApplication::SetMessageHandler(InMessageHandler);
	// As the engine's Windows application: its devices send to the new handler too.
	for (const TSharedPtr<IInputDevice>& Device : ExternalInputDevices)
	{
		Device->SetMessageHandler(InMessageHandler);
	}
}

#if WITH_ACCESSIBILITY
void FStandInPlatformApplication::SetAccessibleMessageHandler(const TSharedRef<FGenericAccessibleMessageHandler>& InAccessibleMessageHandler)
{
	Record(TEXT("SetAccessibleMessageHandler")).AccessibleMessageHandler = InAccessibleMessageHandler;
	GenericApplication::SetAccessibleMessageHandler(InAccessibleMessageHandler);
}
#endif

void FStandInPlatformApplication::PollGameDeviceState(const float TimeDelta)
{
	Record(TEXT("PollGameDeviceState")).TimeDelta = TimeDelta;
	// Externally implemented input devices are created at the first poll, so that every plug-in has loaded.
	if (!bHasLoadedInputPlugins)
	{
		bHasLoadedInputPlugins = true;
		const TArray<IInputDeviceModule*> Modules =
			IModularFeatures::Get().GetModularFeatureImplementations<IInputDeviceModule>(IInputDeviceModule::GetModularFeatureName());
		for (IInputDeviceModule* Module : Modules)
		{
			// UNCONFIRMED for 5.5 which overload the Windows application calls; the one-argument form is the one
			// every input-device module must implement (the two-argument form forwards to it by default).
			TSharedPtr<IInputDevice> Device = Module->CreateInputDevice(MessageHandler);
			SlateTesting::FInputDeviceCreation Creation;
			Creation.Module = Module;
			Creation.bDeviceCreated = Device.IsValid();
			Creation.Device = Device;
			Creation.MessageHandler = MessageHandler;
			Creation.bSlateInitialized = FSlateApplication::IsInitialized();
			GetSlateRecord().InputDeviceCreations.Add(Creation);
			if (Device.IsValid())
			{
				ExternalInputDevices.Add(Device);
			}
		}
	}
	for (const TSharedPtr<IInputDevice>& Device : ExternalInputDevices)
	{
		Device->Tick(TimeDelta);
		Device->SendControllerEvents();
	}
}

void FStandInPlatformApplication::PumpMessages(const float TimeDelta)
{
	Record(TEXT("PumpMessages")).TimeDelta = TimeDelta;
}

void FStandInPlatformApplication::ProcessDeferredEvents(const float TimeDelta)
{
	Record(TEXT("ProcessDeferredEvents")).TimeDelta = TimeDelta;
}

void FStandInPlatformApplication::Tick(const float TimeDelta)
{
	Record(TEXT("Tick")).TimeDelta = TimeDelta;
}

TSharedRef<FGenericWindow> FStandInPlatformApplication::MakeWindow()
{
	Record(TEXT("MakeWindow"));
	return MakeShareable(new FGenericWindow());
}

void FStandInPlatformApplication::InitializeWindow(const TSharedRef<FGenericWindow>& Window, const TSharedRef<FGenericWindowDefinition>& InDefinition, const TSharedPtr<FGenericWindow>& InParent, const bool bShowImmediately)
{
	SlateTesting::FPlatformApplicationCall& Call = Record(TEXT("InitializeWindow"));
	Call.Window = Window;
	Call.Definition = InDefinition;
	Call.ParentWindow = InParent;
	Call.bValue = bShowImmediately;
}

void FStandInPlatformApplication::SetCapture(const TSharedPtr<FGenericWindow>& InWindow)
{
	Record(TEXT("SetCapture")).Window = InWindow;
}

void* FStandInPlatformApplication::GetCapture(void) const
{
	Record(TEXT("GetCapture"));
	return GenericApplication::GetCapture();
}

FModifierKeysState FStandInPlatformApplication::GetModifierKeys() const
{
	Record(TEXT("GetModifierKeys"));
	return GenericApplication::GetModifierKeys();
}

bool FStandInPlatformApplication::IsCursorDirectlyOverSlateWindow() const
{
	Record(TEXT("IsCursorDirectlyOverSlateWindow"));
	return GenericApplication::IsCursorDirectlyOverSlateWindow();
}

TSharedPtr<FGenericWindow> FStandInPlatformApplication::GetWindowUnderCursor()
{
	Record(TEXT("GetWindowUnderCursor"));
	return GenericApplication::GetWindowUnderCursor();
}

bool FStandInPlatformApplication::IsMinimized() const
{
	Record(TEXT("IsMinimized"));
	return GenericApplication::IsMinimized();
}

void FStandInPlatformApplication::SetHighPrecisionMouseMode(const bool Enable, const TSharedPtr<FGenericWindow>& InWindow)
{
	SlateTesting::FPlatformApplicationCall& Call = Record(TEXT("SetHighPrecisionMouseMode"));
	Call.bValue = Enable;
	Call.Window = InWindow;
}

bool FStandInPlatformApplication::IsUsingHighPrecisionMouseMode() const
{
	Record(TEXT("IsUsingHighPrecisionMouseMode"));
	return GenericApplication::IsUsingHighPrecisionMouseMode();
}

bool FStandInPlatformApplication::IsUsingTrackpad() const
{
	Record(TEXT("IsUsingTrackpad"));
	return GenericApplication::IsUsingTrackpad();
}

bool FStandInPlatformApplication::IsMouseAttached() const
{
	Record(TEXT("IsMouseAttached"));
	return GenericApplication::IsMouseAttached();
}

bool FStandInPlatformApplication::IsGamepadAttached() const
{
	Record(TEXT("IsGamepadAttached"));
	return GenericApplication::IsGamepadAttached();
}

void FStandInPlatformApplication::RegisterConsoleCommandListener(const FOnConsoleCommandListener& /*InListener*/)
{
	Record(TEXT("RegisterConsoleCommandListener"));
}

void FStandInPlatformApplication::AddPendingConsoleCommand(const FString& InCommand)
{
	Record(TEXT("AddPendingConsoleCommand")).Text = InCommand;
}

FPlatformRect FStandInPlatformApplication::GetWorkArea(const FPlatformRect& CurrentWindow) const
{
	Record(TEXT("GetWorkArea")).Rect = CurrentWindow;
	FDisplayMetrics Metrics;
	FDisplayMetrics::RebuildDisplayMetrics(Metrics);
	return Metrics.PrimaryDisplayWorkAreaRect;
}

bool FStandInPlatformApplication::TryCalculatePopupWindowPosition(const FPlatformRect& InAnchor, const FVector2D& InSize, const FVector2D& ProposedPlacement, const EPopUpOrientation::Type Orientation, FVector2D* const CalculatedPopUpPosition) const
{
	SlateTesting::FPlatformApplicationCall& Call = Record(TEXT("TryCalculatePopupWindowPosition"));
	Call.Rect = InAnchor;
	Call.Size = InSize;
	Call.Placement = ProposedPlacement;
	Call.Orientation = Orientation;
	Call.Pointer = CalculatedPopUpPosition;
	return GenericApplication::TryCalculatePopupWindowPosition(InAnchor, InSize, ProposedPlacement, Orientation, CalculatedPopUpPosition);
}

void FStandInPlatformApplication::GetInitialDisplayMetrics(FDisplayMetrics& OutDisplayMetrics) const
{
	Record(TEXT("GetInitialDisplayMetrics"));
	FDisplayMetrics::RebuildDisplayMetrics(OutDisplayMetrics);
}

EWindowTitleAlignment::Type FStandInPlatformApplication::GetWindowTitleAlignment() const
{
	Record(TEXT("GetWindowTitleAlignment"));
	return GenericApplication::GetWindowTitleAlignment();
}

EWindowTransparency FStandInPlatformApplication::GetWindowTransparencySupport() const
{
	Record(TEXT("GetWindowTransparencySupport"));
	return EWindowTransparency::PerWindow;
}

void FStandInPlatformApplication::DestroyApplication()
{
	Record(TEXT("DestroyApplication"));
}

IInputInterface* FStandInPlatformApplication::GetInputInterface()
{
	Record(TEXT("GetInputInterface"));
	return GenericApplication::GetInputInterface();
}

ITextInputMethodSystem* FStandInPlatformApplication::GetTextInputMethodSystem()
{
	Record(TEXT("GetTextInputMethodSystem"));
	return GenericApplication::GetTextInputMethodSystem();
}

void FStandInPlatformApplication::SendAnalytics(IAnalyticsProvider* Provider)
{
	Record(TEXT("SendAnalytics")).Pointer = Provider;
}

bool FStandInPlatformApplication::SupportsSystemHelp() const
{
	Record(TEXT("SupportsSystemHelp"));
	return GenericApplication::SupportsSystemHelp();
}

void FStandInPlatformApplication::ShowSystemHelp()
{
	Record(TEXT("ShowSystemHelp"));
}

bool FStandInPlatformApplication::ApplicationLicenseValid(FPlatformUserId PlatformUser)
{
	Record(TEXT("ApplicationLicenseValid")).PlatformUserId = PlatformUser;
	return GenericApplication::ApplicationLicenseValid(PlatformUser);
}

bool FStandInPlatformApplication::IsAllowedToRender() const
{
	Record(TEXT("IsAllowedToRender"));
	return GenericApplication::IsAllowedToRender();
}

void FStandInPlatformApplication::FinishedInputThisFrame()
{
	Record(TEXT("FinishedInputThisFrame"));
}
