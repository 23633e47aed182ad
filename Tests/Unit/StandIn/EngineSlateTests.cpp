// The stand-in's Slate and platform application: installing and overriding the platform application, the two
// forms of the touch handlers, what Slate and the platform application record, the windows of play sessions and
// their desktop placement, and the engine asking input-device modules for their devices.
#include "EngineTestSupport.h"
#include "SlateTesting.h"

#include "Engine/GameEngine.h"
#include "Engine/GameViewportClient.h"
#include "Features/IModularFeatures.h"
#include "Framework/Application/SlateApplication.h"
#include "GenericPlatform/GenericApplication.h"
#include "IInputDevice.h"
#include "IInputDeviceModule.h"
#include "PlayInEditorDataTypes.h"
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "Slate/SceneViewport.h"
#include "Widgets/SWindow.h"

namespace
{
using EngineTestSupport::EngineFixture;
using SlateTesting::FMessageHandlerCall;
using SlateTesting::FunctionNames;

/** A cursor of a test's own platform application. */
class FTestCursor : public ICursor
{
public:
	FVector2D Position = FVector2D(0.0, 0.0);
	virtual FVector2D GetPosition() const override { return Position; }
	virtual void SetPosition(const int32 X, const int32 Y) override { Position = FVector2D(X, Y); }
	virtual void SetType(const EMouseCursor::Type) override {}
	virtual EMouseCursor::Type GetType() const override { return EMouseCursor::Default; }
	virtual void GetSize(int32& Width, int32& Height) const override { Width = Height = 0; }
	virtual void Show(bool) override {}
	virtual void Lock(const RECT* const) override {}
	virtual void SetTypeShape(EMouseCursor::Type, void*) override {}
};

/**
 * A platform application that forwards every GenericApplication virtual to another one, with its own cursor:
 * it overrides every virtual the stand-in declares, so a missing or misdeclared virtual fails to compile here.
 */
class FForwardingApplication : public GenericApplication
{
public:
	explicit FForwardingApplication(TSharedPtr<GenericApplication> InWrapped)
		: GenericApplication(MakeShared<FTestCursor>())
		, Wrapped(InWrapped)
	{
	}

