// korvat-host's input packets: the `input` command's bytes, its errors, and the readable ITAC summary.
#include "HostScript.h"
#include "InputPackets.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

namespace
{

using namespace Korvat::Host;
using namespace std::string_view_literals;
namespace Tag = Korvat::UE4::Tag;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> Values)
{
	std::vector<std::uint8_t> Out;
	for (int Value : Values)
	{
		Out.push_back(static_cast<std::uint8_t>(Value));
	}
	return Out;
}

/** Literal pieces (text with its NULs written out, or escaped bytes) joined. */
std::vector<std::uint8_t> Cat(std::initializer_list<std::string_view> Pieces)
{
	std::vector<std::uint8_t> Out;
	for (std::string_view Piece : Pieces)
	{
		Out.insert(Out.end(), Piece.begin(), Piece.end());
	}
	return Out;
}

constexpr std::string_view Header = "#bundle\0\0\0\0\0\0\0\0\x01"sv;

/** The ITAC payload of `input 0 <Events>`. */
std::vector<std::uint8_t> Input(std::string_view Events)
{
	ScriptCommand Command;
	std::string Error;
	const std::string Line = "input 0 " + std::string(Events);
	EXPECT_EQ(ParseScriptLine(Line, Command, Error), EParseResult::Command) << Line << ": " << Error;
	EXPECT_EQ(Command.Kind, ECommandKind::Send);
	EXPECT_EQ(Command.Tag, Tag::ITAC);
	EXPECT_FALSE(Command.bRaw);
	return Command.Payload;
}

std::string ErrorOf(std::string_view Line)
{
	ScriptCommand Command;
	std::string Error;
	EXPECT_EQ(ParseScriptLine(Line, Command, Error), EParseResult::Error) << Line;
	return Error;
}

TEST(InputPackets_test, MouseMoveIsOneBundleInAnItacPayload)
{
	EXPECT_EQ(Input("mouse move 0.5 0.5"),
	          Bytes({0x40, 0,   0,   0,                       // packet length 64, little-endian
	                 '#',  'b', 'u', 'n',  'd',  'l', 'e', 0, // bundle header
	                 0,    0,   0,   0,    0,    0,   0,   1, // time tag: immediately
	                 0,    0,   0,   0x2C,                    // element size 44, big-endian
	                 '/',  'k', 'o', 'r',  'v',  'a', 't', '/', '1', '/', 'M', 'o', 'u', 's', 'e', '/', '0',
	                 '/',  'P', 'o', 's',  'i',  't', 'i', 'o', 'n', '/', '0', 0,   0,   0,   0, // 28 characters, NUL, padding
	                 ',',  'f', 'f', 0,                                                          // type tags
	                 0x3F, 0,   0,   0,    0x3F, 0,   0,   0}));                                 // 0.5f twice, big-endian
}

TEST(InputPackets_test, ButtonsAreNamesOrNumbersJoinedByPlus)
{
	const auto LeftRight =
	    Cat({"\x3C\0\0\0"sv, Header, "\0\0\0\x28"sv, "/korvat/1/Mouse/0/ButtonDown/0\0\0"sv, ",i\0\0"sv, "\0\x30\0\0"sv});
	EXPECT_EQ(Input("mouse down left+right"), LeftRight);
	EXPECT_EQ(Input("mouse down right+left"), LeftRight);
	EXPECT_EQ(Input("mouse down 0x300000"), LeftRight);

	EXPECT_EQ(
	    Input("mouse up middle+thumb1+thumb2"),
	    Cat({"\x3C\0\0\0"sv, Header, "\0\0\0\x28"sv, "/korvat/1/Mouse/0/ButtonUp/0\0\0\0\0"sv, ",i\0\0"sv, "\x01\xC0\0\0"sv}));
	EXPECT_EQ(Input("mouse double thumb2+0x100000"),
	          Cat({"\x40\0\0\0"sv, Header, "\0\0\0\x2C"sv, "/korvat/1/Mouse/0/DoubleClick2/0\0\0\0\0"sv, ",i\0\0"sv,
	               "\x01\x10\0\0"sv}));
}

