// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "SharedMemory.h"

#include "NamedObject_Posix.h"
#include "Os_Posix.h"

#include <sys/mman.h>


namespace Korvat::UE4::Platform
{

OpenResult SharedMemory::Open(std::wstring_view Name, SharedMemory& Out) noexcept
{
	Posix::NamedObjectFile File;
	const OpenResult Result = Posix::OpenNamedObject(Posix::ObjectKind::SharedMemory, Name, false, File);
	if (Result == OpenResult::Ok)
	{
		Out.Close();
		Out.Native = File.Fd;
		Out.NativeSize = static_cast<std::size_t>(File.PayloadSize);
	}
	return Result;
}

OpenResult SharedMemory::Create(std::wstring_view Name, std::uint32_t Size, SharedMemory& Out) noexcept
{
	// ftruncate fills the new file with zeros, as a new Windows mapping is.
	Posix::NamedObjectFile File;
	const OpenResult Result =
	    Posix::CreateNamedObject(Posix::ObjectKind::SharedMemory, Name, Size, false, nullptr, nullptr, File);
	if (Result == OpenResult::Ok || Result == OpenResult::AlreadyExists)
	{
		Out.Close();
		Out.Native = File.Fd;
		Out.NativeSize = static_cast<std::size_t>(File.PayloadSize);
	}
	return Result;
}

void* SharedMemory::MapView(std::size_t Size) noexcept
{
	// A view larger than the block fails, as MapViewOfFile does.
	if (Native < 0 || Size == 0 || Size > NativeSize)
	{
		return nullptr;
	}
	// The mapping starts at the file's header (offsets must be page-aligned); the view starts after it.
	void* Base = Posix::MapNamedObject(static_cast<int>(Native), Size);
	return Base == nullptr ? nullptr : static_cast<unsigned char*>(Base) + Posix::ObjectHeaderSize;
}

void SharedMemory::UnmapView(void* View, std::size_t Size) noexcept
{
	if (View != nullptr)
	{
		::munmap(static_cast<unsigned char*>(View) - Posix::ObjectHeaderSize, Posix::ObjectHeaderSize + Size);
	}
}


void SharedMemory::Close() noexcept
{
	int Fd = static_cast<int>(Native);
	Posix::CloseNamedObject(Fd);
	Native = -1;
	NativeSize = 0;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