	TSharedPtr<GenericApplication> Wrapped;

	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override { Wrapped->SetMessageHandler(InMessageHandler); }
	virtual void PollGameDeviceState(const float TimeDelta) override { Wrapped->PollGameDeviceState(TimeDelta); }
	virtual void PumpMessages(const float TimeDelta) override { Wrapped->PumpMessages(TimeDelta); }
	virtual void ProcessDeferredEvents(const float TimeDelta) override { Wrapped->ProcessDeferredEvents(TimeDelta); }
	virtual void Tick(const float TimeDelta) override { Wrapped->Tick(TimeDelta); }
	virtual TSharedRef<FGenericWindow> MakeWindow() override { return Wrapped->MakeWindow(); }
	virtual void InitializeWindow(const TSharedRef<FGenericWindow>& Window, const TSharedRef<FGenericWindowDefinition>& InDefinition, const TSharedPtr<FGenericWindow>& InParent, const bool bShowImmediately) override
	{
		Wrapped->InitializeWindow(Window, InDefinition, InParent, bShowImmediately);
	}
	virtual void SetCapture(const TSharedPtr<FGenericWindow>& InWindow) override { Wrapped->SetCapture(InWindow); }
	virtual void* GetCapture(void) const override { return Wrapped->GetCapture(); }
	virtual FModifierKeysState GetModifierKeys() const override { return Wrapped->GetModifierKeys(); }
	virtual bool IsCursorDirectlyOverSlateWindow() const override { return Wrapped->IsCursorDirectlyOverSlateWindow(); }
	virtual TSharedPtr<FGenericWindow> GetWindowUnderCursor() override { return Wrapped->GetWindowUnderCursor(); }
	virtual bool IsMinimized() const override { return Wrapped->IsMinimized(); }
	virtual void SetHighPrecisionMouseMode(const bool Enable, const TSharedPtr<FGenericWindow>& InWindow) override { Wrapped->SetHighPrecisionMouseMode(Enable, InWindow); }
	virtual bool IsUsingHighPrecisionMouseMode() const override { return Wrapped->IsUsingHighPrecisionMouseMode(); }
	virtual bool IsUsingTrackpad() const override { return Wrapped->IsUsingTrackpad(); }
	virtual bool IsMouseAttached() const override { return Wrapped->IsMouseAttached(); }
	virtual bool IsGamepadAttached() const override { return Wrapped->IsGamepadAttached(); }
	virtual void RegisterConsoleCommandListener(const FOnConsoleCommandListener& InListener) override { Wrapped->RegisterConsoleCommandListener(InListener); }
	virtual void AddPendingConsoleCommand(const FString& InCommand) override { Wrapped->AddPendingConsoleCommand(InCommand); }
	virtual FPlatformRect GetWorkArea(const FPlatformRect& CurrentWindow) const override { return Wrapped->GetWorkArea(CurrentWindow); }
	virtual bool TryCalculatePopupWindowPosition(const FPlatformRect& InAnchor, const FVector2D& InSize, const FVector2D& ProposedPlacement, const EPopUpOrientation::Type Orientation, FVector2D* const CalculatedPopUpPosition) const override
	{
		return Wrapped->TryCalculatePopupWindowPosition(InAnchor, InSize, ProposedPlacement, Orientation, CalculatedPopUpPosition);
	}
	virtual void GetInitialDisplayMetrics(FDisplayMetrics& OutDisplayMetrics) const override { Wrapped->GetInitialDisplayMetrics(OutDisplayMetrics); }
	virtual EWindowTitleAlignment::Type GetWindowTitleAlignment() const override { return Wrapped->GetWindowTitleAlignment(); }
	virtual EWindowTransparency GetWindowTransparencySupport() const override { return Wrapped->GetWindowTransparencySupport(); }
	virtual void DestroyApplication() override { Wrapped->DestroyApplication(); }
	virtual IInputInterface* GetInputInterface() override { return Wrapped->GetInputInterface(); }
	virtual ITextInputMethodSystem* GetTextInputMethodSystem() override { return Wrapped->GetTextInputMethodSystem(); }
	virtual void SendAnalytics(IAnalyticsProvider* Provider) override { Wrapped->SendAnalytics(Provider); }
	virtual bool SupportsSystemHelp() const override { return Wrapped->SupportsSystemHelp(); }
	virtual void ShowSystemHelp() override { Wrapped->ShowSystemHelp(); }
	virtual bool ApplicationLicenseValid(FPlatformUserId PlatformUser = PLATFORMUSERID_NONE) override { return Wrapped->ApplicationLicenseValid(PlatformUser); }
	virtual bool IsAllowedToRender() const override { return Wrapped->IsAllowedToRender(); }
	virtual void FinishedInputThisFrame() override { Wrapped->FinishedInputThisFrame(); }
#if WITH_ACCESSIBILITY
	// The accessible handler keeps the base behaviour.
	virtual void SetAccessibleMessageHandler(const TSharedRef<FGenericAccessibleMessageHandler>& InHandler) override { GenericApplication::SetAccessibleMessageHandler(InHandler); }
#endif
};

/** An input device that counts what the platform application asks of it. */
class FCountingInputDevice : public IInputDevice
{
public:
	TArray<FString> Calls;
	virtual void Tick(float) override { Calls.Add(TEXT("Tick")); }
	virtual void SendControllerEvents() override { Calls.Add(TEXT("SendControllerEvents")); }
	virtual void SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>&) override { Calls.Add(TEXT("SetMessageHandler")); }
	virtual bool Exec(UWorld*, const TCHAR*, FOutputDevice&) override { return false; }
	virtual void SetChannelValue(int32, FForceFeedbackChannelType, float) override {}
	virtual void SetChannelValues(int32, const FForceFeedbackValues&) override {}
};

/** An input-device module registered directly as the modular feature; bCreateNothing makes it answer null. */
class FTestInputDeviceModule : public IInputDeviceModule
{
public:
	explicit FTestInputDeviceModule(bool bInCreateNothing = false) : bCreateNothing(bInCreateNothing) {}

	using IInputDeviceModule::CreateInputDevice;
	virtual TSharedPtr<IInputDevice> CreateInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override
	{
		Handlers.Add(InMessageHandler);
		SlateWasUp.Add(FSlateApplication::IsInitialized());
		if (bCreateNothing)
		{
			return nullptr;
		}
		Devices.Add(MakeShared<FCountingInputDevice>());
		return Devices.Last();
	}

	bool bCreateNothing;
	TArray<TSharedPtr<FGenericApplicationMessageHandler>> Handlers;
	TArray<bool> SlateWasUp;
	TArray<TSharedPtr<FCountingInputDevice>> Devices;
};

class EngineSlate_test : public EngineFixture
{
protected:
	void TearDown() override
	{
		for (FTestInputDeviceModule* Module : RegisteredModules)
		{
			IModularFeatures::Get().UnregisterModularFeature(IInputDeviceModule::GetModularFeatureName(), Module);
		}
		EngineFixture::TearDown();
		if (FSlateApplication::IsInitialized())
		{
			SlateTesting::ShutdownSlate();
		}
		for (FTestInputDeviceModule* Module : RegisteredModules)
		{
			delete Module;
		}
	}

