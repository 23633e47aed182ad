// korvat-host: plays the Korvat host against Unreal processes on this machine. Prints every slot change and
// every message the plug-in sends, and runs commands from a script file or standard input, or plays a recorded
// trace's host messages again; it can record its own traffic as a trace.
#include "HostScript.h"
#include "HostSimulator.h"
#include "Messages.h"
#include "ShareChannel.h"
#include "Trace.h"
#include "ValueNames.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

namespace
{

using namespace Korvat::Host;
using Clock = std::chrono::steady_clock;

constexpr auto PollInterval = std::chrono::milliseconds(2);

const char* UsageText = R"(Usage: korvat-host [--json] [--script FILE] [--no-accept] [--omit OBJECT]... [--frames N] [--stay]
                   [--watch-shares] [--names NAME[,NAME]...]... [--record FILE]
                   [--replay FILE [--fast] [--replay-connection N]]

Plays the Korvat host: creates the shared slot table and the machine-wide mutex, accepts the plug-ins that
claim a slot, prints every slot change and every message they send, and runs commands from FILE or from
standard input, or plays a recorded trace (--replay). It stops after `quit` or at the end of the commands or
the trace (see --frames and --stay).

  --json          print one JSON object per line ("slot", "tag" and the decoded fields; "event" for slot changes)
  --script FILE   read commands from FILE instead of standard input
  --no-accept     leave requested slots waiting for an `accept` command
  --omit OBJECT   accept without one host object: monitor, data-event, pipe or sync-event (repeatable)
  --frames N      run N polling frames (2 ms each) and stop, whatever the commands do
  --stay          keep running after the end of the commands, until `quit` or the process is ended
  --watch-shares  print every frame of texture-share parameters the plug-in publishes (read from the
                  stand-in engine's share channel: $KORVAT_TEXTURESHARE_DIR or <temp>/korvat-textureshare)
  --names LIST    names of value ids, separated by commas (door.width,door.open,cam), so that the ids the
                  plug-in sends under them and their "_synced" echoes print by name, with the id after
                  (repeatable; see also the name command). Ids of names used in commands print so too.
  --record FILE   write a trace to FILE: every message sent and received, connections and disconnections,
                  one JSON object per line, each line flushed ("recorder":"host")
  --replay FILE   instead of commands, send the "from":"host" messages of the trace in FILE: the k-th
                  recorded connection (split at its "connected" events) to the k-th plug-in connection, each
                  message when the time since the connection was established reaches its recorded time since
                  the recorded connection's; a recorded FLDS answering a recorded FLD? of the plug-in is sent
                  with the GUID of the live plug-in's question for the same node (the n-th for the n-th), once
                  that has been asked. Prints "replay finished: M messages in C connections" at the end.
  --fast          with --replay, send each connection's messages as soon as it is established, in order
  --replay-connection N
                  with --replay, start at the N-th recorded connection (1 is the first)
  --help          print this text

Exit status: 0, 1 when the host cannot start (for example another host is running) or a file given cannot
be read or written, 2 when a command failed or a replayed message could not be sent.

)";

struct FOptions
{
	bool bJson = false;
	std::string ScriptPath;
	bool bAutoAccept = true;
	HostObjectSet Objects;
	long long Frames = -1;
	bool bStay = false;
	bool bWatchShares = false;
	std::vector<std::string> Names;
	std::string RecordPath;
	std::string ReplayPath;
	bool bFast = false;
	/** 1-based, as given; 0 when not given. */
	std::size_t ReplayConnection = 0;
};

void PrintLine(const std::string& Line)
{
	std::fwrite(Line.data(), 1, Line.size(), stdout);
	std::fputc('\n', stdout);
	std::fflush(stdout);
}

void PrintError(const std::string& Line)
{
	std::fprintf(stderr, "korvat-host: %s\n", Line.c_str());
	std::fflush(stderr);
}

/** Lines from a script file, or from standard input read on a thread of its own so the host never waits for them. */
class FLineSource
{
public:
	bool OpenFile(const std::string& Path)
	{
		std::ifstream File(Path, std::ios::binary);
		if (!File)
		{
			return false;
		}
		for (std::string Line; std::getline(File, Line);)
		{
			Lines.push_back(std::move(Line));
		}
		bEnded = true;
		return true;
	}

	void StartStandardInput()
	{
		std::thread([this] {
			for (std::string Line; std::getline(std::cin, Line);)
			{
				std::lock_guard Lock(Mutex);
				Lines.push_back(std::move(Line));
			}
			std::lock_guard Lock(Mutex);
			bEnded = true;
		}).detach(); // Left blocked in its read at exit: ending the process ends it.
	}

