#include "KorvatInputDevice.h"

#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Framework/Application/SlateApplication.h"
#include "GenericPlatform/GenericApplicationMessageHandler.h"
#include "GenericPlatform/GenericWindow.h"
#include "Slate/SceneViewport.h"
#include "Widgets/SWindow.h"

#include "KorvatInputPacket.h"
#include "KorvatPlatformApplication.h"
#include "Platform/System.h"

#include <span>

namespace KorvatInputDevice
{
using Korvat::Input::EInputEventKind;
using Korvat::Input::FInputMessage;

EMouseButtons::Type ToEngineButton(Korvat::Input::EInputMouseButton Button)
{
	switch (Button)
	{
	case Korvat::Input::EInputMouseButton::Left: return EMouseButtons::Left;
	case Korvat::Input::EInputMouseButton::Right: return EMouseButtons::Right;
	case Korvat::Input::EInputMouseButton::Middle: return EMouseButtons::Middle;
	case Korvat::Input::EInputMouseButton::Thumb01: return EMouseButtons::Thumb01;
	case Korvat::Input::EInputMouseButton::Thumb02: return EMouseButtons::Thumb02;
	}
	return EMouseButtons::Invalid;
}

/** Calls Press for each button of the host's mask, always in the order Left, Right, Middle, Thumb01, Thumb02. */
template <typename PressType>
void ForEachButton(int32 Mask, PressType&& Press)
{
	for (const Korvat::Input::FInputMouseButtonBit& Bit : Korvat::Input::InputMouseButtonBits)
	{
		if ((static_cast<uint32>(Mask) & Bit.Bit) != 0)
		{
			Press(ToEngineButton(Bit.Button));
		}
	}
}

/** Toward zero to 32 bits; what does not fit (a host's NaN or huge value) saturates instead of being undefined. */
int32 TruncToInt32Saturated(double Value)
{
	if (!(Value == Value))
	{
		return 0;
	}
	if (Value >= 2147483647.0)
	{
		return MAX_int32;
	}
	if (Value <= -2147483648.0)
	{
		return MIN_int32;
	}
	return static_cast<int32>(Value);
}

/** The native window of the game viewport client's window, fetched anew for each call that needs it. */
TSharedPtr<FGenericWindow> NativeWindowOf(UGameViewportClient* ViewportClient)
{
	const TSharedPtr<SWindow> Window = ViewportClient->GetWindow();
	return Window.IsValid() ? Window->GetNativeWindow() : TSharedPtr<FGenericWindow>();
}
} // namespace KorvatInputDevice

struct FKorvatInputDevice::FPacketState
{
	UGameViewportClient* ViewportClient = nullptr;
	FVector2D ViewportSize = FVector2D(0.0, 0.0);
	/** The desktop pixel of the viewport's top-left corner. */
	FIntPoint Corner = FIntPoint(0, 0);
	TSharedPtr<GenericApplication> CurrentApplication;
};

FKorvatInputDevice::FKorvatInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler,
	const TSharedRef<FKorvatPlatformApplication>& InApplication)
	: Application(InApplication)
	, MessageHandler(InMessageHandler)
{
	for (int32& Id : TouchIds)
	{
		Id = -1;
	}
}

void FKorvatInputDevice::SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler)
{
	MessageHandler = InMessageHandler;
}

void FKorvatInputDevice::ParseInputPacket(std::string Packet)
{
	if (!Application.IsValid())
	{
		return;
	}
	FPacketState State;
	State.ViewportClient = GEngine != nullptr ? GEngine->GameViewport.Get() : nullptr;
	if (State.ViewportClient != nullptr)
	{
		State.ViewportClient->GetViewportSize(State.ViewportSize);
		if (FSceneViewport* SceneViewport = State.ViewportClient->GetGameViewport())
		{
			State.Corner = SceneViewport->ViewportToVirtualDesktopPixel(FVector2D(0.0, 0.0));
		}
	}
	State.CurrentApplication = FSlateApplication::Get().GetPlatformApplication();

	Korvat::Input::FInputPacketReader Reader(std::span<char>(Packet.data(), Packet.size()));
	while (const KorvatInputDevice::FInputMessage* Message = Reader.Next())
	{
		// A message cut short by the end of the packet carries less than it names: it is not injected.
		if (Message->bTruncated)
		{
			continue;
		}
		switch (Message->Device)
		{
		case Korvat::Input::EInputDeviceKind::Mouse: DispatchMouse(*Message, State); break;
		case Korvat::Input::EInputDeviceKind::Keyboard: DispatchKeyboard(*Message); break;
		case Korvat::Input::EInputDeviceKind::MultiTouch: DispatchTouch(*Message, State); break;
		case Korvat::Input::EInputDeviceKind::Other: break;
		}
	}
}