	FTestInputDeviceModule& RegisterInputDeviceModule(bool bCreateNothing = false)
	{
		FTestInputDeviceModule* Module = new FTestInputDeviceModule(bCreateNothing);
		IModularFeatures::Get().RegisterModularFeature(IInputDeviceModule::GetModularFeatureName(), Module);
		RegisteredModules.Add(Module);
		return *Module;
	}

	TArray<FTestInputDeviceModule*> RegisteredModules;
};

FGenericApplicationMessageHandler* SlateAsHandler()
{
	return &static_cast<FGenericApplicationMessageHandler&>(FSlateApplication::Get());
}

TEST_F(EngineSlate_test, SlateStartsOnTheStandInApplicationAndAnOverrideReplacesOnlyApplicationAndCursor)
{
	SlateTesting::InitializeSlate();
	const TSharedPtr<GenericApplication> StandIn = SlateTesting::GetStandInPlatformApplication();
	ASSERT_TRUE(StandIn.IsValid());
	ASSERT_TRUE(StandIn->Cursor.IsValid());
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), StandIn);
	EXPECT_EQ(FSlateApplication::Get().GetPlatformApplication(), StandIn);
	EXPECT_EQ(&StandIn->GetMessageHandler().Get(), SlateAsHandler()) << "Create makes Slate the application's message handler";
	EXPECT_TRUE(FSlateApplication::Get().IsActive());

	StandIn->Cursor->SetPosition(300, 200);
	EXPECT_EQ(StandIn->Cursor->GetPosition(), FVector2D(300.0, 200.0));
	EXPECT_EQ(FSlateApplication::Get().GetCursorPos(), FVector2D(300.0, 200.0));

	TSharedPtr<FForwardingApplication> Wrapper = MakeShared<FForwardingApplication>(StandIn);
	const TSharedPtr<FGenericApplicationMessageHandler> WrapperHandlerBefore = Wrapper->GetMessageHandler();
	FSlateApplication::Get().OverridePlatformApplication(Wrapper);
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), Wrapper);
	EXPECT_EQ(FSlateApplication::Get().GetPlatformApplication(), Wrapper);
	EXPECT_EQ(Wrapper->GetMessageHandler(), WrapperHandlerBefore) << "an override leaves the message handlers alone";
	EXPECT_EQ(&StandIn->GetMessageHandler().Get(), SlateAsHandler());
	EXPECT_EQ(FSlateApplication::Get().GetCursorPos(), FVector2D(0.0, 0.0)) << "Slate's cursor is now the wrapper's";
	Wrapper->Cursor->SetPosition(1060, 590);
	EXPECT_EQ(FSlateApplication::Get().GetCursorPos(), FVector2D(1060.0, 590.0));
	EXPECT_EQ(StandIn->Cursor->GetPosition(), FVector2D(300.0, 200.0));

	// An application without a cursor is installed, but Slate keeps the cursor it had and warns.
	StandInTesting::ClearLogLines();
	TSharedPtr<GenericApplication> Cursorless = MakeShared<GenericApplication>(nullptr);
	FSlateApplication::Get().OverridePlatformApplication(Cursorless);
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), Cursorless);
	EXPECT_EQ(FSlateApplication::Get().GetCursorPos(), FVector2D(1060.0, 590.0));
	const TArray<StandInTesting::FCapturedLogLine> Lines = StandInTesting::GetLogLines();
	ASSERT_EQ(Lines.Num(), 1);
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);

	FSlateApplication::Get().OverridePlatformApplication(StandIn);
	EXPECT_EQ(FSlateApplication::Get().GetCursorPos(), FVector2D(300.0, 200.0));

	const TArray<FMessageHandlerCall> Calls = SlateTesting::GetSlateCalls();
	ASSERT_EQ(Calls.Num(), 3);
	EXPECT_EQ(Calls[0].Function, TEXT("OverridePlatformApplication"));
	EXPECT_EQ(Calls[0].Application.Pin(), Wrapper);
	EXPECT_EQ(Calls[1].Application.Pin(), Cursorless);
	EXPECT_EQ(Calls[2].Application.Pin(), StandIn);

	SlateTesting::ShutdownSlate();
	EXPECT_FALSE(FSlateApplication::IsInitialized());
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), nullptr);
	EXPECT_EQ(FunctionNames(SlateTesting::GetPlatformApplicationCalls()).Last(), TEXT("DestroyApplication"));
}

