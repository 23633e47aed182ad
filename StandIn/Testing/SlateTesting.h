// Test controls of the stand-in's Slate and platform application: initialise and shut down Slate on a
// recording platform application with a real cursor, make the application active or inactive, and read what
// was asked of Slate, of the platform application and of input-device modules.
//
// Slate is initialised by EngineTesting::StartGameEngine / StartEditorEngine (when a test has not done it
// before) and shut down by EngineTesting::StopEngine. Every engine frame (EngineTesting::RunFrame) polls the
// platform application's game devices right after FCoreDelegates::OnBeginFrame
// (FSlateApplication::PollGameDeviceState, then FinishedInputThisFrame), as the engine loop does. The stand-in
// platform application, like the engine's Windows application, creates the devices of input-device modules at
// its first poll: it asks every module registered as the modular feature "InputDevice" (in registration order)
// for one device with IInputDeviceModule::CreateInputDevice(its message handler), which is Slate's application,
// keeps every non-null device, and on every poll calls each kept device's Tick(TimeDelta), then
// SendControllerEvents(). So input devices are created once per platform application, in the first engine
// frame, after Slate; they are released when Slate shuts down.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericApplication.h"
#include "GenericPlatform/GenericApplicationMessageHandler.h"
#include "GenericPlatform/ICursor.h"

class IInputDevice;
class IInputDeviceModule;

