// korvat-sandbox: the plug-in's runtime module inside the stand-in engine, frame by frame, beside a
// korvat-host process, printing a transcript of both sides.
//
//   korvat-sandbox [--frames N] [--frame-ms MS] [--rhi NAME] [--editor] [--host PATH | --no-host]
//                  [--session demo|play|nodes] [--trace FILE] [--replay FILE] [--state FILE] [--expect-state FILE]
//                  [-KorvatLaunchID=<guid>]
//
// The launch switch is read by the module itself from the process command line, as in Unreal.

#include "Camera/PlayerCameraManager.h"
#include "ChildProcess.h"
#include "Containers/StringConv.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/World.h"
#include "EngineTesting.h"
#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "SlateTesting.h"
#include "StandInTesting.h"

#include "KorvatDemoBlueprint.h"
#include "KorvatNodesAct.h"
#include "KorvatPluginModule.h"
#include "SandboxEngine.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include "Platform/System.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
using namespace Korvat;
using Korvat::Testing::ChildProcess;

struct FSandboxArguments
{
	int Frames = 0;
	int FrameMs = 10;
	std::string Rhi = "D3D11";
	bool bEditor = false;
	std::string HostPath = KORVAT_HOST_TOOL_PATH;
	bool bHost = true;
	std::string Session = "demo";
	std::string TracePath;
	std::string ReplayPath;
	std::string StatePath;
	std::string ExpectedStatePath;
};

const char* const UsageText = R"(Usage: korvat-sandbox [--frames N] [--frame-ms MS] [--rhi NAME] [--editor] [--host PATH | --no-host]
                      [--session demo|play|nodes] [--trace FILE] [--replay FILE] [--state FILE]
                      [--expect-state FILE] [-KorvatLaunchID=<guid>]

Runs the Korvat runtime module inside the stand-in engine, frame by frame, beside a korvat-host process, and
prints what both sides do. The demo session connects, sets the render quality and resolution, starts a
game, exchanges values, stops and starts the game again, kills the host and starts a new one, and shuts the
engine down. The play session starts the game at once and runs --frames frames. The nodes session runs the
editor: a Blueprint graph with the Korvat nodes, a multi-field node synced from the host with its details
panel's Do Sync button, the graph compiled (expanded) and run frame by frame, and the host asking the editor for
a node's fields.

  --frames N      frames to run (the demo session runs until it is done)
  --frame-ms MS   pause between frames (default 10)
  --rhi NAME      the engine's rendering back end (default D3D11; D3D12 or Vulkan show the back-end error)
  --editor        run as the editor, with play-in-editor
  --host PATH     the korvat-host program to run beside the engine
  --no-host       run no host
  --trace FILE    record the link's messages into FILE with the console command Korvat.Trace.Start, from the
                  engine's start to the end of the session
  --replay FILE   run korvat-host --replay FILE --fast instead of the scripted host (a new host for each recorded
                  connection the session's host restarts reach); the session's host commands are not sent
  --state FILE    write the module's end state (from Korvat.Status full: messages received, resolution,
                  quality, clock, field-list questions, values held, share parameters) into FILE
  --expect-state FILE
                  fail unless the end state (as --state writes it) equals FILE's, line by line
  -KorvatLaunchID=<guid>
                  the launch switch the host gives Unreal; without it the module makes up its own id
)";

