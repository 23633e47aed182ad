#include "HostScript.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

using namespace Korvat::Host;
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

ScriptCommand Parse(std::string_view Line)
{
	ScriptCommand Command;
	std::string Error;
	EXPECT_EQ(ParseScriptLine(Line, Command, Error), EParseResult::Command) << Line << ": " << Error;
	return Command;
}

std::string ErrorOf(std::string_view Line)
{
	ScriptCommand Command;
	std::string Error;
	EXPECT_EQ(ParseScriptLine(Line, Command, Error), EParseResult::Error) << Line;
	return Error;
}

std::vector<std::uint8_t> Payload(std::string_view Line, std::uint32_t ExpectedTag)
{
	const ScriptCommand Command = Parse(Line);
	EXPECT_EQ(Command.Kind, ECommandKind::Send);
	EXPECT_EQ(Command.Tag, ExpectedTag) << Line;
	return Command.Payload;
}

TEST(HostScript_test, BlankLinesAndCommentsAreNothing)
{
	ScriptCommand Command;
	std::string Error;
	for (const char* Line : {"", "   \t", "# a comment", "  # indented comment", "\r"})
	{
		EXPECT_EQ(ParseScriptLine(Line, Command, Error), EParseResult::Nothing) << Line;
	}
}

TEST(HostScript_test, SlotCommandsTakeANumberOrTheFirstConnectedSlot)
{
	EXPECT_EQ(Parse("slots").Kind, ECommandKind::Slots);
	const ScriptCommand Drop = Parse("drop 15");
	EXPECT_EQ(Drop.Kind, ECommandKind::Drop);
	EXPECT_EQ(Drop.Slot.Index, 15u);
	EXPECT_TRUE(Parse("free *").Slot.bFirstConnected);
	EXPECT_EQ(Parse("set-state 3 -1").State, -1);

	const ScriptCommand Accept = Parse("accept 2 no-pipe no-sync-event");
	EXPECT_EQ(Accept.Slot.Index, 2u);
	EXPECT_TRUE(Accept.Objects.bServerMonitor);
	EXPECT_TRUE(Accept.Objects.bDataSentEvent);
	EXPECT_FALSE(Accept.Objects.bInboundPipe);
	EXPECT_FALSE(Accept.Objects.bSyncEvent);

	EXPECT_EQ(ErrorOf("drop 16"), "bad slot '16' (0 to 15 or *)");
	EXPECT_EQ(ErrorOf("drop"), "missing slot (0 to 15 or *)");
	EXPECT_EQ(ErrorOf("drop 1 2"), "unexpected '2' after drop");
	EXPECT_EQ(ErrorOf("accept 1 no-lid"), "unknown accept option 'no-lid' (no-monitor, no-data-event, no-pipe, no-sync-event)");
	EXPECT_EQ(ErrorOf("set-state * 3"), "expected set-state <slot 0-15> <state>");
}

TEST(HostScript_test, UnknownCommandsAreNamed)
{
	EXPECT_EQ(ErrorOf("sned 0 VINT 1 2"), "unknown command 'sned'");
}

TEST(HostScript_test, WaitsTakeOptionalSlotAndTimeout)
{
	const ScriptCommand Any = Parse("wait connected");
	EXPECT_EQ(Any.Kind, ECommandKind::WaitConnected);
	EXPECT_TRUE(Any.bAnySlot);
	EXPECT_EQ(Any.TimeoutMs, DefaultWaitTimeoutMs);

	const ScriptCommand One = Parse("wait connected 4");
	EXPECT_FALSE(One.bAnySlot);
	EXPECT_EQ(One.Slot.Index, 4u);

	const ScriptCommand TimeoutOnly = Parse("wait connected 2500");
	EXPECT_TRUE(TimeoutOnly.bAnySlot);
	EXPECT_EQ(TimeoutOnly.TimeoutMs, 2500u);

	const ScriptCommand Both = Parse("wait connected 3 100");
	EXPECT_EQ(Both.Slot.Index, 3u);
	EXPECT_EQ(Both.TimeoutMs, 100u);
	EXPECT_TRUE(Parse("wait connected * 100").bAnySlot);

	const ScriptCommand Message = Parse("wait message UVER 50");
	EXPECT_EQ(Message.Kind, ECommandKind::WaitMessage);
	EXPECT_EQ(Message.Tag, Tag::UVER);
	EXPECT_EQ(Message.TimeoutMs, 50u);
	EXPECT_EQ(Parse("wait message FLD?").Tag, Tag::FLDQ);

	EXPECT_EQ(Parse("sleep 20").SleepMs, 20u);
	EXPECT_FALSE(ErrorOf("wait message UVERX").empty());
	EXPECT_FALSE(ErrorOf("wait forever").empty());
	EXPECT_FALSE(ErrorOf("sleep soon").empty());
}

