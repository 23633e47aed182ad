// The module's diagnostics against the host: one log line per change of the connection and of its writes,
// the Korvat.Status console command, and the trace that Korvat.Trace.Start and Korvat.Trace.Stop record.
#include "ModuleTestSupport.h"

#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "StandInTesting.h"

#include "KorvatPluginModule.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace Korvat::ModuleTesting
{
namespace
{
using namespace Korvat::UE4;

class FLineCollector : public FOutputDevice
{
public:
	virtual void Serialize(const TCHAR* Text, ELogVerbosity::Type, const FName&) override
	{
		Lines.push_back(TCHAR_TO_UTF8(Text));
	}
	std::vector<std::string> Lines;
};

/** Runs a console command as a user would type it; the lines it printed. */
std::vector<std::string> RunConsole(const TCHAR* Command)
{
	FLineCollector Output;
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(Command, Output, nullptr)) << TCHAR_TO_UTF8(Command);
	return Output.Lines;
}

/** The module's log lines since the last clear, with W: in front of warnings. */
std::vector<std::string> KorvatLog()
{
	std::vector<std::string> Lines;
	for (const StandInTesting::FCapturedLogLine& Line : StandInTesting::GetLogLines())
	{
		if (Line.Category == FName(TEXT("LogKorvatPlugin")))
		{
			Lines.push_back(std::string(Line.Verbosity == ELogVerbosity::Warning ? "W: " : "") + TCHAR_TO_UTF8(*Line.Text));
		}
	}
	return Lines;
}

std::vector<std::string> ReadLines(const std::filesystem::path& Path)
{
	std::vector<std::string> Lines;
	std::ifstream File(Path, std::ios::binary);
	for (std::string Line; std::getline(File, Line);)
	{
		Lines.push_back(Line);
	}
	return Lines;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<std::int32_t> Words, const std::string& Tail = {})
{
	std::vector<std::uint8_t> Out = ModuleTesting::Words(Words);
	Out.insert(Out.end(), Tail.begin(), Tail.end());
	return Out;
}

class DiagnosticsTest : public ModuleTest
{
protected:
	void SetUp() override
	{
		ModuleTest::SetUp();
		TraceFolder = ChannelDirectory.parent_path() / (ChannelDirectory.filename().string() + "-trace");
		std::filesystem::remove_all(TraceFolder);
	}

	void TearDown() override
	{
		ModuleTest::TearDown();
		std::error_code Error;
		std::filesystem::remove_all(TraceFolder, Error);
	}

	FString TracePath(const char* Name) const { return FString(UTF8_TO_TCHAR((TraceFolder / Name).string().c_str())); }

	std::filesystem::path TraceFolder;
};

TEST_F(DiagnosticsTest, EachChangeOfTheConnectionIsLoggedOnceWithItsReason)
{
	StandInTesting::ClearLogLines();
	StartEngine();
	RunFrames(5);
	EXPECT_EQ(KorvatLog(), std::vector<std::string>{"Korvat host not running (no shared slot table); waiting for it"});

	StartHost();
	ASSERT_TRUE(RunUntilConnected());
	RunFrames(5);
	const std::vector<std::string> Connected = KorvatLog();
	ASSERT_EQ(Connected.size(), 3u);
	EXPECT_EQ(Connected[1], "Korvat host found: slot 0 requested, waiting for the host to accept");
	EXPECT_TRUE(std::regex_match(Connected[2],
		std::regex(R"(Connected to the Korvat host: slot 0, connection \{[0-9A-F-]{36}\}, launch id \{[0-9A-F-]{36}\} \(generated\))")))
		<< Connected[2];

	// A host that stops drops its connections (4) and takes its table with it.
	StandInTesting::ClearLogLines();
	Host->Stop();
	RunFrames(5);
	EXPECT_EQ(KorvatLog(), (std::vector<std::string>{"W: The Korvat host refused slot 0 (state 4); requesting a slot again",
								"Korvat host not running (no shared slot table); waiting for it"}));
}

TEST_F(DiagnosticsTest, WritesThatFailAreCountedInOneLineWhenTheConnectionEnds)
{
	StartHost();
	// Under Direct3D 12 the module writes its back-end error to the host every frame.
	StartEngine(SandboxOptions(TEXT("D3D12")));
	ASSERT_TRUE(RunUntilConnected());
	StandInTesting::ClearLogLines();

	Host->Stop();
	RunFrames(3);
	const std::vector<std::string> Log = KorvatLog();
	ASSERT_GE(Log.size(), 2u);
	EXPECT_EQ(Log[0], "W: The Korvat host refused slot 0 (state 4); requesting a slot again");
	EXPECT_TRUE(std::regex_match(Log[1], std::regex(R"(\d+ writes to the Korvat host failed \(first: \w+\); the connection has closed)")))
		<< Log[1];
}

TEST_F(DiagnosticsTest, StatusReportsTheLinkAndFullStatusWhatItHolds)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	Send(Tag::QLTY, Words({3}));
	Send(Tag::RESN, Words({1280, 720}));
	Send(Tag::CLCK, Bytes({600, 0, 0x41200000, 30, 1, 0}));
	Send(Tag::VINT, Words({7, 5}));
	Send(Tag::VSTR, Bytes({9}, "door"));
	Send(Tag::VINT, Words({7}));
	RunFrames(3);

	const std::vector<std::string> Status = RunConsole(TEXT("Korvat.Status"));
	ASSERT_EQ(Status.size(), 12u);
	EXPECT_TRUE(std::regex_match(Status[0], std::regex(R"(Korvat link: connected, slot 0, connection \{[0-9A-F-]{36}\})")));
	EXPECT_TRUE(std::regex_match(Status[1], std::regex(R"(Launch id: \{[0-9A-F-]{36}\} \(generated\))")));
	EXPECT_EQ(Status[2], "Messages received: RESN 1, QLTY 1, CLCK 1, VINT 2, VSTR 1; malformed 1");
	EXPECT_EQ(Status[3], "Messages sent: UVER 1, TSHR 1");
	EXPECT_EQ(Status[4], "Resolution: 1280x720");
	EXPECT_EQ(Status[5], "Quality: High (3)");
	EXPECT_EQ(Status[6], "Clock: frame 600, time 10.000, rate 30/1");
	EXPECT_EQ(Status[7], "Share objects: 0 registered");
	EXPECT_EQ(Status[8], "Field lists: 0 asked of the host and unanswered, 0 asked by the host and not yet answered");
	EXPECT_EQ(Status[9], "Input packets: 0 taken, 0 injected");
	EXPECT_EQ(Status[10], "Outbound writes: 0 pending, 0 failed");
	EXPECT_EQ(Status[11], "Trace: off");

	const std::vector<std::string> Full = RunConsole(TEXT("korvat.status FULL"));
	ASSERT_EQ(Full.size(), 15u);
	EXPECT_EQ(Full[12], "Values held:");
	EXPECT_EQ(Full[13], "  int 0x00000007 = 5");
	EXPECT_EQ(Full[14], "  string 0x00000009 = \"door\"");
}

