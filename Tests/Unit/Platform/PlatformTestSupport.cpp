#include "PlatformTestSupport.h"

#include <atomic>
#include <thread>

namespace Korvat::UE4::Platform::Test
{

bool WaitUntil(const std::function<bool()>& Condition, std::uint32_t TimeoutMs)
{
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	while (!Condition())
	{
		if (std::chrono::steady_clock::now() > Deadline)
		{
			return false;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	return true;
}

std::wstring Widen(const std::string& Text)
{
	return std::wstring(Text.begin(), Text.end()); // test names are ASCII
}

std::string Narrow(const std::wstring& Text)
{
	std::string Out;
	for (const wchar_t Char : Text)
	{
		Out += static_cast<char>(Char);
	}
	return Out;
}

void PlatformTest::SetUp()
{
	const ::testing::TestInfo* Info = ::testing::UnitTest::GetInstance()->current_test_info();
	UsePrivateNamespace(Info != nullptr ? Info->name() : "test");
}

void PlatformTest::TearDown()
{
	RemovePrivateNamespace();
}

std::wstring PlatformTest::UniqueName(const std::wstring& What)
{
	static std::atomic<unsigned> Counter{0};
	return L"KorvatTest_" + std::to_wstring(CurrentProcessId()) + L"_" + std::to_wstring(++Counter) + L"_" + What;
}

} // namespace Korvat::UE4::Platform::Test