TEST(InputPackets_test, MouseEventsWithoutNumbers)
{
	EXPECT_EQ(Input("mouse inside 1"),
	          Cat({"\x38\0\0\0"sv, Header, "\0\0\0\x24"sv, "/korvat/1/Mouse/0/IsInside/0\0\0\0\0"sv, ",T\0\0"sv}));
	EXPECT_EQ(Input("mouse inside 0"),
	          Cat({"\x38\0\0\0"sv, Header, "\0\0\0\x24"sv, "/korvat/1/Mouse/0/IsInside/0\0\0\0\0"sv, ",F\0\0"sv}));
	EXPECT_EQ(Input("mouse hover"),
	          Cat({"\x34\0\0\0"sv, Header, "\0\0\0\x20"sv, "/korvat/1/Mouse/0/Hover/0\0\0\0"sv, ",\0\0\0"sv}));
	EXPECT_EQ(Input("mouse doubleclick"),
	          Cat({"\x38\0\0\0"sv, Header, "\0\0\0\x24"sv, "/korvat/1/Mouse/0/DoubleClick/0\0"sv, ",\0\0\0"sv}));
}

TEST(InputPackets_test, WheelUnitsAreSignedIntegers)
{
	EXPECT_EQ(Input("mouse wheel -240"), Cat({"\x38\0\0\0"sv, Header, "\0\0\0\x24"sv, "/korvat/1/Mouse/0/Wheel/0\0\0\0"sv,
	                                          ",i\0\0"sv, "\xFF\xFF\xFF\x10"sv}));
}

TEST(InputPackets_test, KeysCarryTheirCode)
{
	EXPECT_EQ(Input("key down 0x41"),
	          Cat({"\x3C\0\0\0"sv, Header, "\0\0\0\x28"sv, "/korvat/1/Keyboard/0/KeyDown/0\0\0"sv, ",i\0\0"sv, "\0\0\0\x41"sv}));
	EXPECT_EQ(Input("key up 13"), Cat({"\x3C\0\0\0"sv, Header, "\0\0\0\x28"sv, "/korvat/1/Keyboard/0/KeyUp/0\0\0\0\0"sv,
	                                   ",i\0\0"sv, "\0\0\0\x0D"sv}));

	const auto KeyPress = [](std::string_view Code) {
		return Cat({"\x3C\0\0\0"sv, Header, "\0\0\0\x28"sv, "/korvat/1/Keyboard/0/KeyPress/0\0"sv, ",i\0\0"sv, Code});
	};
	EXPECT_EQ(Input("key char a"), KeyPress("\0\0\0\x61"sv));
	EXPECT_EQ(Input("key char \xC3\xA9"), KeyPress("\0\0\0\xE9"sv)) << "e acute, written in UTF-8";
	EXPECT_EQ(Input("key char \xE2\x82\xAC"), KeyPress("\0\0\x20\xAC"sv)) << "the euro sign";
	EXPECT_EQ(Input("key char U+003B"), KeyPress("\0\0\0\x3B"sv));
	EXPECT_EQ(Input("key char u+20ac"), KeyPress("\0\0\x20\xAC"sv));
	EXPECT_EQ(Input("key char U"), KeyPress("\0\0\0\x55"sv)) << "U alone is the letter";
}

TEST(InputPackets_test, TouchesCarryAStringIdAndFourFloats)
{
	EXPECT_EQ(Input("touch add 7 0.2 0.3"),
	          Cat({"\x54\0\0\0"sv, Header, "\0\0\0\x40"sv, "/korvat/1/MultiTouch/0/TouchAdd/0\0\0\0"sv, ",sffff\0\0"sv,
	               "7\0\0\0"sv, "\x3E\x4C\xCC\xCD"sv, "\x3E\x99\x99\x9A"sv, "\0\0\0\0"sv, "\x3F\x80\0\0"sv}));
	EXPECT_EQ(Input("touch move 1234 1 0 0.5"),
	          Cat({"\x58\0\0\0"sv, Header, "\0\0\0\x44"sv, "/korvat/1/MultiTouch/0/TouchMove/0\0\0"sv, ",sffff\0\0"sv,
	               "1234\0\0\0\0"sv, "\x3F\x80\0\0"sv, "\0\0\0\0"sv, "\0\0\0\0"sv, "\x3F\0\0\0"sv}));
	EXPECT_EQ(Input("touch remove -2 0 1"),
	          Cat({"\x58\0\0\0"sv, Header, "\0\0\0\x44"sv, "/korvat/1/MultiTouch/0/TouchRemove/0\0\0\0\0"sv, ",sffff\0\0"sv,
	               "-2\0\0"sv, "\0\0\0\0"sv, "\x3F\x80\0\0"sv, "\0\0\0\0"sv, "\x3F\x80\0\0"sv}));
}

