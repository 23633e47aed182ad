#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace Korvat::Testing
{

Watchdog::Watchdog(std::chrono::milliseconds Limit, std::string What)
{
	Thread = std::thread([this, Limit, What = std::move(What)] {
		std::unique_lock Lock(Mutex);
		if (!Stopped.wait_for(Lock, Limit, [this] { return bStopped; }))
		{
			std::fprintf(stderr, "watchdog: '%s' still running after %lld ms; ending the test program\n", What.c_str(),
			             static_cast<long long>(Limit.count()));
			std::fflush(stderr);
			// Children see the end of their input when this process ends and stop on their own.
			std::_Exit(86);
		}
	});
}

Watchdog::~Watchdog()
{
	{
		std::lock_guard Lock(Mutex);
		bStopped = true;
	}
	Stopped.notify_all();
	Thread.join();
}

} // namespace Korvat::Testing
