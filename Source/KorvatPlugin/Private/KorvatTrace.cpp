#include "KorvatTrace.h"

#include "HAL/FileManager.h"
#include "HAL/PlatformTime.h"
#include "Misc/DateTime.h"
#include "Misc/Paths.h"
#include "Serialization/Archive.h"

#include "KorvatPluginLog.h"
#include "MessageDescription.h"

#include <charconv>
#include <cstdio>

namespace
{
void AppendNumber(std::string& Out, uint64 Value)
{
	char Buffer[24];
	const auto [End, Error] = std::to_chars(Buffer, Buffer + sizeof(Buffer), Value);
	Out.append(Buffer, End);
}

uint32 LittleEndianWord(std::span<const std::uint8_t> Bytes)
{
	return static_cast<uint32>(Bytes[0]) | (static_cast<uint32>(Bytes[1]) << 8) | (static_cast<uint32>(Bytes[2]) << 16) |
		(static_cast<uint32>(Bytes[3]) << 24);
}

/** The closing line's size, kept free below the bound so that a trace stopped for its size still ends well. */
constexpr int64 ClosingLineReserve = 256;
} // namespace

FKorvatTrace::FKorvatTrace(Korvat::UE4::HostLink& InLink)
	: Link(InLink)
{
}

FKorvatTrace::~FKorvatTrace()
{
	Stop();
}

FString FKorvatTrace::DefaultPath()
{
	return FPaths::Combine(FPaths::ProjectLogDir(), FString::Printf(TEXT("KorvatTrace-%s.jsonl"), *FDateTime::Now().ToString()));
}

FString FKorvatTrace::ResolvePath(const FString& Name)
{
	return FPaths::IsRelative(Name) ? FPaths::Combine(FPaths::ProjectLogDir(), Name) : Name;
}

bool FKorvatTrace::Start(const FString& InPath, int64 MaxBytes, FString& OutError)
{
	Stop();
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(InPath), true);
	// Readable while it is written, so the trace can be followed live.
	File.Reset(IFileManager::Get().CreateFileWriter(*InPath, FILEWRITE_AllowRead));
	if (!File.IsValid())
	{
		OutError = FString::Printf(TEXT("cannot create %s"), *InPath);
		return false;
	}
	Path = InPath;
	SizeLimit = MaxBytes;
	StartSeconds = FPlatformTime::Seconds();
	BytesWritten = 0;
	MessageCount = 0;

	BeginLine();
	Line += "\"event\":\"started\",\"recorder\":\"plugin\"}\n";
	WriteLine();
	ConnectedSlot = Korvat::UE4::NoSlot;
	if (Link.IsConnected())
	{
		// A trace started mid-session still tells a replay where its connection begins.
		RecordConnected(Link.GetSlotIndex(), Link.GetConnectionReport().ConnectionId);
	}
	Link.SetMessageObserver(this);
	return true;
}

void FKorvatTrace::Stop(const char* Reason)
{
	if (!File.IsValid())
	{
		return;
	}
	Link.SetMessageObserver(nullptr);
	BeginLine();
	Line += "\"event\":\"stopped\"";
	if (Reason != nullptr)
	{
		Line += ",\"reason\":\"";
		Korvat::UE4::AppendJsonEscaped(Line, Reason);
		Line += '"';
	}
	Line += ",\"messages\":";
	AppendNumber(Line, static_cast<uint64>(MessageCount));
	Line += "}\n";
	File->Serialize(Line.data(), static_cast<int64>(Line.size()));
	BytesWritten += static_cast<int64>(Line.size());
	File->Close();
	File.Reset();
}

void FKorvatTrace::OnConditionChanged(const Korvat::UE4::ConnectionReport& Report)
{
	using Korvat::UE4::ConnectionCondition;
	if (Report.Condition == ConnectionCondition::Connected)
	{
		RecordConnected(Report.Slot, Report.ConnectionId);
		return;
	}
	if (ConnectedSlot == Korvat::UE4::NoSlot)
	{
		return;
	}
	BeginLine();
	Line += "\"event\":\"disconnected\",\"slot\":";
	AppendNumber(Line, ConnectedSlot);
	Line += ",\"reason\":\"";
	Line += Korvat::UE4::ToString(Report.Condition);
	Line += "\"}\n";
	ConnectedSlot = Korvat::UE4::NoSlot;
	WriteLine();
}

