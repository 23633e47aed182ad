#include "KorvatValueId.h"

#include <gtest/gtest.h>

#include <string_view>

namespace
{
std::uint32_t IdOf(std::string_view Name)
{
	return Korvat::ValueIdOfBytes(reinterpret_cast<const std::uint8_t*>(Name.data()), Name.size());
}
} // namespace

TEST(ValueId_test, IsTheCrc32OfTheNameWithItsLowestBitInverted)
{
	EXPECT_EQ(IdOf("abc"), 0x352441C3u);
	EXPECT_EQ(IdOf("node.field"), 0x822009C1u);
	// The CRC-32 of nothing is 0, so the empty name has id 1.
	EXPECT_EQ(IdOf(""), 0x00000001u);
}

TEST(ValueId_test, ExtendingAnIdEqualsHashingTheLongerName)
{
	for (const std::string_view Name : {"a", "node.field", "MyNode.Speed", ""})
	{
		const std::string Longer = std::string(Name) + "_synced";
		EXPECT_EQ(Korvat::ExtendValueId(IdOf(Name), "_synced"), IdOf(Longer)) << Name;
	}
}

TEST(ValueId_test, EchoIdOfAHostValueCarriesTheSyncedSuffixAndKeepsZero)
{
	EXPECT_EQ(Korvat::SyncedEchoId(1), 0xF2B8741Au);
	EXPECT_EQ(Korvat::SyncedEchoId(IdOf("node.field")), IdOf("node.field_synced"));
	EXPECT_EQ(Korvat::SyncedEchoId(0), 0u);
}
