// The host's input in the sandbox engine: packets the host sends in ITAC messages reach the game through Slate,
// the pointer moves the virtual cursor while the wrapper is installed, and nothing of the host's input outlives
// the game it was meant for.
#include "ModuleTestSupport.h"

#include "EngineTesting.h"
#include "Framework/Application/SlateApplication.h"
#include "GenericPlatform/ICursor.h"
#include "InputPackets.h"
#include "SlateTesting.h"

#include "KorvatPluginModule.h"

namespace
{
using namespace Korvat::ModuleTesting;
using Korvat::Host::InputAddress;
using Korvat::Host::InputPacketBuilder;
using Korvat::UE4::Tag::ITAC;
using SlateTesting::FMessageHandlerCall;

/** The play session's viewport: 1920 by 1080 with its top-left corner at desktop (100, 50). */
Korvat::Sandbox::FSandboxOptions InputSandbox(bool bEditor = false)
{
	Korvat::Sandbox::FSandboxOptions Options = SandboxOptions(TEXT("D3D11"), bEditor);
	Options.PlayOptions.ViewportSize = FIntPoint(1920, 1080);
	Options.PlayOptions.DesktopPosition = FIntPoint(100, 50);
	return Options;
}

class InputTest : public ModuleTest
{
protected:
	void StartPlaying(bool bEditor = false)
	{
		StartHost();
		StartEngine(InputSandbox(bEditor));
		ASSERT_TRUE(RunUntilConnected());
		Engine->StartPlay();
		RunFrames(2);
		SlateTesting::ResetRecords();
	}

	void SendPacket(InputPacketBuilder& Builder) { Send(ITAC, Korvat::Host::InputPacketPayload(Builder.Finish())); }

	/** Slate's recorded calls of the given names, oldest first. */
	static TArray<FMessageHandlerCall> SlateCalls(std::initializer_list<const TCHAR*> Names)
	{
		TArray<FMessageHandlerCall> Calls;
		for (const FMessageHandlerCall& Call : SlateTesting::GetSlateCalls())
		{
			for (const TCHAR* Name : Names)
			{
				if (Call.Function == Name)
				{
					Calls.Add(Call);
				}
			}
		}
		return Calls;
	}

	static TSharedPtr<ICursor> CurrentCursor() { return SlateTesting::GetCurrentPlatformApplication()->Cursor; }
};

TEST_F(InputTest, PositionMovesTheCurrentCursorAndReportsTheRawMove)
{
	StartPlaying();
	CurrentCursor()->SetPosition(1000, 500);
	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Mouse", "Position")).Float(0.5f).Float(0.5f);
	SendPacket(Builder);
	RunFrames(2);

	// Without the wrapper the system cursor moves: (100 + 960, 50 + 540).
	EXPECT_EQ(CurrentCursor()->GetPosition(), FVector2D(1060, 590));
	const TArray<FMessageHandlerCall> Moves = SlateCalls({TEXT("OnRawMouseMove")});
	ASSERT_EQ(Moves.Num(), 1);
	EXPECT_EQ(Moves[0].X, 60);
	EXPECT_EQ(Moves[0].Y, 90);
}

TEST_F(InputTest, InsideTheHostsOutputTheWrapperWithItsVirtualCursorIsInstalled)
{
	StartPlaying();
	const TSharedPtr<GenericApplication> Real = SlateTesting::GetCurrentPlatformApplication();
	const FVector2D SystemCursor = Real->Cursor->GetPosition();

	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(true);
	SendPacket(Builder);
	RunFrames(2);
	const TSharedPtr<GenericApplication> Wrapper = SlateTesting::GetCurrentPlatformApplication();
	ASSERT_NE(Wrapper, Real);
	EXPECT_EQ(SlateTesting::FunctionNames(SlateCalls({TEXT("OverridePlatformApplication"), TEXT("OnCursorSet"),
		          TEXT("ProcessApplicationActivationEvent")})),
		TArray<FString>({TEXT("OverridePlatformApplication"), TEXT("OnCursorSet"), TEXT("ProcessApplicationActivationEvent")}));
	EXPECT_EQ(Wrapper->Cursor->GetPosition(), FVector2D(0, 0)) << "the virtual cursor starts at the origin";

	// The pointer now moves the virtual cursor, not the system's; everything else reaches the real application.
	Builder.Begin(InputAddress("Mouse", "Position")).Float(0.25f).Float(0.75f);
	SendPacket(Builder);
	RunFrames(2);
	EXPECT_EQ(Wrapper->Cursor->GetPosition(), FVector2D(100 + 480, 50 + 810));
	EXPECT_EQ(Real->Cursor->GetPosition(), SystemCursor);
	SlateTesting::ResetRecords();
	Wrapper->PumpMessages(0.5f);
	EXPECT_EQ(SlateTesting::FunctionNames(SlateTesting::GetPlatformApplicationCalls()), TArray<FString>({TEXT("PumpMessages")}));
	EXPECT_EQ(Wrapper->GetMessageHandler(), Real->GetMessageHandler());
	EXPECT_TRUE(Wrapper->IsMouseAttached());
	EXPECT_FALSE(Wrapper->IsUsingHighPrecisionMouseMode());

	// Outside again: the real application is back.
	Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(false);
	SendPacket(Builder);
	RunFrames(2);
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), Real);
}