bool ParseArguments(int Argc, char** Argv, FSandboxArguments& Out)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		const std::string Argument = Argv[Index];
		auto Value = [&]() -> std::string { return Index + 1 < Argc ? Argv[++Index] : std::string(); };
		if (Argument == "--frames")
		{
			Out.Frames = std::atoi(Value().c_str());
		}
		else if (Argument == "--frame-ms")
		{
			Out.FrameMs = std::atoi(Value().c_str());
		}
		else if (Argument == "--rhi")
		{
			Out.Rhi = Value();
		}
		else if (Argument == "--editor")
		{
			Out.bEditor = true;
		}
		else if (Argument == "--host")
		{
			Out.HostPath = Value();
		}
		else if (Argument == "--no-host")
		{
			Out.bHost = false;
		}
		else if (Argument == "--session")
		{
			Out.Session = Value();
		}
		else if (Argument == "--trace")
		{
			Out.TracePath = Value();
		}
		else if (Argument == "--replay")
		{
			Out.ReplayPath = Value();
		}
		else if (Argument == "--state")
		{
			Out.StatePath = Value();
		}
		else if (Argument == "--expect-state")
		{
			Out.ExpectedStatePath = Value();
		}
		else if (Argument.rfind("-KorvatLaunchID=", 0) == 0 || Argument.rfind("-korvatlaunchid=", 0) == 0)
		{
			// Read by the module from the process command line.
		}
		else
		{
			std::fprintf(stderr, "korvat-sandbox: unknown argument '%s'\n\n%s", Argument.c_str(), UsageText);
			return false;
		}
	}
	if (Out.Session != "demo" && Out.Session != "play" && Out.Session != "nodes")
	{
		std::fprintf(stderr, "korvat-sandbox: unknown session '%s' (demo, play or nodes)\n", Out.Session.c_str());
		return false;
	}
	if (Out.Session == "nodes")
	{
		// The Blueprint nodes exist only in the editor.
		Out.bEditor = true;
	}
	if (Out.Session == "play" && Out.Frames <= 0)
	{
		std::fprintf(stderr, "korvat-sandbox: the play session needs --frames N\n");
		return false;
	}
	return Out.Rhi.size() > 0 && Out.FrameMs >= 0;
}

std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

std::string GuidText(const UE4::GUID& Guid)
{
	const std::wstring Wide = UE4::Platform::FormatGuid(Guid);
	return std::string(Wide.begin(), Wide.end());
}

/** The engine's side of the transcript: what the module did, as the engine saw it. */
class FEngineObserver
{
public:
	explicit FEngineObserver(Sandbox::FSandboxEngine& InEngine) : Engine(InEngine) {}

	int Frame = 0;

	void Say(const std::string& Text) const
	{
		std::printf("engine | frame %4d | %s\n", Frame, Text.c_str());
		std::fflush(stdout);
	}

	/** Reports what changed since the last frame. */
	void Observe()
	{
		const FKorvatPlugin* Module = Engine.GetModule();
		const bool bConnected = Module != nullptr && Module->IsConnected();
		if (bConnected != bWasConnected)
		{
			Say(bConnected ? "the module is connected to the host" : "the module is not connected to the host");
			bWasConnected = bConnected;
		}
		ReportLog();
		ReportResolution();
		ReportScalability();
	}

	bool IsConnected() const { return bWasConnected; }

	/** What the game's input received since the last look (the calls on Slate's application). */
	void ReportInput()
	{
		const TArray<SlateTesting::FMessageHandlerCall> Calls = SlateTesting::GetSlateCalls();
		static const TCHAR* const ButtonNames[] = {TEXT("Left"), TEXT("Middle"), TEXT("Right"), TEXT("Thumb01"), TEXT("Thumb02")};
		for (int32 Index = InputCallsSeen; Index < Calls.Num(); ++Index)
		{
			const SlateTesting::FMessageHandlerCall& Call = Calls[Index];
			FString Detail;
			if (Call.Function == TEXT("OnRawMouseMove"))
			{
				Detail = FString::Printf(TEXT(" by (%d, %d)"), Call.X, Call.Y);
			}
			else if (Call.Function.StartsWith(TEXT("OnMouse")) && Call.Function != TEXT("OnMouseWheel"))
			{
				Detail = FString::Printf(TEXT(" %s"), Call.Button >= 0 && Call.Button < 5 ? ButtonNames[Call.Button] : TEXT("?"));
			}
			else if (Call.Function == TEXT("OnMouseWheel"))
			{
				Detail = FString::Printf(TEXT(" %.2f"), Call.Delta);
			}
			else if (Call.Function == TEXT("OnKeyDown") || Call.Function == TEXT("OnKeyUp"))
			{
				Detail = FString::Printf(TEXT(" key 0x%02X, character '%c'"), Call.KeyCode, static_cast<TCHAR>(Call.CharacterCode));
			}
			else if (Call.Function == TEXT("OnKeyChar"))
			{
				Detail = FString::Printf(TEXT(" '%c'"), Call.Character);
			}
			else if (Call.Function.StartsWith(TEXT("OnTouch")))
			{
				Detail = FString::Printf(TEXT(" index %d at (%.1f, %.1f)"), Call.TouchIndex, Call.Location.X, Call.Location.Y);
			}
			else if (Call.Function == TEXT("OverridePlatformApplication"))
			{
				const TSharedPtr<GenericApplication> Installed = Call.Application.Pin();
				Detail = Installed == SlateTesting::GetStandInPlatformApplication() ? TEXT(": the real platform application")
				                                                                   : TEXT(": the plug-in's wrapper (virtual cursor)");
			}
			else if (Call.Function == TEXT("ProcessApplicationActivationEvent"))
			{
				Detail = Call.bValue ? TEXT(" (activate)") : TEXT(" (deactivate)");
			}
			Say("input: " + Narrow(Call.Function + Detail));
		}
		InputCallsSeen = Calls.Num();
	}

