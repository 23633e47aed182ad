// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "NamedObject_Posix.h"

#include "Os_Posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>

namespace Korvat::UE4::Platform::Posix
{

namespace
{

constexpr std::uint32_t ObjectMagic = 0x4A424F4Bu; // "KOBJ"

struct ObjectHeader
{
	std::uint32_t Magic = 0;
	std::uint32_t Kind = 0;
	std::uint64_t PayloadSize = 0;
};
static_assert(sizeof(ObjectHeader) <= ObjectHeaderSize);

/** NAME_MAX is 255; leave room for nothing else, the file sits directly in the root. */
constexpr std::size_t MaxFileNameLength = 200;

/**
 * The exclusive namespace lock. Opened afresh each time: flock belongs to the open file description,
 * so a shared descriptor would not keep the threads of this process apart.
 */
class NamespaceLock
{
public:
	explicit NamespaceLock(const std::string& Root) noexcept
	{
		if (!EnsureIpcRoot(Root))
		{
			return;
		}
		Fd = RetryOnInterrupt([&] { return ::open((Root + "/.nslock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); });
		if (Fd >= 0 && RetryOnInterrupt([&] { return ::flock(Fd, LOCK_EX); }) != 0)
		{
			CloseDescriptor(Fd);
		}
	}
	~NamespaceLock() { CloseDescriptor(Fd); }
	NamespaceLock(const NamespaceLock&) = delete;
	NamespaceLock& operator=(const NamespaceLock&) = delete;

	bool IsLocked() const noexcept { return Fd >= 0; }

private:
	int Fd = -1;
};

void* MapFile(int Fd, std::size_t Bytes) noexcept
{
	void* Base = ::mmap(nullptr, Bytes, PROT_READ | PROT_WRITE, MAP_SHARED, Fd, 0);
	return Base == MAP_FAILED ? nullptr : Base;
}

/** Opens an existing object; the caller holds the namespace lock. */
OpenResult OpenLocked(ObjectKind Kind, const std::string& Path, bool bMap, NamedObjectFile& Out) noexcept
{
	int Fd = RetryOnInterrupt([&] { return ::open(Path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW); });
	if (Fd < 0)
	{
		return ToOpenResult(errno);
	}
	if (::flock(Fd, LOCK_EX | LOCK_NB) == 0)
	{
		// Nobody holds the object: everyone who had it is gone.
		::unlink(Path.c_str());
		CloseDescriptor(Fd);
		return OpenResult::NotFound;
	}
	if (errno != EWOULDBLOCK || RetryOnInterrupt([&] { return ::flock(Fd, LOCK_SH); }) != 0)
	{
		CloseDescriptor(Fd);
		return OpenResult::Failed;
	}

	ObjectHeader Header;
	struct stat Info;
	if (::fstat(Fd, &Info) != 0 ||
	    RetryOnInterrupt([&] { return ::pread(Fd, &Header, sizeof(Header), 0); }) != static_cast<ssize_t>(sizeof(Header)) ||
	    Header.Magic != ObjectMagic || Header.PayloadSize > static_cast<std::uint64_t>(Info.st_size) - ObjectHeaderSize)
	{
		CloseDescriptor(Fd);
		return OpenResult::Failed;
	}
	if (Header.Kind != static_cast<std::uint32_t>(Kind))
	{
		// The name belongs to an object of another kind (ERROR_INVALID_HANDLE on Windows).
		CloseDescriptor(Fd);
		return OpenResult::Failed;
	}

	void* Base = nullptr;
	if (bMap && (Base = MapFile(Fd, ObjectHeaderSize + Header.PayloadSize)) == nullptr)
	{
		CloseDescriptor(Fd);
		return OpenResult::Failed;
	}
	Out = NamedObjectFile{Fd, Header.PayloadSize, Base};
	return OpenResult::Ok;
}

std::string ObjectPath(const std::string& Root, std::wstring_view Name)
{
	return Root + "/" + EncodeName(StripSessionPrefix(Name), MaxFileNameLength);
}

/** Removes the file that Fd was opened from, if that name still refers to it (the root may have changed since). */
void UnlinkOwnFile(int Fd) noexcept
{
	char Link[64];
	char Path[PATH_MAX];
	std::snprintf(Link, sizeof(Link), "/proc/self/fd/%d", Fd);
	const ssize_t Length = ::readlink(Link, Path, sizeof(Path) - 1);
	struct stat Mine;
	struct stat Named;
	if (Length > 0)
	{
		Path[Length] = '\0';
		if (::fstat(Fd, &Mine) == 0 && ::stat(Path, &Named) == 0 && Mine.st_ino == Named.st_ino && Mine.st_dev == Named.st_dev)
		{
			::unlink(Path);
		}
	}
}

/**
 * How often a process looks for files left by objects whose holders all died (killed processes never
 * close). Nobody opens those names again (they carry a fresh connection GUID), so nothing else removes them.
 */
constexpr std::chrono::seconds StaleSweepInterval{10};

/** Removes every object file that nobody holds a lock on; the caller holds the namespace lock. */
void SweepStaleFilesLocked(const std::string& Root) noexcept
{
	static std::atomic<std::int64_t> LastSweep{INT64_MIN};
	const std::int64_t Now =
	    std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
	std::int64_t Last = LastSweep.load();
	if (Last != INT64_MIN && Now - Last < StaleSweepInterval.count())
	{
		return;
	}
	if (!LastSweep.compare_exchange_strong(Last, Now))
	{
		return; // another thread of this process sweeps right now
	}

	const int DirFd = RetryOnInterrupt([&] { return ::open(Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
	if (DirFd < 0)
	{
		return;
	}
	DIR* Folder = ::fdopendir(DirFd);
	if (Folder == nullptr)
	{
		int Unused = DirFd;
		CloseDescriptor(Unused);
		return;
	}
	while (const dirent* Entry = ::readdir(Folder))
	{
		if (Entry->d_name[0] == '.')
		{
			continue; // ".", ".." and the namespace lock; object names never start with a full stop
		}
		int Fd = RetryOnInterrupt(
		    [&] { return ::openat(DirFd, Entry->d_name, O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK); });
		if (Fd < 0)
		{
			continue;
		}
		struct stat Info;
		// Every creator takes its shared lock before it gives the namespace lock back, so under that lock a
		// file without any lock holder is stale.
		if (::fstat(Fd, &Info) == 0 && S_ISREG(Info.st_mode) && ::flock(Fd, LOCK_EX | LOCK_NB) == 0)
		{
			::unlinkat(DirFd, Entry->d_name, 0);
		}
		CloseDescriptor(Fd);
	}
	::closedir(Folder);
}

} // namespace

OpenResult CreateNamedObject(ObjectKind Kind, std::wstring_view Name, std::size_t PayloadSize, bool bMap,
                             PayloadInitializer Initializer, void* Context, NamedObjectFile& Out) noexcept
{
	const std::string Root = IpcRoot();
	const NamespaceLock Lock(Root);
	if (!Lock.IsLocked())
	{
		return OpenResult::Failed;
	}
	SweepStaleFilesLocked(Root);
	const std::string Path = ObjectPath(Root, Name);
	if (const OpenResult Existing = OpenLocked(Kind, Path, bMap, Out); Existing != OpenResult::NotFound)
	{
		return Existing == OpenResult::Ok ? OpenResult::AlreadyExists : Existing;
	}

	int Fd = RetryOnInterrupt([&] { return ::open(Path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600); });
	if (Fd < 0)
	{
		return ToOpenResult(errno);
	}
	const std::size_t FileSize = ObjectHeaderSize + PayloadSize;
	void* Base = nullptr;
	bool bReady = RetryOnInterrupt([&] { return ::ftruncate(Fd, static_cast<off_t>(FileSize)); }) == 0 &&
	              ::flock(Fd, LOCK_SH | LOCK_NB) == 0;
	if (bReady && (bMap || Initializer != nullptr))
	{
		Base = MapFile(Fd, FileSize);
		bReady = Base != nullptr &&
		         (Initializer == nullptr || Initializer(static_cast<unsigned char*>(Base) + ObjectHeaderSize, Context));
	}
	// The magic goes in last: until then an opener takes the file for stale.
	const ObjectHeader Header{ObjectMagic, static_cast<std::uint32_t>(Kind), PayloadSize};
	bReady = bReady &&
	         RetryOnInterrupt([&] { return ::pwrite(Fd, &Header, sizeof(Header), 0); }) == static_cast<ssize_t>(sizeof(Header));
	if (!bReady)
	{
		if (Base != nullptr)
		{
			::munmap(Base, FileSize);
		}
		::unlink(Path.c_str());
		CloseDescriptor(Fd);
		return OpenResult::Failed;
	}
	if (Base != nullptr && !bMap)
	{
		::munmap(Base, FileSize);
		Base = nullptr;
	}
	Out = NamedObjectFile{Fd, PayloadSize, Base};
	return OpenResult::Ok;
}

OpenResult OpenNamedObject(ObjectKind Kind, std::wstring_view Name, bool bMap, NamedObjectFile& Out) noexcept
{
	const std::string Root = IpcRoot();
	const NamespaceLock Lock(Root);
	if (!Lock.IsLocked())
	{
		return OpenResult::Failed;
	}
	return OpenLocked(Kind, ObjectPath(Root, Name), bMap, Out);
}

void* MapNamedObject(int Fd, std::size_t PayloadBytes) noexcept
{
	return Fd < 0 ? nullptr : MapFile(Fd, ObjectHeaderSize + PayloadBytes);
}

void CloseNamedObject(int& Fd) noexcept
{
	if (Fd < 0)
	{
		return;
	}
	{
		const NamespaceLock Lock(IpcRoot());
		// Taking the lock exclusively succeeds only when no other handle holds the object. A refused
		// conversion may drop this handle's shared lock, which does not matter while closing.
		if (Lock.IsLocked() && ::flock(Fd, LOCK_EX | LOCK_NB) == 0)
		{
			UnlinkOwnFile(Fd);
		}
		CloseDescriptor(Fd);
	}
}

bool CloseNamedObjectIfLast(int& Fd) noexcept
{
	if (Fd < 0)
	{
		return true;
	}
	const NamespaceLock Lock(IpcRoot());
	if (!Lock.IsLocked())
	{
		return false;
	}
	if (::flock(Fd, LOCK_EX | LOCK_NB) == 0)
	{
		UnlinkOwnFile(Fd);
		CloseDescriptor(Fd);
		return true;
	}
	// A refused conversion may have dropped the shared lock; nobody can take the file for stale meanwhile,
	// since that needs the namespace lock we hold.
	(void)::flock(Fd, LOCK_SH | LOCK_NB);
	return false;
}

OpenResult CheckNamedObjectBlock(OpenResult Result, const NamedObjectFile& File, std::size_t BlockSize) noexcept
{
	if (Result != OpenResult::Ok && Result != OpenResult::AlreadyExists)
	{
		return Result;
	}
	if (File.PayloadSize < BlockSize)
	{
		::munmap(File.Base, ObjectHeaderSize + File.PayloadSize);
		int Fd = File.Fd;
		CloseNamedObject(Fd);
		return OpenResult::Failed;
	}
	return Result;
}

} // namespace Korvat::UE4::Platform::Posix

#endif // !defined(_WIN32)
