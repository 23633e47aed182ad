// Traces of the traffic between host and plug-in: JSON lines, one object per line, written by the plug-in's
// recorder and by korvat-host --record, read back into recorded connections and played again to a live
// plug-in (korvat-host --replay).
//
// Lines: {"frame":F,"time":T,"event":"started","recorder":"plugin"|"host"} first; "connected" (with "slot" and
// "connection"), "disconnected" (with "slot") and "stopped" events; and one line per message:
// {"frame":F,"time":T,"from":"host"|"plugin","slot":S,"tag":"VINT",<decoded fields>,"payload":"<hex>"}.
// "time" is seconds since the trace started; "payload" is the whole message after its tag. A message shorter
// than a tag is written {"frame":F,"time":T,"from":..,"slot":S,"malformed":true,"size":N,"payload":"<hex>"},
// "payload" then holding all of its bytes.
#pragma once

#include "UE4ComCommon.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Host
{

// Reading JSON lines.

/** One member of a JSON object. */
struct JsonMember
{
	enum class EKind : std::uint8_t
	{
		String,  ///< Value is the unescaped text (UTF-8).
		Number,  ///< Value is the number as written.
		Literal, ///< Value is true, false or null.
		Nested,  ///< An array or an object, checked and kept as written.
	};
	std::string Key;
	EKind Kind = EKind::String;
	std::string Value;
	/** A string as written between its quotes, escapes and all; any other value as Value. */
	std::string Raw;
};

/**
 * Parses a line holding exactly one JSON object (blanks, and so a carriage return, allowed around it) into its
 * members in order. False for anything else, such as a line cut short; any bytes are safe.
 */
bool ParseJsonObjectLine(std::string_view Line, std::vector<JsonMember>& Out);

// A trace read back.

enum class ETraceDirection : std::uint8_t
{
	FromHost,   ///< "from":"host": the host sent it to the plug-in.
	FromPlugin, ///< "from":"plugin": the plug-in sent it to the host.
};

struct TraceMessage
{
	ETraceDirection From = ETraceDirection::FromHost;
	/** Seconds since the trace started. */
	double Time = 0;
	std::uint32_t Tag = 0;
	/** The bytes after the tag; with bRaw, the whole message. */
	std::vector<std::uint8_t> Payload;
	/** A message shorter than a tag ("malformed":true), played again as the same bytes. */
	bool bRaw = false;
};

/** The messages of one connection, both ways, in trace order. */
struct RecordedConnection
{
	/** False for a first connection whose messages came before any "connected" event. */
	bool bHasConnectedEvent = false;
	/** The "connected" event's time; 0 without one. */
	double ConnectedTime = 0;
	/** The "connected" event's slot and "connection" text, when it gave them. */
	std::optional<std::uint32_t> Slot;
	std::string ConnectionId;
	std::vector<TraceMessage> Messages;

	std::size_t HostMessageCount() const;
};

struct Trace
{
	/** The "recorder" of the "started" event; empty without one. */
	std::string Recorder;
	/** Whether a "stopped" event ended the trace (a trace without one was cut, as by a crash). */
	bool bStopped = false;
	/** The stopped event's "reason", if it gave one. */
	std::string StopReason;
	std::vector<RecordedConnection> Connections;
	std::size_t Lines = 0;
	/** Lines that are not a JSON object, such as a last line cut short. */
	std::size_t Unreadable = 0;
	/** Message lines that cannot be played: no direction, a tag that is not four bytes, bad hexadecimal. */
	std::size_t Malformed = 0;

	std::size_t Skipped() const { return Unreadable + Malformed; }
	std::size_t HostMessageCount() const;
};

/**
 * Reads a trace. Connections are split at the "connected" events: a message goes to the connection open on
 * its slot; one on a slot whose connection has ended ("disconnected") to the next connection opened on that
 * slot (or, when none is, to the one that ended); messages before the first "connected" event to the
 * connection it opens, and messages on a slot no event named to the latest connection. Lines sent through texture sharing ("via"
 * or "frameMarker"), unknown events and unknown keys are ignored; lines that cannot be read are counted and skipped.
 */
Trace ReadTrace(std::istream& In);

/** ReadTrace of a file; false when the file cannot be opened. */
bool ReadTraceFile(const std::string& Path, Trace& Out);

/**
 * Decodes a message's "tag" as DescribeMessageJson writes it, given as it stands between the quotes: the tag's
 * bytes, those JSON must escape as \uXXXX (00 to FF, one byte each) or as \" \\ \/ \b \f \n \r \t.
 * False unless that makes exactly four bytes.
 */
bool ParseTagJson(std::string_view Written, std::uint32_t& Out);

// Writing a trace.

/** The line of one message (no line end): envelope, the fields of DescribeMessageJson without names, "payload". */
std::string FormatTraceMessage(std::uint64_t Frame, double Time, ETraceDirection From, std::uint32_t Slot, std::uint32_t Tag,
                               std::span<const std::uint8_t> Payload);

/** The line of one event: {"frame":F,"time":T,"event":"Event"<Fields>}, Fields starting with a comma or empty. */
std::string FormatTraceEvent(std::uint64_t Frame, double Time, std::string_view Event, std::string_view Fields = {});

/** Writes a trace file line by line, each flushed so that a process that is killed leaves a usable trace. */
class TraceWriter
{
public:
	TraceWriter();
	~TraceWriter();
	TraceWriter(const TraceWriter&) = delete;
	TraceWriter& operator=(const TraceWriter&) = delete;

	/** Creates or replaces the file, starts the clock and writes the "started" line; false when it cannot. */
	bool Open(const std::string& Path, std::uint64_t Frame, std::string_view Recorder = "host");
	bool IsOpen() const;

	void Message(std::uint64_t Frame, ETraceDirection From, std::uint32_t Slot, std::uint32_t Tag,
	             std::span<const std::uint8_t> Payload);
	/** Bytes that travelled as one message but are shorter than a tag. */
	void Malformed(std::uint64_t Frame, ETraceDirection From, std::uint32_t Slot, std::span<const std::uint8_t> Bytes);
	void Connected(std::uint64_t Frame, std::uint32_t Slot, const Korvat::UE4::GUID& Connection);
	void Disconnected(std::uint64_t Frame, std::uint32_t Slot);
	/** Writes the "stopped" line and closes the file. */
	void Stop(std::uint64_t Frame);

private:
	double Seconds() const;
	void WriteLine(const std::string& Line);

	struct FState;
	std::unique_ptr<FState> State;
};

// Replaying a trace.

/**
 * Plays the host messages of one recorded connection to one live connection. A recorded FLDS answering a
 * recorded FLD? of the plug-in is sent with the request GUID of the live plug-in's matching question (the same
 * node name, the same count of questions for that name before it), and is held until that question arrives.
 */
class ConnectionReplay
{
public:
	explicit ConnectionReplay(const RecordedConnection& Recorded);

	/** A field-list question (FLD? payload) the live plug-in asked. */
	void NoteQuestion(std::span<const std::uint8_t> Payload);

	using FOutgoing = TraceMessage;
	/**
	 * The next message to send, Elapsed seconds after the live connection was established: held answers whose
	 * question has come first, then the recorded messages due by then (all of them with bFast). Returns the same
	 * message until Advance is called.
	 */
	std::optional<FOutgoing> NextDue(double Elapsed, bool bFast);
	/** Moves past the message NextDue returned: sent, or given up on. */
	void Advance(bool bSent);

	/** Every message sent or given up on, apart from held answers. */
	bool IsDrained() const { return Next == Steps.size(); }
	/** When IsDrained first held (as the Elapsed given to NextDue); negative before. */
	double DrainedAt() const { return Drained; }
	std::size_t SentCount() const { return Sent; }
	/** Messages not sent: given up on, held, and not reached yet. */
	std::size_t UnsentCount() const { return GivenUp + Held.size() + (Steps.size() - Next); }
	std::size_t MessageCount() const { return Steps.size(); }
	/** The node names of the answers still held, in order. */
	std::vector<std::string> HeldNames() const;

private:
	using FGuidBytes = std::array<std::uint8_t, 16>;
	struct FStep
	{
		double Time = 0;
		TraceMessage Message;
		/** An answer to a recorded question: the node name and how many questions for it came before. */
		bool bAnswer = false;
		std::string Node;
		std::size_t Ordinal = 0;
	};

	const FGuidBytes* LiveQuestion(const FStep& Step) const;
	FOutgoing Outgoing(const FStep& Step) const;

	std::vector<FStep> Steps;
	std::size_t Next = 0;
	/** Indices into Steps of answers waiting for their question, in order. */
	std::vector<std::size_t> Held;
	std::map<std::string, std::vector<FGuidBytes>> LiveQuestions;
	enum class EPending : std::uint8_t
	{
		None,
		Step,
		Held,
	};
	EPending Pending = EPending::None;
	std::size_t PendingHeld = 0;
	std::size_t Sent = 0;
	std::size_t GivenUp = 0;
	double Drained = -1;
};

struct ReplayOptions
{
	/** Send every message as soon as its connection is established instead of at its recorded time. */
	bool bFast = false;
	/** The recorded connection the first live connection gets (0 is the first). */
	std::size_t FirstConnection = 0;
	/** How long a connection whose other messages are all sent waits for the questions its held answers need. */
	double AnswerWaitSeconds = 10;
	/** How long a message the pipe refuses is tried again before it is given up on. */
	double SendRetrySeconds = 10;
	/** The most messages sent to one connection per Step, so one step never floods the pipe. */
	std::size_t MaxMessagesPerStep = 256;
};

/** Something for the host's transcript. */
struct ReplayEvent
{
	enum class EKind : std::uint8_t
	{
		ConnectionStarted, ///< Connection (1-based) is played to Slot; Count is its message count.
		ConnectionPlayed,  ///< Every message of Connection was dealt with; Count were sent.
		ConnectionEnded,   ///< The live connection ended first: Count sent, Unsent not.
		Unanswered,        ///< A held FLDS answer for node Text never found its question.
		SendFailed,        ///< A message with Tag could not be sent (Text says why) and was given up on.
		Finished,          ///< Every recorded connection was played: Count messages in Connection connections.
		Unfinished,        ///< Abandoned first: Count messages in Connection connections, Unsent connections not played.
	};
	EKind Kind = EKind::ConnectionStarted;
	std::size_t Connection = 0;
	std::uint32_t Slot = 0;
	std::size_t Count = 0;
	std::size_t Unsent = 0;
	std::uint32_t Tag = 0;
	std::string Text;
};

/**
 * Plays a trace's recorded connections to the live connections of a host, the k-th recorded connection (from
 * FirstConnection) to the k-th live connection established. The caller tells it what the host sees and calls
 * Step every polling frame; Step sends through the function given.
 */
class TraceReplay
{
public:
	using Clock = std::chrono::steady_clock;
	/** Sends one message (Tag and Payload, or with bRaw the Payload alone) to Slot; false with a reason in Error. */
	using SendFunction = std::function<bool(std::uint32_t Slot, const TraceMessage& Message, std::string& Error)>;

	TraceReplay(const Trace& Recorded, const ReplayOptions& Options);

	/** A plug-in claimed Slot: questions it asked before are forgotten. */
	void OnRequested(std::uint32_t Slot);
	/** The connection on Slot was established: it gets the next recorded connection. */
	void OnConnected(std::uint32_t Slot, Clock::time_point Now);
	/** The connection on Slot ended. */
	void OnDisconnected(std::uint32_t Slot);
	/** A message the plug-in on Slot sent (its field-list questions matter). */
	void OnReceived(std::uint32_t Slot, std::uint32_t Tag, std::span<const std::uint8_t> Payload);
	/** Sends what is due. */
	void Step(Clock::time_point Now, const SendFunction& Send);
	/**
	 * The host is stopping: ends every connection still being played, reporting the answers still held, and
	 * reports how far an unfinished replay got.
	 */
	void Abandon();

	bool IsFinished() const { return bFinished; }
	std::vector<ReplayEvent> TakeEvents();

private:
	struct FLive
	{
		std::size_t Connection = 0;
		Clock::time_point Start;
		std::unique_ptr<ConnectionReplay> Player;
		std::optional<Clock::time_point> FailingSince;
	};
	void EndLive(std::uint32_t Slot, FLive& Live, bool bCut);
	void CheckFinished();

	std::vector<RecordedConnection> Connections;
	ReplayOptions Options;
	std::size_t NextConnection = 0;
	std::size_t PlayedConnections = 0;
	std::size_t SentMessages = 0;
	std::map<std::uint32_t, FLive> Live;
	/** Questions asked on slots whose connection was not established yet. */
	std::map<std::uint32_t, std::vector<std::vector<std::uint8_t>>> EarlyQuestions;
	std::vector<ReplayEvent> Events;
	bool bFinished = false;
};

} // namespace Korvat::Host
