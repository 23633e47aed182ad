// Plays the Korvat host against plug-in processes on this machine: owns the shared slot table and the
// machine-wide mutex, accepts, refuses, drops and frees slots, creates each connection's host-side
// objects, sends any message of the catalogue and reads everything the plug-in writes.
//
// Single-threaded and polled: call Poll() regularly. The server monitor mutexes are created owned by the
// thread that calls Accept, so that thread must live as long as the connections it accepted.
#pragma once

#include "UE4ComCommon.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Korvat::Host
{

using Korvat::UE4::GUID;

/** Which of its per-connection objects the host creates when it accepts a slot (to play a faulty host). */
struct HostObjectSet
{
	bool bServerMonitor = true;
	bool bDataSentEvent = true;
	bool bInboundPipe = true;
	bool bSyncEvent = true;
};

struct HostSimulatorOptions
{
	/** Accept every requested slot during Poll. */
	bool bAutoAccept = true;
	/** Objects created on each accept. */
	HostObjectSet Objects;
	/** Room the system keeps for messages the plug-in has not read yet on each inbound pipe. */
	std::uint32_t InboundPipeBufferBytes = 65536;
};

/** One message the plug-in wrote on a connection's outbound pipe. */
struct ReceivedMessage
{
	std::uint32_t Slot = 0;
	std::uint32_t Tag = 0;
	std::vector<std::uint8_t> Payload;
	/** Shorter than a tag: Tag is 0 and Payload holds the bytes exactly as received. */
	bool bMalformed = false;
};

/** A snapshot of one slot of the shared table. */
struct SlotSnapshot
{
	std::int32_t State = 0;
	GUID ConnectionId;
	std::int32_t ClientCode = 0;
	GUID LaunchId;
	std::uint8_t LaunchIdGenerated = 0;
	std::uint8_t GameRunning = 0;
};

/** What happened to a slot during Poll, for transcripts. */
struct SlotNotice
{
	enum class EKind : std::uint8_t
	{
		Requested,   ///< A plug-in claimed the slot.
		Accepted,    ///< The host created its objects and offered the slot.
		Connected,   ///< The plug-in opened the host's objects and marked the slot connected.
		ClientGone,  ///< The plug-in's monitor mutex was abandoned or the slot was freed by the plug-in.
		AcceptFailed, ///< Auto-accept could not create an object; the slot was refused (4), reason in LastError.
	};
	EKind Kind = EKind::Requested;
	std::uint32_t Slot = 0;
};

class HostSimulator
{
public:
	explicit HostSimulator(HostSimulatorOptions Options = {});
	~HostSimulator();
	HostSimulator(const HostSimulator&) = delete;
	HostSimulator& operator=(const HostSimulator&) = delete;

	/**
	 * Creates the shared table and the machine-wide mutex. If a previous host left a table behind (kept
	 * alive by plug-ins still holding it), slots in states 2 and 3 are dropped (4) and state 1 is treated
	 * as a new request. False (with a reason in LastError) when the objects cannot be created.
	 */
	bool Start();
	/** Drops every connection (4), closes all host objects. */
	void Stop();
	bool IsRunning() const;

	/**
	 * Accepts requested slots (with bAutoAccept), notices connected and departed plug-ins, and reads every
	 * message waiting on the connections' outbound pipes. Returns what changed.
	 */
	std::vector<SlotNotice> Poll();
	/** Hands out the messages received so far, in arrival order per slot. */
	std::vector<ReceivedMessage> TakeReceived();

	// Slot control (each takes and gives back the machine-wide mutex).
	SlotSnapshot ReadSlot(std::uint32_t Slot) const;
	/** Creates the host objects of a requested slot, opens the plug-in's outbound pipe and writes 2. */
	bool Accept(std::uint32_t Slot);
	bool Accept(std::uint32_t Slot, const HostObjectSet& Objects);
	/** Ends or refuses a connection: closes the host objects of the slot and writes 4. */
	void Drop(std::uint32_t Slot);
	/** Writes 0 and closes the host objects of the slot. */
	void Free(std::uint32_t Slot);
	/** Writes any state (for tests that fill the table). */
	void WriteSlotState(std::uint32_t Slot, std::int32_t State);
	/** Holds the machine-wide mutex until ReleaseTable (for tests of waiting plug-ins). */
	void HoldTable();
	void ReleaseTable();

	// Sending to the plug-in on a connection's inbound pipe.
	bool Send(std::uint32_t Slot, std::uint32_t Tag, std::span<const std::uint8_t> Payload);
	/** Sends bytes as one message exactly as given (tag included), for malformed-message tests. */
	bool SendRaw(std::uint32_t Slot, std::span<const std::uint8_t> Message);
	/** True while the slot has host objects (accepted and not dropped or freed). */
	bool HasConnection(std::uint32_t Slot) const;
	/** The connection GUID text of an accepted slot ("{...}"), empty otherwise. */
	std::wstring ConnectionName(std::uint32_t Slot) const;

	const std::string& LastError() const;

private:
	struct FState;
	std::unique_ptr<FState> State;
};

} // namespace Korvat::Host
