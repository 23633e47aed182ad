// Traces: reading JSON lines into recorded connections, writing them, and replaying a trace's host messages,
// with field-list answers moved onto the live plug-in's question GUIDs.
#include "Trace.h"

#include "ChildProcess.h"
#include "HostLink.h"
#include "HostSimulator.h"
#include "Platform/System.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace
{

using namespace Korvat::Host;
namespace UE4 = Korvat::UE4;
namespace Tag = Korvat::UE4::Tag;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

Bytes Int32s(std::initializer_list<std::int32_t> Values)
{
	Bytes Out;
	for (const std::int32_t Value : Values)
	{
		std::uint8_t Raw[4];
		std::memcpy(Raw, &Value, 4);
		Out.insert(Out.end(), Raw, Raw + 4);
	}
	return Out;
}

Bytes Guid(std::uint8_t Fill)
{
	return Bytes(16, Fill);
}

Bytes Question(const Bytes& Id, const std::string& Node)
{
	Bytes Out = Id;
	Out.insert(Out.end(), Node.begin(), Node.end());
	Out.push_back(0);
	return Out;
}

/** An FLDS payload: the request GUID and one record (type, flag, zero-terminated name). */
Bytes Answer(const Bytes& Id, std::uint8_t Type, const std::string& Field)
{
	Bytes Out = Id;
	Out.push_back(Type);
	Out.push_back(1);
	Out.insert(Out.end(), Field.begin(), Field.end());
	Out.push_back(0);
	return Out;
}

std::string HostLine(double Time, std::uint32_t MessageTag, const Bytes& Payload, std::uint32_t Slot = 0)
{
	return FormatTraceMessage(1, Time, ETraceDirection::FromHost, Slot, MessageTag, Payload) + "\n";
}

std::string PluginLine(double Time, std::uint32_t MessageTag, const Bytes& Payload, std::uint32_t Slot = 0)
{
	return FormatTraceMessage(1, Time, ETraceDirection::FromPlugin, Slot, MessageTag, Payload) + "\n";
}

std::string ConnectedLine(double Time, std::uint32_t Slot)
{
	return FormatTraceEvent(1, Time, "connected",
	                        ",\"slot\":" + std::to_string(Slot) + ",\"connection\":\"{00000000-0000-0000-0000-00000000000" +
	                            std::to_string(Slot) + "}\"") +
	       "\n";
}

Trace Read(const std::string& Text)
{
	std::istringstream In(Text);
	return ReadTrace(In);
}

TEST(Trace_test, ConnectionsAreSplitAtConnectedEventsAndMessagesFollowTheirSlot)
{
	const Trace Plugin = Read(R"({"frame":10,"time":0.050000,"event":"started","recorder":"plugin"}
{"frame":11,"time":0.060000,"from":"plugin","slot":0,"tag":"UVER","major":5,"minor":5,"patch":3,"payload":"050000000500000003000000"}
{"frame":12,"time":1.000000,"event":"connected","slot":0,"connection":"{8A1B2C3D-0000-4000-8000-00000000000A}"}
{"frame":15,"time":1.500000,"from":"host","slot":0,"tag":"VINT","id":1,"value":5,"payload":"0100000005000000"}
{"frame":20,"time":2.000000,"event":"disconnected","slot":0}
{"frame":30,"time":3.000000,"event":"connected","slot":1,"connection":"{8A1B2C3D-0000-4000-8000-00000000000B}"}
{"frame":31,"time":3.250000,"from":"host","slot":1,"tag":"QLTY","quality":2,"payload":"02000000"}
{"frame":32,"time":3.500000,"event":"stopped","reason":"size limit"}
)");
	EXPECT_EQ(Plugin.Recorder, "plugin");
	EXPECT_TRUE(Plugin.bStopped);
	EXPECT_EQ(Plugin.StopReason, "size limit");
	EXPECT_EQ(Plugin.Skipped(), 0u);
	ASSERT_EQ(Plugin.Connections.size(), 2u);

	const RecordedConnection& First = Plugin.Connections[0];
	EXPECT_TRUE(First.bHasConnectedEvent) << "the UVER before the event belongs to the connection it opens";
	EXPECT_DOUBLE_EQ(First.ConnectedTime, 1.0);
	EXPECT_EQ(First.Slot, 0u);
	EXPECT_EQ(First.ConnectionId, "{8A1B2C3D-0000-4000-8000-00000000000A}");
	ASSERT_EQ(First.Messages.size(), 2u);
	EXPECT_EQ(First.Messages[0].From, ETraceDirection::FromPlugin);
	EXPECT_EQ(First.Messages[0].Tag, Tag::UVER);
	EXPECT_EQ(First.Messages[1].From, ETraceDirection::FromHost);
	EXPECT_EQ(First.Messages[1].Tag, Tag::VINT);
	EXPECT_EQ(First.Messages[1].Payload, Int32s({1, 5}));
	EXPECT_DOUBLE_EQ(First.Messages[1].Time, 1.5);

	ASSERT_EQ(Plugin.Connections[1].Messages.size(), 1u);
	EXPECT_EQ(Plugin.Connections[1].Messages[0].Payload, Int32s({2}));
	EXPECT_DOUBLE_EQ(Plugin.Connections[1].ConnectedTime, 3.0);

	// A host's trace interleaves connections on several slots: each message goes to its slot's connection.
	const Trace Interleaved = Read(ConnectedLine(1, 0) + ConnectedLine(2, 1) + HostLine(3, Tag::QLTY, Int32s({0}), 0) +
	                               HostLine(4, Tag::QLTY, Int32s({1}), 1) + HostLine(5, Tag::QLTY, Int32s({2}), 0));
	ASSERT_EQ(Interleaved.Connections.size(), 2u);
	EXPECT_EQ(Interleaved.Connections[0].HostMessageCount(), 2u);
	EXPECT_EQ(Interleaved.Connections[1].HostMessageCount(), 1u);
	EXPECT_FALSE(Interleaved.bStopped);

	// What comes on a slot after its connection ended opens the next connection on it (a host may send as soon
	// as it sees the slot's state, before the notice); what no new connection takes stays with the one that ended.
	const std::string Disconnected = R"({"frame":1,"time":2.0,"event":"disconnected","slot":0})"
	                                 "\n";
	const Trace Reconnected = Read(
	    ConnectedLine(1, 0) + HostLine(1.5, Tag::QLTY, Int32s({0})) + Disconnected + HostLine(2.5, Tag::QLTY, Int32s({1})) +
	    ConnectedLine(3, 0) + HostLine(3.5, Tag::QLTY, Int32s({2})) + Disconnected + PluginLine(4.5, Tag::LPHA, Int32s({7})));
	ASSERT_EQ(Reconnected.Connections.size(), 2u);
	ASSERT_EQ(Reconnected.Connections[0].Messages.size(), 1u);
	ASSERT_EQ(Reconnected.Connections[1].Messages.size(), 3u);
	EXPECT_EQ(Reconnected.Connections[1].Messages[0].Payload, Int32s({1}));
	EXPECT_EQ(Reconnected.Connections[1].Messages[2].Tag, Tag::LPHA);

	// Without any "connected" event the whole trace is one connection, timed from the trace's start.
	const Trace Unconnected = Read(HostLine(0.5, Tag::QLTY, Int32s({3})));
	ASSERT_EQ(Unconnected.Connections.size(), 1u);
	EXPECT_FALSE(Unconnected.Connections[0].bHasConnectedEvent);
	EXPECT_EQ(Read("").Connections.size(), 0u);
}

TEST(Trace_test, CutGarbledAndUnplayableLinesAreCountedAndSkippedOthersIgnored)
{
	const Trace Result = Read(std::string(R"({"frame":1,"time":0.1,"event":"started","recorder":"host"}
{"frame":1,"time":0.1,"event":"connected","slot":0}
not json at all
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"VINT","payload":"0100000005000000"} trailing
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"VINT","payload":"0g"}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"VINT","payload":"012"}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"VIN","payload":""}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"VINTX","payload":""}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"\u0100ABC","payload":""}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":5,"payload":""}
{"frame":2,"time":0.2,"from":"nobody","slot":0,"tag":"QLTY","payload":"01000000"}
{"frame":2,"time":0.2,"from":"host","slot":0,"tag":"QLTY","quality":1}
{"frame":2,"time":0.2,"from":"host","slot":0,"malformed":true,"size":0,"payload":""}
{"frame":3,"time":0.3,"from":"plugin","via":"share","frameMarker":4,"slot":0,"tag":"VINT","payload":"0100000005000000"}
{"frame":3,"time":0.3,"event":"paused","novel":[1,{"a":null}]}
{"frame":3,"time":0.3,"extra":"unknown keys","from":"host","slot":0,"tag":"\u0001\u00e9\\\"","more":[[]],"payload":"AB"}
{"frame":4,"time":0.4,"from":"host","slot":0,"malformed":true,"size":2,"payload":"0102"}
{"frame":5,"time":0.5,"from":"host","slot":0,"tag":"VINT","id":1,"va)"));
	EXPECT_EQ(Result.Unreadable, 3u) << "the garbled line, the one with trailing text and the cut last line";
	EXPECT_EQ(Result.Malformed, 9u);
	EXPECT_EQ(Result.Skipped(), Result.Unreadable + Result.Malformed);
	// The cut last line has no line end: it is counted all the same.
	EXPECT_EQ(Read("{\"frame\":5,\"time\":0.5,\"from\":\"host\",\"slot\":0,\"ta").Unreadable, 1u);

	ASSERT_EQ(Result.Connections.size(), 1u);
	const auto& Messages = Result.Connections[0].Messages;
	ASSERT_EQ(Messages.size(), 2u);
	EXPECT_EQ(Messages[0].Tag, 0x01u | (0xE9u << 8) | (0x5Cu << 16) | (0x22u << 24)) << "escaped tag bytes, one each";
	EXPECT_EQ(Messages[0].Payload, Bytes{0xAB}) << "upper-case hexadecimal is read too";
	EXPECT_TRUE(Messages[1].bRaw);
	EXPECT_EQ(Messages[1].Payload, (Bytes{1, 2}));
}

