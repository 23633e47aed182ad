// The message describer: the JSON form checked against literal lines, the shapes the visitor sees for every
// tag and payload length, and the hexadecimal forms.
#include "MessageDescription.h"

#include "LinkTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Korvat::UE4
{
namespace
{

using Testing::MakeGuid;
using Testing::MessageBytes;

constexpr const char* Guid10Text = "{13121110-1514-1716-1819-1A1B1C1D1E1F}"; // MakeGuid(0x10)
constexpr const char* GuidF0Text = "{F3F2F1F0-F5F4-F7F6-F8F9-FAFBFCFDFEFF}"; // MakeGuid(0xF0)

/** Names for some ids, and an input summary that names the packet's size unless Summary is empty. */
class TestContext final : public MessageJsonContext
{
public:
	std::unordered_map<std::uint32_t, std::string> Names;
	std::string Summary;

	const std::string* FindValueName(std::uint32_t Id) const override
	{
		const auto Found = Names.find(Id);
		return Found != Names.end() ? &Found->second : nullptr;
	}
	bool SummarizeInputPacket(std::span<const std::uint8_t> Packet, std::string& Out) const override
	{
		if (Summary.empty())
		{
			return false;
		}
		Out = Summary + " [" + std::to_string(Packet.size()) + " bytes]";
		return true;
	}
};

/** The JSON line of a payload held in a heap block of exactly its size, so any read past it is caught. */
std::string Json(std::uint32_t MessageTag, const std::vector<std::uint8_t>& Payload, const MessageJsonContext* Context = nullptr)
{
	const auto Exact = std::make_unique<std::uint8_t[]>(Payload.size());
	std::copy(Payload.begin(), Payload.end(), Exact.get());
	std::string Out;
	AppendMessageJson(Out, MessageTag, std::span<const std::uint8_t>(Exact.get(), Payload.size()), Context);
	return Out;
}

TEST(MessageDescription_test, FixedLayoutsIgnoreExtraBytesAndShortOnesAreMalformed)
{
	const MessageBytes Version = MessageBytes().I32(5).I32(5).I32(3);
	EXPECT_EQ(Json(Tag::UVER, Version), R"({"tag":"UVER","major":5,"minor":5,"patch":3})");
	EXPECT_EQ(Json(Tag::UVER, MessageBytes(Version).U8(0xEE)), R"({"tag":"UVER","major":5,"minor":5,"patch":3})");
	EXPECT_EQ(Json(Tag::UVER, MessageBytes(Version).Cut(1)),
		R"({"tag":"UVER","malformed":true,"size":11,"bytes":"0500000005000000030000"})");

	EXPECT_EQ(Json(Tag::CLCK, MessageBytes().I64(std::int64_t{1} << 40).F32(0.5f).I32(60000).I32(1001)),
		R"({"tag":"CLCK","frameCounter":1099511627776,"time":0.5,"numerator":60000,"denominator":1001})");

	EXPECT_EQ(Json(Tag::VINT, MessageBytes().U32(1).Zeros(3)), R"({"tag":"VINT","malformed":true,"size":7,"bytes":"01000000000000"})");
	EXPECT_EQ(Json(Tag::FLDQ, MessageBytes().Zeros(15)).substr(0, 40), R"({"tag":"FLD?","malformed":true,"size":15)");
	EXPECT_EQ(Json(Tag::MTXV, MessageBytes().Zeros(83)).substr(0, 40), R"({"tag":"MTXV","malformed":true,"size":83)");
	EXPECT_EQ(Json(Tag::QLTY, {}), R"({"tag":"QLTY","malformed":true,"size":0,"bytes":""})");
}

TEST(MessageDescription_test, CountsThatDoNotFitTheirPayloadAreMalformed)
{
	// Share ids: a negative count, and one more id than follows.
	EXPECT_EQ(Json(Tag::TSHR, MessageBytes().I32(-1)), R"({"tag":"TSHR","malformed":true,"size":4,"bytes":"ffffffff"})");
	EXPECT_EQ(Json(Tag::TSHR, MessageBytes().I32(1).Zeros(15)).substr(0, 40), R"({"tag":"TSHR","malformed":true,"size":19)");
	// An input packet longer than the payload, and a negative length.
	EXPECT_EQ(Json(Tag::ITAC, MessageBytes().I32(2).U8(0xAB)), R"({"tag":"ITAC","malformed":true,"size":5,"bytes":"02000000ab"})");
	EXPECT_EQ(Json(Tag::ITAC, MessageBytes().I32(-4).Zeros(8)).substr(0, 40), R"({"tag":"ITAC","malformed":true,"size":12)");
	// A field-list record cut after its type byte.
	EXPECT_EQ(Json(Tag::FLDS, MessageBytes().Guid(MakeGuid(0x10)).U8(1).U8(0).Raw("x").U8(0).U8(5)),
		R"({"tag":"FLDS","malformed":true,"size":21,"bytes":"101112131415161718191a1b1c1d1e1f0100780005"})");
}

TEST(MessageDescription_test, ValueIdsGainNamesOnlyFromTheContext)
{
	TestContext Context;
	Context.Names[0xBDFE2769u] = "door \"w\"\n";
	Context.Names[0xFA35EB69u] = "cam";
	const MessageBytes Value = MessageBytes().U32(0xBDFE2769u).I32(-5);

	EXPECT_EQ(Json(Tag::VINT, Value, &Context), R"({"tag":"VINT","id":3187550057,"name":"door \"w\"\n","value":-5})");
	EXPECT_EQ(Json(Tag::VINT, Value), R"({"tag":"VINT","id":3187550057,"value":-5})");
	const TestContext Empty;
	EXPECT_EQ(Json(Tag::VINT, Value, &Empty), R"({"tag":"VINT","id":3187550057,"value":-5})");

	EXPECT_EQ(Json(Tag::ABOL, MessageBytes().U32(0xBDFE2769u).U8(1).U8(0).U8(2), &Context),
		R"({"tag":"ABOL","id":3187550057,"name":"door \"w\"\n","values":[true,false,true]})");
	EXPECT_EQ(Json(Tag::VBOL, MessageBytes().U32(4).U8(0)), R"({"tag":"VBOL","id":4,"value":false})");

	MessageBytes Matrix;
	Matrix.U32(0xFA35EB69u).Guid(MakeGuid(0x10));
	for (const float Element : Testing::CountingMatrix(0.5f))
	{
		Matrix.F32(Element);
	}
	EXPECT_EQ(Json(Tag::MTXV, Matrix, &Context), std::string(R"({"tag":"MTXV","id":4197837673,"name":"cam","identifier":")") +
		Guid10Text + R"(","matrix":[0.5,1.5,2.5,3.5,4.5,5.5,6.5,7.5,8.5,9.5,10.5,11.5,12.5,13.5,14.5,15.5]})");

	// An event's argument is the third word of a 12-byte payload; any other size carries none.
	EXPECT_EQ(Json(Tag::EVNT, MessageBytes().U32(7).I32(99).I32(-3)), R"({"tag":"EVNT","id":7,"argument":-3})");
	EXPECT_EQ(Json(Tag::EVNT, MessageBytes().U32(7).I32(99)), R"({"tag":"EVNT","id":7,"argument":0})");
	EXPECT_EQ(Json(Tag::EVNT, MessageBytes().U32(7).I32(99).I32(-3).I32(1)), R"({"tag":"EVNT","id":7,"argument":0})");
}

