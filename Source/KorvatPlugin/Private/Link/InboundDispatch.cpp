// Decoding of one inbound message into the link state. Every byte comes from another process: each read
// is checked against the message's size first, and a message too short for its layout is dropped whole.
#include "HostLink.h"

#include <cstring>
#include <limits>

namespace Korvat::UE4
{

namespace
{

std::uint32_t LoadUInt32(const std::uint8_t* Bytes) noexcept
{
	return static_cast<std::uint32_t>(Bytes[0]) | (static_cast<std::uint32_t>(Bytes[1]) << 8) |
		(static_cast<std::uint32_t>(Bytes[2]) << 16) | (static_cast<std::uint32_t>(Bytes[3]) << 24);
}

std::int32_t LoadInt32(const std::uint8_t* Bytes) noexcept
{
	return static_cast<std::int32_t>(LoadUInt32(Bytes));
}

constexpr std::size_t IdSize = 4;
constexpr std::size_t IdentifierSize = sizeof(GUID);
constexpr std::size_t MatrixPayloadSize = IdSize + IdentifierSize + 16 * sizeof(float);

/** The fewest payload bytes a well-formed message of this tag carries; 0 for tags without a fixed part. */
std::size_t MinimumPayloadSize(std::uint32_t MessageTag) noexcept
{
	switch (MessageTag)
	{
	case Tag::CAMR:
	case Tag::PROJ:
		return 64;
	case Tag::UVER:
		return 12;
	case Tag::VIEW:
	case Tag::CLCK:
		return 24;
	case Tag::RESN:
	case Tag::VINT:
	case Tag::VFLT:
		return 8;
	case Tag::VBOL:
		return 5;
	case Tag::QLTY:
	case Tag::ITAC:
	case Tag::EVNT:
	case Tag::VSTR:
	case Tag::AINT:
	case Tag::AFLT:
	case Tag::ABOL:
	case Tag::ASTR:
		return 4;
	case Tag::MTXV:
		return MatrixPayloadSize;
	case Tag::FLDQ:
	case Tag::FLDS:
		return IdentifierSize;
	default:
		return 0;
	}
}

/** Fills the decoded record of a message whose payload holds at least its tag's minimum. False drops it. */
bool Decode(std::uint32_t MessageTag, const std::uint8_t* Payload, std::size_t PayloadSize, DecodedMessage& Out) noexcept
{
	Out.Tag = MessageTag;
	Out.Data = Payload;
	Out.Length = static_cast<std::int32_t>(PayloadSize);

	switch (MessageTag)
	{
	case Tag::ITAC:
	{
		const std::int32_t PacketLength = LoadInt32(Payload);
		if (PacketLength < 0 || static_cast<std::size_t>(PacketLength) > PayloadSize - 4)
		{
			return false;
		}
		Out.Data = Payload + 4;
		Out.Length = PacketLength;
		return true;
	}

	case Tag::VINT:
	case Tag::VFLT:
	case Tag::VSTR:
	case Tag::VBOL:
	case Tag::AINT:
	case Tag::AFLT:
	case Tag::ASTR:
	case Tag::ABOL:
	case Tag::EVNT:
		Out.Id = LoadUInt32(Payload);
		Out.Data = Payload + IdSize;
		Out.Length = static_cast<std::int32_t>(PayloadSize - IdSize);
		return true;

	case Tag::MTXV:
	{
		Out.Id = LoadUInt32(Payload);
		std::memcpy(&Out.Identifier, Payload + IdSize, IdentifierSize);
		float Elements[16];
		std::memcpy(Elements, Payload + IdSize + IdentifierSize, sizeof(Elements));
		for (int Index = 0; Index < 16; ++Index)
		{
			Out.Matrix[Index] = static_cast<double>(Elements[Index]);
		}
		Out.Data = reinterpret_cast<const std::uint8_t*>(Out.Matrix);
		Out.Length = static_cast<std::int32_t>(sizeof(Out.Matrix));
		return true;
	}

	default:
		return true;
	}
}

} // namespace

void HostLink::DispatchMessage(const std::uint8_t* Message, std::size_t Size, const FieldListCallback& OnFieldList,
	FieldListRequestMap& FieldListRequests, const QualityCallback& OnQuality, const AcceptedCallback& OnAccepted)
{
	if (Message == nullptr || Size < 4)
	{
		++Counters.Received[KnownTags.size()];
		++Counters.Malformed;
		return;
	}
	const std::uint32_t MessageTag = LoadUInt32(Message);
	++Counters.Received[TagCounterIndex(MessageTag)];
	const std::uint8_t* Payload = Message + 4;
	const std::size_t PayloadSize = Size - 4;
	if (PayloadSize < MinimumPayloadSize(MessageTag) ||
		PayloadSize > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
	{
		++Counters.Malformed;
		return;
	}

	DecodedMessage Decoded;
	if (!Decode(MessageTag, Payload, PayloadSize, Decoded))
	{
		++Counters.Malformed;
		return;
	}

	if (Inbound.Apply(Decoded) && OnAccepted)
	{
		OnAccepted(Decoded);
	}

	switch (MessageTag)
	{
	case Tag::FLDQ:
	{
		GUID RequestId;
		std::memcpy(&RequestId, Payload, sizeof(GUID));
		const auto* NameBegin = reinterpret_cast<const char*>(Payload + sizeof(GUID));
		const std::size_t Available = PayloadSize - sizeof(GUID);
		const void* Terminator = std::memchr(NameBegin, 0, Available);
		const std::size_t NameLength =
			Terminator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(Terminator) - NameBegin) : Available;
		FieldListRequests.insert_or_assign(RequestId, std::string(NameBegin, NameLength));
		break;
	}

	case Tag::CLCK:
		std::memcpy(&Clock, Payload, sizeof(FromKorvatClock));
		break;

	case Tag::RESN:
		ApplyResolution(LoadInt32(Payload), LoadInt32(Payload + 4));
		break;

	case Tag::FLDS:
		DeliverFieldList(Payload, PayloadSize, OnFieldList);
		break;

	case Tag::QLTY:
		if (OnQuality)
		{
			OnQuality(static_cast<RenderQuality>(LoadInt32(Payload)));
		}
		break;

	default:
		break;
	}
}

void HostLink::ApplyResolution(std::int32_t Width, std::int32_t Height) noexcept
{
	ResolutionChanged = !(Width == LastWidth && Height == LastHeight);
	PendingWidth = LastWidth = Width;
	PendingHeight = LastHeight = Height;
}

void HostLink::DeliverFieldList(const std::uint8_t* Payload, std::size_t Size, const FieldListCallback& OnFieldList)
{
	GUID RequestId;
	std::memcpy(&RequestId, Payload, sizeof(GUID));
	const auto Found = PendingFieldListRequests.find(RequestId);
	if (Found == PendingFieldListRequests.end())
	{
		return;
	}
	IKorvatNodeFieldSync* const Requester = Found->second;
	PendingFieldListRequests.erase(Found);

	std::vector<FieldDescriptor> Fields;
	std::size_t Cursor = sizeof(GUID);
	// A record is a type byte, a flag byte and a zero-terminated name. A record cut short by the end of the
	// message keeps what it has when its flag is there; a lone type byte ends the list.
	while (Cursor + 2 <= Size)
	{
		FieldDescriptor& Field = Fields.emplace_back();
		Field.Type = static_cast<std::int32_t>(Payload[Cursor]);
		Field.IsFromKorvat = Payload[Cursor + 1] != 0;
		Cursor += 2;

		const auto* NameBegin = reinterpret_cast<const char*>(Payload + Cursor);
		const std::size_t Available = Size - Cursor;
		const void* Terminator = std::memchr(NameBegin, 0, Available);
		const std::size_t NameLength =
			Terminator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(Terminator) - NameBegin) : Available;
		Field.Name.assign(NameBegin, NameLength);
		Cursor += Terminator != nullptr ? NameLength + 1 : NameLength;
	}

	if (OnFieldList)
	{
		OnFieldList(Requester, Fields);
	}
}

} // namespace Korvat::UE4