TEST(Trace_test, RecorderFieldsWinOverDecodedFieldsOfTheSameName)
{
	// CLCK decodes to a "time" of its own (the cluster's), written after the line's.
	Bytes ClusterClock(8, 0);
	const Bytes Rest = Int32s({0x40490FDB, 1, 60}); // time pi, 1/60
	ClusterClock.insert(ClusterClock.end(), Rest.begin(), Rest.end());
	const std::string Line = HostLine(2.5, Tag::CLCK, ClusterClock);
	ASSERT_NE(Line.find("\"time\":3.14"), std::string::npos) << Line;
	const Trace Result = Read(ConnectedLine(2.0, 0) + Line);
	ASSERT_EQ(Result.Connections.size(), 1u);
	ASSERT_EQ(Result.Connections[0].Messages.size(), 1u);
	EXPECT_DOUBLE_EQ(Result.Connections[0].Messages[0].Time, 2.5);
	EXPECT_EQ(Result.Connections[0].Messages[0].Payload, ClusterClock);
}

TEST(Trace_test, LinesAreWrittenAsTheRecorderFormatAndReadBackToTheSameBytes)
{
	EXPECT_EQ(
	    FormatTraceMessage(123, 1.234567, ETraceDirection::FromHost, 0, Tag::VINT, Int32s({1, 5})),
	    R"({"frame":123,"time":1.234567,"from":"host","slot":0,"tag":"VINT","id":1,"value":5,"payload":"0100000005000000"})");
	EXPECT_EQ(FormatTraceEvent(10, 0.05, "started", R"(,"recorder":"host")"),
	          R"({"frame":10,"time":0.050000,"event":"started","recorder":"host"})");
	EXPECT_EQ(FormatTraceEvent(7, 12.5, "stopped"), R"({"frame":7,"time":12.500000,"event":"stopped"})");

	// Payloads the description shortens or escapes still travel whole in "payload".
	const std::string Text = "a \"quoted\" \\ line\n\x01 caf\xC3\xA9 \xFF";
	Bytes Named = Int32s({9});
	Named.insert(Named.end(), Text.begin(), Text.end());
	Bytes Long(300);
	for (std::size_t Index = 0; Index < Long.size(); ++Index)
	{
		Long[Index] = static_cast<std::uint8_t>(Index * 7);
	}
	std::vector<std::pair<std::uint32_t, Bytes>> Messages = {
	    {Tag::VSTR, Named},
	    {Tag::FLDS, Answer(Guid(0x42), 3, "Width")},
	    {Tag::AINT, Int32s({7, -1, 2})},
	    {Tag::VINT, Bytes{1, 2}}, // too short for its layout: described as malformed, still replayable
	    {UE4::MakeTag("ZZZZ"), Long},
	    {Tag::QLTY, Bytes{}},
	};
	// Every byte value in a tag, including those JSON must escape and those that are not UTF-8.
	for (std::uint32_t Byte = 0; Byte < 256; ++Byte)
	{
		Messages.emplace_back(Byte | (Byte << 8) | (static_cast<std::uint32_t>('A') << 16) | ((Byte ^ 0x80u) << 24), Bytes{1});
	}
	std::string TraceText = ConnectedLine(0, 3);
	for (const auto& [MessageTag, Payload] : Messages)
	{
		TraceText += FormatTraceMessage(4, 0.25, ETraceDirection::FromPlugin, 3, MessageTag, Payload) + "\n";
	}
	const Trace Result = Read(TraceText);
	EXPECT_EQ(Result.Skipped(), 0u);
	ASSERT_EQ(Result.Connections.size(), 1u);
	ASSERT_EQ(Result.Connections[0].Messages.size(), Messages.size());
	for (std::size_t Index = 0; Index < Messages.size(); ++Index)
	{
		const TraceMessage& Back = Result.Connections[0].Messages[Index];
		EXPECT_EQ(Back.Tag, Messages[Index].first) << "message " << Index;
		EXPECT_EQ(Back.Payload, Messages[Index].second) << "message " << Index;
		EXPECT_EQ(Back.From, ETraceDirection::FromPlugin);
		EXPECT_FALSE(Back.bRaw);
	}
}

