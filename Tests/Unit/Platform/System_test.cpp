// GUIDs, text conversion, key mapping and the command line.
#include "PlatformTestSupport.h"

#include "Platform/System.h"

#include <set>

namespace Korvat::UE4::Platform::Test
{
namespace
{

TEST(SystemTest, FormatsAGuidLikeStringFromGuid2)
{
	const GUID Guid{0x0123ABCDu, 0x4567u, 0x89EFu, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
	EXPECT_EQ(FormatGuid(Guid), L"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
	EXPECT_EQ(FormatGuid(GUID{}), L"{00000000-0000-0000-0000-000000000000}");
}

TEST(SystemTest, CreatesDistinctRandomGuids)
{
	std::set<std::wstring> Seen;
	for (int Index = 0; Index < 1000; ++Index)
	{
		GUID Guid;
		ASSERT_TRUE(CreateGuid(Guid));
		EXPECT_FALSE(Guid.IsZero());
		EXPECT_EQ(Guid.Data3 >> 12, 4) << "version 4";
		EXPECT_EQ(Guid.Data4[0] & 0xC0, 0x80) << "RFC 4122 variant";
		const std::wstring Text = FormatGuid(Guid);
		ASSERT_EQ(Text.size(), 38u);
		Seen.insert(Text);
	}
	EXPECT_EQ(Seen.size(), 1000u);
}

TEST(SystemTest, ConvertsAnsiAsCodePage1252)
{
	EXPECT_EQ(AnsiToWide("abc", 3, nullptr, 0), 3) << "count mode";
	EXPECT_EQ(AnsiToWide("ab", -1, nullptr, 0), 3) << "with the terminator";
	EXPECT_EQ(AnsiToWide("abc", 0, nullptr, 0), 0);

	const char Bytes[] = {'a', '\0', 'b', '\x80', '\xE9', '\xFF'};
	wchar_t Wide[6] = {};
	ASSERT_EQ(AnsiToWide(Bytes, 6, Wide, 6), 6);
	const wchar_t Expected[] = {
	    L'a', L'\0', L'b', static_cast<wchar_t>(0x20AC), static_cast<wchar_t>(0xE9), static_cast<wchar_t>(0xFF)};
	for (int Index = 0; Index < 6; ++Index)
	{
		EXPECT_EQ(static_cast<unsigned>(Wide[Index]), static_cast<unsigned>(Expected[Index])) << "byte " << Index;
	}
	EXPECT_EQ(AnsiToWide(Bytes, 6, Wide, 5), 0) << "output too small";

	// 0x80 to 0x9F, where code page 1252 differs from Latin-1; undefined bytes stay control characters.
	const unsigned HighRange[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
	                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
	                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
	char High[32];
	for (int Index = 0; Index < 32; ++Index)
	{
		High[Index] = static_cast<char>(0x80 + Index);
	}
	wchar_t HighWide[32] = {};
	ASSERT_EQ(AnsiToWide(High, 32, HighWide, 32), 32);
	for (int Index = 0; Index < 32; ++Index)
	{
		EXPECT_EQ(static_cast<unsigned>(HighWide[Index]), HighRange[Index]) << "byte 0x" << std::hex << 0x80 + Index;
	}
}

/** MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR) of the US layout. */
std::uint32_t UsLayoutChar(std::uint32_t Key)
{
	if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
	{
		return Key;
	}
	if (Key >= 0x60 && Key <= 0x69)
	{
		return '0' + Key - 0x60;
	}
	switch (Key)
	{
	case 0x03:
		return 0x03;
	case 0x08:
		return 0x08;
	case 0x09:
		return 0x09;
	case 0x0D:
		return 0x0D;
	case 0x1B:
		return 0x1B;
	case 0x20:
		return ' ';
	case 0x6A:
		return '*';
	case 0x6B:
		return '+';
	case 0x6D:
		return '-';
	case 0x6E:
		return '.';
	case 0x6F:
		return '/';
	case 0xBA:
		return ';';
	case 0xBB:
		return '=';
	case 0xBC:
		return ',';
	case 0xBD:
		return '-';
	case 0xBE:
		return '.';
	case 0xBF:
		return '/';
	case 0xC0:
		return '`';
	case 0xDB:
		return '[';
	case 0xDC:
		return '\\';
	case 0xDD:
		return ']';
	case 0xDE:
		return '\'';
	case 0xE2:
		return '\\';
	default:
		return 0;
	}
}

TEST(SystemTest, MapsVirtualKeysAsTheUsLayout)
{
	EXPECT_EQ(VirtualKeyToChar('A'), static_cast<std::uint32_t>('A'));
	EXPECT_EQ(VirtualKeyToChar(0xBA), static_cast<std::uint32_t>(';'));
	EXPECT_EQ(VirtualKeyToChar(0x70), 0u) << "F1 has no character";
	for (std::uint32_t Key = 0; Key < 256; ++Key)
	{
		EXPECT_EQ(VirtualKeyToChar(Key), UsLayoutChar(Key)) << "virtual key 0x" << std::hex << Key;
	}
}

using CommandLineTest = PlatformTest;

TEST_F(CommandLineTest, HoldsTheArgumentsTheProcessWasStartedWith)
{
	EXPECT_NE(GetProcessCommandLine().find("korvat_platform_tests"), std::string::npos);

	ChildProcess Child;
	ASSERT_TRUE(SpawnSelf({"command-line", "-KorvatLaunchID={0123ABCD-4567-89EF-FEDC-BA9876543210}"}, Child));
	int ExitCode = -1;
	ASSERT_TRUE(WaitForExit(Child, 30000, ExitCode));
	EXPECT_EQ(ExitCode, 0) << "the child did not find its argument in its command line";
}

} // namespace
} // namespace Korvat::UE4::Platform::Test
