// Shared memory, named mutexes and events: Windows naming, lifetime and ownership rules.
#include "PlatformTestSupport.h"

#include "Platform/CriticalSection.h"
#include "Platform/NamedEvent.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"

#include <atomic>
#include <cstring>
#include <future>
#include <thread>

namespace Korvat::UE4::Platform::Test
{
namespace
{

using SharedMemoryTest = PlatformTest;
using NamedMutexTest = PlatformTest;
using NamedEventTest = PlatformTest;

TEST_F(SharedMemoryTest, OpensOnlyWhatWasCreatedAndViewsShareTheBytes)
{
	const std::wstring Name = UniqueName(L"Shared");
	SharedMemory Missing;
	EXPECT_EQ(SharedMemory::Open(Name, Missing), OpenResult::NotFound);
	EXPECT_FALSE(Missing.IsValid());

	SharedMemory Created;
	ASSERT_EQ(SharedMemory::Create(Name, 716, Created), OpenResult::Ok);
	SharedMemory Opened;
	ASSERT_EQ(SharedMemory::Open(Name, Opened), OpenResult::Ok);
	SharedMemory Again;
	ASSERT_EQ(SharedMemory::Create(Name, 716, Again), OpenResult::AlreadyExists);
	ASSERT_TRUE(Again.IsValid());

	auto* First = static_cast<unsigned char*>(Created.MapView(716));
	auto* Second = static_cast<unsigned char*>(Opened.MapView(716));
	auto* Third = static_cast<unsigned char*>(Again.MapView(716));
	ASSERT_NE(First, nullptr);
	ASSERT_NE(Second, nullptr);
	ASSERT_NE(Third, nullptr);
	const unsigned char Zeros[716] = {};
	EXPECT_EQ(std::memcmp(Second, Zeros, sizeof(Zeros)), 0) << "a new block is zero-filled";

	First[0] = 0xA5;
	First[715] = 0x5A;
	EXPECT_EQ(Second[0], 0xA5);
	EXPECT_EQ(Third[715], 0x5A);

	SharedMemory::UnmapView(First, 716);
	SharedMemory::UnmapView(Second, 716);
	SharedMemory::UnmapView(Third, 716);
}

TEST_F(SharedMemoryTest, ViewOutlivesTheHandlesAndTheNameGoesWithTheLastOne)
{
	const std::wstring Name = UniqueName(L"Shared");
	SharedMemory Created;
	ASSERT_EQ(SharedMemory::Create(Name, 64, Created), OpenResult::Ok);
	auto* View = static_cast<unsigned char*>(Created.MapView(64));
	ASSERT_NE(View, nullptr);

	SharedMemory Moved(std::move(Created));
	EXPECT_FALSE(Created.IsValid());
	EXPECT_TRUE(Moved.IsValid());
	Moved.Close();
	View[63] = 7; // still mapped
	EXPECT_EQ(View[63], 7);
	SharedMemory::UnmapView(View, 64);

	SharedMemory Reopened;
	EXPECT_EQ(SharedMemory::Open(Name, Reopened), OpenResult::NotFound);
}

TEST_F(NamedMutexTest, OpensOnlyWhatWasCreated)
{
	const std::wstring Name = UniqueName(L"Mutex");
	NamedMutex Missing;
	EXPECT_EQ(NamedMutex::Open(Name, Missing), OpenResult::NotFound);

	NamedMutex Created;
	ASSERT_EQ(NamedMutex::Create(Name, MutexOwnership::NotOwned, Created), OpenResult::Ok);
	NamedMutex Opened;
	EXPECT_EQ(NamedMutex::Open(Name, Opened), OpenResult::Ok);
	NamedMutex Again;
	EXPECT_EQ(NamedMutex::Create(Name, MutexOwnership::NotOwned, Again), OpenResult::AlreadyExists);
	EXPECT_TRUE(Again.IsValid());

	Created.Close();
	Opened.Close();
	Again.Close();
	EXPECT_EQ(NamedMutex::Open(Name, Missing), OpenResult::NotFound);
}

TEST_F(NamedMutexTest, IsRecursiveForItsOwnerAndExcludesOtherThreads)
{
	NamedMutex sut;
	ASSERT_EQ(NamedMutex::Create(UniqueName(L"Mutex"), MutexOwnership::NotOwned, sut), OpenResult::Ok);
	ASSERT_EQ(sut.Wait(0), WaitResult::Acquired);
	ASSERT_EQ(sut.Wait(InfiniteWait), WaitResult::Acquired);

	std::thread([&] {
		EXPECT_EQ(sut.Wait(0), WaitResult::TimedOut);
		const auto Start = std::chrono::steady_clock::now();
		EXPECT_EQ(sut.Wait(60), WaitResult::TimedOut);
		EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(40));
		EXPECT_FALSE(sut.Release()) << "a thread that does not own the mutex cannot release it";
	}).join();

	EXPECT_TRUE(sut.Release());
	std::thread([&] { EXPECT_EQ(sut.Wait(0), WaitResult::TimedOut) << "still held once"; }).join();
	EXPECT_TRUE(sut.Release());
	EXPECT_FALSE(sut.Release());

