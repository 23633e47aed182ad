// Named shared memory (a Windows file mapping).
#pragma once

#include "PlatformTypes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Korvat::UE4::Platform
{

/**
 * A handle to a named block of shared memory. Move-only; closing the handle does not unmap views:
 * a view keeps the memory alive until it is unmapped, as on Windows.
 *
 * @code
 *   SharedMemory Mapping;
 *   if (SharedMemory::Open(L"Name", Mapping) == OpenResult::Ok)
 *       if (void* View = Mapping.MapView(716)) { ...; SharedMemory::UnmapView(View, 716); }
 * @endcode
 */
class SharedMemory
{
public:
	SharedMemory() noexcept = default;
	SharedMemory(SharedMemory&& Other) noexcept;
	SharedMemory& operator=(SharedMemory&& Other) noexcept;
	SharedMemory(const SharedMemory&) = delete;
	SharedMemory& operator=(const SharedMemory&) = delete;
	~SharedMemory();

	/** Opens an existing block for reading and writing, not inheritable (OpenFileMappingW with access 6). */
	static OpenResult Open(std::wstring_view Name, SharedMemory& Out) noexcept;

	/** Creates a zero-filled block of Size bytes, or opens the live one of that name (AlreadyExists). */
	static OpenResult Create(std::wstring_view Name, std::uint32_t Size, SharedMemory& Out) noexcept;

	/** Maps Size bytes from offset 0 with full access (MapViewOfFile with 0xF001F); null on failure. */
	void* MapView(std::size_t Size) noexcept;

	/** Unmaps a view returned by MapView. */
	static void UnmapView(void* View, std::size_t Size) noexcept;

	bool IsValid() const noexcept { return Native != -1; }
	void Close() noexcept;

private:
	std::intptr_t Native = -1; ///< HANDLE on Windows, file descriptor elsewhere; -1 when closed.
	std::size_t NativeSize = 0;
};

} // namespace Korvat::UE4::Platform
