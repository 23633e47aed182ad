#include "Messages.h"

#include "ValueNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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

template <typename T> void Append(std::vector<std::uint8_t>& Out, T Value)
{
	std::uint8_t Raw[sizeof(T)];
	std::memcpy(Raw, &Value, sizeof(T));
	Out.insert(Out.end(), Raw, Raw + sizeof(T));
}

// {00112233-4455-6677-8899-AABBCCDDEEFF} in memory layout.
std::vector<std::uint8_t> SampleGuid()
{
	return Bytes({0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
}
constexpr const char* SampleGuidText = "{00112233-4455-6677-8899-AABBCCDDEEFF}";

TEST(Messages_test, VersionIsDescribedAsDottedNumbersAndAsJson)
{
	const auto Payload = Bytes({5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0});
	EXPECT_EQ(DescribeMessage(Tag::UVER, Payload), "UVER 5.5.3");
	EXPECT_EQ(DescribeMessageJson(Tag::UVER, Payload), R"({"tag":"UVER","major":5,"minor":5,"patch":3})");
}

TEST(Messages_test, ErrorTextIsEscapedInBothForms)
{
	const std::string Text = "ERROR: \"DX11\"\\ needed\n\x01";
	const std::vector<std::uint8_t> Payload(Text.begin(), Text.end());
	EXPECT_EQ(DescribeMessage(Tag::VERR, Payload), R"(VERR "ERROR: \"DX11\"\\ needed\n\x01")");
	EXPECT_EQ(DescribeMessageJson(Tag::VERR, Payload), R"({"tag":"VERR","text":"ERROR: \"DX11\"\\ needed\n\u0001"})");
}

TEST(Messages_test, JsonKeepsUtf8AndEscapesInvalidBytes)
{
	EXPECT_EQ(JsonEscape("caf\xC3\xA9"), "caf\xC3\xA9");
	EXPECT_EQ(JsonEscape("a\xE9z"), "a\\u00e9z");
	EXPECT_EQ(JsonEscape("\xC3"), "\\u00c3");
}

TEST(Messages_test, PlugInMessagesOfTheCatalogueAreDecoded)
{
	std::vector<std::uint8_t> View;
	for (int Value : {1, 2, 3, -4, 5, 6})
	{
		Append(View, std::int32_t{Value});
	}
	EXPECT_EQ(DescribeMessage(Tag::VIEW, View), "VIEW [1 2 3 -4 5 6]");
	EXPECT_EQ(DescribeMessageJson(Tag::VIEW, View), R"({"tag":"VIEW","values":[1,2,3,-4,5,6]})");

	EXPECT_EQ(DescribeMessage(Tag::LPHA, Bytes({2, 0, 0, 0})), "LPHA 2");

	std::vector<std::uint8_t> Shares;
	Append(Shares, std::int32_t{2});
	for (int Repeat = 0; Repeat < 2; ++Repeat)
	{
		const auto Guid = SampleGuid();
		Shares.insert(Shares.end(), Guid.begin(), Guid.end());
	}
	EXPECT_EQ(DescribeMessage(Tag::TSHR, Shares), std::string("TSHR 2 ") + SampleGuidText + " " + SampleGuidText);
	EXPECT_EQ(DescribeMessageJson(Tag::TSHR, Bytes({0, 0, 0, 0})), R"({"tag":"TSHR","count":0,"ids":[]})");

	std::vector<std::uint8_t> Request = SampleGuid();
	for (char Char : std::string("abc"))
	{
		Request.push_back(static_cast<std::uint8_t>(Char));
	}
	Request.push_back(0);
	EXPECT_EQ(DescribeMessage(Tag::FLDQ, Request), std::string("FLD? ") + SampleGuidText + " \"abc\"");

	std::vector<std::uint8_t> Fields = SampleGuid();
	for (int Byte : {1, 1, int{'x'}, 0, 2, 0, int{'y'}, int{'z'}, 0})
	{
		Fields.push_back(static_cast<std::uint8_t>(Byte));
	}
	EXPECT_EQ(DescribeMessage(Tag::FLDS, Fields), std::string("FLDS ") + SampleGuidText + " 1/1/\"x\" 2/0/\"yz\"");
	EXPECT_EQ(DescribeMessageJson(Tag::FLDS, Fields),
	          std::string(R"({"tag":"FLDS","request":")") + SampleGuidText +
	              R"(","fields":[{"type":1,"flag":true,"name":"x"},{"type":2,"flag":false,"name":"yz"}]})");
}

