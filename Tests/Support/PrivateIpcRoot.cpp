#include "ChildProcess.h"

#include <atomic>
#include <filesystem>
#include <system_error>

namespace Korvat::Testing
{

PrivateIpcRoot::PrivateIpcRoot([[maybe_unused]] const std::string& Purpose)
{
#ifndef _WIN32
	static std::atomic<unsigned> Counter{0};
	std::error_code Error;
	const std::filesystem::path Base = std::filesystem::temp_directory_path(Error);
	Folder = ((Error ? std::filesystem::path("/tmp") : Base) /
	          ("korvat-" + Purpose + "-" + std::to_string(CurrentProcessId()) + "-" + std::to_string(Counter++)))
	             .string();
	std::filesystem::remove_all(Folder, Error);
	// The platform layer creates the folder itself (mode 0700) on first use.
	SetEnvironment("KORVAT_IPC_ROOT", Folder);
#endif
}

PrivateIpcRoot::~PrivateIpcRoot()
{
	if (!Folder.empty())
	{
		UnsetEnvironment("KORVAT_IPC_ROOT");
		std::error_code Error;
		std::filesystem::remove_all(Folder, Error);
	}
}

} // namespace Korvat::Testing