namespace SlateTesting
{
/**
 * One call on a message handler (Slate's application, or an FRecordingMessageHandler), or one of Slate's own
 * operations that tests follow. Function is the function's name; the fields it takes are set, the others keep
 * their defaults:
 * - "OnKeyChar": Character, bIsRepeat. "OnKeyDown" / "OnKeyUp": KeyCode, CharacterCode, bIsRepeat.
 * - "OnMouseDown" / "OnMouseDoubleClick": Window, Button, and with the cursor-position form bHasCursorPos and CursorPos.
 * - "OnMouseUp": Button (+ bHasCursorPos, CursorPos). "OnMouseWheel": Delta (+ bHasCursorPos, CursorPos).
 * - "OnMouseMove": nothing. "OnRawMouseMove": X, Y. "OnCursorSet": nothing.
 * - "OnTouchStarted": Window, Location, Force, TouchIndex, PlatformUserId, DeviceId. "OnTouchMoved": Location,
 *   Force, TouchIndex, PlatformUserId, DeviceId. "OnTouchEnded": Location, TouchIndex, PlatformUserId, DeviceId.
 *   Slate records only these platform-user forms (the ones it overrides); a call of a controller-id form
 *   arrives remapped (controller 0 -> platform user 0, input device 0).
 * - "OnApplicationActivationChanged": bValue.
 * - Slate only: "ProcessApplicationActivationEvent": bValue (the argument). "OverridePlatformApplication":
 *   Application (the argument). "SetPlatformApplication": Application.
 */
struct FMessageHandlerCall
{
	FString Function;
	TSharedPtr<FGenericWindow> Window;
	EMouseButtons::Type Button = EMouseButtons::Invalid;
	bool bHasCursorPos = false;
	FVector2D CursorPos = FVector2D(0.0, 0.0);
	TCHAR Character = 0;
	int32 KeyCode = 0;
	uint32 CharacterCode = 0;
	bool bIsRepeat = false;
	float Delta = 0.0f;
	int32 X = 0;
	int32 Y = 0;
	FVector2D Location = FVector2D(0.0, 0.0);
	float Force = 0.0f;
	int32 TouchIndex = 0;
	FPlatformUserId PlatformUserId = PLATFORMUSERID_NONE;
	FInputDeviceId DeviceId = INPUTDEVICEID_NONE;
	bool bValue = false;
	/** Weak, so that the record keeps no application (nor what it holds) alive. */
	TWeakPtr<GenericApplication> Application;
};

/**
 * One call on the stand-in platform application (GenericApplication's virtuals; the destructor, the accessible
 * message-handler getter and the cursor are not recorded). Function is the function's name; the fields it
 * takes are set:
 * - TimeDelta: PollGameDeviceState, PumpMessages, ProcessDeferredEvents, Tick.
 * - Window: InitializeWindow (the window), SetCapture, SetHighPrecisionMouseMode. ParentWindow: InitializeWindow.
 * - Definition: InitializeWindow. bValue: InitializeWindow (bShowImmediately), SetHighPrecisionMouseMode (Enable).
 * - Text: AddPendingConsoleCommand. Rect: GetWorkArea, TryCalculatePopupWindowPosition (the anchor).
 * - PlatformUserId: ApplicationLicenseValid. Pointer: SendAnalytics (the provider),
 *   TryCalculatePopupWindowPosition (the output pointer). Size, Placement, Orientation: TryCalculatePopupWindowPosition.
 * - MessageHandler: SetMessageHandler. AccessibleMessageHandler: SetAccessibleMessageHandler.
 * Everything else records its name only.
 */
struct FPlatformApplicationCall
{
	FString Function;
	float TimeDelta = 0.0f;
	TSharedPtr<FGenericWindow> Window;
	TSharedPtr<FGenericWindow> ParentWindow;
	TSharedPtr<FGenericWindowDefinition> Definition;
	bool bValue = false;
	FString Text;
	FPlatformRect Rect;
	FPlatformUserId PlatformUserId = PLATFORMUSERID_NONE;
	const void* Pointer = nullptr;
	FVector2D Size = FVector2D(0.0, 0.0);
	FVector2D Placement = FVector2D(0.0, 0.0);
	EPopUpOrientation::Type Orientation = EPopUpOrientation::Horizontal;
	/** Weak, so that the record keeps no handler (Slate) alive. */
	TWeakPtr<FGenericApplicationMessageHandler> MessageHandler;
#if WITH_ACCESSIBILITY
	TWeakPtr<FGenericAccessibleMessageHandler> AccessibleMessageHandler;
#endif
};

/** One device asked of an input-device module by the platform application. */
struct FInputDeviceCreation
{
	IInputDeviceModule* Module = nullptr;
	/** Whether the module returned a device (a null answer is not kept by the platform application). */
	bool bDeviceCreated = false;
	/** What the module returned; weak, so the record never keeps a device (or Slate) alive. */
	TWeakPtr<IInputDevice> Device;
	/** The message handler passed to CreateInputDevice (weak, as Device). */
	TWeakPtr<FGenericApplicationMessageHandler> MessageHandler;
	/** Whether Slate was initialised when the module was asked. */
	bool bSlateInitialized = false;
};

/**
 * Initialises Slate (FSlateApplication::Create) on a new stand-in platform application whose cursor is a new
 * stand-in cursor at (0, 0), and forgets the records. Slate must not be initialised.
 *
 * The stand-in platform application answers as a Windows desktop application would, where that differs from
 * GenericApplication's defaults: GetWindowTransparencySupport PerWindow; GetInitialDisplayMetrics and GetWorkArea
 * from one 1920 by 1080 monitor at (0, 0) with a work area of 1920 by 1040; MakeWindow a new FGenericWindow.
 * Every other virtual keeps GenericApplication's answer. The stand-in cursor stores SetPosition's integers and
 * returns them from GetPosition, stores SetType (starts as Default) and answers GetSize 32 by 32; Show, Lock and
 * SetTypeShape do nothing.
 */
SLATE_API void InitializeSlate();

/** Shuts Slate down (FSlateApplication::Shutdown(true): the platform application's DestroyApplication is recorded). */
SLATE_API void ShutdownSlate();

/** The platform application InitializeSlate made (it stays the same while another one is installed), or null. */
SLATE_API TSharedPtr<GenericApplication> GetStandInPlatformApplication();

/** Slate's current platform application (FSlateApplicationBase::PlatformApplication), or null without Slate. */
SLATE_API TSharedPtr<GenericApplication> GetCurrentPlatformApplication();

/** Makes Slate's application active or inactive without recording a call (as test setup). */
SLATE_API void SetApplicationActive(bool bActive);

/** The calls on Slate's application since the last reset, oldest first. */
SLATE_API TArray<FMessageHandlerCall> GetSlateCalls();

/** The calls on the stand-in platform application (GetStandInPlatformApplication) since the last reset, oldest first. */
SLATE_API TArray<FPlatformApplicationCall> GetPlatformApplicationCalls();

/** The input devices asked of modules since Slate was initialised, oldest first (not forgotten by ResetRecords). */
SLATE_API TArray<FInputDeviceCreation> GetInputDeviceCreations();

/** Forgets the recorded Slate and platform-application calls. */
SLATE_API void ResetRecords();

/** Names of the recorded calls, for compact assertions. */
template <typename CallType>
TArray<FString> FunctionNames(const TArray<CallType>& Calls)
{
	TArray<FString> Names;
	for (const CallType& Call : Calls)
	{
		Names.Add(Call.Function);
	}
	return Names;
}

/**
 * A message handler that records every call it receives, in order, in Calls (fields as for Slate, see
 * FMessageHandlerCall). Like Slate's application it overrides only the platform-user touch forms, so a
 * controller-id touch call reaches it through the base class's forwarding; the using-declarations let tests
 * call either form on it directly.
 */
class FRecordingMessageHandler : public FGenericApplicationMessageHandler
{
public:
	using FGenericApplicationMessageHandler::OnTouchStarted;
	using FGenericApplicationMessageHandler::OnTouchMoved;
	using FGenericApplicationMessageHandler::OnTouchEnded;