	/** Where the host camera put the first player, and the projection the last rendered view used. */
	void ReportCamera()
	{
		UWorld* World = GEngine->GameViewport ? GEngine->GameViewport->GetWorld() : nullptr;
		APlayerController* Controller = World ? World->GetFirstPlayerController() : nullptr;
		if (Controller == nullptr || Controller->GetPawn() == nullptr || Controller->PlayerCameraManager == nullptr)
		{
			Say("camera: no player to follow the host camera");
			return;
		}
		char Line[256];
		const FVector Location = Controller->GetPawn()->GetActorLocation();
		const FRotator Rotation = Controller->GetControlRotation();
		std::snprintf(Line, sizeof(Line), "camera: pawn at (%.1f, %.1f, %.1f) cm, controller rotation pitch %.1f yaw %.1f roll %.1f",
			Location.X, Location.Y, Location.Z, Rotation.Pitch, Rotation.Yaw, Rotation.Roll);
		Say(Line);
		const APlayerCameraManager* Manager = Controller->PlayerCameraManager;
		std::snprintf(Line, sizeof(Line), "camera manager: field of view %.2f, aspect %.4f (constrained %s), %s", Manager->GetFOVAngle(),
			Manager->DefaultAspectRatio, Manager->bDefaultConstrainAspectRatio ? "yes" : "no",
			Manager->bIsOrthographic ? "orthographic" : "perspective");
		Say(Line);
		const TArray<EngineTesting::FRenderedViewport> Rendered = EngineTesting::GetRenderedViewports();
		if (Rendered.Num() > 0 && Rendered.Last().Views.Num() > 0)
		{
			const EngineTesting::FRenderedView& View = Rendered.Last().Views[0];
			const FMatrix& P = View.ProjectionMatrix;
			std::snprintf(Line, sizeof(Line),
				"rendered projection: [0][0] %.4f [1][1] %.4f [2][0] %.4f [2][1] %.4f [2][2] %.6f [2][3] %.1f [3][2] %.4f [3][3] %.1f",
				P.M[0][0], P.M[1][1], P.M[2][0], P.M[2][1], P.M[2][2], P.M[2][3], P.M[3][2], P.M[3][3]);
			Say(Line);
			std::snprintf(Line, sizeof(Line), "rendered view: %dx%d, %dx%d after the aspect bars", View.UnconstrainedViewRect.Width(),
				View.UnconstrainedViewRect.Height(), View.UnscaledViewRect.Width(), View.UnscaledViewRect.Height());
			Say(Line);
		}
	}

private:
	void ReportLog()
	{
		const TArray<StandInTesting::FCapturedLogLine> Lines = StandInTesting::GetLogLines();
		for (int32 Index = LogLinesSeen; Index < Lines.Num(); ++Index)
		{
			if (Lines[Index].Category == FName(TEXT("LogKorvatPlugin")))
			{
				Say("log: " + Narrow(Lines[Index].Text));
			}
		}
		LogLinesSeen = Lines.Num();
	}

