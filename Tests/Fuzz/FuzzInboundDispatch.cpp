// Any bytes as one inbound message, dispatched into a link with every callback set, and described as the
// link's trace describes it. Neither may crash nor read outside the message, whatever arrives.
#include "HostLink.h"
#include "MessageDescription.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace
{

class FuzzNode final : public IKorvatNodeFieldSync
{
public:
	void UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields) override { Count += Fields.size(); }
	std::size_t Count = 0;
};

/** Where the callbacks leave what they read, so the reads cannot be optimised away. */
std::size_t Sink = 0;

/** Names every odd id (with bytes that need escaping) and summarises packets that start with '#'. */
class FuzzJsonContext final : public Korvat::UE4::MessageJsonContext
{
public:
	const std::string* FindValueName(std::uint32_t Id) const override { return (Id & 1) != 0 ? &Name : nullptr; }
	bool SummarizeInputPacket(std::span<const std::uint8_t> Packet, std::string& Summary) const override
	{
		if (Packet.empty() || Packet[0] != '#')
		{
			return false;
		}
		Summary.assign(reinterpret_cast<const char*>(Packet.data()), Packet.size());
		return true;
	}

private:
	std::string Name = "odd \"id\"\x01\xC3";
};

/** Describes the input as the trace would: its first four bytes as the tag, the rest as the payload. */
void DescribeInput(const std::uint8_t* Data, std::size_t Size)
{
	static const FuzzJsonContext Context;
	static std::string Json;
	std::uint32_t MessageTag = 0;
	const std::size_t PayloadSize = Size < 4 ? 0 : Size - 4;
	// A block of exactly the payload's size: a read past the message is then a heap overflow.
	const auto Payload = std::make_unique<std::uint8_t[]>(PayloadSize);
	if (Size > 0)
	{
		std::memcpy(&MessageTag, Data, Size < 4 ? Size : 4);
		std::memcpy(Payload.get(), Data + Size - PayloadSize, PayloadSize);
	}
	const std::span<const std::uint8_t> View(Payload.get(), PayloadSize);
	Json.clear();
	Korvat::UE4::AppendMessageJson(Json, MessageTag, View, nullptr);
	Sink += Json.size();
	Json.clear();
	Korvat::UE4::AppendMessageJson(Json, MessageTag, View, &Context);
	Sink += Json.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
	using namespace Korvat::UE4;

	// One link for the whole run, so state built by earlier inputs (maps, changed identifiers) meets later ones.
	static HostLink Link;
	static FieldListRequestMap FieldListRequests;
	static FuzzNode Node;

	// Keep one field-list request open. Its GUID is random, so an "FLDS" input gets it written over its first
	// 16 payload bytes: the records behind it then reach the field-list parser.
	GUID RequestId;
	if (!Link.FindPendingFieldListRequest(&Node, RequestId))
	{
		(void)Link.RequestFieldList("fuzz", &Node);
		(void)Link.FindPendingFieldListRequest(&Node, RequestId);
	}

	const auto OnFieldList = [](IKorvatNodeFieldSync* Requester, const std::vector<FieldDescriptor>& Fields)
	{
		if (Requester != nullptr)
		{
			Requester->UpdateNodeFields(Fields);
		}
	};
	const auto OnQuality = [](RenderQuality Quality) { Sink += static_cast<std::size_t>(Quality); };
	const auto OnAccepted = [](const DecodedMessage& Message)
	{
		// Touch every byte the decoder claims, so a wrong Length shows up under the address sanitizer.
		for (std::int32_t Index = 0; Index < Message.Length; ++Index)
		{
			Sink += Message.Data[Index];
		}
	};

	// Copy into a buffer of exactly Size bytes: a read past the message is then a heap overflow.
	std::vector<std::uint8_t> Message(Data, Data + Size);
	if (Size >= 4 + sizeof(GUID) && Message[0] == 'F' && Message[1] == 'L' && Message[2] == 'D' && Message[3] == 'S')
	{
		std::memcpy(Message.data() + 4, &RequestId, sizeof(GUID));
	}
	Link.DispatchMessage(Message.data(), Message.size(), OnFieldList, FieldListRequests, OnQuality, OnAccepted);
	DescribeInput(Data, Size);

	(void)Link.TakeInputPackets();
	if (FieldListRequests.size() > 1024)
	{
		FieldListRequests.clear();
	}
	if (Link.Inbound.Events.size() > 4096 || Link.Inbound.ChangedIdentifiers.size() > 4096)
	{
		Link.ClearInbound();
		Link.Inbound.ChangedIdentifiers.clear();
	}
	return 0;
}
