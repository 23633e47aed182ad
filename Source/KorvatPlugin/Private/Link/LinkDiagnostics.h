// What the link reports about itself for diagnostics: why it is or is not connected, how many messages of
// each kind went each way, how its writes fare, and a hook that sees every message.
#pragma once

#include "Platform/PlatformTypes.h"
#include "UE4ComCommon.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace Korvat::UE4
{

/** Where the session stands after the latest Connect, and why. */
enum class ConnectionCondition : std::uint8_t
{
	NotStarted,       ///< Connect has not run yet.
	HostNotRunning,   ///< The host's shared slot table does not exist.
	HostObjectFailed, ///< One of the host's objects exists but could not be opened (see ObjectFailure).
	OwnObjectFailed,  ///< One of this process's objects for the slot could not be created (see ObjectFailure).
	TableFull,        ///< Every slot of the table is taken.
	WaitingForHost,   ///< A slot is requested and the host has not offered it yet.
	Connected,
	RefusedByHost,    ///< The host marked the slot dropped (4).
	FreedByHost,      ///< The host freed the slot (0), or gave it to another plug-in, while this process held it.
	HostGone,         ///< The host ended while owning its monitor.
	Released,         ///< This process gave its slot back.
};

constexpr const char* ToString(ConnectionCondition Condition) noexcept
{
	switch (Condition)
	{
	case ConnectionCondition::NotStarted: return "NotStarted";
	case ConnectionCondition::HostNotRunning: return "HostNotRunning";
	case ConnectionCondition::HostObjectFailed: return "HostObjectFailed";
	case ConnectionCondition::OwnObjectFailed: return "OwnObjectFailed";
	case ConnectionCondition::TableFull: return "TableFull";
	case ConnectionCondition::WaitingForHost: return "WaitingForHost";
	case ConnectionCondition::Connected: return "Connected";
	case ConnectionCondition::RefusedByHost: return "RefusedByHost";
	case ConnectionCondition::FreedByHost: return "FreedByHost";
	case ConnectionCondition::HostGone: return "HostGone";
	case ConnectionCondition::Released: return "Released";
	}
	return "Unknown";
}

/** A named object the link could not open or create. */
struct ObjectFailure
{
	/** Readable name of the object's role ("shared slot table", "server monitor", ...); null when none failed. */
	const char* Object = nullptr;
	Platform::OpenResult Result = Platform::OpenResult::Ok;
	/** The system's error code of the failed call (GetLastError on Windows, errno elsewhere). */
	std::uint32_t SystemError = 0;
};

/** The latest condition and what goes with it. Changes counts every change, so a reader can spot one cheaply. */
struct ConnectionReport
{
	ConnectionCondition Condition = ConnectionCondition::NotStarted;
	std::uint32_t Changes = 0;
	std::uint32_t Slot = NoSlot;
	GUID ConnectionId;
	ObjectFailure Failure;
};

/** The tags the link knows, in a fixed order, for per-tag counters; unknown tags share the last counter. */
inline constexpr std::array<std::uint32_t, 23> KnownTags = {Tag::UVER, Tag::VERR, Tag::CAMR, Tag::PROJ, Tag::RESN, Tag::QLTY,
	Tag::CLCK, Tag::VIEW, Tag::LPHA, Tag::TSHR, Tag::ITAC, Tag::EVNT, Tag::VINT, Tag::VFLT, Tag::VBOL, Tag::VSTR, Tag::AINT,
	Tag::AFLT, Tag::ABOL, Tag::ASTR, Tag::MTXV, Tag::FLDQ, Tag::FLDS};

constexpr std::size_t TagCounterIndex(std::uint32_t Tag) noexcept
{
	for (std::size_t Index = 0; Index < KnownTags.size(); ++Index)
	{
		if (KnownTags[Index] == Tag)
		{
			return Index;
		}
	}
	return KnownTags.size();
}

/** Messages counted per tag (KnownTags order, then all others); messages too short for a tag count as others. */
using TagCounters = std::array<std::uint64_t, KnownTags.size() + 1>;

struct MessageCounters
{
	TagCounters Received = {};
	TagCounters Sent = {};
	/** Inbound messages dropped because they were too short for their tag's layout. */
	std::uint64_t Malformed = 0;
};

/** Writes refused by an open pipe; writes attempted without a connection are not counted. */
struct WriteFailures
{
	std::uint64_t Total = 0;
	/** True from a failed write until the next successful one or the end of the connection. */
	bool bFailing = false;
	Platform::WriteResult FirstResult = Platform::WriteResult::Completed;
};

/**
 * Sees every message the link reads or writes, and every change of its condition, in the order they happen,
 * for recording. Inbound messages come whole (tag included, whatever their size) before they are dispatched;
 * outbound ones after the pipe accepted them.
 */
class MessageObserver
{
public:
	virtual ~MessageObserver() = default;
	virtual void OnInbound(std::span<const std::uint8_t> Message) = 0;
	virtual void OnOutbound(std::uint32_t Tag, std::span<const std::uint8_t> Payload) = 0;
	virtual void OnConditionChanged(const ConnectionReport& Report) = 0;
};

} // namespace Korvat::UE4