	/** The next line if one is ready; nothing otherwise (then Ended tells whether more can come). */
	std::optional<std::string> Next()
	{
		std::lock_guard Lock(Mutex);
		if (Lines.empty())
		{
			return std::nullopt;
		}
		std::string Line = std::move(Lines.front());
		Lines.pop_front();
		return Line;
	}

	bool Ended()
	{
		std::lock_guard Lock(Mutex);
		return bEnded && Lines.empty();
	}

private:
	std::mutex Mutex;
	std::deque<std::string> Lines;
	bool bEnded = false;
};

class FHostTool
{
public:
	/** With Replayed, the tool plays that trace instead of running commands. */
	explicit FHostTool(const FOptions& InOptions, const Trace* InReplayed = nullptr)
	    : Options(InOptions), Simulator(HostSimulatorOptions{.bAutoAccept = InOptions.bAutoAccept, .Objects = InOptions.Objects}),
	      Replayed(InReplayed)
	{
		for (const std::string& Name : Options.Names)
		{
			IdNames.Add(Name);
		}
		if (Replayed)
		{
			Replay.emplace(*Replayed, ReplayOptions{.bFast = Options.bFast,
			                                        .FirstConnection = std::max<std::size_t>(Options.ReplayConnection, 1) - 1});
		}
	}

	int Run(FLineSource& Source)
	{
		if (!Simulator.Start())
		{
			PrintError("cannot start the host: " + Simulator.LastError());
			return 1;
		}
		if (!Options.RecordPath.empty() && !Recorder.Open(Options.RecordPath, PollFrame))
		{
			PrintError("cannot write the trace '" + Options.RecordPath + "'");
			Simulator.Stop();
			return 1;
		}
		PrintLine(Options.bJson ? "{\"event\":\"started\"}" : "host started");
		if (Replayed)
		{
			PrintReplayLoaded();
		}
		if (Options.bWatchShares)
		{
			WatchShares(); // what is already there only sets the baseline
		}

		bool bQuit = false;
		while (!bQuit)
		{
			Observe();
			if (Replay)
			{
				PrintReplayEvents(); // a connection's start before what is sent to it
				Replay->Step(Clock::now(), [this](std::uint32_t Slot, const TraceMessage& Message, std::string& Error) {
					return SendReplayed(Slot, Message, Error);
				});
				PrintReplayEvents();
				// The end of the trace counts as the end of a script.
				bQuit = Replay->IsFinished() && Options.Frames < 0 && !Options.bStay;
			}
			else
			{
				CheckWait();
			}
			while (!Replay && !Wait && !bQuit && Clock::now() >= SleepUntil)
			{
				std::optional<std::string> Line = Source.Next();
				if (!Line)
				{
					bQuit = Source.Ended() && Options.Frames < 0 && !Options.bStay;
					break;
				}
				++LineNumber;
				bQuit = Execute(*Line);
			}
			++PollFrame;
			if (Options.Frames >= 0 && PollFrame >= static_cast<std::uint64_t>(Options.Frames))
			{
				break;
			}
			std::this_thread::sleep_for(PollInterval);
		}
		// Gather what arrived before leaving, so a transcript ends with everything the plug-in sent.
		Observe();
		PrintAllRepeats();
		if (Replay)
		{
			Replay->Abandon();
			PrintReplayEvents();
		}
		Simulator.Stop();
		if (Recorder.IsOpen())
		{
			for (const std::uint32_t Slot : std::set<std::uint32_t>(RecordedConnections))
			{
				RecordEnded(Slot);
			}
			Recorder.Stop(PollFrame);
		}
		PrintLine(Options.bJson ? "{\"event\":\"stopped\"}" : "host stopped");
		return bFailed ? 2 : 0;
	}

private:
	struct FWait
	{
		ECommandKind Kind = ECommandKind::WaitConnected;
		bool bAnySlot = true;
		std::uint32_t Slot = 0;
		std::uint32_t Tag = 0;
		Clock::time_point Deadline;
		unsigned Line = 0;
	};

	void Notice(std::uint32_t Slot, const char* Event, const std::string& Detail = {}, const std::string& JsonDetail = {})
	{
		PrintRepeats(Slot);
		LastReceived[Slot].Text.clear();
		if (Options.bJson)
		{
			PrintLine("{\"slot\":" + std::to_string(Slot) + ",\"event\":\"" + Event + "\"" + JsonDetail + "}");
		}
		else
		{
			PrintLine("slot " + std::to_string(Slot) + ": " + Event + (Detail.empty() ? "" : " " + Detail));
		}
	}