TEST(Trace_test, WriterFlushesEveryLineAndEndsWithStopped)
{
	const std::filesystem::path Path = std::filesystem::temp_directory_path() /
	                                   ("korvat-trace-" + std::to_string(Korvat::Testing::CurrentProcessId()) + ".jsonl");
	auto ReadFile = [&] {
		std::ifstream In(Path, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(In), {});
	};
	struct FRemoveAtEnd
	{
		std::filesystem::path File;
		~FRemoveAtEnd()
		{
			std::error_code Error;
			std::filesystem::remove(File, Error);
		}
	} RemoveAtEnd{Path};
	{
		TraceWriter Writer;
		ASSERT_TRUE(Writer.Open(Path.string(), 0));
		UE4::GUID Connection;
		Connection.Data1 = 0x8A1B2C3D;
		Writer.Connected(3, 2, Connection);
		Writer.Message(4, ETraceDirection::FromHost, 2, Tag::QLTY, Int32s({3}));
		Writer.Malformed(5, ETraceDirection::FromPlugin, 2, Bytes{0xEE});
		Writer.Disconnected(6, 2);

		// Everything so far is in the file while it is still open, as a killed host would leave it.
		const Trace Open = Read(ReadFile());
		EXPECT_EQ(Open.Recorder, "host");
		EXPECT_FALSE(Open.bStopped);
		ASSERT_EQ(Open.Connections.size(), 1u);
		EXPECT_EQ(Open.Connections[0].ConnectionId, "{8A1B2C3D-0000-0000-0000-000000000000}");
		EXPECT_EQ(Open.Connections[0].Slot, 2u);
		ASSERT_EQ(Open.Connections[0].Messages.size(), 2u);
		EXPECT_EQ(Open.Connections[0].Messages[0].Payload, Int32s({3}));
		EXPECT_TRUE(Open.Connections[0].Messages[1].bRaw);
		Writer.Stop(7);
	}
	const std::string Text = ReadFile();
	EXPECT_EQ(Text.find('\r'), std::string::npos);
	EXPECT_EQ(Text.rfind("{\"frame\":0,\"time\":0.000000,\"event\":\"started\",\"recorder\":\"host\"}\n", 0), 0u) << Text;
	EXPECT_NE(Text.find(",\"from\":\"plugin\",\"slot\":2,\"malformed\":true,\"size\":1,\"payload\":\"ee\"}\n"), std::string::npos)
	    << Text;
	EXPECT_NE(Text.find("\"event\":\"disconnected\",\"slot\":2}\n{\"frame\":7,"), std::string::npos) << Text;
	EXPECT_TRUE(Read(Text).bStopped);
	EXPECT_FALSE(TraceWriter().Open((Path / "no" / "such" / "folder").string(), 0));
}