TEST(Messages_test, HostMessagesOfTheCatalogueAreDecoded)
{
	std::vector<std::uint8_t> Event;
	for (std::int32_t Value : {7, 0, -3})
	{
		Append(Event, Value);
	}
	EXPECT_EQ(DescribeMessage(Tag::EVNT, Event), "EVNT 7 -3");

	std::vector<std::uint8_t> Float;
	Append(Float, std::uint32_t{9});
	Append(Float, 1.5f);
	EXPECT_EQ(DescribeMessageJson(Tag::VFLT, Float), R"({"tag":"VFLT","id":9,"value":1.5})");

	std::vector<std::uint8_t> Strings = Bytes({1, 0, 0, 0, 'a', 0, 'b', 'c', 0});
	EXPECT_EQ(DescribeMessage(Tag::ASTR, Strings), R"(ASTR 1 ["a" "bc"])");

	std::vector<std::uint8_t> Packet = Bytes({2, 0, 0, 0, 0xAB, 0xCD});
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Packet), "ITAC 2 ab cd");
}

TEST(Messages_test, ShortPayloadsAreReportedAsMalformed)
{
	EXPECT_EQ(DescribeMessage(Tag::UVER, Bytes({5, 0, 0})), "UVER malformed: 3 bytes");
	EXPECT_EQ(DescribeMessage(Tag::VIEW, {}), "VIEW malformed: 0 bytes");
	EXPECT_EQ(DescribeMessage(Tag::FLDQ, Bytes({1, 2})), "FLD? malformed: 2 bytes");
	EXPECT_EQ(DescribeMessage(Tag::MTXV, std::vector<std::uint8_t>(83)), "MTXV malformed: 83 bytes");
	// A share count larger than the ids that follow, and a negative one.
	EXPECT_EQ(DescribeMessage(Tag::TSHR, Bytes({1, 0, 0, 0})), "TSHR malformed: 4 bytes");
	EXPECT_EQ(DescribeMessage(Tag::TSHR, Bytes({0xFF, 0xFF, 0xFF, 0xFF})), "TSHR malformed: 4 bytes");
	EXPECT_EQ(DescribeMessage(Tag::ITAC, Bytes({9, 0, 0, 0, 1})), "ITAC malformed: 5 bytes");
	EXPECT_EQ(DescribeMessageJson(Tag::LPHA, Bytes({1})), R"({"tag":"LPHA","malformed":true,"size":1,"bytes":"01"})");
}

TEST(Messages_test, FieldListWithoutFinalZeroStopsAtTheEnd)
{
	std::vector<std::uint8_t> Fields = SampleGuid();
	for (int Byte : {3, 0, int{'n'}, int{'a'}})
	{
		Fields.push_back(static_cast<std::uint8_t>(Byte));
	}
	EXPECT_EQ(DescribeMessage(Tag::FLDS, Fields), std::string("FLDS ") + SampleGuidText + " 3/0/\"na\"");
	Fields.push_back(0);
	Fields.push_back(5); // A record cut after its type byte.
	EXPECT_EQ(DescribeMessage(Tag::FLDS, Fields), "FLDS malformed: 22 bytes");
}