	/**
	 * Prints the share objects' parameters of every frame delivered since the last look. What the folder held
	 * when the host started is not news: a file left by an engine that has gone (a crash, or a file the engine
	 * could not remove while this tool had it open) would otherwise read as a delivery of the new session.
	 */
	void WatchShares()
	{
		const std::filesystem::path Directory = ShareChannelDirectory();
		std::vector<std::string> Names;
		if (!ListShareObjects(Directory, Names))
		{
			return;
		}
		const bool bBaseline = !bShareBaselineTaken;
		bShareBaselineTaken = true;
		for (const std::string& Name : Names)
		{
			ShareChannelFrame Frame;
			if (ReadShareObject(Directory, Name, Frame) != ShareChannelResult::Ok)
			{
				continue;
			}
			// A rewrite changes the file's time even when a restarted share object counts the same frame again.
			std::error_code Error;
			const std::filesystem::file_time_type Written =
				std::filesystem::last_write_time(Directory / (Name + std::string(ShareChannelFileSuffix)), Error);
			const FSeenShareFrame Current{Frame.Frame, Error ? std::filesystem::file_time_type() : Written};
			auto [Seen, bNew] = SeenShareFrames.try_emplace(Name, Current);
			if (bBaseline || (!bNew && Seen->second == Current))
			{
				continue;
			}
			Seen->second = Current;
			for (const auto& [Key, Value] : Frame.Parameters)
			{
				PrintShareParameter(Name, Frame.Frame, Key, Value);
			}
		}
	}

	void PrintShareParameter(const std::string& Name, std::uint32_t Frame, const std::string& Key, const std::string& Value)
	{
		PrintLine(DescribeShareParameter(Name, Frame, Key, Value, &IdNames, Options.bJson));
	}

	void Observe()
	{
		if (Options.bWatchShares && ++ObserveCount % 10 == 0)
		{
			WatchShares();
		}
		// A departed plug-in's last messages come with its notice: the trace and the replay see them first.
		std::vector<std::uint32_t> Gone;
		for (const SlotNotice& Change : Simulator.Poll())
		{
			switch (Change.Kind)
			{
			case SlotNotice::EKind::Requested: {
				RecordEnded(Change.Slot); // claimed again without the host seeing it go
				if (Replay)
				{
					Replay->OnRequested(Change.Slot);
				}
				const SlotSnapshot Slot = Simulator.ReadSlot(Change.Slot);
				const std::string Connection = GuidText(Slot.ConnectionId);
				const std::string Launch = GuidText(Slot.LaunchId);
				Notice(Change.Slot, "requested",
				       "connection " + Connection + " launch " + Launch + (Slot.LaunchIdGenerated ? " (generated)" : ""),
				       ",\"connection\":\"" + Connection + "\",\"launch\":\"" + Launch +
				           "\",\"generated\":" + std::to_string(Slot.LaunchIdGenerated));
				break;
			}
			case SlotNotice::EKind::Accepted:
				Notice(Change.Slot, "accepted");
				break;
			case SlotNotice::EKind::Connected:
				Notice(Change.Slot, "connected");
				RecordConnected(Change.Slot);
				if (Replay)
				{
					Replay->OnConnected(Change.Slot, Clock::now());
				}
				break;
			case SlotNotice::EKind::ClientGone:
				Notice(Change.Slot, "client gone");
				Gone.push_back(Change.Slot);
				break;
			case SlotNotice::EKind::AcceptFailed:
				Notice(Change.Slot, "refused", "(" + Simulator.LastError() + ")",
				       ",\"reason\":\"" + JsonEscape(Simulator.LastError()) + "\"");
				break;
			}
		}
		for (const ReceivedMessage& Message : Simulator.TakeReceived())
		{
			const std::string Slot = std::to_string(Message.Slot);
			if (Message.bMalformed)
			{
				if (Recorder.IsOpen())
				{
					Recorder.Malformed(PollFrame, ETraceDirection::FromPlugin, Message.Slot, Message.Payload);
				}
				std::string Hex;
				for (std::uint8_t Byte : Message.Payload)
				{
					char Buffer[4];
					std::snprintf(Buffer, sizeof(Buffer), "%02x", Byte);
					Hex += Buffer;
				}
				PrintLine(Options.bJson ? "{\"slot\":" + Slot + ",\"malformed\":true,\"size\":" +
				                              std::to_string(Message.Payload.size()) + ",\"bytes\":\"" + Hex + "\"}"
				                        : "slot " + Slot + " received: malformed: " + std::to_string(Message.Payload.size()) +
				                              " bytes " + Hex);
				continue;
			}
			++ReceivedByTag[Message.Tag];
			if (Recorder.IsOpen())
			{
				Recorder.Message(PollFrame, ETraceDirection::FromPlugin, Message.Slot, Message.Tag, Message.Payload);
			}
			if (Replay)
			{
				Replay->OnReceived(Message.Slot, Message.Tag, Message.Payload);
			}
			if (Message.Tag == Korvat::UE4::Tag::FLDQ && Message.Payload.size() >= sizeof(Korvat::UE4::GUID))
			{
				LastQuestions[Message.Slot].assign(Message.Payload.begin(), Message.Payload.begin() + sizeof(Korvat::UE4::GUID));
			}
			if (Options.bJson)
			{
				PrintLine("{\"slot\":" + Slot + "," + DescribeMessageJson(Message.Tag, Message.Payload, &IdNames).substr(1));
				continue;
			}
			// A plug-in repeats some messages every frame (VIEW, VERR): the readable output prints one and counts
			// the repeats, printed when something else arrives from that slot or the host stops.
			const std::string Text = DescribeMessage(Message.Tag, Message.Payload, &IdNames);
			FRepeats& Last = LastReceived[Message.Slot];
			if (Last.Text == Text)
			{
				++Last.Count;
				continue;
			}
			PrintRepeats(Message.Slot);
			Last.Text = Text;
			PrintLine("slot " + Slot + " received: " + Text);
		}
		for (const std::uint32_t Slot : Gone)
		{
			RecordEnded(Slot);
			if (Replay)
			{
				Replay->OnDisconnected(Slot);
			}
		}
	}