TEST(Trace_test, JsonLinesAreCheckedWholeAndAnyCutOfALineIsRefused)
{
	std::vector<JsonMember> Members;
	ASSERT_TRUE(ParseJsonObjectLine(
	    " {\"a\":\"x\\u00e9\\ud83d\\ude00\\/\\n\",\"b\":-1.5e+3,\"c\":[1,{\"d\":[true,false,null]}],\"e\":{},\"f\":null}\r",
	    Members));
	ASSERT_EQ(Members.size(), 5u);
	EXPECT_EQ(Members[0].Value, "x\xC3\xA9\xF0\x9F\x98\x80/\n");
	EXPECT_EQ(Members[0].Raw, "x\\u00e9\\ud83d\\ude00\\/\\n");
	EXPECT_EQ(Members[1].Kind, JsonMember::EKind::Number);
	EXPECT_EQ(Members[1].Value, "-1.5e+3");
	EXPECT_EQ(Members[2].Kind, JsonMember::EKind::Nested);
	EXPECT_EQ(Members[4].Kind, JsonMember::EKind::Literal);
	EXPECT_TRUE(ParseJsonObjectLine("{}", Members));
	EXPECT_TRUE(Members.empty());

	for (const char* Bad : {"", "[]", "{\"a\":01}", "{\"a\":-}", "{\"a\":1.}", "{\"a\":tru}", "{\"a\":\"\\ud83d\"}",
	                        "{\"a\":\"\\q\"}", "{\"a\":\"tab\there\"}", "{\"a\":1,}", "{\"a\" 1}", "{a:1}", "{\"a\":1}{}"})
	{
		EXPECT_FALSE(ParseJsonObjectLine(Bad, Members)) << Bad;
	}
	// Nesting deep enough to exhaust a recursive reader's stack is refused, not followed.
	EXPECT_FALSE(ParseJsonObjectLine("{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}", Members));

	const std::string Line = FormatTraceMessage(1, 1, ETraceDirection::FromPlugin, 0, Tag::FLDS, Answer(Guid(1), 2, "Na\"me"));
	ASSERT_TRUE(ParseJsonObjectLine(Line, Members));
	for (std::size_t Length = 0; Length < Line.size(); ++Length)
	{
		EXPECT_FALSE(ParseJsonObjectLine(Line.substr(0, Length), Members)) << Line.substr(0, Length);
	}
}