	std::thread([&] {
		EXPECT_EQ(sut.Wait(0), WaitResult::Acquired);
		EXPECT_TRUE(sut.Release());
	}).join();
}

TEST_F(NamedMutexTest, CreatingAnExistingMutexDoesNotGrantOwnership)
{
	const std::wstring Name = UniqueName(L"Mutex");
	std::promise<void> Created;
	std::promise<void> Done;
	std::thread Owner([&] {
		NamedMutex Mutex;
		ASSERT_EQ(NamedMutex::Create(Name, MutexOwnership::OwnedByCreator, Mutex), OpenResult::Ok);
		Created.set_value();
		Done.get_future().wait();
		EXPECT_TRUE(Mutex.Release());
	});
	Created.get_future().wait();

	NamedMutex sut;
	EXPECT_EQ(NamedMutex::Create(Name, MutexOwnership::OwnedByCreator, sut), OpenResult::AlreadyExists);
	EXPECT_EQ(sut.Wait(0), WaitResult::TimedOut);
	EXPECT_FALSE(sut.Release());
	Done.set_value();
	Owner.join();
	EXPECT_EQ(sut.Wait(0), WaitResult::Acquired);
	EXPECT_TRUE(sut.Release());
}

TEST_F(NamedMutexTest, IsAbandonedWhenTheOwningThreadEndsEvenAfterClosingItsHandle)
{
	const std::wstring Name = UniqueName(L"Mutex");
	NamedMutex sut;
	ASSERT_EQ(NamedMutex::Create(Name, MutexOwnership::NotOwned, sut), OpenResult::Ok);

	std::promise<void> Closed;
	std::promise<void> Finish;
	std::thread Owner([&] {
		NamedMutex Mutex;
		ASSERT_EQ(NamedMutex::Open(Name, Mutex), OpenResult::Ok);
		ASSERT_EQ(Mutex.Wait(0), WaitResult::Acquired);
		Mutex.Close(); // closing a handle does not give up ownership
		Closed.set_value();
		Finish.get_future().wait();
	});
	Closed.get_future().wait();
	EXPECT_EQ(sut.Wait(0), WaitResult::TimedOut);
	Finish.set_value();
	Owner.join();

	EXPECT_EQ(sut.Wait(0), WaitResult::Abandoned);
	EXPECT_TRUE(sut.Release()) << "the waiter owns an abandoned mutex";
	EXPECT_EQ(sut.Wait(0), WaitResult::Acquired) << "and it is usable again afterwards";
	EXPECT_TRUE(sut.Release());
}

TEST_F(NamedMutexTest, CreatedOwnedIsAbandonedWhenTheCreatingThreadEnds)
{
	NamedMutex sut;
	std::thread([&] {
		ASSERT_EQ(NamedMutex::Create(UniqueName(L"Mutex"), MutexOwnership::OwnedByCreator, sut), OpenResult::Ok);
	}).join();
	EXPECT_EQ(sut.Wait(1000), WaitResult::Abandoned);
	EXPECT_TRUE(sut.Release());
}

TEST_F(NamedMutexTest, IsAbandonedWhenTheOwningProcessEnds)
{
	const std::wstring MutexName = UniqueName(L"Mutex");
	const std::wstring BlockName = UniqueName(L"Flag");
	NamedMutex sut;
	ASSERT_EQ(NamedMutex::Create(MutexName, MutexOwnership::NotOwned, sut), OpenResult::Ok);
	SharedMemory Block;
	ASSERT_EQ(SharedMemory::Create(BlockName, 64, Block), OpenResult::Ok);
	auto* Flag = static_cast<std::atomic<std::uint8_t>*>(Block.MapView(64));
	ASSERT_NE(Flag, nullptr);

	ChildProcess Child;
	ASSERT_TRUE(SpawnSelf({"hold-mutex", Narrow(MutexName), Narrow(BlockName)}, Child));
	int ExitCode = -1;
	ASSERT_TRUE(WaitForExit(Child, 30000, ExitCode));
	ASSERT_EQ(ExitCode, 0);
	ASSERT_EQ(Flag->load(), 1) << "the child took the mutex";

	EXPECT_EQ(sut.Wait(5000), WaitResult::Abandoned);
	EXPECT_TRUE(sut.Release());
	SharedMemory::UnmapView(Flag, 64);
}

TEST_F(NamedEventTest, OpensOnlyWhatWasCreatedAndOnlyAsAnEvent)
{
	const std::wstring Name = UniqueName(L"Event");
	NamedEvent Missing;
	EXPECT_EQ(NamedEvent::Open(Name, Missing), OpenResult::NotFound);

	NamedEvent Created;
	ASSERT_EQ(NamedEvent::Create(Name, Created), OpenResult::Ok);
	NamedEvent Opened;
	ASSERT_EQ(NamedEvent::Open(Name, Opened), OpenResult::Ok);
	NamedEvent Again;
	EXPECT_EQ(NamedEvent::Create(Name, Again), OpenResult::AlreadyExists);
	EXPECT_TRUE(Opened.Set());
	EXPECT_TRUE(Created.Set());

	NamedMutex NotAMutex;
	EXPECT_NE(NamedMutex::Open(Name, NotAMutex), OpenResult::Ok) << "names are shared between object kinds";
	EXPECT_FALSE(NotAMutex.IsValid());

	NamedEvent Moved;
	Moved = std::move(Opened);
	EXPECT_TRUE(Moved.IsValid());
	EXPECT_FALSE(Opened.Set());
	Created.Close();
	Again.Close();
	Moved.Close();
	EXPECT_EQ(NamedEvent::Open(Name, Missing), OpenResult::NotFound);
}

TEST(CriticalSectionTest, IsRecursiveAndExcludesOtherThreads)
{
	CriticalSection sut;
	long Counter = 0;
	const auto Work = [&] {
		for (int Index = 0; Index < 20000; ++Index)
		{
			ScopedSection Outer(sut);
			ScopedSection Inner(sut);
			++Counter;
		}
	};
	std::thread Other(Work);
	Work();
	Other.join();
	EXPECT_EQ(Counter, 40000);
}

} // namespace
} // namespace Korvat::UE4::Platform::Test
