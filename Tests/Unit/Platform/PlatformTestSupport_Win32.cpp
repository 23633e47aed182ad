#include "PlatformTestSupport.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace Korvat::UE4::Platform::Test
{

std::uint32_t CurrentProcessId()
{
	return ::GetCurrentProcessId();
}

// Named objects live in the one namespace of the Wine prefix or Windows session: unique names suffice.
void UsePrivateNamespace(const std::string&) {}

void RemovePrivateNamespace() {}

bool SpawnSelf(const std::vector<std::string>& Arguments, ChildProcess& Out)
{
	wchar_t Path[MAX_PATH];
	const DWORD Length = ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
	if (Length == 0 || Length >= MAX_PATH)
	{
		return false;
	}
	std::wstring CommandLine = L"\"" + std::wstring(Path, Length) + L"\" " + Widen(ChildFlag);
	for (const std::string& Argument : Arguments)
	{
		CommandLine += L" " + Widen(Argument);
	}
	STARTUPINFOW Startup{};
	Startup.cb = sizeof(Startup);
	PROCESS_INFORMATION Process{};
	if (!::CreateProcessW(Path, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process))
	{
		return false;
	}
	::CloseHandle(Process.hThread);
	Out.Native = reinterpret_cast<std::intptr_t>(Process.hProcess);
	return true;
}

bool WaitForExit(ChildProcess& Child, std::uint32_t TimeoutMs, int& ExitCode)
{
	const HANDLE Process = reinterpret_cast<HANDLE>(Child.Native);
	const bool bExited = ::WaitForSingleObject(Process, TimeoutMs) == WAIT_OBJECT_0;
	if (!bExited)
	{
		::TerminateProcess(Process, 255);
		::WaitForSingleObject(Process, INFINITE);
	}
	DWORD Code = 255;
	::GetExitCodeProcess(Process, &Code);
	::CloseHandle(Process);
	Child.Native = -1;
	ExitCode = static_cast<int>(Code);
	return bExited;
}

} // namespace Korvat::UE4::Platform::Test
