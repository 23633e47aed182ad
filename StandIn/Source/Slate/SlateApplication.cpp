// Slate's application of the stand-in: the platform application, windows, activation, and the recorded input.
#include "Framework/Application/SlateApplication.h"
#include "Application/SlateApplicationBase.h"
#include "Widgets/SWindow.h"

#include "SlateRecord.h"

DEFINE_LOG_CATEGORY_STATIC(LogSlate, Log, All);

TSharedPtr<FSlateApplicationBase> FSlateApplicationBase::CurrentBaseApplication = nullptr;
TSharedPtr<GenericApplication> FSlateApplicationBase::PlatformApplication = nullptr;
TSharedPtr<FSlateApplication> FSlateApplication::CurrentApplication = nullptr;

namespace
{
SlateTesting::FMessageHandlerCall& RecordSlateCall(const TCHAR* Function)
{
	SlateTesting::FMessageHandlerCall Call;
	Call.Function = Function;
	TArray<SlateTesting::FMessageHandlerCall>& Calls = GetSlateRecord().SlateCalls;
	Calls.Add(Call);
	return Calls.Last();
}

bool RecordMouse(const TCHAR* Function, const TSharedPtr<FGenericWindow>& Window, EMouseButtons::Type Button, const FVector2D* CursorPos)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(Function);
	Call.Window = Window;
	Call.Button = Button;
	if (CursorPos != nullptr)
	{
		Call.bHasCursorPos = true;
		Call.CursorPos = *CursorPos;
	}
	// No widget here handles the event.
	return false;
}

bool RecordKey(const TCHAR* Function, int32 KeyCode, uint32 CharacterCode, bool IsRepeat)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(Function);
	Call.KeyCode = KeyCode;
	Call.CharacterCode = CharacterCode;
	Call.bIsRepeat = IsRepeat;
	return false;
}

SlateTesting::FMessageHandlerCall& RecordTouch(const TCHAR* Function, const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(Function);
	Call.Location = Location;
	Call.TouchIndex = TouchIndex;
	Call.PlatformUserId = PlatformUserId;
	Call.DeviceId = DeviceId;
	return Call;
}
} // namespace

FSlateRecord& GetSlateRecord()
{
	static FSlateRecord* Record = new FSlateRecord();
	return *Record;
}

// --- FSlateApplicationBase ---------------------------------------------------------------------------------

FSlateApplicationBase::FSlateApplicationBase() = default;

FSlateApplicationBase::~FSlateApplicationBase() = default;

// --- SWindow -----------------------------------------------------------------------------------------------

SWindow::SWindow() = default;

SWindow::~SWindow() = default;

void SWindow::SetNativeWindow(TSharedRef<FGenericWindow> InNativeWindow)
{
	check(!NativeWindow.IsValid());
	NativeWindow = InNativeWindow;
}

void SWindow::DestroyWindowImmediately()
{
	if (NativeWindow.IsValid())
	{
		NativeWindow->Destroy();
	}
	NativeWindow.Reset();
}

// --- FSlateApplication -------------------------------------------------------------------------------------

FSlateApplication::FSlateApplication() = default;

FSlateApplication::~FSlateApplication() = default;

TSharedRef<FSlateApplication> FSlateApplication::Create(const TSharedRef<GenericApplication>& InPlatformApplication)
{
	checkf(!CurrentApplication.IsValid(), TEXT("Slate is initialised already"));
	// The static platform application first: the application's construction relies on it.
	PlatformApplication = InPlatformApplication;
	CurrentApplication = MakeShareable(new FSlateApplication());
	CurrentBaseApplication = CurrentApplication;
	// Slate's one cursor user starts on the platform application's cursor.
	CurrentApplication->CursorUserCursor = PlatformApplication->Cursor;
	PlatformApplication->SetMessageHandler(CurrentApplication.ToSharedRef());
	return CurrentApplication.ToSharedRef();
}

void FSlateApplication::Shutdown(bool bShutdownPlatform)
{
	if (FSlateApplication::IsInitialized())
	{
		CurrentApplication->SlateWindows.Reset();
		if (bShutdownPlatform)
		{
			PlatformApplication->DestroyApplication();
		}
		PlatformApplication.Reset();
		CurrentApplication.Reset();
		CurrentBaseApplication.Reset();
	}
}

void FSlateApplication::SetPlatformApplication(const TSharedRef<GenericApplication>& InPlatformApplication)
{
	RecordSlateCall(TEXT("SetPlatformApplication")).Application = InPlatformApplication;
	PlatformApplication->SetMessageHandler(MakeShareable(new FGenericApplicationMessageHandler()));
	PlatformApplication = InPlatformApplication;
	PlatformApplication->SetMessageHandler(CurrentApplication.ToSharedRef());
}

void FSlateApplication::OverridePlatformApplication(TSharedPtr<GenericApplication> InPlatformApplication)
{
	RecordSlateCall(TEXT("OverridePlatformApplication")).Application = InPlatformApplication;
	PlatformApplication = InPlatformApplication;
	if (PlatformApplication && PlatformApplication->Cursor)
	{
		// The Slate user of the platform cursor now uses the overriding application's cursor.
		CursorUserCursor = PlatformApplication->Cursor;
	}
	else
	{
		UE_LOG(LogSlate, Warning, TEXT("OverridePlatformApplication: Cannot override cursor with invalid value"));
	}
}

void FSlateApplication::PollGameDeviceState()
{
	// The engine skips the poll while a modal window is open; the stand-in has none.
	PlatformApplication->PollGameDeviceState(1.0f / 60.0f);
}

void FSlateApplication::FinishedInputThisFrame()
{
	PlatformApplication->FinishedInputThisFrame();
}

