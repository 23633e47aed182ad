// Shared pieces of the integration tests: starting the korvat-host tool and child link processes, and
// driving a link the way the frame driver does.
#pragma once

#include "ChildProcess.h"
#include "HostLink.h"
#include "HostSimulator.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Korvat::Testing
{

/** The first argument that makes the test program play a plug-in process. */
constexpr const char* ChildLinkFlag = "--child-link";

/** Generous: a loaded machine or Wine may be slow, and nothing asserts on how long a step takes. */
constexpr std::chrono::milliseconds LongWait{15000};

inline std::unique_ptr<ChildProcess> StartProgram(const std::string& Program, const std::vector<std::string>& Arguments,
                                                  std::string& Error)
{
	return ChildProcess::Start(Program, Arguments, Error);
}

/** Calls Step every couple of milliseconds until it returns true or Limit passes. */
inline bool PollUntil(const std::function<bool()>& Step, std::chrono::milliseconds Limit = LongWait)
{
	const auto Deadline = std::chrono::steady_clock::now() + Limit;
	while (std::chrono::steady_clock::now() < Deadline)
	{
		if (Step())
		{
			return true;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
	return Step();
}

} // namespace Korvat::Testing
