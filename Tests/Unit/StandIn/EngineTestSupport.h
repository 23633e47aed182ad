// Shared fixture of the stand-in engine tests: a fresh engine per test, a private TextureShare channel folder,
// and everything reset afterwards.
#pragma once

#include "CoreUObjectTesting.h"
#include "EngineTesting.h"
#include "StandInTesting.h"
#include "TextureShareTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace EngineTestSupport
{
inline void SetEnvironment(const char* Name, const std::string& Value)
{
#if defined(_WIN32)
	_putenv_s(Name, Value.c_str());
#else
	setenv(Name, Value.c_str(), 1);
#endif
}

/** Each test gets its own channel folder, removed afterwards, so deliveries of other tests never show. */
class EngineFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ChannelDirectory = std::filesystem::temp_directory_path() /
			("korvat-engine-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
		std::filesystem::remove_all(ChannelDirectory);
		SetEnvironment("KORVAT_TEXTURESHARE_DIR", ChannelDirectory.string());
		StandInTesting::SetLogEchoToStderr(false);
	}

	void TearDown() override
	{
		EngineTesting::StopEngine();
		TextureShareTesting::Reset();
		EngineTesting::ResetRecords();
		CoreUObjectTesting::ResetObjects();
		std::filesystem::remove_all(ChannelDirectory);
	}

	std::filesystem::path ChannelDirectory;
};
} // namespace EngineTestSupport
