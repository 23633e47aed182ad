// Any bytes as one input packet, walked with a visitor that reads every decoded field. The walker must
// neither crash nor read outside the packet, whatever arrives.
#include "Input/KorvatInputPacket.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace
{

/** Where the visitor leaves what it read, so the reads cannot be optimised away. */
std::size_t InputPacketSink = 0;

void TouchText(std::string_view Text)
{
	// Every character, and the NUL the walker promises after each view.
	for (const char Character : Text)
	{
		InputPacketSink += static_cast<unsigned char>(Character);
	}
	InputPacketSink += static_cast<unsigned char>(Text.data()[Text.size()]) == 0 ? 1 : 0x1000;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
	using namespace Korvat::Input;

	// Copy into a block of exactly Size bytes: a read past the packet is then a heap overflow.
	const std::unique_ptr<std::uint8_t[]> Packet(new std::uint8_t[Size == 0 ? 1 : Size]);
	if (Size != 0)
	{
		std::memcpy(Packet.get(), Data, Size);
	}
	WalkInputPacket({Packet.get(), Size}, [](const FInputMessage& Message)
	{
		for (std::uint32_t Index = 0; Index < Message.SegmentCount; ++Index)
		{
			TouchText(Message.Segments[Index]);
		}
		const FInputMessageArgs& Args = Message.Args;
		for (std::uint32_t Index = 0; Index < MaxInputListEntries; ++Index)
		{
			InputPacketSink += static_cast<std::uint32_t>(Args.Ints[Index]) + (Args.Bools[Index] ? 1u : 0u);
			InputPacketSink += static_cast<std::size_t>(Args.Floats[Index] == Args.Floats[Index]);
			if (Index < Args.StringCount)
			{
				TouchText(Args.Strings[Index]);
			}
		}
		std::int32_t Identifier = 0;
		if (ReadInputTouchIdentifier(Message, Identifier))
		{
			InputPacketSink += static_cast<std::uint32_t>(Identifier);
		}
		for (const FInputMouseButtonBit& Entry : InputMouseButtonBits)
		{
			InputPacketSink += (static_cast<std::uint32_t>(Args.Ints[0]) & Entry.Bit) != 0 ? 1u : 0u;
		}
		InputPacketSink += static_cast<std::size_t>(InputWheelDelta(Args.Ints[0]) > 0.0f);
		InputPacketSink += static_cast<std::size_t>(Message.Device) + static_cast<std::size_t>(Message.Event) +
			(Message.bTruncated ? 1u : 0u);
	});
	return 0;
}