	/** Writes the start of a connection once: at its notice, or when the host sends to it before the notice. */
	void RecordConnected(std::uint32_t Slot)
	{
		if (Recorder.IsOpen() && RecordedConnections.insert(Slot).second)
		{
			Recorder.Connected(PollFrame, Slot, Simulator.ReadSlot(Slot).ConnectionId);
		}
	}

	/** Writes the end of a connection the trace recorded as connected. */
	void RecordEnded(std::uint32_t Slot)
	{
		if (RecordedConnections.erase(Slot) != 0)
		{
			Recorder.Disconnected(PollFrame, Slot);
		}
	}

	/** A message the host sent, in the trace: Bytes is the payload, or with bRaw the whole message. */
	void RecordSent(std::uint32_t Slot, bool bRaw, std::uint32_t Tag, std::span<const std::uint8_t> Bytes)
	{
		if (!Recorder.IsOpen())
		{
			return;
		}
		// `wait connected` ends on the slot's state, which can come a poll before the notice.
		if (IsConnected(Slot))
		{
			RecordConnected(Slot);
		}
		if (!bRaw)
		{
			Recorder.Message(PollFrame, ETraceDirection::FromHost, Slot, Tag, Bytes);
		}
		else if (Bytes.size() < 4)
		{
			Recorder.Malformed(PollFrame, ETraceDirection::FromHost, Slot, Bytes);
		}
		else
		{
			// The plug-in reads the first four bytes as the tag.
			std::uint32_t RawTag = 0;
			std::memcpy(&RawTag, Bytes.data(), 4);
			Recorder.Message(PollFrame, ETraceDirection::FromHost, Slot, RawTag, Bytes.subspan(4));
		}
	}

	void PrintSent(std::uint32_t Slot, bool bRaw, std::uint32_t Tag, std::span<const std::uint8_t> Bytes)
	{
		std::string Json;
		std::string Text;
		if (bRaw)
		{
			Json = "{\"raw\":" + std::to_string(Bytes.size()) + "}";
			Text = "raw message of " + std::to_string(Bytes.size()) + " bytes";
		}
		else
		{
			Json = DescribeMessageJson(Tag, Bytes, &IdNames);
			Text = DescribeMessage(Tag, Bytes, &IdNames);
		}
		PrintLine(Options.bJson ? "{\"slot\":" + std::to_string(Slot) + ",\"event\":\"sent\",\"message\":" + Json + "}"
		                        : "slot " + std::to_string(Slot) + " sent: " + Text);
	}

	bool SendReplayed(std::uint32_t Slot, const TraceMessage& Message, std::string& Error)
	{
		const bool bSent =
		    Message.bRaw ? Simulator.SendRaw(Slot, Message.Payload) : Simulator.Send(Slot, Message.Tag, Message.Payload);
		if (!bSent)
		{
			Error = Simulator.LastError();
			return false;
		}
		RecordSent(Slot, Message.bRaw, Message.Tag, Message.Payload);
		PrintSent(Slot, Message.bRaw, Message.Tag, Message.Payload);
		return true;
	}

