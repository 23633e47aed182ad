// Wire definitions shared by the plug-in's link and anything that plays the host:
// message tags, the shared slot table, fixed records and the field-type numbering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Korvat::UE4
{

/** Outcome of a link operation; travels as a small unsigned number. */
enum class LinkResult : std::uint8_t
{
	Ok = 0,
	HostUnavailable = 1,
	WriteFailed = 2,
	NoFreeSlot = 3,
	NotAttached = 4,
};

constexpr const char* ToString(LinkResult Result) noexcept
{
	switch (Result)
	{
	case LinkResult::Ok: return "Ok";
	case LinkResult::HostUnavailable: return "HostUnavailable";
	case LinkResult::WriteFailed: return "WriteFailed";
	case LinkResult::NoFreeSlot: return "NoFreeSlot";
	case LinkResult::NotAttached: return "NotAttached";
	}
	return "Unknown";
}

/** A GUID in Windows memory layout (Data1, Data2, Data3 little-endian, then the 8 bytes of Data4). */
struct GUID
{
	std::uint32_t Data1 = 0;
	std::uint16_t Data2 = 0;
	std::uint16_t Data3 = 0;
	std::uint8_t Data4[8] = {};

	friend bool operator==(const GUID& A, const GUID& B) noexcept { return std::memcmp(&A, &B, sizeof(GUID)) == 0; }
	bool IsZero() const noexcept { return *this == GUID{}; }
};
static_assert(sizeof(GUID) == 16);

/** Hash of a GUID: the exclusive or of its two 64-bit halves. */
struct GuidHash
{
	std::size_t operator()(const GUID& Guid) const noexcept
	{
		std::uint64_t Halves[2];
		std::memcpy(Halves, &Guid, sizeof(Halves));
		return static_cast<std::size_t>(Halves[0] ^ Halves[1]);
	}
};

/** The four ASCII characters of a tag as the little-endian number of their bytes. */
constexpr std::uint32_t MakeTag(const char (&Text)[5]) noexcept
{
	return static_cast<std::uint32_t>(static_cast<std::uint8_t>(Text[0])) |
		(static_cast<std::uint32_t>(static_cast<std::uint8_t>(Text[1])) << 8) |
		(static_cast<std::uint32_t>(static_cast<std::uint8_t>(Text[2])) << 16) |
		(static_cast<std::uint32_t>(static_cast<std::uint8_t>(Text[3])) << 24);
}

namespace Tag
{
constexpr std::uint32_t UVER = MakeTag("UVER");
constexpr std::uint32_t VERR = MakeTag("VERR");
constexpr std::uint32_t CAMR = MakeTag("CAMR");
constexpr std::uint32_t PROJ = MakeTag("PROJ");
constexpr std::uint32_t RESN = MakeTag("RESN");
constexpr std::uint32_t QLTY = MakeTag("QLTY");
constexpr std::uint32_t CLCK = MakeTag("CLCK");
constexpr std::uint32_t VIEW = MakeTag("VIEW");
constexpr std::uint32_t LPHA = MakeTag("LPHA");
constexpr std::uint32_t TSHR = MakeTag("TSHR");
constexpr std::uint32_t ITAC = MakeTag("ITAC");
constexpr std::uint32_t EVNT = MakeTag("EVNT");
constexpr std::uint32_t VINT = MakeTag("VINT");
constexpr std::uint32_t VFLT = MakeTag("VFLT");
constexpr std::uint32_t VBOL = MakeTag("VBOL");
constexpr std::uint32_t VSTR = MakeTag("VSTR");
constexpr std::uint32_t AINT = MakeTag("AINT");
constexpr std::uint32_t AFLT = MakeTag("AFLT");
constexpr std::uint32_t ABOL = MakeTag("ABOL");
constexpr std::uint32_t ASTR = MakeTag("ASTR");
constexpr std::uint32_t MTXV = MakeTag("MTXV");
constexpr std::uint32_t FLDQ = MakeTag("FLD?");
constexpr std::uint32_t FLDS = MakeTag("FLDS");
} // namespace Tag

static_assert(Tag::UVER == 0x52455655u);

/** Names of the kernel objects through which host and plug-in meet. Per-connection names end in the connection GUID text. */
namespace ObjectName
{
constexpr const wchar_t* SharedTable = L"Korvat_6_UE4_Com_V1_Shared";
constexpr const wchar_t* GlobalMutex = L"Korvat_6_UE4_Com_V1_Mutex";
constexpr const wchar_t* ClientMonitorPrefix = L"Korvat_6_UE4_Com_V1_MonitorMutexClient_";
constexpr const wchar_t* ServerMonitorPrefix = L"Korvat_6_UE4_Com_V1_MonitorMutexServer_";
constexpr const wchar_t* OutboundPipePrefix = L"\\\\.\\pipe\\Korvat_6_UE4_Com_V1_ToKorvatPipe_";
constexpr const wchar_t* InboundPipePrefix = L"\\\\.\\pipe\\Korvat_6_UE4_Com_V1_FromKorvatPipe_";
constexpr const wchar_t* DataSentEventPrefix = L"Korvat_6_UE4_Com_V1_DataSentFromKorvatEvent_";
/** Followed by the sync index, an underscore and the connection GUID text. */
constexpr const wchar_t* SyncEventPrefix = L"Korvat_6_UE4_Com_V1_syncEvent_";
} // namespace ObjectName

/** State of one connection slot in the shared table. */
enum class SlotState : std::int32_t
{
	Free = 0,
	Requested = 1,
	Offered = 2,
	Connected = 3,
	Dropped = 4,
};

constexpr std::uint32_t SlotCount = 16;
constexpr std::uint32_t NoSlot = 0xFFFFFFFFu;
constexpr std::int32_t ClientCodeOpened = 6;

/** One 44-byte connection slot of the shared table. */
struct SharedSlot
{
	std::int32_t State;
	GUID ConnectionId;
	std::int32_t ClientCode;
	GUID LaunchId;
	std::uint8_t LaunchIdGenerated;
	std::uint8_t GameRunning;
	std::uint8_t Padding[2];
};
static_assert(sizeof(SharedSlot) == 44);
static_assert(offsetof(SharedSlot, ConnectionId) == 4);
static_assert(offsetof(SharedSlot, ClientCode) == 20);
static_assert(offsetof(SharedSlot, LaunchId) == 24);
static_assert(offsetof(SharedSlot, LaunchIdGenerated) == 40);
static_assert(offsetof(SharedSlot, GameRunning) == 41);

/** The 716-byte shared block: a 12-byte header owned by the host, then 16 slots. */
struct SharedSlotTable
{
	std::uint8_t Header[12];
	SharedSlot Slots[SlotCount];
};
static_assert(sizeof(SharedSlotTable) == 716);
static_assert(offsetof(SharedSlotTable, Slots) == 12);

/** The cluster clock as the host sends it in "CLCK" (24 bytes). */
struct FromKorvatClock
{
	std::int64_t frameCounter = 0;
	float time = 0.0f;
	std::int32_t frameRateNumerator = 0;
	std::int32_t frameRateDenominator = 0;
	std::uint8_t Reserved[4] = {};
};
static_assert(sizeof(FromKorvatClock) == 24);

/** Render quality requested by the host in "QLTY". */
enum class RenderQuality : std::int32_t
{
	Default = 0,
	Low = 1,
	Medium = 2,
	High = 3,
	VeryHigh = 4,
	Cinematic = 5,
};

/** Field-type numbering shared with the host and with the editor's KorvatType. */
enum class D2IFieldType : std::uint8_t
{
	Float = 0,
	Int = 1,
	Bool = 2,
	String = 3,
	FloatArray = 4,
	IntArray = 5,
	BoolArray = 6,
	StringArray = 7,
};

/** One field of a node's field list. */
struct FieldDescriptor
{
	std::int32_t Type = 0;
	bool IsFromKorvat = false;
	std::string Name;

	friend bool operator==(const FieldDescriptor&, const FieldDescriptor&) = default;
};

/** The engine's version as sent in "UVER". */
struct EngineVersionRecord
{
	std::int32_t Major;
	std::int32_t Minor;
	std::int32_t Patch;
};
static_assert(sizeof(EngineVersionRecord) == 12);

} // namespace Korvat::UE4

/** Implemented by editor nodes whose pins follow a field list that the host publishes. */
class IKorvatNodeFieldSync
{
public:
	virtual void UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields) = 0;

protected:
	virtual ~IKorvatNodeFieldSync() = default;
};