	void ReportResolution()
	{
		const TArray<StandInTesting::FResolutionRequest> Requests = StandInTesting::GetResolutionRequests();
		const int32 NewRequests = Requests.Num() - ResolutionRequestsSeen;
		ResolutionRequestsSeen = Requests.Num();
		if (NewRequests > 0 && !bResolutionPending)
		{
			const StandInTesting::FResolutionRequest& Request = Requests.Last();
			Say("resolution change to " + std::to_string(Request.ResX) + "x" + std::to_string(Request.ResY) +
				" requested (repeated every frame until the host confirms the size)");
			PendingSince = Frame;
		}
		else if (NewRequests == 0 && bResolutionPending)
		{
			Say("resolution requests stopped after " + std::to_string(Frame - PendingSince) + " frames");
		}
		bResolutionPending = NewRequests > 0;
		for (const EngineTesting::FFrameResizeRequest& Resize : EngineTesting::GetFrameResizeRequests())
		{
			if (!bReportedFrameResize)
			{
				Say("play-in-editor window frame resized to " + std::to_string(Resize.SizeX) + "x" + std::to_string(Resize.SizeY));
				bReportedFrameResize = true;
			}
		}
	}

	void ReportScalability()
	{
		const TArray<StandInTesting::FScalabilityApplication> Applied = StandInTesting::GetScalabilityApplications();
		for (int32 Index = ScalabilitySeen; Index < Applied.Num(); ++Index)
		{
			const Scalability::FQualityLevels& Levels = Applied[Index].Levels;
			Say("scalability applied: shadows " + std::to_string(Levels.ShadowQuality) + ", textures " +
				std::to_string(Levels.TextureQuality) + ", effects " + std::to_string(Levels.EffectsQuality) + ", anti-aliasing " +
				std::to_string(Levels.AntiAliasingQuality));
		}
		ScalabilitySeen = Applied.Num();
	}

	Sandbox::FSandboxEngine& Engine;
	bool bWasConnected = false;
	int32 LogLinesSeen = 0;
	int32 ResolutionRequestsSeen = 0;
	int32 ScalabilitySeen = 0;
	int32 InputCallsSeen = 0;
	bool bResolutionPending = false;
	bool bReportedFrameResize = false;
	int PendingSince = 0;
};

/** Console output as transcript lines. */
class FTranscriptOutputDevice : public FOutputDevice
{
public:
	explicit FTranscriptOutputDevice(std::function<void(const std::string&)> InSink) : Sink(std::move(InSink)) {}

	virtual void Serialize(const TCHAR* Text, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Sink(Narrow(FString(Text)));
	}

private:
	std::function<void(const std::string&)> Sink;
};

/**
 * The part of Korvat.Status full that follows only from what the host sent, so that a replay of a
 * recorded session can be compared with the session: connection, launch id, outbound counts, input, writes and
 * the trace depend on the run, and a share parameter's frame marker on the frame it was published in.
 */
std::vector<std::string> CaptureState()
{
	std::vector<std::string> Lines;
	FTranscriptOutputDevice Capture([&Lines](const std::string& Line) { Lines.push_back(Line); });
	(void)IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Korvat.Status full"), Capture, nullptr);
	static const char* const RunDependent[] = {
		"Korvat link:", "Launch id:", "Messages sent:", "Input packets:", "Outbound writes:", "Trace:"};
	std::vector<std::string> State;
	for (std::string Line : Lines)
	{
		bool bSkip = false;
		for (const char* Prefix : RunDependent)
		{
			bSkip = bSkip || Line.rfind(Prefix, 0) == 0;
		}
		if (bSkip)
		{
			continue;
		}
		const std::size_t Marker = Line.rfind(" (marker ");
		if (Marker != std::string::npos)
		{
			Line.erase(Marker);
		}
		State.push_back(std::move(Line));
	}
	return State;
}

bool WriteLines(const std::string& Path, const std::vector<std::string>& Lines)
{
	std::ofstream File(Path, std::ios::binary | std::ios::trunc);
	for (const std::string& Line : Lines)
	{
		File << Line << '\n';
	}
	return static_cast<bool>(File);
}

std::vector<std::string> ReadLines(const std::string& Path)
{
	std::vector<std::string> Lines;
	std::ifstream File(Path, std::ios::binary);
	for (std::string Line; std::getline(File, Line);)
	{
		Lines.push_back(std::move(Line));
	}
	return Lines;
}