TEST(InputPackets_test, TimecodeIsOneBigEndian64BitInteger)
{
	EXPECT_EQ(Input("timecode 0x0102030405060708"), Cat({"\x38\0\0\0"sv, Header, "\0\0\0\x24"sv, "/korvat/1/InputTimecode\0"sv,
	                                                     ",h\0\0"sv, "\x01\x02\x03\x04\x05\x06\x07\x08"sv}));
	const auto Negative = Input("timecode -1");
	ASSERT_EQ(Negative.size(), 0x38u + 4);
	EXPECT_EQ(std::vector<std::uint8_t>(Negative.end() - 8, Negative.end()), std::vector<std::uint8_t>(8, 0xFF));
}

TEST(InputPackets_test, SeveralEventsMakeOneBundleInOrder)
{
	const auto Expected = Cat({"\x6C\0\0\0"sv, Header,                                              //
	                           "\0\0\0\x2C"sv, "/korvat/1/Mouse/0/Position/0\0\0\0\0"sv, ",ff\0"sv, // first element
	                           "\x3E\x80\0\0"sv, "\x3F\x40\0\0"sv,                                  // 0.25, 0.75
	                           "\0\0\0\x28"sv, "/korvat/1/Mouse/0/ButtonDown/0\0\0"sv, ",i\0\0"sv,  // second element
	                           "\0\x10\0\0"sv});
	EXPECT_EQ(Input("mouse move 0.25 0.75 ; mouse down left"), Expected);
	EXPECT_EQ(Input("mouse move 0.25 0.75;mouse down left"), Expected);

	// The same through the builder, and a builder that starts over after Finish.
	InputPacketBuilder Builder;
	Builder.Begin(InputAddress("Mouse", "Position")).Float(0.25f).Float(0.75f);
	Builder.Begin(InputAddress("Mouse", "ButtonDown")).Int(0x100000);
	EXPECT_EQ(Builder.MessageCount(), 2u);
	EXPECT_EQ(InputPacketPayload(Builder.Finish()), Expected);
	EXPECT_EQ(Builder.MessageCount(), 0u);
	EXPECT_EQ(Builder.Finish(), Cat({Header})) << "an empty bundle";

	const ScriptCommand AnySlot = [] {
		ScriptCommand Command;
		std::string Error;
		EXPECT_EQ(ParseScriptLine("input * mouse hover ; mouse hover ; mouse hover", Command, Error), EParseResult::Command);
		return Command;
	}();
	EXPECT_TRUE(AnySlot.Slot.bFirstConnected);
	EXPECT_EQ(AnySlot.Payload.size(), 4u + 16 + 3 * (4 + 32));
}

TEST(InputPackets_test, BadEventsAndArgumentsAreNamed)
{
	EXPECT_EQ(ErrorOf("input 0 mouse fly"),
	          "input: unknown mouse event 'fly' (move, inside, hover, down, up, double, doubleclick, wheel)");
	EXPECT_EQ(ErrorOf("input 0 key press 65"), "input: unknown key event 'press' (down, up, char)");
	EXPECT_EQ(ErrorOf("input 0 touch lift 1 0 0"), "input: unknown touch event 'lift' (add, move, remove)");
	EXPECT_EQ(ErrorOf("input 0 pen down"), "input: unknown input 'pen' (mouse, key, touch or timecode)");
	EXPECT_EQ(ErrorOf("input 0"), "input: missing event (mouse, key, touch or timecode)");
	EXPECT_EQ(ErrorOf("input 16 mouse hover"), "bad slot '16' (0 to 15 or *)");

	EXPECT_EQ(ErrorOf("input 0 mouse down left+lft"),
	          "input: unknown button 'lft' (left, right, middle, thumb1, thumb2 or a number)");
	EXPECT_EQ(ErrorOf("input 0 mouse up left+"), "input: unknown button '' (left, right, middle, thumb1, thumb2 or a number)");
	EXPECT_EQ(ErrorOf("input 0 mouse move 0.5 x"), "input: not a number: 'x'");
	EXPECT_EQ(ErrorOf("input 0 mouse move 0.5 nan"), "input: not a number: 'nan'");
	EXPECT_EQ(ErrorOf("input 0 mouse wheel 1.5"), "input: not a 32-bit integer: '1.5'");
	EXPECT_EQ(ErrorOf("input 0 key down 0x1G"), "input: not a 32-bit integer: '0x1G'");
	EXPECT_EQ(ErrorOf("input 0 key down 2147483648"), "input: not a 32-bit integer: '2147483648'");
	EXPECT_EQ(ErrorOf("input 0 timecode 9223372036854775808"), "input: not a 64-bit integer: '9223372036854775808'");
	EXPECT_EQ(ErrorOf("input 0 mouse inside yes"), "input: not 0 or 1: 'yes'");
	EXPECT_EQ(ErrorOf("input 0 touch add 0x7 0 0"), "input: not a decimal touch id: '0x7'");
	EXPECT_EQ(ErrorOf("input 0 touch add seven 0 0"), "input: not a decimal touch id: 'seven'");

	EXPECT_EQ(ErrorOf("input 0 mouse move 0.5"), "input: expected mouse move X Y");
	EXPECT_EQ(ErrorOf("input 0 mouse hover 1"), "input: expected mouse hover without arguments");
	EXPECT_EQ(ErrorOf("input 0 touch remove 1 0 0 1"), "input: expected touch remove ID X Y");
	EXPECT_EQ(ErrorOf("input 0 timecode"), "input: expected timecode T");

	EXPECT_EQ(ErrorOf("input 0 key char ab"), "input: not one character or U+XXXX: 'ab'");
	EXPECT_EQ(ErrorOf("input 0 key char U+12G"), "input: not one character or U+XXXX: 'U+12G'");
	EXPECT_EQ(ErrorOf("input 0 key char \xC3"), "input: not one character or U+XXXX: '\xC3'");
	EXPECT_EQ(ErrorOf("input 0 key char U+1F600"), "input: 'U+1F600' is not one UTF-16 code unit (U+0000 to U+FFFF)");
	EXPECT_EQ(ErrorOf("input 0 key char \xF0\x9F\x98\x80"),
	          "input: '\xF0\x9F\x98\x80' is not one UTF-16 code unit (U+0000 to U+FFFF)");

	// With several events the error says which one.
	EXPECT_EQ(ErrorOf("input 0 mouse hover ; mouse wheel up"), "input: event 2: not a 32-bit integer: 'up'");
	EXPECT_EQ(ErrorOf("input 0 mouse hover ;"), "input: event 2: missing event (mouse, key, touch or timecode)");
}