TEST_F(InputTest, ButtonsWheelAndKeysReachTheGameInTheirOrder)
{
	StartPlaying();
	SlateTesting::SetApplicationActive(false);
	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Mouse", "ButtonDown")).Int(0x300000);
	Builder.Begin(InputAddress("Mouse", "ButtonUp")).Int(0x200000);
	Builder.Begin(InputAddress("Mouse", "DoubleClick"));
	Builder.Begin(InputAddress("Mouse", "Wheel")).Int(-240);
	Builder.Begin(InputAddress("Keyboard", "KeyDown")).Int(0x41);
	Builder.Begin(InputAddress("Keyboard", "KeyUp")).Int(0x41);
	Builder.Begin(InputAddress("Keyboard", "KeyPress")).Int(0x00E9);
	SendPacket(Builder);
	RunFrames(2);

	const TArray<FMessageHandlerCall> Calls = SlateCalls({TEXT("ProcessApplicationActivationEvent"), TEXT("OnMouseDown"),
		TEXT("OnMouseUp"), TEXT("OnMouseDoubleClick"), TEXT("OnMouseWheel"), TEXT("OnKeyDown"), TEXT("OnKeyUp"), TEXT("OnKeyChar")});
	ASSERT_EQ(SlateTesting::FunctionNames(Calls),
		TArray<FString>({TEXT("ProcessApplicationActivationEvent"), TEXT("OnMouseDown"), TEXT("OnMouseDown"), TEXT("OnMouseUp"),
			TEXT("OnMouseDoubleClick"), TEXT("OnMouseWheel"), TEXT("OnKeyDown"), TEXT("OnKeyUp"), TEXT("OnKeyChar")}));
	EXPECT_TRUE(Calls[0].bValue) << "an inactive application is activated before the first button";
	EXPECT_EQ(Calls[1].Button, EMouseButtons::Left);
	EXPECT_EQ(Calls[2].Button, EMouseButtons::Right);
	EXPECT_TRUE(Calls[1].Window.IsValid()) << "the game viewport's native window";
	EXPECT_FALSE(Calls[1].bHasCursorPos);
	EXPECT_EQ(Calls[3].Button, EMouseButtons::Right);
	EXPECT_EQ(Calls[4].Button, EMouseButtons::Left);
	EXPECT_EQ(Calls[5].Delta, -2.0f);
	EXPECT_EQ(Calls[6].KeyCode, 0x41);
	EXPECT_EQ(Calls[6].CharacterCode, static_cast<uint32>('A')) << "the unshifted character of the key";
	EXPECT_FALSE(Calls[6].bIsRepeat);
	EXPECT_EQ(Calls[7].KeyCode, 0x41);
	EXPECT_EQ(Calls[8].Character, static_cast<TCHAR>(0x00E9));
}