	void PrintReplayLoaded()
	{
		const Trace& Loaded = *Replayed;
		const std::size_t First = std::max<std::size_t>(Options.ReplayConnection, 1);
		if (Options.bJson)
		{
			PrintLine("{\"event\":\"replay-loaded\",\"file\":\"" + JsonEscape(Options.ReplayPath) + "\",\"connections\":" +
			          std::to_string(Loaded.Connections.size()) + ",\"messages\":" + std::to_string(Loaded.HostMessageCount()) +
			          ",\"skipped\":" + std::to_string(Loaded.Skipped()) + ",\"unreadable\":" +
			          std::to_string(Loaded.Unreadable) + ",\"malformed\":" + std::to_string(Loaded.Malformed) +
			          ",\"stopped\":" + (Loaded.bStopped ? "true" : "false") + ",\"first\":" + std::to_string(First) + "}");
			return;
		}
		std::string Line = "replay " + Options.ReplayPath + ": " + std::to_string(Loaded.Connections.size()) + " connections, " +
		                   std::to_string(Loaded.HostMessageCount()) + " host messages";
		if (Loaded.Skipped() > 0)
		{
			Line += ", " + std::to_string(Loaded.Skipped()) + " lines skipped (" + std::to_string(Loaded.Unreadable) +
			        " unreadable, " + std::to_string(Loaded.Malformed) + " malformed messages)";
		}
		if (!Loaded.bStopped)
		{
			Line += "; no \"stopped\" line: the recording was cut short";
		}
		if (First > 1)
		{
			Line += "; starting at connection " + std::to_string(First);
		}
		PrintLine(Line);
	}

	void PrintReplayEvents()
	{
		for (const ReplayEvent& Event : Replay->TakeEvents())
		{
			const std::string Connection = std::to_string(Event.Connection);
			const std::string Slot = std::to_string(Event.Slot);
			const std::string Count = std::to_string(Event.Count);
			const std::string Unsent = std::to_string(Event.Unsent);
			const std::string Where = ",\"connection\":" + Connection + ",\"slot\":" + Slot;
			switch (Event.Kind)
			{
			case ReplayEvent::EKind::ConnectionStarted:
				PrintLine(Options.bJson ? "{\"event\":\"replay-connection\"" + Where + ",\"messages\":" + Count + "}"
				                        : "replay: connection " + Connection + " (" + Count + " messages) to slot " + Slot);
				break;
			case ReplayEvent::EKind::ConnectionPlayed:
				PrintLine(Options.bJson ? "{\"event\":\"replay-connection-played\"" + Where + ",\"sent\":" + Count +
				                              ",\"unsent\":" + Unsent + "}"
				                        : "replay: connection " + Connection + " played: " + Count + " messages sent" +
				                              (Event.Unsent ? ", " + Unsent + " not" : ""));
				break;
			case ReplayEvent::EKind::ConnectionEnded:
				PrintLine(Options.bJson ? "{\"event\":\"replay-connection-ended\"" + Where + ",\"sent\":" + Count +
				                              ",\"unsent\":" + Unsent + "}"
				                        : "replay: connection " + Connection + " ended after " + Count + " messages sent, " +
				                              Unsent + " not sent");
				break;
			case ReplayEvent::EKind::Unanswered:
				PrintLine(Options.bJson
				              ? "{\"event\":\"replay-unanswered\"" + Where + ",\"name\":\"" + JsonEscape(Event.Text) + "\"}"
				              : "replay: connection " + Connection + ": the FLDS answer for \"" + Event.Text +
				                    "\" never found its question (FLD?)");
				break;
			case ReplayEvent::EKind::SendFailed:
				bFailed = true;
				PrintError("replay: connection " + Connection + ": gave up sending " + TagText(Event.Tag) + " to slot " + Slot +
				           ": " + Event.Text);
				break;
			case ReplayEvent::EKind::Finished:
				PrintLine(Options.bJson
				              ? "{\"event\":\"replay-finished\",\"messages\":" + Count + ",\"connections\":" + Connection + "}"
				              : "replay finished: " + Count + " messages in " + Connection + " connections");
				break;
			case ReplayEvent::EKind::Unfinished:
				PrintLine(Options.bJson ? "{\"event\":\"replay-unfinished\",\"messages\":" + Count +
				                              ",\"connections\":" + Connection + ",\"notPlayed\":" + Unsent + "}"
				                        : "replay unfinished: " + Count + " messages in " + Connection + " connections, " +
				                              Unsent + " recorded connections not played");
				break;
			}
		}
	}

	void PrintRepeats(std::uint32_t Slot)
	{
		FRepeats& Last = LastReceived[Slot];
		if (Last.Count > 0)
		{
			PrintLine("slot " + std::to_string(Slot) + " received: the same " + std::to_string(Last.Count) + " more time" +
			          (Last.Count == 1 ? "" : "s"));
			Last.Count = 0;
		}
	}

	void PrintAllRepeats()
	{
		for (auto& [Slot, Last] : LastReceived)
		{
			PrintRepeats(Slot);
			Last.Text.clear();
		}
	}

