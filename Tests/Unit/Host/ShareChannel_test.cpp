#include "ShareChannel.h"

#include "ParameterForm.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>

namespace
{

using namespace Korvat::Host;
namespace Tag = Korvat::UE4::Tag;

void SetVariable(const char* Name, const char* Value)
{
#if defined(_WIN32)
	_putenv_s(Name, Value);
#else
	setenv(Name, Value, 1);
#endif
}

void ClearVariable(const char* Name)
{
#if defined(_WIN32)
	_putenv_s(Name, "");
#else
	unsetenv(Name);
#endif
}

class ShareChannel_test : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Directory = std::filesystem::temp_directory_path() /
			("korvat-share-channel-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
		std::filesystem::remove_all(Directory);
		std::filesystem::create_directories(Directory);
	}
	void TearDown() override { std::filesystem::remove_all(Directory); }

	void WriteFile(const std::string& FileName, const std::string& Text)
	{
		std::ofstream File(Directory / FileName, std::ios::binary);
		File << Text;
	}

	std::filesystem::path Directory;
};

TEST_F(ShareChannel_test, ListsShareObjectsSortedWithoutTemporaryOrForeignFiles)
{
	WriteFile("b_.params", "frame 1\n");
	WriteFile("a_.params", "frame 1\n");
	WriteFile("a_.params.tmp", "frame 2\n");
	WriteFile("notes.txt", "x");
	WriteFile(".params", "frame 1\n");

	std::vector<std::string> Names;
	ASSERT_TRUE(ListShareObjects(Directory, Names));

	EXPECT_EQ(Names, (std::vector<std::string>{"a_", "b_"}));
}

TEST_F(ShareChannel_test, MissingFolderListsNothingAndMissingObjectIsNotFound)
{
	std::vector<std::string> Names{"stale"};
	EXPECT_TRUE(ListShareObjects(Directory / "absent", Names));
	EXPECT_TRUE(Names.empty());

	ShareChannelFrame Frame;
	EXPECT_EQ(ReadShareObject(Directory, "absent_", Frame), ShareChannelResult::NotFound);
}

TEST_F(ShareChannel_test, ReadsFrameNumberAndParametersInFileOrder)
{
	WriteFile("123_.params", "frame 42\nZZ=1\nAA=2\nempty=\n");

	ShareChannelFrame Frame;
	ASSERT_EQ(ReadShareObject(Directory, "123_", Frame), ShareChannelResult::Ok);

	EXPECT_EQ(Frame.Frame, 42u);
	const std::vector<std::pair<std::string, std::string>> Expected{{"ZZ", "1"}, {"AA", "2"}, {"empty", ""}};
	EXPECT_EQ(Frame.Parameters, Expected);
}

TEST_F(ShareChannel_test, UndoesEscapesOfBackslashLineBreaksAndEquals)
{
	ShareChannelFrame Frame;
	ASSERT_EQ(ParseShareObject("frame 0\r\nk\\=1\\\\=a\\nb\\rc=d\r\n", Frame), ShareChannelResult::Ok);

	ASSERT_EQ(Frame.Parameters.size(), 1u);
	EXPECT_EQ(Frame.Parameters[0].first, "k=1\\");
	EXPECT_EQ(Frame.Parameters[0].second, "a\nb\rc=d");
}

TEST_F(ShareChannel_test, GarbageFilesAreMalformedAndLeaveTheResultUntouched)
{
	ShareChannelFrame Frame;
	Frame.Frame = 7;
	for (const char* Text : {"", "frame\n", "frame x\n", "frame 12x\n", "frame -1\n", "frame 99999999999\n", "k=v\nframe 1\n",
			 "frame 1\nno-equals\n", "\xff\xfe\x00garbage"})
	{
		EXPECT_EQ(ParseShareObject(Text, Frame), ShareChannelResult::Malformed) << Text;
		EXPECT_EQ(Frame.Frame, 7u);
	}
}

