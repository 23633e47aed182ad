#include "ChildProcess.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace Korvat::Testing
{

struct ChildProcess::FNative
{
	HANDLE Process = nullptr;
	HANDLE Input = nullptr;  ///< Our end of the child's standard input.
	HANDLE Output = nullptr; ///< Our end of the child's standard output.
};

namespace
{

void CloseNative(HANDLE& Handle)
{
	if (Handle)
	{
		::CloseHandle(Handle);
		Handle = nullptr;
	}
}

/** Quotes one argument as the C runtime splits command lines. */
std::string QuoteArgument(const std::string& Argument)
{
	if (!Argument.empty() && Argument.find_first_of(" \t\"") == std::string::npos)
	{
		return Argument;
	}
	std::string Out = "\"";
	std::size_t Backslashes = 0;
	for (char Char : Argument)
	{
		if (Char == '\\')
		{
			++Backslashes;
			continue;
		}
		Out.append(Char == '"' ? Backslashes * 2 + 1 : Backslashes, '\\');
		Backslashes = 0;
		Out.push_back(Char);
	}
	Out.append(Backslashes * 2, '\\');
	Out.push_back('"');
	return Out;
}

std::string LastErrorText(const char* What)
{
	return std::string(What) + " failed with error " + std::to_string(::GetLastError());
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& Program, const std::vector<std::string>& Arguments,
                                                  std::string& Error)
{
	SECURITY_ATTRIBUTES Inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
	HANDLE InputRead = nullptr;
	HANDLE InputWrite = nullptr;
	HANDLE OutputRead = nullptr;
	HANDLE OutputWrite = nullptr;
	HANDLE ErrorCopy = nullptr;
	auto CloseAll = [&] {
		CloseNative(InputRead);
		CloseNative(InputWrite);
		CloseNative(OutputRead);
		CloseNative(OutputWrite);
		CloseNative(ErrorCopy);
	};
	if (!::CreatePipe(&InputRead, &InputWrite, &Inheritable, 0) || !::CreatePipe(&OutputRead, &OutputWrite, &Inheritable, 0))
	{
		Error = LastErrorText("CreatePipe");
		CloseAll();
		return nullptr;
	}
	// Only the child's ends are inherited.
	::SetHandleInformation(InputWrite, HANDLE_FLAG_INHERIT, 0);
	::SetHandleInformation(OutputRead, HANDLE_FLAG_INHERIT, 0);
	const HANDLE StandardError = ::GetStdHandle(STD_ERROR_HANDLE);
	if (StandardError && StandardError != INVALID_HANDLE_VALUE)
	{
		::DuplicateHandle(::GetCurrentProcess(), StandardError, ::GetCurrentProcess(), &ErrorCopy, 0, TRUE,
		                  DUPLICATE_SAME_ACCESS);
	}

	std::string CommandLine = QuoteArgument(Program);
	for (const std::string& Argument : Arguments)
	{
		CommandLine += ' ';
		CommandLine += QuoteArgument(Argument);
	}

	STARTUPINFOA Startup{};
	Startup.cb = sizeof(Startup);
	Startup.dwFlags = STARTF_USESTDHANDLES;
	Startup.hStdInput = InputRead;
	Startup.hStdOutput = OutputWrite;
	Startup.hStdError = ErrorCopy;
	PROCESS_INFORMATION Info{};
	if (!::CreateProcessA(Program.c_str(), CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Startup, &Info))
	{
		Error = "cannot start '" + Program + "': " + LastErrorText("CreateProcessA");
		CloseAll();
		return nullptr;
	}
	::CloseHandle(Info.hThread);
	CloseNative(InputRead);
	CloseNative(OutputWrite);
	CloseNative(ErrorCopy);

	std::unique_ptr<ChildProcess> Child(new ChildProcess);
	Child->Native = std::make_unique<FNative>();
	Child->Native->Process = Info.hProcess;
	Child->Native->Input = InputWrite;
	Child->Native->Output = OutputRead;
	return Child;
}

ChildProcess::~ChildProcess()
{
	if (IsRunning())
	{
		Kill();
	}
	CloseNative(Native->Input);
	CloseNative(Native->Output);
	CloseNative(Native->Process);
}

bool ChildProcess::WriteLine(std::string_view Line)
{
	std::string Text(Line);
	Text.push_back('\n');
	std::size_t Done = 0;
	while (Native->Input && Done < Text.size())
	{
		DWORD Written = 0;
		if (!::WriteFile(Native->Input, Text.data() + Done, static_cast<DWORD>(Text.size() - Done), &Written, nullptr))
		{
			return false;
		}
		Done += Written;
	}
	return Done == Text.size();
}

void ChildProcess::CloseInput()
{
	CloseNative(Native->Input);
}

bool ChildProcess::FillBuffer(std::chrono::milliseconds Timeout)
{
	// Anonymous pipes have no waitable read with a time-out: poll their fill level.
	const auto Deadline = std::chrono::steady_clock::now() + Timeout;
	for (;;)
	{
		DWORD Available = 0;
		if (!Native->Output || !::PeekNamedPipe(Native->Output, nullptr, 0, nullptr, &Available, nullptr))
		{
			bOutputEnded = true;
			return false;
		}
		if (Available > 0)
		{
			char Buffer[4096];
			DWORD Read = 0;
			if (!::ReadFile(Native->Output, Buffer, std::min<DWORD>(Available, sizeof(Buffer)), &Read, nullptr) || Read == 0)
			{
				bOutputEnded = true;
				return false;
			}
			Pending.append(Buffer, Read);
			return true;
		}
		if (std::chrono::steady_clock::now() >= Deadline)
		{
			return false;
		}
		::Sleep(1);
	}
}

void ChildProcess::Kill()
{
	if (Native->Process && !ExitCode)
	{
		::TerminateProcess(Native->Process, 137);
		(void)Wait(std::chrono::seconds(30));
	}
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds Timeout)
{
	if (ExitCode)
	{
		return ExitCode;
	}
	if (::WaitForSingleObject(Native->Process, static_cast<DWORD>(std::max<long long>(0, Timeout.count()))) != WAIT_OBJECT_0)
	{
		return std::nullopt;
	}
	DWORD Code = 0;
	::GetExitCodeProcess(Native->Process, &Code);
	ExitCode = static_cast<int>(Code);
	return ExitCode;
}

bool ChildProcess::IsRunning()
{
	return !Wait(std::chrono::milliseconds(0)).has_value();
}

std::string CurrentExecutablePath()
{
	char Buffer[MAX_PATH * 4];
	const DWORD Length = ::GetModuleFileNameA(nullptr, Buffer, sizeof(Buffer));
	return std::string(Buffer, Length);
}

void SetEnvironment(const std::string& Name, const std::string& Value)
{
	::SetEnvironmentVariableA(Name.c_str(), Value.c_str());
}

void UnsetEnvironment(const std::string& Name)
{
	::SetEnvironmentVariableA(Name.c_str(), nullptr);
}

unsigned CurrentProcessId()
{
	return static_cast<unsigned>(::GetCurrentProcessId());
}

std::string HostPath(const std::string& BuildPath)
{
	if (BuildPath.empty() || BuildPath[0] != '/')
	{
		return BuildPath;
	}
	std::string Out = "Z:" + BuildPath;
	std::replace(Out.begin(), Out.end(), '/', '\\');
	return Out;
}

} // namespace Korvat::Testing
