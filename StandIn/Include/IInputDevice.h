// An input device that the engine polls every frame (module InputDevice).
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/IInputInterface.h"

class FGenericApplicationMessageHandler;
class FOutputDevice;
class IHapticDevice;
class UWorld;

class IInputDevice
{
public:
	virtual ~IInputDevice() {}

	/** Called every frame, before the events are sent. */
	virtual void Tick(float DeltaTime) = 0;
	/** Sends the device's input to the message handler. */
	virtual void SendControllerEvents() = 0;
	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) = 0;
	virtual bool Exec(UWorld* InWorld, const TCHAR* Cmd, FOutputDevice& Ar) = 0;
	virtual void SetChannelValue(int32 ControllerId, FForceFeedbackChannelType ChannelType, float Value) = 0;
	virtual void SetChannelValues(int32 ControllerId, const FForceFeedbackValues& values) = 0;

	virtual bool SupportsForceFeedback(int32 ControllerId) { return true; }
	virtual void SetLightColor(int32 ControllerId, FColor Color) {}
	virtual void ResetLightColor(int32 ControllerId) {}
	virtual void SetDeviceProperty(int32 ControllerId, const FInputDeviceProperty* Property) {}
	virtual bool IsGamepadAttached() const { return false; }
	virtual IHapticDevice* GetHapticDevice() { return nullptr; }
};
