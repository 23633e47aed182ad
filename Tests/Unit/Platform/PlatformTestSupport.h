// Test support for the platform layer: per-test object namespaces, unique names, and child processes
// running this same test program.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Korvat::UE4::Platform::Test
{

/** Flag that makes the test program act as a child process (see RunChild). */
inline constexpr const char* ChildFlag = "--korvat-platform-child";

std::uint32_t CurrentProcessId();

/** Points named objects of this process (and its children) at a fresh namespace where the backend has one. */
void UsePrivateNamespace(const std::string& Tag);
void RemovePrivateNamespace();

struct ChildProcess
{
	std::intptr_t Native = -1; ///< pid or process handle
};

/** Starts this test program with ChildFlag followed by Arguments. */
bool SpawnSelf(const std::vector<std::string>& Arguments, ChildProcess& Out);

/** Waits up to TimeoutMs for the child; false on time-out (the child is then killed). */
bool WaitForExit(ChildProcess& Child, std::uint32_t TimeoutMs, int& ExitCode);

/** Runs a child role; returns its exit code. Called by main when ChildFlag is given. */
int RunChild(const std::vector<std::string>& Arguments);

/** Polls Condition every millisecond until it holds or TimeoutMs passes. */
bool WaitUntil(const std::function<bool()>& Condition, std::uint32_t TimeoutMs = 5000);

std::wstring Widen(const std::string& Text);
std::string Narrow(const std::wstring& Text);

/** Every test runs in its own namespace with names no other run uses. */
class PlatformTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	/** A name unique to this process and test: KorvatTest_<pid>_<counter>_<What>. */
	static std::wstring UniqueName(const std::wstring& What);
	static std::wstring UniquePipeName(const std::wstring& What) { return L"\\\\.\\pipe\\" + UniqueName(What); }
};

} // namespace Korvat::UE4::Platform::Test
