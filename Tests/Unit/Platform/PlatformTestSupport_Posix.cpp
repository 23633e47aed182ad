#include "PlatformTestSupport.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace Korvat::UE4::Platform::Test
{

namespace
{
std::string CurrentRoot;
}

std::uint32_t CurrentProcessId()
{
	return static_cast<std::uint32_t>(::getpid());
}

void UsePrivateNamespace(const std::string& Tag)
{
	static unsigned Counter = 0;
	CurrentRoot =
	    "/dev/shm/korvat-test-" + std::to_string(::getpid()) + "-" + std::to_string(++Counter) + "-" + Tag.substr(0, 40);
	::setenv("KORVAT_IPC_ROOT", CurrentRoot.c_str(), 1);
}

void RemovePrivateNamespace()
{
	std::error_code Ignored;
	std::filesystem::remove_all(CurrentRoot, Ignored);
	::unsetenv("KORVAT_IPC_ROOT");
}

bool SpawnSelf(const std::vector<std::string>& Arguments, ChildProcess& Out)
{
	std::vector<std::string> Strings{"/proc/self/exe", ChildFlag};
	Strings.insert(Strings.end(), Arguments.begin(), Arguments.end());
	std::vector<char*> Argv;
	for (std::string& Text : Strings)
	{
		Argv.push_back(Text.data());
	}
	Argv.push_back(nullptr);
	pid_t Pid = 0;
	if (::posix_spawn(&Pid, "/proc/self/exe", nullptr, nullptr, Argv.data(), environ) != 0)
	{
		return false;
	}
	Out.Native = Pid;
	return true;
}

bool WaitForExit(ChildProcess& Child, std::uint32_t TimeoutMs, int& ExitCode)
{
	const pid_t Pid = static_cast<pid_t>(Child.Native);
	int Status = 0;
	const bool bExited = WaitUntil([&] { return ::waitpid(Pid, &Status, WNOHANG) == Pid; }, TimeoutMs);
	if (!bExited)
	{
		::kill(Pid, SIGKILL);
		::waitpid(Pid, &Status, 0);
	}
	Child.Native = -1;
	ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + (WIFSIGNALED(Status) ? WTERMSIG(Status) : 0);
	return bExited;
}

} // namespace Korvat::UE4::Platform::Test