	bool IsConnected(std::uint32_t Slot) const { return Simulator.HasConnection(Slot) && Simulator.ReadSlot(Slot).State == 3; }

	std::optional<std::uint32_t> FirstConnected() const
	{
		for (std::uint32_t Slot = 0; Slot < Korvat::UE4::SlotCount; ++Slot)
		{
			if (IsConnected(Slot))
			{
				return Slot;
			}
		}
		return std::nullopt;
	}

	void Fail(unsigned Line, const std::string& What)
	{
		bFailed = true;
		PrintError("line " + std::to_string(Line) + ": " + What);
	}

	void CheckWait()
	{
		if (!Wait)
		{
			return;
		}
		bool bDone = false;
		if (Wait->Kind == ECommandKind::WaitConnected)
		{
			bDone = Wait->bAnySlot ? FirstConnected().has_value() : IsConnected(Wait->Slot);
		}
		else if (ReceivedByTag[Wait->Tag] > ConsumedByTag[Wait->Tag])
		{
			++ConsumedByTag[Wait->Tag];
			bDone = true;
		}
		if (bDone)
		{
			Wait.reset();
		}
		else if (Clock::now() >= Wait->Deadline)
		{
			Fail(Wait->Line, Wait->Kind == ECommandKind::WaitConnected
			                     ? "timed out waiting for a connection"
			                     : "timed out waiting for a " + TagText(Wait->Tag) + " message");
			Wait.reset();
		}
	}

	/** Runs one line; true when the tool should stop. */
	bool Execute(const std::string& Line)
	{
		ScriptCommand Command;
		std::string Error;
		switch (ParseScriptLine(Line, Command, Error))
		{
		case EParseResult::Nothing:
			return false;
		case EParseResult::Error:
			Fail(LineNumber, Error);
			return false;
		case EParseResult::Command:
			break;
		}
		for (const std::string& Name : Command.Names)
		{
			IdNames.Add(Name);
		}

		std::uint32_t Slot = Command.Slot.Index;
		const bool bNeedsSlot = Command.Kind == ECommandKind::Send || Command.Kind == ECommandKind::Drop ||
		                        Command.Kind == ECommandKind::Free || Command.Kind == ECommandKind::Accept;
		if (bNeedsSlot && Command.Slot.bFirstConnected)
		{
			const std::optional<std::uint32_t> Connected = FirstConnected();
			if (!Connected)
			{
				Fail(LineNumber, "no slot is connected (for *)");
				return false;
			}
			Slot = *Connected;
		}

		switch (Command.Kind)
		{
		case ECommandKind::Slots:
			PrintSlots();
			break;
		case ECommandKind::Accept:
			if (Simulator.Accept(Slot, Command.Objects))
			{
				Notice(Slot, "accepted");
			}
			else
			{
				Fail(LineNumber, "accept: " + Simulator.LastError());
			}
			break;
		case ECommandKind::Drop:
			Simulator.Drop(Slot);
			Notice(Slot, "dropped");
			RecordEnded(Slot);
			break;
		case ECommandKind::Free:
			Simulator.Free(Slot);
			Notice(Slot, "freed");
			RecordEnded(Slot);
			break;
		case ECommandKind::SetState:
			Simulator.WriteSlotState(Slot, Command.State);
			Notice(Slot, "state set", std::to_string(Command.State), ",\"state\":" + std::to_string(Command.State));
			break;
		case ECommandKind::WaitConnected:
		case ECommandKind::WaitMessage:
			Wait = FWait{
			    Command.Kind, Command.bAnySlot, Slot, Command.Tag, Clock::now() + std::chrono::milliseconds(Command.TimeoutMs),
			    LineNumber};
			CheckWait();
			break;
		case ECommandKind::Sleep:
			SleepUntil = Clock::now() + std::chrono::milliseconds(Command.SleepMs);
			break;
		case ECommandKind::Send:
			SendMessage(Slot, Command);
			break;
		case ECommandKind::HoldTable:
			Simulator.HoldTable();
			break;
		case ECommandKind::ReleaseTable:
			Simulator.ReleaseTable();
			break;
		case ECommandKind::Name:
			PrintNames(Command.Names);
			break;
		case ECommandKind::Quit:
			return true;
		case ECommandKind::Die:
			std::fflush(stdout);
			std::_Exit(3);
		}
		return false;
	}

