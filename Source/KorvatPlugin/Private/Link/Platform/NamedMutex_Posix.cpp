// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "NamedMutex.h"

#include "NamedObject_Posix.h"

#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <new>

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


} // namespace

OpenResult NamedMutex::Open(std::wstring_view Name, NamedMutex& Out) noexcept
{
	Posix::NamedObjectFile File;
	const OpenResult Result = Posix::OpenNamedObject(Posix::ObjectKind::Mutex, Name, true, File);
	return Posix::AdoptNamedObject(Result, File, sizeof(MutexBlock), Out, Out.Native, Out.Block);
}

OpenResult NamedMutex::Create(std::wstring_view Name, MutexOwnership Ownership, NamedMutex& Out) noexcept
{
	MutexInitContext Context{Ownership == MutexOwnership::OwnedByCreator};
	Posix::NamedObjectFile File;
	const OpenResult Result =
	    Posix::CreateNamedObject(Posix::ObjectKind::Mutex, Name, sizeof(MutexBlock), true, InitializeMutex, &Context, File);
	return Posix::AdoptNamedObject(Result, File, sizeof(MutexBlock), Out, Out.Native, Out.Block);
}

WaitResult NamedMutex::Wait(std::uint32_t TimeoutMs) noexcept
{
	if (Block == nullptr)
	{
		return WaitResult::Failed;
	}
	pthread_mutex_t* Mutex = MutexOf(Block);
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
	return Block != nullptr && pthread_mutex_unlock(MutexOf(Block)) == 0;
}


void NamedMutex::Close() noexcept
{
	if (Block != nullptr)
	{
		// Closing does not release ownership. While a thread of this process owns the mutex its pages stay
		// mapped: the kernel walks that thread's robust list at its exit to mark the mutex abandoned, and
		// an unmapped entry would leave waiters timing out for ever. The few bytes are leaked on purpose.
		if (!IsOwnedInThisProcess(MutexOf(Block)))
		{
			::munmap(Block, MutexMappingSize);
		}
		Block = nullptr;
	}
	int Fd = static_cast<int>(Native);
	Posix::CloseNamedObject(Fd);
	Native = -1;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
