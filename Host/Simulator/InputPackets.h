// The host's input packets: OSC 1.0 bundles of messages addressed /korvat/1/Device/0/Event/0, carried in ITAC
// messages. A small builder for korvat-host's `input` command, and a readable summary for its printing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Host
{

/** The address /korvat/1/Device/0/Event/0. */
std::string InputAddress(std::string_view Device, std::string_view Event);

/** The address of the timecode message, which has no device. */
inline constexpr std::string_view InputTimecodeAddress = "/korvat/1/InputTimecode";

/**
 * Builds one bundle: "#bundle" and its NUL, the time tag 1 (immediately), then one element per message (its
 * size as a big-endian 32-bit number, then the message). A message is its address and its type tags, each
 * ended by NUL and padded with NULs to a multiple of 4, then its arguments, big-endian.
 *
 * @code
 *   InputPacketBuilder Builder;
 *   Builder.Begin(InputAddress("Mouse", "Position")).Float(0.5f).Float(0.5f);
 *   std::vector<std::uint8_t> Packet = Builder.Finish();
 * @endcode
 */
class InputPacketBuilder
{
public:
	InputPacketBuilder();

	/** Ends the message being built, if any, and starts the next one. */
	InputPacketBuilder& Begin(std::string_view Address);
	InputPacketBuilder& Int(std::int32_t Value);        ///< 'i'
	InputPacketBuilder& Float(float Value);             ///< 'f'
	InputPacketBuilder& String(std::string_view Value); ///< 's'; the text must hold no NUL
	InputPacketBuilder& Bool(bool Value);               ///< 'T' or 'F', no argument bytes
	InputPacketBuilder& Int64(std::int64_t Value);      ///< 'h'

	/** The number of messages begun so far. */
	std::size_t MessageCount() const { return Count; }

	/** Ends the last message and returns the packet; the builder starts over with an empty bundle. */
	std::vector<std::uint8_t> Finish();

private:
	void EndMessage();

	std::vector<std::uint8_t> Packet;
	std::string Address;
	std::string TypeTags;
	std::vector<std::uint8_t> Arguments;
	std::size_t Count = 0;
	bool bOpen = false;
};

/** The payload of an ITAC message: the packet's length as a little-endian 32-bit number, then the packet. */
std::vector<std::uint8_t> InputPacketPayload(std::span<const std::uint8_t> Packet);

/**
 * A one-line summary of a packet, its messages separated by "; ": the address shortened to Device/Event when it
 * has the form /korvat/N/Device/N/Event/N (InputTimecode for the timecode), then the arguments: floats as %g,
 * integers in decimal (the button masks of ButtonDown, ButtonUp and DoubleClick2 as names joined by "+"),
 * strings in quotes, T and F as 1 and 0. False when the packet is not a well-formed bundle of messages whose
 * items all lie inside their elements, or has no element.
 */
bool DescribeInputPacket(std::span<const std::uint8_t> Packet, std::string& Out);

/** The mouse buttons of a mask as names joined by "+" (left+right); bits without a name in hexadecimal. */
std::string InputButtonNames(std::uint32_t Mask);

/** The bit of a mouse button name (left, right, middle, thumb1, thumb2); 0 when the name is none of them. */
std::uint32_t InputButtonBit(std::string_view Name);

} // namespace Korvat::Host