TEST(Trace_test, FieldListAnswersTakeTheLiveQuestionsGuidsMatchedByNodeInOrder)
{
	const Bytes Recorded1 = Guid(0x11);
	const Bytes Recorded2 = Guid(0x22);
	const Bytes Recorded3 = Guid(0x33);
	const Trace Recorded = Read(
	    ConnectedLine(10, 0) + PluginLine(10.1, Tag::FLDQ, Question(Recorded1, "Door")) +
	    PluginLine(10.2, Tag::FLDQ, Question(Recorded2, "Cam")) + PluginLine(10.3, Tag::FLDQ, Question(Recorded3, "Door")) +
	    HostLine(10.4, Tag::FLDS, Answer(Recorded3, 1, "Second")) + HostLine(10.5, Tag::FLDS, Answer(Recorded1, 1, "First")) +
	    HostLine(10.6, Tag::VINT, Int32s({1, 5})) + HostLine(10.7, Tag::FLDS, Answer(Guid(0x99), 1, "Stranger")) +
	    HostLine(10.8, Tag::FLDQ, Question(Guid(0x77), "Lamp")));
	ASSERT_EQ(Recorded.Connections.size(), 1u);
	ConnectionReplay Replay(Recorded.Connections[0]);
	EXPECT_EQ(Replay.MessageCount(), 5u);

	auto Take = [&](double Elapsed, bool bFast) {
		std::vector<TraceMessage> Out;
		while (std::optional<TraceMessage> Message = Replay.NextDue(Elapsed, bFast))
		{
			Out.push_back(*Message);
			Replay.Advance(true);
		}
		return Out;
	};

	// Recorded pacing: due at the recorded time since the recorded connection's event, answers held.
	EXPECT_TRUE(Take(0.39, false).empty());
	std::vector<TraceMessage> Sent = Take(0.6, false);
	ASSERT_EQ(Sent.size(), 1u);
	EXPECT_EQ(Sent[0].Tag, Tag::VINT);
	EXPECT_EQ(Replay.HeldNames(), (std::vector<std::string>{"Door", "Door"}));

	// The live plug-in asks with fresh GUIDs; its first Door question gets the first recorded Door's answer.
	const Bytes Live1 = Guid(0xA1);
	const Bytes Live2 = Guid(0xA2);
	Replay.NoteQuestion(Question(Guid(0xC0), "Cam"));
	Replay.NoteQuestion(Question(Live1, "Door"));
	Sent = Take(0.6, false);
	ASSERT_EQ(Sent.size(), 1u);
	EXPECT_EQ(Sent[0].Payload, Answer(Live1, 1, "First"));
	EXPECT_EQ(Replay.HeldNames(), (std::vector<std::string>{"Door"}));

	// Questions the host asked and answers to no recorded question go unchanged.
	Sent = Take(1.0, false);
	ASSERT_EQ(Sent.size(), 2u);
	EXPECT_EQ(Sent[0].Payload, Answer(Guid(0x99), 1, "Stranger"));
	EXPECT_EQ(Sent[1].Tag, Tag::FLDQ);
	EXPECT_EQ(Sent[1].Payload, Question(Guid(0x77), "Lamp"));
	EXPECT_TRUE(Replay.IsDrained());
	EXPECT_EQ(Replay.UnsentCount(), 1u);

	Replay.NoteQuestion(Question(Live2, "Door"));
	Sent = Take(1.0, false);
	ASSERT_EQ(Sent.size(), 1u);
	EXPECT_EQ(Sent[0].Payload, Answer(Live2, 1, "Second"));
	EXPECT_TRUE(Replay.HeldNames().empty());
	EXPECT_EQ(Replay.SentCount(), 5u);

	// Fast: everything at once, in order, but an answer still waits for its question.
	ConnectionReplay Fast(Recorded.Connections[0]);
	Fast.NoteQuestion(Question(Live1, "Door"));
	std::vector<std::uint32_t> Tags;
	while (std::optional<TraceMessage> Message = Fast.NextDue(0, true))
	{
		Tags.push_back(Message->Tag);
		Fast.Advance(true);
	}
	EXPECT_EQ(Tags, (std::vector<std::uint32_t>{Tag::FLDS, Tag::VINT, Tag::FLDS, Tag::FLDQ}));
	EXPECT_EQ(Fast.HeldNames(), (std::vector<std::string>{"Door"}));
}

