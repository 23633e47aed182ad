#include "ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Korvat::Testing
{

struct ChildProcess::FNative
{
	pid_t Pid = -1;
	int Input = -1;  ///< Our end of the child's standard input.
	int Output = -1; ///< Our end of the child's standard output.
};

namespace
{

void CloseFd(int& Fd)
{
	if (Fd >= 0)
	{
		::close(Fd);
		Fd = -1;
	}
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& Program, const std::vector<std::string>& Arguments,
                                                  std::string& Error)
{
	// A child that stops reading must not kill the test with SIGPIPE; the write reports the failure instead.
	std::signal(SIGPIPE, SIG_IGN);

	int InputPipe[2];
	int OutputPipe[2];
	if (::pipe2(InputPipe, O_CLOEXEC) != 0)
	{
		Error = std::string("pipe: ") + std::strerror(errno);
		return nullptr;
	}
	if (::pipe2(OutputPipe, O_CLOEXEC) != 0)
	{
		Error = std::string("pipe: ") + std::strerror(errno);
		::close(InputPipe[0]);
		::close(InputPipe[1]);
		return nullptr;
	}

	posix_spawn_file_actions_t Actions;
	posix_spawn_file_actions_init(&Actions);
	posix_spawn_file_actions_adddup2(&Actions, InputPipe[0], STDIN_FILENO);
	posix_spawn_file_actions_adddup2(&Actions, OutputPipe[1], STDOUT_FILENO);

	std::vector<char*> Argv;
	Argv.push_back(const_cast<char*>(Program.c_str()));
	for (const std::string& Argument : Arguments)
	{
		Argv.push_back(const_cast<char*>(Argument.c_str()));
	}
	Argv.push_back(nullptr);

	pid_t Pid = -1;
	const int Spawned = posix_spawn(&Pid, Program.c_str(), &Actions, nullptr, Argv.data(), environ);
	posix_spawn_file_actions_destroy(&Actions);
	::close(InputPipe[0]);
	::close(OutputPipe[1]);
	if (Spawned != 0)
	{
		Error = "cannot start '" + Program + "': " + std::strerror(Spawned);
		::close(InputPipe[1]);
		::close(OutputPipe[0]);
		return nullptr;
	}

	std::unique_ptr<ChildProcess> Child(new ChildProcess);
	Child->Native = std::make_unique<FNative>();
	Child->Native->Pid = Pid;
	Child->Native->Input = InputPipe[1];
	Child->Native->Output = OutputPipe[0];
	return Child;
}

ChildProcess::~ChildProcess()
{
	if (IsRunning())
	{
		Kill();
	}
	CloseFd(Native->Input);
	CloseFd(Native->Output);
}

bool ChildProcess::WriteLine(std::string_view Line)
{
	std::string Text(Line);
	Text.push_back('\n');
	std::size_t Done = 0;
	while (Native->Input >= 0 && Done < Text.size())
	{
		const ssize_t Written = ::write(Native->Input, Text.data() + Done, Text.size() - Done);
		if (Written < 0)
		{
			if (errno == EINTR)
			{
				continue;
			}
			return false;
		}
		Done += static_cast<std::size_t>(Written);
	}
	return Done == Text.size();
}

void ChildProcess::CloseInput()
{
	CloseFd(Native->Input);
}

bool ChildProcess::FillBuffer(std::chrono::milliseconds Timeout)
{
	if (Native->Output < 0)
	{
		bOutputEnded = true;
		return false;
	}
	pollfd Poll{Native->Output, POLLIN, 0};
	const int Ready = ::poll(&Poll, 1, static_cast<int>(std::min<long long>(Timeout.count(), INT_MAX)));
	if (Ready <= 0)
	{
		return false;
	}
	char Buffer[4096];
	const ssize_t Read = ::read(Native->Output, Buffer, sizeof(Buffer));
	if (Read <= 0)
	{
		if (Read < 0 && errno == EINTR)
		{
			return false;
		}
		bOutputEnded = true;
		return false;
	}
	Pending.append(Buffer, static_cast<std::size_t>(Read));
	return true;
}

void ChildProcess::Kill()
{
	if (Native->Pid > 0 && !ExitCode)
	{
		::kill(Native->Pid, SIGKILL);
		(void)Wait(std::chrono::seconds(30));
	}
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds Timeout)
{
	if (ExitCode)
	{
		return ExitCode;
	}
	const auto Deadline = std::chrono::steady_clock::now() + Timeout;
	for (;;)
	{
		int Status = 0;
		const pid_t Done = ::waitpid(Native->Pid, &Status, WNOHANG);
		if (Done == Native->Pid)
		{
			ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + (WIFSIGNALED(Status) ? WTERMSIG(Status) : 0);
			return ExitCode;
		}
		if (Done < 0 && errno != EINTR)
		{
			ExitCode = -1;
			return ExitCode;
		}
		if (std::chrono::steady_clock::now() >= Deadline)
		{
			return std::nullopt;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
}

bool ChildProcess::IsRunning()
{
	return !Wait(std::chrono::milliseconds(0)).has_value();
}

std::string CurrentExecutablePath()
{
	char Buffer[PATH_MAX];
	const ssize_t Length = ::readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
	return Length > 0 ? std::string(Buffer, static_cast<std::size_t>(Length)) : std::string();
}

void SetEnvironment(const std::string& Name, const std::string& Value)
{
	::setenv(Name.c_str(), Value.c_str(), 1);
}

void UnsetEnvironment(const std::string& Name)
{
	::unsetenv(Name.c_str());
}

unsigned CurrentProcessId()
{
	return static_cast<unsigned>(::getpid());
}

std::string HostPath(const std::string& BuildPath)
{
	return BuildPath;
}

} // namespace Korvat::Testing