/** Says where Actual differs from Expected; true when they are equal. */
bool CompareState(const std::vector<std::string>& Expected, const std::vector<std::string>& Actual, const FEngineObserver& Observer)
{
	if (Expected.empty())
	{
		Observer.Say("state: nothing to compare with (no expected state)");
		return false;
	}
	bool bEqual = Expected.size() == Actual.size();
	for (std::size_t Index = 0; Index < std::max(Expected.size(), Actual.size()); ++Index)
	{
		const std::string* Want = Index < Expected.size() ? &Expected[Index] : nullptr;
		const std::string* Have = Index < Actual.size() ? &Actual[Index] : nullptr;
		if (Want == nullptr || Have == nullptr || *Want != *Have)
		{
			bEqual = false;
			Observer.Say("state differs at line " + std::to_string(Index + 1) + ": expected '" + (Want ? *Want : "(nothing)") +
				"', got '" + (Have ? *Have : "(nothing)") + "'");
		}
	}
	if (bEqual)
	{
		Observer.Say("state: the same as expected (" + std::to_string(Actual.size()) + " lines)");
	}
	return bEqual;
}

/** A korvat-host process whose output joins the transcript. */
class FHostProcess
{
public:
	/** With a trace to replay, the host plays the Generation-th recorded connection, and commands are not sent. */
	explicit FHostProcess(std::string InReplayPath) : ReplayPath(std::move(InReplayPath)) {}

	bool Start(const std::string& Path, int Generation)
	{
		std::string Error;
		std::vector<std::string> Arguments = {"--watch-shares", "--stay"};
		if (!ReplayPath.empty())
		{
			Arguments.insert(Arguments.end(), {"--replay", ReplayPath, "--fast", "--replay-connection", std::to_string(Generation)});
		}
		Process = ChildProcess::Start(Path, Arguments, Error);
		Label = Generation == 1 ? "host   " : "host " + std::to_string(Generation) + " ";
		if (!Process)
		{
			std::fprintf(stderr, "korvat-sandbox: cannot start korvat-host '%s': %s\n", Path.c_str(), Error.c_str());
		}
		return Process != nullptr;
	}

	void Command(const std::string& Line)
	{
		if (Process && ReplayPath.empty())
		{
			Process->WriteLine(Line);
		}
	}

	/** Prints what the host printed since the last call; waits up to Timeout for the first line. */
	void Drain(std::chrono::milliseconds Timeout = std::chrono::milliseconds(0))
	{
		while (Process)
		{
			std::optional<std::string> Line = Process->ReadLine(Timeout);
			if (!Line)
			{
				return;
			}
			Timeout = std::chrono::milliseconds(0);
			std::printf("%s| %s\n", Label.c_str(), Line->c_str());
			if (Line->find(EchoMarker) != std::string::npos)
			{
				++EchoesSeen;
			}
			std::fflush(stdout);
		}
	}

	void Kill()
	{
		if (Process)
		{
			Drain();
			Process->Kill();
			std::printf("%s| (killed)\n", Label.c_str());
			Process.reset();
		}
	}

	void Quit()
	{
		if (Process)
		{
			Command("quit");
			Process->Wait(std::chrono::milliseconds(5000));
			Drain();
			Process.reset();
		}
	}

	bool IsRunning() const { return Process != nullptr; }

	/** Share parameters echoing the host's value 1 ("_synced" id) that the hosts have printed so far. */
	int EchoesSeen = 0;

private:
	static constexpr const char* EchoMarker = "[id 0xF2B8741A";

	std::string ReplayPath;
	std::unique_ptr<ChildProcess> Process;
	std::string Label;
};

/** One step of a scripted session: runs when its condition holds, then the next step waits. */
struct FStep
{
	std::string Description;
	std::function<bool()> Ready;
	std::function<void()> Run;
};

