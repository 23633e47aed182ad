#include "SlateTesting.h"

#include "Framework/Application/SlateApplication.h"

#include "SlateRecord.h"
#include "StandInPlatformApplication.h"

// The stand-in's own access to Slate's protected state, which the engine's loop would set.
struct FSlateApplicationAccess : public FSlateApplication
{
	static TSharedPtr<GenericApplication> CurrentPlatformApplication() { return PlatformApplication; }
};

namespace
{
TWeakPtr<GenericApplication>& StandInApplication()
{
	static TWeakPtr<GenericApplication>* Application = new TWeakPtr<GenericApplication>();
	return *Application;
}
} // namespace

namespace SlateTesting
{

void InitializeSlate()
{
	checkf(!FSlateApplication::IsInitialized(), TEXT("Slate is initialised already"));
	GetSlateRecord() = FSlateRecord();
	TSharedRef<GenericApplication> Application = MakeShareable(new FStandInPlatformApplication());
	StandInApplication() = Application;
	FSlateApplication::Create(Application);
}

void ShutdownSlate()
{
	FSlateApplication::Shutdown(true);
}

TSharedPtr<GenericApplication> GetStandInPlatformApplication()
{
	return StandInApplication().Pin();
}

TSharedPtr<GenericApplication> GetCurrentPlatformApplication()
{
	return FSlateApplicationAccess::CurrentPlatformApplication();
}

void SetApplicationActive(bool bActive)
{
	FSlateApplication& Slate = FSlateApplication::Get();
	TArray<FMessageHandlerCall> Calls = GetSlateRecord().SlateCalls;
	Slate.ProcessApplicationActivationEvent(bActive);
	GetSlateRecord().SlateCalls = Calls;
}

TArray<FMessageHandlerCall> GetSlateCalls()
{
	return GetSlateRecord().SlateCalls;
}

TArray<FPlatformApplicationCall> GetPlatformApplicationCalls()
{
	return GetSlateRecord().PlatformApplicationCalls;
}

TArray<FInputDeviceCreation> GetInputDeviceCreations()
{
	return GetSlateRecord().InputDeviceCreations;
}

void ResetRecords()
{
	GetSlateRecord().SlateCalls.Reset();
	GetSlateRecord().PlatformApplicationCalls.Reset();
}

} // namespace SlateTesting