TEST(HostScript_test, ScalarValuesHaveTheirWireLayout)
{
	EXPECT_EQ(Payload("send 0 VINT 7 3", Tag::VINT), Bytes({7, 0, 0, 0, 3, 0, 0, 0}));
	EXPECT_EQ(Payload("send 0 VINT 0xFFFFFFFF -2", Tag::VINT), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}));
	EXPECT_EQ(Payload("send 0 VFLT 1 1.5", Tag::VFLT), Bytes({1, 0, 0, 0, 0x00, 0x00, 0xC0, 0x3F}));
	EXPECT_EQ(Payload("send 0 VBOL 2 1", Tag::VBOL), Bytes({2, 0, 0, 0, 1}));
	EXPECT_EQ(Payload("send * VSTR 1 hello  big world", Tag::VSTR),
	          Bytes({1, 0, 0, 0, 'h', 'e', 'l', 'l', 'o', ' ', ' ', 'b', 'i', 'g', ' ', 'w', 'o', 'r', 'l', 'd'}));
	EXPECT_EQ(Payload("send 0 VERR bad\\n", Tag::VERR), Bytes({'b', 'a', 'd', '\n'}));
	EXPECT_EQ(Payload("send 0 EVNT 5 -1", Tag::EVNT), Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
	EXPECT_EQ(Payload("send 0 RESN 1920 1080", Tag::RESN), Bytes({0x80, 0x07, 0, 0, 0x38, 0x04, 0, 0}));
	EXPECT_EQ(Payload("send 0 QLTY 3", Tag::QLTY), Bytes({3, 0, 0, 0}));
	EXPECT_EQ(Payload("send 0 UVER 5 5 3", Tag::UVER), Bytes({5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0}));
	EXPECT_EQ(Payload("send 0 LPHA 2", Tag::LPHA), Bytes({2, 0, 0, 0}));
}

