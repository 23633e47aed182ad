// Ends a test program that hangs: a deadlock in a multi-process test must fail the run, not stall it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace Korvat::Testing
{

/** While alive, ends the process with a message if Limit passes first. */
class Watchdog
{
public:
	Watchdog(std::chrono::milliseconds Limit, std::string What);
	~Watchdog();
	Watchdog(const Watchdog&) = delete;
	Watchdog& operator=(const Watchdog&) = delete;

private:
	std::mutex Mutex;
	std::condition_variable Stopped;
	bool bStopped = false;
	std::thread Thread;
};

} // namespace Korvat::Testing
