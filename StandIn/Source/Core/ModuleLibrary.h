// Opening a module's shared library. Kept apart from the engine headers because the Windows headers
// define their own TCHAR and TEXT.
#pragma once

#include <string>

namespace StandInModuleLibrary
{
	/** Opens the library at the UTF-8 path (running its static initialisers); null and a message on failure. */
	void* Open(const std::string& Utf8Path, std::string& OutError);
}