/** Sends into a list, failing while Refuse is set. */
struct FFakeHost
{
	std::vector<std::pair<std::uint32_t, TraceMessage>> Sent;
	bool bRefuse = false;

	TraceReplay::SendFunction Function()
	{
		return [this](std::uint32_t Slot, const TraceMessage& Message, std::string& Error) {
			if (bRefuse)
			{
				Error = "pipe full";
				return false;
			}
			Sent.emplace_back(Slot, Message);
			return true;
		};
	}
};

std::vector<ReplayEvent::EKind> Kinds(const std::vector<ReplayEvent>& Events)
{
	std::vector<ReplayEvent::EKind> Out;
	for (const ReplayEvent& Event : Events)
	{
		Out.push_back(Event.Kind);
	}
	return Out;
}

TEST(Trace_test, ReplayPlaysTheKthRecordedConnectionToTheKthLiveOneAndReportsWhatWasLeft)
{
	using EKind = ReplayEvent::EKind;
	const Trace Recorded =
	    Read(ConnectedLine(1, 0) + HostLine(1, Tag::QLTY, Int32s({1})) + ConnectedLine(5, 0) +
	         PluginLine(5.1, Tag::FLDQ, Question(Guid(0x11), "Door")) + HostLine(5.2, Tag::FLDS, Answer(Guid(0x11), 1, "F")) +
	         HostLine(5.3, Tag::QLTY, Int32s({2})) + HostLine(9, Tag::QLTY, Int32s({3})) + ConnectedLine(20, 0) +
	         HostLine(20.5, Tag::QLTY, Int32s({4})));
	ASSERT_EQ(Recorded.Connections.size(), 3u);
	const auto T0 = Clock::time_point{} + std::chrono::hours(1);
	auto At = [&](double Seconds) {
		return T0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(Seconds));
	};

	// Starting at the second recorded connection, as for a host restarted mid-session.
	ReplayOptions Options;
	Options.FirstConnection = 1;
	Options.SendRetrySeconds = 1;
	TraceReplay Replay(Recorded, Options);
	FFakeHost Host;
	Replay.Step(At(0), Host.Function());
	EXPECT_TRUE(Host.Sent.empty());
	EXPECT_FALSE(Replay.IsFinished()) << "a recorded connection waits for its live one";

	// A question asked before the connection was established still counts for it.
	Replay.OnRequested(4);
	Replay.OnReceived(4, Tag::FLDQ, Question(Guid(0xA1), "Door"));
	Replay.OnConnected(4, At(10));
	Replay.Step(At(10.35), Host.Function());
	ASSERT_EQ(Host.Sent.size(), 2u);
	EXPECT_EQ(Host.Sent[0].first, 4u);
	EXPECT_EQ(Host.Sent[0].second.Payload, Answer(Guid(0xA1), 1, "F"));
	EXPECT_EQ(Host.Sent[1].second.Payload, Int32s({2}));

	// A refused message is tried again on later steps, then given up on; the connection ending cuts the rest.
	Host.bRefuse = true;
	Replay.Step(At(14.5), Host.Function());
	Replay.Step(At(15.6), Host.Function());
	Host.bRefuse = false;
	Replay.OnDisconnected(4);
	std::vector<ReplayEvent> Events = Replay.TakeEvents();
	EXPECT_EQ(Kinds(Events), (std::vector<EKind>{EKind::ConnectionStarted, EKind::SendFailed, EKind::ConnectionPlayed}));
	EXPECT_EQ(Events[0].Connection, 2u);
	EXPECT_EQ(Events[1].Text, "pipe full");
	EXPECT_EQ(Events[2].Count, 2u);
	EXPECT_EQ(Events[2].Unsent, 1u);

	// The third recorded connection goes to the next live one; its plug-in leaves before the message is due.
	Replay.OnConnected(2, At(30));
	Replay.Step(At(30.1), Host.Function());
	Replay.OnDisconnected(2);
	Events = Replay.TakeEvents();
	EXPECT_EQ(Kinds(Events), (std::vector<EKind>{EKind::ConnectionStarted, EKind::ConnectionEnded, EKind::Finished}));
	EXPECT_EQ(Events[1].Unsent, 1u);
	EXPECT_EQ(Events[2].Count, 2u) << "messages sent";
	EXPECT_EQ(Events[2].Connection, 2u) << "connections played";
	EXPECT_TRUE(Replay.IsFinished());
	EXPECT_EQ(Host.Sent.size(), 2u);

	// An answer whose question never comes is reported once the rest is sent and the wait is over.
	const Trace Unasked = Read(ConnectedLine(0, 0) + PluginLine(0, Tag::FLDQ, Question(Guid(0x11), "Door")) +
	                           HostLine(0.1, Tag::FLDS, Answer(Guid(0x11), 1, "F")));
	TraceReplay Waiting(Unasked, ReplayOptions{.bFast = true, .AnswerWaitSeconds = 2});
	Waiting.OnConnected(0, At(0));
	Waiting.Step(At(1), Host.Function());
	EXPECT_FALSE(Waiting.IsFinished());
	Waiting.Step(At(3.5), Host.Function());
	Events = Waiting.TakeEvents();
	EXPECT_EQ(Kinds(Events),
	          (std::vector<EKind>{EKind::ConnectionStarted, EKind::Unanswered, EKind::ConnectionPlayed, EKind::Finished}));
	EXPECT_EQ(Events[1].Text, "Door");
	EXPECT_EQ(Events[3].Count, 0u);

	// A host stopping mid-replay reports how far the replay got.
	TraceReplay Stopped(Recorded, ReplayOptions{.bFast = true});
	Stopped.OnConnected(0, At(0));
	Stopped.Step(At(0.5), Host.Function());
	Stopped.Abandon();
	Events = Stopped.TakeEvents();
	EXPECT_EQ(Kinds(Events), (std::vector<EKind>{EKind::ConnectionStarted, EKind::ConnectionPlayed, EKind::Unfinished}));
	EXPECT_EQ(Events[2].Count, 1u);
	EXPECT_EQ(Events[2].Unsent, 2u) << "recorded connections not played";

	TraceReplay Empty(Read(""), ReplayOptions{});
	Empty.Step(At(0), Host.Function());
	EXPECT_TRUE(Empty.IsFinished());
}