	TArray<FMessageHandlerCall> Calls;

	virtual bool OnKeyChar(const TCHAR Character, const bool IsRepeat) override
	{
		FMessageHandlerCall& Call = Add(TEXT("OnKeyChar"));
		Call.Character = Character;
		Call.bIsRepeat = IsRepeat;
		return false;
	}
	virtual bool OnKeyDown(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) override
	{
		return Key(TEXT("OnKeyDown"), KeyCode, CharacterCode, IsRepeat);
	}
	virtual bool OnKeyUp(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) override
	{
		return Key(TEXT("OnKeyUp"), KeyCode, CharacterCode, IsRepeat);
	}
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) override
	{
		return Mouse(TEXT("OnMouseDown"), Window, Button, nullptr);
	}
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) override
	{
		return Mouse(TEXT("OnMouseDown"), Window, Button, &CursorPos);
	}
	virtual bool OnMouseUp(const EMouseButtons::Type Button) override
	{
		return Mouse(TEXT("OnMouseUp"), nullptr, Button, nullptr);
	}
	virtual bool OnMouseUp(const EMouseButtons::Type Button, const FVector2D CursorPos) override
	{
		return Mouse(TEXT("OnMouseUp"), nullptr, Button, &CursorPos);
	}
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) override
	{
		return Mouse(TEXT("OnMouseDoubleClick"), Window, Button, nullptr);
	}
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) override
	{
		return Mouse(TEXT("OnMouseDoubleClick"), Window, Button, &CursorPos);
	}
	virtual bool OnMouseWheel(const float Delta) override
	{
		Add(TEXT("OnMouseWheel")).Delta = Delta;
		return false;
	}
	virtual bool OnMouseWheel(const float Delta, const FVector2D CursorPos) override
	{
		FMessageHandlerCall& Call = Add(TEXT("OnMouseWheel"));
		Call.Delta = Delta;
		Call.bHasCursorPos = true;
		Call.CursorPos = CursorPos;
		return false;
	}
	virtual bool OnMouseMove() override
	{
		Add(TEXT("OnMouseMove"));
		return false;
	}
	virtual bool OnRawMouseMove(const int32 X, const int32 Y) override
	{
		FMessageHandlerCall& Call = Add(TEXT("OnRawMouseMove"));
		Call.X = X;
		Call.Y = Y;
		return false;
	}
	virtual bool OnCursorSet() override
	{
		Add(TEXT("OnCursorSet"));
		return false;
	}
	virtual bool OnTouchStarted(const TSharedPtr<FGenericWindow>& Window, const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override
	{
		FMessageHandlerCall& Call = Touch(TEXT("OnTouchStarted"), Location, TouchIndex, PlatformUserId, DeviceId);
		Call.Window = Window;
		Call.Force = Force;
		return false;
	}
	virtual bool OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override
	{
		Touch(TEXT("OnTouchMoved"), Location, TouchIndex, PlatformUserId, DeviceId).Force = Force;
		return false;
	}
	virtual bool OnTouchEnded(const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId) override
	{
		Touch(TEXT("OnTouchEnded"), Location, TouchIndex, PlatformUserId, DeviceId);
		return false;
	}
	virtual bool OnApplicationActivationChanged(const bool IsActive) override
	{
		Add(TEXT("OnApplicationActivationChanged")).bValue = IsActive;
		return false;
	}

private:
	FMessageHandlerCall& Add(const TCHAR* Function)
	{
		FMessageHandlerCall Call;
		Call.Function = Function;
		Calls.Add(Call);
		return Calls.Last();
	}
	bool Key(const TCHAR* Function, int32 KeyCode, uint32 CharacterCode, bool IsRepeat)
	{
		FMessageHandlerCall& Call = Add(Function);
		Call.KeyCode = KeyCode;
		Call.CharacterCode = CharacterCode;
		Call.bIsRepeat = IsRepeat;
		return false;
	}
	bool Mouse(const TCHAR* Function, const TSharedPtr<FGenericWindow>& Window, EMouseButtons::Type Button, const FVector2D* CursorPos)
	{
		FMessageHandlerCall& Call = Add(Function);
		Call.Window = Window;
		Call.Button = Button;
		if (CursorPos != nullptr)
		{
			Call.bHasCursorPos = true;
			Call.CursorPos = *CursorPos;
		}
		return false;
	}
	FMessageHandlerCall& Touch(const TCHAR* Function, const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
	{
		FMessageHandlerCall& Call = Add(Function);
		Call.Location = Location;
		Call.TouchIndex = TouchIndex;
		Call.PlatformUserId = PlatformUserId;
		Call.DeviceId = DeviceId;
		return Call;
	}
};
} // namespace SlateTesting