void FKorvatTrace::RecordConnected(uint32 Slot, const Korvat::UE4::GUID& ConnectionId)
{
	ConnectedSlot = Slot;
	BeginLine();
	Line += "\"event\":\"connected\",\"slot\":";
	AppendNumber(Line, Slot);
	Line += ",\"connection\":\"";
	Korvat::UE4::AppendGuidText(Line, ConnectionId);
	Line += "\"}\n";
	WriteLine();
}

void FKorvatTrace::RecordShareParameter(uint32 Tag, uint32 Id, std::span<const uint8> Payload, int32 FrameMarker)
{
	BeginLine();
	Line += "\"from\":\"plugin\",\"via\":\"share\",\"frameMarker\":";
	Line += std::to_string(FrameMarker);
	Line += ',';
	// Read back as the message it stands for: the id first, then the payload.
	MessageScratch.assign({static_cast<uint8>(Id), static_cast<uint8>(Id >> 8), static_cast<uint8>(Id >> 16), static_cast<uint8>(Id >> 24)});
	MessageScratch.insert(MessageScratch.end(), Payload.begin(), Payload.end());
	// A published transform carries doubles, a layout only the pipe's message is decoded for.
	EndMessageLine(Tag, MessageScratch, Tag != Korvat::UE4::Tag::MTXV);
}

void FKorvatTrace::OnInbound(std::span<const std::uint8_t> Message)
{
	BeginLine();
	Line += "\"from\":\"host\",\"slot\":";
	AppendNumber(Line, Link.GetSlotIndex());
	Line += ',';
	if (Message.size() < 4)
	{
		Line += "\"malformed\":true,\"size\":";
		AppendNumber(Line, Message.size());
		Line += ",\"payload\":\"";
		Korvat::UE4::AppendHex(Line, Message);
		Line += "\"}\n";
		WriteLine();
		return;
	}
	EndMessageLine(LittleEndianWord(Message), Message.subspan(4), true);
}

void FKorvatTrace::OnOutbound(std::uint32_t Tag, std::span<const std::uint8_t> Payload)
{
	BeginLine();
	Line += "\"from\":\"plugin\",\"slot\":";
	AppendNumber(Line, Link.GetSlotIndex());
	Line += ',';
	EndMessageLine(Tag, Payload, true);
}

void FKorvatTrace::BeginLine()
{
	Line.clear();
	Line += "{\"frame\":";
	AppendNumber(Line, GFrameCounter);
	char Time[32];
	const int Length = std::snprintf(Time, sizeof(Time), ",\"time\":%.6f,", FPlatformTime::Seconds() - StartSeconds);
	Line.append(Time, static_cast<size_t>(Length > 0 ? Length : 0));
}

void FKorvatTrace::EndMessageLine(std::uint32_t Tag, std::span<const std::uint8_t> Payload, bool bDecodable)
{
	// The message's own object, {"tag":...}, joins this line's object without its braces.
	const size_t ObjectStart = Line.size();
	if (!bDecodable)
	{
		Line += "{\"tag\":\"";
		const char TagBytes[4] = {static_cast<char>(Tag), static_cast<char>(Tag >> 8), static_cast<char>(Tag >> 16), static_cast<char>(Tag >> 24)};
		Korvat::UE4::AppendJsonEscaped(Line, std::string_view(TagBytes, sizeof(TagBytes)));
		Line += "\",\"id\":";
		AppendNumber(Line, LittleEndianWord(Payload));
		Line += '}';
	}
	else
	{
		Korvat::UE4::AppendMessageJson(Line, Tag, Payload);
	}
	Line.erase(ObjectStart, 1);
	Line.back() = ',';
	Line += "\"payload\":\"";
	Korvat::UE4::AppendHex(Line, Payload);
	Line += "\"}\n";
	++MessageCount;
	WriteLine();
}

void FKorvatTrace::WriteLine()
{
	if (!File.IsValid())
	{
		return;
	}
	if (BytesWritten + static_cast<int64>(Line.size()) > SizeLimit - ClosingLineReserve)
	{
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Korvat trace stopped: it reached its size limit of %lld bytes (%s)"), SizeLimit, *Path);
		Stop("size limit");
		return;
	}
	File->Serialize(Line.data(), static_cast<int64>(Line.size()));
	BytesWritten += static_cast<int64>(Line.size());
}