TSharedRef<SWindow> FSlateApplication::AddWindow(TSharedRef<SWindow> InSlateWindow, const bool bShowImmediately)
{
	SlateWindows.Add(InSlateWindow);
	TSharedRef<FGenericWindow> NativeWindow = PlatformApplication->MakeWindow();
	InSlateWindow->SetNativeWindow(NativeWindow);
	PlatformApplication->InitializeWindow(NativeWindow, MakeShared<FGenericWindowDefinition>(), nullptr, bShowImmediately);
	return InSlateWindow;
}

void FSlateApplication::DestroyWindowImmediately(const TSharedRef<SWindow>& WindowToDestroy)
{
	WindowToDestroy->DestroyWindowImmediately();
	SlateWindows.Remove(WindowToDestroy);
}

FVector2D FSlateApplication::GetCursorPos() const
{
	return CursorUserCursor.IsValid() ? CursorUserCursor->GetPosition() : FVector2D(0.0, 0.0);
}

void FSlateApplication::SetCursorPos(const FVector2D& MouseCoordinate)
{
	if (CursorUserCursor.IsValid())
	{
		CursorUserCursor->SetPosition(static_cast<int32>(MouseCoordinate.X), static_cast<int32>(MouseCoordinate.Y));
	}
}

void FSlateApplication::ProcessApplicationActivationEvent(bool InAppActivated)
{
	RecordSlateCall(TEXT("ProcessApplicationActivationEvent")).bValue = InAppActivated;
	bAppIsActive = InAppActivated;
}

bool FSlateApplication::ShouldProcessUserInputMessages(const TSharedPtr<FGenericWindow>& /*PlatformWindow*/) const
{
	return true;
}

bool FSlateApplication::OnKeyChar(const TCHAR Character, const bool IsRepeat)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(TEXT("OnKeyChar"));
	Call.Character = Character;
	Call.bIsRepeat = IsRepeat;
	return false;
}

bool FSlateApplication::OnKeyDown(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat)
{
	return RecordKey(TEXT("OnKeyDown"), KeyCode, CharacterCode, IsRepeat);
}

bool FSlateApplication::OnKeyUp(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat)
{
	return RecordKey(TEXT("OnKeyUp"), KeyCode, CharacterCode, IsRepeat);
}

bool FSlateApplication::OnMouseDown(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button)
{
	return RecordMouse(TEXT("OnMouseDown"), PlatformWindow, Button, nullptr);
}

bool FSlateApplication::OnMouseDown(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button, const FVector2D CursorPos)
{
	return RecordMouse(TEXT("OnMouseDown"), PlatformWindow, Button, &CursorPos);
}

bool FSlateApplication::OnMouseUp(const EMouseButtons::Type Button)
{
	return RecordMouse(TEXT("OnMouseUp"), nullptr, Button, nullptr);
}

bool FSlateApplication::OnMouseUp(const EMouseButtons::Type Button, const FVector2D CursorPos)
{
	return RecordMouse(TEXT("OnMouseUp"), nullptr, Button, &CursorPos);
}

bool FSlateApplication::OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button)
{
	return RecordMouse(TEXT("OnMouseDoubleClick"), PlatformWindow, Button, nullptr);
}

bool FSlateApplication::OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& PlatformWindow, const EMouseButtons::Type Button, const FVector2D CursorPos)
{
	return RecordMouse(TEXT("OnMouseDoubleClick"), PlatformWindow, Button, &CursorPos);
}

bool FSlateApplication::OnMouseWheel(const float Delta)
{
	RecordSlateCall(TEXT("OnMouseWheel")).Delta = Delta;
	return false;
}

bool FSlateApplication::OnMouseWheel(const float Delta, const FVector2D CursorPos)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(TEXT("OnMouseWheel"));
	Call.Delta = Delta;
	Call.bHasCursorPos = true;
	Call.CursorPos = CursorPos;
	return false;
}

bool FSlateApplication::OnMouseMove()
{
	RecordSlateCall(TEXT("OnMouseMove"));
	return false;
}

bool FSlateApplication::OnRawMouseMove(const int32 X, const int32 Y)
{
	SlateTesting::FMessageHandlerCall& Call = RecordSlateCall(TEXT("OnRawMouseMove"));
	Call.X = X;
	Call.Y = Y;
	return false;
}

bool FSlateApplication::OnCursorSet()
{
	// The engine queries the cursor shape again and reports the event handled.
	RecordSlateCall(TEXT("OnCursorSet"));
	return true;
}

bool FSlateApplication::OnTouchStarted(const TSharedPtr<FGenericWindow>& PlatformWindow, const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
{
	SlateTesting::FMessageHandlerCall& Call = RecordTouch(TEXT("OnTouchStarted"), Location, TouchIndex, PlatformUserId, DeviceId);
	Call.Window = PlatformWindow;
	Call.Force = Force;
	return false;
}

bool FSlateApplication::OnTouchMoved(const FVector2D& Location, float Force, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
{
	RecordTouch(TEXT("OnTouchMoved"), Location, TouchIndex, PlatformUserId, DeviceId).Force = Force;
	return false;
}

bool FSlateApplication::OnTouchEnded(const FVector2D& Location, int32 TouchIndex, FPlatformUserId PlatformUserId, FInputDeviceId DeviceId)
{
	RecordTouch(TEXT("OnTouchEnded"), Location, TouchIndex, PlatformUserId, DeviceId);
	return false;
}

bool FSlateApplication::OnApplicationActivationChanged(const bool IsActive)
{
	RecordSlateCall(TEXT("OnApplicationActivationChanged")).bValue = IsActive;
	ProcessApplicationActivationEvent(IsActive);
	return true;
}
