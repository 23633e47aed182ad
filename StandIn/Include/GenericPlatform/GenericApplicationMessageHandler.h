// The receiver of platform input events (ApplicationCore); Slate's application implements it.
// Evidence: the engine's header [SRC, UE 5.x Runtime/ApplicationCore/Public/GenericPlatform/
// GenericApplicationMessageHandler.h] and the 5.5 API pages of FGenericApplicationMessageHandler.
// The engine's class also has window, drag-and-drop, gesture and size-limit handlers; those are not declared here.
#pragma once

#include "CoreMinimal.h"

class FGenericWindow;

namespace EMouseButtons
{
	enum Type
	{
		Left = 0,
		Middle,
		Right,
		Thumb01,
		Thumb02,

		Invalid,
	};
}

/** Names of gamepad keys (ApplicationCore). */
struct FGamepadKeyNames
{
	typedef FName Type;
};

/** How a window was activated. */
enum class EWindowActivation : uint8
{
	Activate,
	ActivateByMouse,
	Deactivate
};

/** Every handler returns whether it consumed the event; the defaults consume nothing. */
class APPLICATIONCORE_API FGenericApplicationMessageHandler
{
public:
	virtual ~FGenericApplicationMessageHandler() = default;

	virtual bool ShouldProcessUserInputMessages(const TSharedPtr<FGenericWindow>& PlatformWindow) const { return false; }

	virtual bool OnKeyChar(const TCHAR Character, const bool IsRepeat) { return false; }
	virtual bool OnKeyDown(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) { return false; }
	virtual bool OnKeyUp(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) { return false; }
	virtual void OnInputLanguageChanged() {}

	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseUp(const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseUp(const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseWheel(const float Delta) { return false; }
	virtual bool OnMouseWheel(const float Delta, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseMove() { return false; }
	virtual bool OnRawMouseMove(const int32 X, const int32 Y) { return false; }
	virtual bool OnCursorSet() { return false; }

	/**
	 * Whether this handler expects platform user ids. True by default: the controller-id forms of the touch and
	 * motion handlers then remap the controller id and forward to the platform-user forms; a handler answering
	 * false gets the opposite direction (platform-user forms forward to the controller-id forms).
	 */
	virtual bool ShouldUsePlatformUserId() const { return true; }

	virtual bool OnControllerAnalog(FGamepadKeyNames::Type KeyName, FPlatformUserId PlatformUserId, FInputDeviceId InputDeviceId, float AnalogValue) { return false; }
	virtual bool OnControllerButtonPressed(FGamepadKeyNames::Type KeyName, FPlatformUserId PlatformUserId, FInputDeviceId InputDeviceId, bool IsRepeat) { return false; }
	virtual bool OnControllerButtonReleased(FGamepadKeyNames::Type KeyName, FPlatformUserId PlatformUserId, FInputDeviceId InputDeviceId, bool IsRepeat) { return false; }

	// Touch, platform-user forms (what Slate overrides). Each forwards to its controller-id form, passing the
	// platform user's internal id as the controller id, only when ShouldUsePlatformUserId() is false.
	virtual bool OnTouchStarted(const TSharedPtr<FGenericWindow>& Window, const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnTouchStarted(Window, Location, Force, TouchIndex, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceID)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnTouchMoved(Location, Force, TouchIndex, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnTouchEnded(const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceID)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnTouchEnded(Location, TouchIndex, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnTouchForceChanged(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceID)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnTouchForceChanged(Location, Force, TouchIndex, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnTouchFirstMove(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceID)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnTouchFirstMove(Location, Force, TouchIndex, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnMotionDetected(const FVector& Tilt, const FVector& RotationRate, const FVector& Gravity, const FVector& Acceleration, FPlatformUserId PlatformUserId, FInputDeviceId InputDeviceId)
	{
		if (!ShouldUsePlatformUserId())
		{
			return OnMotionDetected(Tilt, RotationRate, Gravity, Acceleration, PlatformUserId.GetInternalId());
		}
		return false;
	}

	virtual bool OnWindowActivationChanged(const TSharedRef<FGenericWindow>& Window, const EWindowActivation ActivationType) { return false; }
	virtual bool OnApplicationActivationChanged(const bool IsActive) { return false; }
	virtual void OnWindowClose(const TSharedRef<FGenericWindow>& Window) {}
	virtual void SetCursorPos(const FVector2D& MouseCoordinate) {}

	// Touch and motion, controller-id forms (the older ones). When ShouldUsePlatformUserId() is true (the
	// default) each remaps the controller id to a platform user and input device, as the engine's generic input
	// device mapper does (a controller id of 0 or more is that user index and that device id; a negative one is
	// no user and no device; the exact mapper rules are UNCONFIRMED for 5.5), and forwards to the platform-user
	// form; otherwise it answers false.
	virtual bool OnTouchStarted(const TSharedPtr<FGenericWindow>& Window, const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId);
	virtual bool OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId);
	virtual bool OnTouchEnded(const FVector2D& Location, int32 TouchIndex, int32 ControllerId);
	virtual bool OnTouchForceChanged(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId);
	virtual bool OnTouchFirstMove(const FVector2D& Location, float Force, int32 TouchIndex, int32 ControllerId);
	virtual bool OnMotionDetected(const FVector& Tilt, const FVector& RotationRate, const FVector& Gravity, const FVector& Acceleration, int32 ControllerId);
};
