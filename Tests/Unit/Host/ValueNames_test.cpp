#include "ValueNames.h"

#include <gtest/gtest.h>

namespace
{

using namespace Korvat::Host;

TEST(ValueNames_test, NamesHashToTheIdsOfTheirLowerCaseBytes)
{
	EXPECT_EQ(ValueIdOfName("abc"), 0x352441C3u);
	EXPECT_EQ(ValueIdOfName("node.field"), 0x822009C1u);
	EXPECT_EQ(ValueIdOfName("Node.FIELD"), 0x822009C1u);
	EXPECT_EQ(ValueIdOfName("DOOR.WIDTH"), 0xBDFE2769u);
	EXPECT_EQ(ValueIdOfName("door.width_synced"), 0x48543B6Du);
	// Only ASCII capitals are lowered, as the engine lowers names: "Ääni.Taso" is hashed as "Ääni.taso".
	EXPECT_EQ(ValueIdOfName("\xC3\x84\xC3\x84NI.Taso"), 0x14CDDE25u);
	EXPECT_EQ(ValueIdOfName(""), 0x00000001u);
}

TEST(ValueNames_test, LetterCaseBeyondAsciiIsKept)
{
	// ŁÓDŹ keeps its capitals; only the ASCII D is lowered.
	EXPECT_EQ(LowerCaseName("\xC5\x81\xC3\x93\x44\xC5\xB9"), "\xC5\x81\xC3\x93\x64\xC5\xB9");
	EXPECT_EQ(ValueIdOfName("\xC5\x81\xC3\x93\x44\xC5\xB9"), 0x9C0B3FB0u);
	EXPECT_NE(ValueIdOfName("\xCE\x91.x"), ValueIdOfName("\xCE\xB1.x")); // Α and α are different names
}

TEST(ValueNames_test, BytesOutsideWellFormedUtf8AreKeptAsWritten)
{
	EXPECT_EQ(LowerCaseName("A\xC3"), "a\xC3");                         // cut sequence at the end
	EXPECT_EQ(LowerCaseName("\xC3Z"), "\xC3z");                         // lead byte without continuation
	EXPECT_EQ(LowerCaseName("\xC1\x81"), "\xC1\x81");                   // overlong 'A'
	EXPECT_EQ(LowerCaseName("\xE0\x83\x84"), "\xE0\x83\x84");           // overlong U+00C4
	EXPECT_EQ(LowerCaseName("\xED\xA0\x80X"), "\xED\xA0\x80x");         // a surrogate
	EXPECT_EQ(LowerCaseName("\xF0\x9F\x98\x80Q"), "\xF0\x9F\x98\x80q"); // four bytes, kept
	EXPECT_EQ(LowerCaseName("\xF8\x88\x80\x80\x80"), "\xF8\x88\x80\x80\x80");
	EXPECT_EQ(LowerCaseName(std::string_view("A\0B", 3)), std::string("a\0b", 3));
}

TEST(ValueNames_test, NumberWordsAreToldApartFromNames)
{
	for (const char* Word : {"0", "42", "0x1F", "0X0a", "-1", "+7", "4294967296", "0xFFFFFFFFFF"})
	{
		EXPECT_TRUE(IsNumberWord(Word)) << Word;
	}
	for (const char* Word : {"", "-", "0x", "door", "door.width", "1.5", "12ab", "x12", "0x1G", "--1", "1-"})
	{
		EXPECT_FALSE(IsNumberWord(Word)) << Word;
	}
}

TEST(ValueNames_test, ANameAndItsEchoAreKnownByTheirIds)
{
	ValueNames Names;
	EXPECT_EQ(Names.Find(0xBDFE2769u), nullptr);
	EXPECT_EQ(Names.Add("door.width"), 0xBDFE2769u);
	ASSERT_NE(Names.Find(0xBDFE2769u), nullptr);
	EXPECT_EQ(*Names.Find(0xBDFE2769u), "door.width");
	ASSERT_NE(Names.Find(0x48543B6Du), nullptr);
	EXPECT_EQ(*Names.Find(0x48543B6Du), "door.width_synced");
	EXPECT_EQ(Names.Size(), 2u);
	// The echo of an echo is not what the plug-in sends, so it is not named.
	EXPECT_EQ(Names.Find(0x4320BC3Cu), nullptr);
}

TEST(ValueNames_test, AnIdKeepsTheSpellingItWasFirstNamedWith)
{
	ValueNames Names;
	EXPECT_EQ(Names.Add("Door.Width"), 0xBDFE2769u);
	EXPECT_EQ(Names.Add("door.width"), 0xBDFE2769u);
	EXPECT_EQ(*Names.Find(0xBDFE2769u), "Door.Width");
	EXPECT_EQ(*Names.Find(0x48543B6Du), "Door.Width_synced");
	// Naming the echo itself afterwards changes nothing either.
	Names.Add("door.width_synced");
	EXPECT_EQ(*Names.Find(0x48543B6Du), "Door.Width_synced");
	EXPECT_EQ(Names.Size(), 3u); // and adds the echo of the echo
}

TEST(ValueNames_test, IdsArePrintedAsEightHexadecimalDigits)
{
	EXPECT_EQ(IdText(1), "0x00000001");
	EXPECT_EQ(IdText(0xF2B8741Au), "0xF2B8741A");
}

} // namespace
