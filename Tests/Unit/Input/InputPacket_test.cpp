// The input packet walker: bundle header and element sizes, address checks, argument decoding, and
// malformed packets (each copied into a heap block of its exact size, so the sanitizer sees any overread).
#include "Input/KorvatInputPacket.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Input
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

// A small OSC encoder, so packets read as what they mean.
Bytes Cat(std::initializer_list<Bytes> Parts)
{
	Bytes All;
	for (const Bytes& Part : Parts)
	{
		All.insert(All.end(), Part.begin(), Part.end());
	}
	return All;
}
Bytes Be32(std::uint32_t Value)
{
	return {std::uint8_t(Value >> 24), std::uint8_t(Value >> 16), std::uint8_t(Value >> 8), std::uint8_t(Value)};
}
Bytes Int(std::int32_t Value) { return Be32(static_cast<std::uint32_t>(Value)); }
Bytes Float(float Value) { return Be32(std::bit_cast<std::uint32_t>(Value)); }
/** Text, its NUL, and NULs up to a multiple of 4. */
Bytes Text(std::string_view Value)
{
	Bytes Out(Value.begin(), Value.end());
	Out.resize((Value.size() + 4) & ~std::size_t{3}, 0);
	return Out;
}
Bytes Message(std::string_view Address, std::string_view Tags, std::initializer_list<Bytes> Args = {})
{
	return Cat({Text(Address), Tags.empty() ? Bytes() : Text(Tags), Cat(Args)});
}
/** "#bundle", a time tag, then each element behind its size. */
Bytes Bundle(std::initializer_list<Bytes> Elements)
{
	Bytes Out = Cat({Text("#bundle"), Bytes(8, 0)});
	for (const Bytes& Element : Elements)
	{
		Out = Cat({Out, Be32(static_cast<std::uint32_t>(Element.size())), Element});
	}
	return Out;
}

/** Walks a heap copy of exactly the packet's size; the copy stays alive for the views in the messages. */
struct Walked
{
	explicit Walked(const Bytes& Packet) : Size(Packet.size()), Copy(new std::uint8_t[Packet.size()])
	{
		std::memcpy(Copy.get(), Packet.data(), Size);
		WalkInputPacket({Copy.get(), Size}, [this](const FInputMessage& One) { Messages.push_back(One); });
	}
	Bytes After() const { return Bytes(Copy.get(), Copy.get() + Size); }

	std::size_t Size;
	std::unique_ptr<std::uint8_t[]> Copy;
	std::vector<FInputMessage> Messages;
};

const Bytes ButtonDown = Message("/korvat/1/Mouse/0/ButtonDown/0", ",i", {Int(0x100000)});

TEST(InputPacket_test, PositionMessageDecodesInPlaceFromLiteralBytes)
{
	const Bytes Packet = {'#', 'b', 'u', 'n', 'd', 'l', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 44, '/', 'k', 'o',
		'r', 'v', 'a', 't', '/', '1', '/', 'M', 'o', 'u', 's', 'e', '/', '0', '/', 'P', 'o', 's', 'i', 't', 'i', 'o',
		'n', '/', '0', 0, 0, 0, 0, ',', 'f', 'f', 0, 0x3f, 0, 0, 0, 0x3e, 0x80, 0, 0};
	const Walked Sut(Packet);

	ASSERT_EQ(Sut.Messages.size(), 1u);
	const FInputMessage& Got = Sut.Messages[0];
	ASSERT_EQ(Got.SegmentCount, 6u);
	EXPECT_EQ(Got.Segments[0], "korvat");
	EXPECT_EQ(Got.Segments[2], "Mouse");
	EXPECT_EQ(Got.Segments[4], "Position");
	EXPECT_EQ(Got.Segments[5], "0");
	EXPECT_EQ(Got.Device, EInputDeviceKind::Mouse);
	EXPECT_EQ(Got.Event, EInputEventKind::Position);
	EXPECT_EQ(Got.Args.FloatCount, 2u);
	EXPECT_EQ(Got.Args.Floats[0], 0.5f);
	EXPECT_EQ(Got.Args.Floats[1], 0.25f);
	EXPECT_EQ(Got.Args.Floats[2], 0.0f);
	EXPECT_FALSE(Got.bTruncated);
	// Every "/" of the address became a NUL; nothing else changed.
	Bytes Expected = Packet;
	for (const std::size_t Slash : {20, 27, 29, 35, 37, 46})
	{
		Expected[Slash] = 0;
	}
	EXPECT_EQ(Sut.After(), Expected);
}