TEST_F(EngineSlate_test, ControllerTouchFormsReachPlatformUserFormsAndTheReverseOnlyForHandlersWithoutUserIds)
{
	// A handler using platform user ids (the default, and Slate) gets controller-id calls remapped.
	SlateTesting::FRecordingMessageHandler Recorder;
	FGenericApplicationMessageHandler& Handler = Recorder;
	const TSharedPtr<FGenericWindow> Window = MakeShared<FGenericWindow>();
	EXPECT_FALSE(Handler.OnTouchStarted(Window, FVector2D(10.5, 20.25), 0.75f, 3, 0));
	EXPECT_FALSE(Handler.OnTouchMoved(FVector2D(11.0, 21.0), 0.5f, 3, 0));
	EXPECT_FALSE(Handler.OnTouchEnded(FVector2D(12.0, 22.0), 3, 0));
	Handler.OnTouchEnded(FVector2D(1.0, 1.0), 9, -1);
	ASSERT_EQ(FunctionNames(Recorder.Calls), TArray<FString>({TEXT("OnTouchStarted"), TEXT("OnTouchMoved"), TEXT("OnTouchEnded"), TEXT("OnTouchEnded")}));
	EXPECT_EQ(Recorder.Calls[0].Window, Window);
	EXPECT_EQ(Recorder.Calls[0].Location, FVector2D(10.5, 20.25));
	EXPECT_EQ(Recorder.Calls[0].Force, 0.75f);
	EXPECT_EQ(Recorder.Calls[0].TouchIndex, 3);
	EXPECT_EQ(Recorder.Calls[1].Force, 0.5f);
	EXPECT_EQ(Recorder.Calls[2].Location, FVector2D(12.0, 22.0));
	for (int32 Index = 0; Index < 3; ++Index)
	{
		EXPECT_EQ(Recorder.Calls[Index].PlatformUserId, FPlatformUserId::CreateFromInternalId(0));
		EXPECT_EQ(Recorder.Calls[Index].DeviceId, FInputDeviceId::CreateFromInternalId(0));
	}
	EXPECT_EQ(Recorder.Calls[3].PlatformUserId, PLATFORMUSERID_NONE) << "a negative controller id is no user";
	EXPECT_EQ(Recorder.Calls[3].DeviceId, INPUTDEVICEID_NONE);

	// A handler of the old kind overrides the controller-id forms and answers that it does not use user ids:
	// platform-user calls reach it with the user's internal id as the controller id.
	struct FControllerIdHandler : public FGenericApplicationMessageHandler
	{
		TArray<int32> Controllers;
		virtual bool ShouldUsePlatformUserId() const override { return bUseUserIds; }
		virtual bool OnTouchStarted(const TSharedPtr<FGenericWindow>&, const FVector2D&, float, int32, int32 ControllerId) override
		{
			Controllers.Add(ControllerId);
			return true;
		}
		virtual bool OnTouchEnded(const FVector2D&, int32, int32 ControllerId) override
		{
			Controllers.Add(ControllerId);
			return true;
		}
		bool bUseUserIds = false;
	} OldHandler;
	FGenericApplicationMessageHandler& OldBase = OldHandler;
	EXPECT_TRUE(OldBase.OnTouchStarted(nullptr, FVector2D(0.0, 0.0), 1.0f, 0, FPlatformUserId::CreateFromInternalId(2), INPUTDEVICEID_NONE));
	EXPECT_TRUE(OldBase.OnTouchEnded(FVector2D(0.0, 0.0), 0, FPlatformUserId::CreateFromInternalId(1), INPUTDEVICEID_NONE));
	EXPECT_EQ(OldHandler.Controllers, TArray<int32>({2, 1}));
	// With user ids in use, the platform-user forms do not go back: nothing reaches the old overrides.
	OldHandler.bUseUserIds = true;
	EXPECT_FALSE(OldBase.OnTouchStarted(nullptr, FVector2D(0.0, 0.0), 1.0f, 0, FPlatformUserId::CreateFromInternalId(2), INPUTDEVICEID_NONE));
	EXPECT_EQ(OldHandler.Controllers.Num(), 2);

	// Slate overrides only the platform-user forms, so the controller-id calls reach it through the base.
	SlateTesting::InitializeSlate();
	FGenericApplicationMessageHandler& Slate = FSlateApplication::Get();
	Slate.OnTouchStarted(Window, FVector2D(5.0, 6.0), 1.0f, 0, 0);
	Slate.OnTouchMoved(FVector2D(7.0, 8.0), 0.25f, 0, 0);
	Slate.OnTouchEnded(FVector2D(9.0, 10.0), 0, 0);
	const TArray<FMessageHandlerCall> SlateCalls = SlateTesting::GetSlateCalls();
	ASSERT_EQ(FunctionNames(SlateCalls), TArray<FString>({TEXT("OnTouchStarted"), TEXT("OnTouchMoved"), TEXT("OnTouchEnded")}));
	EXPECT_EQ(SlateCalls[0].Window, Window);
	EXPECT_EQ(SlateCalls[1].Location, FVector2D(7.0, 8.0));
	EXPECT_EQ(SlateCalls[2].PlatformUserId, FPlatformUserId::CreateFromInternalId(0));
}

