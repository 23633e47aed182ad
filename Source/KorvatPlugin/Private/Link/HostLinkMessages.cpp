// The message half of the link: outbound writes and typed senders, the inbound drain, and the accessors
// of the state that inbound messages leave behind.
#include "HostLink.h"

#include "Platform/System.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

namespace Korvat::UE4
{

namespace
{

void StoreInt32(std::uint8_t* Out, std::int32_t Value) noexcept
{
	const auto Bits = static_cast<std::uint32_t>(Value);
	Out[0] = static_cast<std::uint8_t>(Bits);
	Out[1] = static_cast<std::uint8_t>(Bits >> 8);
	Out[2] = static_cast<std::uint8_t>(Bits >> 16);
	Out[3] = static_cast<std::uint8_t>(Bits >> 24);
}

void StoreGuid(std::uint8_t* Out, const GUID& Guid) noexcept
{
	// GUID is laid out in memory exactly as it travels (Data1..Data3 little-endian on every target we build).
	std::memcpy(Out, &Guid, sizeof(GUID));
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Outbound

LinkResult HostLink::WriteMessage(std::uint32_t Tag, const void* Payload, std::int32_t Length) noexcept
{
	if (!OutboundPipe.IsValid() || Length < 0 || !FitsOneMessage(static_cast<std::size_t>(Length)) ||
		(Length > 0 && Payload == nullptr))
	{
		return LinkResult::WriteFailed;
	}

	std::uint8_t Head[4];
	StoreInt32(Head, static_cast<std::int32_t>(Tag));
	const std::span<const std::uint8_t> Body(static_cast<const std::uint8_t*>(Payload), static_cast<std::size_t>(Length));
	const Platform::WriteResult Result = OutboundPipe.Write(std::as_bytes(std::span<const std::uint8_t>(Head)), std::as_bytes(Body));
	if (Result != Platform::WriteResult::Completed && Result != Platform::WriteResult::Pending)
	{
		++FailedWrites.Total;
		if (!FailedWrites.bFailing)
		{
			FailedWrites.bFailing = true;
			FailedWrites.FirstResult = Result;
		}
		return LinkResult::WriteFailed;
	}
	FailedWrites.bFailing = false;
	++Counters.Sent[TagCounterIndex(Tag)];
	if (Recorder != nullptr)
	{
		Recorder->OnOutbound(Tag, Body);
	}
	return LinkResult::Ok;
}

LinkResult HostLink::SendVersion() noexcept
{
	std::uint8_t Payload[12];
	StoreInt32(Payload + 0, EngineMajor);
	StoreInt32(Payload + 4, EngineMinor);
	StoreInt32(Payload + 8, EnginePatch);
	return WriteMessage(Tag::UVER, Payload, sizeof(Payload));
}

LinkResult HostLink::RequestFieldList(const std::string& Name, IKorvatNodeFieldSync* Requester)
{
	// Refused before anything is recorded or allocated.
	if (Name.size() > MaxPayloadSize - sizeof(GUID) - 1)
	{
		return LinkResult::WriteFailed;
	}
	GUID RequestId;
	if (!Platform::CreateGuid(RequestId))
	{
		return LinkResult::WriteFailed;
	}
	PendingFieldListRequests.insert_or_assign(RequestId, Requester);

	std::vector<std::uint8_t> Payload(sizeof(GUID) + Name.size() + 1);
	StoreGuid(Payload.data(), RequestId);
	std::memcpy(Payload.data() + sizeof(GUID), Name.data(), Name.size());
	Payload.back() = 0;
	return WriteMessage(Tag::FLDQ, Payload.data(), static_cast<std::int32_t>(Payload.size()));
}

void HostLink::CancelFieldListRequests(IKorvatNodeFieldSync* Requester) noexcept
{
	std::erase_if(PendingFieldListRequests, [Requester](const auto& Entry) { return Entry.second == Requester; });
}

LinkResult HostLink::SendFieldList(const GUID& RequestId, const std::vector<FieldDescriptor>& Fields)
{
	if (!OutboundPipe.IsValid())
	{
		return LinkResult::WriteFailed;
	}

	std::size_t Size = sizeof(GUID);
	for (const FieldDescriptor& Field : Fields)
	{
		// Checked per record, so the sum cannot wrap before the check.
		if (Field.Name.size() > MaxPayloadSize - Size - 3)
		{
			return LinkResult::WriteFailed;
		}
		Size += Field.Name.size() + 3;
	}

	std::vector<std::uint8_t> Payload(Size);
	StoreGuid(Payload.data(), RequestId);
	std::size_t Cursor = sizeof(GUID);
	for (const FieldDescriptor& Field : Fields)
	{
		Payload[Cursor++] = static_cast<std::uint8_t>(Field.Type & 0xFF);
		Payload[Cursor++] = Field.IsFromKorvat ? 1 : 0;
		std::memcpy(Payload.data() + Cursor, Field.Name.data(), Field.Name.size());
		Cursor += Field.Name.size();
		Payload[Cursor++] = 0;
	}
	return WriteMessage(Tag::FLDS, Payload.data(), static_cast<std::int32_t>(Payload.size()));
}

LinkResult HostLink::SendTextureShareList(const std::vector<GUID>& Ids)
{
	if (!OutboundPipe.IsValid())
	{
		return LinkResult::WriteFailed;
	}

	if (Ids.size() > (MaxPayloadSize - 4) / sizeof(GUID))
	{
		return LinkResult::WriteFailed;
	}
	std::vector<std::uint8_t> Payload(4 + sizeof(GUID) * Ids.size());
	StoreInt32(Payload.data(), static_cast<std::int32_t>(Ids.size()));
	for (std::size_t Index = 0; Index < Ids.size(); ++Index)
	{
		StoreGuid(Payload.data() + 4 + sizeof(GUID) * Index, Ids[Index]);
	}
	return WriteMessage(Tag::TSHR, Payload.data(), static_cast<std::int32_t>(Payload.size()));
}

LinkResult HostLink::SendAlphaPropagation(std::int32_t Mode) noexcept
{
	std::uint8_t Payload[4];
	StoreInt32(Payload, Mode);
	return WriteMessage(Tag::LPHA, Payload, sizeof(Payload));
}

LinkResult HostLink::SendErrorText(const std::string& Text) noexcept
{
	if (!FitsOneMessage(Text.size()))
	{
		return LinkResult::WriteFailed;
	}
	return WriteMessage(Tag::VERR, Text.data(), static_cast<std::int32_t>(Text.size()));
}

LinkResult HostLink::SendViewports(
	std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D, std::int32_t E, std::int32_t F) noexcept
{
	std::uint8_t Payload[24];
	const std::int32_t Values[6] = {A, B, C, D, E, F};
	for (int Index = 0; Index < 6; ++Index)
	{
		StoreInt32(Payload + 4 * Index, Values[Index]);
	}
	return WriteMessage(Tag::VIEW, Payload, sizeof(Payload));
}

// ---------------------------------------------------------------------------------------------------------
// Inbound drain

LinkResult HostLink::ReadMessages(
	FieldListCallback OnFieldList, FieldListRequestMap& FieldListRequests, QualityCallback OnQuality, AcceptedCallback OnAccepted)
{
	Platform::ScopedSection Scope(Section);
	if (!HoldsSlot())
	{
		return LinkResult::NotAttached;
	}

	// Reclaim finished writes once per frame even when nothing new is written; skip the call when none waits.
	if (OutboundPipe.PendingWrites() != 0)
	{
		OutboundPipe.Reclaim();
	}

	// What is left past the caps stays in the pipe, in order, for the next call.
	std::uint32_t MessagesTaken = 0;
	std::size_t BytesTaken = 0;
	for (; MessagesTaken < MaxMessagesPerRead; ++MessagesTaken)
	{
		std::uint32_t Size = 0;
		if (InboundPipe.Peek(Size) != Platform::PipeResult::Ok)
		{
			break;
		}
		// The first message of a call is taken whatever its size, or one larger than the budget would never be.
		if (MessagesTaken > 0 && Size > MaxBytesPerRead - std::min(BytesTaken, MaxBytesPerRead))
		{
			break;
		}
		BytesTaken += Size;

		if (Size == 0)
		{
			// An empty message blocks every message behind it until a read of 0 bytes takes it away.
			std::uint8_t Unused = 0;
			std::uint32_t BytesRead = 0;
			const Platform::PipeResult Result = InboundPipe.Read(&Unused, 0, BytesRead);
			if (Result != Platform::PipeResult::Ok)
			{
				break;
			}
			if (Recorder != nullptr)
			{
				Recorder->OnInbound({});
			}
			DispatchMessage(nullptr, 0, OnFieldList, FieldListRequests, OnQuality, OnAccepted);
			continue;
		}

		if (ReadBuffer.size() < Size)
		{
			ReadBuffer.resize(Size);
		}

		// Read exactly what the peek reported: a larger read would run into the next message on a byte-mode
		// handle. A short read asks only for what is still missing.
		std::uint32_t Received = 0;
		Platform::PipeResult Result = Platform::PipeResult::Ok;
		while (Received < Size)
		{
			std::uint32_t BytesRead = 0;
			Result = InboundPipe.Read(ReadBuffer.data() + Received, Size - Received, BytesRead);
			const bool bProgress = BytesRead > 0 && BytesRead <= Size - Received;
			if (bProgress)
			{
				Received += BytesRead;
			}
			if ((Result != Platform::PipeResult::Ok && Result != Platform::PipeResult::MoreData) || !bProgress)
			{
				break;
			}
		}

		if (Received == Size)
		{
			if (Recorder != nullptr)
			{
				Recorder->OnInbound(std::span<const std::uint8_t>(ReadBuffer.data(), Size));
			}
			DispatchMessage(ReadBuffer.data(), Size, OnFieldList, FieldListRequests, OnQuality, OnAccepted);
			continue;
		}

		// The message is dropped. Go on with the next one unless the pipe is gone, or this read took nothing
		// at all (the same message would be peeked again forever).
		if (Result == Platform::PipeResult::Broken || Received == 0)
		{
			break;
		}
	}
	return LinkResult::Ok;
}

std::vector<std::string> HostLink::TakeInputPackets()
{
	Platform::ScopedSection Scope(Section);
	return std::exchange(Inbound.InputPackets, {});
}

LinkResult HostLink::DrainEvents(const EventCallback& Callback)
{
	Platform::ScopedSection Scope(Section);
	if (!HoldsSlot())
	{
		return LinkResult::NotAttached;
	}

	// Take the queue first: a callback may call back into the link and queue or clear events meanwhile.
	std::vector<QueuedEvent> Taken;
	Taken.swap(Inbound.Events);
	if (Callback)
	{
		for (const QueuedEvent& Event : Taken)
		{
			Callback(Event.Id, Event.Argument);
		}
	}
	if (Inbound.Events.empty())
	{
		// Keep the queue's storage for the next frame.
		Taken.clear();
		Inbound.Events.swap(Taken);
	}
	return LinkResult::Ok;
}

// ---------------------------------------------------------------------------------------------------------
// Link-state accessors

bool HostLink::GetPendingResolution(std::int32_t& Width, std::int32_t& Height) const noexcept
{
	if (!ResolutionChanged)
	{
		return false;
	}
	Width = PendingWidth;
	Height = PendingHeight;
	return true;
}

void HostLink::ResetLastResolution() noexcept
{
	LastWidth = 0;
	LastHeight = 0;
}

FromKorvatClock HostLink::GetClock() const noexcept
{
	return Clock;
}

float HostLink::GetCameraAspect() const noexcept
{
	if (LastWidth != 0 && LastHeight != 0)
	{
		return static_cast<float>(LastWidth) / static_cast<float>(LastHeight);
	}
	return Inbound.Projection[5] / Inbound.Projection[0];
}

void HostLink::ClearInbound() noexcept
{
	Inbound.InputPackets.clear();
	Inbound.Events.clear();
	Inbound.IntValues.clear();
	Inbound.FloatValues.clear();
	Inbound.StringValues.clear();
	Inbound.BoolValues.clear();
	Inbound.IntArrays.clear();
	Inbound.FloatArrays.clear();
	Inbound.StringArrays.clear();
	Inbound.BoolArrays.clear();
	Inbound.Colors.clear();
	Inbound.Matrices.clear();
	Inbound.MatricesByIdentifier.clear();
	Inbound.HostErrorText.clear();
	std::memset(Inbound.Viewports, 0, sizeof(Inbound.Viewports));
}

} // namespace Korvat::UE4
