#include "KorvatLaunchId.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace
{
using Korvat::UE4::GUID;

constexpr std::array<std::uint8_t, 8> KnownData4 = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};

std::array<std::uint8_t, 8> Data4Of(const GUID& Guid)
{
	std::array<std::uint8_t, 8> Bytes;
	std::memcpy(Bytes.data(), Guid.Data4, Bytes.size());
	return Bytes;
}

/** Something other than zero, so that a lookup that leaves its output alone shows. */
GUID Poisoned()
{
	GUID Guid;
	Guid.Data1 = 0x5A5A5A5Au;
	Guid.Data2 = 0x5A5Au;
	Guid.Data3 = 0x5A5Au;
	for (std::uint8_t& Byte : Guid.Data4)
	{
		Byte = 0x5A;
	}
	return Guid;
}

void ExpectKnownGuid(const GUID& Guid)
{
	EXPECT_EQ(Guid.Data1, 0x01234567u);
	EXPECT_EQ(Guid.Data2, 0x89ABu);
	EXPECT_EQ(Guid.Data3, 0xCDEFu);
	EXPECT_EQ(Data4Of(Guid), KnownData4);
}
} // namespace

TEST(LaunchId_test, SwitchTokenFollowedByAFurtherTokenGivesTheGuidInWindowsLayout)
{
	GUID LaunchId = Poisoned();
	ASSERT_TRUE(Korvat::FindLaunchId(
		TEXT("Unreal.exe Project.uproject -KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF -windowed"), LaunchId));
	ExpectKnownGuid(LaunchId);

	// The same GUID in the engine's other textual forms.
	for (const TCHAR* CommandLine : {TEXT("-KorvatLaunchID={01234567-89AB-CDEF-0123-456789ABCDEF} -log"),
	                                 TEXT("-KorvatLaunchID=0123456789ABCDEF0123456789ABCDEF -log")})
	{
		LaunchId = Poisoned();
		ASSERT_TRUE(Korvat::FindLaunchId(CommandLine, LaunchId)) << *FString(CommandLine);
		ExpectKnownGuid(LaunchId);
	}
}

TEST(LaunchId_test, EngineGuidWordsMapToTheWindowsFields)
{
	const GUID Converted = Korvat::ToWindowsGuid(FGuid(0x01234567u, 0x89ABCDEFu, 0x01234567u, 0x89ABCDEFu));
	ExpectKnownGuid(Converted);
}

TEST(LaunchId_test, SwitchIsRecognisedInAnyCaseOnlyAtTheStartOfAToken)
{
	GUID LaunchId = Poisoned();
	ASSERT_TRUE(Korvat::FindLaunchId(TEXT("game -korvatlaunchid=01234567-89AB-CDEF-0123-456789ABCDEF"), LaunchId));
	ExpectKnownGuid(LaunchId);

	for (const TCHAR* CommandLine : {TEXT("game x-KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF"),
	                                 TEXT("game \"-KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF\""),
	                                 TEXT("game --KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF"),
	                                 TEXT("game -KorvatLaunchID =01234567-89AB-CDEF-0123-456789ABCDEF")})
	{
		LaunchId = Poisoned();
		EXPECT_FALSE(Korvat::FindLaunchId(CommandLine, LaunchId)) << *FString(CommandLine);
	}
}

TEST(LaunchId_test, LastSwitchTokenWins)
{
	GUID LaunchId;
	ASSERT_TRUE(Korvat::FindLaunchId(
		TEXT("-KorvatLaunchID=FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF game\t-KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF"),
		LaunchId));
	ExpectKnownGuid(LaunchId);

	// A last switch without a usable GUID still decides: the earlier good one does not survive it.
	LaunchId = Poisoned();
	ASSERT_TRUE(Korvat::FindLaunchId(TEXT("-KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDEF -KorvatLaunchID=nope"), LaunchId));
	EXPECT_TRUE(LaunchId.IsZero());
}

TEST(LaunchId_test, SwitchWithoutAGuidIsFoundAndAllZero)
{
	for (const TCHAR* CommandLine : {TEXT("game -KorvatLaunchID=not-a-guid -log"), TEXT("game -KorvatLaunchID="),
	                                 TEXT("-KorvatLaunchID=01234567-89AB-CDEF-0123-456789ABCDE")})
	{
		GUID LaunchId = Poisoned();
		ASSERT_TRUE(Korvat::FindLaunchId(CommandLine, LaunchId)) << *FString(CommandLine);
		EXPECT_TRUE(LaunchId.IsZero()) << *FString(CommandLine);
	}
}

TEST(LaunchId_test, NoSwitchIsNotFound)
{
	for (const TCHAR* CommandLine : {TEXT(""), TEXT("   "), TEXT("game -log -KorvatLaunch=01234567-89AB-CDEF-0123-456789ABCDEF")})
	{
		GUID LaunchId = Poisoned();
		EXPECT_FALSE(Korvat::FindLaunchId(CommandLine, LaunchId)) << *FString(CommandLine);
	}
}

TEST(LaunchId_test, WithoutASwitchEachDeterminationGeneratesANewId)
{
	// The test program's own command line carries no launch switch.
	bool bFirstGenerated = false;
	bool bSecondGenerated = false;
	const GUID First = Korvat::DetermineLaunchId(bFirstGenerated);
	const GUID Second = Korvat::DetermineLaunchId(bSecondGenerated);
	EXPECT_TRUE(bFirstGenerated);
	EXPECT_TRUE(bSecondGenerated);
	EXPECT_FALSE(First.IsZero());
	EXPECT_FALSE(First == Second);
}