TEST_F(InputTest, TouchesTakeTheLowestFreeSlotAndAnEleventhIsIgnored)
{
	StartPlaying();
	InputPacketBuilder Builder;
	for (int32 Id = 100; Id < 111; ++Id)
	{
		Builder.Begin(InputAddress("MultiTouch", "TouchAdd")).String(std::to_string(Id)).Float(0.5f).Float(0.25f).Float(0.0f).Float(0.75f);
	}
	// A move of an identifier never added, the removal of the third, then a new touch into its slot.
	Builder.Begin(InputAddress("MultiTouch", "TouchMove")).String("999").Float(0.1f).Float(0.1f).Float(0.0f).Float(1.0f);
	Builder.Begin(InputAddress("MultiTouch", "TouchRemove")).String("102").Float(0.5f).Float(0.5f);
	Builder.Begin(InputAddress("MultiTouch", "TouchAdd")).String("200").Float(0.0f).Float(0.0f).Float(0.0f).Float(1.0f);
	Builder.Begin(InputAddress("MultiTouch", "TouchMove")).String("200").Float(1.0f).Float(1.0f).Float(0.0f).Float(0.5f);
	SendPacket(Builder);
	RunFrames(2);

	const TArray<FMessageHandlerCall> Calls = SlateCalls({TEXT("OnTouchStarted"), TEXT("OnTouchMoved"), TEXT("OnTouchEnded")});
	ASSERT_EQ(Calls.Num(), 10 + 1 + 1 + 1);
	for (int32 Index = 0; Index < 10; ++Index)
	{
		EXPECT_EQ(Calls[Index].Function, TEXT("OnTouchStarted"));
		EXPECT_EQ(Calls[Index].TouchIndex, Index);
	}
	// Location in desktop pixels, not truncated: (100 + 960, 50 + 270); force from the fourth float.
	EXPECT_EQ(Calls[0].Location, FVector2D(1060.0, 320.0));
	EXPECT_EQ(Calls[0].Force, 0.75f);
	EXPECT_TRUE(Calls[0].Window.IsValid());
	EXPECT_EQ(Calls[0].PlatformUserId, FPlatformUserId::CreateFromInternalId(0)) << "controller 0";
	EXPECT_EQ(Calls[10].Function, TEXT("OnTouchEnded"));
	EXPECT_EQ(Calls[10].TouchIndex, 2);
	EXPECT_EQ(Calls[11].Function, TEXT("OnTouchStarted"));
	EXPECT_EQ(Calls[11].TouchIndex, 2) << "the freed slot, lowest first";
	EXPECT_EQ(Calls[12].Function, TEXT("OnTouchMoved"));
	EXPECT_EQ(Calls[12].TouchIndex, 2);
	EXPECT_EQ(Calls[12].Location, FVector2D(2020.0, 1130.0));
}

