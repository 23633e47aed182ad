// Named auto-reset event. The link only opens and holds the host's events; the host side creates them.
#pragma once

#include "PlatformTypes.h"

#include <cstdint>

#include <string_view>

namespace Korvat::UE4::Platform
{

class NamedEvent
{
public:
	NamedEvent() noexcept = default;
	NamedEvent(NamedEvent&& Other) noexcept;
	NamedEvent& operator=(NamedEvent&& Other) noexcept;
	NamedEvent(const NamedEvent&) = delete;
	NamedEvent& operator=(const NamedEvent&) = delete;
	~NamedEvent();

	/** Opens an existing event with EVENT_MODIFY_STATE and SYNCHRONIZE access, not inheritable (OpenEventW). */
	static OpenResult Open(std::wstring_view Name, NamedEvent& Out) noexcept;

	/** Creates an auto-reset, initially unsignalled event with default security (CreateEventW). */
	static OpenResult Create(std::wstring_view Name, NamedEvent& Out) noexcept;

	/** Signals the event. */
	bool Set() noexcept;

	bool IsValid() const noexcept { return Native != -1; }
	void Close() noexcept;

private:
	std::intptr_t Native = -1; ///< HANDLE on Windows, file descriptor elsewhere; -1 when closed.
	void* Block = nullptr;
};

} // namespace Korvat::UE4::Platform