TEST_F(EngineSlate_test, SlateRecordsInputAndActivationInOrderWithArguments)
{
	SlateTesting::InitializeSlate();
	FGenericApplicationMessageHandler& Slate = FSlateApplication::Get();
	const TSharedPtr<FGenericWindow> Window = MakeShared<FGenericWindow>();

	EXPECT_FALSE(Slate.OnKeyDown(0x41, 'a', false));
	EXPECT_FALSE(Slate.OnKeyUp(0x41, 'a', true));
	EXPECT_FALSE(Slate.OnKeyChar(TEXT('\u00e9'), false));
	EXPECT_FALSE(Slate.OnMouseDown(Window, EMouseButtons::Right));
	EXPECT_FALSE(Slate.OnMouseDown(Window, EMouseButtons::Left, FVector2D(4.0, 5.0)));
	EXPECT_FALSE(Slate.OnMouseUp(EMouseButtons::Thumb02));
	EXPECT_FALSE(Slate.OnMouseDoubleClick(Window, EMouseButtons::Middle));
	EXPECT_FALSE(Slate.OnMouseWheel(-2.0f));
	EXPECT_FALSE(Slate.OnRawMouseMove(-7, 12));
	EXPECT_TRUE(Slate.OnCursorSet()) << "Slate reports the cursor-set notification handled";
	FSlateApplication::Get().ProcessApplicationActivationEvent(false);
	EXPECT_FALSE(FSlateApplication::Get().IsActive());
	FSlateApplication::Get().ProcessApplicationActivationEvent(true);
	EXPECT_TRUE(FSlateApplication::Get().IsActive());

	const TArray<FMessageHandlerCall> Calls = SlateTesting::GetSlateCalls();
	ASSERT_EQ(FunctionNames(Calls), TArray<FString>({TEXT("OnKeyDown"), TEXT("OnKeyUp"), TEXT("OnKeyChar"), TEXT("OnMouseDown"),
		TEXT("OnMouseDown"), TEXT("OnMouseUp"), TEXT("OnMouseDoubleClick"), TEXT("OnMouseWheel"), TEXT("OnRawMouseMove"),
		TEXT("OnCursorSet"), TEXT("ProcessApplicationActivationEvent"), TEXT("ProcessApplicationActivationEvent")}));
	EXPECT_EQ(Calls[0].KeyCode, 0x41);
	EXPECT_EQ(Calls[0].CharacterCode, uint32('a'));
	EXPECT_FALSE(Calls[0].bIsRepeat);
	EXPECT_TRUE(Calls[1].bIsRepeat);
	EXPECT_EQ(Calls[2].Character, TEXT('\u00e9'));
	EXPECT_EQ(Calls[3].Window, Window);
	EXPECT_EQ(Calls[3].Button, EMouseButtons::Right);
	EXPECT_FALSE(Calls[3].bHasCursorPos);
	EXPECT_EQ(Calls[4].Button, EMouseButtons::Left);
	EXPECT_TRUE(Calls[4].bHasCursorPos);
	EXPECT_EQ(Calls[4].CursorPos, FVector2D(4.0, 5.0));
	EXPECT_EQ(Calls[5].Button, EMouseButtons::Thumb02);
	EXPECT_EQ(Calls[5].Window, nullptr);
	EXPECT_EQ(Calls[6].Button, EMouseButtons::Middle);
	EXPECT_EQ(Calls[7].Delta, -2.0f);
	EXPECT_EQ(Calls[8].X, -7);
	EXPECT_EQ(Calls[8].Y, 12);
	EXPECT_FALSE(Calls[10].bValue);
	EXPECT_TRUE(Calls[11].bValue);

	// The test control changes the state without a record; the records can be forgotten.
	SlateTesting::ResetRecords();
	SlateTesting::SetApplicationActive(false);
	EXPECT_FALSE(FSlateApplication::Get().IsActive());
	EXPECT_EQ(SlateTesting::GetSlateCalls().Num(), 0);
}