class NodeStub : public IKorvatNodeFieldSync
{
public:
	void UpdateNodeFields(const std::vector<UE4::FieldDescriptor>& InFields) override { Fields = InFields; }
	std::vector<UE4::FieldDescriptor> Fields;
};

TEST(Trace_test, ReplayedTraceReachesALiveLinkAndAnswersItsFreshFieldListQuestion)
{
	Korvat::Testing::PrivateIpcRoot Root{"trace-replay"};
	Korvat::Testing::Watchdog Guard{std::chrono::seconds(60), "Trace_test"};

	const Bytes Recorded = Guid(0x5A);
	const Trace Recorded1 =
	    Read(ConnectedLine(3, 0) + PluginLine(3.01, Tag::FLDQ, Question(Recorded, "Door")) +
	         HostLine(3.02, Tag::FLDS, Answer(Recorded, 2, "Width")) + HostLine(3.03, Tag::VINT, Int32s({1, 5})) +
	         HostLine(3.04, Tag::FLDQ, Question(Guid(0x77), "Lamp")));
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	TraceReplay Replay(Recorded1, ReplayOptions{.bFast = true});
	UE4::HostLink Link;
	Link.SetEngineVersion(5, 5, 3);
	UE4::GUID LaunchId;
	ASSERT_TRUE(UE4::Platform::CreateGuid(LaunchId));
	NodeStub Node;
	bool bAsked = false;
	UE4::FieldListRequestMap HostQuestions;
	std::string SendError;

	const auto Deadline = Clock::now() + std::chrono::seconds(20);
	while (!(Replay.IsFinished() && !Node.Fields.empty()) && Clock::now() < Deadline)
	{
		(void)Link.Connect(LaunchId, true);
		for (const SlotNotice& Notice : Host.Poll())
		{
			if (Notice.Kind == SlotNotice::EKind::Connected)
			{
				Replay.OnConnected(Notice.Slot, Clock::now());
			}
		}
		for (const ReceivedMessage& Message : Host.TakeReceived())
		{
			Replay.OnReceived(Message.Slot, Message.Tag, Message.Payload);
		}
		if (Link.IsConnected() && !bAsked)
		{
			ASSERT_EQ(Link.RequestFieldList("Door", &Node), UE4::LinkResult::Ok);
			bAsked = true;
		}
		Replay.Step(Clock::now(), [&](std::uint32_t Slot, const TraceMessage& Message, std::string& Error) {
			const bool bSent = Host.Send(Slot, Message.Tag, Message.Payload);
			Error = bSent ? "" : Host.LastError();
			SendError = Error;
			return bSent;
		});
		(void)Link.ReadMessages([](IKorvatNodeFieldSync* Requester,
		                           const std::vector<UE4::FieldDescriptor>& Fields) { Requester->UpdateNodeFields(Fields); },
		                        HostQuestions, {}, {});
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
	EXPECT_TRUE(Replay.IsFinished()) << SendError;
	EXPECT_EQ(Node.Fields, (std::vector<UE4::FieldDescriptor>{{2, true, "Width"}}));
	EXPECT_EQ(Link.Inbound.IntValues[1], 5);
	ASSERT_EQ(HostQuestions.size(), 1u);
	EXPECT_EQ(HostQuestions.begin()->second, "Lamp");
	const std::vector<ReplayEvent> Events = Replay.TakeEvents();
	ASSERT_FALSE(Events.empty());
	EXPECT_EQ(Events.back().Kind, ReplayEvent::EKind::Finished);
	EXPECT_EQ(Events.back().Count, 3u);
	Host.Stop();
}

} // namespace