TEST(Messages_test, UnknownTagsAreShownInHexadecimal)
{
	const std::uint32_t Odd = Korvat::UE4::MakeTag("AB\x01Z");
	EXPECT_EQ(TagText(Odd), "AB\\x01Z");
	EXPECT_EQ(DescribeMessage(Odd, Bytes({0xDE, 0xAD})), "AB\\x01Z (unknown tag) 2 bytes: de ad");
	EXPECT_EQ(DescribeMessageJson(Korvat::UE4::MakeTag("ZZZZ"), Bytes({0x01})),
	          R"({"tag":"ZZZZ","unknown":true,"size":1,"bytes":"01"})");
	EXPECT_EQ(DescribeMessageJson(Odd, {}), R"({"tag":"AB\u0001Z","unknown":true,"size":0,"bytes":""})");
}

TEST(Messages_test, KnownIdsReadAsNamesWithTheIdAfter)
{
	ValueNames Names;
	Names.Add("door.width"); // 0xBDFE2769, echoed under 0x48543B6D
	Names.Add("door.open");  // 0x2E9C2B0B
	std::vector<std::uint8_t> Value;
	Append(Value, std::uint32_t{0xBDFE2769u});
	Append(Value, std::int32_t{5});
	EXPECT_EQ(DescribeMessage(Tag::VINT, Value, &Names), "VINT door.width 5 [id 0xBDFE2769]");
	EXPECT_EQ(DescribeMessageJson(Tag::VINT, Value, &Names), R"({"tag":"VINT","id":3187550057,"name":"door.width","value":5})");
	// Without names, or with an id the names do not know, the id is the number it always was.
	EXPECT_EQ(DescribeMessage(Tag::VINT, Value), "VINT 3187550057 5");
	const ValueNames NoNames;
	EXPECT_EQ(DescribeMessageJson(Tag::VINT, Value, &NoNames), R"({"tag":"VINT","id":3187550057,"value":5})");

	std::vector<std::uint8_t> Echo;
	Append(Echo, std::uint32_t{0x48543B6Du});
	Echo.insert(Echo.end(), {'o', 'k'});
	EXPECT_EQ(DescribeMessage(Tag::VSTR, Echo, &Names), R"(VSTR door.width_synced "ok" [id 0x48543B6D])");

	std::vector<std::uint8_t> Event;
	for (std::uint32_t Word : {0x2E9C2B0Bu, 0u, 42u})
	{
		Append(Event, Word);
	}
	EXPECT_EQ(DescribeMessage(Tag::EVNT, Event, &Names), "EVNT door.open 42 [id 0x2E9C2B0B]");
	EXPECT_EQ(DescribeMessageJson(Tag::EVNT, Event, &Names), R"({"tag":"EVNT","id":781986571,"name":"door.open","argument":42})");

	// Names never reach messages without ids, nor malformed ones.
	EXPECT_EQ(DescribeMessage(Tag::QLTY, Bytes({0x69, 0x27, 0xFE, 0xBD}), &Names), "QLTY -1107417239");
	EXPECT_EQ(DescribeMessage(Tag::VINT, Bytes({0x69, 0x27, 0xFE, 0xBD}), &Names), "VINT malformed: 4 bytes");
}

TEST(Messages_test, NamesWithBlanksQuotesOrControlsAreQuotedReadablyAndEscapedInJson)
{
	ValueNames Names;
	EXPECT_EQ(Names.Add("say \"hi\"\n"), 0x08C8274Du);
	std::vector<std::uint8_t> Value;
	Append(Value, std::uint32_t{0x08C8274Du});
	Value.push_back(1);
	EXPECT_EQ(DescribeMessage(Tag::VBOL, Value, &Names), R"(VBOL "say \"hi\"\n" 1 [id 0x08C8274D])");
	EXPECT_EQ(DescribeMessageJson(Tag::VBOL, Value, &Names),
	          R"({"tag":"VBOL","id":147334989,"name":"say \"hi\"\n","value":true})");
	// Letters beyond ASCII are no reason for quotes.
	Names.Add("\xC3\xA4\xC3\xA4ni.taso");
	std::vector<std::uint8_t> Other;
	Append(Other, std::uint32_t{0xA2E6BFA3u});
	Other.push_back(0);
	EXPECT_EQ(DescribeMessage(Tag::VBOL, Other, &Names), "VBOL \xC3\xA4\xC3\xA4ni.taso 0 [id 0xA2E6BFA3]");
}