TEST_F(EngineSlate_test, EveryPlatformApplicationOperationReachesTheStandInThroughAWrapper)
{
	SlateTesting::InitializeSlate();
	const TSharedPtr<GenericApplication> StandIn = SlateTesting::GetStandInPlatformApplication();
	FSlateApplication::Get().OverridePlatformApplication(MakeShared<FForwardingApplication>(StandIn));
	SlateTesting::ResetRecords();

	GenericApplication& App = *FSlateApplication::Get().GetPlatformApplication();
	const TSharedPtr<FGenericWindow> Window = App.MakeWindow();
	const TSharedRef<FGenericWindowDefinition> Definition = MakeShared<FGenericWindowDefinition>();
	App.InitializeWindow(Window.ToSharedRef(), Definition, nullptr, false);
	App.PollGameDeviceState(0.5f);
	App.PumpMessages(0.25f);
	App.ProcessDeferredEvents(0.125f);
	App.Tick(2.0f);
	App.SetCapture(Window);
	EXPECT_EQ(App.GetCapture(), nullptr);
	EXPECT_FALSE(App.GetModifierKeys().AnyModifiersDown());
	EXPECT_TRUE(App.IsCursorDirectlyOverSlateWindow());
	EXPECT_EQ(App.GetWindowUnderCursor(), nullptr);
	EXPECT_FALSE(App.IsMinimized());
	App.SetHighPrecisionMouseMode(true, Window);
	EXPECT_FALSE(App.IsUsingHighPrecisionMouseMode());
	EXPECT_FALSE(App.IsUsingTrackpad());
	EXPECT_TRUE(App.IsMouseAttached());
	EXPECT_FALSE(App.IsGamepadAttached());
	App.RegisterConsoleCommandListener(GenericApplication::FOnConsoleCommandListener());
	App.AddPendingConsoleCommand(TEXT("stat fps"));
	EXPECT_EQ(App.GetWorkArea(FPlatformRect(1, 2, 3, 4)), FPlatformRect(0, 0, 1920, 1040));
	FVector2D Popup;
	EXPECT_FALSE(App.TryCalculatePopupWindowPosition(FPlatformRect(5, 6, 7, 8), FVector2D(30.0, 40.0), FVector2D(50.0, 60.0), EPopUpOrientation::Vertical, &Popup));
	FDisplayMetrics Metrics;
	App.GetInitialDisplayMetrics(Metrics);
	EXPECT_EQ(Metrics.PrimaryDisplayWidth, 1920);
	EXPECT_EQ(Metrics.VirtualDisplayRect, FPlatformRect(0, 0, 1920, 1080));
	EXPECT_EQ(App.GetWindowTitleAlignment(), EWindowTitleAlignment::Left);
	EXPECT_EQ(App.GetWindowTransparencySupport(), EWindowTransparency::PerWindow) << "the Windows answer, not the generic None";
	EXPECT_EQ(App.GetInputInterface(), nullptr);
	EXPECT_EQ(App.GetTextInputMethodSystem(), nullptr);
	App.SendAnalytics(nullptr);
	EXPECT_FALSE(App.SupportsSystemHelp());
	App.ShowSystemHelp();
	EXPECT_TRUE(App.ApplicationLicenseValid(FPlatformUserId::CreateFromInternalId(4)));
	EXPECT_TRUE(App.IsAllowedToRender());
	App.FinishedInputThisFrame();

	const TArray<SlateTesting::FPlatformApplicationCall> Calls = SlateTesting::GetPlatformApplicationCalls();
	EXPECT_EQ(FunctionNames(Calls), TArray<FString>({TEXT("MakeWindow"), TEXT("InitializeWindow"), TEXT("PollGameDeviceState"),
		TEXT("PumpMessages"), TEXT("ProcessDeferredEvents"), TEXT("Tick"), TEXT("SetCapture"), TEXT("GetCapture"), TEXT("GetModifierKeys"),
		TEXT("IsCursorDirectlyOverSlateWindow"), TEXT("GetWindowUnderCursor"), TEXT("IsMinimized"), TEXT("SetHighPrecisionMouseMode"),
		TEXT("IsUsingHighPrecisionMouseMode"), TEXT("IsUsingTrackpad"), TEXT("IsMouseAttached"), TEXT("IsGamepadAttached"),
		TEXT("RegisterConsoleCommandListener"), TEXT("AddPendingConsoleCommand"), TEXT("GetWorkArea"), TEXT("TryCalculatePopupWindowPosition"),
		TEXT("GetInitialDisplayMetrics"), TEXT("GetWindowTitleAlignment"), TEXT("GetWindowTransparencySupport"), TEXT("GetInputInterface"),
		TEXT("GetTextInputMethodSystem"), TEXT("SendAnalytics"), TEXT("SupportsSystemHelp"), TEXT("ShowSystemHelp"),
		TEXT("ApplicationLicenseValid"), TEXT("IsAllowedToRender"), TEXT("FinishedInputThisFrame")}));
	ASSERT_EQ(Calls.Num(), 32);
	EXPECT_EQ(Calls[1].Window, Window);
	EXPECT_EQ(Calls[1].Definition, Definition);
	EXPECT_FALSE(Calls[1].bValue);
	EXPECT_EQ(Calls[2].TimeDelta, 0.5f);
	EXPECT_EQ(Calls[3].TimeDelta, 0.25f);
	EXPECT_EQ(Calls[4].TimeDelta, 0.125f);
	EXPECT_EQ(Calls[5].TimeDelta, 2.0f);
	EXPECT_EQ(Calls[6].Window, Window);
	EXPECT_TRUE(Calls[12].bValue);
	EXPECT_EQ(Calls[12].Window, Window);
	EXPECT_EQ(Calls[18].Text, TEXT("stat fps"));
	EXPECT_EQ(Calls[19].Rect, FPlatformRect(1, 2, 3, 4));
	EXPECT_EQ(Calls[20].Rect, FPlatformRect(5, 6, 7, 8));
	EXPECT_EQ(Calls[20].Size, FVector2D(30.0, 40.0));
	EXPECT_EQ(Calls[20].Placement, FVector2D(50.0, 60.0));
	EXPECT_EQ(Calls[20].Orientation, EPopUpOrientation::Vertical);
	EXPECT_EQ(Calls[20].Pointer, &Popup);
	EXPECT_EQ(Calls[29].PlatformUserId, FPlatformUserId::CreateFromInternalId(4));

	// Handing Slate to the wrapper's SetMessageHandler reaches the stand-in as well.
	SlateTesting::ResetRecords();
	App.SetMessageHandler(MakeShared<FGenericApplicationMessageHandler>());
	ASSERT_EQ(FunctionNames(SlateTesting::GetPlatformApplicationCalls()), TArray<FString>({TEXT("SetMessageHandler")}));
	EXPECT_NE(&StandIn->GetMessageHandler().Get(), SlateAsHandler());
}