void FKorvatInputDevice::DispatchMouse(const Korvat::Input::FInputMessage& Message, FPacketState& State)
{
	using KorvatInputDevice::EInputEventKind;
	if (State.ViewportClient == nullptr)
	{
		return;
	}
	FSlateApplication& Slate = FSlateApplication::Get();
	const Korvat::Input::FInputMessageArgs& Args = Message.Args;
	switch (Message.Event)
	{
	case EInputEventKind::Position:
	{
		const TSharedPtr<ICursor> Cursor = State.CurrentApplication.IsValid() ? State.CurrentApplication->Cursor : nullptr;
		if (!Cursor.IsValid())
		{
			return;
		}
		using KorvatInputDevice::TruncToInt32Saturated;
		const int32 TargetX = TruncToInt32Saturated(State.Corner.X + static_cast<double>(TruncToInt32Saturated(Args.Floats[0] * State.ViewportSize.X)));
		const int32 TargetY = TruncToInt32Saturated(State.Corner.Y + static_cast<double>(TruncToInt32Saturated(Args.Floats[1] * State.ViewportSize.Y)));
		const FVector2D Old = Cursor->GetPosition();
		Cursor->SetPosition(TargetX, TargetY);
		MessageHandler->OnRawMouseMove(TruncToInt32Saturated(TargetX - Old.X), TruncToInt32Saturated(TargetY - Old.Y));
		return;
	}
	case EInputEventKind::IsInside:
		if (Args.Bools[0])
		{
			Slate.OverridePlatformApplication(Application);
			Slate.OnCursorSet();
			Slate.ProcessApplicationActivationEvent(true);
			State.CurrentApplication = Application;
		}
		else
		{
			Slate.OverridePlatformApplication(Application->GetWrapped());
			State.CurrentApplication = Application->GetWrapped();
		}
		return;
	case EInputEventKind::ButtonDown:
	{
		if (!Slate.IsActive())
		{
			Slate.ProcessApplicationActivationEvent(true);
		}
		KorvatInputDevice::ForEachButton(Args.Ints[0], [&](EMouseButtons::Type Button) {
			const TSharedPtr<FGenericWindow> Window = KorvatInputDevice::NativeWindowOf(State.ViewportClient);
			if (Window.IsValid())
			{
				MessageHandler->OnMouseDown(Window, Button);
			}
		});
		return;
	}
	case EInputEventKind::ButtonUp:
		KorvatInputDevice::ForEachButton(Args.Ints[0], [&](EMouseButtons::Type Button) { MessageHandler->OnMouseUp(Button); });
		return;
	case EInputEventKind::DoubleClick:
	{
		const TSharedPtr<FGenericWindow> Window = KorvatInputDevice::NativeWindowOf(State.ViewportClient);
		if (Window.IsValid())
		{
			MessageHandler->OnMouseDoubleClick(Window, EMouseButtons::Left);
		}
		return;
	}
	case EInputEventKind::DoubleClick2:
		KorvatInputDevice::ForEachButton(Args.Ints[0], [&](EMouseButtons::Type Button) {
			const TSharedPtr<FGenericWindow> Window = KorvatInputDevice::NativeWindowOf(State.ViewportClient);
			if (Window.IsValid())
			{
				MessageHandler->OnMouseDoubleClick(Window, Button);
			}
		});
		return;
	case EInputEventKind::Wheel:
		MessageHandler->OnMouseWheel(Korvat::Input::InputWheelDelta(Args.Ints[0]));
		return;
	default:
		return;
	}
}

void FKorvatInputDevice::DispatchKeyboard(const Korvat::Input::FInputMessage& Message)
{
	using KorvatInputDevice::EInputEventKind;
	const int32 KeyCode = Message.Args.Ints[0];
	switch (Message.Event)
	{
	case EInputEventKind::KeyDown:
		MessageHandler->OnKeyDown(KeyCode, Korvat::UE4::Platform::VirtualKeyToChar(static_cast<uint32>(KeyCode) & 0xFFFF), false);
		return;
	case EInputEventKind::KeyUp:
		MessageHandler->OnKeyUp(KeyCode, Korvat::UE4::Platform::VirtualKeyToChar(static_cast<uint32>(KeyCode) & 0xFFFF), false);
		return;
	case EInputEventKind::KeyPress:
		MessageHandler->OnKeyChar(static_cast<TCHAR>(static_cast<uint32>(KeyCode) & 0xFFFF), false);
		return;
	default:
		return;
	}
}

void FKorvatInputDevice::DispatchTouch(const Korvat::Input::FInputMessage& Message, const FPacketState& State)
{
	using KorvatInputDevice::EInputEventKind;
	int32 Identifier = 0;
	// -1 marks a free slot: a host touch of that identifier could never be told from one.
	if (State.ViewportClient == nullptr || !Korvat::Input::ReadInputTouchIdentifier(Message, Identifier) || Identifier == -1)
	{
		return;
	}
	const Korvat::Input::FInputMessageArgs& Args = Message.Args;
	const FVector2D Location(State.Corner.X + static_cast<double>(Args.Floats[0]) * State.ViewportSize.X,
		State.Corner.Y + static_cast<double>(Args.Floats[1]) * State.ViewportSize.Y);
	const float Force = Args.Floats[3];
	const auto LowestSlotHolding = [this](int32 Id) {
		for (int32 Index = 0; Index < TouchSlotCount; ++Index)
		{
			if (TouchIds[Index] == Id)
			{
				return Index;
			}
		}
		return static_cast<int32>(INDEX_NONE);
	};

	switch (Message.Event)
	{
	case EInputEventKind::TouchAdd:
	{
		const int32 Index = LowestSlotHolding(-1);
		const TSharedPtr<FGenericWindow> Window = KorvatInputDevice::NativeWindowOf(State.ViewportClient);
		if (Index == INDEX_NONE || !Window.IsValid())
		{
			return;
		}
		TouchIds[Index] = Identifier;
		MessageHandler->OnTouchStarted(Window, Location, Force, Index, 0);
		return;
	}
	case EInputEventKind::TouchMove:
		if (const int32 Index = LowestSlotHolding(Identifier); Index != INDEX_NONE)
		{
			MessageHandler->OnTouchMoved(Location, Force, Index, 0);
		}
		return;
	case EInputEventKind::TouchRemove:
		if (const int32 Index = LowestSlotHolding(Identifier); Index != INDEX_NONE)
		{
			TouchIds[Index] = -1;
			MessageHandler->OnTouchEnded(Location, Index, 0);
		}
		return;
	default:
		return;
	}
}
