#include "Trace.h"

#include "HexDigits.h"
#include "Messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace Korvat::Host
{

namespace UE4 = Korvat::UE4;

namespace
{

// JSON reading: enough of the grammar to check a whole line and keep its top-level members.

/** Arrays and objects nest no deeper than this; a deeper line is refused rather than risking the stack. */
constexpr int MaxNesting = 64;

void AppendUtf8(std::string& Out, std::uint32_t CodePoint)
{
	if (CodePoint < 0x80)
	{
		Out.push_back(static_cast<char>(CodePoint));
	}
	else if (CodePoint < 0x800)
	{
		Out.push_back(static_cast<char>(0xC0 | (CodePoint >> 6)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else if (CodePoint < 0x10000)
	{
		Out.push_back(static_cast<char>(0xE0 | (CodePoint >> 12)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else
	{
		Out.push_back(static_cast<char>(0xF0 | (CodePoint >> 18)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
}

class FJsonCursor
{
public:
	explicit FJsonCursor(std::string_view InText) : Text(InText) {}

	bool Object(std::vector<JsonMember>& Out)
	{
		SkipBlanks();
		if (!Take('{'))
		{
			return false;
		}
		SkipBlanks();
		if (Take('}'))
		{
			return AtEnd();
		}
		for (;;)
		{
			JsonMember Member;
			SkipBlanks();
			if (!String(Member.Key))
			{
				return false;
			}
			SkipBlanks();
			if (!Take(':'))
			{
				return false;
			}
			SkipBlanks();
			if (!Value(Member, 1))
			{
				return false;
			}
			Out.push_back(std::move(Member));
			SkipBlanks();
			if (Take('}'))
			{
				return AtEnd();
			}
			if (!Take(','))
			{
				return false;
			}
		}
	}

private:
	bool AtEnd()
	{
		SkipBlanks();
		return Pos == Text.size();
	}

	void SkipBlanks()
	{
		while (Pos < Text.size() && (Text[Pos] == ' ' || Text[Pos] == '\t' || Text[Pos] == '\r' || Text[Pos] == '\n'))
		{
			++Pos;
		}
	}

	bool Take(char Char)
	{
		if (Pos < Text.size() && Text[Pos] == Char)
		{
			++Pos;
			return true;
		}
		return false;
	}

	bool Hex4(std::uint32_t& Out)
	{
		if (Text.size() - Pos < 4)
		{
			return false;
		}
		Out = 0;
		for (int Index = 0; Index < 4; ++Index)
		{
			const int Digit = HexDigitValue(Text[Pos++]);
			if (Digit < 0)
			{
				return false;
			}
			Out = Out * 16 + static_cast<std::uint32_t>(Digit);
		}
		return true;
	}

	bool String(std::string& Out)
	{
		if (!Take('"'))
		{
			return false;
		}
		while (Pos < Text.size())
		{
			const char Char = Text[Pos++];
			if (Char == '"')
			{
				return true;
			}
			if (static_cast<unsigned char>(Char) < 0x20)
			{
				return false;
			}
			if (Char != '\\')
			{
				Out.push_back(Char);
				continue;
			}
			if (Pos == Text.size())
			{
				return false;
			}
			switch (const char Escape = Text[Pos++])
			{
			case '"':
			case '\\':
			case '/':
				Out.push_back(Escape);
				break;
			case 'b':
				Out.push_back('\b');
				break;
			case 'f':
				Out.push_back('\f');
				break;
			case 'n':
				Out.push_back('\n');
				break;
			case 'r':
				Out.push_back('\r');
				break;
			case 't':
				Out.push_back('\t');
				break;
			case 'u': {
				std::uint32_t CodePoint = 0;
				if (!Hex4(CodePoint) || (CodePoint >= 0xDC00 && CodePoint < 0xE000))
				{
					return false;
				}
				if (CodePoint >= 0xD800 && CodePoint < 0xDC00)
				{
					std::uint32_t Low = 0;
					if (!Take('\\') || !Take('u') || !Hex4(Low) || Low < 0xDC00 || Low >= 0xE000)
					{
						return false;
					}
					CodePoint = 0x10000 + ((CodePoint - 0xD800) << 10) + (Low - 0xDC00);
				}
				AppendUtf8(Out, CodePoint);
				break;
			}
			default:
				return false;
			}
		}
		return false;
	}

	bool Digits()
	{
		const std::size_t Start = Pos;
		while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9')
		{
			++Pos;
		}
		return Pos > Start;
	}

	bool Number()
	{
		Take('-');
		if (!Take('0') && !Digits())
		{
			return false;
		}
		if (Take('.') && !Digits())
		{
			return false;
		}
		if (Take('e') || Take('E'))
		{
			if (!Take('+'))
			{
				Take('-');
			}
			return Digits();
		}
		return true;
	}

	bool Word(std::string_view Expected)
	{
		if (Text.substr(Pos, Expected.size()) != Expected)
		{
			return false;
		}
		Pos += Expected.size();
		return true;
	}

	/** An array or an object, checked and skipped. */
	bool Nested(int Depth)
	{
		if (Depth > MaxNesting)
		{
			return false;
		}
		const bool bObject = Text[Pos] == '{';
		++Pos;
		const char Close = bObject ? '}' : ']';
		SkipBlanks();
		if (Take(Close))
		{
			return true;
		}
		for (;;)
		{
			SkipBlanks();
			if (bObject)
			{
				std::string Key;
				if (!String(Key))
				{
					return false;
				}
				SkipBlanks();
				if (!Take(':'))
				{
					return false;
				}
				SkipBlanks();
			}
			JsonMember Ignored;
			if (!Value(Ignored, Depth + 1))
			{
				return false;
			}
			SkipBlanks();
			if (Take(Close))
			{
				return true;
			}
			if (!Take(','))
			{
				return false;
			}
		}
	}

	bool Value(JsonMember& Out, int Depth)
	{
		if (Pos == Text.size())
		{
			return false;
		}
		const std::size_t Start = Pos;
		const char First = Text[Pos];
		if (First == '"')
		{
			Out.Kind = JsonMember::EKind::String;
			if (!String(Out.Value))
			{
				return false;
			}
			Out.Raw.assign(Text.substr(Start + 1, Pos - Start - 2));
			return true;
		}
		bool bOk = false;
		if (First == '-' || (First >= '0' && First <= '9'))
		{
			Out.Kind = JsonMember::EKind::Number;
			bOk = Number();
		}
		else if (First == 't' || First == 'f' || First == 'n')
		{
			Out.Kind = JsonMember::EKind::Literal;
			bOk = Word("true") || Word("false") || Word("null");
		}
		else if (First == '[' || First == '{')
		{
			Out.Kind = JsonMember::EKind::Nested;
			bOk = Nested(Depth);
		}
		if (bOk)
		{
			Out.Value.assign(Text.substr(Start, Pos - Start));
			Out.Raw = Out.Value;
		}
		return bOk;
	}

	std::string_view Text;
	std::size_t Pos = 0;
};

// The members of one trace line.

class FLineFields
{
public:
	explicit FLineFields(const std::vector<JsonMember>& InMembers) : Members(InMembers) {}

	/**
	 * The first member named Key. The recorder writes its own fields first, so a decoded field of the same name
	 * further on (CLCK has a "time") never stands in for them.
	 */
	const JsonMember* First(std::string_view Key) const
	{
		for (const JsonMember& Member : Members)
		{
			if (Member.Key == Key)
			{
				return &Member;
			}
		}
		return nullptr;
	}

	/** The last member named Key ("payload" closes a message line). */
	const JsonMember* Last(std::string_view Key) const
	{
		for (auto Member = Members.rbegin(); Member != Members.rend(); ++Member)
		{
			if (Member->Key == Key)
			{
				return &*Member;
			}
		}
		return nullptr;
	}

	const std::string* String(std::string_view Key) const
	{
		const JsonMember* Member = First(Key);
		return Member && Member->Kind == JsonMember::EKind::String ? &Member->Value : nullptr;
	}

	std::optional<double> Number(std::string_view Key) const
	{
		const JsonMember* Member = First(Key);
		if (!Member || Member->Kind != JsonMember::EKind::Number)
		{
			return std::nullopt;
		}
		double Value = 0;
		const char* Begin = Member->Value.data();
		const char* End = Begin + Member->Value.size();
		const auto [Stop, Error] = std::from_chars(Begin, End, Value);
		if (Error != std::errc() || Stop != End || !std::isfinite(Value))
		{
			return std::nullopt;
		}
		return Value;
	}

	/** A slot number: a whole number that fits 32 bits. */
	std::optional<std::uint32_t> Slot() const
	{
		const std::optional<double> Value = Number("slot");
		if (!Value || *Value < 0 || *Value > 4294967295.0 || std::floor(*Value) != *Value)
		{
			return std::nullopt;
		}
		return static_cast<std::uint32_t>(*Value);
	}

private:
	const std::vector<JsonMember>& Members;
};

/** Builds a trace line by line. */
class FTraceBuilder
{
public:
	void Add(std::string_view Line)
	{
		++Out.Lines;
		if (Line.find_first_not_of(" \t\r\n") == std::string_view::npos)
		{
			return;
		}
		std::vector<JsonMember> Members;
		if (!ParseJsonObjectLine(Line, Members))
		{
			++Out.Unreadable;
			return;
		}
		const FLineFields Fields(Members);
		// A line without a usable time happened no earlier than the line before it.
		if (const std::optional<double> Time = Fields.Number("time"))
		{
			LastTime = *Time;
		}
		if (Fields.First("via") || Fields.First("frameMarker"))
		{
			return; // published through texture sharing: not pipe traffic
		}
		if (Fields.Last("payload"))
		{
			AddMessage(Fields);
		}
		else if (const std::string* Event = Fields.String("event"))
		{
			AddEvent(*Event, Fields);
		}
		else if (Fields.First("from"))
		{
			++Out.Malformed; // a message without its bytes
		}
	}

private:
	void AddMessage(const FLineFields& Fields)
	{
		TraceMessage Message;
		const std::string* From = Fields.String("from");
		const JsonMember* Tag = Fields.First("tag");
		const JsonMember* Payload = Fields.Last("payload");
		// A message shorter than a tag has no "tag"; one too short for its tag's layout has both.
		const JsonMember* Short = Fields.First("malformed");
		Message.bRaw = !Tag && Short && Short->Kind == JsonMember::EKind::Literal && Short->Value == "true";
		const bool bDirection = From && (*From == "host" || *From == "plugin");
		const bool bTag = Message.bRaw || (Tag && Tag->Kind == JsonMember::EKind::String && ParseTagJson(Tag->Raw, Message.Tag));
		if (!bDirection || !bTag || Payload->Kind != JsonMember::EKind::String || !AppendHexBytes(Payload->Value, Message.Payload) ||
		    (Message.bRaw && Message.Payload.empty()))
		{
			++Out.Malformed;
			return;
		}
		Message.From = *From == "host" ? ETraceDirection::FromHost : ETraceDirection::FromPlugin;
		Message.Time = LastTime;
		Place(Fields.Slot(), std::move(Message));
	}

	void AddEvent(const std::string& Event, const FLineFields& Fields)
	{
		if (Event == "started")
		{
			if (const std::string* Recorder = Fields.String("recorder"))
			{
				Out.Recorder = *Recorder;
			}
		}
		else if (Event == "stopped")
		{
			Out.bStopped = true;
			if (const std::string* Reason = Fields.String("reason"))
			{
				Out.StopReason = *Reason;
			}
		}
		else if (Event == "connected")
		{
			// Messages before the first "connected" event belong to the connection it opens.
			if (bSeenConnected || Out.Connections.empty())
			{
				Out.Connections.emplace_back();
			}
			bSeenConnected = true;
			const std::size_t Index = Out.Connections.size() - 1;
			RecordedConnection& Connection = Out.Connections[Index];
			Connection.bHasConnectedEvent = true;
			Connection.ConnectedTime = LastTime;
			Connection.Slot = Fields.Slot();
			if (const std::string* Id = Fields.String("connection"))
			{
				Connection.ConnectionId = *Id;
			}
			if (Connection.Slot)
			{
				LatestOnSlot[*Connection.Slot] = Index;
				LastOnSlot[*Connection.Slot] = Index;
				// So do messages on its slot since that slot's previous connection ended.
				if (const auto Waiting = Between.find(*Connection.Slot); Waiting != Between.end())
				{
					Connection.Messages.insert(Connection.Messages.begin(), std::make_move_iterator(Waiting->second.begin()),
					                           std::make_move_iterator(Waiting->second.end()));
					Between.erase(Waiting);
				}
			}
			Latest = Index;
		}
		else if (Event == "disconnected")
		{
			if (const std::optional<std::uint32_t> Slot = Fields.Slot())
			{
				LatestOnSlot.erase(*Slot);
			}
		}
	}

	void Place(std::optional<std::uint32_t> Slot, TraceMessage&& Message)
	{
		if (Out.Connections.empty())
		{
			Out.Connections.emplace_back();
		}
		if (Slot)
		{
			if (const auto Found = LatestOnSlot.find(*Slot); Found != LatestOnSlot.end())
			{
				Out.Connections[Found->second].Messages.push_back(std::move(Message));
				return;
			}
			if (LastOnSlot.count(*Slot) != 0)
			{
				// The slot's connection has ended: this opens the next one on it.
				Between[*Slot].push_back(std::move(Message));
				return;
			}
		}
		Out.Connections[Latest].Messages.push_back(std::move(Message));
	}

public:
	Trace Finish()
	{
		// Messages after a connection ended that no new connection took: late ones of the one that ended.
		for (auto& [Slot, Messages] : Between)
		{
			std::vector<TraceMessage>& Ended = Out.Connections[LastOnSlot[Slot]].Messages;
			Ended.insert(Ended.end(), std::make_move_iterator(Messages.begin()), std::make_move_iterator(Messages.end()));
		}
		Between.clear();
		return std::move(Out);
	}

private:
	Trace Out;
	double LastTime = 0;
	bool bSeenConnected = false;
	std::size_t Latest = 0;
	/** Per slot, the connection open on it (until its "disconnected" event) and the latest ever opened on it. */
	std::map<std::uint32_t, std::size_t> LatestOnSlot;
	std::map<std::uint32_t, std::size_t> LastOnSlot;
	/** Per slot, messages after its connection ended, waiting for the next "connected" event on it. */
	std::map<std::uint32_t, std::vector<TraceMessage>> Between;
};

std::string HexText(std::span<const std::uint8_t> Bytes)
{
	static constexpr char Digits[] = "0123456789abcdef";
	std::string Out;
	Out.reserve(Bytes.size() * 2);
	for (const std::uint8_t Byte : Bytes)
	{
		Out.push_back(Digits[Byte >> 4]);
		Out.push_back(Digits[Byte & 15]);
	}
	return Out;
}

/** Seconds with six decimals, written without the C library so the locale cannot change the point. */
std::string SecondsText(double Seconds)
{
	if (!(Seconds >= 0))
	{
		Seconds = 0;
	}
	const auto Micro = static_cast<long long>(std::llround(std::min(Seconds, 1e12) * 1e6));
	char Buffer[40];
	std::snprintf(Buffer, sizeof(Buffer), "%lld.%06lld", Micro / 1000000, Micro % 1000000);
	return Buffer;
}

std::string Envelope(std::uint64_t Frame, double Time)
{
	return "{\"frame\":" + std::to_string(Frame) + ",\"time\":" + SecondsText(Time);
}

const char* DirectionText(ETraceDirection From)
{
	return From == ETraceDirection::FromHost ? "host" : "plugin";
}

/** The node name of a field-list question: the bytes after the GUID, up to a zero byte. */
std::string QuestionNode(std::span<const std::uint8_t> Payload)
{
	const auto Name = Payload.subspan(16);
	const auto End = std::find(Name.begin(), Name.end(), std::uint8_t{0});
	return std::string(Name.begin(), End);
}

} // namespace

bool ParseJsonObjectLine(std::string_view Line, std::vector<JsonMember>& Out)
{
	Out.clear();
	return FJsonCursor(Line).Object(Out);
}

bool ParseTagJson(std::string_view Written, std::uint32_t& Out)
{
	std::uint8_t Bytes[4] = {};
	std::size_t Count = 0;
	for (std::size_t Index = 0; Index < Written.size(); ++Count)
	{
		if (Count == 4)
		{
			return false;
		}
		const char Char = Written[Index++];
		if (Char != '\\')
		{
			Bytes[Count] = static_cast<std::uint8_t>(Char);
			continue;
		}
		if (Index == Written.size())
		{
			return false;
		}
		const char Escape = Written[Index++];
		static constexpr std::string_view Escapes = "\"\\/bfnrt";
		static constexpr std::string_view Escaped = "\"\\/\b\f\n\r\t";
		if (const std::size_t Found = Escapes.find(Escape); Found != std::string_view::npos)
		{
			Bytes[Count] = static_cast<std::uint8_t>(Escaped[Found]);
			continue;
		}
		// \u00XX: a byte JSON cannot carry as it is (a control byte, or one that is not UTF-8).
		if (Escape != 'u' || Written.size() - Index < 4 || Written[Index] != '0' || Written[Index + 1] != '0' ||
		    HexDigitValue(Written[Index + 2]) < 0 || HexDigitValue(Written[Index + 3]) < 0)
		{
			return false;
		}
		Bytes[Count] = static_cast<std::uint8_t>(HexDigitValue(Written[Index + 2]) * 16 + HexDigitValue(Written[Index + 3]));
		Index += 4;
	}
	if (Count != 4)
	{
		return false;
	}
	Out = static_cast<std::uint32_t>(Bytes[0]) | (static_cast<std::uint32_t>(Bytes[1]) << 8) |
	      (static_cast<std::uint32_t>(Bytes[2]) << 16) | (static_cast<std::uint32_t>(Bytes[3]) << 24);
	return true;
}

std::size_t RecordedConnection::HostMessageCount() const
{
	return static_cast<std::size_t>(std::count_if(
	    Messages.begin(), Messages.end(), [](const TraceMessage& Message) { return Message.From == ETraceDirection::FromHost; }));
}

std::size_t Trace::HostMessageCount() const
{
	std::size_t Count = 0;
	for (const RecordedConnection& Connection : Connections)
	{
		Count += Connection.HostMessageCount();
	}
	return Count;
}

Trace ReadTrace(std::istream& In)
{
	FTraceBuilder Builder;
	for (std::string Line; std::getline(In, Line);)
	{
		Builder.Add(Line);
	}
	return Builder.Finish();
}

bool ReadTraceFile(const std::string& Path, Trace& Out)
{
	std::ifstream File(Path, std::ios::binary);
	if (!File)
	{
		return false;
	}
	Out = ReadTrace(File);
	return true;
}

std::string FormatTraceMessage(std::uint64_t Frame, double Time, ETraceDirection From, std::uint32_t Slot, std::uint32_t Tag,
                               std::span<const std::uint8_t> Payload)
{
	std::string Line = Envelope(Frame, Time) + ",\"from\":\"" + DirectionText(From) + "\",\"slot\":" + std::to_string(Slot);
	const std::string Described = DescribeMessageJson(Tag, Payload, nullptr);
	if (Described.size() > 2 && Described.front() == '{' && Described.back() == '}')
	{
		Line += "," + Described.substr(1, Described.size() - 2);
	}
	else
	{
		const char Bytes[4] = {static_cast<char>(Tag), static_cast<char>(Tag >> 8), static_cast<char>(Tag >> 16),
		                       static_cast<char>(Tag >> 24)};
		Line += ",\"tag\":\"" + JsonEscape(std::string_view(Bytes, 4)) + "\"";
	}
	return Line + ",\"payload\":\"" + HexText(Payload) + "\"}";
}

std::string FormatTraceEvent(std::uint64_t Frame, double Time, std::string_view Event, std::string_view Fields)
{
	return Envelope(Frame, Time) + ",\"event\":\"" + JsonEscape(Event) + "\"" + std::string(Fields) + "}";
}

struct TraceWriter::FState
{
	std::ofstream File;
	std::chrono::steady_clock::time_point Start;
};

TraceWriter::TraceWriter() : State(std::make_unique<FState>()) {}

TraceWriter::~TraceWriter() = default;

bool TraceWriter::Open(const std::string& Path, std::uint64_t Frame, std::string_view Recorder)
{
	// Binary, so that every line ends in '\n' alone on Windows too.
	State->File.open(Path, std::ios::binary | std::ios::trunc);
	if (!State->File)
	{
		return false;
	}
	State->Start = std::chrono::steady_clock::now();
	WriteLine(FormatTraceEvent(Frame, 0, "started", ",\"recorder\":\"" + JsonEscape(Recorder) + "\""));
	return static_cast<bool>(State->File);
}

bool TraceWriter::IsOpen() const
{
	return State->File.is_open();
}

double TraceWriter::Seconds() const
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - State->Start).count();
}

void TraceWriter::WriteLine(const std::string& Line)
{
	if (!State->File.is_open())
	{
		return;
	}
	State->File.write(Line.data(), static_cast<std::streamsize>(Line.size()));
	State->File.put('\n');
	State->File.flush();
}

void TraceWriter::Message(std::uint64_t Frame, ETraceDirection From, std::uint32_t Slot, std::uint32_t Tag,
                          std::span<const std::uint8_t> Payload)
{
	WriteLine(FormatTraceMessage(Frame, Seconds(), From, Slot, Tag, Payload));
}

void TraceWriter::Malformed(std::uint64_t Frame, ETraceDirection From, std::uint32_t Slot, std::span<const std::uint8_t> Bytes)
{
	WriteLine(Envelope(Frame, Seconds()) + ",\"from\":\"" + DirectionText(From) + "\",\"slot\":" + std::to_string(Slot) +
	          ",\"malformed\":true,\"size\":" + std::to_string(Bytes.size()) + ",\"payload\":\"" + HexText(Bytes) + "\"}");
}

void TraceWriter::Connected(std::uint64_t Frame, std::uint32_t Slot, const UE4::GUID& Connection)
{
	WriteLine(FormatTraceEvent(Frame, Seconds(), "connected",
	                           ",\"slot\":" + std::to_string(Slot) + ",\"connection\":\"" + GuidText(Connection) + "\""));
}

void TraceWriter::Disconnected(std::uint64_t Frame, std::uint32_t Slot)
{
	WriteLine(FormatTraceEvent(Frame, Seconds(), "disconnected", ",\"slot\":" + std::to_string(Slot)));
}

void TraceWriter::Stop(std::uint64_t Frame)
{
	WriteLine(FormatTraceEvent(Frame, Seconds(), "stopped"));
	State->File.close();
}

// ConnectionReplay

ConnectionReplay::ConnectionReplay(const RecordedConnection& Recorded)
{
	// The plug-in's recorded questions by request GUID: their node and how many questions for it came before.
	struct FQuestion
	{
		std::string Node;
		std::size_t Ordinal = 0;
	};
	std::map<FGuidBytes, FQuestion> Questions;
	std::map<std::string, std::size_t> AskedPerNode;
	for (const TraceMessage& Message : Recorded.Messages)
	{
		if (Message.From == ETraceDirection::FromPlugin && !Message.bRaw && Message.Tag == UE4::Tag::FLDQ &&
		    Message.Payload.size() >= 16)
		{
			FGuidBytes Guid;
			std::copy_n(Message.Payload.begin(), 16, Guid.begin());
			std::string Node = QuestionNode(Message.Payload);
			const std::size_t Ordinal = AskedPerNode[Node]++;
			Questions.try_emplace(Guid, FQuestion{std::move(Node), Ordinal});
		}
	}
	for (const TraceMessage& Message : Recorded.Messages)
	{
		if (Message.From != ETraceDirection::FromHost)
		{
			continue;
		}
		FStep Step;
		// A message recorded before its connection's event is due at once.
		Step.Time = std::max(0.0, Message.Time - Recorded.ConnectedTime);
		Step.Message = Message;
		if (!Message.bRaw && Message.Tag == UE4::Tag::FLDS && Message.Payload.size() >= 16)
		{
			FGuidBytes Guid;
			std::copy_n(Message.Payload.begin(), 16, Guid.begin());
			if (const auto Question = Questions.find(Guid); Question != Questions.end())
			{
				Step.bAnswer = true;
				Step.Node = Question->second.Node;
				Step.Ordinal = Question->second.Ordinal;
			}
		}
		Steps.push_back(std::move(Step));
	}
}

void ConnectionReplay::NoteQuestion(std::span<const std::uint8_t> Payload)
{
	if (Payload.size() < 16)
	{
		return;
	}
	FGuidBytes Guid;
	std::copy_n(Payload.begin(), 16, Guid.begin());
	LiveQuestions[QuestionNode(Payload)].push_back(Guid);
}

const ConnectionReplay::FGuidBytes* ConnectionReplay::LiveQuestion(const FStep& Step) const
{
	const auto Found = LiveQuestions.find(Step.Node);
	return Found != LiveQuestions.end() && Step.Ordinal < Found->second.size() ? &Found->second[Step.Ordinal] : nullptr;
}

ConnectionReplay::FOutgoing ConnectionReplay::Outgoing(const FStep& Step) const
{
	FOutgoing Out = Step.Message;
	if (Step.bAnswer)
	{
		const FGuidBytes* Guid = LiveQuestion(Step);
		std::copy(Guid->begin(), Guid->end(), Out.Payload.begin());
	}
	return Out;
}

std::optional<ConnectionReplay::FOutgoing> ConnectionReplay::NextDue(double Elapsed, bool bFast)
{
	for (std::size_t Index = 0; Index < Held.size(); ++Index)
	{
		if (LiveQuestion(Steps[Held[Index]]))
		{
			Pending = EPending::Held;
			PendingHeld = Index;
			return Outgoing(Steps[Held[Index]]);
		}
	}
	while (Next < Steps.size() && (bFast || Steps[Next].Time <= Elapsed))
	{
		const FStep& Step = Steps[Next];
		if (Step.bAnswer && !LiveQuestion(Step))
		{
			Held.push_back(Next++);
			continue;
		}
		Pending = EPending::Step;
		return Outgoing(Step);
	}
	if (Next == Steps.size() && Drained < 0)
	{
		Drained = std::max(0.0, Elapsed);
	}
	Pending = EPending::None;
	return std::nullopt;
}

void ConnectionReplay::Advance(bool bSent)
{
	if (Pending == EPending::None)
	{
		return;
	}
	if (Pending == EPending::Held)
	{
		Held.erase(Held.begin() + static_cast<std::ptrdiff_t>(PendingHeld));
	}
	else
	{
		++Next;
	}
	Pending = EPending::None;
	++(bSent ? Sent : GivenUp);
}

std::vector<std::string> ConnectionReplay::HeldNames() const
{
	std::vector<std::string> Names;
	for (const std::size_t Index : Held)
	{
		Names.push_back(Steps[Index].Node);
	}
	return Names;
}

// TraceReplay

TraceReplay::TraceReplay(const Trace& Recorded, const ReplayOptions& InOptions)
    : Connections(Recorded.Connections), Options(InOptions), NextConnection(InOptions.FirstConnection)
{
}

void TraceReplay::OnRequested(std::uint32_t Slot)
{
	EarlyQuestions.erase(Slot);
}

void TraceReplay::OnConnected(std::uint32_t Slot, Clock::time_point Now)
{
	if (const auto Found = Live.find(Slot); Found != Live.end())
	{
		EndLive(Slot, Found->second, true);
		Live.erase(Found);
	}
	std::vector<std::vector<std::uint8_t>> Early = std::move(EarlyQuestions[Slot]);
	EarlyQuestions.erase(Slot);
	if (NextConnection >= Connections.size())
	{
		return; // more live connections than recorded ones
	}
	FLive& Started = Live[Slot];
	Started.Connection = NextConnection++;
	Started.Start = Now;
	Started.Player = std::make_unique<ConnectionReplay>(Connections[Started.Connection]);
	for (const std::vector<std::uint8_t>& Question : Early)
	{
		Started.Player->NoteQuestion(Question);
	}
	++PlayedConnections;
	ReplayEvent Event;
	Event.Kind = ReplayEvent::EKind::ConnectionStarted;
	Event.Connection = Started.Connection + 1;
	Event.Slot = Slot;
	Event.Count = Started.Player->MessageCount();
	Events.push_back(std::move(Event));
}

void TraceReplay::OnDisconnected(std::uint32_t Slot)
{
	EarlyQuestions.erase(Slot);
	if (const auto Found = Live.find(Slot); Found != Live.end())
	{
		EndLive(Slot, Found->second, true);
		Live.erase(Found);
		CheckFinished();
	}
}

void TraceReplay::OnReceived(std::uint32_t Slot, std::uint32_t Tag, std::span<const std::uint8_t> Payload)
{
	if (Tag != UE4::Tag::FLDQ)
	{
		return;
	}
	if (const auto Found = Live.find(Slot); Found != Live.end())
	{
		Found->second.Player->NoteQuestion(Payload);
	}
	else if (NextConnection < Connections.size())
	{
		EarlyQuestions[Slot].emplace_back(Payload.begin(), Payload.end());
	}
}

void TraceReplay::EndLive(std::uint32_t Slot, FLive& Ended, bool bCut)
{
	ConnectionReplay& Player = *Ended.Player;
	for (const std::string& Node : Player.HeldNames())
	{
		ReplayEvent Event;
		Event.Kind = ReplayEvent::EKind::Unanswered;
		Event.Connection = Ended.Connection + 1;
		Event.Slot = Slot;
		Event.Text = Node;
		Events.push_back(std::move(Event));
	}
	ReplayEvent Event;
	Event.Kind = bCut ? ReplayEvent::EKind::ConnectionEnded : ReplayEvent::EKind::ConnectionPlayed;
	Event.Connection = Ended.Connection + 1;
	Event.Slot = Slot;
	Event.Count = Player.SentCount();
	Event.Unsent = Player.UnsentCount();
	Events.push_back(std::move(Event));
	SentMessages += Player.SentCount();
}

void TraceReplay::Step(Clock::time_point Now, const SendFunction& Send)
{
	for (auto Entry = Live.begin(); Entry != Live.end();)
	{
		const std::uint32_t Slot = Entry->first;
		FLive& Current = Entry->second;
		ConnectionReplay& Player = *Current.Player;
		const double Elapsed = std::chrono::duration<double>(Now - Current.Start).count();
		for (std::size_t Count = 0; Count < Options.MaxMessagesPerStep; ++Count)
		{
			const std::optional<ConnectionReplay::FOutgoing> Message = Player.NextDue(Elapsed, Options.bFast);
			if (!Message)
			{
				break;
			}
			std::string Error;
			if (Send(Slot, *Message, Error))
			{
				Player.Advance(true);
				Current.FailingSince.reset();
				continue;
			}
			// A pipe that is full or not read yet may take the message on a later frame.
			if (!Current.FailingSince)
			{
				Current.FailingSince = Now;
			}
			if (std::chrono::duration<double>(Now - *Current.FailingSince).count() >= Options.SendRetrySeconds)
			{
				ReplayEvent Event;
				Event.Kind = ReplayEvent::EKind::SendFailed;
				Event.Connection = Current.Connection + 1;
				Event.Slot = Slot;
				Event.Tag = Message->Tag;
				Event.Text = Error;
				Events.push_back(std::move(Event));
				Player.Advance(false);
				Current.FailingSince.reset();
				continue;
			}
			break;
		}
		const bool bDone = Player.IsDrained() && Player.DrainedAt() >= 0 &&
		                   (Player.HeldNames().empty() || Elapsed - Player.DrainedAt() >= Options.AnswerWaitSeconds);
		if (bDone)
		{
			EndLive(Slot, Current, false);
			Entry = Live.erase(Entry);
		}
		else
		{
			++Entry;
		}
	}
	CheckFinished();
}

void TraceReplay::CheckFinished()
{
	if (bFinished || !Live.empty() || NextConnection < Connections.size())
	{
		return;
	}
	bFinished = true;
	ReplayEvent Event;
	Event.Kind = ReplayEvent::EKind::Finished;
	Event.Count = SentMessages;
	Event.Connection = PlayedConnections;
	Events.push_back(std::move(Event));
}

void TraceReplay::Abandon()
{
	for (auto& [Slot, Current] : Live)
	{
		EndLive(Slot, Current, true);
	}
	Live.clear();
	if (bFinished)
	{
		return;
	}
	ReplayEvent Event;
	Event.Kind = ReplayEvent::EKind::Unfinished;
	Event.Count = SentMessages;
	Event.Connection = PlayedConnections;
	Event.Unsent = Connections.size() - std::min(NextConnection, Connections.size());
	Events.push_back(std::move(Event));
}

std::vector<ReplayEvent> TraceReplay::TakeEvents()
{
	std::vector<ReplayEvent> Out;
	Out.swap(Events);
	return Out;
}

} // namespace Korvat::Host