TEST(HostScript_test, ArraysHaveOneElementPerArgument)
{
	EXPECT_EQ(Payload("send 0 AINT 1 1 -1", Tag::AINT), Bytes({1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
	EXPECT_EQ(Payload("send 0 AINT 1", Tag::AINT), Bytes({1, 0, 0, 0}));
	EXPECT_EQ(Payload("send 0 AFLT 1 2", Tag::AFLT), Bytes({1, 0, 0, 0, 0, 0, 0, 0x40}));
	EXPECT_EQ(Payload("send 0 ABOL 1 1 0 1", Tag::ABOL), Bytes({1, 0, 0, 0, 1, 0, 1}));
	EXPECT_EQ(Payload("send 0 ASTR 4 a b|c||d", Tag::ASTR), Bytes({4, 0, 0, 0, 'a', ' ', 'b', 0, 'c', 0, 0, 'd', 0}));
}

TEST(HostScript_test, MatricesAndClockHaveTheirSizes)
{
	const std::string Sixteen = " 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
	const auto Camera = Payload("send 0 CAMR" + Sixteen, Tag::CAMR);
	ASSERT_EQ(Camera.size(), 64u);
	EXPECT_EQ(Camera[3], 0x3F); // 1.0f is 00 00 80 3F.
	EXPECT_EQ(Payload("send 0 PROJ" + Sixteen, Tag::PROJ).size(), 64u);

	const auto Matrix = Payload("send 0 MTXV 9 {00112233-4455-6677-8899-AABBCCDDEEFF}" + Sixteen, Tag::MTXV);
	ASSERT_EQ(Matrix.size(), 84u);
	EXPECT_EQ(std::vector<std::uint8_t>(Matrix.begin(), Matrix.begin() + 12),
	          Bytes({9, 0, 0, 0, 0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66}));
	const auto NoIdentifier = Payload("send 0 MTXV 9 0" + Sixteen, Tag::MTXV);
	EXPECT_EQ(std::vector<std::uint8_t>(NoIdentifier.begin() + 4, NoIdentifier.begin() + 20), std::vector<std::uint8_t>(16));

	const auto Clock = Payload("send 0 CLCK 0x100000000 0.5 60 1", Tag::CLCK);
	EXPECT_EQ(Clock, Bytes({0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x3F, 60, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));

	EXPECT_EQ(ErrorOf("send 0 CAMR 1 2 3"), "CAMR: expected 16 floats");
	EXPECT_EQ(ErrorOf("send 0 MTXV 9 nope" + Sixteen), "MTXV: not a GUID: 'nope'");
}

TEST(HostScript_test, FieldListsAndPacketsCarryTheirFraming)
{
	const auto Request = Payload("send 0 FLD? new node", Tag::FLDQ);
	ASSERT_EQ(Request.size(), 16u + 4 + 1);
	EXPECT_NE(std::vector<std::uint8_t>(Request.begin(), Request.begin() + 16), std::vector<std::uint8_t>(16))
	    << "a new GUID is not zero";
	EXPECT_EQ(Request.back(), 0);

	const auto Fields = Payload("send 0 FLDS 00112233-4455-6677-8899-AABBCCDDEEFF 1:1:x 2:0:yz", Tag::FLDS);
	EXPECT_EQ(std::vector<std::uint8_t>(Fields.begin() + 16, Fields.end()), Bytes({1, 1, 'x', 0, 2, 0, 'y', 'z', 0}));
	EXPECT_EQ(ErrorOf("send 0 FLDS 00112233-4455-6677-8899-AABBCCDDEEFF 1-1-x"),
	          "FLDS: bad field record '1-1-x' (type:flag:name)");
	EXPECT_FALSE(Parse("send 0 FLDS 00112233-4455-6677-8899-AABBCCDDEEFF 1:1:x").bAnswersLastQuestion);
	// "last": the tool puts the plug-in's latest question in the sixteen zero bytes when it sends.
	const ScriptCommand Answer = Parse("send * FLDS last 5:0:levels");
	EXPECT_TRUE(Answer.bAnswersLastQuestion);
	EXPECT_EQ(Answer.Payload, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 'l', 'e', 'v', 'e', 'l', 's', 0}));

	EXPECT_EQ(Payload("send 0 ITAC 0102 ff", Tag::ITAC), Bytes({3, 0, 0, 0, 1, 2, 0xFF}));
	EXPECT_EQ(ErrorOf("send 0 ITAC 012"), "ITAC: odd number of hexadecimal digits in '012'");
}

TEST(HostScript_test, RawAndUnknownTagsTakeHexadecimalBytes)
{
	const ScriptCommand Raw = Parse("send 1 raw 56 49 4e 54");
	EXPECT_TRUE(Raw.bRaw);
	EXPECT_EQ(Raw.Payload, Bytes({0x56, 0x49, 0x4E, 0x54}));
	EXPECT_EQ(ErrorOf("send 1 raw"), "send raw needs at least one byte");
	EXPECT_EQ(Payload("send 1 ZZZZ 0a0b", Korvat::UE4::MakeTag("ZZZZ")), Bytes({0x0A, 0x0B}));
}

TEST(HostScript_test, BadArgumentsNameTheTagAndTheWord)
{
	EXPECT_EQ(ErrorOf("send 0 VINT 7"), "VINT: expected <id> <int>");
	EXPECT_EQ(ErrorOf("send 0 VINT 4294967296 3"), "VINT: not an unsigned 32-bit number: '4294967296'");
	EXPECT_EQ(ErrorOf("send 0 VINT -1 3"), "VINT: not an unsigned 32-bit number: '-1'");
	EXPECT_EQ(ErrorOf("send 0 VINT 1 2147483648"), "VINT: not a 32-bit integer: '2147483648'");
	EXPECT_EQ(ErrorOf("send 0 VFLT 1 1.5x"), "VFLT: not a number: '1.5x'");
	EXPECT_EQ(ErrorOf("send 0 VBOL 1 2"), "VBOL: not 0 or 1: '2'");
	EXPECT_EQ(ErrorOf("send 0 VSTR 1 \\x4"), "VSTR: \\x needs two hexadecimal digits");
	EXPECT_EQ(ErrorOf("send 0 VIN 1 2"), "VIN: a tag has four characters: 'VIN'");
	EXPECT_EQ(ErrorOf("send 0"), "expected send <slot> <TAG> <arguments...>");
	EXPECT_EQ(ErrorOf("send 17 VINT 1 2"), "bad slot '17' (0 to 15 or *)");
}

TEST(HostScript_test, AWordThatIsNoNumberIsANameHashedToItsId)
{
	// door.width is 0xBDFE2769, door.open 0x2E9C2B0B, cam 0xFA35EB69.
	const ScriptCommand Value = Parse("send * VINT Door.Width 5");
	EXPECT_EQ(Value.Payload, Bytes({0x69, 0x27, 0xFE, 0xBD, 5, 0, 0, 0}));
	EXPECT_EQ(Value.Names, std::vector<std::string>{"Door.Width"});
	EXPECT_EQ(Payload("send 0 EVNT door.open 42", Tag::EVNT), Bytes({0x0B, 0x2B, 0x9C, 0x2E, 0, 0, 0, 0, 42, 0, 0, 0}));
	EXPECT_EQ(Payload("send 0 VSTR door.width two  words", Tag::VSTR),
	          Bytes({0x69, 0x27, 0xFE, 0xBD, 't', 'w', 'o', ' ', ' ', 'w', 'o', 'r', 'd', 's'}));
	EXPECT_EQ(Payload("send 0 ABOL door.width 1 0", Tag::ABOL), Bytes({0x69, 0x27, 0xFE, 0xBD, 1, 0}));
	const auto Matrix = Payload("send 0 MTXV cam 0 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", Tag::MTXV);
	ASSERT_EQ(Matrix.size(), 84u);
	EXPECT_EQ(std::vector<std::uint8_t>(Matrix.begin(), Matrix.begin() + 4), Bytes({0x69, 0xEB, 0x35, 0xFA}));

	// Numbers stay numbers and name nothing.
	const ScriptCommand Numbered = Parse("send 0 VINT 0xBDFE2769 5");
	EXPECT_EQ(Numbered.Payload, Value.Payload);
	EXPECT_TRUE(Numbered.Names.empty());
	EXPECT_TRUE(Parse("send 0 RESN 1920 1080").Names.empty());
}

TEST(HostScript_test, NamesTakeTheEscapesOfTextButNoZeroByte)
{
	// "my node.width" is 0xCF91A9D0.
	const ScriptCommand Spaced = Parse("send 0 VFLT my\\x20node.width 1");
	EXPECT_EQ(std::vector<std::uint8_t>(Spaced.Payload.begin(), Spaced.Payload.begin() + 4), Bytes({0xD0, 0xA9, 0x91, 0xCF}));
	EXPECT_EQ(Spaced.Names, std::vector<std::string>{"my node.width"});
	EXPECT_EQ(ErrorOf("send 0 VINT a\\0b 1"), "VINT: a name cannot hold a zero byte: 'a\\0b'");
	EXPECT_EQ(ErrorOf("send 0 VINT a\\x4 1"), "VINT: \\x needs two hexadecimal digits");
}

TEST(HostScript_test, NameCommandListsNamesByCommasOrBlanks)
{
	const ScriptCommand Command = Parse("name door.width,door.open  cam,");
	EXPECT_EQ(Command.Kind, ECommandKind::Name);
	EXPECT_EQ(Command.Names, (std::vector<std::string>{"door.width", "door.open", "cam"}));
	EXPECT_EQ(ErrorOf("name"), "name: expected names (node.field, node.method or node), separated by commas or blanks");
	EXPECT_EQ(ErrorOf("name ,,"), "name: expected names (node.field, node.method or node), separated by commas or blanks");
	EXPECT_EQ(ErrorOf("name a.b,0x10"), "name: '0x10' is a number, not a name");

	std::vector<std::string> Listed;
	std::string Error;
	ASSERT_TRUE(ParseNameList("a.b,c.d", Listed, Error));
	EXPECT_EQ(Listed, (std::vector<std::string>{"a.b", "c.d"}));
	EXPECT_FALSE(ParseNameList("a\\0", Listed, Error));
	EXPECT_EQ(Error, "a name cannot hold a zero byte: 'a\\0'");
}

TEST(HostScript_test, GuidsParseWithAndWithoutBraces)
{
	Korvat::UE4::GUID Guid;
	ASSERT_TRUE(ParseGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}", Guid));
	EXPECT_EQ(Guid.Data1, 0x00112233u);
	EXPECT_EQ(Guid.Data2, 0x4455);
	EXPECT_EQ(Guid.Data3, 0x6677);
	EXPECT_EQ(Guid.Data4[0], 0x88);
	EXPECT_EQ(Guid.Data4[7], 0xFF);
	EXPECT_TRUE(ParseGuid("00112233-4455-6677-8899-aabbccddeeff", Guid));
	EXPECT_FALSE(ParseGuid("{00112233-4455-6677-8899-AABBCCDDEEF}", Guid));
	EXPECT_FALSE(ParseGuid("0011223344556677-8899-AABBCCDDEEFF---", Guid));
	EXPECT_FALSE(ParseGuid("{0011223g-4455-6677-8899-AABBCCDDEEFF}", Guid));
}

} // namespace

namespace
{
std::vector<float> Floats(const std::vector<std::uint8_t>& Payload)
{
	std::vector<float> Out(Payload.size() / 4);
	std::memcpy(Out.data(), Payload.data(), Out.size() * 4);
	return Out;
}

TEST(HostScript_test, CameraAndProjectionHaveReadableForms)
{
	// A camera at (1, 2, 3) looking along the host's axes: its view matrix moves the world by (-1, -2, -3).
	EXPECT_EQ(Floats(Payload("send 0 CAMR at 1 2 3 0 0 0", Tag::CAMR)),
		(std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1}));

	// Turned 90 degrees about the up axis: the camera's x axis lies along the host's -z.
	const std::vector<float> Turned = Floats(Payload("send 0 CAMR at 0 0 0 90 0 0", Tag::CAMR));
	ASSERT_EQ(Turned.size(), 16u);
	EXPECT_NEAR(Turned[2], 1.0f, 1e-6f) << "row 0 of the view matrix is the placement's column 0";
	EXPECT_NEAR(Turned[8], -1.0f, 1e-6f);
	EXPECT_NEAR(Turned[0], 0.0f, 1e-6f);

	// 90 degrees across: focal term 1; the aspect scales the vertical one.
	const std::vector<float> Perspective = Floats(Payload("send 0 PROJ perspective 90 2 1 11", Tag::PROJ));
	ASSERT_EQ(Perspective.size(), 16u);
	EXPECT_NEAR(Perspective[0], 1.0f, 1e-6f);
	EXPECT_NEAR(Perspective[5], 2.0f, 1e-6f);
	EXPECT_FLOAT_EQ(Perspective[10], -1.1f);
	EXPECT_FLOAT_EQ(Perspective[11], -1.0f);
	EXPECT_FLOAT_EQ(Perspective[14], -1.1f);
	EXPECT_EQ(Perspective[15], 0.0f);

	EXPECT_EQ(Floats(Payload("send 0 PROJ ortho 4 2 0 10", Tag::PROJ)),
		(std::vector<float>{0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -0.1f, 0, 0, 0, 0, 1}));

	EXPECT_NE(ErrorOf("send 0 CAMR at 1 2 3").find("yaw"), std::string::npos);
	EXPECT_NE(ErrorOf("send 0 PROJ perspective 90 x 1 2").find("not a number"), std::string::npos);
}
} // namespace