TEST(MessageDescription_test, FloatsKeepTheirPrecisionAndNonFiniteOnesAreNull)
{
	EXPECT_EQ(Json(Tag::VFLT, MessageBytes().U32(9).F32(std::numeric_limits<float>::quiet_NaN())), R"({"tag":"VFLT","id":9,"value":null})");
	const MessageBytes Values = MessageBytes().U32(1).Floats({0.1f, -0.0f, -std::numeric_limits<float>::infinity(),
		std::numeric_limits<float>::denorm_min(), 16777216.0f, std::numeric_limits<float>::max()});
	// Two bytes that do not make a whole element are left out.
	EXPECT_EQ(Json(Tag::AFLT, MessageBytes(Values).U8(1).U8(2)),
		R"({"tag":"AFLT","id":1,"values":[0.100000001,-0,null,1.40129846e-45,16777216,3.40282347e+38]})");
	EXPECT_EQ(Json(Tag::AINT, MessageBytes().U32(1).I32(-1).I32(2).U8(9)), R"({"tag":"AINT","id":1,"values":[-1,2]})");
}

TEST(MessageDescription_test, TextsEscapeControlBytesAndInvalidUtf8)
{
	// A control byte, quote, backslash, the short escapes, DEL, a two-byte é kept, a lead byte without its
	// continuation, an overlong NUL, a zero byte, and a four-byte sequence cut off at the end.
	const MessageBytes Text = MessageBytes().U32(3).Raw("a\x01\"\\\n\r\t\x7F\xC3\xA9\xE9z\xC0\x80x").U8(0).Raw("y\xF0\x9F\x98");
	EXPECT_EQ(Json(Tag::VSTR, Text), R"({"tag":"VSTR","id":3,"value":"a\u0001\"\\\n\r\t\u007f)"
		"\xC3\xA9" R"(\u00e9z\u00c0\u0080x\u0000y\u00f0\u009f\u0098"})");

	EXPECT_EQ(Json(Tag::VERR, MessageBytes().Raw("no \"DX12\"")), R"({"tag":"VERR","text":"no \"DX12\""})");
	// Each string item ends at its zero byte; two in a row hold an empty item, the last may lack its zero.
	EXPECT_EQ(Json(Tag::ASTR, MessageBytes().U32(2).Raw("a").U8(0).U8(0).Raw("b\tc")),
		R"({"tag":"ASTR","id":2,"values":["a","","b\tc"]})");
	EXPECT_EQ(Json(Tag::ASTR, MessageBytes().U32(2)), R"({"tag":"ASTR","id":2,"values":[]})");

	std::string Out = "x";
	AppendJsonEscaped(Out, "\xE2\x82\xAC/\x1F");
	EXPECT_EQ(Out, "x\xE2\x82\xAC/\\u001f");
}

