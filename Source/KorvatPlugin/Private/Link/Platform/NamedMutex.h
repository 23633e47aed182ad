// Named, machine-wide, recursive mutex with owner-death detection.
#pragma once

#include "PlatformTypes.h"

#include <cstdint>
#include <string_view>

namespace Korvat::UE4::Platform
{

enum class MutexOwnership : std::uint8_t
{
	NotOwned,
	OwnedByCreator, ///< The creating thread owns the new mutex; it stays owned until released or the thread ends.
};

/**
 * A handle to a named mutex. Ownership belongs to a thread and is recursive. When the owning thread or
 * process ends without releasing, the next waiter gets WaitResult::Abandoned and owns the mutex.
 * Closing a handle does not release ownership.
 */
class NamedMutex
{
public:
	NamedMutex() noexcept = default;
	NamedMutex(NamedMutex&& Other) noexcept;
	NamedMutex& operator=(NamedMutex&& Other) noexcept;
	NamedMutex(const NamedMutex&) = delete;
	NamedMutex& operator=(const NamedMutex&) = delete;
	~NamedMutex();

	/** Opens an existing mutex with SYNCHRONIZE access, not inheritable (OpenMutexW). */
	static OpenResult Open(std::wstring_view Name, NamedMutex& Out) noexcept;

	/**
	 * Creates a mutex with default security (CreateMutexW). If one of that name lives already the handle refers
	 * to it, the result is AlreadyExists and the requested ownership is not granted.
	 */
	static OpenResult Create(std::wstring_view Name, MutexOwnership Ownership, NamedMutex& Out) noexcept;

	/** Waits for ownership; TimeoutMs 0 polls, InfiniteWait waits without limit. */
	WaitResult Wait(std::uint32_t TimeoutMs) noexcept;

	/** Gives up one level of ownership; false if the calling thread does not own the mutex. */
	bool Release() noexcept;

	bool IsValid() const noexcept { return Native != -1; }
	void Close() noexcept;

private:
	std::intptr_t Native = -1; ///< HANDLE on Windows, file descriptor elsewhere; -1 when closed.
	void* Block = nullptr;     ///< The shared mutex block where the backend maps one.
	/** The outermost lock was taken through this handle's mapping (where the owner's robust list points). */
	bool bLockedThroughBlock = false;
};

} // namespace Korvat::UE4::Platform
