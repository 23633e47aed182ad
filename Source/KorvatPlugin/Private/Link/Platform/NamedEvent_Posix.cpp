// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "NamedEvent.h"

#include "NamedObject_Posix.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <new>

namespace Korvat::UE4::Platform
{

namespace
{

/**
 * Nothing on this side waits on an event; a signal is recorded as a count that whoever plays the host
 * may watch.
 */
struct EventBlock
{
	std::atomic<std::uint32_t> SignalCount{0};
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "the count is shared between processes");

constexpr std::size_t EventMappingSize = Posix::ObjectHeaderSize + sizeof(EventBlock);

bool InitializeEvent(void* Payload, void*) noexcept
{
	new (Payload) EventBlock();
	return true;
}

EventBlock* BlockOf(void* Base) noexcept
{
	return std::launder(reinterpret_cast<EventBlock*>(static_cast<unsigned char*>(Base) + Posix::ObjectHeaderSize));
}


} // namespace

OpenResult NamedEvent::Open(std::wstring_view Name, NamedEvent& Out) noexcept
{
	Posix::NamedObjectFile File;
	const OpenResult Result = Posix::OpenNamedObject(Posix::ObjectKind::Event, Name, true, File);
	return Posix::AdoptNamedObject(Result, File, sizeof(EventBlock), Out, Out.Native, Out.Block);
}

OpenResult NamedEvent::Create(std::wstring_view Name, NamedEvent& Out) noexcept
{
	Posix::NamedObjectFile File;
	const OpenResult Result =
	    Posix::CreateNamedObject(Posix::ObjectKind::Event, Name, sizeof(EventBlock), true, InitializeEvent, nullptr, File);
	return Posix::AdoptNamedObject(Result, File, sizeof(EventBlock), Out, Out.Native, Out.Block);
}

bool NamedEvent::Set() noexcept
{
	if (Block == nullptr)
	{
		return false;
	}
	BlockOf(Block)->SignalCount.fetch_add(1, std::memory_order_release);
	return true;
}


void NamedEvent::Close() noexcept
{
	if (Block != nullptr)
	{
		::munmap(Block, EventMappingSize);
		Block = nullptr;
	}
	int Fd = static_cast<int>(Native);
	Posix::CloseNamedObject(Fd);
	Native = -1;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
