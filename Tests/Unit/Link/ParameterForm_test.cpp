// The hexadecimal parameter form, checked against literal strings.
#include "ParameterForm.h"

#include "LinkTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Korvat::UE4
{
namespace
{

TEST(ParameterForm_test, KeyIsTagThenLittleEndianIdThenZeroIdentifier)
{
	EXPECT_EQ(MakeParameterKey(Tag::VINT, 1), "56494E5401000000" + std::string(32, '0'));
	EXPECT_EQ(MakeParameterKey(Tag::EVNT, 0xA1B2C3D4u), "45564E54D4C3B2A1" + std::string(32, '0'));
}

TEST(ParameterForm_test, KeyCarriesTheIdentifierBytesInMemoryOrder)
{
	const GUID Identifier = Testing::MakeGuid(0xF0); // F0 F1 ... FF
	EXPECT_EQ(MakeParameterKey(Tag::MTXV, 0xFFFFFFFFu, Identifier),
		"4D545856FFFFFFFFF0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF");
}

TEST(ParameterForm_test, ValueIsFrameMarkerThenPayloadBytes)
{
	const std::vector<std::uint8_t> Payload = {0x05, 0x00, 0x00, 0x00};
	EXPECT_EQ(MakeParameterValue(16, Payload), "1000000005000000");
	EXPECT_EQ(MakeParameterValue(-2, {}), "FEFFFFFF");
	const std::vector<std::uint8_t> Mixed = {0xAB, 0x0C, 0xD0};
	EXPECT_EQ(MakeParameterValue(0x7FFFFFFF, Mixed), "FFFFFF7FAB0CD0");
}

TEST(ParameterForm_test, FormattingReusesTheCallersBufferWithoutGrowingIt)
{
	std::string Key;
	Key.reserve(64);
	const char* const Storage = Key.data();
	FormatParameterKey(Tag::VINT, 2, GUID{}, Key);
	FormatParameterKey(Tag::VFLT, 3, GUID{}, Key);
	EXPECT_EQ(Key.data(), Storage);
	EXPECT_EQ(Key, "56464C5403000000" + std::string(32, '0'));

	std::string Value = "previous contents that are longer than the new value";
	const std::vector<std::uint8_t> Payload = {1};
	FormatParameterValue(1, Payload, Value);
	EXPECT_EQ(Value, "0100000001");
}

TEST(ParameterForm_test, WritesIntoWideBuffersAndRefusesATooSmallOne)
{
	wchar_t Key[ParameterKeyDigits];
	WriteParameterKey(Tag::VBOL, 1, GUID{}, std::span<wchar_t, ParameterKeyDigits>(Key));
	EXPECT_EQ(std::wstring(Key, ParameterKeyDigits), L"56424F4C01000000" + std::wstring(32, L'0'));

	const std::uint8_t Payload[2] = {0x12, 0x34};
	char16_t Small[ParameterValueDigits(2) - 1] = {};
	EXPECT_FALSE(WriteParameterValue<char16_t>(3, Payload, Small));
	EXPECT_EQ(Small[0], u'\0');

	char16_t Exact[ParameterValueDigits(2)];
	ASSERT_TRUE(WriteParameterValue<char16_t>(3, Payload, Exact));
	EXPECT_EQ(std::u16string(Exact, ParameterValueDigits(2)), u"030000001234");
}

} // namespace
} // namespace Korvat::UE4