TEST_F(DiagnosticsTest, TraceRecordsEveryMessageBothWaysAsJsonLines)
{
	StartHost();
	StartEngine();
	const std::filesystem::path Path = TraceFolder / "session.jsonl";
	RunConsole(*(TEXT("Korvat.Trace.Start ") + TracePath("session.jsonl")));
	EXPECT_TRUE(Module().IsTracing());
	ASSERT_TRUE(RunUntilConnected());
	Send(Tag::VINT, Words({7, 5}));
	Send(Tag::VINT, Words({7}));
	Engine->StartPlay();
	RunFrames(3);
	EXPECT_EQ(RunConsole(TEXT("Korvat.Trace.Stop")).size(), 0u);
	EXPECT_FALSE(Module().IsTracing());

	const std::vector<std::string> Lines = ReadLines(Path);
	ASSERT_GE(Lines.size(), 7u);
	const std::string Head = R"(\{"frame":\d+,"time":\d+\.\d{6},)";
	auto Matches = [&](const std::string& Line, const std::string& Rest) { return std::regex_match(Line, std::regex(Head + Rest)); };
	EXPECT_TRUE(Matches(Lines[0], R"("event":"started","recorder":"plugin"\})")) << Lines[0];
	EXPECT_TRUE(Matches(Lines[1], R"("event":"connected","slot":0,"connection":"\{[0-9A-F-]{36}\}"\})")) << Lines[1];
	EXPECT_TRUE(Matches(Lines[2], R"("from":"plugin","slot":0,"tag":"UVER","major":5,"minor":5,"patch":\d+,"payload":"0500000005000000[0-9a-f]{8}"\})"))
		<< Lines[2];
	EXPECT_TRUE(Matches(Lines[3], R"("from":"plugin","slot":0,"tag":"TSHR","count":0,"ids":\[\],"payload":"00000000"\})")) << Lines[3];
	// The host's messages and the echo of the value it sent, published to the game's share object, follow in
	// the order they happened.
	auto Find = [&](const std::string& Rest) {
		return std::find_if(Lines.begin(), Lines.end(), [&](const std::string& Line) { return Matches(Line, Rest); });
	};
	const auto Value = Find(R"("from":"host","slot":0,"tag":"VINT","id":7,"value":5,"payload":"0700000005000000"\})");
	const auto Short = Find(R"("from":"host","slot":0,"tag":"VINT","malformed":true,"size":4,"bytes":"07000000","payload":"07000000"\})");
	const auto Echo = Find(R"("from":"plugin","via":"share","frameMarker":\d+,"tag":"VINT","id":\d+,"value":5,"payload":"[0-9a-f]{8}05000000"\})");
	ASSERT_NE(Value, Lines.end());
	ASSERT_LE(Value + 2, Lines.end());
	EXPECT_EQ(Echo, Value + 1) << "the value is echoed as it is dispatched, before the next message";
	EXPECT_EQ(Short, Value + 2);
	EXPECT_TRUE(Matches(Lines.back(), R"("event":"stopped","messages":\d+\})")) << Lines.back();
}