TEST(ShareChannelDecode_test, DecodesWhatThePlugInsParameterFormWrites)
{
	// Inbound VINT for value id 1 with value 5 echoed while the frame marker is 16.
	const std::string Key = "56494E541A74B8F2" + std::string(32, '0');
	ShareParameter Parameter;
	ASSERT_TRUE(DecodeShareParameter(Key, "1000000005000000", Parameter));

	EXPECT_EQ(Parameter.Tag, Tag::VINT);
	EXPECT_EQ(Parameter.Id, 0xF2B8741Au);
	EXPECT_TRUE(Parameter.Identifier.IsZero());
	EXPECT_EQ(Parameter.FrameMarker, 16);
	EXPECT_EQ(Parameter.Payload, (std::vector<std::uint8_t>{5, 0, 0, 0}));
}

TEST(ShareChannelDecode_test, RoundTripsIdentifierNegativeMarkerAndLowerCaseDigits)
{
	Korvat::UE4::GUID Identifier;
	Identifier.Data1 = 0x01234567;
	Identifier.Data2 = 0x89AB;
	Identifier.Data3 = 0xCDEF;
	Identifier.Data4[7] = 0xEE;
	const std::uint8_t Payload[] = {0xDE, 0xAD, 0xBE, 0xEF, 0x00};
	std::string Key = Korvat::UE4::MakeParameterKey(Tag::VINT, 0x80000001u, Identifier);
	const std::string Value = Korvat::UE4::MakeParameterValue(-2, Payload);
	for (char& Character : Key)
	{
		Character = static_cast<char>(std::tolower(static_cast<unsigned char>(Character)));
	}

	ShareParameter Parameter;
	ASSERT_TRUE(DecodeShareParameter(Key, Value, Parameter));

	EXPECT_EQ(Parameter.Id, 0x80000001u);
	EXPECT_TRUE(Parameter.Identifier == Identifier);
	EXPECT_EQ(Parameter.FrameMarker, -2);
	EXPECT_EQ(Parameter.Payload, std::vector<std::uint8_t>(std::begin(Payload), std::end(Payload)));
}

TEST(ShareChannelDecode_test, RejectsKeysAndValuesThatAreNotTheHexadecimalForm)
{
	const std::string GoodKey(48, '0');
	ShareParameter Parameter;
	Parameter.Id = 99;

	EXPECT_FALSE(DecodeShareParameter(std::string(46, '0'), "00000000", Parameter));
	EXPECT_FALSE(DecodeShareParameter(std::string(50, '0'), "00000000", Parameter));
	EXPECT_FALSE(DecodeShareParameter(std::string(47, '0') + "G", "00000000", Parameter));
	EXPECT_FALSE(DecodeShareParameter(GoodKey, "000000", Parameter));
	EXPECT_FALSE(DecodeShareParameter(GoodKey, "000000000", Parameter));
	EXPECT_FALSE(DecodeShareParameter(GoodKey, "0000000 ", Parameter));
	EXPECT_EQ(Parameter.Id, 99u);

	EXPECT_TRUE(DecodeShareParameter(GoodKey, "00000000", Parameter));
	EXPECT_TRUE(Parameter.Payload.empty());
}

TEST(ShareChannelDirectory_test, FollowsTheEnvironmentVariableElseTheTemporaryFolder)
{
	const char* Previous = std::getenv(ShareChannelDirectoryVariable);
	const std::string Saved = Previous != nullptr ? Previous : "";

	SetVariable(ShareChannelDirectoryVariable, "/tmp/elsewhere");
	EXPECT_EQ(ShareChannelDirectory(), std::filesystem::path("/tmp/elsewhere"));
	SetVariable(ShareChannelDirectoryVariable, "");
	EXPECT_EQ(ShareChannelDirectory(), std::filesystem::temp_directory_path() / "korvat-textureshare");

	if (Previous != nullptr)
	{
		SetVariable(ShareChannelDirectoryVariable, Saved.c_str());
	}
	else
	{
		ClearVariable(ShareChannelDirectoryVariable);
	}
}

} // namespace
