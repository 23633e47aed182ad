// The module's input device: injects the host's input packets into the game through the engine's
// application message handler, and switches Slate between the real platform application and the wrapper.
#pragma once

#include "CoreMinimal.h"
#include "IInputDevice.h"

#include <string>

class FGenericApplicationMessageHandler;
class FKorvatPlatformApplication;
class GenericApplication;

namespace Korvat::Input
{
struct FInputMessage;
}

/** Produces no input of its own: the host's packets arrive through ParseInputPacket. */
class FKorvatInputDevice : public IInputDevice
{
public:
	FKorvatInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler,
		const TSharedRef<FKorvatPlatformApplication>& InApplication);

	/** Decodes one packet (the device's own copy, split in place) and injects what it says. */
	void ParseInputPacket(std::string Packet);

	/** The wrapper that Slate uses while the host's pointer is over its output; null once detached. */
	const TSharedPtr<FKorvatPlatformApplication>& GetApplication() const { return Application; }

	/**
	 * Lets go of the wrapper, and with it of the platform application it wraps. The platform application holds
	 * its input devices, so device, wrapper and wrapped application keep each other alive until one lets go; the
	 * module does so when it shuts down, after handing Slate its real platform application back. A detached
	 * device injects nothing.
	 */
	void Detach() { Application.Reset(); }

	//~ Begin IInputDevice Interface
	virtual void Tick(float DeltaTime) override {}
	virtual void SendControllerEvents() override {}
	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override;
	virtual bool Exec(UWorld* InWorld, const TCHAR* Cmd, FOutputDevice& Ar) override { return true; }
	virtual void SetChannelValue(int32 ControllerId, FForceFeedbackChannelType ChannelType, float Value) override {}
	virtual void SetChannelValues(int32 ControllerId, const FForceFeedbackValues& Values) override {}
	/** Force feedback sent to the host's pointer goes nowhere, harmlessly. */
	virtual bool SupportsForceFeedback(int32 ControllerId) override { return true; }
	virtual void SetLightColor(int32 ControllerId, FColor Color) override {}
	virtual void ResetLightColor(int32 ControllerId) override {}
	virtual void SetDeviceProperty(int32 ControllerId, const FInputDeviceProperty* Property) override {}
	//~ End IInputDevice Interface

	static constexpr int32 TouchSlotCount = 10;

private:
	/** What one packet's messages share: the game viewport client, its size and the current platform application. */
	struct FPacketState;

	void DispatchMouse(const Korvat::Input::FInputMessage& Message, FPacketState& State);
	void DispatchKeyboard(const Korvat::Input::FInputMessage& Message);
	void DispatchTouch(const Korvat::Input::FInputMessage& Message, const FPacketState& State);

	/** Touch identifiers of the host by engine touch index; -1 marks a free slot. */
	int32 TouchIds[TouchSlotCount];
	TSharedPtr<FKorvatPlatformApplication> Application;
	TSharedRef<FGenericApplicationMessageHandler> MessageHandler;
};