TEST(InputPackets_test, SentPacketsArePrintedReadably)
{
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("mouse move 0.5 0.5")), "ITAC Mouse/Position 0.5 0.5");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("mouse move 0.25 0.75 ; mouse down left+right ; mouse up 0x100")),
	          "ITAC Mouse/Position 0.25 0.75; Mouse/ButtonDown left+right; Mouse/ButtonUp 0x100");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("mouse down 0")), "ITAC Mouse/ButtonDown 0x0");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("touch add 7 0.2 0.3")), R"(ITAC MultiTouch/TouchAdd "7" 0.2 0.3 0 1)");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("mouse inside 1 ; mouse hover ; key down 0x41 ; mouse wheel -240")),
	          "ITAC Mouse/IsInside 1; Mouse/Hover; Keyboard/KeyDown 65; Mouse/Wheel -240");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Input("timecode -5")), "ITAC InputTimecode -5");

	EXPECT_EQ(DescribeMessageJson(Tag::ITAC, Input("mouse hover")),
	          R"({"tag":"ITAC","length":52,"bytes":"2362756e646c65000000000000000001000000202f6b6f72766174)"
	          R"(2f312f4d6f7573652f302f486f7665722f300000002c000000","input":"Mouse/Hover"})");
}

TEST(InputPackets_test, OtherPacketsStayHexadecimal)
{
	// An element size that reaches past the end, an address without its NUL, an unknown type tag, no element.
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Cat({"\x18\0\0\0"sv, Header, "\0\0\0\x08"sv, "/a\0\0"sv})),
	          "ITAC 24 23 62 75 6e 64 6c 65 00 00 00 00 00 00 00 00 01 00 00 00 08 2f 61 00 00");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Cat({"\x18\0\0\0"sv, Header, "\0\0\0\x04"sv, "/abc"sv})),
	          "ITAC 24 23 62 75 6e 64 6c 65 00 00 00 00 00 00 00 00 01 00 00 00 04 2f 61 62 63");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Cat({"\x20\0\0\0"sv, Header, "\0\0\0\x0C"sv, "/a\0\0"sv, ",d\0\0"sv, "\0\0\0\0"sv}))
	              .substr(0, 8),
	          "ITAC 32 ");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Cat({"\x10\0\0\0"sv, Header})).substr(0, 8), "ITAC 16 ");

	// A message of another address keeps it whole; one without type tags has no arguments.
	std::string Summary;
	ASSERT_TRUE(DescribeInputPacket(Cat({Header, "\0\0\0\x10"sv, "/korvat/x/Mouse\0"sv}), Summary));
	EXPECT_EQ(Summary, "/korvat/x/Mouse");
	EXPECT_EQ(InputButtonNames(0x1F00001), "left+right+middle+thumb1+thumb2+0x1");
}

} // namespace
