#include "KorvatValueId.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace
{
std::uint32_t IdOf(std::string_view Name)
{
	return Korvat::ValueIdOfBytes(reinterpret_cast<const std::uint8_t*>(Name.data()), Name.size());
}

/** The CRC-32 bit by bit, as its definition reads, with the id's lowest bit inverted. */
std::uint32_t BitwiseId(const std::uint8_t* Bytes, std::size_t Length)
{
	std::uint32_t Crc = 0xFFFFFFFFu;
	for (std::size_t Index = 0; Index < Length; ++Index)
	{
		Crc ^= Bytes[Index];
		for (int Bit = 0; Bit < 8; ++Bit)
		{
			Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1u)));
		}
	}
	return ~Crc ^ 1u;
}

/** 80 bytes that cover every bit position with both values: a counter mixed into a generator's output. */
std::array<std::uint8_t, 80> MixedBytes()
{
	std::array<std::uint8_t, 80> Bytes{};
	std::uint32_t Seed = 12345;
	for (std::size_t Index = 0; Index < Bytes.size(); ++Index)
	{
		Seed = Seed * 1103515245u + 12345u;
		Bytes[Index] = static_cast<std::uint8_t>((Seed >> 16) ^ Index);
	}
	return Bytes;
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

TEST(ValueId_test, KnownLongerInputsGiveTheirCrc)
{
	EXPECT_EQ(IdOf("123456789"), 0xCBF43927u); // the CRC-32 check value 0xCBF43926
	EXPECT_EQ(IdOf("The quick brown fox jumps over the lazy dog"), 0x414FA338u);
	EXPECT_EQ(IdOf(std::string(70, 'a')), 0x2B818142u);
	std::array<std::uint8_t, 256> Every{};
	for (std::size_t Index = 0; Index < Every.size(); ++Index)
	{
		Every[Index] = static_cast<std::uint8_t>(Index);
	}
	EXPECT_EQ(Korvat::ValueIdOfBytes(Every.data(), 70), 0xC9C5105Cu);
	EXPECT_EQ(Korvat::ValueIdOfBytes(Every.data(), Every.size()), 0x29058C72u);
}

TEST(ValueId_test, EveryLengthAndStartingOffsetMatchesTheBitwiseCrc)
{
	// Blocks of eight bytes and the bytes left over take different paths; a name need not start aligned.
	const std::array<std::uint8_t, 80> Bytes = MixedBytes();
	for (std::size_t Offset = 0; Offset < 8; ++Offset)
	{
		for (std::size_t Length = 0; Length <= 70; ++Length)
		{
			EXPECT_EQ(Korvat::ValueIdOfBytes(Bytes.data() + Offset, Length), BitwiseId(Bytes.data() + Offset, Length))
			    << "offset " << Offset << ", length " << Length;
		}
	}
}

TEST(ValueId_test, ExtendingAtAnyPointEqualsHashingTheWhole)
{
	const std::array<std::uint8_t, 80> Bytes = MixedBytes();
	const std::string_view Text(reinterpret_cast<const char*>(Bytes.data()), 70);
	const std::uint32_t Whole = BitwiseId(Bytes.data(), Text.size());
	for (std::size_t Split = 0; Split <= Text.size(); ++Split)
	{
		EXPECT_EQ(Korvat::ExtendValueId(IdOf(Text.substr(0, Split)), Text.substr(Split)), Whole) << "split at " << Split;
	}
	EXPECT_EQ(Korvat::ExtendValueId(0xCBF43927u, ""), 0xCBF43927u);
}