TEST_F(EngineSlate_test, PlaySessionsHaveWindowsWithNativeWindowsAndDesktopPlacement)
{
	EngineTesting::StartGameEngine();
	UWorld* World = EngineTesting::CreateGameWorld();
	SlateTesting::ResetRecords();
	EngineTesting::FPlayOptions Options;
	Options.ViewportSize = FIntPoint(1920, 1080);
	Options.DesktopPosition = FIntPoint(100, 50);
	const EngineTesting::FPlaySession Play = EngineTesting::StartPlay(World, Options);

	ASSERT_TRUE(Play.Window.IsValid());
	EXPECT_EQ(Play.ViewportClient->GetWindow(), Play.Window);
	EXPECT_EQ(CastChecked<UGameEngine>(GEngine)->GameViewportWindow.Pin(), Play.Window);
	const TSharedPtr<FGenericWindow> Native = Play.Window->GetNativeWindow();
	ASSERT_TRUE(Native.IsValid());
	const TArray<SlateTesting::FPlatformApplicationCall> Calls = SlateTesting::GetPlatformApplicationCalls();
	ASSERT_EQ(FunctionNames(Calls), TArray<FString>({TEXT("MakeWindow"), TEXT("InitializeWindow")}));
	EXPECT_EQ(Calls[1].Window, Native) << "the platform application made and initialised the native window";

	FViewport* Viewport = Play.ViewportClient->GetGameViewport();
	EXPECT_EQ(Viewport->ViewportToVirtualDesktopPixel(FVector2D(0.0, 0.0)), FIntPoint(100, 50));
	EXPECT_EQ(Viewport->ViewportToVirtualDesktopPixel(FVector2D(0.5, 0.5)), FIntPoint(1060, 590));
	EXPECT_EQ(Viewport->ViewportToVirtualDesktopPixel(FVector2D(1.0, 1.0)), FIntPoint(2020, 1130));
	EXPECT_EQ(Viewport->ViewportToVirtualDesktopPixel(FVector2D(0.99999, 0.0)), FIntPoint(2019, 50)) << "truncated, not rounded";
	EXPECT_EQ(Viewport->VirtualDesktopPixelToViewport(FIntPoint(1060, 590)), FVector2D(0.5, 0.5));
	EngineTesting::SetViewportDesktopPosition(*Play.Viewport, FIntPoint(-300, 20));
	EXPECT_EQ(Viewport->ViewportToVirtualDesktopPixel(FVector2D(0.0, 0.0)), FIntPoint(-300, 20));
	FVector2D Size;
	Play.ViewportClient->GetViewportSize(Size);
	EXPECT_EQ(Size, FVector2D(1920.0, 1080.0));

	EngineTesting::StopPlay();
	EXPECT_EQ(Play.Window->GetNativeWindow(), nullptr) << "the window went with the game";
}

