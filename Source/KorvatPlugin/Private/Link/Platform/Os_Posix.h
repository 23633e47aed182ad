// Helpers shared by the POSIX backend: system calls retried on EINTR, errno mapping, object names, the
// per-user folder that holds named objects.
#pragma once

#include "PlatformTypes.h"

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace Korvat::UE4::Platform::Posix
{

/** Calls Call again for as long as it fails with EINTR; returns its last result (errno describes a failure). */
template <typename TCall> auto RetryOnInterrupt(TCall&& Call) noexcept
{
	auto Result = Call();
	while (Result == -1 && errno == EINTR)
	{
		Result = Call();
	}
	return Result;
}

/** Maps an errno value of a failed create or open. */
OpenResult ToOpenResult(int Error) noexcept;

/** Closes a descriptor if it is open and marks it closed. */
void CloseDescriptor(int& Fd) noexcept;

/**
 * Encodes a Windows object name into one file-name component of at most MaxLength bytes: the name as
 * UTF-8, keeping [A-Za-z0-9_{}.-] (no leading dot) and writing every other byte as %XX, so different
 * names never meet; a result that is too long is cut and ends in a hash of the whole name.
 */
std::string EncodeName(std::wstring_view Name, std::size_t MaxLength);

/** Drops a leading "Global\" or "Local\": on one machine with one session both name the same objects. */
std::wstring_view StripSessionPrefix(std::wstring_view Name) noexcept;

/** The folder of named objects: $KORVAT_IPC_ROOT, else /dev/shm/korvat-<uid>. */
std::string IpcRoot();

/** Creates the folder (mode 0700) if needed; false if it cannot be made or is not a folder of this user. */
bool EnsureIpcRoot(const std::string& Root) noexcept;

} // namespace Korvat::UE4::Platform::Posix