TEST_F(InputTest, MalformedAndForeignMessagesAreSkippedAndTheRestStillArrives)
{
	StartPlaying();
	InputPacketBuilder Builder;
	Builder.Begin("/Korvat/1/Mouse/0/ButtonDown/0").Int(0x100000);
	Builder.Begin("/korvat/x/Mouse/0/ButtonDown/0").Int(0x100000);
	Builder.Begin("/korvat/1/Mouse/0/Teleport/0").Float(1.0f);
	Builder.Begin("/korvat/1/InputTimecode").Int64(123456789);
	Builder.Begin(InputAddress("MultiTouch", "TouchAdd")).String("not a number").Float(0.5f).Float(0.5f);
	Builder.Begin(InputAddress("MultiTouch", "TouchAdd")).String("-1").Float(0.5f).Float(0.5f);
	Builder.Begin(InputAddress("Mouse", "Position")).Float(1e30f).Float(-1e30f);
	Builder.Begin(InputAddress("Keyboard", "KeyDown")).Int(0x42);
	SendPacket(Builder);
	// A packet that is not a bundle at all, then one more key.
	Send(ITAC, Words({4, 0x6F6E6B6E}));
	Builder.Begin(InputAddress("Keyboard", "KeyUp")).Int(0x42);
	SendPacket(Builder);
	RunFrames(2);

	EXPECT_TRUE(SlateCalls({TEXT("OnMouseDown"), TEXT("OnTouchStarted")}).IsEmpty());
	EXPECT_EQ(SlateTesting::FunctionNames(SlateCalls({TEXT("OnKeyDown"), TEXT("OnKeyUp")})),
		TArray<FString>({TEXT("OnKeyDown"), TEXT("OnKeyUp")}));
	// A huge position saturates instead of overflowing.
	const TArray<FMessageHandlerCall> Moves = SlateCalls({TEXT("OnRawMouseMove")});
	ASSERT_EQ(Moves.Num(), 1);
	EXPECT_EQ(CurrentCursor()->GetPosition(), FVector2D(MAX_int32, MIN_int32 + 50));
}

TEST_F(InputTest, InputSentWhileNoGameRunsIsDroppedNotInjectedLater)
{
	StartHost();
	StartEngine(InputSandbox(true));
	ASSERT_TRUE(RunUntilConnected());
	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Keyboard", "KeyDown")).Int(0x43);
	SendPacket(Builder);
	RunFrames(3);
	Engine->StartPlay();
	RunFrames(3);
	EXPECT_TRUE(SlateCalls({TEXT("OnKeyDown")}).IsEmpty());

	Builder.Begin(InputAddress("Keyboard", "KeyDown")).Int(0x44);
	SendPacket(Builder);
	RunFrames(2);
	const TArray<FMessageHandlerCall> Keys = SlateCalls({TEXT("OnKeyDown")});
	ASSERT_EQ(Keys.Num(), 1);
	EXPECT_EQ(Keys[0].KeyCode, 0x44);
}

TEST_F(InputTest, EndingPlayOrShuttingDownHandsTheRealApplicationBack)
{
	StartPlaying(true);
	const TSharedPtr<GenericApplication> Real = SlateTesting::GetCurrentPlatformApplication();
	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(true);
	SendPacket(Builder);
	RunFrames(2);
	ASSERT_NE(SlateTesting::GetCurrentPlatformApplication(), Real);

	// Play ends while the pointer is inside: the next frame restores the real application.
	Engine->StopPlay();
	RunFrames(1);
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), Real);

	Engine->StartPlay();
	RunFrames(1);
	SendPacket(Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(true));
	RunFrames(2);
	ASSERT_NE(SlateTesting::GetCurrentPlatformApplication(), Real);
	// The module goes away while the wrapper is installed: Slate must not keep an object of an unloaded module.
	SlateTesting::ResetRecords();
	Engine->Shutdown();
	const TArray<FMessageHandlerCall> Overrides = SlateCalls({TEXT("OverridePlatformApplication")});
	ASSERT_FALSE(Overrides.IsEmpty());
	EXPECT_EQ(Overrides.Last().Application, Real);
}

TEST_F(InputTest, ASecondDeviceWrapsTheRealApplicationNotTheFirstWrapper)
{
	StartPlaying();
	const TSharedPtr<GenericApplication> Real = SlateTesting::GetCurrentPlatformApplication();
	InputPacketBuilder Builder;
	SendPacket(Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(true));
	RunFrames(2);
	ASSERT_NE(SlateTesting::GetCurrentPlatformApplication(), Real);

	const TSharedPtr<IInputDevice> Second = Module().CreateInputDevice(MakeShared<SlateTesting::FRecordingMessageHandler>());
	ASSERT_TRUE(Second.IsValid());
	// Its wrapper, installed and left again, hands back the real application, not the first wrapper.
	SendPacket(Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(true));
	SendPacket(Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(false));
	RunFrames(2);
	EXPECT_EQ(SlateTesting::GetCurrentPlatformApplication(), Real);
}
} // namespace
