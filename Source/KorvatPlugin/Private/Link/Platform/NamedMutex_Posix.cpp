// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "NamedMutex.h"

#include "NamedObject_Posix.h"
#include "Os_Posix.h"

#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>


#include <cerrno>
#include <mutex>
#include <new>
#include <vector>

namespace Korvat::UE4::Platform
{

namespace
{

/**
 * A robust, recursive, process-shared mutex: the kernel marks it owner-dead when the owning thread or
 * process ends, which is Windows' abandoned mutex.
 */
struct MutexBlock
{
	pthread_mutex_t Mutex;
};

constexpr std::size_t MutexMappingSize = Posix::ObjectHeaderSize + sizeof(MutexBlock);

struct MutexInitContext
{
	bool bTakeOwnership = false;
};

bool InitializeMutex(void* Payload, void* Context) noexcept
{
	auto* Block = new (Payload) MutexBlock();
	pthread_mutexattr_t Attributes;
	if (pthread_mutexattr_init(&Attributes) != 0)
	{
		return false;
	}
	const bool bReady = pthread_mutexattr_setpshared(&Attributes, PTHREAD_PROCESS_SHARED) == 0 &&
	                    pthread_mutexattr_setrobust(&Attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
	                    pthread_mutexattr_settype(&Attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
	                    pthread_mutex_init(&Block->Mutex, &Attributes) == 0;
	pthread_mutexattr_destroy(&Attributes);
	// Taken before the object becomes visible, so nobody can get in first.
	return bReady && (!static_cast<MutexInitContext*>(Context)->bTakeOwnership || pthread_mutex_lock(&Block->Mutex) == 0);
}

pthread_mutex_t* MutexOf(void* Base) noexcept
{
	return &std::launder(reinterpret_cast<MutexBlock*>(static_cast<unsigned char*>(Base) + Posix::ObjectHeaderSize))->Mutex;
}

/** The kernel thread id in the lock word of a robust mutex (glibc keeps it there for the robust futex protocol). */
pid_t OwnerThread(pthread_mutex_t* Mutex) noexcept
{
	return static_cast<pid_t>(static_cast<unsigned>(Mutex->__data.__lock) & FUTEX_TID_MASK);
}

/** True when a live thread of this process owns the mutex. */
bool IsOwnedInThisProcess(pthread_mutex_t* Mutex) noexcept
{
	const pid_t Owner = OwnerThread(Mutex);
	return Owner != 0 && ::tgkill(::getpid(), Owner, 0) == 0;
}

timespec DeadlineAfter(std::uint32_t TimeoutMs) noexcept
{
	timespec Deadline;
	::clock_gettime(CLOCK_MONOTONIC, &Deadline);
	Deadline.tv_sec += static_cast<time_t>(TimeoutMs / 1000);
	Deadline.tv_nsec += static_cast<long>(TimeoutMs % 1000) * 1000000L;
	if (Deadline.tv_nsec >= 1000000000L)
	{
		Deadline.tv_sec += 1;
		Deadline.tv_nsec -= 1000000000L;
	}
	return Deadline;
}
/**
 * Mutexes closed while a live thread of this process owns them through the closed handle's mapping.
 *
 * Closing does not release ownership (as on Windows). The owner thread's robust list points into the
 * mapping through which it took the lock, and the kernel follows that list when the thread ends to mark
 * the mutex abandoned for the other holders: unmapping it earlier would leave them waiting for ever, or
 * let the kernel write into whatever is mapped there later. (A mapping also keeps its file's lock.) So
 * the mapping and the descriptor stay, and the object stays alive for the other holders, until either
 *  - nobody owns it through that mapping any more (released, or its thread ended and the kernel marked
 *    it abandoned), or
 *  - the owner is the thread that looks and nobody else holds the object: then nobody can observe the
 *    mutex any more (on Windows closing the last handle destroys an owned mutex), so it is unlocked,
 *    which takes it off the robust list, and dropped.
 * Every mutex operation of the process looks, so a claim that is refused again and again costs nothing
 * lasting, while a host that still holds a closed monitor sees it owned until the owner thread ends.
 */
struct ClosedOwnedMutex
{
	int Fd = -1;
	void* Block = nullptr;
};

std::mutex ClosedOwnedLock;
std::vector<ClosedOwnedMutex> ClosedOwned;

/** Drops the entries that no longer need keeping; the caller holds ClosedOwnedLock. */
void SweepClosedOwnedLocked() noexcept
{
	const pid_t Self = ::gettid();
	std::size_t Kept = 0;
	for (std::size_t Index = 0; Index < ClosedOwned.size(); ++Index)
	{
		ClosedOwnedMutex& Entry = ClosedOwned[Index];
		pthread_mutex_t* Mutex = MutexOf(Entry.Block);
		bool bDrop = false;
		if (!IsOwnedInThisProcess(Mutex))
		{
			Posix::CloseNamedObject(Entry.Fd);
			bDrop = true;
		}
		else if (OwnerThread(Mutex) == Self && Posix::CloseNamedObjectIfLast(Entry.Fd))
		{
			// Every level of the recursive ownership; the last unlock takes it off this thread's robust list.
			while (OwnerThread(Mutex) == Self && pthread_mutex_unlock(Mutex) == 0)
			{
			}
			bDrop = true;
		}
		if (bDrop)
		{
			::munmap(Entry.Block, MutexMappingSize);
			continue;
		}
		ClosedOwned[Kept++] = Entry;
	}
	ClosedOwned.resize(Kept);
}

void SweepClosedOwned() noexcept
{
	const std::lock_guard Guard(ClosedOwnedLock);
	if (!ClosedOwned.empty())
	{
		SweepClosedOwnedLocked();
	}
}

void KeepClosedOwned(int Fd, void* Block) noexcept
{
	const std::lock_guard Guard(ClosedOwnedLock);
	ClosedOwned.push_back(ClosedOwnedMutex{Fd, Block});
	SweepClosedOwnedLocked();
}

} // namespace

OpenResult NamedMutex::Open(std::wstring_view Name, NamedMutex& Out) noexcept
{
	SweepClosedOwned();
	Posix::NamedObjectFile File;
	const OpenResult Result = Posix::OpenNamedObject(Posix::ObjectKind::Mutex, Name, true, File);
	return Posix::AdoptNamedObject(Result, File, sizeof(MutexBlock), Out, Out.Native, Out.Block);
}

OpenResult NamedMutex::Create(std::wstring_view Name, MutexOwnership Ownership, NamedMutex& Out) noexcept
{
	SweepClosedOwned();
	MutexInitContext Context{Ownership == MutexOwnership::OwnedByCreator};
	Posix::NamedObjectFile File;
	const OpenResult Result =
	    Posix::CreateNamedObject(Posix::ObjectKind::Mutex, Name, sizeof(MutexBlock), true, InitializeMutex, &Context, File);
	const OpenResult Adopted = Posix::AdoptNamedObject(Result, File, sizeof(MutexBlock), Out, Out.Native, Out.Block);
	Out.bLockedThroughBlock = Adopted == OpenResult::Ok && Context.bTakeOwnership;
	return Adopted;
}

WaitResult NamedMutex::Wait(std::uint32_t TimeoutMs) noexcept
{
	if (Block == nullptr)
	{
		return WaitResult::Failed;
	}
	pthread_mutex_t* Mutex = MutexOf(Block);
	// Only the outermost lock puts the mutex on this thread's robust list, at this mapping's address.
	const bool bOutermost = OwnerThread(Mutex) != ::gettid();
	int Error = 0;
	if (TimeoutMs == 0)
	{
		Error = pthread_mutex_trylock(Mutex);
	}
	else if (TimeoutMs == InfiniteWait)
	{
		Error = pthread_mutex_lock(Mutex);
	}
	else
	{
		const timespec Deadline = DeadlineAfter(TimeoutMs);
		Error = pthread_mutex_clocklock(Mutex, CLOCK_MONOTONIC, &Deadline);
	}

	if ((Error == 0 || Error == EOWNERDEAD) && bOutermost)
	{
		bLockedThroughBlock = true;
	}
	switch (Error)
	{
	case 0:
		return WaitResult::Acquired;
	case EBUSY:
	case ETIMEDOUT:
		return WaitResult::TimedOut;
	case EOWNERDEAD:
		// The caller owns it now. It must be marked consistent before any unlock, or the mutex becomes
		// unusable for good; on Windows an abandoned mutex simply belongs to the waiter.
		pthread_mutex_consistent(Mutex);
		return WaitResult::Abandoned;
	default:
		return WaitResult::Failed;
	}
}

bool NamedMutex::Release() noexcept
{
	// A robust recursive mutex refuses an unlock by a thread that does not own it (EPERM), which is
	// ERROR_NOT_OWNER.
	if (Block == nullptr || pthread_mutex_unlock(MutexOf(Block)) != 0)
	{
		return false;
	}
	if (OwnerThread(MutexOf(Block)) != ::gettid())
	{
		bLockedThroughBlock = false; // fully released: off the robust list
	}
	return true;
}


void NamedMutex::Close() noexcept
{
	int Fd = static_cast<int>(Native);
	if (Block != nullptr)
	{
		// Closing does not release ownership: a mapping the owner's robust list points into stays until nobody
		// can observe the mutex any more (see ClosedOwnedMutex). Any other mapping can go at once.
		if (bLockedThroughBlock && Fd >= 0 && IsOwnedInThisProcess(MutexOf(Block)))
		{
			KeepClosedOwned(Fd, Block);
			Fd = -1;
		}
		else
		{
			::munmap(Block, MutexMappingSize);
		}
		Block = nullptr;
	}
	bLockedThroughBlock = false;
	Posix::CloseNamedObject(Fd);
	Native = -1;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
