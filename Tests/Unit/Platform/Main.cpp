// The platform tests; with the child flag the program plays one side of a multi-process test instead.
#include "PlatformTestSupport.h"

#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"
#include "Platform/System.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace Korvat::UE4::Platform::Test
{

namespace
{

/** Takes the named mutex, reports that through byte 0 of the named block and ends without releasing. */
int HoldMutexAndExit(const std::string& MutexName, const std::string& BlockName)
{
	NamedMutex Mutex;
	SharedMemory Block;
	if (NamedMutex::Open(Widen(MutexName), Mutex) != OpenResult::Ok ||
	    SharedMemory::Open(Widen(BlockName), Block) != OpenResult::Ok)
	{
		return 2;
	}
	auto* Flag = static_cast<std::atomic<std::uint8_t>*>(Block.MapView(1));
	if (Flag == nullptr || Mutex.Wait(5000) != WaitResult::Acquired)
	{
		return 3;
	}
	Flag->store(1);
	return 0; // still owning the mutex
}

int CheckCommandLine(const std::string& Token)
{
	return GetProcessCommandLine().find(Token) != std::string::npos ? 0 : 4;
}

} // namespace

int RunChild(const std::vector<std::string>& Arguments)
{
	if (Arguments.size() == 3 && Arguments[0] == "hold-mutex")
	{
		return HoldMutexAndExit(Arguments[1], Arguments[2]);
	}
	if (Arguments.size() == 2 && Arguments[0] == "command-line")
	{
		return CheckCommandLine(Arguments[1]);
	}
	return 1;
}

} // namespace Korvat::UE4::Platform::Test

int main(int ArgumentCount, char** Arguments)
{
	using namespace Korvat::UE4::Platform::Test;
	if (ArgumentCount >= 2 && std::strcmp(Arguments[1], ChildFlag) == 0)
	{
		return RunChild(std::vector<std::string>(Arguments + 2, Arguments + ArgumentCount));
	}
	::testing::InitGoogleTest(&ArgumentCount, Arguments);
	return RUN_ALL_TESTS();
}