	void SendMessage(std::uint32_t Slot, const ScriptCommand& Command)
	{
		if (Command.bAnswersLastQuestion)
		{
			const auto Question = LastQuestions.find(Slot);
			if (Question == LastQuestions.end())
			{
				Fail(LineNumber, "send FLDS last: the plug-in on slot " + std::to_string(Slot) + " has asked no field-list question");
				return;
			}
			ScriptCommand Answer = Command;
			std::copy(Question->second.begin(), Question->second.end(), Answer.Payload.begin());
			Answer.bAnswersLastQuestion = false;
			SendMessage(Slot, Answer);
			return;
		}
		const bool bSent =
		    Command.bRaw ? Simulator.SendRaw(Slot, Command.Payload) : Simulator.Send(Slot, Command.Tag, Command.Payload);
		if (!bSent)
		{
			Fail(LineNumber, "send: " + Simulator.LastError());
			return;
		}
		RecordSent(Slot, Command.bRaw, Command.Tag, Command.Payload);
		PrintSent(Slot, Command.bRaw, Command.Tag, Command.Payload);
	}

	/** Each name of a name command with its id and the name and id of its echo. */
	void PrintNames(const std::vector<std::string>& Registered)
	{
		for (const std::string& Name : Registered)
		{
			const std::uint32_t Id = ValueIdOfName(Name);
			const std::uint32_t EchoId = ValueIdOfName(Name + "_synced");
			PrintLine(Options.bJson ? "{\"event\":\"name\",\"name\":\"" + JsonEscape(Name) + "\",\"id\":" + std::to_string(Id) +
			                              ",\"echo\":\"" + JsonEscape(Name) + "_synced\",\"echoId\":" + std::to_string(EchoId) + "}"
			                        : "name " + Name + " [id " + IdText(Id) + "], echo " + Name + "_synced [id " + IdText(EchoId) + "]");
		}
	}

	void PrintSlots()
	{
		for (std::uint32_t Index = 0; Index < Korvat::UE4::SlotCount; ++Index)
		{
			const SlotSnapshot Slot = Simulator.ReadSlot(Index);
			const std::string Connection = GuidText(Slot.ConnectionId);
			const std::string Launch = GuidText(Slot.LaunchId);
			if (Options.bJson)
			{
				PrintLine("{\"slot\":" + std::to_string(Index) + ",\"state\":" + std::to_string(Slot.State) +
				          ",\"connection\":\"" + Connection + "\",\"launch\":\"" + Launch + "\",\"generated\":" +
				          std::to_string(Slot.LaunchIdGenerated) + ",\"gameRunning\":" + std::to_string(Slot.GameRunning) +
				          ",\"clientCode\":" + std::to_string(Slot.ClientCode) + "}");
			}
			else
			{
				char Buffer[256];
				std::snprintf(Buffer, sizeof(Buffer),
				              "slot %2u: state %d connection %s launch %s generated %u game-running %u client-code %d", Index,
				              Slot.State, Connection.c_str(), Launch.c_str(), Slot.LaunchIdGenerated, Slot.GameRunning,
				              Slot.ClientCode);
				PrintLine(Buffer);
			}
		}
	}

