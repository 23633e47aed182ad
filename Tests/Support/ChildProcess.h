// Child processes for multi-process tests: start a program with a pipe to its standard input and one from its
// standard output, read its output line by line with a time-out, end it abruptly, and wait for it.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Testing
{

class ChildProcess
{
public:
	/** Starts Program with Arguments; null with a reason in Error when it cannot. Standard error is inherited. */
	static std::unique_ptr<ChildProcess> Start(const std::string& Program, const std::vector<std::string>& Arguments,
	                                           std::string& Error);

	~ChildProcess();
	ChildProcess(const ChildProcess&) = delete;
	ChildProcess& operator=(const ChildProcess&) = delete;

	/** Writes Line and a line feed to the child's standard input; false once the child no longer reads it. */
	bool WriteLine(std::string_view Line);
	/** Closes the child's standard input (the child sees the end of its input). */
	void CloseInput();

	/** The next line of output (without its line end); nothing on time-out or at the end of the output. */
	std::optional<std::string> ReadLine(std::chrono::milliseconds Timeout);
	/** Reads lines until one contains Text; that line, or nothing on time-out or end of output. */
	std::optional<std::string> WaitForLine(std::string_view Text, std::chrono::milliseconds Timeout);
	/** Every line read so far, in order. */
	const std::vector<std::string>& Transcript() const { return Lines; }
	/** The transcript as one text, for failure messages. */
	std::string TranscriptText() const;

	/** Ends the child at once (SIGKILL, TerminateProcess) and waits for it. */
	void Kill();
	/** Waits for the child to end; its exit code, or nothing on time-out. */
	std::optional<int> Wait(std::chrono::milliseconds Timeout);
	bool IsRunning();

private:
	ChildProcess() = default;
	bool FillBuffer(std::chrono::milliseconds Timeout);

	struct FNative;
	std::unique_ptr<FNative> Native;
	std::string Pending;
	bool bOutputEnded = false;
	std::optional<int> ExitCode;
	std::vector<std::string> Lines;
};

/** The path of the running program. */
std::string CurrentExecutablePath();

/** Sets a variable of this process's environment, inherited by children started afterwards. */
void SetEnvironment(const std::string& Name, const std::string& Value);

/** Removes a variable from this process's environment. */
void UnsetEnvironment(const std::string& Name);

unsigned CurrentProcessId();

/**
 * Converts a build-time path of the build machine into one the running program can open: under Wine an
 * absolute Unix path becomes a path on drive Z:.
 */
std::string HostPath(const std::string& BuildPath);

} // namespace Korvat::Testing

namespace Korvat::Testing
{

/**
 * Gives this process (and the children it starts) a named-object namespace of its own while alive: on POSIX a
 * fresh KORVAT_IPC_ROOT folder, removed afterwards. Windows has one namespace per session (per WINEPREFIX
 * under Wine), so there it does nothing and tests must run one at a time and clean up.
 */
class PrivateIpcRoot
{
public:
	explicit PrivateIpcRoot(const std::string& Purpose);
	~PrivateIpcRoot();
	PrivateIpcRoot(const PrivateIpcRoot&) = delete;
	PrivateIpcRoot& operator=(const PrivateIpcRoot&) = delete;

private:
	std::string Folder;
};

} // namespace Korvat::Testing
