// The stand-in's console manager, output devices and GLog, files, paths and clocks: what the plug-in's console
// commands, status output and trace files rely on.
#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HAL/IConsoleManager.h"
#include "HAL/PlatformTime.h"
#include "Misc/DateTime.h"
#include "Misc/OutputDeviceNull.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/Paths.h"
#include "Misc/StringOutputDevice.h"
#include "Serialization/Archive.h"
#include "StandInTesting.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#if PLATFORM_WINDOWS
	#include <process.h>
#else
	#include <unistd.h>
#endif

DEFINE_LOG_CATEGORY_STATIC(LogConsoleFilesTest, Log, All);

namespace
{
	/** Keeps every serialized line with its verbosity and category. */
	struct FRecordingDevice : public FOutputDevice
	{
		struct FLine
		{
			FString Text;
			ELogVerbosity::Type Verbosity;
			FName Category;
		};
		TArray<FLine> Lines;

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			Lines.Add(FLine{V, Verbosity, Category});
		}

		TArray<FString> Texts() const
		{
			TArray<FString> Result;
			for (const FLine& Line : Lines)
			{
				Result.Add(Line.Text);
			}
			return Result;
		}
	};

	/**
	 * Removes console variables for good when it goes out of scope. Declared before the variables, so that it runs
	 * after their own unregistering, which keeps them (and their value) for the name's return.
	 */
	struct FForgetVariables
	{
		TArray<const TCHAR*> Names;
		~FForgetVariables()
		{
			for (const TCHAR* Name : Names)
			{
				IConsoleManager::Get().UnregisterConsoleObject(Name, false);
			}
		}
	};

	bool SameText(const FString& A, const TCHAR* B)
	{
		return A.Equals(B, ESearchCase::CaseSensitive);
	}

	bool LogHas(ELogVerbosity::Type Verbosity, const TCHAR* Fragment)
	{
		for (const StandInTesting::FCapturedLogLine& Line : StandInTesting::GetLogLines())
		{
			if (Line.Verbosity == Verbosity && Line.Text.Contains(Fragment, ESearchCase::CaseSensitive))
			{
				return true;
			}
		}
		return false;
	}

	class CoreConsoleAndFiles_test : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			StandInTesting::SetLogEchoToStderr(false);
			StandInTesting::ClearLogLines();
		}

		void TearDown() override
		{
			StandInTesting::SetLogEchoToStderr(true);
		}

		IConsoleManager& Console = IConsoleManager::Get();
		FRecordingDevice Output;
	};

	// --- Console commands -----------------------------------------------------------------------

	TEST_F(CoreConsoleAndFiles_test, CommandInputIsNameThenWhitespaceSplitArgumentsWithoutQuoting)
	{
		TArray<FString> Received;
		FOutputDevice* ReceivedDevice = nullptr;
		IConsoleCommand* Command = Console.RegisterConsoleCommand(TEXT("Korvat.Test.Echo"), TEXT("Echoes its arguments."),
			FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateLambda([&](const TArray<FString>& Args, FOutputDevice& Ar) {
				Received = Args;
				ReceivedDevice = &Ar;
				Ar.Logf(TEXT("echo %d"), Args.Num());
			}));
		ASSERT_NE(Command, nullptr);

		// The name matches ignoring case; arguments split at spaces, tabs and line breaks, quotes are plain characters.
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("korvat.test.ECHO  one\ttwo \"three four\"\r\n"), Output, nullptr));
		EXPECT_EQ(Received, (TArray<FString>{TEXT("one"), TEXT("two"), TEXT("\"three"), TEXT("four\"")}));
		EXPECT_EQ(ReceivedDevice, &Output);
		EXPECT_EQ(Output.Texts(), TArray<FString>{TEXT("echo 4")});

		Received.Reset();
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Echo"), Output, nullptr));
		EXPECT_EQ(Received.Num(), 0);

		// Only a space ends the name; input starting with a space names nothing.
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Echo\tone"), Output, nullptr));
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT(" Korvat.Test.Echo one"), Output, nullptr));
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Ech"), Output, nullptr));
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT(""), Output, nullptr));

		// "?" (alone or stuck to the name) prints the help instead of running the command.
		Received.Reset();
		Output.Lines.Reset();
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Echo ?"), Output, nullptr));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("korvat.test.echo?"), Output, nullptr));
		EXPECT_EQ(Output.Texts(), (TArray<FString>{TEXT("HELP for 'Korvat.Test.Echo':\nEchoes its arguments."),
									  TEXT("HELP for 'Korvat.Test.Echo':\nEchoes its arguments.")}));
		EXPECT_EQ(Received.Num(), 0);

		Console.UnregisterConsoleObject(Command, false);
	}

	TEST_F(CoreConsoleAndFiles_test, EachDelegateKindGetsWhatItTakesFromTheInput)
	{
		UWorld* const World = reinterpret_cast<UWorld*>(static_cast<void*>(&Output));
		TArray<FString> Calls;
		IConsoleCommand* Commands[] = {
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.Plain"), TEXT("h"),
				FConsoleCommandDelegate::CreateLambda([&] { Calls.Add(TEXT("plain")); })),
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.Args"), TEXT("h"),
				FConsoleCommandWithArgsDelegate::CreateLambda([&](const TArray<FString>& Args) { Calls.Add(FString::Join(Args, TEXT(","))); })),
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.World"), TEXT("h"),
				FConsoleCommandWithWorldDelegate::CreateLambda([&](UWorld* InWorld) { Calls.Add(InWorld == World ? TEXT("world") : TEXT("?")); })),
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.WorldArgs"), TEXT("h"),
				FConsoleCommandWithWorldAndArgsDelegate::CreateLambda([&](const TArray<FString>& Args, UWorld* InWorld) {
					Calls.Add(FString::Printf(TEXT("%s:%d"), InWorld == World ? TEXT("world") : TEXT("?"), Args.Num()));
				})),
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.Device"), TEXT("h"),
				FConsoleCommandWithOutputDeviceDelegate::CreateLambda([&](FOutputDevice& Ar) { Ar.Log(TEXT("to device")); })),
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.All"), TEXT("h"),
				FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateLambda([&](const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& Ar) {
					Ar.Logf(TEXT("%s %s"), *Args[0], InWorld == World ? TEXT("world") : TEXT("?"));
				})),
			// Known for completion only: an Exec function handles it, so the console reports it as not handled.
			Console.RegisterConsoleCommand(TEXT("Korvat.Test.Exec"), TEXT("h")),
		};

		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Plain ignored"), Output, World));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Args a b"), Output, World));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.World"), Output, World));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.WorldArgs x y z"), Output, World));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Device"), Output, World));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.All first"), Output, World));
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Exec"), Output, World));
		EXPECT_TRUE(Console.IsNameRegistered(TEXT("korvat.test.exec")));

		EXPECT_EQ(Calls, (TArray<FString>{TEXT("plain"), TEXT("a,b"), TEXT("world"), TEXT("world:3")}));
		EXPECT_EQ(Output.Texts(), (TArray<FString>{TEXT("to device"), TEXT("first world")}));

		for (IConsoleCommand* Command : Commands)
		{
			Console.UnregisterConsoleObject(Command);
		}
		EXPECT_FALSE(Console.IsNameRegistered(TEXT("Korvat.Test.Exec")));
	}

	TEST_F(CoreConsoleAndFiles_test, UnregisteredCommandsAreUnknownAndANameTakenAgainReplacesTheCommand)
	{
		int32 FirstRuns = 0;
		int32 SecondRuns = 0;
		IConsoleCommand* First = Console.RegisterConsoleCommand(TEXT("Korvat.Test.Replace"), TEXT("first"),
			FConsoleCommandDelegate::CreateLambda([&] { ++FirstRuns; }));
		EXPECT_EQ(Console.FindConsoleObject(TEXT("KORVAT.TEST.REPLACE")), First);
		EXPECT_TRUE(Console.FindConsoleObjectName(First).Equals(TEXT("Korvat.Test.Replace"), ESearchCase::CaseSensitive));

		IConsoleCommand* Second = Console.RegisterConsoleCommand(TEXT("korvat.test.replace"), TEXT("second"),
			FConsoleCommandDelegate::CreateLambda([&] { ++SecondRuns; }));
		EXPECT_TRUE(LogHas(ELogVerbosity::Warning, TEXT("Console object named 'korvat.test.replace' already exists")));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Replace"), Output, nullptr));
		EXPECT_EQ(FirstRuns, 0);
		EXPECT_EQ(SecondRuns, 1);

		// By name (ignoring case) as well as by object; the state flag does not keep a command.
		Console.UnregisterConsoleObject(TEXT("KORVAT.test.Replace"));
		EXPECT_EQ(Console.FindConsoleObject(TEXT("Korvat.Test.Replace")), nullptr);
		EXPECT_FALSE(Console.IsNameRegistered(TEXT("Korvat.Test.Replace")));
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Replace"), Output, nullptr));
		EXPECT_EQ(SecondRuns, 1);
		(void)Second;
	}

	TEST_F(CoreConsoleAndFiles_test, AutoConsoleCommandsLiveAsLongAsTheirObject)
	{
		int32 Runs = 0;
		{
			FAutoConsoleCommand Command(TEXT("Korvat.Test.Scoped"), TEXT("h"), FConsoleCommandWithArgsDelegate::CreateLambda([&](const TArray<FString>&) { ++Runs; }));
			FAutoConsoleCommandWithWorldAndArgs WorldCommand(TEXT("Korvat.Test.ScopedWorld"), TEXT("h"),
				FConsoleCommandWithWorldAndArgsDelegate::CreateLambda([&](const TArray<FString>&, UWorld*) { ++Runs; }));
			FAutoConsoleCommandWithWorldArgsAndOutputDevice DeviceCommand(TEXT("Korvat.Test.ScopedDevice"), TEXT("h"),
				FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateLambda([&](const TArray<FString>&, UWorld*, FOutputDevice&) { ++Runs; }));
			EXPECT_NE(Console.FindConsoleObject(TEXT("Korvat.Test.Scoped")), nullptr);
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Scoped now"), Output, nullptr));
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.ScopedWorld"), Output, nullptr));
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.ScopedDevice"), Output, nullptr));
		}
		EXPECT_EQ(Runs, 3);
		for (const TCHAR* Name : {TEXT("Korvat.Test.Scoped"), TEXT("Korvat.Test.ScopedWorld"), TEXT("Korvat.Test.ScopedDevice")})
		{
			EXPECT_EQ(Console.FindConsoleObject(Name), nullptr) << Name;
			EXPECT_FALSE(Console.ProcessUserConsoleInput(Name, Output, nullptr)) << Name;
		}
		EXPECT_EQ(Runs, 3);
	}

	// --- Console variables ----------------------------------------------------------------------

	TEST_F(CoreConsoleAndFiles_test, VariablesArePrintedAndSetFromTheConsole)
	{
		{
			TAutoConsoleVariable<int32> Level(TEXT("Korvat.Test.Level"), 3, TEXT("A level."));
			EXPECT_EQ(Level.GetValueOnGameThread(), 3);

			// The name alone prints the value and where it came from, with the registered spelling.
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("korvat.test.level"), Output, nullptr));
			EXPECT_EQ(Output.Texts(), TArray<FString>{TEXT("Korvat.Test.Level = \"3\"      LastSetBy: Constructor")});

			// A value sets it at console priority; one pair of quotes and a leading '=' are removed.
			Output.Lines.Reset();
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("KORVAT.TEST.LEVEL   7  "), Output, nullptr));
			EXPECT_EQ(Level.GetValueOnGameThread(), 7);
			EXPECT_EQ(Level->GetFlags() & ECVF_SetByMask, static_cast<uint32>(ECVF_SetByConsole));
			EXPECT_EQ(Output.Texts(), TArray<FString>{TEXT("Korvat.Test.Level = \"7\"")});
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Level \"9\""), Output, nullptr));
			EXPECT_EQ(Level.GetValueOnGameThread(), 9);
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Level =5"), Output, nullptr));
			EXPECT_EQ(Level.GetValueOnGameThread(), 5);
			EXPECT_TRUE(SameText(Output.Lines.Last(1).Text, TEXT("Warning: Processing the console input parameters the leading '=' is ignored (only needed for ini files).")));

			// Once set, printing the value lists what each priority holds.
			Output.Lines.Reset();
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Level"), Output, nullptr));
			EXPECT_EQ(Output.Texts(), (TArray<FString>{TEXT("\nHISTORY"), TEXT("Constructor: 3"), TEXT("Console: 5"),
										  TEXT("Korvat.Test.Level = \"5\"      LastSetBy: Console")}));
			EXPECT_EQ(Console.FindTConsoleVariableDataInt(TEXT("korvat.test.level"))->GetValueOnGameThread(), 5);
		}
		Console.UnregisterConsoleObject(TEXT("Korvat.Test.Level"), false);

		int32 Locked = 1;
		const FForgetVariables Forget{{TEXT("Korvat.Test.Locked")}};
		FAutoConsoleVariableRef ReadOnly(TEXT("Korvat.Test.Locked"), Locked, TEXT("Fixed."), ECVF_ReadOnly);
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Locked 2"), Output, nullptr));
		EXPECT_TRUE(SameText(Output.Lines.Last().Text, TEXT("Error: Korvat.Test.Locked is read only!")));
		EXPECT_EQ(Locked, 1);
		// Code may still change it.
		ReadOnly->Set(TEXT("4"));
		EXPECT_EQ(Locked, 4);
	}

	TEST_F(CoreConsoleAndFiles_test, AValueBelowTheCurrentPriorityIsKeptButNotAppliedUntilTheHigherOneIsUnset)
	{
		const FForgetVariables Forget{{TEXT("Korvat.Test.Scale")}};
		TAutoConsoleVariable<float> Scale(TEXT("Korvat.Test.Scale"), 1.0f, TEXT("A scale."));
		int32 Changes = 0;
		Scale->OnChangedDelegate().AddLambda([&Changes](IConsoleVariable*) { ++Changes; });

		Scale->Set(TEXT("2.5"), ECVF_SetByConsole);
		Scale->Set(TEXT("1.5"), ECVF_SetByCode);
		EXPECT_FLOAT_EQ(Scale.GetValueOnGameThread(), 2.5f);
		EXPECT_EQ(Changes, 1);
		EXPECT_TRUE(LogHas(ELogVerbosity::Warning,
			TEXT("Setting the console variable 'Korvat.Test.Scale' with 'SetByCode' was ignored as it is lower priority than the previous 'SetByConsole'. Value remains '2.5'")));

		// Setting the same value again still counts as a change.
		Scale->Set(2.5f, ECVF_SetByConsole);
		EXPECT_EQ(Changes, 2);

		Scale->Unset(ECVF_SetByConsole);
		EXPECT_FLOAT_EQ(Scale.GetValueOnGameThread(), 1.5f);
		EXPECT_EQ(Scale->GetFlags() & ECVF_SetByMask, static_cast<uint32>(ECVF_SetByCode));
		EXPECT_EQ(Changes, 3);
		Scale->Unset(ECVF_SetByCode);
		EXPECT_FLOAT_EQ(Scale.GetValueOnGameThread(), 1.0f);
		EXPECT_TRUE(SameText(Scale->GetDefaultValue(), TEXT("1.000000")));
	}

	TEST_F(CoreConsoleAndFiles_test, ValuesConvertBetweenTypesAsTheEngineDoes)
	{
		const FForgetVariables Forget{{TEXT("Korvat.Test.Enabled"), TEXT("Korvat.Test.Ratio"), TEXT("Korvat.Test.Label")}};
		TAutoConsoleVariable<bool> Enabled(TEXT("Korvat.Test.Enabled"), false, TEXT("h"));
		TAutoConsoleVariable<float> Ratio(TEXT("Korvat.Test.Ratio"), 2.75f, TEXT("h"));
		TAutoConsoleVariable<FString> Label(TEXT("Korvat.Test.Label"), FString(TEXT("none")), TEXT("h"));

		EXPECT_TRUE(SameText(Enabled->GetString(), TEXT("false")));
		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Enabled yes"), Output, nullptr));
		EXPECT_TRUE(Enabled.GetValueOnGameThread());
		EXPECT_TRUE(SameText(Enabled->GetString(), TEXT("true")));
		EXPECT_EQ(Enabled->GetInt(), 1);

		// Floats truncate to int and print with %g.
		EXPECT_EQ(Ratio->GetInt(), 2);
		EXPECT_TRUE(SameText(Ratio->GetString(), TEXT("2.75")));
		EXPECT_TRUE(Ratio->GetBool());

		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Label two words"), Output, nullptr));
		EXPECT_TRUE(SameText(Label.GetValueOnGameThread(), TEXT("two words")));
		EXPECT_EQ(Label->GetInt(), 0);

		EXPECT_TRUE(Ratio->IsVariableFloat());
		EXPECT_FALSE(Ratio->IsVariableInt());
		EXPECT_EQ(Console.FindTConsoleVariableDataInt(TEXT("Korvat.Test.Ratio")), nullptr);
		EXPECT_EQ(Console.FindConsoleVariable(TEXT("Korvat.Test.Unknown")), nullptr);
	}

	TEST_F(CoreConsoleAndFiles_test, ReferenceVariablesWriteThroughAndKeepTheirLastAppliedValue)
	{
		int32 Quality = 2;
		FString Mode = TEXT("fast");
		int32 Callbacks = 0;
		{
			FAutoConsoleVariableRef QualityRef(TEXT("Korvat.Test.Quality"), Quality, TEXT("h"),
				FConsoleVariableDelegate::CreateLambda([&Callbacks](IConsoleVariable*) { ++Callbacks; }));
			FAutoConsoleVariableRef ModeRef(TEXT("Korvat.Test.Mode"), Mode, TEXT("h"));
			EXPECT_EQ(QualityRef->GetInt(), 2);

			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("korvat.test.quality 3"), Output, nullptr));
			EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Mode \"slow but sure\""), Output, nullptr));
			EXPECT_EQ(Quality, 3);
			EXPECT_TRUE(SameText(Mode, TEXT("slow but sure")));
			EXPECT_EQ(Callbacks, 1);

			// A change made to the C++ variable directly is not what the console variable reports.
			Quality = 8;
			EXPECT_EQ(QualityRef->GetInt(), 3);
		}
		// Destroyed: unknown to the console, though the variable is kept (unregistered) for the name's return.
		EXPECT_EQ(Console.FindConsoleVariable(TEXT("Korvat.Test.Quality")), nullptr);
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Quality 4"), Output, nullptr));
		EXPECT_TRUE(Console.IsNameRegistered(TEXT("Korvat.Test.Quality")));
		Console.UnregisterConsoleObject(TEXT("Korvat.Test.Quality"), false);
		Console.UnregisterConsoleObject(TEXT("Korvat.Test.Mode"), false);
		EXPECT_FALSE(Console.IsNameRegistered(TEXT("Korvat.Test.Quality")));
	}

	TEST_F(CoreConsoleAndFiles_test, AVariableRegisteredAgainKeepsTheValueItHadBeforeUnregistering)
	{
		{
			TAutoConsoleVariable<int32> Budget(TEXT("Korvat.Test.Budget"), 10, TEXT("first"));
			Budget->Set(42);
		}
		IConsoleObject* Kept = Console.FindConsoleObject(TEXT("Korvat.Test.Budget"));
		ASSERT_NE(Kept, nullptr);
		EXPECT_TRUE(Kept->TestFlags(ECVF_Unregistered));
		{
			TAutoConsoleVariable<int32> Budget(TEXT("Korvat.Test.Budget"), 10, TEXT("second"));
			EXPECT_EQ(Budget.GetValueOnGameThread(), 42);
			EXPECT_TRUE(SameText(Budget->GetHelp(), TEXT("second")));
			EXPECT_FALSE(Budget->TestFlags(ECVF_Unregistered));
		}
		// A registered variable taken again is reported; a command can never take a variable's name.
		IConsoleVariable* Taken = Console.RegisterConsoleVariable(TEXT("Korvat.Test.Budget"), 1, TEXT("third"));
		EXPECT_FALSE(LogHas(ELogVerbosity::Warning, TEXT("Korvat.Test.Budget")));
		EXPECT_EQ(Console.RegisterConsoleVariable(TEXT("Korvat.Test.Budget"), 2, TEXT("fourth")), Taken);
		EXPECT_TRUE(LogHas(ELogVerbosity::Warning, TEXT("Console object named 'Korvat.Test.Budget' already exists")));
		EXPECT_EQ(Taken->GetInt(), 42);
		GTEST_FLAG_SET(death_test_style, "threadsafe");
		EXPECT_DEATH(Console.RegisterConsoleCommand(TEXT("Korvat.Test.Budget"), TEXT("h"), FConsoleCommandDelegate()),
			"can't be replaced with the new one of different type");
		Console.UnregisterConsoleObject(TEXT("Korvat.Test.Budget"), false);
		EXPECT_EQ(Console.FindConsoleObject(TEXT("Korvat.Test.Budget")), nullptr);
	}

	TEST_F(CoreConsoleAndFiles_test, SinksRunOnlyAfterAVariableChanged)
	{
		int32 SinkRuns = 0;
		const FConsoleVariableSinkHandle Sink = Console.RegisterConsoleVariableSink_Handle(FConsoleCommandDelegate::CreateLambda([&SinkRuns] { ++SinkRuns; }));
		const FForgetVariables Forget{{TEXT("Korvat.Test.Watched")}};
		TAutoConsoleVariable<int32> Watched(TEXT("Korvat.Test.Watched"), 0, TEXT("h"));
		Console.CallAllConsoleVariableSinks();
		const int32 RunsBefore = SinkRuns;

		Console.CallAllConsoleVariableSinks();
		EXPECT_EQ(SinkRuns, RunsBefore);
		Watched->Set(TEXT("1"), static_cast<EConsoleVariableFlags>(ECVF_SetByCode | ECVF_Set_NoSinkCall_Unsafe));
		Console.CallAllConsoleVariableSinks();
		EXPECT_EQ(SinkRuns, RunsBefore);
		Watched->Set(2);
		Console.CallAllConsoleVariableSinks();
		Console.CallAllConsoleVariableSinks();
		EXPECT_EQ(SinkRuns, RunsBefore + 1);

		Console.UnregisterConsoleVariableSink_Handle(Sink);
		Watched->Set(3);
		Console.CallAllConsoleVariableSinks();
		EXPECT_EQ(SinkRuns, RunsBefore + 1);
	}

	TEST_F(CoreConsoleAndFiles_test, VisitorsFindNamesByPrefixOrWordsAndUnregisteringIsAnnounced)
	{
		const FForgetVariables Forget{{TEXT("Korvat.Test.Find.Alpha"), TEXT("Korvat.Test.Find.Beta")}};
		TAutoConsoleVariable<int32> Alpha(TEXT("Korvat.Test.Find.Alpha"), 1, TEXT("h"));
		TAutoConsoleVariable<int32> Beta(TEXT("Korvat.Test.Find.Beta"), 2, TEXT("h"));
		int32 Runs = 0;
		FAutoConsoleCommand Gamma(TEXT("Korvat.Test.Other.Gamma"), TEXT("h"), FConsoleCommandDelegate::CreateLambda([&Runs] { ++Runs; }));

		TArray<FString> Found;
		const FConsoleObjectVisitor Collect = FConsoleObjectVisitor::CreateLambda([&Found](const TCHAR* Name, IConsoleObject*) { Found.Add(Name); });
		Console.ForEachConsoleObjectThatStartsWith(Collect, TEXT("korvat.test.find."));
		Found.Sort();
		EXPECT_EQ(Found, (TArray<FString>{TEXT("Korvat.Test.Find.Alpha"), TEXT("Korvat.Test.Find.Beta")}));
		Found.Reset();
		Console.ForEachConsoleObjectThatContains(Collect, TEXT("TEST gamma"));
		EXPECT_EQ(Found, TArray<FString>{TEXT("Korvat.Test.Other.Gamma")});

		TArray<FString> Announced;
		const FDelegateHandle Handle = Console.OnConsoleObjectUnregistered().AddLambda([&Announced](const TCHAR* Name, IConsoleObject*) { Announced.Add(Name); });
		Console.UnregisterConsoleObject(TEXT("korvat.test.find.beta"));
		Console.OnConsoleObjectUnregistered().Remove(Handle);
		EXPECT_EQ(Announced, TArray<FString>{TEXT("korvat.test.find.beta")});
		EXPECT_EQ(Console.FindConsoleVariable(TEXT("Korvat.Test.Find.Beta")), nullptr);
		EXPECT_EQ(Runs, 0);
	}

	TEST_F(CoreConsoleAndFiles_test, VariableHelpAndOtherPlatformInputAreAnsweredWithoutSetting)
	{
		const FForgetVariables Forget{{TEXT("Korvat.Test.Helped")}};
		int32 Changes = 0;
		FAutoConsoleVariable Helped(TEXT("Korvat.Test.Helped"), 4, TEXT("Explains itself."),
			FConsoleVariableDelegate::CreateLambda([&Changes](IConsoleVariable*) { ++Changes; }));

		EXPECT_TRUE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Helped ?"), Output, nullptr));
		EXPECT_EQ(Output.Texts(), (TArray<FString>{TEXT("HELP for 'Korvat.Test.Helped':\nExplains itself."),
									  TEXT("Korvat.Test.Helped = \"4\"      LastSetBy: Constructor")}));
		// Another platform's value is not held here: reported, and the input is not handled.
		Output.Lines.Reset();
		EXPECT_FALSE(Console.ProcessUserConsoleInput(TEXT("Korvat.Test.Helped@Android 9"), Output, nullptr));
		EXPECT_EQ(Output.Texts(), TArray<FString>{TEXT("Unable to lookup a CVar value on another platform in this build")});
		EXPECT_EQ(Helped->GetInt(), 4);
		EXPECT_EQ(Changes, 0);

		Helped->Set(5);
		EXPECT_EQ(Changes, 1);
		EXPECT_EQ(Helped->GetFlags() & ECVF_SetByMask, static_cast<uint32>(ECVF_SetByCode));
	}

	// --- Output devices and GLog ----------------------------------------------------------------

	TEST_F(CoreConsoleAndFiles_test, GLogFeedsTheLogCaptureAndEveryAddedDevice)
	{
		FRecordingDevice Added;
		GLog->AddOutputDevice(&Added);
		GLog->AddOutputDevice(&Added);
		EXPECT_TRUE(GLog->IsRedirectingTo(&Added));

		GLog->Log(TEXT("plain 100%"));
		GLog->Logf(TEXT("value %d of %s"), 3, TEXT("four"));
		GLog->CategorizedLogf(FName(TEXT("LogKorvatDevice")), ELogVerbosity::Warning, TEXT("careful"));
		UE_LOG(LogConsoleFilesTest, Error, TEXT("from UE_LOG %d"), 5);

		const TArray<StandInTesting::FCapturedLogLine> Captured = StandInTesting::GetLogLines();
		ASSERT_EQ(Captured.Num(), 4);
		EXPECT_TRUE(SameText(Captured[0].Text, TEXT("plain 100%")));
		EXPECT_EQ(Captured[0].Verbosity, ELogVerbosity::Log);
		EXPECT_EQ(Captured[0].Category, FName(NAME_None));
		EXPECT_TRUE(SameText(Captured[1].Text, TEXT("value 3 of four")));
		EXPECT_EQ(Captured[2].Category, FName(TEXT("LogKorvatDevice")));
		EXPECT_EQ(Captured[2].Verbosity, ELogVerbosity::Warning);

		// Added once, it receives GLog text and UE_LOG lines alike, with their category.
		ASSERT_EQ(Added.Lines.Num(), 4);
		EXPECT_TRUE(SameText(Added.Lines[3].Text, TEXT("from UE_LOG 5")));
		EXPECT_EQ(Added.Lines[3].Category, FName(TEXT("LogConsoleFilesTest")));
		EXPECT_EQ(Added.Lines[3].Verbosity, ELogVerbosity::Error);

		GLog->RemoveOutputDevice(&Added);
		EXPECT_FALSE(GLog->IsRedirectingTo(&Added));
		GLog->Log(TEXT("after"));
		EXPECT_EQ(Added.Lines.Num(), 4);
		EXPECT_EQ(StandInTesting::GetLogLines().Num(), 5);
	}

	TEST_F(CoreConsoleAndFiles_test, StringDevicesCollectTextAndTheNullDeviceDropsIt)
	{
		FStringOutputDevice Collected;
		Collected.Log(TEXT("a"));
		Collected.Logf(TEXT("%d"), 2);
		EXPECT_TRUE(SameText(Collected, TEXT("a2")));
		Collected.SetAutoEmitLineTerminator(true);
		Collected.Log(ELogVerbosity::Warning, TEXT("b"));
		EXPECT_TRUE(SameText(Collected, *(FString(TEXT("a2b")) + LINE_TERMINATOR)));

		FStringOutputDeviceCountLines Counted;
		Counted.Log(*(FString(TEXT("one")) + LINE_TERMINATOR + TEXT("two") + LINE_TERMINATOR));
		EXPECT_EQ(Counted.GetLineCount(), 2);

		FOutputDeviceNull Null;
		Null.Logf(TEXT("%s"), TEXT("nothing"));
		FOutputDevice& AsDevice = Null;
		AsDevice.Log(TEXT("still nothing"));
		EXPECT_EQ(StandInTesting::GetLogLines().Num(), 0);
	}

	// --- Files ----------------------------------------------------------------------------------

	class CoreFiles_test : public CoreConsoleAndFiles_test
	{
	protected:
		void SetUp() override
		{
			CoreConsoleAndFiles_test::SetUp();
#if PLATFORM_WINDOWS
			const int Pid = _getpid();
#else
			const int Pid = static_cast<int>(getpid());
#endif
			Root = FPaths::Combine(FString(::testing::TempDir().c_str()), FString::Printf(TEXT("KorvatStandInFiles-%d"), Pid));
		}

		void TearDown() override
		{
			IFileManager::Get().DeleteDirectory(*Root, false, true);
			CoreConsoleAndFiles_test::TearDown();
		}

		static FString ReadAll(const FString& Filename)
		{
			std::unique_ptr<FArchive> Reader(IFileManager::Get().CreateFileReader(*Filename));
			if (!Reader)
			{
				return TEXT("<missing>");
			}
			TArray<ANSICHAR> Bytes;
			Bytes.AddZeroed(static_cast<int32>(Reader->TotalSize()) + 1);
			Reader->Serialize(Bytes.GetData(), Reader->TotalSize());
			return FString(Bytes.GetData());
		}

		static void Write(FArchive& Ar, const char* Text)
		{
			Ar.Serialize(const_cast<char*>(Text), static_cast<int64>(std::strlen(Text)));
		}

		FString Root;
	};

	TEST_F(CoreFiles_test, WriterCreatesDirectoriesAppendsOnRequestAndReadsBack)
	{
		IFileManager& Files = IFileManager::Get();
		// A non-ASCII name goes through the wide (Windows) or UTF-8 (elsewhere) file name.
		const FString Filename = FPaths::Combine(Root, TEXT("Saved/Logs"), TEXT("trace-\u00fc.txt"));

		{
			std::unique_ptr<FArchive> Writer(Files.CreateFileWriter(*Filename, FILEWRITE_AllowRead));
			ASSERT_TRUE(Writer);
			EXPECT_TRUE(Writer->IsSaving());
			EXPECT_FALSE(Writer->IsLoading());
			Write(*Writer, "Hello");
			EXPECT_EQ(Writer->Tell(), 5);
			EXPECT_TRUE(Writer->Close());
		}
		EXPECT_TRUE(Files.DirectoryExists(*FPaths::GetPath(Filename)));
		EXPECT_EQ(Files.FileSize(*Filename), 5);

		{
			std::unique_ptr<FArchive> Appender(Files.CreateFileWriter(*Filename, FILEWRITE_Append));
			ASSERT_TRUE(Appender);
			EXPECT_EQ(Appender->Tell(), 5);
			Write(*Appender, " World");
			Appender->Logf(TEXT("%s\u00e9"), TEXT("!"));
			// The size counts what is still buffered.
			EXPECT_EQ(Appender->TotalSize(), 13 + static_cast<int64>(std::strlen(LINE_TERMINATOR_ANSI)));
		}
		EXPECT_TRUE(SameText(ReadAll(Filename), *(FString(TEXT("Hello World!?")) + LINE_TERMINATOR)));

		{
			std::unique_ptr<FArchive> Reader(Files.CreateFileReader(*Filename));
			ASSERT_TRUE(Reader);
			EXPECT_TRUE(Reader->IsLoading());
			char Buffer[64] = {};
			Reader->Seek(6);
			Reader->Serialize(Buffer, 5);
			EXPECT_STREQ(Buffer, "World");
			EXPECT_FALSE(Reader->IsError());
			// Past the end: an error, nothing read.
			Reader->Serialize(Buffer, 64);
			EXPECT_TRUE(Reader->IsError());
			EXPECT_FALSE(Reader->Close());
			EXPECT_TRUE(LogHas(ELogVerbosity::Error, TEXT("Requested read of 64 bytes")));
		}

		// Without FILEWRITE_Append the file starts empty again.
		{
			std::unique_ptr<FArchive> Writer(Files.CreateFileWriter(*Filename));
			ASSERT_TRUE(Writer);
			Write(*Writer, "new");
		}
		EXPECT_TRUE(SameText(ReadAll(Filename), TEXT("new")));

		EXPECT_TRUE(Files.FileExists(*Filename));
		EXPECT_FALSE(Files.FileExists(*Root));
		EXPECT_TRUE(Files.Delete(*Filename));
		EXPECT_FALSE(Files.FileExists(*Filename));
		EXPECT_EQ(Files.FileSize(*Filename), INDEX_NONE);
		EXPECT_TRUE(Files.Delete(*Filename));
		EXPECT_FALSE(Files.Delete(*Filename, true, false, true));
		EXPECT_EQ(Files.CreateFileReader(*Filename), nullptr);
	}

	TEST_F(CoreFiles_test, DirectoriesAreMadeAsATreeOnlyWhenAsked)
	{
		IFileManager& Files = IFileManager::Get();
		const FString Deep = FPaths::Combine(Root, TEXT("a"), TEXT("b"), TEXT("c"));
		EXPECT_FALSE(Files.MakeDirectory(*Deep));
		EXPECT_TRUE(Files.MakeDirectory(*Deep, true));
		EXPECT_TRUE(Files.MakeDirectory(*Deep, true));
		EXPECT_TRUE(Files.DirectoryExists(*Deep));

		std::unique_ptr<FArchive>(Files.CreateFileWriter(*FPaths::Combine(Deep, TEXT("one.txt")))).reset();
		std::unique_ptr<FArchive>(Files.CreateFileWriter(*FPaths::Combine(Deep, TEXT("two.log")))).reset();
		TArray<FString> Found;
		Files.FindFiles(Found, *FPaths::Combine(Deep, TEXT("*.TXT")), true, false);
		EXPECT_EQ(Found, TArray<FString>{TEXT("one.txt")});

		EXPECT_FALSE(Files.DeleteDirectory(*FPaths::Combine(Root, TEXT("a")), true, false));
		EXPECT_TRUE(Files.DeleteDirectory(*FPaths::Combine(Root, TEXT("a")), true, true));
		EXPECT_FALSE(Files.DirectoryExists(*Deep));
	}

	TEST_F(CoreFiles_test, ValuesRoundTripThroughFileArchivesInTheEngineLayout)
	{
		IFileManager& Files = IFileManager::Get();
		const FString Filename = FPaths::Combine(Root, TEXT("values.bin"));
		{
			std::unique_ptr<FArchive> Writer(Files.CreateFileWriter(*Filename));
			ASSERT_TRUE(Writer);
			int32 Count = -7;
			float Ratio = 0.25f;
			bool bFlag = true;
			uint8 Byte = 0xAB;
			*Writer << Count << Ratio << bFlag << Byte;
			uint32 NotABool = 2;
			*Writer << NotABool;
		}
		// A bool takes four bytes.
		EXPECT_EQ(Files.FileSize(*Filename), 4 + 4 + 4 + 1 + 4);

		std::unique_ptr<FArchive> Reader(Files.CreateFileReader(*Filename));
		ASSERT_TRUE(Reader);
		int32 Count = 0;
		float Ratio = 0.0f;
		bool bFlag = false;
		uint8 Byte = 0;
		*Reader << Count << Ratio << bFlag << Byte;
		EXPECT_EQ(Count, -7);
		EXPECT_EQ(Ratio, 0.25f);
		EXPECT_TRUE(bFlag);
		EXPECT_EQ(Byte, 0xAB);
		EXPECT_FALSE(Reader->IsError());
		EXPECT_FALSE(Reader->AtEnd());
		bool bCorrupt = false;
		*Reader << bCorrupt;
		EXPECT_TRUE(Reader->IsError());
		EXPECT_TRUE(Reader->AtEnd());
	}

	TEST_F(CoreFiles_test, MovesReplaceOnlyWhenAskedAndUnopenableFilesFailAsFlagged)
	{
		IFileManager& Files = IFileManager::Get();
		const FString Source = FPaths::Combine(Root, TEXT("source.txt"));
		const FString Dest = FPaths::Combine(Root, TEXT("moved"), TEXT("dest.txt"));
		std::unique_ptr<FArchive>(Files.CreateFileWriter(*Source)).reset();
		std::unique_ptr<FArchive>(Files.CreateFileWriter(*Dest)).reset();

		EXPECT_FALSE(Files.Move(*Dest, *Source, false));
		EXPECT_TRUE(Files.FileExists(*Source));
		EXPECT_TRUE(Files.Move(*Dest, *Source));
		EXPECT_FALSE(Files.FileExists(*Source));
		EXPECT_TRUE(Files.FileExists(*Dest));

		// A directory is not a file: it cannot be read or written as one.
		EXPECT_EQ(Files.CreateFileReader(*Root), nullptr);
		EXPECT_EQ(Files.FileSize(*Root), INDEX_NONE);
		EXPECT_EQ(Files.CreateFileWriter(*Root), nullptr);
		GTEST_FLAG_SET(death_test_style, "threadsafe");
		EXPECT_DEATH(Files.CreateFileWriter(*Root, FILEWRITE_NoFail), "Failed to create file");
		EXPECT_DEATH(Files.CreateFileReader(*Source, FILEREAD_NoFail), "Failed to read file");
	}

	// --- Paths ----------------------------------------------------------------------------------

	TEST(CorePaths_test, PathsSplitAndJoinAsTheEngineDoes)
	{
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a"), TEXT("b"), TEXT("c.txt")), TEXT("a/b/c.txt")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a/"), TEXT("b")), TEXT("a/b")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a\\"), TEXT("b")), TEXT("a\\b")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a"), TEXT("/b")), TEXT("a/b")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a/"), TEXT("/b")), TEXT("a//b")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT("a"), TEXT("")), TEXT("a/")));
		EXPECT_TRUE(SameText(FPaths::Combine(TEXT(""), TEXT("b")), TEXT("b")));
		EXPECT_TRUE(SameText(FPaths::Combine(FString(TEXT("x")), TEXT("y")), TEXT("x/y")));

		EXPECT_TRUE(SameText(FPaths::GetPath(TEXT("C:\\dir/sub\\file.ext")), TEXT("C:\\dir/sub")));
		EXPECT_TRUE(SameText(FPaths::GetPath(TEXT("file.ext")), TEXT("")));
		EXPECT_TRUE(SameText(FPaths::GetCleanFilename(TEXT("dir/sub\\file.tar.gz")), TEXT("file.tar.gz")));
		EXPECT_TRUE(SameText(FPaths::GetCleanFilename(TEXT("dir/sub/")), TEXT("")));
		EXPECT_TRUE(SameText(FPaths::GetBaseFilename(TEXT("dir/file.tar.gz")), TEXT("file.tar")));
		EXPECT_TRUE(SameText(FPaths::GetExtension(TEXT("dir.d/file"), true), TEXT("")));
		EXPECT_TRUE(SameText(FPaths::GetExtension(TEXT("dir/file.Log"), true), TEXT(".Log")));
		EXPECT_TRUE(SameText(FPaths::GetPathLeaf(TEXT("a/b/leaf//")), TEXT("leaf")));

		EXPECT_FALSE(FPaths::IsRelative(TEXT("/usr")));
		EXPECT_FALSE(FPaths::IsRelative(TEXT("C:")));
		EXPECT_FALSE(FPaths::IsRelative(TEXT("d:\\x")));
		EXPECT_FALSE(FPaths::IsRelative(TEXT("\\\\server\\share")));
		EXPECT_TRUE(FPaths::IsRelative(TEXT("\\single")));
		EXPECT_TRUE(FPaths::IsRelative(TEXT("Saved/Logs")));
		EXPECT_TRUE(FPaths::IsRelative(TEXT("")));

		EXPECT_TRUE(SameText(FPaths::ConvertRelativePathToFull(TEXT("/base/dir"), TEXT("a/../b/./c.txt")), TEXT("/base/dir/b/c.txt")));
		EXPECT_TRUE(SameText(FPaths::ConvertRelativePathToFull(TEXT("/base"), TEXT("C:\\abs\\..\\x")), TEXT("C:/x")));
		EXPECT_TRUE(SameText(FPaths::ConvertRelativePathToFull(TEXT("/base"), TEXT("..")), TEXT("/")));
		FString Unfoldable = TEXT("../up/x");
		EXPECT_FALSE(FPaths::CollapseRelativeDirectories(Unfoldable));
		EXPECT_TRUE(SameText(Unfoldable, TEXT("../up/x")));
		EXPECT_FALSE(FPaths::IsRelative(FPaths::ConvertRelativePathToFull(TEXT("relative/file.txt"))));
	}

	TEST(CorePaths_test, ExtensionsAndSeparatorsAreEditedInPlaceOfTheName)
	{
		EXPECT_TRUE(SameText(FPaths::ChangeExtension(TEXT("dir.v2/file.txt"), TEXT("log")), TEXT("dir.v2/file.log")));
		EXPECT_TRUE(SameText(FPaths::ChangeExtension(TEXT("dir.v2/file"), TEXT(".log")), TEXT("dir.v2/file")));
		EXPECT_TRUE(SameText(FPaths::SetExtension(TEXT("dir.v2/file"), TEXT(".log")), TEXT("dir.v2/file.log")));

		FString Directory = TEXT("C:\\Games\\Saved\\");
		FPaths::NormalizeDirectoryName(Directory);
		EXPECT_TRUE(SameText(Directory, TEXT("C:/Games/Saved")));
		FString Root = TEXT("C:/");
		FPaths::NormalizeDirectoryName(Root);
		EXPECT_TRUE(SameText(Root, TEXT("C:/")));
		EXPECT_TRUE(SameText(FPaths::RemoveDuplicateSlashes(FString(TEXT("a//b///c/"))), TEXT("a/b/c/")));
	}

	TEST(CorePaths_test, ProjectDirectoriesNestWithTrailingSlashes)
	{
		const FString ProjectDir = FPaths::ProjectDir();
		EXPECT_TRUE(ProjectDir.EndsWith(TEXT("/"), ESearchCase::CaseSensitive));
		EXPECT_FALSE(ProjectDir.Contains(TEXT("\\")));
		EXPECT_TRUE(SameText(FPaths::ProjectSavedDir(), *(ProjectDir + TEXT("Saved/"))));
		EXPECT_TRUE(SameText(FPaths::ProjectLogDir(), *(ProjectDir + TEXT("Saved/Logs/"))));
		EXPECT_TRUE(SameText(FPaths::ProjectConfigDir(), *(ProjectDir + TEXT("Config/"))));
	}

	/** Sets KORVAT_PROJECT_DIR and checks the log directory made of it (on first use of the project directory). */
	bool ProjectLogDirWithEnvironment()
	{
#if PLATFORM_WINDOWS
		_wputenv_s(L"KORVAT_PROJECT_DIR", L"C:\\Games\\Korvat Demo");
		const TCHAR* Expected = TEXT("C:/Games/Korvat Demo/Saved/Logs/");
#else
		setenv("KORVAT_PROJECT_DIR", "/srv/games/Korvat Demo/", 1);
		const TCHAR* Expected = TEXT("/srv/games/Korvat Demo/Saved/Logs/");
#endif
		return FPaths::ProjectLogDir().Equals(Expected, ESearchCase::CaseSensitive);
	}

	TEST(CorePaths_test, ProjectLogDirComesFromKorvatProjectDir)
	{
		// The project directory is fixed at first use, so it is looked at in a fresh process.
		GTEST_FLAG_SET(death_test_style, "threadsafe");
		EXPECT_EXIT(std::exit(ProjectLogDirWithEnvironment() ? 0 : 1), ::testing::ExitedWithCode(0), "");
	}

	// --- Clocks ---------------------------------------------------------------------------------

	TEST(CoreTime_test, DateTimesFormatWithTheEngineConversions)
	{
		const FDateTime Morning(2024, 2, 29, 9, 5, 7, 42);
		EXPECT_TRUE(SameText(Morning.ToString(), TEXT("2024.02.29-09.05.07")));
		EXPECT_TRUE(SameText(Morning.ToIso8601(), TEXT("2024-02-29T09:05:07.042Z")));
		EXPECT_TRUE(SameText(Morning.ToString(TEXT("%y|%D|%h%a|%A|%q|100%%|%")), TEXT("24|060|09am|AM|q|100%|%")));
		EXPECT_EQ(Morning.GetDayOfWeek(), EDayOfWeek::Thursday);

		const FDateTime Night(1999, 12, 31, 23, 59, 59, 999);
		EXPECT_EQ(Night.GetYear(), 1999);
		EXPECT_EQ(Night.GetMonth(), 12);
		EXPECT_EQ(Night.GetDay(), 31);
		EXPECT_EQ(Night.GetDayOfYear(), 365);
		EXPECT_EQ(Night.GetHour12(), 11);
		EXPECT_TRUE(SameText(Night.ToString(TEXT("%h %a")), TEXT("11 pm")));
		EXPECT_EQ(FDateTime(1, 1, 1).GetTicks(), 0);
		EXPECT_EQ(FDateTime(2000, 1, 1).GetTicks(), Night.GetTicks() + 10000);
		EXPECT_TRUE(SameText(FDateTime(1, 1, 1).ToString(TEXT("%h %a")), TEXT("12 am")));

		EXPECT_FALSE(FDateTime::Validate(2023, 2, 29, 0, 0, 0, 0));
		EXPECT_TRUE(FDateTime::Validate(2000, 2, 29, 0, 0, 0, 0));
		EXPECT_FALSE(FDateTime::Validate(1900, 2, 29, 0, 0, 0, 0));

		EXPECT_EQ(Night.GetDate(), FDateTime(1999, 12, 31));
		EXPECT_EQ(Night.GetMonthOfYear(), EMonthOfYear::December);
		EXPECT_TRUE(SameText(FDateTime::MaxValue().ToString(TEXT("%Y-%m-%d %H:%M:%S.%s")), TEXT("9999-12-31 23:59:59.999")));
		EXPECT_TRUE(SameText(FDateTime::MinValue().ToString(), TEXT("0001.01.01-00.00.00")));
	}

	TEST(CoreTime_test, ClocksMoveForwardAndLocalTimeIsNearUtc)
	{
		const double Start = FPlatformTime::Seconds();
		const uint64 StartCycles = FPlatformTime::Cycles64();
		EXPECT_GT(Start, 16777216.0);
		double Now = Start;
		while (Now == Start)
		{
			Now = FPlatformTime::Seconds();
		}
		EXPECT_GT(Now, Start);
		EXPECT_GE(FPlatformTime::ToSeconds64(FPlatformTime::Cycles64() - StartCycles), 0.0);

		const FDateTime Local = FDateTime::Now();
		const FDateTime Utc = FDateTime::UtcNow();
		const int64 TicksPerHour = 36000000000LL;
		EXPECT_LE(std::llabs(Local.GetTicks() - Utc.GetTicks()), 15 * TicksPerHour);
		EXPECT_GE(Utc.GetYear(), 2024);
	}
}
