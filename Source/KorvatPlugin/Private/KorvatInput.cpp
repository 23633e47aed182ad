// The host's input: the module's input device, the packets it injects each frame, and handing Slate its real
// platform application back whenever the wrapper must not stay installed.
#include "KorvatPluginModule.h"

#include "Framework/Application/SlateApplication.h"

#include "Input/KorvatInputDevice.h"
#include "Input/KorvatPlatformApplication.h"

#include <string>
#include <utility>
#include <vector>

TSharedPtr<IInputDevice> FKorvatPlugin::CreateInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler)
{
	// A device made before is replaced: the real platform application goes back in place of its wrapper (so the
	// new wrapper wraps the real one, never a wrapper), and the old device lets go of its wrapper.
	if (InputDevice.IsValid())
	{
		RestorePlatformApplication();
		InputDevice->Detach();
	}
	const TSharedRef<FKorvatPlatformApplication> Wrapper =
		MakeShared<FKorvatPlatformApplication>(FSlateApplication::Get().GetPlatformApplication());
	InputDevice = MakeShared<FKorvatInputDevice>(InMessageHandler, Wrapper);
	return InputDevice;
}

void FKorvatPlugin::ProcessKorvatInputs()
{
	if (!Link.IsConnected())
	{
		return;
	}
	std::vector<std::string> Packets = Link.TakeInputPackets();
	InputPacketsTaken += Packets.size();
	// Packets taken while no game runs, or before the engine asked for the device, are dropped: input meant for
	// a game never reaches editor windows, nor a game started later.
	if (!bGameRunning || !InputDevice.IsValid())
	{
		return;
	}
	InputPacketsInjected += Packets.size();
	for (std::string& Packet : Packets)
	{
		InputDevice->ParseInputPacket(std::move(Packet));
	}
}

void FKorvatPlugin::RestorePlatformApplication()
{
	if (!InputDevice.IsValid() || !FSlateApplication::IsInitialized())
	{
		return;
	}
	const TSharedPtr<FKorvatPlatformApplication>& Wrapper = InputDevice->GetApplication();
	if (Wrapper.IsValid() && FSlateApplication::Get().GetPlatformApplication() == StaticCastSharedPtr<GenericApplication>(Wrapper))
	{
		FSlateApplication::Get().OverridePlatformApplication(Wrapper->GetWrapped());
	}
}