TEST(MessageDescription_test, FieldListsShareListsAndTheirGuids)
{
	const MessageBytes Request = MessageBytes().Guid(MakeGuid(0x10)).Raw("node").U8(0).Raw("ignored");
	EXPECT_EQ(Json(Tag::FLDQ, Request), std::string(R"({"tag":"FLD?","request":")") + Guid10Text + R"(","name":"node"})");

	// A flag byte other than 0 or 1, an empty name, and a last name without its zero byte.
	const MessageBytes Fields =
		MessageBytes().Guid(MakeGuid(0x10)).U8(1).U8(1).Raw("x").U8(0).U8(7).U8(0).U8(0).U8(3).U8(2).Raw("n\"a");
	EXPECT_EQ(Json(Tag::FLDS, Fields), std::string(R"({"tag":"FLDS","request":")") + Guid10Text +
		R"(","fields":[{"type":1,"flag":true,"name":"x"},{"type":7,"flag":false,"name":""},{"type":3,"flag":true,"name":"n\"a"}]})");
	EXPECT_EQ(Json(Tag::FLDS, MessageBytes().Guid(MakeGuid(0xF0))),
		std::string(R"({"tag":"FLDS","request":")") + GuidF0Text + R"(","fields":[]})");

	// Ids beyond the count are left out of the list.
	const MessageBytes Shares = MessageBytes().I32(2).Guid(MakeGuid(0x10)).Guid(MakeGuid(0xF0)).Guid(MakeGuid(0x20));
	EXPECT_EQ(Json(Tag::TSHR, Shares),
		std::string(R"({"tag":"TSHR","count":2,"ids":[")") + Guid10Text + R"(",")" + GuidF0Text + R"("]})");
	EXPECT_EQ(Json(Tag::TSHR, MessageBytes().I32(0)), R"({"tag":"TSHR","count":0,"ids":[]})");
}

TEST(MessageDescription_test, InputPacketsShowTheirBytesAndASummaryOnlyWhenTheContextGivesOne)
{
	const MessageBytes Packet = MessageBytes().I32(3).U8(0xAB).U8(0xCD).U8(0xEF).U8(0x99);
	EXPECT_EQ(Json(Tag::ITAC, Packet), R"({"tag":"ITAC","length":3,"bytes":"abcdef"})");
	TestContext Context;
	EXPECT_EQ(Json(Tag::ITAC, Packet, &Context), R"({"tag":"ITAC","length":3,"bytes":"abcdef"})");
	Context.Summary = "Mouse/Position \"0.5\"";
	EXPECT_EQ(Json(Tag::ITAC, Packet, &Context),
		R"({"tag":"ITAC","length":3,"bytes":"abcdef","input":"Mouse/Position \"0.5\" [3 bytes]"})");

	// Byte fields show at most 256 bytes; the context still sees the whole packet.
	const MessageBytes Long = MessageBytes().I32(300).Zeros(300);
	EXPECT_EQ(Json(Tag::ITAC, Long, &Context),
		R"({"tag":"ITAC","length":300,"bytes":")" + std::string(512, '0') + R"(...","input":"Mouse/Position \"0.5\" [300 bytes]"})");
}

