// Named objects with Windows lifetime on POSIX: one file per object in the per-user folder.
//
// Every handle holds a shared flock on the object's file. A file that nobody holds a lock on belongs to
// an object whose holders have all gone (possibly killed): the next opener finds it stale, removes it
// and reports NotFound, and the last closer removes it. Create, open, stale removal and last close are
// serialised by an exclusive flock on <root>/.nslock. The file starts with a small header whose magic
// value is written last, so a creator that dies half-way leaves a file that is merely stale.
#pragma once

#include "PlatformTypes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Korvat::UE4::Platform::Posix
{

/** Object kinds share one namespace, as kernel objects do on Windows. */
enum class ObjectKind : std::uint32_t
{
	SharedMemory = 1,
	Mutex = 2,
	Event = 3,
};

/** Bytes before the payload in an object's file. */
constexpr std::size_t ObjectHeaderSize = 64;

/** Prepares the payload of a new object before anyone else can open it. */
using PayloadInitializer = bool (*)(void* Payload, void* Context) noexcept;

struct NamedObjectFile
{
	int Fd = -1;
	std::uint64_t PayloadSize = 0;
	void* Base = nullptr; ///< The mapping of header and payload, when requested.
};

/**
 * Creates the object or, if a live one of that name and kind exists, opens it (AlreadyExists). With
 * bMap the whole file is mapped into Out.Base; Initializer (for a new object only) sees the payload.
 */
OpenResult CreateNamedObject(ObjectKind Kind, std::wstring_view Name, std::size_t PayloadSize, bool bMap,
                             PayloadInitializer Initializer, void* Context, NamedObjectFile& Out) noexcept;

/** Opens a live object of that name and kind; NotFound when there is none. */
OpenResult OpenNamedObject(ObjectKind Kind, std::wstring_view Name, bool bMap, NamedObjectFile& Out) noexcept;

/** Maps header and the first PayloadBytes of the payload; null on failure. */
void* MapNamedObject(int Fd, std::size_t PayloadBytes) noexcept;

/** Drops this handle's lock (removing the file when it was the last one) and closes the descriptor. */
void CloseNamedObject(int& Fd) noexcept;

/**
 * Closes the descriptor and removes the file only if no other handle, in any process, holds the object;
 * true then. Otherwise the handle keeps its lock and its descriptor, and the result is false.
 */
bool CloseNamedObjectIfLast(int& Fd) noexcept;

/**
 * Checks that a just opened or created object's payload holds at least BlockSize bytes; if not, unmaps and
 * closes its file and returns Failed. Open and create results other than Ok and AlreadyExists pass through.
 */
OpenResult CheckNamedObjectBlock(OpenResult Result, const NamedObjectFile& File, std::size_t BlockSize) noexcept;

/** Gives a checked object's file to a handle (Native, Block), closing what the handle held before. */
template <typename HandleType>
OpenResult AdoptNamedObject(OpenResult Result, const NamedObjectFile& File, std::size_t BlockSize, HandleType& Out,
	std::intptr_t& Native, void*& Block) noexcept
{
	Result = CheckNamedObjectBlock(Result, File, BlockSize);
	if (Result == OpenResult::Ok || Result == OpenResult::AlreadyExists)
	{
		Out.Close();
		Native = File.Fd;
		Block = File.Base;
	}
	return Result;
}

} // namespace Korvat::UE4::Platform::Posix