/** The hexadecimal parameter form of a value: tag, little-endian id and a zero identifier; frame marker and payload. */
std::pair<std::string, std::string> ShareForm(const char* TagText, const char* IdLittleEndian, const char* Payload)
{
	return {std::string(TagText) + IdLittleEndian + std::string(32, '0'), std::string("03000000") + Payload};
}

TEST(Messages_test, ShareParametersReadAsTheMessageWithIdAndFrameMarker)
{
	// The echo of host value 1 under its "_synced" id, as the demo shows it.
	const auto [Key, Value] = ShareForm("56494E54", "1A74B8F2", "05000000");
	EXPECT_EQ(DescribeShareParameter("share-a", 7, Key, Value, nullptr, false),
	          "share share-a frame 7: VINT 4072174618 5 [id 0xF2B8741A, frame marker 3]");
	EXPECT_EQ(DescribeShareParameter("share-a", 7, Key, Value, nullptr, true),
	          R"({"event":"share","share":"share-a","frame":7,"frameMarker":3,"id":4072174618,)"
	          R"("message":{"tag":"VINT","id":4072174618,"value":5}})");

	ValueNames Names;
	Names.Add("door.width");
	const auto [NamedKey, NamedValue] = ShareForm("56494E54", "6D3B5448", "05000000");
	EXPECT_EQ(DescribeShareParameter("share-a", 7, NamedKey, NamedValue, &Names, false),
	          "share share-a frame 7: VINT door.width_synced 5 [id 0x48543B6D, frame marker 3]");
	EXPECT_EQ(DescribeShareParameter("share-a", 7, NamedKey, NamedValue, &Names, true),
	          R"({"event":"share","share":"share-a","frame":7,"frameMarker":3,"id":1213479789,"name":"door.width_synced",)"
	          R"("message":{"tag":"VINT","id":1213479789,"name":"door.width_synced","value":5}})");
	// Names the parameter's id does not match leave it as a number.
	EXPECT_EQ(DescribeShareParameter("share-a", 7, Key, Value, &Names, false),
	          "share share-a frame 7: VINT 4072174618 5 [id 0xF2B8741A, frame marker 3]");
}

TEST(Messages_test, ShareMatricesErrorsAndForeignParametersKeepTheirForms)
{
	ValueNames Names;
	Names.Add("cam"); // 0xFA35EB69
	const auto [Matrix, MatrixValue] = ShareForm("4D545856", "69EB35FA", std::string(128, '0').c_str());
	EXPECT_EQ(DescribeShareParameter("s", 1, Matrix, MatrixValue, &Names, false),
	          "share s frame 1: MTXV cam (64 bytes) [id 0xFA35EB69, frame marker 3]");
	EXPECT_EQ(DescribeShareParameter("s", 1, Matrix, MatrixValue, nullptr, false),
	          "share s frame 1: MTXV 0xFA35EB69 (64 bytes) [id 0xFA35EB69, frame marker 3]");
	EXPECT_EQ(DescribeShareParameter("s", 1, Matrix, MatrixValue, &Names, true),
	          R"({"event":"share","share":"s","frame":1,"frameMarker":3,"id":4197837673,"name":"cam","message":{"tag":"MTXV"}})");

	// An error carries no id, whatever its key holds.
	const auto [Error, ErrorValue] = ShareForm("56455252", "00000000", "6F6F7073");
	EXPECT_EQ(DescribeShareParameter("s", 1, Error, ErrorValue, &Names, false),
	          R"(share s frame 1: VERR "oops" [id 0x00000000, frame marker 3])");

	EXPECT_EQ(DescribeShareParameter("s", 2, "plain", "text", &Names, false), "share s frame 2: plain=text");
	EXPECT_EQ(DescribeShareParameter("s", 2, "k\"", "v", &Names, true),
	          R"({"event":"share","share":"s","frame":2,"key":"k\"","value":"v"})");
}

} // namespace