TEST(MessageDescription_test, UnknownTagsShowTheirEscapedTagAndBytes)
{
	EXPECT_EQ(Json(MakeTag("AB\x01Z"), MessageBytes().U8(0xDE).U8(0xAD)), R"({"tag":"AB\u0001Z","unknown":true,"size":2,"bytes":"dead"})");
	EXPECT_EQ(Json(MakeTag("ZZZZ"), {}), R"({"tag":"ZZZZ","unknown":true,"size":0,"bytes":""})");
	EXPECT_EQ(Json(0, MessageBytes().Zeros(257)),
		R"({"tag":"\u0000\u0000\u0000\u0000","unknown":true,"size":257,"bytes":")" + std::string(512, '0') + R"(..."})");
}

TEST(MessageDescription_test, AppendHexWritesEveryByteAfterWhatIsThere)
{
	std::vector<std::uint8_t> Bytes(1024);
	for (std::size_t Index = 0; Index < Bytes.size(); ++Index)
	{
		Bytes[Index] = static_cast<std::uint8_t>(Index);
	}
	std::string Out = "prefix:";
	AppendHex(Out, Bytes);
	ASSERT_EQ(Out.size(), 7 + 2 * Bytes.size());
	EXPECT_EQ(Out.substr(0, 19), "prefix:000102030405");
	EXPECT_EQ(Out.substr(7 + 2 * 0x7E, 8), "7e7f8081");
	EXPECT_EQ(Out.substr(7 + 2 * 0xFC, 8), "fcfdfeff");
	EXPECT_EQ(Out.substr(7 + 2 * 0x100, 4), "0001");
	EXPECT_EQ(Out.substr(Out.size() - 6), "fdfeff");

	std::string Preview;
	AppendHexPreview(Preview, Bytes);
	EXPECT_EQ(Preview, Out.substr(7, 512) + "...");
	AppendHex(Out, {});
	EXPECT_EQ(Out.size(), 7 + 2 * Bytes.size());
}

/** Records the kind of each call, to check which shapes a message can take. */
class ShapeVisitor final : public MessageFieldVisitor
{
public:
	std::vector<std::string> Calls;