int RunSandbox(const FSandboxArguments& Arguments)
{
	Sandbox::FSandboxOptions Options;
	Options.RhiName = FString(Arguments.Rhi.c_str());
	Options.bEditor = Arguments.bEditor;
	Sandbox::FSandboxEngine Engine(Options);
	FEngineObserver Observer(Engine);
	FHostProcess Host(Arguments.ReplayPath);
	int HostGeneration = 0;
	const bool bReplay = !Arguments.ReplayPath.empty();

	auto StartHost = [&] {
		if (Arguments.bHost && Host.Start(Arguments.HostPath, ++HostGeneration))
		{
			Host.Drain(std::chrono::milliseconds(2000));
		}
	};
	StartHost();

	FString Error;
	if (!Engine.Start(Error))
	{
		std::fprintf(stderr, "korvat-sandbox: %s\n", Narrow(Error).c_str());
		Host.Quit();
		return 1;
	}
	const FKorvatPlugin* Module = Engine.GetModule();
	Observer.Say(std::string("engine started (") + (Arguments.bEditor ? "editor" : "game") + ", RHI " + Arguments.Rhi +
		"), module KorvatPlugin loaded, launch id " + GuidText(Module->GetKorvatLaunchID()));

	bool bStateAsExpected = true;
	// Console commands run as a user types them, their output in the transcript.
	FTranscriptOutputDevice ConsoleOutput([&Observer](const std::string& Line) { Observer.Say("console: " + Line); });
	auto RunConsole = [&](const std::string& Command) {
		Observer.Say("console> " + Command);
		UWorld* World = GEngine->GameViewport ? GEngine->GameViewport->GetWorld() : nullptr;
		if (!IConsoleManager::Get().ProcessUserConsoleInput(*FString(Command.c_str()), ConsoleOutput, World))
		{
			Observer.Say("console: unknown command");
		}
	};
	if (!Arguments.TracePath.empty())
	{
		RunConsole("Korvat.Trace.Start " + Arguments.TracePath);
	}

	// The end of every session: the trace closed, the module's status printed, its state kept for comparison.
	auto ShutDown = [&] {
		if (!Arguments.TracePath.empty())
		{
			RunConsole("Korvat.Trace.Stop");
		}
		RunConsole("Korvat.Status");
		const std::vector<std::string> State = CaptureState();
		if (!Arguments.StatePath.empty() && !WriteLines(Arguments.StatePath, State))
		{
			Observer.Say("cannot write the state to " + Arguments.StatePath);
		}
		if (!Arguments.ExpectedStatePath.empty())
		{
			bStateAsExpected = CompareState(ReadLines(Arguments.ExpectedStatePath), State, Observer);
		}
		// The module's own lines about the trace it closed.
		Observer.Observe();
		Observer.Say("engine shutting down (pre-exit, module shut-down)");
		Engine.Shutdown();
	};

	// The project's Blueprint of the data act; kept alive by the root set, as a loaded Blueprint is by its level.
	UKorvatDemoBlueprint* Blueprint = nullptr;
	auto MakeBlueprint = [&] {
		Blueprint = NewObject<UKorvatDemoBlueprint>(GetTransientPackage(), FName(TEXT("DemoBlueprint")));
		Blueprint->AddToRoot();
		Blueprint->Print = [&Observer](const FString& Line) { Observer.Say("blueprint: " + Narrow(Line)); };
	};

	// The editor act's graph.
	Sandbox::FNodesAct Nodes([&Observer](const std::string& Line) { Observer.Say(Line); });
	bool bNodesActSound = true;
	bool bRunGraphEachFrame = false;

	int Mark = 0;
	auto FramesSinceMark = [&](int Count) { return [&, Count] { return Observer.Frame - Mark >= Count; }; };
	// A replayed host sends its values as soon as it connects, perhaps before a game publishes their echoes.
	auto EchoesSeen = [&](int Count) -> std::function<bool()> {
		if (bReplay)
		{
			return FramesSinceMark(10);
		}
		return [&, Count] { return Host.EchoesSeen >= Count; };
	};
	std::vector<FStep> Steps;
	if (Arguments.Session == "demo")
	{
		Steps = {
			{"wait for the connection", [&] { return Observer.IsConnected(); }, [] {}},
			{"quality and clock before the game", FramesSinceMark(3),
				[&] {
					Host.Command("send * QLTY 2");
					Host.Command("send * CLCK 1200 20.0 60 1");
				}},
			{"start the game", FramesSinceMark(5), [&] { Engine.StartPlay(); Observer.Say("game started"); }},
			{"resolution and a value", FramesSinceMark(5),
				[&] {
					Host.Command("send * RESN 1920 1080");
					Host.Command("send * VINT 1 5");
				}},
			// The share channel keeps only the latest delivered frame: let the host see one echo before the next.
			{"wait for the host to see the value echoed", EchoesSeen(1),
				[&] {
					Host.Command("send * VSTR 9 hello from the host");
					Host.Command("send * EVNT 13 42");
				}},
			{"confirm the resolution", FramesSinceMark(10), [&] { Host.Command("send * RESN 1920 1080"); }},
			{"data: the Blueprint registers its method", FramesSinceMark(5),
				[&] {
					Observer.Say("data act: the game's Blueprint registers a method; the host sends one value of every kind to node "
								 "Demo and calls Door.Open");
					MakeBlueprint();
					Blueprint->RegisterMethods();
					Host.Command("name unreal.count,unreal.speed,unreal.title,unreal.enabled,unreal.levels,unreal.weights,"
								 "unreal.tags,unreal.flags,unrealpose,door.opened");
					Host.Command("send * VINT demo.count 7");
					Host.Command("send * VFLT demo.speed 2.5");
					Host.Command("send * VSTR demo.title hello from the host");
					Host.Command("send * VBOL demo.enabled 1");
					Host.Command("send * AINT demo.levels 1 2 3");
					Host.Command("send * AFLT demo.weights 0.5 0.25");
					Host.Command("send * ASTR demo.tags red|green|blue");
					Host.Command("send * ABOL demo.flags 1 0 1");
					Host.Command("send * MTXV pose 0 1 0 0 0 0 1 0 0 0 0 1 0 100 200 300 1");
					Host.Command("send * EVNT door.open 42");
				}},
			{"data: the Blueprint reads by name and answers", FramesSinceMark(5),
				[&] {
					Blueprint->ReadHostValues();
					Blueprint->SendValues();
				}},
			{"a perspective host camera, off centre", FramesSinceMark(5),
				[&] {
					Observer.Say("the host sends a perspective projection (60 degrees, shifted right) and a camera at (2, 1.5, 10) m");
					Host.Command("send * PROJ 1.7320508 0 0 0 0 3.0792 0 0 0.1 0 -1.0001 -1 0 0 -0.10001 0");
					Host.Command("send * CAMR at 2 1.5 10 30 -10 0");
				}},
			{"report the perspective camera", FramesSinceMark(3), [&] { Observer.ReportCamera(); }},
			{"an orthographic host camera", FramesSinceMark(2),
				[&] {
					Observer.Say("the host sends an orthographic projection (8 by 4.5 m) and a camera 20 m up");
					Host.Command("send * PROJ ortho 8 4.5 0.1 100");
					Host.Command("send * CAMR at 0 20 0 0 -90 0");
				}},
			{"report the orthographic camera", FramesSinceMark(3), [&] { Observer.ReportCamera(); }},
			{"host input", FramesSinceMark(2),
				[&] {
					Observer.ReportInput();
					Observer.Say("the host's pointer enters its output, moves, clicks, scrolls, types and touches with two fingers");
					Host.Command("input * mouse inside 1 ; mouse move 0.5 0.5 ; mouse down left ; mouse up left ; mouse wheel -240");
					Host.Command("input * key down 0x41 ; key char a ; key up 0x41");
					Host.Command("input * touch add 7 0.2 0.3 ; touch add 8 0.6 0.4 ; touch move 7 0.25 0.35 0.5 ; "
								 "touch remove 7 0.25 0.35 ; touch remove 8 0.6 0.4");
					Host.Command("input * mouse inside 0");
				}},
			{"report the input", FramesSinceMark(3), [&] { Observer.ReportInput(); }},
			{"stop the game", FramesSinceMark(10), [&] { Engine.StopPlay(); Observer.Say("game stopped"); }},
			{"start the game again", FramesSinceMark(5), [&] { Engine.StartPlay(); Observer.Say("game started"); }},
			{"kill the host", FramesSinceMark(10), [&] { Host.Kill(); }},
			{"start a new host", FramesSinceMark(10), [&] { StartHost(); }},
			{"wait for the new connection", [&] { return Observer.IsConnected(); }, [] {}},
			{"a value to the new host", FramesSinceMark(5), [&] { Host.Command("send * VINT 1 6"); }},
			{"wait for the new host to see the value echoed", EchoesSeen(2), [] {}},
			{"shut the engine down", FramesSinceMark(10), ShutDown},
		};
	}

	else if (Arguments.Session == "nodes")
	{
		Steps = {
			{"wait for the connection", [&] { return Observer.IsConnected(); }, [] {}},
			{"a Blueprint graph with the Korvat nodes", FramesSinceMark(2),
				[&] {
					Host.Command("name lamp.width,lamp.on");
					Nodes.BuildGraph();
				}},
			{"Do Sync", FramesSinceMark(2), [&] { Nodes.ClickDoSync(); }},
			{"the host answers the field list", FramesSinceMark(5),
				[&] {
					Observer.Say("the host answers: Lamp has width (integer) and on (boolean) for Unreal to send, heat (float) to read");
					Host.Command("send * FLDS last 1:0:width 2:0:on 0:1:heat");
				}},
			{"wire and compile the graph", FramesSinceMark(5), [&] { bNodesActSound = Nodes.WireSyncedPins() && Nodes.Compile(); }},
			{"play in the editor", FramesSinceMark(1),
				[&] {
					Engine.StartPlay();
					Observer.Say("play-in-editor started (the share object the graph's values travel in exists from now)");
				}},
			{"the graph ticks", FramesSinceMark(2), [&] { bRunGraphEachFrame = bNodesActSound; }},
			{"the host sends Door.Width", FramesSinceMark(3), [&] { Host.Command("send * VINT door.width 120"); }},
			{"the host changes Door.Width", FramesSinceMark(10), [&] { Host.Command("send * VINT door.width 95"); }},
			{"the host asks the editor", FramesSinceMark(5),
				[&] {
					Observer.Say("the host asks the editor which fields its nodes give host node Lamp");
					Host.Command("send * FLD? new lamp");
				}},
			{"shut the engine down", FramesSinceMark(10), ShutDown},
		};
	}
	else
	{
		Engine.StartPlay();
		Observer.Say("game started");
	}

	std::size_t NextStep = 0;
	const int FrameLimit = Arguments.Frames > 0 ? Arguments.Frames : 2000;
	while (Engine.IsRunning() && Observer.Frame < FrameLimit)
	{
		++Observer.Frame;
		Engine.RunFrames(1);
		if (bRunGraphEachFrame && Engine.IsRunning())
		{
			bRunGraphEachFrame = bNodesActSound = Nodes.RunFrame();
		}
		Observer.Observe();
		Host.Drain();
		if (NextStep < Steps.size() && Steps[NextStep].Ready())
		{
			Steps[NextStep].Run();
			Mark = Observer.Frame;
			++NextStep;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(Arguments.FrameMs));
	}

	const bool bSessionDone = NextStep == Steps.size();
	if (Engine.IsRunning())
	{
		ShutDown();
	}
	std::this_thread::sleep_for(std::chrono::milliseconds(50));
	Host.Drain(std::chrono::milliseconds(200));
	Host.Quit();
	if (!bNodesActSound)
	{
		std::fprintf(stderr, "korvat-sandbox: the Blueprint graph of the nodes session did not build, compile or run\n");
		return 1;
	}
	if (!bStateAsExpected)
	{
		std::fprintf(stderr, "korvat-sandbox: the end state differs from %s\n", Arguments.ExpectedStatePath.c_str());
		return 1;
	}
	if (!bSessionDone)
	{
		std::fprintf(stderr, "korvat-sandbox: the session stopped at step '%s' after %d frames\n",
			Steps[NextStep].Description.c_str(), Observer.Frame);
		return 1;
	}
	std::printf("sandbox | session complete after %d frames\n", Observer.Frame);
	return 0;
}
} // namespace

int main(int Argc, char** Argv)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		if (std::string(Argv[Index]) == "--help")
		{
			std::fputs(UsageText, stdout);
			return 0;
		}
	}
	FSandboxArguments Arguments;
	if (!ParseArguments(Argc, Argv, Arguments))
	{
		return 2;
	}
	StandInTesting::SetLogEchoToStderr(false);
	return RunSandbox(Arguments);
}
