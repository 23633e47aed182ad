// Decodes the host's input packets: OSC 1.0 bundles of messages addressed /korvat/N/Device/N/Event/N.
// Plain C++20 without engine headers; the input device turns each decoded message into engine calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace Korvat::Input
{

/** Capacity of every per-message list: address segments and each kind of argument. */
inline constexpr std::uint32_t MaxInputListEntries = 10;

/** The device an address names (segment 3). */
enum class EInputDeviceKind : std::uint8_t
{
	Other,
	Mouse,
	Keyboard,
	MultiTouch,
};

/**
 * The event an address names (segment 5), recognised only among the events of its device: "KeyDown" under
 * "Mouse" is Unknown, and so is every event of an Other device.
 */
enum class EInputEventKind : std::uint8_t
{
	Unknown,
	Position,
	IsInside,
	Hover,
	ButtonDown,
	ButtonUp,
	DoubleClick,
	DoubleClick2,
	Wheel,
	KeyDown,
	KeyUp,
	KeyPress,
	TouchAdd,
	TouchMove,
	TouchRemove,
};

/**
 * The arguments of one message. Each list fills from index 0 in the order its kind occurs among the type
 * tags, independently of the other kinds; entries no argument filled read 0, 0.0f, empty or false. An
 * argument beyond the tenth of its kind is consumed from the packet and dropped.
 */
struct FInputMessageArgs
{
	std::int32_t Ints[MaxInputListEntries] = {};
	float Floats[MaxInputListEntries] = {};
	/** Views into the packet; each is followed there by its NUL, so Strings[I].data() is a C string. */
	std::string_view Strings[MaxInputListEntries] = {};
	bool Bools[MaxInputListEntries] = {};
	/** How many entries of each list were filled (at most MaxInputListEntries). */
	std::uint32_t IntCount = 0;
	std::uint32_t FloatCount = 0;
	std::uint32_t StringCount = 0;
	std::uint32_t BoolCount = 0;
};

/**
 * One decoded message whose address passed the checks: at least 6 segments, segment 1 exactly "korvat",
 * segments 2, 4 and 6 read by a "%d" scan. Every view points into the packet and is valid while it is.
 */
struct FInputMessage
{
	/**
	 * The address segments: Segments[0] is segment 1 ("korvat"). Each is followed in the packet by a NUL
	 * (its "/" was overwritten, or the address's own end). Segments beyond the tenth are dropped.
	 */
	std::string_view Segments[MaxInputListEntries] = {};
	std::uint32_t SegmentCount = 0;
	EInputDeviceKind Device = EInputDeviceKind::Other;
	EInputEventKind Event = EInputEventKind::Unknown;
	FInputMessageArgs Args;
	/**
	 * True when the message ran into the end of the packet: its type tags or a string argument had no NUL
	 * before the end, or a number had fewer than 4 bytes left. That item and every argument after it are
	 * missing from Args; the arguments before it are there.
	 */
	bool bTruncated = false;
};

/** One bit of the button mask of "ButtonDown", "ButtonUp" and "DoubleClick2". */
enum class EInputMouseButton : std::uint8_t
{
	Left,
	Right,
	Middle,
	Thumb01,
	Thumb02,
};

struct FInputMouseButtonBit
{
	std::uint32_t Bit;
	EInputMouseButton Button;
};

/** The buttons of a mask in the order they are pressed, released or double-clicked. Other bits mean nothing. */
inline constexpr FInputMouseButtonBit InputMouseButtonBits[5] = {
	{0x100000u, EInputMouseButton::Left},
	{0x200000u, EInputMouseButton::Right},
	{0x400000u, EInputMouseButton::Middle},
	{0x800000u, EInputMouseButton::Thumb01},
	{0x1000000u, EInputMouseButton::Thumb02},
};

/**
 * @brief The engine's wheel delta for a "Wheel" argument: host units (120 per notch) as a float times 1/120,
 * both in single precision, so -240 gives exactly -2.0f.
 */
[[nodiscard]] constexpr float InputWheelDelta(std::int32_t HostUnits) noexcept
{
	return static_cast<float>(HostUnits) * (1.0f / 120.0f);
}

/**
 * @brief Reads a decimal integer the way the C library's sscanf "%d" does, without locale: optional white
 * space (space, \t, \n, \v, \f, \r), an optional sign, then at least one digit; text after the digits is
 * allowed. Digits beyond 32 bits wrap around (the C library leaves that overflow undefined).
 * @param Text the text; it ends at its size (a NUL inside it ends it too, as for sscanf)
 * @param OutValue the value read; untouched when nothing is read
 * @return whether an integer was read
 */
[[nodiscard]] bool ScanInputDecimal(std::string_view Text, std::int32_t& OutValue) noexcept;

/**
 * @brief The touch identifier of a "MultiTouch" message: its first string argument read by a "%d" scan.
 * @return false when the message has no string argument or the scan reads nothing (the message is skipped)
 */
[[nodiscard]] bool ReadInputTouchIdentifier(const FInputMessage& Message, std::int32_t& OutIdentifier) noexcept;

/**
 * Walks one input packet element by element and decodes the messages whose address passes the checks,
 * one per call of Next. The packet is the caller's own copy: splitting an address overwrites its "/"
 * bytes with NUL. Nothing outside the packet is read, whatever it holds:
 *  - a wrong "#bundle" header, a first size of 0, or an element size reaching past the end: no messages;
 *  - an address without a NUL before the end: that message is skipped and the walk ends;
 *  - type tags or a string without a NUL, or a number short of 4 bytes: the message (if its address passes)
 *    is returned with the arguments before that item and bTruncated set, and the walk ends;
 *  - /korvat/N/InputTimecode skips its 8-byte argument and is not returned; when those 8 bytes reach or
 *    pass the end of the packet the walk ends.
 * After each element the walk ends when decoding reached the packet end; otherwise the next size is read
 * at (element start + size). Element sizes are not compared with the items inside the element.
 *
 * @code
 *   FInputPacketReader Reader(PacketCopy);
 *   while (const FInputMessage* Message = Reader.Next()) { switch (Message->Device) { ... } }
 * @endcode
 */
class FInputPacketReader
{
public:
	explicit FInputPacketReader(std::span<std::uint8_t> PacketBytes) noexcept;
	/** The same for a packet kept as characters (the link queues packets as strings). */
	explicit FInputPacketReader(std::span<char> PacketChars) noexcept;

	/**
	 * @brief Decodes elements until one holds a message to return.
	 * @return the message, valid until the next call (the reader reuses it); nullptr when the walk has ended
	 */
	[[nodiscard]] const FInputMessage* Next() noexcept;

private:
	FInputMessage Current;
	std::uint8_t* Begin = nullptr;
	std::size_t Size = 0;
	/** Offset of the current element's first byte, and its size; meaningful while bWalking. */
	std::size_t ElementOffset = 0;
	std::size_t ElementSize = 0;
	bool bWalking = false;
};

/**
 * @brief Calls Visit(const FInputMessage&) once per message of the packet that passes the address checks,
 * in packet order (see FInputPacketReader). Allocates nothing.
 */
template <typename VisitorType>
void WalkInputPacket(std::span<std::uint8_t> PacketBytes, VisitorType&& Visit) noexcept(
	noexcept(Visit(std::declval<const FInputMessage&>())))
{
	FInputPacketReader Reader(PacketBytes);
	while (const FInputMessage* Message = Reader.Next())
	{
		Visit(*Message);
	}
}

} // namespace Korvat::Input