	void Integer(std::string_view Name, std::int64_t) override { Add("Integer", Name); }
	void Float(std::string_view Name, float) override { Add("Float", Name); }
	void Bool(std::string_view Name, bool) override { Add("Bool", Name); }
	void ValueId(std::string_view Name, std::uint32_t) override { Add("ValueId", Name); }
	void Text(std::string_view Name, std::string_view) override { Add("Text", Name); }
	void Guid(std::string_view Name, const GUID&) override { Add("Guid", Name); }
	void IntegerArray(std::string_view Name, const PackedArray<std::int32_t>&) override { Add("IntegerArray", Name); }
	void FloatArray(std::string_view Name, const PackedArray<float>&) override { Add("FloatArray", Name); }
	void BoolArray(std::string_view Name, std::span<const std::uint8_t>) override { Add("BoolArray", Name); }
	void TextArray(std::string_view Name, const ZeroTerminatedTexts&) override { Add("TextArray", Name); }
	void GuidArray(std::string_view Name, const PackedArray<GUID>&) override { Add("GuidArray", Name); }
	void FieldRecords(std::string_view Name, const FieldListRecords&) override { Add("FieldRecords", Name); }
	void RawBytes(std::string_view Name, std::span<const std::uint8_t>) override { Add("RawBytes", Name); }
	void InputPacket(std::span<const std::uint8_t>) override { Add("InputPacket", ""); }
	void Malformed(std::span<const std::uint8_t>) override { Add("Malformed", ""); }
	void Unknown(std::size_t) override { Add("Unknown", ""); }

private:
	void Add(std::string_view Kind, std::string_view Name) { Calls.push_back(std::string(Kind) + ":" + std::string(Name)); }
};

TEST(MessageDescription_test, EveryTagAndLengthGivesOneShapeAndReadsOnlyItsPayload)
{
	const std::uint32_t Known[] = {Tag::UVER, Tag::VERR, Tag::CAMR, Tag::PROJ, Tag::RESN, Tag::QLTY, Tag::CLCK, Tag::VIEW,
		Tag::LPHA, Tag::TSHR, Tag::ITAC, Tag::EVNT, Tag::VINT, Tag::VFLT, Tag::VBOL, Tag::VSTR, Tag::AINT, Tag::AFLT,
		Tag::ABOL, Tag::ASTR, Tag::MTXV, Tag::FLDQ, Tag::FLDS};
	for (const std::uint8_t Fill : {std::uint8_t{0x00}, std::uint8_t{0x01}, std::uint8_t{0xFF}})
	{
		for (std::size_t Size = 0; Size <= 100; ++Size)
		{
			const auto Exact = std::make_unique<std::uint8_t[]>(Size);
			std::fill(Exact.get(), Exact.get() + Size, Fill);
			const std::span<const std::uint8_t> Payload(Exact.get(), Size);
			for (const std::uint32_t MessageTag : Known)
			{
				ShapeVisitor Shape;
				VisitMessageFields(MessageTag, Payload, Shape);
				ASSERT_FALSE(Shape.Calls.empty()) << Size;
				if (Shape.Calls.front() == "Malformed:")
				{
					EXPECT_EQ(Shape.Calls.size(), 1u) << Size;
					continue;
				}
				for (const std::string& Call : Shape.Calls)
				{
					EXPECT_TRUE(Call != "Malformed:" && Call != "Unknown:") << Call << " " << Size;
				}
			}
			ShapeVisitor Shape;
			VisitMessageFields(MakeTag("QQQQ"), Payload, Shape);
			EXPECT_EQ(Shape.Calls, (std::vector<std::string>{"Unknown:", "RawBytes:bytes"}));
		}
	}

	// Spot checks of the names and kinds a few layouts report.
	ShapeVisitor Shape;
	VisitMessageFields(Tag::MTXV, std::vector<std::uint8_t>(84), Shape);
	EXPECT_EQ(Shape.Calls, (std::vector<std::string>{"ValueId:id", "Guid:identifier", "FloatArray:matrix"}));
	Shape.Calls.clear();
	VisitMessageFields(Tag::ITAC, std::vector<std::uint8_t>(4), Shape);
	EXPECT_EQ(Shape.Calls, (std::vector<std::string>{"InputPacket:"}));
}

} // namespace
} // namespace Korvat::UE4