TEST_F(EngineSlate_test, PlayInEditorSessionsUseTheirOwnWindowOrTheEditorWindow)
{
	EngineTesting::StartEditorEngine();
	EngineTesting::FPlayOptions Options;
	Options.DesktopPosition = FIntPoint(40, 30);
	const EngineTesting::FPlaySession InWindow = EngineTesting::StartPlayInEditor(Options);
	ASSERT_TRUE(InWindow.Window.IsValid());
	EXPECT_TRUE(InWindow.Window->GetNativeWindow().IsValid());
	EXPECT_EQ(InWindow.ViewportClient->GetWindow(), InWindow.Window);
	const FSlatePlayInEditorInfo* Info = nullptr;
	for (const auto& Entry : GEditor->SlatePlayInEditorMap)
	{
		Info = &Entry.Value;
	}
	ASSERT_NE(Info, nullptr);
	EXPECT_EQ(Info->SlatePlayInEditorWindow.Pin(), InWindow.Window);
	EXPECT_EQ(InWindow.ViewportClient->GetGameViewport()->ViewportToVirtualDesktopPixel(FVector2D(0.0, 0.0)), FIntPoint(40, 30));
	EngineTesting::StopPlayInEditor();
	EXPECT_EQ(InWindow.Window->GetNativeWindow(), nullptr);

	Options.bPlayInLevelViewport = true;
	const EngineTesting::FPlaySession InLevel = EngineTesting::StartPlayInEditor(Options);
	ASSERT_TRUE(InLevel.Window.IsValid());
	EXPECT_NE(InLevel.Window, InWindow.Window);
	EXPECT_TRUE(InLevel.Window->GetNativeWindow().IsValid());
	EXPECT_EQ(InLevel.ViewportClient->GetGameViewport()->ViewportToVirtualDesktopPixel(FVector2D(0.0, 0.0)), FIntPoint(40, 30));
	EngineTesting::StopPlayInEditor();
	EXPECT_TRUE(InLevel.Window->GetNativeWindow().IsValid()) << "the editor's window stays after play";
}

TEST_F(EngineSlate_test, InputDeviceModulesAreAskedOnceInTheFirstFrameWithSlateAsHandler)
{
	FTestInputDeviceModule& First = RegisterInputDeviceModule();
	FTestInputDeviceModule& Empty = RegisterInputDeviceModule(true);
	EngineTesting::StartGameEngine();
	EXPECT_TRUE(FSlateApplication::IsInitialized()) << "the engine start brings Slate up";
	EXPECT_EQ(First.Handlers.Num(), 0) << "devices come with the first poll of the platform application";

	EngineTesting::RunFrame();
	ASSERT_EQ(First.Handlers.Num(), 1);
	ASSERT_EQ(Empty.Handlers.Num(), 1);
	EXPECT_EQ(First.Handlers[0].Get(), SlateAsHandler());
	EXPECT_EQ(Empty.Handlers[0].Get(), SlateAsHandler());
	EXPECT_EQ(First.SlateWasUp, TArray<bool>({true}));
	{
		const TArray<SlateTesting::FInputDeviceCreation> Creations = SlateTesting::GetInputDeviceCreations();
		ASSERT_EQ(Creations.Num(), 2);
		EXPECT_EQ(Creations[0].Module, &First);
		EXPECT_TRUE(Creations[0].bDeviceCreated);
		EXPECT_EQ(Creations[0].Device.Pin(), First.Devices[0]);
		EXPECT_EQ(Creations[0].MessageHandler.Pin().Get(), SlateAsHandler());
		EXPECT_TRUE(Creations[0].bSlateInitialized);
		EXPECT_EQ(Creations[1].Module, &Empty);
		EXPECT_FALSE(Creations[1].bDeviceCreated);
	}
	EXPECT_EQ(First.Devices[0]->Calls, TArray<FString>({TEXT("Tick"), TEXT("SendControllerEvents")}));

	EngineTesting::RunFrame();
	EXPECT_EQ(First.Handlers.Num(), 1) << "asked once";
	EXPECT_EQ(Empty.Handlers.Num(), 1);
	EXPECT_EQ(First.Devices[0]->Calls.Num(), 4) << "the kept device is polled every frame";

	// Polling goes through whichever platform application is installed; a wrapper reaches the same devices.
	FSlateApplication::Get().OverridePlatformApplication(MakeShared<FForwardingApplication>(SlateTesting::GetStandInPlatformApplication()));
	EngineTesting::RunFrame();
	EXPECT_EQ(First.Handlers.Num(), 1);
	EXPECT_EQ(First.Devices[0]->Calls.Num(), 6);

	// A new engine comes with a new Slate and platform application, which asks again.
	const TWeakPtr<FCountingInputDevice> OldDevice = First.Devices[0];
	First.Devices.Reset();
	EngineTesting::StopEngine();
	EXPECT_FALSE(FSlateApplication::IsInitialized());
	EXPECT_FALSE(OldDevice.IsValid()) << "Slate's shutdown released the device";
	EngineTesting::StartGameEngine();
	EngineTesting::RunFrame();
	EXPECT_EQ(First.Handlers.Num(), 2);
	EXPECT_EQ(SlateTesting::GetInputDeviceCreations().Num(), 2);
}
} // namespace