TEST_F(DiagnosticsTest, TraceStopsAtItsSizeLimitWithALogLine)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	RunConsole(TEXT("Korvat.Trace.MaxMiB 1"));
	// A name with spaces, quoted as a user would.
	RunConsole(*(TEXT("Korvat.Trace.Start \"") + TracePath("bounded trace.jsonl") + TEXT("\"")));
	ASSERT_TRUE(Module().IsTracing());
	StandInTesting::ClearLogLines();

	// Each text becomes about 200 KB of hexadecimal in its line: the sixth cannot fit into 1 MiB.
	const std::string Text(100 * 1024, 'x');
	for (int Index = 0; Index < 8; ++Index)
	{
		Send(Tag::VSTR, Bytes({Index}, Text));
		RunFrames(1);
	}
	EXPECT_FALSE(Module().IsTracing());
	const std::vector<std::string> Log = KorvatLog();
	ASSERT_EQ(Log.size(), 1u);
	EXPECT_TRUE(std::regex_match(Log.front(),
		std::regex(R"(W: Korvat trace stopped: it reached its size limit of 1048576 bytes \(.*bounded trace\.jsonl\))")))
		<< Log.front();

	const std::filesystem::path Path = TraceFolder / "bounded trace.jsonl";
	EXPECT_LE(std::filesystem::file_size(Path), 1u << 20);
	const std::vector<std::string> Lines = ReadLines(Path);
	ASSERT_FALSE(Lines.empty());
	EXPECT_NE(Lines.back().find(R"("event":"stopped","reason":"size limit","messages":)"), std::string::npos) << Lines.back();
	RunConsole(TEXT("Korvat.Trace.MaxMiB 64"));
}

} // namespace
} // namespace Korvat::ModuleTesting