	FOptions Options;
	HostSimulator Simulator;
	/** The polling frame: counted for --frames and written in the trace. */
	std::uint64_t PollFrame = 0;
	TraceWriter Recorder;
	/** The slots whose connection the trace shows as established and not yet ended. */
	std::set<std::uint32_t> RecordedConnections;
	const Trace* Replayed = nullptr;
	std::optional<TraceReplay> Replay;
	/** The names of value ids: from --names, name commands and the names used in sends. */
	ValueNames IdNames;
	std::optional<FWait> Wait;
	Clock::time_point SleepUntil{};
	unsigned LineNumber = 0;
	bool bFailed = false;
	std::map<std::uint32_t, std::uint64_t> ReceivedByTag;
	/** The GUID bytes of the latest field-list question each slot's plug-in asked, for FLDS last. */
	std::map<std::uint32_t, std::vector<std::uint8_t>> LastQuestions;
	struct FRepeats
	{
		std::string Text;
		std::uint64_t Count = 0;
	};
	/** Per slot, the last message printed and how often it came again since. */
	std::map<std::uint32_t, FRepeats> LastReceived;
	std::map<std::uint32_t, std::uint64_t> ConsumedByTag;
	struct FSeenShareFrame
	{
		std::uint32_t Frame = 0;
		std::filesystem::file_time_type Written;
		bool operator==(const FSeenShareFrame&) const = default;
	};
	std::map<std::string, FSeenShareFrame> SeenShareFrames;
	bool bShareBaselineTaken = false;
	std::uint64_t ObserveCount = 0;
};

bool ParseArguments(int Argc, char** Argv, FOptions& Out)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		const std::string Argument = Argv[Index];
		auto Value = [&]() -> const char* { return Index + 1 < Argc ? Argv[++Index] : nullptr; };
		if (Argument == "--json")
		{
			Out.bJson = true;
		}
		else if (Argument == "--no-accept")
		{
			Out.bAutoAccept = false;
		}
		else if (Argument == "--stay")
		{
			Out.bStay = true;
		}
		else if (Argument == "--watch-shares")
		{
			Out.bWatchShares = true;
		}
		else if (Argument == "--fast")
		{
			Out.bFast = true;
		}
		else if (Argument == "--record" || Argument == "--replay")
		{
			const char* Path = Value();
			if (!Path)
			{
				PrintError(Argument + " needs a file name");
				return false;
			}
			(Argument == "--record" ? Out.RecordPath : Out.ReplayPath) = Path;
		}
		else if (Argument == "--replay-connection")
		{
			const char* Text = Value();
			char* End = nullptr;
			const long long Number = Text ? std::strtoll(Text, &End, 10) : 0;
			if (!Text || *End != '\0' || Number < 1)
			{
				PrintError("--replay-connection needs the number of a recorded connection (1 is the first)");
				return false;
			}
			Out.ReplayConnection = static_cast<std::size_t>(Number);
		}
		else if (Argument == "--script")
		{
			const char* Path = Value();
			if (!Path)
			{
				PrintError("--script needs a file name");
				return false;
			}
			Out.ScriptPath = Path;
		}
		else if (Argument == "--frames")
		{
			const char* Text = Value();
			char* End = nullptr;
			Out.Frames = Text ? std::strtoll(Text, &End, 10) : -1;
			if (!Text || *End != '\0' || Out.Frames < 0)
			{
				PrintError("--frames needs a number of frames");
				return false;
			}
		}
		else if (Argument == "--names")
		{
			const char* Text = Value();
			std::vector<std::string> Listed;
			std::string Error;
			if (!Text || !ParseNameList(Text, Listed, Error))
			{
				PrintError(Text ? "--names: " + Error : "--names needs names separated by commas");
				return false;
			}
			Out.Names.insert(Out.Names.end(), Listed.begin(), Listed.end());
		}
		else if (Argument == "--omit")
		{
			const char* Text = Value();
			const std::string Object = Text ? Text : "";
			bool* Flag = Object == "monitor"      ? &Out.Objects.bServerMonitor
			             : Object == "data-event" ? &Out.Objects.bDataSentEvent
			             : Object == "pipe"       ? &Out.Objects.bInboundPipe
			             : Object == "sync-event" ? &Out.Objects.bSyncEvent
			                                      : nullptr;
			if (!Flag)
			{
				PrintError("--omit takes monitor, data-event, pipe or sync-event");
				return false;
			}
			*Flag = false;
		}
		else
		{
			PrintError("unknown option '" + Argument + "' (see --help)");
			return false;
		}
	}
	if (Out.ReplayPath.empty() && (Out.bFast || Out.ReplayConnection != 0))
	{
		PrintError("--fast and --replay-connection go with --replay");
		return false;
	}
	if (!Out.ReplayPath.empty() && !Out.ScriptPath.empty())
	{
		PrintError("--replay plays the trace instead of commands: it cannot go with --script");
		return false;
	}
	if (!Out.ReplayPath.empty() && !Out.bAutoAccept)
	{
		PrintError("--replay takes no accept commands: it cannot go with --no-accept");
		return false;
	}
	return true;
}

} // namespace

int main(int Argc, char** Argv)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		if (std::strcmp(Argv[Index], "--help") == 0 || std::strcmp(Argv[Index], "-h") == 0)
		{
			std::fputs(UsageText, stdout);
			std::fputs(ScriptHelpText(), stdout);
			return 0;
		}
	}
	FOptions Options;
	if (!ParseArguments(Argc, Argv, Options))
	{
		return 1;
	}
	// Never destroyed: the standard-input thread may still be blocked in its read when main returns.
	static FLineSource* const Source = new FLineSource;
	Trace Replayed;
	if (!Options.ReplayPath.empty())
	{
		if (!ReadTraceFile(Options.ReplayPath, Replayed))
		{
			PrintError("cannot read the trace '" + Options.ReplayPath + "'");
			return 1;
		}
		if (Options.ReplayConnection > 1 && Options.ReplayConnection > Replayed.Connections.size())
		{
			PrintError("--replay-connection " + std::to_string(Options.ReplayConnection) + ": the trace holds " +
			           std::to_string(Replayed.Connections.size()) + " recorded connections");
			return 1;
		}
	}
	else if (!Options.ScriptPath.empty())
	{
		if (!Source->OpenFile(Options.ScriptPath))
		{
			PrintError("cannot read the script '" + Options.ScriptPath + "'");
			return 1;
		}
	}
	else
	{
		Source->StartStandardInput();
	}
	FHostTool Tool(Options, Options.ReplayPath.empty() ? nullptr : &Replayed);
	return Tool.Run(*Source);
}
