// What the POSIX backend keeps of a named mutex that its owner closed: ownership stays while other handles
// hold the object (as on Windows), and the mapping and file go once nobody else does.
#include "PlatformTestSupport.h"

#include "Platform/NamedMutex.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

namespace Korvat::UE4::Platform::Test
{
namespace
{

using NamedObjectLifetimeTest = PlatformTest;

/** Lines of /proc/self/maps that name a file of the current object folder. */
std::size_t MappingsOfObjectFiles()
{
	const std::string Root = std::getenv("KORVAT_IPC_ROOT");
	std::ifstream Maps("/proc/self/maps");
	std::size_t Count = 0;
	for (std::string Line; std::getline(Maps, Line);)
	{
		Count += Line.find(Root + "/") != std::string::npos ? 1 : 0;
	}
	return Count;
}

/** Object files in the current object folder (the namespace lock not counted). */
std::size_t ObjectFiles()
{
	std::error_code Error;
	std::size_t Count = 0;
	for (const auto& Entry : std::filesystem::directory_iterator(std::getenv("KORVAT_IPC_ROOT"), Error))
	{
		Count += Entry.path().filename().string()[0] != '.' ? 1 : 0;
	}
	return Count;
}

TEST_F(NamedObjectLifetimeTest, OwnedMutexClosedByItsOwnerStaysOwnedWhileAnotherHandleHoldsIt)
{
	const std::wstring Name = UniqueName(L"Monitor");
	NamedMutex Owned;
	ASSERT_EQ(NamedMutex::Create(Name, MutexOwnership::OwnedByCreator, Owned), OpenResult::Ok);

	std::promise<void> Opened;
	std::promise<void> OwnerClosed;
	std::promise<WaitResult> Seen;
	std::promise<void> Finish;
	std::thread Other([&] {
		NamedMutex Handle;
		EXPECT_EQ(NamedMutex::Open(Name, Handle), OpenResult::Ok);
		Opened.set_value();
		OwnerClosed.get_future().wait();
		Seen.set_value(Handle.Wait(0));
		Finish.get_future().wait();
	});
	Opened.get_future().wait();
	Owned.Close();
	OwnerClosed.set_value();
	EXPECT_EQ(Seen.get_future().get(), WaitResult::TimedOut) << "the owner lives on: its mutex is still owned";
	EXPECT_EQ(ObjectFiles(), 1u);
	Finish.set_value();
	Other.join();

	// The other handle is gone: the next mutex operation of the owner lets go of the mapping and the file.
	NamedMutex Next;
	ASSERT_EQ(NamedMutex::Create(UniqueName(L"Next"), MutexOwnership::NotOwned, Next), OpenResult::Ok);
	Next.Close();
	EXPECT_EQ(MappingsOfObjectFiles(), 0u);
	EXPECT_EQ(ObjectFiles(), 0u);
}

TEST_F(NamedObjectLifetimeTest, OwnedMutexesCreatedAndClosedAgainAndAgainLeaveNoMappingOrFileBehind)
{
	for (int Round = 0; Round < 2000; ++Round)
	{
		NamedMutex Owned;
		ASSERT_EQ(NamedMutex::Create(UniqueName(L"Monitor"), MutexOwnership::OwnedByCreator, Owned), OpenResult::Ok);
	}
	EXPECT_EQ(MappingsOfObjectFiles(), 0u);
	EXPECT_EQ(ObjectFiles(), 0u);
}

TEST_F(NamedObjectLifetimeTest, OwnerThreadEndingAfterCloseStillAbandonsTheMutexForTheOtherHolder)
{
	const std::wstring Name = UniqueName(L"Monitor");
	NamedMutex Waiter;
	std::thread([&] {
		NamedMutex Owned;
		ASSERT_EQ(NamedMutex::Create(Name, MutexOwnership::OwnedByCreator, Owned), OpenResult::Ok);
		ASSERT_EQ(NamedMutex::Open(Name, Waiter), OpenResult::Ok);
		Owned.Close();
	}).join();
	EXPECT_EQ(Waiter.Wait(0), WaitResult::Abandoned);
	EXPECT_TRUE(Waiter.Release());
	Waiter.Close();
	NamedMutex Next;
	ASSERT_EQ(NamedMutex::Create(UniqueName(L"Next"), MutexOwnership::NotOwned, Next), OpenResult::Ok);
	Next.Close();
	EXPECT_EQ(MappingsOfObjectFiles(), 0u);
	EXPECT_EQ(ObjectFiles(), 0u);
}

} // namespace
} // namespace Korvat::UE4::Platform::Test