TEST(InputPacket_test, HeaderAndElementSizesBoundTheWalk)
{
	const Bytes Empty = {'#', 'b', 'u', 'n', 'd', 'l', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
	EXPECT_TRUE(Walked(Empty).Messages.empty());
	EXPECT_TRUE(Walked(Cat({Empty, ButtonDown})).Messages.empty()) << "first size 0";
	Bytes WrongHeader = Bundle({ButtonDown});
	WrongHeader[7] = ' ';
	EXPECT_TRUE(Walked(WrongHeader).Messages.empty());
	EXPECT_TRUE(Walked(Bytes(Empty.begin(), Empty.end() - 1)).Messages.empty()) << "no room for a size";

	// Sizes past the end: the first element, or the one after a good element.
	Bytes FirstTooLong = Bundle({ButtonDown});
	FirstTooLong[19] += 1;
	EXPECT_TRUE(Walked(FirstTooLong).Messages.empty());
	EXPECT_EQ(Walked(Cat({Bundle({ButtonDown}), Be32(0xFFFFFFFF), ButtonDown})).Messages.size(), 1u);
	EXPECT_EQ(Walked(Cat({Bundle({ButtonDown}), Be32(0), ButtonDown})).Messages.size(), 1u) << "size 0 ends";
	EXPECT_EQ(Walked(Cat({Bundle({ButtonDown}), Be32(0)})).Messages.size(), 1u);
	EXPECT_EQ(Walked(Bundle({Cat({ButtonDown, {0xEE, 0xEE}})})).Messages.size(), 1u) << "2 bytes after the last";

	// The next size is read at element start + size, even when bytes follow the last argument.
	EXPECT_EQ(Walked(Bundle({Cat({ButtonDown, Bytes(8, 0xEE)}), ButtonDown})).Messages.size(), 2u);
	// An element whose size covers only its address and type tags, with ints that spell a size and a whole
	// message: that inner message is read only when decoding the outer one stopped short of the packet end.
	const Bytes Smuggled = Cat({Be32(static_cast<std::uint32_t>(ButtonDown.size())), ButtonDown});
	const Bytes Outer = Message("/korvat/1/Keyboard/0/KeyUp/0", ",iiiiiiiiiii", {Smuggled});
	const Bytes Head = Cat({Text("#bundle"), Bytes(8, 0), Be32(32 + 16)});
	ASSERT_EQ(Outer.size(), 32u + 16u + 44u);
	EXPECT_EQ(Walked(Cat({Head, Outer})).Messages.size(), 1u);
	const Walked Both(Cat({Head, Outer, Be32(0)}));
	ASSERT_EQ(Both.Messages.size(), 2u);
	EXPECT_EQ(Both.Messages[1].Event, EInputEventKind::ButtonDown);
}

TEST(InputPacket_test, AddressChecksSkipOnlyTheirOwnMessage)
{
	const Walked Sut(Bundle({
		Message("/Korvat/1/Mouse/0/Hover/0", ""),
		Message("/korvat/x/Mouse/0/ButtonDown/0", ",i", {Int(1)}),
		Message("/korvat/1/Mouse/y/Hover/0", ""),
		Message("/korvat/1/Mouse/0/Hover/+z", ""),
		Message("/korvat/1/Mouse/0/Hover", ""),
		Message("korvat/1/Mouse/0/Hover/0", ""),
		Message("", ",i", {Int(1)}),
		Message("/korvat/ -7th/Keyboard/+2/KeyDown/3rd", ",i", {Int(65)}),
		Message("/korvat/1/Mouse/0/KeyDown/0", ""),
		Message("/korvat/1/Pen/0/Hover/0", ""),
	}));

	ASSERT_EQ(Sut.Messages.size(), 3u);
	EXPECT_EQ(Sut.Messages[0].Device, EInputDeviceKind::Keyboard);
	EXPECT_EQ(Sut.Messages[0].Event, EInputEventKind::KeyDown);
	EXPECT_EQ(Sut.Messages[0].Args.Ints[0], 65);
	EXPECT_EQ(Sut.Messages[1].Device, EInputDeviceKind::Mouse);
	EXPECT_EQ(Sut.Messages[1].Event, EInputEventKind::Unknown) << "a keyboard event under Mouse";
	EXPECT_EQ(Sut.Messages[2].Device, EInputDeviceKind::Other);
	EXPECT_EQ(Sut.Messages[2].Segments[2], "Pen");
}

TEST(InputPacket_test, ArgumentsFillOneListPerKindInTagOrder)
{
	const Walked Sut(Bundle({
		Message("/korvat/1/MultiTouch/0/TouchMove/0", ",is", {Int(-5), Text("17")}),
		Message("/korvat/1/MultiTouch/0/TouchMove/0", ",si", {Text("17"), Int(-5)}),
		// "d" has no known size: it consumes nothing, so the int is read where the double would be.
		Message("/korvat/1/Mouse/0/Wheel/0", ",dif", {Int(-240), Float(0.75f), Int(9)}),
		Message("/korvat/1/Mouse/0/IsInside/0", ",FTs", {Text("")}),
		Message("/korvat/1/Mouse/0/DoubleClick/0", ""),
	}));

	ASSERT_EQ(Sut.Messages.size(), 5u);
	for (int Index = 0; Index < 2; ++Index)
	{
		const FInputMessageArgs& Args = Sut.Messages[Index].Args;
		EXPECT_EQ(Args.IntCount, 1u);
		EXPECT_EQ(Args.Ints[0], -5);
		EXPECT_EQ(Args.StringCount, 1u);
		EXPECT_EQ(Args.Strings[0], "17");
		EXPECT_EQ(Args.Strings[0].data()[2], '\0');
		std::int32_t Identifier = 0;
		EXPECT_TRUE(ReadInputTouchIdentifier(Sut.Messages[Index], Identifier));
		EXPECT_EQ(Identifier, 17);
	}
	const FInputMessageArgs& Wheel = Sut.Messages[2].Args;
	EXPECT_EQ(Wheel.IntCount, 1u);
	EXPECT_EQ(Wheel.Ints[0], -240);
	EXPECT_EQ(Wheel.Floats[0], 0.75f);
	EXPECT_EQ(Sut.Messages[3].Args.BoolCount, 2u);
	EXPECT_FALSE(Sut.Messages[3].Args.Bools[0]);
	EXPECT_TRUE(Sut.Messages[3].Args.Bools[1]);
	EXPECT_EQ(Sut.Messages[3].Args.Strings[0], "");
	std::int32_t Identifier = 99;
	EXPECT_FALSE(ReadInputTouchIdentifier(Sut.Messages[3], Identifier)) << "empty text";
	EXPECT_FALSE(ReadInputTouchIdentifier(Sut.Messages[4], Identifier)) << "no string";
	EXPECT_EQ(Identifier, 99);
	// The reader reuses one message: what an earlier message filled reads clear in a later one.
	EXPECT_EQ(Sut.Messages[3].Args.Ints[0], 0);
	EXPECT_EQ(Sut.Messages[3].Args.Floats[0], 0.0f);
	EXPECT_EQ(Sut.Messages[4].Args.BoolCount + Sut.Messages[4].Args.StringCount, 0u);
	EXPECT_FALSE(Sut.Messages[4].Args.Bools[1]);
	EXPECT_EQ(Sut.Messages[4].Args.Strings[0].data(), nullptr);
}

TEST(InputPacket_test, InputTimecodeSkipsEightBytesAndIsNotReturned)
{
	const Bytes Timecode = Message("/korvat/1/InputTimecode", ",t", {Bytes(8, 0x5A)});
	EXPECT_EQ(Walked(Bundle({Timecode, ButtonDown, Timecode})).Messages.size(), 1u);
	// Its 8 bytes may lie past the packet end: they are skipped, not read.
	const Bytes Cut = Message("/korvat/1/InputTimecode", ",t");
	EXPECT_EQ(Walked(Cat({Bundle({ButtonDown}), Be32(static_cast<std::uint32_t>(Cut.size())), Cut})).Messages.size(), 1u);
}

TEST(InputPacket_test, ButtonMaskOrderAndWheelScale)
{
	const auto Pressed = [](std::uint32_t Mask)
	{
		std::vector<EInputMouseButton> Buttons;
		for (const FInputMouseButtonBit& Entry : InputMouseButtonBits)
		{
			if ((Mask & Entry.Bit) != 0)
			{
				Buttons.push_back(Entry.Button);
			}
		}
		return Buttons;
	};
	using enum EInputMouseButton;
	EXPECT_EQ(Pressed(0x300000), (std::vector{Left, Right}));
	EXPECT_EQ(Pressed(0), std::vector<EInputMouseButton>());
	EXPECT_EQ(Pressed(0x1C000FF), (std::vector{Middle, Thumb01, Thumb02}));

	EXPECT_EQ(std::bit_cast<std::uint32_t>(InputWheelDelta(-240)), 0xC0000000u);
	EXPECT_EQ(std::bit_cast<std::uint32_t>(InputWheelDelta(120)), 0x3F800000u);
	// Multiplied by 1/120, not divided by 120 (3 / 120.0f would be 0x3CCCCCCD).
	EXPECT_EQ(std::bit_cast<std::uint32_t>(InputWheelDelta(3)), 0x3CCCCCCEu);
}

TEST(InputPacket_test, DecimalScanAcceptsWhatPercentDAccepts)
{
	const struct
	{
		std::string_view Text;
		bool bRead;
		std::int32_t Value;
	} Cases[] = {{"0", true, 0}, {"42", true, 42}, {"-7", true, -7}, {"+7", true, 7}, {" \t\n\v\f\r12", true, 12},
		{"12abc", true, 12}, {"-2147483648", true, INT32_MIN}, {"2147483647", true, INT32_MAX},
		{"4294967297", true, 1}, {"", false, 0}, {"-", false, 0}, {"+-1", false, 0}, {"- 1", false, 0},
		{"x1", false, 0}, {"\xA0" "1", false, 0}, {std::string_view("\0" "1", 2), false, 0}};
	for (const auto& Case : Cases)
	{
		std::int32_t Value = 1234;
		EXPECT_EQ(ScanInputDecimal(Case.Text, Value), Case.bRead) << '"' << Case.Text << '"';
		EXPECT_EQ(Value, Case.bRead ? Case.Value : 1234) << '"' << Case.Text << '"';
	}
}

TEST(InputPacket_test, ExcessSegmentsAndArgumentsAreDroppedButConsumed)
{
	Bytes Ints;
	for (std::int32_t Value = 1; Value <= 11; ++Value)
	{
		Ints = Cat({Ints, Int(Value)});
	}
	const Walked Sut(Bundle({
		Message("/korvat/1/Keyboard/0/KeyUp/0/a/b/c/d/e", ",i", {Int(7)}),
		Message("/korvat/1/Keyboard/0/KeyUp/0", ",iiiiiiiiiiif", {Ints, Float(1.5f)}),
	}));

	ASSERT_EQ(Sut.Messages.size(), 2u);
	EXPECT_EQ(Sut.Messages[0].SegmentCount, 10u);
	EXPECT_EQ(Sut.Messages[0].Segments[9], "d");
	EXPECT_EQ(Sut.Messages[0].Args.Ints[0], 7);
	const FInputMessageArgs& Args = Sut.Messages[1].Args;
	EXPECT_EQ(Args.IntCount, 10u);
	EXPECT_EQ(Args.Ints[9], 10);
	EXPECT_EQ(Args.Floats[0], 1.5f) << "the eleventh int was consumed";
	EXPECT_EQ(Sut.Messages[1].SegmentCount, 6u);
	EXPECT_EQ(Sut.Messages[1].Segments[9].data(), nullptr);
}

TEST(InputPacket_test, ItemsRunningIntoThePacketEndStopTheWalkThere)
{
	const auto Only = [](const Bytes& Element)
	{
		return Walked(Cat({Text("#bundle"), Bytes(8, 0), Be32(static_cast<std::uint32_t>(Element.size())), Element}));
	};
	const Bytes Head = Text("/korvat/1/Keyboard/0/KeyPress/0");
	const Bytes LongHead = Text("/korvat/1/Keyboard/0/KeyPress/00");

	// The address itself unterminated: nothing is returned.
	EXPECT_TRUE(Only(Bytes(Head.begin(), Head.end() - 1)).Messages.empty());

	const struct
	{
		const char* Name;
		Bytes Element;
		std::uint32_t IntCount;
		std::uint32_t StringCount;
		bool bTruncated;
	} Cases[] = {
		{"tags without NUL", Cat({Head, {',', 'i', 'i', 'i'}}), 0, 0, true},
		{"int with 2 bytes left", Cat({Head, Text(",ii"), Int(65), {0, 1}}), 1, 0, true},
		{"string without NUL", Cat({Head, Text(",is"), Int(65), {'1', '2'}}), 1, 0, true},
		{"string whose padding is cut", Cat({Head, Text(",is"), Int(65), {'1', '2', 0}}), 1, 1, false},
		{"int after a string whose padding is cut", Cat({Head, Text(",isi"), Int(65), {'1', '2', 0}}), 1, 1, true},
		{"address whose padding is cut", Bytes(LongHead.begin(), LongHead.end() - 3), 0, 0, false},
	};
	for (const auto& Case : Cases)
	{
		const Walked Sut = Only(Case.Element);
		ASSERT_EQ(Sut.Messages.size(), 1u) << Case.Name;
		EXPECT_EQ(Sut.Messages[0].Event, EInputEventKind::KeyPress) << Case.Name;
		EXPECT_EQ(Sut.Messages[0].Args.IntCount, Case.IntCount) << Case.Name;
		EXPECT_EQ(Sut.Messages[0].Args.StringCount, Case.StringCount) << Case.Name;
		EXPECT_EQ(Sut.Messages[0].bTruncated, Case.bTruncated) << Case.Name;
	}
}

TEST(InputPacket_test, ReadsAPacketKeptAsCharacters)
{
	const Bytes Packet = Bundle({ButtonDown});
	std::string Chars(Packet.begin(), Packet.end());
	FInputPacketReader Sut{std::span<char>(Chars)};
	const FInputMessage* Got = Sut.Next();
	ASSERT_NE(Got, nullptr);
	EXPECT_EQ(Got->Event, EInputEventKind::ButtonDown);
	EXPECT_EQ(Got->Args.Ints[0], 0x100000);
	EXPECT_EQ(Sut.Next(), nullptr);
}

} // namespace
} // namespace Korvat::Input
