// The plug-in's link to the Korvat host: session over the shared slot table, message framing on the two
// pipes, and the state decoded from what the host sends.
#pragma once

#include "CallbackRef.h"
#include "InboundStore.h"
#include "LinkDiagnostics.h"
#include "Platform/CriticalSection.h"
#include "Platform/MessagePipe.h"
#include "Platform/NamedEvent.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"
#include "UE4ComCommon.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Korvat::UE4
{

/** Field lists asked of this process by the host ("FLD?"): request GUID to node name. */
using FieldListRequestMap = std::unordered_map<GUID, std::string, GuidHash>;

// Callbacks are references to callables that the caller owns for the duration of the call.
using FieldListCallback = CallbackRef<void(IKorvatNodeFieldSync* Requester, const std::vector<FieldDescriptor>& Fields)>;
using QualityCallback = CallbackRef<void(RenderQuality Quality)>;
using AcceptedCallback = CallbackRef<void(const DecodedMessage& Message)>;
using EventCallback = CallbackRef<void(std::int32_t Id, std::int32_t Argument)>;

/**
 * One connection to the host. Connect advances the session by at most one stage per call and never waits
 * for the host; a lost host is noticed by the next call, which closes everything and starts over.
 * Everything runs on one thread (the engine's game thread); the recursive section guards the state and
 * the machine-wide mutex guards the shared slot table.
 */
class HostLink
{
public:
	HostLink() noexcept;
	virtual ~HostLink();

	HostLink(const HostLink&) = delete;
	HostLink& operator=(const HostLink&) = delete;

	// Session.

	/** Advances the session by one step; Ok, HostUnavailable or NoFreeSlot. */
	LinkResult Connect(const GUID& LaunchId, bool LaunchIdGenerated);
	bool IsConnected() const noexcept;
	/** The engine version announced in the next "UVER". */
	void SetEngineVersion(std::int32_t Major, std::int32_t Minor, std::int32_t Patch) noexcept;
	/** Writes the game-running byte of the held slot; nothing without a slot. */
	void WriteGameRunning(bool Running) noexcept;
	/** Closes every object; safe at any time and repeatedly. Leaves the shared table and the inbound state alone. */
	void Close() noexcept;
	/** Frees the held slot in the shared table and closes; NotAttached (after closing) without a slot. */
	LinkResult Release() noexcept;
	/** Enters the section, then takes the machine-wide mutex unless this object already holds it. */
	void Lock() noexcept;
	/** Gives the machine-wide mutex back and leaves the section once. */
	void Unlock() noexcept;

	// Outbound messages.

	/**
	 * The largest payload one message carries: tag and payload together must stay within a signed 32-bit size,
	 * which every write and read call on both ends of a pipe can express.
	 */
	static constexpr std::size_t MaxPayloadSize = 0x7FFFFFFF - 4;
	static constexpr bool FitsOneMessage(std::size_t PayloadSize) noexcept { return PayloadSize <= MaxPayloadSize; }

	/** Writes Tag and Payload as one message; Ok when written or pending, WriteFailed otherwise. */
	LinkResult WriteMessage(std::uint32_t Tag, const void* Payload, std::int32_t Length) noexcept;
	LinkResult SendVersion() noexcept;
	/** Records Requester under a new GUID and asks the host for the field list of Name ("FLD?"). */
	LinkResult RequestFieldList(const std::string& Name, IKorvatNodeFieldSync* Requester);
	/** Withdraws every open field-list request of Requester, so no answer can reach it any more. */
	void CancelFieldListRequests(IKorvatNodeFieldSync* Requester) noexcept;
	LinkResult SendFieldList(const GUID& RequestId, const std::vector<FieldDescriptor>& Fields);
	LinkResult SendTextureShareList(const std::vector<GUID>& Ids);
	LinkResult SendAlphaPropagation(std::int32_t Mode) noexcept;
	LinkResult SendErrorText(const std::string& Text) noexcept;
	LinkResult SendViewports(std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D, std::int32_t E, std::int32_t F) noexcept;

	// Inbound messages and link state.

	/**
	 * The most one ReadMessages call takes from the inbound pipe; the rest waits in the pipe for the next
	 * call, in order. A frame's traffic is a few hundred bytes (camera, projection, clock, a few values;
	 * images travel through texture sharing), so these leave ample room for bursts while a host that
	 * writes without pause cannot hold the game thread. At 60 frames a second they still admit 15 000
	 * messages and 15 MiB a second. A single message larger than the byte budget is read on its own.
	 */
	static constexpr std::uint32_t MaxMessagesPerRead = 256;
	static constexpr std::size_t MaxBytesPerRead = std::size_t{256} << 10;

	/**
	 * Dispatches the messages waiting in the inbound pipe in order, up to the caps above (the rest waits for
	 * the next call); NotAttached without a slot.
	 */
	LinkResult ReadMessages(FieldListCallback OnFieldList, FieldListRequestMap& FieldListRequests, QualityCallback OnQuality,
		AcceptedCallback OnAccepted);
	/**
	 * Decodes one whole message (tag included) into the link state and makes the callbacks it calls for.
	 * Any bytes are safe: a message too short for its tag's layout is dropped.
	 */
	void DispatchMessage(const std::uint8_t* Message, std::size_t Size, const FieldListCallback& OnFieldList,
		FieldListRequestMap& FieldListRequests, const QualityCallback& OnQuality, const AcceptedCallback& OnAccepted);
	/** Hands out the queued input packets and empties the queue. */
	std::vector<std::string> TakeInputPackets();
	/** Calls Callback for each queued event in order, then empties the queue; NotAttached (queue kept) without a slot. */
	LinkResult DrainEvents(const EventCallback& Callback);
	/** The size of the latest "RESN" while it differs from the one before. */
	bool GetPendingResolution(std::int32_t& Width, std::int32_t& Height) const noexcept;
	void ResetLastResolution() noexcept;
	FromKorvatClock GetClock() const noexcept;
	float GetCameraAspect() const noexcept;
	/** Empties queues, value maps and the host's error text; keeps camera, projection and link state. */
	void ClearInbound() noexcept;

	// Read-only views for diagnostics and tests.

	/** Why the session stands where it does after the latest Connect; Changes moves on with every change. */
	const ConnectionReport& GetConnectionReport() const noexcept { return LastReport; }
	const MessageCounters& GetMessageCounters() const noexcept { return Counters; }
	const WriteFailures& GetWriteFailures() const noexcept { return FailedWrites; }
	/** Outbound writes the pipe has accepted and not yet delivered. */
	std::uint32_t GetPendingWrites() const noexcept { return OutboundPipe.PendingWrites(); }
	/** The size of the latest "RESN", 0 by 0 before any. */
	void GetLastResolution(std::int32_t& Width, std::int32_t& Height) const noexcept
	{
		Width = LastWidth;
		Height = LastHeight;
	}
	/** Lets Observer see every message from now on (null stops it); the observer must outlive its registration. */
	void SetMessageObserver(MessageObserver* Observer) noexcept { Recorder = Observer; }

	std::uint32_t GetSlotIndex() const noexcept { return SlotIndex; }
	std::int32_t GetLastSlotState() const noexcept { return LastSlotState; }
	std::size_t GetPendingFieldListRequestCount() const noexcept { return PendingFieldListRequests.size(); }
	/** The GUID of an open field-list request of Requester; false when it has none. */
	bool FindPendingFieldListRequest(const IKorvatNodeFieldSync* Requester, GUID& OutRequestId) const noexcept
	{
		for (const auto& [RequestId, Pending] : PendingFieldListRequests)
		{
			if (Pending == Requester)
			{
				OutRequestId = RequestId;
				return true;
			}
		}
		return false;
	}

private:
	bool HoldsSlot() const noexcept { return SlotIndex < SlotCount; }
	/** Whether the held slot still carries this link's connection GUID; call with the table locked. */
	bool SlotIsStillOurs() const noexcept;
	bool OpenSharedTable() noexcept;
	bool HostHasEnded() noexcept;
	void ClaimSlot(const GUID& LaunchId, bool LaunchIdGenerated) noexcept;
	void StepSlotState() noexcept;
	bool OpenHostObjects(const GUID& ConnectionId) noexcept;
	/** Records the session's condition; a change of condition, slot or failed object counts as a change. */
	void ReportCondition(ConnectionCondition Condition, std::uint32_t Slot) noexcept;
	/** Records that Object could not be opened or created, for the report that follows. */
	void NoteObjectFailure(const char* Object, Platform::OpenResult Result) noexcept;
	void ApplyResolution(std::int32_t Width, std::int32_t Height) noexcept;
	void DeliverFieldList(const std::uint8_t* Payload, std::size_t Size, const FieldListCallback& OnFieldList);

	SharedSlotTable* Slots = nullptr;
	Platform::SharedMemory Mapping;
	Platform::NamedMutex GlobalMutex;
	Platform::NamedMutex ServerMonitor;
	Platform::NamedMutex ClientMonitor;
	Platform::NamedEvent DataSentEvent;
	Platform::NamedEvent SyncEvent;
	std::uint32_t SlotIndex = NoSlot;
	/**
	 * The connection GUID written into the slot at claim time. The host may free the slot and another
	 * plug-in claim it between two of our steps; its GUID then tells the slot is no longer ours.
	 */
	GUID ClaimedConnectionId;
	bool GlobalMutexHeld = false;
	std::int32_t LastSlotState = 0;
	Platform::CriticalSection Section;

	bool ResolutionChanged = false;
	std::int32_t PendingWidth = 0;
	std::int32_t PendingHeight = 0;
	std::int32_t LastWidth = 0;
	std::int32_t LastHeight = 0;
	FromKorvatClock Clock;

	Platform::MessagePipeReader InboundPipe;
	Platform::MessagePipeWriter OutboundPipe;
	std::unordered_map<GUID, IKorvatNodeFieldSync*, GuidHash> PendingFieldListRequests;
	std::int32_t EngineMajor = 0;
	std::int32_t EngineMinor = 0;
	std::int32_t EnginePatch = 0;

	ConnectionReport LastReport;
	/** The first object that failed in the current step; reported with the condition the step ends in. */
	ObjectFailure StepFailure;
	MessageCounters Counters;
	WriteFailures FailedWrites;
	MessageObserver* Recorder = nullptr;

	/** Reused for every inbound message, so draining allocates only when a larger message arrives. */
	std::vector<std::uint8_t> ReadBuffer;

public:
	/** What the host sent, read directly by the module's value and camera accessors (game thread only). */
	InboundStore Inbound;
};

} // namespace Korvat::UE4
