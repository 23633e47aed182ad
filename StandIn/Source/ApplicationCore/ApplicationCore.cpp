// ApplicationCore of the stand-in: the generic platform application, native windows, display metrics and the
// controller-id forms of the message handler.
#include "GenericPlatform/GenericApplication.h"
#include "GenericPlatform/GenericApplicationMessageHandler.h"
#include "GenericPlatform/GenericWindow.h"
#include "GenericPlatform/ICursor.h"
#if WITH_ACCESSIBILITY
#include "GenericPlatform/Accessibility/GenericAccessibleInterfaces.h"
#endif

namespace
{
// The engine's generic input device mapper: a controller id of 0 or more is that platform user index and that
// input device; a negative one maps to no user and no device. (UNCONFIRMED for 5.5 beyond controller 0 -> the
// primary user 0 and the default device 0.)
void RemapControllerIdToPlatformUserAndDevice(int32 ControllerId, FPlatformUserId& OutUserId, FInputDeviceId& OutDeviceId)
{
	if (ControllerId < 0)
	{
		OutUserId = PLATFORMUSERID_NONE;
		OutDeviceId = INPUTDEVICEID_NONE;
		return;
	}
	OutUserId = FPlatformUserId::CreateFromInternalId(ControllerId);
	OutDeviceId = FInputDeviceId::CreateFromInternalId(ControllerId);
}
} // namespace

FGenericWindow::FGenericWindow() = default;

FGenericWindow::~FGenericWindow() = default;

void FDisplayMetrics::RebuildDisplayMetrics(FDisplayMetrics& OutDisplayMetrics)
{
	OutDisplayMetrics = FDisplayMetrics();
	OutDisplayMetrics.PrimaryDisplayWidth = 1920;
	OutDisplayMetrics.PrimaryDisplayHeight = 1080;
	OutDisplayMetrics.PrimaryDisplayWorkAreaRect = FPlatformRect(0, 0, 1920, 1040);
	OutDisplayMetrics.VirtualDisplayRect = FPlatformRect(0, 0, 1920, 1080);
	FMonitorInfo Monitor;
	Monitor.Name = TEXT("StandInMonitor");
	Monitor.ID = TEXT("StandInMonitor0");
	Monitor.NativeWidth = 1920;
	Monitor.NativeHeight = 1080;
	Monitor.MaxResolution = FIntPoint(1920, 1080);
	Monitor.DisplayRect = OutDisplayMetrics.VirtualDisplayRect;
	Monitor.WorkArea = OutDisplayMetrics.PrimaryDisplayWorkAreaRect;
	Monitor.bIsPrimary = true;
	Monitor.DPI = 96;
	OutDisplayMetrics.MonitorInfo.Add(Monitor);
}

GenericApplication::GenericApplication(const TSharedPtr<ICursor>& InCursor)
	: Cursor(InCursor)
	, MessageHandler(MakeShareable(new FGenericApplicationMessageHandler()))
#if WITH_ACCESSIBILITY
	, AccessibleMessageHandler(MakeShareable(new FGenericAccessibleMessageHandler()))
#endif
{
}

GenericApplication::~GenericApplication() = default;

#if WITH_ACCESSIBILITY
void GenericApplication::SetAccessibleMessageHandler(const TSharedRef<FGenericAccessibleMessageHandler>& InAccessibleMessageHandler)
{
	AccessibleMessageHandler = InAccessibleMessageHandler;
}

TSharedRef<FGenericAccessibleMessageHandler> GenericApplication::GetAccessibleMessageHandler() const
{
	return AccessibleMessageHandler;
}
#endif

bool FGenericApplicationMessageHandler::OnTouchStarted(const TSharedPtr<FGenericWindow>& Window, const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnTouchStarted(Window, Location, Force, TouchIndex, UserId, DeviceId);
	}
	return false;
}

bool FGenericApplicationMessageHandler::OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnTouchMoved(Location, Force, TouchIndex, UserId, DeviceId);
	}
	return false;
}

bool FGenericApplicationMessageHandler::OnTouchEnded(const FVector2D& Location, int32 TouchIndex, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnTouchEnded(Location, TouchIndex, UserId, DeviceId);
	}
	return false;
}

bool FGenericApplicationMessageHandler::OnTouchForceChanged(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnTouchForceChanged(Location, Force, TouchIndex, UserId, DeviceId);
	}
	return false;
}

bool FGenericApplicationMessageHandler::OnTouchFirstMove(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnTouchFirstMove(Location, Force, TouchIndex, UserId, DeviceId);
	}
	return false;
}

bool FGenericApplicationMessageHandler::OnMotionDetected(const FVector& Tilt, const FVector& RotationRate, const FVector& Gravity, const FVector& Acceleration, int32 ControllerId)
{
	if (ShouldUsePlatformUserId())
	{
		FPlatformUserId UserId;
		FInputDeviceId DeviceId;
		RemapControllerIdToPlatformUserAndDevice(ControllerId, UserId, DeviceId);
		return OnMotionDetected(Tilt, RotationRate, Gravity, Acceleration, UserId, DeviceId);
	}
	return false;
}
