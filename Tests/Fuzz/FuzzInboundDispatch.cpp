// Any bytes as one inbound message, dispatched into a link with every callback set. The link must neither
// crash nor read outside the message, whatever arrives.
#include "HostLink.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
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
